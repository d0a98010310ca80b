#include "clock/display_text.h"

namespace ombrelo {

std::string display_text(std::int64_t start, std::int64_t now) {
  const std::int64_t d = now > start ? now - start : 0;
  std::int64_t elapsed = d / 1000;
  const std::int64_t rest = d % 1000;
  if (rest > 500 || (rest == 500 && elapsed % 2 == 1)) ++elapsed;
  const int minutes = static_cast<int>(elapsed / 60 % 60), seconds = static_cast<int>(elapsed % 60);
  return {static_cast<char>('0' + minutes / 10), static_cast<char>('0' + minutes % 10), ':',
          static_cast<char>('0' + seconds / 10), static_cast<char>('0' + seconds % 10)};
}

std::string tick_text(std::int64_t start, std::int64_t now) {
  constexpr std::int64_t kQuarter = 250;
  return display_text(start, now - kQuarter);
}

}  // namespace ombrelo
