// The real ombrelo.exe under Windows (Wine), driven from outside.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <vector>

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

// A scenario with the stand-in viewer and a settings file, started and
// showing its settings window.
struct Running {
  explicit Running(const std::string& name, const std::string& left = "#FALSE#",
                   const std::string& right = "#TRUE#", const std::string& font = kFontCp932,
                   const std::string& size = "9.75")
      : s(name) {
    viewer = narrow(s.install_viewer());
    s.write_file(L"ombrelo.ini",
                 ini("C:\\talk.ppt", viewer, font, size, "65280", "0", left, right));
    s.start();
    settings = s.wait_window(kSettingsClass);
    timer = s.timer();
  }
  Scenario s;
  std::string viewer;
  HWND settings = nullptr;
  HWND timer = nullptr;
};

int screen_height() { return GetSystemMetrics(SM_CYSCREEN); }

// Whether the display shows at least that time ("MM:SS" compares as text);
// a slow machine may skip a second between two ticks.
bool reads_at_least(HWND timer, const std::string& time) {
  const std::string t = window_text(timer);
  return t.size() == 5 && t >= time;
}

bool topmost(HWND h) { return (GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

TEST(Program, StartsWithBothWindowsAndSavesOnClose) {
  Scenario s("smoke");
  const std::string viewer = narrow(s.install_viewer());
  const std::string file = ini("C:\\talk.ppt", viewer);
  s.write_file(L"ombrelo.ini", file);
  s.start();

  HWND settings = s.wait_window(kSettingsClass, "Ombrelo");
  ASSERT_TRUE(settings) << "the settings window shows";
  HWND timer = s.timer();
  ASSERT_TRUE(timer) << "the display shows";
  EXPECT_EQ(window_text(timer), "00:00");
  EXPECT_TRUE(topmost(timer));
  EXPECT_TRUE(GetWindowLongW(timer, GWL_EXSTYLE) & WS_EX_NOACTIVATE);
  EXPECT_EQ(window_text(s.control(kPresentationBox)), "C:\\talk.ppt");
  EXPECT_EQ(window_text(s.control(kFontButton)), "ＭＳ Ｐゴシック 9.75pt");
  EXPECT_EQ(window_text(s.control(kStartButton)), "スライドショー開始");
  EXPECT_EQ(SendMessageW(s.control(kBottomRightOption), BM_GETCHECK, 0, 0), BST_CHECKED);
  GUITHREADINFO gui{};
  gui.cbSize = sizeof gui;
  EXPECT_TRUE(wait_for([&] {
    return GetGUIThreadInfo(GetWindowThreadProcessId(settings, nullptr), &gui) &&
           gui.hwndFocus == s.control(kPresentationBox);
  })) << "the path box has the focus";
  // Tab walks the controls in their order; in the corner group it stops on
  // the selected option.
  for (int next : {kBrowseButton, kStartButton, kFontButton, kTextColourButton, kBackColourButton,
                   kBottomRightOption, kPresentationBox}) {
    PostMessageW(gui.hwndFocus, WM_KEYDOWN, VK_TAB, 0);
    PostMessageW(gui.hwndFocus, WM_KEYUP, VK_TAB, 0xC0000001);
    EXPECT_TRUE(wait_for(
        [&] {
          return GetGUIThreadInfo(GetWindowThreadProcessId(settings, nullptr), &gui) &&
                 gui.hwndFocus == s.control(next);
        },
        3000))
        << "Tab should reach control " << next;
  }

  save_screenshot(settings, "settings-window");

  // What a screen reader is told: the display is static text reading the
  // time (where the system has the proxy for it: Wine has none); the
  // swatches are named by their texts, and are no tab stops.
  if (const auto display = accessible(timer)) {
    EXPECT_EQ(*display, (Accessible{ROLE_SYSTEM_STATICTEXT, "00:00"}));
  }
  EXPECT_EQ(window_text(s.control(kTextSwatch)), "字色");
  EXPECT_EQ(window_text(s.control(kBackSwatch)), "背景");
  EXPECT_FALSE(GetWindowLongW(s.control(kTextSwatch), GWL_STYLE) & WS_TABSTOP);

  PostMessageW(settings, WM_CLOSE, 0, 0);
  ASSERT_TRUE(s.wait_exit()) << "closing the settings window ends the program";
  EXPECT_EQ(s.read_file(L"ombrelo.ini"), file);
}

// One registry value set for the scenario's length, then put back as it was.
class RegistryValue {
 public:
  RegistryValue(const wchar_t* key, const wchar_t* name, DWORD type, const void* data, DWORD size)
      : key_(key), name_(name) {
    DWORD old_size = sizeof old_;
    had_ = RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_ANY, &old_type_, old_, &old_size) ==
           ERROR_SUCCESS;
    old_size_ = old_size;
    RegSetKeyValueW(HKEY_CURRENT_USER, key, name, type, data, size);
  }
  ~RegistryValue() {
    if (had_) {
      RegSetKeyValueW(HKEY_CURRENT_USER, key_, name_, old_type_, old_, old_size_);
    } else {
      RegDeleteKeyValueW(HKEY_CURRENT_USER, key_, name_);
    }
  }

 private:
  const wchar_t* key_;
  const wchar_t* name_;
  bool had_ = false;
  DWORD old_type_ = 0, old_size_ = 0;
  BYTE old_[512] = {};
};

// Captions fit their controls at 100, 150 and 200 % with a Japanese UI font
// whose lines are taller than the rows, as Yu Gothic UI's are on Windows
// 10/11 (Wine takes the message font at 96 dpi and scales it).
TEST(Program, CaptionsFitTheirControlsWithATallUiFontAtEveryScale) {
  LOGFONTW tall{};
  tall.lfHeight = -12;  // 9 pt
  tall.lfWeight = FW_NORMAL;
  tall.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(tall.lfFaceName, L"Noto Sans CJK JP", LF_FACESIZE);
  const RegistryValue message_font(L"Control Panel\\Desktop\\WindowMetrics", L"MessageFont",
                                   REG_BINARY, &tall, sizeof tall);
  for (const DWORD dpi : {96, 144, 192}) {
    SCOPED_TRACE("at " + std::to_string(dpi) + " dpi");
    const RegistryValue scale(L"Control Panel\\Desktop", L"LogPixels", REG_DWORD, &dpi, sizeof dpi);
    Running r("layout-" + std::to_string(dpi));
    ASSERT_TRUE(r.settings);
    std::optional<Capture> shot;
    const std::vector<int> captioned = {
        kPresentationLabel, kBrowseButton,     kStartButton,      kFontLabel,         kFontButton,
        kTextColourButton,  kBackColourButton, kBottomLeftOption, kBottomRightOption, kCornerLabel};
    // Painted: the top edge of every control shows (unpainted is black).
    ASSERT_TRUE(wait_for([&] {
      shot.emplace(r.settings);
      return std::all_of(captioned.begin(), captioned.end(), [&](int id) {
        const RECT c = window_rect(r.s.control(id));
        return shot->at({(c.left + c.right) / 2, c.top}) != RGB(0, 0, 0);
      });
    })) << "the window is painted";
    // A button's text stays off its border; a label's and an option's text
    // does not run into the edge of its rectangle.
    const int border = MulDiv(2, static_cast<int>(dpi), 96);
    for (const int id : captioned) {
      HWND control = r.s.control(id);
      RECT client{};
      GetClientRect(control, &client);
      // The bottom-left option lies over the end of the corner row's heading.
      if (id == kCornerLabel) {
        client.right = window_rect(r.s.control(kBottomLeftOption)).left - window_rect(control).left;
      }
      const RECT box = ink(*shot, control, client);
      const bool button = id >= kBrowseButton && id <= kBackColourButton &&
                          id != kPresentationLabel && id != kFontLabel;
      const int m = button ? border : 1;
      EXPECT_GT(box.right, box.left) << window_text(control) << ": no text seen";
      EXPECT_TRUE(box.left >= m && box.top >= m && box.right <= client.right - m &&
                  box.bottom <= client.bottom - m)
          << window_text(control) << ": text " << box.left << "," << box.top << "-" << box.right
          << "," << box.bottom << " in " << client.right << "x" << client.bottom;
    }
    // The font heading overlaps the font button's top: the button's border
    // is drawn whole under it, as it is beyond it.
    const RECT b = window_rect(r.s.control(kFontButton)), l = window_rect(r.s.control(kFontLabel));
    int cut = 0;
    for (LONG x = b.left + 2 * border; x < l.right; ++x)
      cut += shot->at({x, b.top}) != shot->at({l.right + 4 * border, b.top});
    EXPECT_EQ(cut, 0) << "pixels of the font button's top border painted over";
    shot->save("settings-window-" + std::to_string(dpi) + "dpi");
    PostMessageW(r.settings, WM_CLOSE, 0, 0);
    EXPECT_TRUE(r.s.wait_exit());
  }
}

TEST(Program, StartCommandLaunchesTheViewerAndCountsInTheCorner) {
  Scenario s("start");
  const std::string viewer = narrow(s.install_viewer());
  s.write_file(L"ombrelo.ini", ini("C:\\\x94\xad\x95\\\\talk.ppt", viewer));  // C:\発表\talk.ppt
  s.start();
  ASSERT_TRUE(s.wait_window(kSettingsClass));
  HWND timer = s.timer();
  ASSERT_TRUE(timer);

  s.click(kStartButton);
  ASSERT_TRUE(wait_for([&] { return s.exists(L"cmdline.txt"); })) << "the viewer was started";
  EXPECT_EQ(s.read_file(L"cmdline.txt"),
            "\"" + viewer + "\" /s \"C:\\発表\\talk.ppt\"\nshow=" + std::to_string(SW_SHOWNORMAL));

  const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  ASSERT_TRUE(wait_for([&] {
    const RECT r = window_rect(timer);
    return r.right == sw && r.bottom == sh;
  })) << "the display sits in the bottom-right corner";
  EXPECT_TRUE(topmost(timer));
  ASSERT_TRUE(wait_for([&] { return reads_at_least(timer, "00:01"); }, 5000))
      << "the display counts; it reads " << window_text(timer);
  save_screenshot(timer, "display-counting");

  // A projector changes the screen (the size stays under Xvfb): the display
  // goes back to its corner, without activating anything.
  SetWindowPos(timer, nullptr, 100, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageW(timer, WM_DISPLAYCHANGE, 24, MAKELPARAM(sw, sh));
  EXPECT_TRUE(wait_for([&] {
    const RECT r = window_rect(timer);
    return r.right == sw && r.bottom == sh;
  })) << "back in the bottom-right corner";
}

// Whether nothing of another program's lies above the window.
bool on_top(HWND h) {
  for (HWND above = GetWindow(h, GW_HWNDPREV); above; above = GetWindow(above, GW_HWNDPREV)) {
    DWORD pid = 0, own = 0;
    GetWindowThreadProcessId(above, &pid);
    GetWindowThreadProcessId(h, &own);
    if (pid != own && IsWindowVisible(above)) return false;
  }
  return true;
}

// Stacking changes this process was told of.
int reorders_seen = 0;
void CALLBACK count_reorder(HWINEVENTHOOK, DWORD, HWND, LONG, LONG, DWORD, DWORD) {
  ++reorders_seen;
}

// A slide show that raises itself over and over cannot hide the display.
// The display hears of each raise from the system; where the system tells
// nobody (Wine reports no stacking changes), its short watch answers a raise
// within 10 ms, which holds it on top in most samples.
TEST(Program, DisplayStaysAboveASlideShowThatKeepsRaisingItself) {
  Running r("raising-show");
  ASSERT_TRUE(r.settings);
  SendMessageW(r.s.control(kPresentationBox), WM_SETTEXT, 0,
               reinterpret_cast<LPARAM>(L"C:\\raise.ppt"));
  HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_REORDER, EVENT_OBJECT_REORDER, nullptr,
                                       &count_reorder, 0, 0, WINEVENT_OUTOFCONTEXT);
  r.s.click(kStartButton);
  HWND show = nullptr;
  ASSERT_TRUE(
      wait_for([&] { return (show = FindWindowW(L"OmbreloTestShow", nullptr)) != nullptr; }));
  int on_top_samples = 0;
  for (int i = 0; i < 10; ++i) {
    // Samples spread over the show's raises, not a wait for anything; the
    // messages pumped meanwhile bring this process the system's events.
    const DWORD until = GetTickCount() + 230;
    MSG msg;
    while (GetTickCount() < until) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
    on_top_samples += on_top(r.timer);
  }
  UnhookWinEvent(hook);
  PostMessageW(show, WM_CLOSE, 0, 0);
  EXPECT_GE(on_top_samples, reorders_seen > 0 ? 9 : 7)
      << (reorders_seen > 0 ? "" : "this system reports no stacking changes");
}

TEST(Program, FirstStartAsksForTheViewerBeforeTheSettingsWindowShows) {
  Scenario s("first-start");
  s.start();
  HWND prompt = s.wait_dialog("Powerpointアプリケーションを指定");
  ASSERT_TRUE(prompt);
  EXPECT_FALSE(s.settings()) << "the settings window waits for the prompt";
  EXPECT_TRUE(s.timer()) << "the display is already up";
  press(prompt, IDCANCEL);

  HWND settings = s.wait_window(kSettingsClass);
  ASSERT_TRUE(settings);
  EXPECT_EQ(window_text(s.control(kFontButton)), "ＭＳ Ｐゴシック 9.75pt");
  PostMessageW(settings, WM_CLOSE, 0, 0);
  ASSERT_TRUE(s.wait_exit());
  EXPECT_EQ(s.read_file(L"ombrelo.ini"),
            ini("", "C:\\Program Files\\Microsoft Office\\Office\\POWERPNT.EXE"));
}

// Closed while start-up asks for the viewer: nothing half-built is written;
// the close comes when the prompt is answered.
TEST(Program, CloseDuringTheFirstPromptWaitsForStartUp) {
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
            ini("", "C:\\Program Files\\Microsoft Office\\Office\\POWERPNT.EXE"));
}

// Log-off and shut-down send no WM_CLOSE; the change is saved before
// WM_ENDSESSION returns, after which Windows may end the process.
TEST(Program, EndOfSessionSavesTheTypedChange) {
  Running r("end-session");
  ASSERT_TRUE(r.settings);
  SendMessageW(r.s.control(kPresentationBox), WM_SETTEXT, 0,
               reinterpret_cast<LPARAM>(L"C:\\typed.ppt"));
  EXPECT_TRUE(SendMessageW(r.settings, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF));
  SendMessageW(r.settings, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
  EXPECT_EQ(r.s.read_file(L"ombrelo.ini"), ini("C:\\typed.ppt", r.viewer));
  EXPECT_FALSE(IsWindow(r.timer)) << "the display is gone";
  EXPECT_FALSE(r.s.find(L"#32770")) << "no message waits for an answer";
  EXPECT_TRUE(r.s.wait_exit()) << "nothing left to take changes it would not save";
}

TEST(Program, DamagedSettingsFileIsNamedInAMessageAndTheProgramStarts) {
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
  PostMessageW(s.settings(), WM_CLOSE, 0, 0);
  box = s.wait_dialog("Ombrelo");
  ASSERT_TRUE(box);
  EXPECT_NE(message_text(box).find(narrow(s.ini_path()) + ".bak"), std::string::npos);
  press(box, IDOK);
  ASSERT_TRUE(s.wait_exit());
  EXPECT_EQ(s.read_file(L"ombrelo.ini.bak"), damaged) << "the user's damaged lines are kept";
}

TEST(Program, ReadOnlySettingsFileIsKeptAndTheProgramStillEnds) {
  Scenario s("read-only");
  const std::string viewer = narrow(s.install_viewer());
  const std::string file = ini("C:\\old.ppt", viewer);
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

TEST(Program, ViewerThatCannotStartIsReportedAndNothingMoves) {
  Scenario s("no-viewer");
  s.install_viewer();  // present, so no prompt, but the file names another
  s.write_file(L"ombrelo.ini", ini("C:\\talk.ppt", "C:\\nowhere\\POWERPNT.EXE"));
  s.start();
  ASSERT_TRUE(s.wait_window(kSettingsClass));
  HWND timer = s.timer();
  const RECT before = window_rect(timer);
  s.click(kStartButton);
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

TEST(Program, AnsweredViewerPromptIsSavedAsTheViewer) {
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
  EXPECT_EQ(s.read_file(L"ombrelo.ini"), ini("", narrow(viewer)));
}

// Puts a viewer where Office installs it, for the scenario's length.
class InstalledViewer {
 public:
  explicit InstalledViewer(const Scenario& s, std::wstring path = kDefaultPath)
      : path_(std::move(path)) {
    for (std::size_t at = path_.find(L'\\', 3); at != std::wstring::npos;
         at = path_.find(L'\\', at + 1)) {
      CreateDirectoryW(path_.substr(0, at).c_str(), nullptr);
    }
    CopyFileW(s.install_viewer(L"viewer-copy.exe").c_str(), path_.c_str(), FALSE);
  }
  ~InstalledViewer() { DeleteFileW(path_.c_str()); }
  static constexpr const wchar_t* kDefaultPath =
      L"C:\\Program Files\\Microsoft Office\\Office\\POWERPNT.EXE";

 private:
  std::wstring path_;
};

TEST(Program, ViewerAtTheDefaultPathMeansNoPrompt) {
  Scenario s("default-viewer");
  InstalledViewer installed(s);
  s.start();
  ASSERT_TRUE(s.wait_window(kSettingsClass));
  EXPECT_FALSE(s.find(L"#32770")) << "no dialog";
}

// Current Office (Click-to-Run) is not at the default path: the prompt
// opens on it, and the user only confirms.
TEST(Program, FirstStartPromptOpensOnCurrentOffice) {
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
  EXPECT_EQ(s.read_file(L"ombrelo.ini"), ini("", narrow(c2r)));
}

TEST(Program, SavedLookAndCornerAreOnThePreviewAtStart) {
  Running big("saved-look", "#TRUE#", "#FALSE#", "Tahoma", "36");
  ASSERT_TRUE(big.settings);
  Running small("saved-look-small");
  ASSERT_TRUE(small.settings);
  EXPECT_EQ(window_text(big.s.control(kFontButton)), "Tahoma 36pt");
  EXPECT_EQ(SendMessageW(big.s.control(kBottomLeftOption), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageW(big.s.control(kBottomRightOption), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  const RECT b = window_rect(big.timer), t = window_rect(small.timer);
  EXPECT_GT(b.bottom - b.top, 2 * (t.bottom - t.top)) << "the 36-point display is larger";
  EXPECT_GT(b.right - b.left, 2 * (t.right - t.left));
}

// The saved corner flags select the options as the option group allows;
// with neither, the start keeps the display's left edge.
TEST(Program, SavedCornerFlagsSelectTheOptions) {
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
    const RECT before = window_rect(r.timer);
    r.s.click(kStartButton);
    ASSERT_TRUE(wait_for([&] { return window_rect(r.timer).bottom == screen_height(); }));
    EXPECT_EQ(window_rect(r.timer).left, before.left);
  }
}

TEST(Program, BottomLeftStartAndASecondStartCountingFromZero) {
  Running r("bottom-left", "#TRUE#", "#FALSE#");
  ASSERT_TRUE(r.settings);
  r.s.click(kStartButton);
  ASSERT_TRUE(wait_for([&] {
    const RECT p = window_rect(r.timer);
    return p.left == 0 && p.bottom == screen_height();
  })) << "the display sits in the bottom-left corner";
  ASSERT_TRUE(wait_for([&] { return reads_at_least(r.timer, "00:02"); }, 6000));
  DeleteFileW(r.s.path(L"cmdline.txt").c_str());
  r.s.click(kStartButton);
  ASSERT_TRUE(wait_for([&] { return r.s.exists(L"cmdline.txt"); })) << "another viewer starts";
  // The first tick after a start comes half a second on, and reads 00:00 or
  // 00:01 depending on which side of the half second it falls.
  ASSERT_TRUE(wait_for(
      [&] {
        const std::string t = window_text(r.timer);
        return t == "00:00" || t == "00:01";
      },
      3000))
      << "counting starts again; it reads " << window_text(r.timer);
  ASSERT_TRUE(wait_for([&] { return reads_at_least(r.timer, "00:02"); }, 3000));

  // A rehearsal left counting in another copy, in the same corner: the
  // start just pressed puts this copy's display above it.
  Running other("bottom-left-other", "#TRUE#", "#FALSE#");
  ASSERT_TRUE(other.settings);
  other.s.click(kStartButton);
  ASSERT_TRUE(wait_for([&] { return reads_at_least(other.timer, "00:01"); }, 5000));
  r.s.click(kStartButton);
  EXPECT_TRUE(wait_for([&] {
    HWND above = GetWindow(other.timer, GW_HWNDPREV);
    while (above && above != r.timer) above = GetWindow(above, GW_HWNDPREV);
    return above == r.timer;
  })) << "this copy's display is the one on top";
}

TEST(Program, FontDialogCancelledAndAnswered) {
  Running r("font");
  ASSERT_TRUE(r.settings);
  const RECT before = window_rect(r.timer);

  r.s.click(kFontButton);
  HWND dialog = r.s.wait_window(L"#32770");
  ASSERT_TRUE(dialog);
  press(dialog, IDCANCEL);
  ASSERT_TRUE(wait_for([&] { return gone(dialog); }));
  EXPECT_EQ(window_text(r.s.control(kFontButton)), "ＭＳ Ｐゴシック 9.75pt");

  r.s.click(kFontButton);
  dialog = r.s.wait_window(L"#32770");
  ASSERT_TRUE(dialog);
  HWND faces = GetDlgItem(dialog, cmb1);
  ASSERT_TRUE(wait_for([&] { return SendMessageW(faces, CB_GETCOUNT, 0, 0) > 0; }));
  for (LRESULT i = 0; i < SendMessageW(faces, CB_GETCOUNT, 0, 0); ++i) {
    wchar_t face[LF_FACESIZE + 1] = {};
    SendMessageW(faces, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(face));
    EXPECT_NE(face[0], L'@') << "no vertical face is offered: " << narrow(face);
  }
  choose_font(dialog, L"IPA Pゴシック", 36);  // a font the test machine has
  ASSERT_TRUE(wait_for([&] {
    return window_text(r.s.control(kFontButton)) == "IPA Pゴシック 36pt";
  })) << window_text(r.s.control(kFontButton));
  const RECT after = window_rect(r.timer);
  EXPECT_EQ(after.left, before.left) << "the top-left corner stays";
  EXPECT_EQ(after.top, before.top);
  EXPECT_GT(after.bottom - after.top, 2 * (before.bottom - before.top)) << "the display grew";

  PostMessageW(r.settings, WM_CLOSE, 0, 0);
  ASSERT_TRUE(r.s.wait_exit());
  EXPECT_EQ(r.s.read_file(L"ombrelo.ini"), ini("C:\\talk.ppt", r.viewer,
                                               "IPA P\x83S\x83V\x83"
                                               "b\x83N",
                                               "36"));
}

TEST(Program, ColourDialogsMoveTheSwatchesAndThePreview) {
  Running r("colours");
  ASSERT_TRUE(r.settings);
  // Swatch centres, in client pixels at 15 twips a pixel.
  const POINT shape1{(3600 + 187) / 15, (2160 + 127) / 15},
      shape2{(4200 + 187) / 15, (2160 + 127) / 15};
  ASSERT_TRUE(
      wait_for([&] { return client_pixel(r.settings, shape1.x, shape1.y) == RGB(0, 255, 0); }));

  r.s.click(kTextColourButton);
  HWND dialog = r.s.wait_window(L"#32770");
  ASSERT_TRUE(dialog);
  choose_colour(dialog, 255, 0, 0);
  EXPECT_TRUE(wait_for([&] {
    return client_pixel(r.settings, shape1.x, shape1.y) == RGB(255, 0, 0);
  })) << std::hex
      << client_pixel(r.settings, shape1.x, shape1.y);

  r.s.click(kBackColourButton);
  dialog = r.s.wait_window(L"#32770");
  ASSERT_TRUE(dialog);
  press(dialog, IDCANCEL);
  ASSERT_TRUE(wait_for([&] { return gone(dialog); }));
  EXPECT_EQ(client_pixel(r.settings, shape2.x, shape2.y), RGB(0, 0, 0)) << "cancel keeps black";

  r.s.click(kBackColourButton);
  dialog = r.s.wait_window(L"#32770");
  ASSERT_TRUE(dialog);
  choose_colour(dialog, 0, 0, 128);
  EXPECT_TRUE(
      wait_for([&] { return client_pixel(r.settings, shape2.x, shape2.y) == RGB(0, 0, 128); }));
  const RECT t = window_rect(r.timer);
  EXPECT_TRUE(wait_for([&] {
    return client_pixel(r.timer, 0, t.bottom - t.top - 1) == RGB(0, 0, 128);
  })) << "the preview's background follows";

  PostMessageW(r.settings, WM_CLOSE, 0, 0);
  ASSERT_TRUE(r.s.wait_exit());
  EXPECT_EQ(r.s.read_file(L"ombrelo.ini"),
            ini("C:\\talk.ppt", r.viewer, kFontCp932, "9.75", "255", "8388608"));
}

TEST(Program, FileDialogReplacesTheTypedPathAndKeepsTheCurrentDirectory) {
  Running r("file");
  ASSERT_TRUE(r.settings);
  CreateDirectoryW(r.s.path(L"talks").c_str(), nullptr);
  r.s.write_file(L"talks\\講演.ppt", "slides");
  r.s.click(kBrowseButton);
  HWND dialog = r.s.wait_dialog("プレゼンテーションのファイルを指定");
  ASSERT_TRUE(dialog);
  press(dialog, IDCANCEL);
  ASSERT_TRUE(wait_for([&] { return gone(dialog); }));
  EXPECT_EQ(window_text(r.s.control(kPresentationBox)), "C:\\talk.ppt");

  r.s.click(kBrowseButton);
  dialog = r.s.wait_dialog("プレゼンテーションのファイルを指定");
  ASSERT_TRUE(dialog);
  choose_file(dialog, r.s.path(L"talks\\講演.ppt"));
  EXPECT_TRUE(wait_for([&] {
    return window_text(r.s.control(kPresentationBox)) == narrow(r.s.path(L"talks\\講演.ppt"));
  })) << window_text(r.s.control(kPresentationBox));

  // The viewer inherits the current directory: still the one it started in.
  r.s.click(kStartButton);
  ASSERT_TRUE(wait_for([&] { return r.s.exists(L"cmdline.txt"); }));
  EXPECT_EQ(r.s.read_file(L"cwd.txt"), narrow(r.s.dir()));
}

TEST(Program, QuoteInTheTypedPathIsRefused) {
  Running r("quote");
  ASSERT_TRUE(r.settings);
  SendMessageW(r.s.control(kPresentationBox), WM_SETTEXT, 0,
               reinterpret_cast<LPARAM>(L"C:\\a.ppt\" /evil \"b.ppt"));
  r.s.click(kStartButton);
  HWND box = r.s.wait_dialog("Ombrelo");
  ASSERT_TRUE(box);
  EXPECT_NE(message_text(box).find("C:\\a.ppt\" /evil \"b.ppt"), std::string::npos);
  press(box, IDOK);
  ASSERT_TRUE(wait_for([&] { return gone(box); }));
  EXPECT_FALSE(r.s.exists(L"cmdline.txt")) << "no viewer started";
}

TEST(Program, DisplayClosedByTheSystemComesBackOnNextUse) {
  Running r("display-closed");
  ASSERT_TRUE(r.settings);
  PostMessageW(r.timer, WM_CLOSE, 0, 0);
  ASSERT_TRUE(wait_for([&] { return !IsWindow(r.timer); }));
  r.s.click(kTextColourButton);
  HWND dialog = r.s.wait_window(L"#32770");
  ASSERT_TRUE(dialog);
  press(dialog, IDCANCEL);
  HWND back = r.s.wait_window(kTimerClass);
  ASSERT_TRUE(back) << "the display is back";
  EXPECT_EQ(window_text(back), "00:00");
  EXPECT_TRUE(topmost(back));
}

TEST(Program, ClickingTheDisplayDoesNotTakeTheFocus) {
  Running r("focus");
  ASSERT_TRUE(r.settings);
  ASSERT_TRUE(wait_for([&] { return GetForegroundWindow() == r.settings; }));
  const RECT t = window_rect(r.timer);
  SetCursorPos((t.left + t.right) / 2, (t.top + t.bottom) / 2);
  INPUT clicks[2] = {};
  clicks[0].type = clicks[1].type = INPUT_MOUSE;
  clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, clicks, sizeof(INPUT));
  Sleep(300);  // give a wrong activation the time to happen
  EXPECT_EQ(GetForegroundWindow(), r.settings);
}

}  // namespace
}  // namespace ombrelo::e2e
