#pragma once

#include <string>
#include <string_view>

namespace ombrelo::win32 {

// The system's text for an error code, without its trailing line break and
// with its code after it. Its inserts (%1 to %9, such as the program in "%1
// is not a valid Win32 application") become `insert`.
std::string system_message(unsigned long code, std::string_view insert = {});

}  // namespace ombrelo::win32
