#include "platform/win32/utf16.h"

namespace ombrelo::win32 {

std::wstring widen(std::string_view utf8) {
  std::wstring out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const int extra = lead < 0x80                   ? 0
                      : lead >= 0xC2 && lead < 0xE0 ? 1
                      : lead >= 0xE0 && lead < 0xF0 ? 2
                      : lead >= 0xF0 && lead < 0xF5 ? 3
                                                    : -1;
    char32_t code = extra <= 0 ? lead : lead & (0x3Fu >> extra);
    int taken = 1;
    for (; taken <= extra && i + taken < utf8.size(); ++taken) {
      const auto next = static_cast<unsigned char>(utf8[i + taken]);
      if ((next & 0xC0) != 0x80) break;
      code = code << 6 | (next & 0x3F);
    }
    i += static_cast<std::size_t>(taken);
    static constexpr char32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
    if (extra < 0 || taken <= extra || code < kLeast[extra] || code > 0x10FFFF) {
      out += L'\xFFFD';
    } else if (code >= 0x10000) {
      out += static_cast<wchar_t>(0xD800 + ((code - 0x10000) >> 10));
      out += static_cast<wchar_t>(0xDC00 + (code & 0x3FF));
    } else {
      out += static_cast<wchar_t>(code);  // half a pair too, as it was
    }
  }
  return out;
}

std::string narrow(std::wstring_view utf16) {
  std::string out;
  out.reserve(utf16.size() * 3);
  for (std::size_t i = 0; i < utf16.size(); ++i) {
    char32_t code = static_cast<char16_t>(utf16[i]);
    if (code >= 0xD800 && code < 0xDC00 && i + 1 < utf16.size()) {
      const char32_t low = static_cast<char16_t>(utf16[i + 1]);
      if (low >= 0xDC00 && low < 0xE000) {
        code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
        ++i;
      }
    }
    const int extra = code < 0x80 ? 0 : code < 0x800 ? 1 : code < 0x10000 ? 2 : 3;
    static constexpr unsigned char kLead[] = {0x00, 0xC0, 0xE0, 0xF0};
    out += static_cast<char>(kLead[extra] | (code >> (6 * extra)));
    for (int k = extra - 1; k >= 0; --k)
      out += static_cast<char>(0x80 | ((code >> (6 * k)) & 0x3F));
  }
  return out;
}

}  // namespace ombrelo::win32
