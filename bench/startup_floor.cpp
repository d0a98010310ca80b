// The yardstick for start-up: the least a program showing this settings
// window and display does. The same themed, DPI-aware window with the same
// controls in the system's message font, and the topmost display showing
// "00:00"; no settings file, no fonts of its own, no checks.
#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include "app/settings_layout.h"

using namespace ombrelo::win32;

namespace {

LRESULT CALLBACK settings_proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(h, msg, wp, lp);
}

LRESULT CALLBACK display_proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    SetBkColor(dc, RGB(0, 0, 0));
    SetTextColor(dc, RGB(0, 255, 0));
    TextOutW(dc, 0, 0, L"00:00", 5);
    EndPaint(h, &ps);
    return 0;
  }
  return DefWindowProcW(h, msg, wp, lp);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  auto px = [dpi](float twips) { return MulDiv(static_cast<int>(twips), dpi, 1440); };

  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = settings_proc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = L"StartupFloor";
  RegisterClassExW(&wc);
  wc.lpfnWndProc = display_proc;
  wc.hIcon = nullptr;
  wc.lpszClassName = L"StartupFloorDisplay";
  RegisterClassExW(&wc);

  RECT r{0, 0, px(kClientWidth), px(kClientHeight)};
  AdjustWindowRectEx(&r, kStyle, FALSE, kExStyle);
  HWND main =
      CreateWindowExW(kExStyle, L"StartupFloor", L"Ombrelo", kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                      r.right - r.left, r.bottom - r.top, nullptr, nullptr, instance, nullptr);
  NONCLIENTMETRICSW ncm{};
  ncm.cbSize = sizeof ncm;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
  HFONT font = CreateFontIndirectW(&ncm.lfMessageFont);
  for (const Control& c : kControls) {
    HWND h =
        CreateWindowExW(c.ex_style, c.cls, c.text, WS_CHILD | WS_VISIBLE | c.style, px(c.left),
                        px(c.top), px(c.width), px(c.height), main,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance, nullptr);
    SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
  HWND display =
      CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, L"StartupFloorDisplay",
                      L"00:00", WS_POPUP, 0, 0, 40, 16, nullptr, nullptr, instance, nullptr);
  ShowWindow(display, SW_SHOWNOACTIVATE);
  ShowWindow(main, SW_SHOWNORMAL);
  UpdateWindow(main);
  SetFocus(GetDlgItem(main, kPresentationBox));

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(main, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  DeleteObject(font);
  return 0;
}
