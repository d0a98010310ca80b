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

}  // namespace ombrelo
