// The start button on the real program: the viewer started, the display in
// its corner, on top and counting.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "scenarios.h"

namespace ombrelo::e2e {
namespace {

TEST(StartShow, StartCommandLaunchesTheViewerAndCountsInTheCorner) {
  Scenario s("start");
  const std::string viewer = narrow(s.install_viewer());
  s.write_file(L"ombrelo.ini",
               settings_lines("C:\\\x94\xad\x95\\\\talk.ppt", viewer));  // C:\発表\talk.ppt
  s.start();
  ASSERT_TRUE(s.wait_window(kSettingsClass));
  HWND display = s.display();
  ASSERT_TRUE(display);

  s.click(kStartButton);
  ASSERT_TRUE(wait_for([&] { return s.exists(L"cmdline.txt"); })) << "the viewer was started";
  EXPECT_EQ(s.read_file(L"cmdline.txt"),
            "\"" + viewer + "\" /s \"C:\\発表\\talk.ppt\"\nshow=" + std::to_string(SW_SHOWNORMAL));

  const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  ASSERT_TRUE(wait_for([&] {
    const RECT r = window_rect(display);
    return r.right == sw && r.bottom == sh;
  })) << "the display sits in the bottom-right corner";
  EXPECT_TRUE(topmost(display));
  ASSERT_TRUE(wait_for([&] { return reads_at_least(display, "00:01"); }, 5000))
      << "the display counts; it reads " << window_text(display);
  save_screenshot(display, "display-counting");
  // Each new second reaches the screen and the child's name for tools.
  const std::string before = window_text(display);
  const Capture first(display);
  EXPECT_TRUE(wait_for(
      [&] {
        const std::string now = window_text(display);
        return now != before && !Capture(display).same_pixels(first) &&
               accessible(GetWindow(display, GW_CHILD)).value_or(Accessible{}).name == now;
      },
      5000))
      << "after " << before;

  // A projector changes the screen (the size stays under Xvfb): the display
  // goes back to its corner, without activating anything.
  SetWindowPos(display, nullptr, 100, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageW(display, WM_DISPLAYCHANGE, 24, MAKELPARAM(sw, sh));
  EXPECT_TRUE(wait_for([&] {
    const RECT r = window_rect(display);
    return r.right == sw && r.bottom == sh;
  })) << "back in the bottom-right corner";

  // Its screen changes scale (duplicated onto a projector at 150 %): the
  // time in the same points at 144 dpi, the window its size, still flush
  // with the corner, on top and counting.
  auto fits_at_144 = [&] {
    HFONT font = CreateFontW(-std::lround(9.75 * 144 / 72), 0, 0, 0, FW_NORMAL, 0, 0, 0,
                             DEFAULT_CHARSET, 0, 0, 0, 0, L"ＭＳ Ｐゴシック");
    HDC dc = GetDC(nullptr);
    const HGDIOBJ old = SelectObject(dc, font);
    const std::wstring text = widen(window_text(display));
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    DeleteObject(SelectObject(dc, old));
    ReleaseDC(nullptr, dc);
    const RECT r = window_rect(display);
    return r.right == sw && r.bottom == sh && r.right - r.left == size.cx &&
           r.bottom - r.top == size.cy;
  };
  ASSERT_TRUE(change_scale(display, 144, window_rect(display)));
  EXPECT_TRUE(wait_for(fits_at_144)) << "the time at 144 dpi, in the corner";
  EXPECT_TRUE(topmost(display));
  const std::string shown = window_text(display);
  EXPECT_TRUE(wait_for([&] { return window_text(display) != shown; }, 5000)) << "still counting";
  save_screenshot(display, "display-counting-at-144dpi");
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
TEST(StartShow, DisplayStaysAboveASlideShowThatKeepsRaisingItself) {
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
    on_top_samples += on_top(r.display);
  }
  UnhookWinEvent(hook);
  PostMessageW(show, WM_CLOSE, 0, 0);
  EXPECT_GE(on_top_samples, reorders_seen > 0 ? 9 : 7)
      << (reorders_seen > 0 ? "" : "this system reports no stacking changes");
}

TEST(StartShow, ViewerThatCannotStartIsReportedAndNothingMoves) {
  Scenario s("no-viewer");
  s.install_viewer();  // present, so no prompt, but the file names another
  s.write_file(L"ombrelo.ini", settings_lines("C:\\talk.ppt", "C:\\nowhere\\POWERPNT.EXE"));
  s.start();
  ASSERT_TRUE(s.wait_window(kSettingsClass));
  HWND display = s.display();
  const RECT before = window_rect(display);
  s.click(kStartButton);
  HWND box = s.wait_dialog("Ombrelo");
  ASSERT_TRUE(box);
  EXPECT_NE(message_text(box).find("C:\\nowhere\\POWERPNT.EXE"), std::string::npos);
  press(box, IDOK);
  ASSERT_TRUE(wait_for([&] { return gone(box); }));
  const RECT after = window_rect(display);
  EXPECT_EQ(after.left, before.left);
  EXPECT_EQ(after.top, before.top);
  EXPECT_EQ(window_text(display), "00:00");
}

TEST(StartShow, BottomLeftStartAndASecondStartCountingFromZero) {
  Running r("bottom-left", "#TRUE#", "#FALSE#");
  ASSERT_TRUE(r.settings);
  r.s.click(kStartButton);
  ASSERT_TRUE(wait_for([&] {
    const RECT p = window_rect(r.display);
    return p.left == 0 && p.bottom == screen_height();
  })) << "the display sits in the bottom-left corner";
  ASSERT_TRUE(wait_for([&] { return reads_at_least(r.display, "00:02"); }, 6000));
  DeleteFileW(r.s.path(L"cmdline.txt").c_str());
  r.s.click(kStartButton);
  ASSERT_TRUE(wait_for([&] { return r.s.exists(L"cmdline.txt"); })) << "another viewer starts";
  // The display reads 00:00 from the press, and 00:01 from a second on.
  ASSERT_TRUE(wait_for(
      [&] {
        const std::string t = window_text(r.display);
        return t == "00:00" || t == "00:01";
      },
      3000))
      << "counting starts again; it reads " << window_text(r.display);
  ASSERT_TRUE(wait_for([&] { return reads_at_least(r.display, "00:02"); }, 3000));

  // A rehearsal left counting in another copy, in the same corner: the
  // start just pressed puts this copy's display above it.
  Running other("bottom-left-other", "#TRUE#", "#FALSE#");
  ASSERT_TRUE(other.settings);
  other.s.click(kStartButton);
  ASSERT_TRUE(wait_for([&] { return reads_at_least(other.display, "00:01"); }, 5000));
  r.s.click(kStartButton);
  EXPECT_TRUE(wait_for([&] {
    HWND above = GetWindow(other.display, GW_HWNDPREV);
    while (above && above != r.display) above = GetWindow(above, GW_HWNDPREV);
    return above == r.display;
  })) << "this copy's display is the one on top";
}

TEST(StartShow, QuoteInTheTypedPathIsRefused) {
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

TEST(StartShow, DisplayClosedByTheSystemComesBackOnNextUse) {
  Running r("display-closed");
  ASSERT_TRUE(r.settings);
  PostMessageW(r.display, WM_CLOSE, 0, 0);
  ASSERT_TRUE(wait_for([&] { return !IsWindow(r.display); }));
  r.s.click(kTextColourButton);
  HWND dialog = r.s.wait_window(L"#32770");
  ASSERT_TRUE(dialog);
  press(dialog, IDCANCEL);
  HWND back = r.s.wait_window(kDisplayClass);
  ASSERT_TRUE(back) << "the display is back";
  EXPECT_EQ(window_text(back), "00:00");
  EXPECT_TRUE(topmost(back));
}

TEST(StartShow, ClickingTheDisplayDoesNotTakeTheFocus) {
  Running r("focus");
  ASSERT_TRUE(r.settings);
  ASSERT_TRUE(wait_for([&] { return GetForegroundWindow() == r.settings; }));
  const RECT t = window_rect(r.display);
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
