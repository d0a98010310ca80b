// Loaded into the program by the driver's message hook, to send
// WM_DPICHANGED from inside the window's thread as Windows does: no other
// process can pass the suggested rectangle with it. The driver posts the
// rectangle's corners packed in the asking, the scale in a property that
// goes once the window has taken it.
#include "dpi_hook.h"

#include <windows.h>

extern "C" __declspec(dllexport) LRESULT CALLBACK ombrelo_dpi_hook(int code, WPARAM wp, LPARAM lp) {
  const MSG* m = reinterpret_cast<const MSG*>(lp);
  if (code == HC_ACTION && wp == PM_REMOVE &&
      m->message == RegisterWindowMessageW(ombrelo::e2e::kScaleChange)) {
    RECT r{static_cast<short>(LOWORD(m->wParam)), static_cast<short>(HIWORD(m->wParam)),
           static_cast<short>(LOWORD(m->lParam)), static_cast<short>(HIWORD(m->lParam))};
    const auto dpi =
        static_cast<WORD>(reinterpret_cast<INT_PTR>(GetPropW(m->hwnd, ombrelo::e2e::kScaleChange)));
    SendMessageW(m->hwnd, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&r));
    RemovePropW(m->hwnd, ombrelo::e2e::kScaleChange);
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}
