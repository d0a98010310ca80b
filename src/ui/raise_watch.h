#pragma once

#include <cstdint>
#include <optional>

namespace ombrelo::ui {

// How often the display looks whether a window has risen above it, on
// Windows and under Wine alike: the system's stacking events do not come
// for every raise (under Wine hardly any), so the display looks for
// itself. Not at all while nothing rises; every 10 ms from a raise until
// two calm seconds have passed; and against a show that raises itself on a
// steady beat, every 30 ms through most of the beat and every 10 ms again
// from shortly before the next raise.
class RaiseWatch {
 public:
  // The display had to claim the top again at `now` (milliseconds): how
  // often to look from now on.
  int claimed(std::int64_t now);
  // A look at `now` found nothing above the display: how often to look from
  // now on, 0 to stop looking.
  int calm(std::int64_t now);

  static constexpr int kClose = 10, kBetweenBeats = 30;
  static constexpr std::int64_t kCalm = 2000;

 private:
  std::optional<std::int64_t> last_claim_;
  std::int64_t beat_ = 0, close_watch_from_ = 0;
  int pace_ = 0;
};

}  // namespace ombrelo::ui
