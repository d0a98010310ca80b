#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ombrelo {

// Conversions between the program's UTF-8 text and the system's 8-bit (ANSI)
// code page, 932 on the Japanese systems the settings file is made for.
// Each fails (nullopt) rather than substitute a look-alike or '?' for a
// character the other side cannot hold.
std::optional<std::string> utf8_to_ansi(std::string_view utf8);
std::optional<std::string> ansi_to_utf8(std::string_view ansi);
// Code page 932 whatever the system's: files from Japanese systems stay
// readable where the ANSI code page is another (such as UTF-8).
std::optional<std::string> cp932_to_utf8(std::string_view bytes);

// UTF-16 bytes (little- or big-endian) as UTF-8. A unit that pairs with
// nothing, or a last odd byte, becomes a byte that UTF-8 never holds, so that
// is_valid_utf8 fails just where the text is damaged.
std::string utf16_to_utf8(std::string_view bytes, bool big_endian);

// Whether the text is well-formed UTF-8.
bool is_valid_utf8(std::string_view text);

}  // namespace ombrelo
