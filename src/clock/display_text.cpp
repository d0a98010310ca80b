#include "clock/display_text.h"

#include <cmath>
#include <cstdio>

#include "settings/number.h"

namespace ombrelo {

std::string display_text(float start, float now) {
  float d = now - start;
  if (d < 0) d += kSecondsPerDay;  // the talk ran across midnight
  const double e = round_half_even(d);
  const long long elapsed = std::isfinite(e) && e > 0 ? static_cast<long long>(e) : 0;
  char text[8];
  std::snprintf(text, sizeof text, "%02d:%02d", static_cast<int>(elapsed / 60 % 60),
                static_cast<int>(elapsed % 60));
  return text;
}

}  // namespace ombrelo
