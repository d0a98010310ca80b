// The real ombrelo.exe under Windows (Wine), driven from outside.
#include <gtest/gtest.h>

#include "driver.h"

namespace ombrelo::e2e {
namespace {

// "ＭＳ Ｐゴシック" in code page 932.
const std::string kFontCp932 =
    "\x82l\x82r \x82o\x83S\x83V\x83"
    "b\x83N";

std::string ini(const std::string& presentation, const std::string& viewer,
                const std::string& font = kFontCp932, const std::string& size = "9.75",
                const std::string& fore = "65280", const std::string& back = "0",
                const std::string& left = "#FALSE#", const std::string& right = "#TRUE#") {
  std::string out;
  for (const std::string& line : {"\"" + presentation + "\"", "\"" + viewer + "\"",
                                  "\"" + font + "\"", size, fore, back, left, right}) {
    out += line + "\r\n";
  }
  return out;
}

bool topmost(HWND h) { return (GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

TEST(Program, StartsWithBothWindowsAndSavesOnClose) {
  Scenario s("smoke");
  const std::string viewer = narrow(s.install_viewer());
  const std::string file = ini("C:\\talk.ppt", viewer);
  s.write_file(L"ombrelo.ini", file);
  s.start();

  HWND settings = s.wait_window(L"OmbreloSettings", "Ombrelo");
  ASSERT_TRUE(settings) << "the settings window shows";
  HWND timer = s.timer();
  ASSERT_TRUE(timer) << "the display shows";
  EXPECT_EQ(window_text(timer), "00:00");
  EXPECT_TRUE(topmost(timer));
  EXPECT_TRUE(GetWindowLongW(timer, GWL_EXSTYLE) & WS_EX_NOACTIVATE);
  EXPECT_EQ(window_text(s.control(kText1)), "C:\\talk.ppt");
  EXPECT_EQ(window_text(s.control(kCommand3)), "ＭＳ Ｐゴシック 9.75pt");
  EXPECT_EQ(window_text(s.control(kCommand2)), "スライドショー開始");
  EXPECT_EQ(SendMessageW(s.control(kOption2), BM_GETCHECK, 0, 0), BST_CHECKED);

  PostMessageW(settings, WM_CLOSE, 0, 0);
  ASSERT_TRUE(s.wait_exit()) << "closing the settings window ends the program";
  EXPECT_EQ(s.read_file(L"ombrelo.ini"), file);
}

TEST(Program, StartCommandLaunchesTheViewerAndCountsInTheCorner) {
  Scenario s("start");
  const std::string viewer = narrow(s.install_viewer());
  s.write_file(L"ombrelo.ini", ini("C:\\\x94\xad\x95\\\\talk.ppt", viewer));  // C:\発表\talk.ppt
  s.start();
  ASSERT_TRUE(s.wait_window(L"OmbreloSettings"));
  HWND timer = s.timer();
  ASSERT_TRUE(timer);

  s.click(kCommand2);
  ASSERT_TRUE(wait_for([&] { return s.exists(L"cmdline.txt"); })) << "the viewer was started";
  EXPECT_EQ(s.read_file(L"cmdline.txt"),
            "\"" + viewer + "\" /s \"C:\\発表\\talk.ppt\"\nshow=" + std::to_string(SW_SHOWNORMAL));

  const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  ASSERT_TRUE(wait_for([&] {
    const RECT r = window_rect(timer);
    return r.right == sw && r.bottom == sh;
  })) << "the display sits in the bottom-right corner";
  EXPECT_TRUE(topmost(timer));
  ASSERT_TRUE(wait_for([&] { return window_text(timer) == "00:01"; }, 5000))
      << "the display counts; it reads " << window_text(timer);
}

TEST(Program, FirstStartAsksForTheViewerBeforeTheSettingsWindowShows) {
  Scenario s("first-start");
  s.start();
  HWND prompt = s.wait_dialog("Powerpointアプリケーションを指定");
  ASSERT_TRUE(prompt);
  EXPECT_FALSE(s.settings()) << "the settings window waits for the prompt";
  EXPECT_TRUE(s.timer()) << "the display is already up";
  press(prompt, IDCANCEL);

  HWND settings = s.wait_window(L"OmbreloSettings");
  ASSERT_TRUE(settings);
  EXPECT_EQ(window_text(s.control(kCommand3)), "ＭＳ Ｐゴシック 9.75pt");
  PostMessageW(settings, WM_CLOSE, 0, 0);
  ASSERT_TRUE(s.wait_exit());
  EXPECT_EQ(s.read_file(L"ombrelo.ini"),
            ini("", "C:\\Program Files\\Microsoft Office\\Office\\POWERPNT.EXE"));
}

TEST(Program, DamagedSettingsFileIsNamedInAMessageAndTheProgramStarts) {
  Scenario s("damaged");
  const std::string viewer = narrow(s.install_viewer());
  s.write_file(L"ombrelo.ini", "\"C:\\talk.ppt\"\r\n\"" + viewer + "\"\r\n\"Arial\r\nbig\r\n");
  s.start();
  HWND box = s.wait_dialog("Ombrelo");
  ASSERT_TRUE(box);
  const std::string text = message_text(box);
  EXPECT_NE(text.find(narrow(s.ini_path())), std::string::npos) << text;
  EXPECT_NE(text.find("4 行目"), std::string::npos) << text;
  press(box, IDOK);
  ASSERT_TRUE(s.wait_window(L"OmbreloSettings"));
  EXPECT_EQ(window_text(s.control(kText1)), "C:\\talk.ppt");
  EXPECT_EQ(window_text(s.control(kCommand3)), "ＭＳ Ｐゴシック 9.75pt");
}

TEST(Program, ReadOnlySettingsFileIsKeptAndTheProgramStillEnds) {
  Scenario s("read-only");
  const std::string viewer = narrow(s.install_viewer());
  const std::string file = ini("C:\\old.ppt", viewer);
  s.write_file(L"ombrelo.ini", file);
  SetFileAttributesW(s.ini_path().c_str(), FILE_ATTRIBUTE_READONLY);
  s.start();
  ASSERT_TRUE(s.wait_window(L"OmbreloSettings"));
  SendMessageW(s.control(kText1), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"C:\\new.ppt"));
  PostMessageW(s.settings(), WM_CLOSE, 0, 0);
  HWND box = s.wait_dialog("Ombrelo");
  ASSERT_TRUE(box);
  EXPECT_NE(message_text(box).find(narrow(s.ini_path())), std::string::npos);
  press(box, IDOK);
  ASSERT_TRUE(s.wait_exit());
  EXPECT_EQ(s.read_file(L"ombrelo.ini"), file);
}

TEST(Program, ViewerThatCannotStartIsReportedAndNothingMoves) {
  Scenario s("no-viewer");
  s.install_viewer();  // present, so no prompt, but the file names another
  s.write_file(L"ombrelo.ini", ini("C:\\talk.ppt", "C:\\nowhere\\POWERPNT.EXE"));
  s.start();
  ASSERT_TRUE(s.wait_window(L"OmbreloSettings"));
  HWND timer = s.timer();
  const RECT before = window_rect(timer);
  s.click(kCommand2);
  HWND box = s.wait_dialog("Ombrelo");
  ASSERT_TRUE(box);
  EXPECT_NE(message_text(box).find("C:\\nowhere\\POWERPNT.EXE"), std::string::npos);
  press(box, IDOK);
  ASSERT_TRUE(wait_for([&] { return gone(box); }));
  const RECT after = window_rect(timer);
  EXPECT_EQ(after.left, before.left);
  EXPECT_EQ(after.top, before.top);
  EXPECT_EQ(window_text(timer), "00:00");
}

}  // namespace
}  // namespace ombrelo::e2e
