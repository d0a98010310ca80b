#pragma once

#include <windows.h>

#include <utility>

namespace ombrelo::win32 {

// A move-only owner of one Windows handle, closed by `Close`; `Invalid`
// gives the value that means none (most handles: null; files: -1).
template <typename Handle>
constexpr Handle no_handle() {
  return nullptr;
}
inline HANDLE no_file() { return INVALID_HANDLE_VALUE; }

template <typename Handle, auto Close, Handle (*Invalid)() = no_handle<Handle>>
class Unique {
 public:
  Unique() = default;
  explicit Unique(Handle h) : h_(h) {}
  Unique(const Unique&) = delete;
  Unique& operator=(const Unique&) = delete;
  Unique(Unique&& o) noexcept : h_(std::exchange(o.h_, Invalid())) {}
  Unique& operator=(Unique&& o) noexcept {
    if (this != &o) reset(std::exchange(o.h_, Invalid()));
    return *this;
  }
  ~Unique() { reset(); }

  Handle get() const { return h_; }
  explicit operator bool() const { return h_ != Invalid(); }
  Handle release() { return std::exchange(h_, Invalid()); }
  // The new handle is held before the old one is closed: while that runs
  // (a window's DestroyWindow sends it its last messages), the owner no
  // longer hands out the dying handle.
  void reset(Handle h = Invalid()) {
    if (const Handle old = std::exchange(h_, h); old != Invalid()) Close(old);
  }

 private:
  Handle h_ = Invalid();
};

inline void release_screen_dc(HDC dc) { ReleaseDC(nullptr, dc); }

using UniqueFile = Unique<HANDLE, &CloseHandle, &no_file>;
using UniqueKernel = Unique<HANDLE, &CloseHandle>;
using UniqueFont = Unique<HFONT, &DeleteObject>;
using UniqueBrush = Unique<HBRUSH, &DeleteObject>;
using UniqueIcon = Unique<HICON, &DestroyIcon>;
using UniqueWindow = Unique<HWND, &DestroyWindow>;
using UniqueWinEventHook = Unique<HWINEVENTHOOK, &UnhookWinEvent>;
using UniqueScreenDC = Unique<HDC, &release_screen_dc>;  // GetDC(nullptr)
using UniqueLocal = Unique<HLOCAL, &LocalFree>;

}  // namespace ombrelo::win32
