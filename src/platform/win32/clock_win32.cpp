#include <windows.h>

#include "platform/platform.h"

namespace ombrelo::platform {

float clock_reading() {
  SYSTEMTIME t{};
  GetLocalTime(&t);
  return static_cast<float>(t.wHour * 3600 + t.wMinute * 60 + t.wSecond) +
         static_cast<float>(t.wMilliseconds) / 1000.0f;
}

}  // namespace ombrelo::platform
