// Starting and closing the real program: the settings file read and
// written, messages about it, and the first start's viewer prompt.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "scenarios.h"

namespace ombrelo::e2e {
namespace {

TEST(StartAndClose, StartsWithBothWindowsAndSavesOnClose) {
  Scenario s("smoke");
  const std::string viewer = narrow(s.install_viewer());
  const std::string file = settings_lines("C:\\talk.ppt", viewer);
  s.write_file(L"ombrelo.ini", file);
  s.start();

  HWND settings = s.wait_window(kSettingsClass, "Ombrelo");
  ASSERT_TRUE(settings) << "the settings window shows";
  HWND display = s.display();
  ASSERT_TRUE(display) << "the display shows";
  EXPECT_EQ(window_text(display), "00:00");
  EXPECT_TRUE(topmost(display));
  EXPECT_TRUE(GetWindowLongW(display, GWL_EXSTYLE) & WS_EX_NOACTIVATE);
  EXPECT_EQ(window_text(s.control(kPresentationBox)), "C:\\talk.ppt");
  EXPECT_EQ(window_text(s.control(kFontButton)), "ＭＳ Ｐゴシック 9.75pt");
  EXPECT_EQ(window_text(s.control(kStartButton)), "スライドショー開始");
  EXPECT_EQ(SendMessageW(s.control(kBottomRightOption), BM_GETCHECK, 0, 0), BST_CHECKED);
  GUITHREADINFO gui{};
  gui.cbSize = sizeof gui;
  auto focused = [&] {
    return GetGUIThreadInfo(GetWindowThreadProcessId(settings, nullptr), &gui) ? gui.hwndFocus
                                                                               : nullptr;
  };
  auto focus_on = [&](HWND h, int timeout_ms = 3000) {
    return wait_for([&] { return focused() == h; }, timeout_ms);
  };
  auto key = [&](WPARAM vk) {
    PostMessageW(gui.hwndFocus, WM_KEYDOWN, vk, 0);
    PostMessageW(gui.hwndFocus, WM_KEYUP, vk, 0xC0000001);
  };
  EXPECT_TRUE(focus_on(s.control(kPresentationBox), 15000)) << "the path box has the focus";
  // Tab walks the controls in their order; in the corner group it stops on
  // the selected option.
  for (int next : {kBrowseButton, kStartButton, kFontButton, kTextColourButton, kBackColourButton,
                   kBottomRightOption, kPresentationBox, kBrowseButton, kStartButton, kFontButton,
                   kTextColourButton}) {
    key(VK_TAB);
    EXPECT_TRUE(focus_on(s.control(next))) << "Tab should reach control " << next;
  }
  save_screenshot(settings, "settings-window");
  // The focus comes back after a dialog (Space, Esc) and minimise, restore.
  key(VK_SPACE);
  HWND colour = s.wait_window(L"#32770");
  ASSERT_TRUE(colour);
  ASSERT_TRUE(wait_for([&] { return IsChild(colour, focused()); }));
  key(VK_ESCAPE);
  EXPECT_TRUE(focus_on(s.control(kTextColourButton))) << "after the dialog";
  ShowWindow(settings, SW_MINIMIZE);
  ShowWindow(settings, SW_RESTORE);
  EXPECT_TRUE(focus_on(s.control(kTextColourButton))) << "after minimise and restore";
  key(VK_TAB);  // no command between: Alt+Space N, then a restore
  ASSERT_TRUE(focus_on(s.control(kBackColourButton)));
  for (WPARAM command : {SC_MINIMIZE, SC_RESTORE}) {
    PostMessageW(settings, WM_SYSCOMMAND, command, 0);
    ASSERT_TRUE(wait_for([&] { return !IsIconic(settings) == (command == SC_RESTORE); }));
  }
  EXPECT_TRUE(focus_on(s.control(kBackColourButton))) << "after the system menu's minimise";

  // What a screen reader is told: every control has a name, the path box
  // its label's, the swatches their texts (and they are no tab stops); the
  // display reads the time.
  for (int id = kPresentationBox; id <= kBackSwatch; ++id) {
    const auto control = accessible(s.control(id));
    EXPECT_TRUE(control && !control->name.empty()) << "control " << id << " has no name";
  }
  EXPECT_EQ(accessible(s.control(kPresentationBox)).value_or(Accessible{}).name,
            "Powerpointファイルの指定");
  EXPECT_EQ(accessible(s.control(kTextSwatch)).value_or(Accessible{}).name, "字色");
  EXPECT_EQ(accessible(s.control(kBackSwatch)).value_or(Accessible{}).name, "背景");
  const auto time = accessible(GetWindow(display, GW_CHILD)).value_or(Accessible{});
  EXPECT_EQ(time.name, "00:00") << "role " << time.role;
  EXPECT_FALSE(GetWindowLongW(s.control(kTextSwatch), GWL_STYLE) & WS_TABSTOP);

  PostMessageW(settings, WM_CLOSE, 0, 0);
  ASSERT_TRUE(s.wait_exit()) << "closing the settings window ends the program";
  EXPECT_EQ(s.read_file(L"ombrelo.ini"), file);
}

// Run from a zip (a folder Explorer removes later), it says so first.
TEST(StartAndClose, FirstStartAsksForTheViewerBeforeTheSettingsWindowShows) {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  Scenario s("first-start", std::wstring(temp) + L"Temp1_ombrelo-win32.zip");
  s.start();
  HWND box = s.wait_dialog("Ombrelo");
  const std::string text = box ? message_text(box) : "";
  EXPECT_TRUE(text.find("一時フォルダー") != text.npos && text.find(narrow(s.dir())) != text.npos);
  press(box, IDOK);
  HWND prompt = s.wait_dialog("Powerpointアプリケーションを指定");
  ASSERT_TRUE(prompt);
  EXPECT_FALSE(s.settings()) << "the settings window waits for the prompt";
  EXPECT_TRUE(s.display()) << "the display is already up";
  press(prompt, IDCANCEL);

  HWND settings = s.wait_window(kSettingsClass);
  ASSERT_TRUE(settings);
  EXPECT_EQ(window_text(s.control(kFontButton)), "ＭＳ Ｐゴシック 9.75pt");
  PostMessageW(settings, WM_CLOSE, 0, 0);
  ASSERT_TRUE(s.wait_exit());
  EXPECT_EQ(s.read_file(L"ombrelo.ini"),
            settings_lines("", "C:\\Program Files\\Microsoft Office\\Office\\POWERPNT.EXE"));
}

// Closed while start-up asks for the viewer: nothing half-built is written;
// the close comes when the prompt is answered.
TEST(StartAndClose, CloseDuringTheFirstPromptWaitsForStartUp) {
  Scenario s("close-at-start");
  s.start();
  HWND prompt = s.wait_dialog("Powerpointアプリケーションを指定");
  ASSERT_TRUE(prompt);
  HWND hidden = s.find(kSettingsClass, {}, false);
  ASSERT_TRUE(hidden);
  SendMessageW(hidden, WM_CLOSE, 0, 0);
  EXPECT_FALSE(s.exists(L"ombrelo.ini")) << "nothing written while start-up runs";
  press(prompt, IDCANCEL);
  ASSERT_TRUE(s.wait_exit());
  EXPECT_EQ(s.read_file(L"ombrelo.ini"),
            settings_lines("", "C:\\Program Files\\Microsoft Office\\Office\\POWERPNT.EXE"));
}

// Log-off and shut-down send no WM_CLOSE; the change is saved before
// WM_ENDSESSION returns, after which Windows may end the process.
TEST(StartAndClose, EndOfSessionSavesTheTypedChange) {
  Running r("end-session");
  ASSERT_TRUE(r.settings);
  SendMessageW(r.s.control(kPresentationBox), WM_SETTEXT, 0,
               reinterpret_cast<LPARAM>(L"C:\\typed.ppt"));
  EXPECT_TRUE(SendMessageW(r.settings, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF));
  SendMessageW(r.settings, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
  EXPECT_EQ(r.s.read_file(L"ombrelo.ini"), settings_lines("C:\\typed.ppt", r.viewer));
  EXPECT_FALSE(IsWindow(r.display)) << "the display is gone";
  EXPECT_FALSE(r.s.find(L"#32770")) << "no message waits for an answer";
  EXPECT_TRUE(r.s.wait_exit()) << "nothing left to take changes it would not save";
}

TEST(StartAndClose, DamagedSettingsFileIsNamedInAMessageAndTheProgramStarts) {
  Scenario s("damaged");
  const std::string viewer = narrow(s.install_viewer());
  const std::string damaged = "\"C:\\talk.ppt\"\r\n\"" + viewer + "\"\r\n\"Arial\r\nbig\r\n";
  s.write_file(L"ombrelo.ini", damaged);
  s.start();
  HWND box = s.wait_dialog("Ombrelo");
  ASSERT_TRUE(box);
  const std::string text = message_text(box);
  EXPECT_NE(text.find(narrow(s.ini_path())), std::string::npos) << text;
  EXPECT_NE(text.find("4 行目"), std::string::npos) << text;
  press(box, IDOK);
  ASSERT_TRUE(s.wait_window(kSettingsClass));
  EXPECT_EQ(window_text(s.control(kPresentationBox)), "C:\\talk.ppt");
  EXPECT_EQ(window_text(s.control(kFontButton)), "ＭＳ Ｐゴシック 9.75pt");
  HWND settings = s.settings(), path_box = s.control(kPresentationBox);
  PostMessageW(settings, WM_CLOSE, 0, 0);
  box = s.wait_dialog("Ombrelo");
  ASSERT_TRUE(box);
  EXPECT_NE(message_text(box).find(narrow(s.ini_path()) + ".bak"), std::string::npos);
  // A late start click and a second close wait for the message; posted
  // after them, a selection in the path box shows they were handled.
  s.click(kStartButton);
  PostMessageW(settings, WM_CLOSE, 0, 0);
  PostMessageW(path_box, EM_SETSEL, 0, 2);
  EXPECT_TRUE(wait_for([&] { return SendMessageW(path_box, EM_GETSEL, 0, 0) == MAKELONG(0, 2); }));
  EXPECT_FALSE(gone(box) || s.exists(L"cmdline.txt") || s.display());
  press(box, IDOK);
  ASSERT_TRUE(s.wait_exit());
  EXPECT_EQ(s.read_file(L"ombrelo.ini.bak"), damaged) << "the user's damaged lines are kept";
}

TEST(StartAndClose, ReadOnlySettingsFileIsKeptAndTheProgramStillEnds) {
  Scenario s("read-only");
  const std::string viewer = narrow(s.install_viewer());
  const std::string file = settings_lines("C:\\old.ppt", viewer);
  s.write_file(L"ombrelo.ini", file);
  SetFileAttributesW(s.ini_path().c_str(), FILE_ATTRIBUTE_READONLY);
  s.start();
  ASSERT_TRUE(s.wait_window(kSettingsClass));
  SendMessageW(s.control(kPresentationBox), WM_SETTEXT, 0,
               reinterpret_cast<LPARAM>(L"C:\\new.ppt"));
  PostMessageW(s.settings(), WM_CLOSE, 0, 0);
  HWND box = s.wait_dialog("Ombrelo");
  ASSERT_TRUE(box);
  EXPECT_NE(message_text(box).find(narrow(s.ini_path())), std::string::npos);
  press(box, IDOK);
  ASSERT_TRUE(s.wait_exit());
  EXPECT_EQ(s.read_file(L"ombrelo.ini"), file);
}

TEST(StartAndClose, AnsweredViewerPromptIsSavedAsTheViewer) {
  Scenario s("prompt-answered");
  const std::wstring viewer = s.install_viewer();
  s.start();
  HWND prompt = s.wait_dialog("Powerpointアプリケーションを指定");
  ASSERT_TRUE(prompt);
  choose_file(prompt, viewer);
  HWND settings = s.wait_window(kSettingsClass);
  ASSERT_TRUE(settings);
  PostMessageW(settings, WM_CLOSE, 0, 0);
  ASSERT_TRUE(s.wait_exit());
  EXPECT_EQ(s.read_file(L"ombrelo.ini"), settings_lines("", narrow(viewer)));
}

// Puts a viewer where Office installs it, for the scenario's length.
class InstalledViewer {
 public:
  explicit InstalledViewer(const Scenario& s, std::wstring path = widen(test::kDefaultViewer))
      : path_(std::move(path)) {
    for (std::size_t at = path_.find(L'\\', 3); at != std::wstring::npos;
         at = path_.find(L'\\', at + 1)) {
      CreateDirectoryW(path_.substr(0, at).c_str(), nullptr);
    }
    CopyFileW(s.install_viewer(L"viewer-copy.exe").c_str(), path_.c_str(), FALSE);
  }
  ~InstalledViewer() { DeleteFileW(path_.c_str()); }

 private:
  std::wstring path_;
};

TEST(StartAndClose, ViewerAtTheDefaultPathMeansNoPrompt) {
  Scenario s("default-viewer");
  InstalledViewer installed(s);
  s.start();
  ASSERT_TRUE(s.wait_window(kSettingsClass));
  EXPECT_FALSE(s.find(L"#32770")) << "no dialog";
}

// Current Office (Click-to-Run) is not at the default path: the prompt
// opens on it, and the user only confirms.
TEST(StartAndClose, FirstStartPromptOpensOnCurrentOffice) {
  Scenario s("click-to-run");
  const std::wstring c2r = L"C:\\Program Files\\Microsoft Office\\root\\Office16\\POWERPNT.EXE";
  InstalledViewer installed(s, c2r);
  s.start();
  HWND prompt = s.wait_dialog("Powerpointアプリケーションを指定");
  ASSERT_TRUE(prompt);
  HWND name = file_name_box(prompt);
  EXPECT_TRUE(wait_for([&] { return window_text(name) == "POWERPNT.EXE"; })) << window_text(name);
  press(prompt, IDOK);
  HWND settings = s.wait_window(kSettingsClass);
  ASSERT_TRUE(settings);
  PostMessageW(settings, WM_CLOSE, 0, 0);
  ASSERT_TRUE(s.wait_exit());
  EXPECT_EQ(s.read_file(L"ombrelo.ini"), settings_lines("", narrow(c2r)));
}

TEST(StartAndClose, SavedLookAndCornerAreOnThePreviewAtStart) {
  Running big("saved-look", "#TRUE#", "#FALSE#", "Tahoma", "36");
  ASSERT_TRUE(big.settings);
  Running small("saved-look-small");
  ASSERT_TRUE(small.settings);
  EXPECT_EQ(window_text(big.s.control(kFontButton)), "Tahoma 36pt");
  EXPECT_EQ(SendMessageW(big.s.control(kBottomLeftOption), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageW(big.s.control(kBottomRightOption), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  const RECT b = window_rect(big.display), t = window_rect(small.display);
  EXPECT_GT(b.bottom - b.top, 2 * (t.bottom - t.top)) << "the 36-point display is larger";
  EXPECT_GT(b.right - b.left, 2 * (t.right - t.left));
}

// The saved corner flags select the options as the option group allows;
// with neither, the start keeps the display's left edge.
TEST(StartAndClose, SavedCornerFlagsSelectTheOptions) {
  struct Row {
    const char* left;
    const char* right;
    LRESULT option1, option2;
  };
  for (const Row& row : {Row{"#TRUE#", "#TRUE#", BST_UNCHECKED, BST_CHECKED},
                         Row{"#FALSE#", "#FALSE#", BST_UNCHECKED, BST_UNCHECKED}}) {
    SCOPED_TRACE(std::string(row.left) + " " + row.right);
    Running r(std::string("flags-") + row.left + row.right, row.left, row.right);
    ASSERT_TRUE(r.settings);
    EXPECT_EQ(SendMessageW(r.s.control(kBottomLeftOption), BM_GETCHECK, 0, 0), row.option1);
    EXPECT_EQ(SendMessageW(r.s.control(kBottomRightOption), BM_GETCHECK, 0, 0), row.option2);
    if (row.option1 == BST_CHECKED || row.option2 == BST_CHECKED) continue;
    const RECT before = window_rect(r.display);
    r.s.click(kStartButton);
    ASSERT_TRUE(wait_for([&] { return window_rect(r.display).bottom == screen_height(); }));
    EXPECT_EQ(window_rect(r.display).left, before.left);
  }
}

}  // namespace
}  // namespace ombrelo::e2e
