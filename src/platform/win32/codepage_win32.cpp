#include <windows.h>

#include "platform/platform.h"
#include "platform/win32/utf16.h"

namespace ombrelo::platform {

std::optional<std::string> utf8_to_ansi(std::string_view utf8) {
  // With UTF-8 as the ANSI code page the file is written as UTF-8 with its
  // byte-order mark, which every system reads back, rather than as bytes a
  // code page 932 system would take for garbage.
  if (GetACP() == CP_UTF8) return std::nullopt;
  if (utf8.empty()) return std::string();
  const std::wstring w = win32::widen(utf8);
  // No best-fit: a character the code page lacks must fail, not turn into a
  // look-alike or '?'.
  BOOL lossy = FALSE;
  const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, w.data(),
                                    static_cast<int>(w.size()), nullptr, 0, nullptr, &lossy);
  if (n <= 0 || lossy) return std::nullopt;
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, w.data(), static_cast<int>(w.size()),
                      out.data(), n, nullptr, &lossy);
  if (lossy) return std::nullopt;
  return out;
}

namespace {

std::optional<std::string> decode(UINT code_page, std::string_view bytes) {
  if (bytes.empty()) return std::string();
  const int n = MultiByteToWideChar(code_page, MB_ERR_INVALID_CHARS, bytes.data(),
                                    static_cast<int>(bytes.size()), nullptr, 0);
  if (n <= 0) return std::nullopt;
  std::wstring w(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(code_page, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()),
                      w.data(), n);
  return win32::narrow(w);
}

}  // namespace

std::optional<std::string> ansi_to_utf8(std::string_view ansi) { return decode(CP_ACP, ansi); }

std::optional<std::string> cp932_to_utf8(std::string_view bytes) { return decode(932, bytes); }

}  // namespace ombrelo::platform
