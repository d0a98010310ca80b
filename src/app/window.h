#pragma once

#include <windows.h>

#include <optional>

#include "app/gdi.h"
#include "platform/win32/handles.h"

namespace ombrelo::win32 {

// Ties one HWND to one C++ object, captured at WM_NCCREATE from the create
// parameter; the object's handle(msg, wp, lp) sees every message after that,
// and gives its result, or nothing for the default handling. The object
// owns its window; when the system destroys the window on its own, the
// handle is let go at WM_NCDESTROY. While the object destroys its window,
// hwnd() is already null, and the window's last messages get the default
// handling for the handle they came with.
//
// The base keeps the window's DPI: its screen's, read once the window
// exists and again at each WM_DPICHANGED, after which it calls the window's
// dpi_changed(suggested rectangle). A window with a size_at(dpi) answers
// WM_GETDPISCALEDSIZE (Windows 10 1703 and later ask it before the move).
template <typename T>
class Window {
 public:
  HWND hwnd() const { return window_.get(); }
  int dpi() const { return dpi_; }

  // The object of a window of T's class, or nullptr for any other window.
  static T* from(HWND h) {
    wchar_t cls[64] = {};
    GetClassNameW(h, cls, 64);
    if (lstrcmpW(cls, T::kClassName) != 0) return nullptr;
    return reinterpret_cast<T*>(GetWindowLongPtrW(h, GWLP_USERDATA));
  }

 protected:
  Window() = default;
  // The derived object is gone by now: the window, destroyed after this,
  // is let go first, so that the messages its end sends get the default
  // handling instead of reaching what is left of the object.
  ~Window() {
    if (HWND h = window_.get()) SetWindowLongPtrW(h, GWLP_USERDATA, 0);
  }
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

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
      self->dpi_ = window_dpi(h);
    } else {
      self = reinterpret_cast<T*>(GetWindowLongPtrW(h, GWLP_USERDATA));
    }
    if (!self) return DefWindowProcW(h, msg, wp, lp);
    std::optional<LRESULT> handled;
    try {
      handled = self->scale(msg, wp, lp);
      if (!handled) handled = self->handle(msg, wp, lp);
    } catch (...) {
    }
    const LRESULT r = handled ? *handled : DefWindowProcW(h, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
      SetWindowLongPtrW(h, GWLP_USERDATA, 0);
      self->window_.release();
    }
    return r;
  }

  std::optional<LRESULT> scale(UINT msg, WPARAM wp, LPARAM lp) {
    constexpr UINT kGetDpiScaledSize = 0x02E4;  // WM_GETDPISCALEDSIZE, not in every SDK
    if (msg == WM_DPICHANGED) {
      dpi_ = HIWORD(wp);
      static_cast<T*>(this)->dpi_changed(*reinterpret_cast<const RECT*>(lp));
      return 0;
    }
    if constexpr (requires(const T& t) { t.size_at(0); }) {
      if (msg == kGetDpiScaledSize) {
        *reinterpret_cast<SIZE*>(lp) = static_cast<const T*>(this)->size_at(static_cast<int>(wp));
        return TRUE;
      }
    }
    return std::nullopt;
  }

  UniqueWindow window_;
  int dpi_ = system_dpi();  // until the window exists
};

}  // namespace ombrelo::win32
