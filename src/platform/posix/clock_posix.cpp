#include <sys/time.h>

#include <ctime>

#include "platform/platform.h"

namespace ombrelo::platform {

float clock_reading() {
  timeval tv{};
  ::gettimeofday(&tv, nullptr);
  std::tm local{};
  const std::time_t t = tv.tv_sec;
  ::localtime_r(&t, &local);
  return static_cast<float>(local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec) +
         static_cast<float>(tv.tv_usec) / 1e6f;
}

}  // namespace ombrelo::platform
