// Loaded into the program by the driver's message hook, to do from inside
// the window's thread what Windows does there: send WM_DPICHANGED with the
// suggested rectangle (packed in the asking), change the message font's
// face as the text-size setting does, and drop files as Explorer does (the
// face and the names, split by '|', in a global atom). No other process can
// pass the rectangle or the drop's memory, or change the program's copy of
// the system's settings.
#include "dpi_hook.h"

#include <windows.h>
// after windows.h, which it needs
#include <shlobj.h>

using namespace ombrelo::e2e;

namespace {

void drop(HWND h, ATOM atom) {
  wchar_t names[257] = {};
  const UINT n = GlobalGetAtomNameW(atom, names, 256);
  for (UINT i = 0; i < n; ++i) names[i] = names[i] == L'|' ? L'\0' : names[i];
  HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + sizeof names);
  auto* files = static_cast<DROPFILES*>(GlobalLock(memory));
  *files = DROPFILES{sizeof(DROPFILES), {10, 10}, FALSE, TRUE};
  CopyMemory(files + 1, names, sizeof names);
  GlobalUnlock(memory);
  PostMessageW(h, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);  // DragFinish frees it
}

}  // namespace

constexpr const wchar_t* kAsks[] = {kScaleChange, kMessageFont, kDropFiles};

extern "C" __declspec(dllexport) LRESULT CALLBACK ombrelo_dpi_hook(int code, WPARAM wp, LPARAM lp) {
  const MSG* m = reinterpret_cast<const MSG*>(lp);
  for (const wchar_t* ask : kAsks) {
    if (code != HC_ACTION || wp != PM_REMOVE || m->message != RegisterWindowMessageW(ask)) continue;
    if (ask == kScaleChange) {
      const auto dpi = static_cast<WORD>(reinterpret_cast<INT_PTR>(GetPropW(m->hwnd, ask)));
      RECT r{static_cast<short>(LOWORD(m->wParam)), static_cast<short>(HIWORD(m->wParam)),
             static_cast<short>(LOWORD(m->lParam)), static_cast<short>(HIWORD(m->lParam))};
      SendMessageW(m->hwnd, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&r));
    } else if (ask == kMessageFont) {
      NONCLIENTMETRICSW ncm{};
      ncm.cbSize = sizeof ncm;
      SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
      GlobalGetAtomNameW(static_cast<ATOM>(m->wParam), ncm.lfMessageFont.lfFaceName, LF_FACESIZE);
      SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof ncm, &ncm,
                            SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
    } else {
      drop(m->hwnd, static_cast<ATOM>(m->wParam));
    }
    if (ask != kScaleChange) GlobalDeleteAtom(static_cast<ATOM>(m->wParam));
    RemovePropW(m->hwnd, ask);
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}
