#include <windows.h>

#include "platform/platform.h"

namespace ombrelo::platform {

std::int64_t milliseconds_since_start_up() { return static_cast<std::int64_t>(GetTickCount64()); }

}  // namespace ombrelo::platform
