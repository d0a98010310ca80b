#pragma once

#include <string>
#include <string_view>

namespace ombrelo {

// Whether the text is well-formed UTF-8.
bool is_valid_utf8(std::string_view text);

// UTF-16 bytes (little- or big-endian) as UTF-8. A unit that pairs with
// nothing, or a last odd byte, becomes a byte that UTF-8 never holds, so that
// is_valid_utf8 fails just where the text is damaged.
std::string utf16_to_utf8(std::string_view bytes, bool big_endian);

// Whether bytes without a byte-order mark are taken for UTF-8 (as current Notepad saves).
// Half-width katakana in pairs are well-formed UTF-8 too (ﾃｽ is C3 BD, "ý"),
// so where both readings fit, the file format's own code page wins, unless
// a 3- or 4-byte sequence shows UTF-8: Japanese text in UTF-8 always has
// them, code page 932 text next to never. The writer makes sure its own
// code page bytes never read as UTF-8.
bool reads_as_utf8(std::string_view bytes);

}  // namespace ombrelo
