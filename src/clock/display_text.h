#pragma once

#include <string>

namespace ombrelo {

inline constexpr float kSecondsPerDay = 86400.0f;

// "MM:SS" for the time from `start` to `now`, both seconds since local
// midnight: the difference in single precision, rounded halves to even,
// whole hours dropped. A reading past midnight counts on from a start before
// it, and the count goes on past any number of hours.
std::string display_text(float start, float now);

}  // namespace ombrelo
