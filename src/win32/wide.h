#pragma once

#include <string>
#include <string_view>

namespace ombrelo::win32 {

// The program's text is UTF-8; the Windows API takes UTF-16.
std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

// The folder of the running executable, without its trailing backslash.
std::wstring executable_folder();

// The system's text for an error code, without its trailing line break. Its
// inserts (%1 to %9, such as the program in "%1 is not a valid Win32
// application") become `insert`.
std::string system_message(unsigned long code, std::string_view insert = {});

}  // namespace ombrelo::win32
