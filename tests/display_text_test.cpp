// The elapsed-time text and the clock it counts by.
#include "clock/display_text.h"

#include <gtest/gtest.h>

#include "platform/platform.h"

namespace ombrelo {
namespace {

TEST(DisplayText, RoundsHalvesToEvenSeconds) {
  EXPECT_EQ(display_text(100.0f, 100.0f), "00:00");
  EXPECT_EQ(display_text(100.0f, 100.4f), "00:00");
  EXPECT_EQ(display_text(100.0f, 101.6f), "00:02");
  EXPECT_EQ(display_text(100.0f, 102.5f), "00:02");
  EXPECT_EQ(display_text(100.0f, 103.5f), "00:04");
  EXPECT_EQ(display_text(0.0f, 0.5f), "00:00");
  EXPECT_EQ(display_text(0.0f, 1.5f), "00:02");
}

TEST(DisplayText, DropsWholeHours) {
  EXPECT_EQ(display_text(0.0f, 323.0f), "05:23");
  EXPECT_EQ(display_text(1000.0f, 1000.0f + 59 * 60 + 59), "59:59");
  EXPECT_EQ(display_text(1000.0f, 1000.0f + 3600), "00:00");
  EXPECT_EQ(display_text(1000.0f, 1000.0f + 3600 + 2 * 60 + 5), "02:05");
  // A daylight-saving shift of an hour changes only the dropped hours.
  EXPECT_EQ(display_text(7200.0f, 7200.0f + 3600 + 90), "01:30");
}

TEST(DisplayText, CountsOnAcrossMidnightAndPastNineHours) {
  EXPECT_EQ(display_text(86400.0f - 30, 45.0f), "01:15");
  EXPECT_EQ(display_text(86000.0f, 1000.0f), "23:20");  // 1400 s
  // A ten-hour day: 36065 s is beyond a 16-bit count, and still counts.
  EXPECT_EQ(display_text(3600.0f, 3600.0f + 36065), "01:05");
  EXPECT_EQ(display_text(60000.0f, 60000.0f + 32767 + 1), "06:08");
}

TEST(DisplayText, ClockReadingIsWithinTheDay) {
  const float now = platform::clock_reading();
  EXPECT_GE(now, 0.0f);
  EXPECT_LT(now, kSecondsPerDay);
}

}  // namespace
}  // namespace ombrelo
