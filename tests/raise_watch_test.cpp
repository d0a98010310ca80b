// How often the display looks for a window risen above it.
#include "ui/raise_watch.h"

#include <gtest/gtest.h>

namespace ombrelo::ui {
namespace {

// What the watch sees at a time (a raise it answered, or a calm look), and
// how often it then looks.
struct Seen {
  std::int64_t at;
  bool raised;
  int pace;
};

TEST(RaiseWatch, LooksCloselyAfterARaiseAndLessOftenBetweenASteadyShowsBeats) {
  constexpr int close = RaiseWatch::kClose, between = RaiseWatch::kBetweenBeats;
  const Seen seen[] = {
      {1000, true, close},    {1100, false, close},   // a raise out of the blue
      {1200, true, close},    {1400, true, between},  // two beats of 200 ms: steady
      {1450, false, between}, {1519, false, between}, {1520, false, close},  // the next is near
      {1600, true, between},  {1900, true, close},  // a beat off by 100 ms is no rhythm
      {3899, false, close},   {3900, false, 0},     // two calm seconds: stop
      {9000, true, close},                          // a raise long after is no beat
  };
  RaiseWatch watch;
  for (const Seen& s : seen) {
    EXPECT_EQ(s.raised ? watch.claimed(s.at) : watch.calm(s.at), s.pace) << "at " << s.at;
  }
  EXPECT_EQ(RaiseWatch().calm(0), 0) << "nothing to watch before a raise";
}

}  // namespace
}  // namespace ombrelo::ui
