// The elapsed-time text and the start command's command line and placement.
#include <gtest/gtest.h>

#include "clock/display_text.h"
#include "clock/start_command.h"
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

TEST(StartCommand, CommandLineQuotesBothPaths) {
  EXPECT_EQ(launch_command_line("C:\\Program Files\\Office\\POWERPNT.EXE", "D:\\講演.ppt"),
            "\"C:\\Program Files\\Office\\POWERPNT.EXE\" /s \"D:\\講演.ppt\"");
  EXPECT_EQ(launch_command_line("v.exe", ""), "\"v.exe\" /s \"\"");
  EXPECT_TRUE(launchable_path("C:\\a b\\c.ppt"));
  EXPECT_TRUE(launchable_path("C:\\発表\\講演.ppt"));
  for (const char* bad : {"C:\\a\" /x \"b.ppt", "C:\\x.ppt\r\n\"Z:\\evil.exe", "a\tb", "a\x7F"}) {
    EXPECT_FALSE(launchable_path(bad)) << bad;
  }
}

TEST(StartCommand, CornerPlacement) {
  // Screen 1280x800 px at 15 twips a pixel; window 600x300 twips.
  const Placement right = corner_placement(19200, 12000, 600, 300, false, true);
  EXPECT_EQ(right.top, 11700);
  EXPECT_EQ(right.left, 18600);
  const Placement left = corner_placement(19200, 12000, 600, 300, true, false);
  EXPECT_EQ(left.top, 11700);
  EXPECT_EQ(left.left, 0.0f);
  EXPECT_EQ(corner_placement(19200, 12000, 600, 300, false, false).left, std::nullopt);
  EXPECT_EQ(corner_placement(19200, 12000, 600, 300, true, true).left, 18600)
      << "the right-hand test comes last";
}

}  // namespace
}  // namespace ombrelo
