#pragma once

#include <string_view>

#include "platform/result.h"

namespace ombrelo::win32 {

// The system's words for an error code, without their trailing line break,
// and the code. Their inserts (%1 to %9, such as the program in "%1 is not a
// valid Win32 application") become `insert`.
Reason system_reason(unsigned long code, std::string_view insert = {});

}  // namespace ombrelo::win32
