#pragma once

#include <windows.h>

#include <cmath>

#include "ui/platform.h"
#include "win32/handles.h"

namespace ombrelo::win32 {

// Ties one HWND to one C++ object, captured at WM_NCCREATE from the create
// parameter; the object's handle(msg, wp, lp) sees every message after that.
// The object owns its window; when the system destroys the window on its
// own, the handle is let go at WM_NCDESTROY.
template <typename T>
class Window {
 public:
  HWND hwnd() const { return window_.get(); }

 protected:
  // Registers T's window class, T::kClassName, once.
  static void register_class(HINSTANCE instance, HBRUSH background = nullptr, HICON icon = nullptr,
                             HICON small_icon = nullptr) {
    static const ATOM atom = [&] {
      WNDCLASSEXW wc{};
      wc.cbSize = sizeof wc;
      wc.lpfnWndProc = &Window::proc;
      wc.hInstance = instance;
      wc.hIcon = icon;
      wc.hIconSm = small_icon;
      wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
      wc.hbrBackground = background;
      wc.lpszClassName = T::kClassName;
      return RegisterClassExW(&wc);
    }();
    (void)atom;
  }

  // Nothing may unwind into Windows: a handler that throws (out of memory)
  // ends there, and the message gets the default handling.
  static LRESULT CALLBACK proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    T* self = nullptr;
    if (msg == WM_NCCREATE) {
      self = static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
      SetWindowLongPtrW(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
      self->window_.reset(h);
    } else {
      self = reinterpret_cast<T*>(GetWindowLongPtrW(h, GWLP_USERDATA));
    }
    if (!self) return DefWindowProcW(h, msg, wp, lp);
    LRESULT r = 0;
    try {
      r = self->handle(msg, wp, lp);
    } catch (...) {
      r = DefWindowProcW(h, msg, wp, lp);
    }
    if (msg == WM_NCDESTROY) {
      SetWindowLongPtrW(h, GWLP_USERDATA, 0);
      self->window_.release();
    }
    return r;
  }

  UniqueWindow window_;
};

// The screen's dots per inch, as the program sees them (system DPI aware).
inline int screen_dpi() {
  static const int dpi = [] {
    const UniqueScreenDC dc = screen_dc();
    const int d = dc ? GetDeviceCaps(dc.get(), LOGPIXELSY) : 96;
    return d > 0 ? d : 96;
  }();
  return dpi;
}

// Twips per pixel on this screen: 15 at 96 dots per inch.
inline float twips_per_pixel() { return 1440.0f / static_cast<float>(screen_dpi()); }
inline int to_pixels(float twips) {
  return static_cast<int>(std::lround(twips / twips_per_pixel()));
}
inline float to_twips(int pixels) { return static_cast<float>(pixels) * twips_per_pixel(); }

// A stored colour as Windows draws it: red in the low byte; values with the
// high bit set name a system colour by their low byte.
inline COLORREF colour_ref(std::int32_t colour) {
  if (colour < 0) return GetSysColor(colour & 0xFF);
  return static_cast<COLORREF>(colour) & 0x00FFFFFF;
}

}  // namespace ombrelo::win32
