#pragma once

#include <cstdint>
#include <string>

namespace ombrelo {

// "MM:SS" for the time from `start` to `now`, two readings in milliseconds
// of a clock that only moves forward: the difference rounded to whole
// seconds, halves to even, whole hours dropped. The count goes on past any
// number of hours.
std::string display_text(std::int64_t start, std::int64_t now);

// What the display shows on a tick read at `now`: the count a quarter
// second earlier. Ticks come every 500 ms from the start, and Windows'
// tick count moves in steps of 1/64 s, so a tick reads on or just after a
// half second, where the rounding's ties lie: read there, each even second
// would show for 1.5 s and each odd one for 0.5 s. A quarter second back,
// well clear of the halves, each value shows for a second, from its whole
// second on, as a stopwatch counts.
std::string tick_text(std::int64_t start, std::int64_t now);

}  // namespace ombrelo
