#include "settings/utf8.h"

#include <algorithm>
#include <string>

namespace ombrelo {

bool is_valid_utf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    std::size_t extra;
    char32_t cp;
    if (c < 0x80) {
      ++i;
      continue;
    } else if ((c & 0xE0) == 0xC0) {
      extra = 1;
      cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
      extra = 2;
      cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
      extra = 3;
      cp = c & 0x07;
    } else {
      return false;
    }
    if (text.size() - i <= extra) return false;  // sequence cut short
    for (std::size_t k = 1; k <= extra; ++k) {
      const auto cc = static_cast<unsigned char>(text[i + k]);
      if ((cc & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (cc & 0x3F);
    }
    static constexpr char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
    if (cp < kMin[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    i += extra + 1;
  }
  return true;
}

namespace {

void append_utf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

}  // namespace

std::string utf16_to_utf8(std::string_view bytes, bool big_endian) {
  auto unit = [&](std::size_t i) {
    const auto a = static_cast<unsigned char>(bytes[i]),
               b = static_cast<unsigned char>(bytes[i + 1]);
    return static_cast<char32_t>(big_endian ? (a << 8) | b : (b << 8) | a);
  };
  constexpr char kNeverUtf8 = '\xFF';
  std::string out;
  out.reserve(bytes.size() * 3 / 2);
  std::size_t i = 0;
  for (; i + 1 < bytes.size(); i += 2) {
    const char32_t u = unit(i);
    if (u >= 0xD800 && u <= 0xDBFF && i + 3 < bytes.size()) {
      const char32_t low = unit(i + 2);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        append_utf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
        i += 2;
        continue;
      }
    }
    if (u >= 0xD800 && u <= 0xDFFF) {
      out += kNeverUtf8;
    } else {
      append_utf8(out, u);
    }
  }
  if (i < bytes.size()) out += kNeverUtf8;
  return out;
}

namespace {

// Whether the bytes have the shape of code page 932 text: ASCII, half-width
// katakana (A1-DF), and double-byte characters, a lead byte (81-9F, E0-FC)
// followed by a trail byte (40-7E, 80-FC).
bool is_cp932_shaped(std::string_view bytes) {
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80 || (b >= 0xA1 && b <= 0xDF)) continue;
    if (!((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC)) || ++i == bytes.size()) {
      return false;
    }
    const auto t = static_cast<unsigned char>(bytes[i]);
    if (t < 0x40 || t == 0x7F || t > 0xFC) return false;
  }
  return true;
}

}  // namespace

bool reads_as_utf8(std::string_view bytes) {
  if (!is_valid_utf8(bytes)) return false;
  const bool beyond_ascii = std::any_of(
      bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
  const bool long_sequence = std::any_of(
      bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) >= 0xE0; });
  return beyond_ascii && (long_sequence || !is_cp932_shaped(bytes));
}

}  // namespace ombrelo
