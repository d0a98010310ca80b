#include "ui/raise_watch.h"

namespace ombrelo::ui {

namespace {
// A beat steady to within this, and between these, is a show's own rhythm.
constexpr std::int64_t kBeatTolerance = 20, kWakeBeforeBeat = 80;
}  // namespace

int RaiseWatch::claimed(std::int64_t now) {
  const std::int64_t beat = last_claim_ ? now - *last_claim_ : RaiseWatch::kCalm;
  const std::int64_t drift = beat > beat_ ? beat - beat_ : beat_ - beat;
  const bool steady = beat > 2 * kWakeBeforeBeat && beat < kCalm && drift < kBeatTolerance;
  last_claim_ = now;
  beat_ = beat;
  close_watch_from_ = steady ? now + beat - kWakeBeforeBeat : now;
  pace_ = steady ? kBetweenBeats : kClose;
  return pace_;
}

int RaiseWatch::calm(std::int64_t now) {
  if (!last_claim_ || now - *last_claim_ >= kCalm) {
    pace_ = 0;
  } else if (now >= close_watch_from_) {
    pace_ = kClose;  // the next beat is near
  }
  return pace_;
}

}  // namespace ombrelo::ui
