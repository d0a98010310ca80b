#pragma once

// Drawing on a screen: its units (a window's twips in its pixels), fonts
// and colours as Windows draws them, and the scoped GDI states painting
// needs.

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cwchar>
#include <string>

#include "platform/win32/handles.h"
#include "platform/win32/library.h"
#include "platform/win32/utf16.h"

namespace ombrelo::win32 {

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

// GetDC and ReleaseDC around drawing outside WM_PAINT.
class WindowDC {
 public:
  explicit WindowDC(HWND h) : hwnd_(h), dc_(GetDC(h)) {}
  ~WindowDC() {
    if (dc_) ReleaseDC(hwnd_, dc_);
  }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// Dots per inch where no window tells its own: the system's, which is the
// primary screen's when the session started.
inline int system_dpi() {
  static const int dpi = [] {
    const UniqueScreenDC dc = screen_dc();
    const int d = dc ? GetDeviceCaps(dc.get(), LOGPIXELSY) : 96;
    return d > 0 ? d : 96;
  }();
  return dpi;
}

// A window's dots per inch: those of the screen it is on, where the system
// tells them (Windows 10 1607 and later), and the system's elsewhere.
inline int window_dpi(HWND h) {
  static const auto get =
      find_function<UINT WINAPI(HWND)>(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow");
  const UINT dpi = get && h ? get(h) : 0;
  return dpi > 0 ? static_cast<int>(dpi) : system_dpi();
}

// A window's own twips in its pixels at its dots per inch: 15 twips a pixel
// at 96.
inline int to_pixels(float twips, int dpi) {
  return static_cast<int>(std::lround(twips * static_cast<float>(dpi) / 1440.0f));
}

// Exactly the named face (no character set that would make Windows pick
// another), at the size in points at those dots per inch: the display's
// font, and the font dialog's first choice.
inline UniqueFont make_font(const std::string& face, float points, int dpi) {
  LOGFONTW lf{};
  // At least a pixel: a height of 0 would ask for the face's default size,
  // larger than a tiny one.
  lf.lfHeight = -std::max(1L, std::lround(points * static_cast<float>(dpi) / 72.0f));
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = DEFAULT_QUALITY;
  const std::wstring w = widen(face);
  std::wcsncpy(lf.lfFaceName, w.c_str(), LF_FACESIZE - 1);
  return UniqueFont(CreateFontIndirectW(&lf));
}

// A stored colour as Windows draws it: red in the low byte; values with the
// high bit set name a system colour by their low byte.
inline COLORREF colour_ref(std::int32_t colour) {
  if (colour < 0) return GetSysColor(colour & 0xFF);
  return static_cast<COLORREF>(colour) & 0x00FFFFFF;
}

}  // namespace ombrelo::win32
