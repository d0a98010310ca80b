// The yardstick for counting: the least a display must do. An idle window
// with the caret in an edit box, as the settings window sits during a talk,
// and a topmost popup with a 500 ms timer that sets a new five-character
// text each second and repaints it, in the face and size the benchmark gives
// the program (ＭＳ Ｐゴシック, 9.75 pt): drawing a TrueType face costs more
// than the system's bitmap font, and the display must draw the user's.
#include <windows.h>

#include <cwchar>

namespace {

int seconds = 0;

LRESULT CALLBACK display_proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_TIMER: {
      const int now = static_cast<int>(GetTickCount() / 1000);
      if (now == seconds) return 0;
      seconds = now;
      wchar_t text[8];
      std::swprintf(text, 8, L"%02d:%02d", now / 60 % 60, now % 60);
      SetWindowTextW(h, text);
      InvalidateRect(h, nullptr, FALSE);
      return 0;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(h, &ps);
      wchar_t text[8] = {};
      GetWindowTextW(h, text, 8);
      static HFONT font =
          CreateFontW(-MulDiv(975, GetDeviceCaps(dc, LOGPIXELSY), 7200), 0, 0, 0, FW_NORMAL, 0, 0,
                      0, DEFAULT_CHARSET, 0, 0, 0, 0, L"ＭＳ Ｐゴシック");
      SelectObject(dc, font);
      SetBkColor(dc, RGB(0, 0, 0));
      SetTextColor(dc, RGB(0, 255, 0));
      TextOutW(dc, 0, 0, text, lstrlenW(text));
      EndPaint(h, &ps);
      return 0;
    }
  }
  return DefWindowProcW(h, msg, wp, lp);
}

LRESULT CALLBACK main_proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(h, msg, wp, lp);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = main_proc;
  wc.hInstance = instance;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = L"CountingFloor";
  RegisterClassW(&wc);
  wc.lpfnWndProc = display_proc;
  wc.lpszClassName = L"CountingFloorDisplay";
  RegisterClassW(&wc);
  HWND main = CreateWindowW(L"CountingFloor", L"Floor", WS_OVERLAPPEDWINDOW, 100, 100, 320, 200,
                            nullptr, nullptr, instance, nullptr);
  HWND edit = CreateWindowW(L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 280, 24, main,
                            nullptr, instance, nullptr);
  ShowWindow(main, SW_SHOWNORMAL);
  SetFocus(edit);
  HWND display =
      CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, L"CountingFloorDisplay",
                      L"00:00", WS_POPUP, 0, 700, 60, 20, nullptr, nullptr, instance, nullptr);
  ShowWindow(display, SW_SHOWNOACTIVATE);
  SetTimer(display, 1, 500, nullptr);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
