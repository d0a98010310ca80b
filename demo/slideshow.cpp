// A stand-in for PowerPoint's slide show, for the run command only: it is
// installed as POWERPNT.EXE in the run's own Wine prefix so that a newcomer
// sees the whole typical run. It shows one full-screen "slide" naming the
// presentation it was given, and ends on Esc or a click. Never released.
#include <windows.h>

#include <string>

namespace {

std::wstring presentation;

LRESULT CALLBACK proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_KEYDOWN:
      if (wp == VK_ESCAPE) DestroyWindow(h);
      return 0;
    case WM_LBUTTONUP: DestroyWindow(h); return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(h, &ps);
      RECT r;
      GetClientRect(h, &r);
      HBRUSH back = CreateSolidBrush(RGB(24, 48, 96));
      FillRect(dc, &r, back);
      DeleteObject(back);
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, RGB(255, 255, 255));
      HFONT big = CreateFontW(-(r.bottom / 12), 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0,
                              0, L"MS UI Gothic");
      HGDIOBJ old = SelectObject(dc, big);
      RECT title = {0, r.bottom / 3, r.right, r.bottom / 2};
      DrawTextW(dc, L"スライドショー (デモ)", -1, &title, DT_CENTER | DT_SINGLELINE | DT_VCENTER);
      SelectObject(dc, old);
      DeleteObject(big);
      RECT lines = {0, r.bottom / 2, r.right, r.bottom};
      const std::wstring text = presentation + L"\n\nEsc キーかクリックで終わります";
      DrawTextW(dc, text.c_str(), -1, &lines, DT_CENTER | DT_NOPREFIX);
      EndPaint(h, &ps);
      return 0;
    }
    case WM_DESTROY: PostQuitMessage(0); return 0;
  }
  return DefWindowProcW(h, msg, wp, lp);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR command_line, int show) {
  presentation = command_line;  // /s "the presentation"
  if (presentation.starts_with(L"/s ")) presentation.erase(0, 3);
  std::erase(presentation, L'"');
  WNDCLASSW wc{};
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = L"OmbreloDemoSlideShow";
  RegisterClassW(&wc);
  HWND h = CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"スライドショー", WS_POPUP, 0, 0,
                           GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr,
                           nullptr, instance, nullptr);
  ShowWindow(h, show);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
