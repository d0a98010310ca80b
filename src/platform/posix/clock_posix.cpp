#include <time.h>

#include "platform/platform.h"

namespace ombrelo::platform {

// CLOCK_BOOTTIME, unlike CLOCK_MONOTONIC, goes on while the machine sleeps.
std::int64_t milliseconds_since_start_up() {
  timespec t{};
  ::clock_gettime(CLOCK_BOOTTIME, &t);
  return static_cast<std::int64_t>(t.tv_sec) * 1000 + t.tv_nsec / 1'000'000;
}

}  // namespace ombrelo::platform
