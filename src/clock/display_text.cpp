#include "clock/display_text.h"

#include <cmath>

#include "settings/number.h"

namespace ombrelo {

std::string display_text(float start, float now) {
  float d = now - start;
  if (d < 0) d += kSecondsPerDay;  // the talk ran across midnight
  const double e = round_half_even(d);
  const long long elapsed = std::isfinite(e) && e > 0 ? static_cast<long long>(e) : 0;
  const int minutes = static_cast<int>(elapsed / 60 % 60), seconds = static_cast<int>(elapsed % 60);
  return {static_cast<char>('0' + minutes / 10), static_cast<char>('0' + minutes % 10), ':',
          static_cast<char>('0' + seconds / 10), static_cast<char>('0' + seconds % 10)};
}

}  // namespace ombrelo
