#pragma once

#include <windows.h>

#include <utility>

namespace ombrelo::win32 {

// A move-only owner of one Windows handle, released by `Close`.
template <typename Handle, typename Traits>
class Unique {
 public:
  Unique() = default;
  explicit Unique(Handle h) : h_(h) {}
  Unique(const Unique&) = delete;
  Unique& operator=(const Unique&) = delete;
  Unique(Unique&& o) noexcept : h_(std::exchange(o.h_, Traits::invalid())) {}
  Unique& operator=(Unique&& o) noexcept {
    if (this != &o) reset(std::exchange(o.h_, Traits::invalid()));
    return *this;
  }
  ~Unique() { reset(); }

  Handle get() const { return h_; }
  explicit operator bool() const { return h_ != Traits::invalid(); }
  Handle release() { return std::exchange(h_, Traits::invalid()); }
  void reset(Handle h = Traits::invalid()) {
    if (h_ != Traits::invalid()) Traits::close(h_);
    h_ = h;
  }

 private:
  Handle h_ = Traits::invalid();
};

struct FileTraits {
  static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
  static void close(HANDLE h) { CloseHandle(h); }
};
struct KernelTraits {
  static HANDLE invalid() { return nullptr; }
  static void close(HANDLE h) { CloseHandle(h); }
};
template <typename G>
struct GdiTraits {
  static G invalid() { return nullptr; }
  static void close(G h) { DeleteObject(h); }
};
struct WindowTraits {
  static HWND invalid() { return nullptr; }
  static void close(HWND h) { DestroyWindow(h); }
};

struct ScreenDcTraits {
  static HDC invalid() { return nullptr; }
  static void close(HDC h) { ReleaseDC(nullptr, h); }
};
struct LocalTraits {
  static HLOCAL invalid() { return nullptr; }
  static void close(HLOCAL h) { LocalFree(h); }
};
struct WinEventHookTraits {
  static HWINEVENTHOOK invalid() { return nullptr; }
  static void close(HWINEVENTHOOK h) { UnhookWinEvent(h); }
};

using UniqueFile = Unique<HANDLE, FileTraits>;
using UniqueKernel = Unique<HANDLE, KernelTraits>;
using UniqueFont = Unique<HFONT, GdiTraits<HFONT>>;
using UniqueBrush = Unique<HBRUSH, GdiTraits<HBRUSH>>;
using UniqueWindow = Unique<HWND, WindowTraits>;
using UniqueWinEventHook = Unique<HWINEVENTHOOK, WinEventHookTraits>;
using UniqueScreenDC = Unique<HDC, ScreenDcTraits>;  // GetDC(nullptr)
using UniqueLocal = Unique<HLOCAL, LocalTraits>;

inline UniqueScreenDC screen_dc() { return UniqueScreenDC(GetDC(nullptr)); }

// An object selected into a DC for a scope; the old one comes back after.
class Selected {
 public:
  Selected(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ~Selected() {
    if (old_) SelectObject(dc_, old_);
  }
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// BeginPaint and EndPaint around one WM_PAINT.
class Painting {
 public:
  explicit Painting(HWND h) : hwnd_(h), dc_(BeginPaint(h, &ps_)) {}
  ~Painting() { EndPaint(hwnd_, &ps_); }
  Painting(const Painting&) = delete;
  Painting& operator=(const Painting&) = delete;
  HDC dc() const { return dc_; }

 private:
  HWND hwnd_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};

}  // namespace ombrelo::win32
