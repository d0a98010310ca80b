#pragma once

#include <windows.h>

#include "platform/win32/handles.h"

namespace ombrelo::win32 {

// Ties one HWND to one C++ object, captured at WM_NCCREATE from the create
// parameter; the object's handle(msg, wp, lp) sees every message after that.
// The object owns its window; when the system destroys the window on its
// own, the handle is let go at WM_NCDESTROY.
template <typename T>
class Window {
 public:
  HWND hwnd() const { return window_.get(); }

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

}  // namespace ombrelo::win32
