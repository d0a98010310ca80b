// The elapsed-time text and the clock it counts by.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "clock/display_text.h"
#include "platform/platform.h"

namespace ombrelo {
namespace {

TEST(DisplayText, RoundsHalvesToEvenSeconds) {
  EXPECT_EQ(display_text(100'000, 100'000), "00:00");
  EXPECT_EQ(display_text(100'000, 100'400), "00:00");
  EXPECT_EQ(display_text(100'000, 101'600), "00:02");
  EXPECT_EQ(display_text(100'000, 102'500), "00:02");
  EXPECT_EQ(display_text(100'000, 103'500), "00:04");
  EXPECT_EQ(display_text(0, 500), "00:00");
  EXPECT_EQ(display_text(0, 1'500), "00:02");
}

TEST(DisplayText, DropsWholeHours) {
  EXPECT_EQ(display_text(0, 323'000), "05:23");
  EXPECT_EQ(display_text(1'000'000, 1'000'000 + (59 * 60 + 59) * 1000), "59:59");
  EXPECT_EQ(display_text(1'000'000, 1'000'000 + 3600 * 1000), "00:00");
  EXPECT_EQ(display_text(1'000'000, 1'000'000 + (3600 + 2 * 60 + 5) * 1000), "02:05");
}

TEST(DisplayText, CountsOnPastNineHoursAfterWeeksOfUptime) {
  // A ten-hour talk: 36065 s is beyond a 16-bit count, and still counts.
  EXPECT_EQ(display_text(3'600'000, 3'600'000 + 36'065'000), "01:05");
  EXPECT_EQ(display_text(60'000'000, 60'000'000 + (32767 + 1) * 1000), "06:08");
  // Six weeks after the machine started, a millisecond still counts.
  const std::int64_t weeks = 6LL * 7 * 86'400'000;
  EXPECT_EQ(display_text(weeks, weeks + 2'501), "00:03");
  EXPECT_EQ(display_text(weeks, weeks - 1'000), "00:00") << "a reading before the start mark";
}

// The count follows real time whatever the system clock does (a time sync,
// daylight saving, midnight): the clock is the time since the start.
TEST(PlatformClock, MovesForwardWithRealTime) {
  const std::int64_t before = platform::milliseconds_since_start_up();
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  const std::int64_t elapsed = platform::milliseconds_since_start_up() - before;
  EXPECT_GE(elapsed, 40);  // a coarse system tick may round the readings
  EXPECT_LT(elapsed, 60'000);
  double up = 0;  // seconds since the start, sleep included; none on Windows
  if (std::ifstream("/proc/uptime") >> up) {
    EXPECT_NEAR(platform::milliseconds_since_start_up(), up * 1000, 1000);
  }
}

}  // namespace
}  // namespace ombrelo
