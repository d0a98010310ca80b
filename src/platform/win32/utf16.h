#pragma once

#include <string>
#include <string_view>

namespace ombrelo::win32 {

// The program's text is UTF-8; the Windows API takes UTF-16. Windows allows
// a name to hold half of a surrogate pair, which UTF-8 has no form for: such
// a unit goes over as the three bytes its code would take (WTF-8), so that
// every UTF-16 text comes back unchanged instead of turning into U+FFFD, and
// so into another name. Bytes that are no such form become U+FFFD.
std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

}  // namespace ombrelo::win32
