// Loaded into the program by the driver's message hook, to do from inside
// the window's thread what Windows does there: send WM_DPICHANGED with the
// suggested rectangle (packed in the asking), change the message font as
// the text-size setting does (a size and a face), and drop files (their names in global atoms)
// as Explorer does. No other process can pass the rectangle or the drop's
// memory, or change the program's copy of the system's settings.
#include "dpi_hook.h"

#include <windows.h>
// after windows.h, which it needs
#include <shlobj.h>

using namespace ombrelo::e2e;

namespace {

void drop(HWND h, const ATOM atoms[2]) {
  wchar_t names[2 * 256 + 1] = {};
  UINT at = 0;
  for (int i = 0; i < 2 && atoms[i]; ++i) {
    at += GlobalGetAtomNameW(atoms[i], names + at, 256) + 1;
    GlobalDeleteAtom(atoms[i]);
  }
  HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + (at + 1) * sizeof(wchar_t));
  auto* files = static_cast<DROPFILES*>(GlobalLock(memory));
  *files = DROPFILES{sizeof(DROPFILES), {10, 10}, FALSE, TRUE};
  CopyMemory(files + 1, names, at * sizeof(wchar_t));
  GlobalUnlock(memory);
  PostMessageW(h, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);  // DragFinish frees it
}

}  // namespace

constexpr const wchar_t* kAsks[] = {kScaleChange, kMessageFont, kDropFiles};

extern "C" __declspec(dllexport) LRESULT CALLBACK ombrelo_dpi_hook(int code, WPARAM wp, LPARAM lp) {
  const MSG* m = reinterpret_cast<const MSG*>(lp);
  for (const wchar_t* ask : kAsks) {
    if (code != HC_ACTION || wp != PM_REMOVE || m->message != RegisterWindowMessageW(ask)) continue;
    const auto value = static_cast<int>(reinterpret_cast<INT_PTR>(GetPropW(m->hwnd, ask)));
    if (ask == kScaleChange) {
      RECT r{static_cast<short>(LOWORD(m->wParam)), static_cast<short>(HIWORD(m->wParam)),
             static_cast<short>(LOWORD(m->lParam)), static_cast<short>(HIWORD(m->lParam))};
      SendMessageW(m->hwnd, WM_DPICHANGED, MAKEWPARAM(value, value), reinterpret_cast<LPARAM>(&r));
    } else if (ask == kMessageFont) {
      NONCLIENTMETRICSW ncm{};
      ncm.cbSize = sizeof ncm;
      SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
      HDC screen = GetDC(nullptr);
      ncm.lfMessageFont.lfHeight = -MulDiv(value, GetDeviceCaps(screen, LOGPIXELSY), 72);
      ReleaseDC(nullptr, screen);
      GlobalGetAtomNameW(static_cast<ATOM>(m->wParam), ncm.lfMessageFont.lfFaceName, LF_FACESIZE);
      GlobalDeleteAtom(static_cast<ATOM>(m->wParam));
      SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof ncm, &ncm,
                            SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
    } else {
      const ATOM atoms[2] = {static_cast<ATOM>(m->wParam), static_cast<ATOM>(m->lParam)};
      drop(m->hwnd, atoms);
    }
    RemovePropW(m->hwnd, ask);
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}
