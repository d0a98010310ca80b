// The start command's command line, and where it puts the display.
#include "clock/start_command.h"

#include <gtest/gtest.h>

#include "ui/corner_placement.h"

namespace ombrelo {
namespace {

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

TEST(CornerPlacement, BottomEdgeAndTheChosenSide) {
  // Screen 1280x800 px at 15 twips a pixel; window 600x300 twips.
  const ui::Placement right = ui::corner_placement(19200, 12000, 600, 300, false, true);
  EXPECT_EQ(right.top, 11700);
  EXPECT_EQ(right.left, 18600);
  const ui::Placement left = ui::corner_placement(19200, 12000, 600, 300, true, false);
  EXPECT_EQ(left.top, 11700);
  EXPECT_EQ(left.left, 0.0f);
  EXPECT_EQ(ui::corner_placement(19200, 12000, 600, 300, false, false).left, std::nullopt);
  EXPECT_EQ(ui::corner_placement(19200, 12000, 600, 300, true, true).left, 18600)
      << "the right-hand test comes last";
}

}  // namespace
}  // namespace ombrelo
