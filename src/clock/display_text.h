#pragma once

#include <cstdint>
#include <string>

namespace ombrelo {

// "MM:SS" for the time from `start` to `now`, two readings in milliseconds
// of a clock that only moves forward: the difference rounded to whole
// seconds, halves to even, whole hours dropped. The count goes on past any
// number of hours.
std::string display_text(std::int64_t start, std::int64_t now);

}  // namespace ombrelo
