// The viewer's command line, and the paths it takes.
#include "ui/launch.h"

#include <gtest/gtest.h>

namespace ombrelo::ui {
namespace {

TEST(Launch, CommandLineQuotesBothPaths) {
  EXPECT_EQ(launch_command_line("C:\\Program Files\\Office\\POWERPNT.EXE", "D:\\講演.ppt"),
            "\"C:\\Program Files\\Office\\POWERPNT.EXE\" /s \"D:\\講演.ppt\"");
  EXPECT_EQ(launch_command_line("v.exe", ""), "\"v.exe\" /s \"\"");
  EXPECT_TRUE(launchable_path("C:\\a b\\c.ppt"));
  EXPECT_TRUE(launchable_path("C:\\発表\\講演.ppt"));
  for (const char* bad : {"C:\\a\" /x \"b.ppt", "C:\\x.ppt\r\n\"Z:\\evil.exe", "a\tb", "a\x7F"}) {
    EXPECT_FALSE(launchable_path(bad)) << bad;
  }
}

}  // namespace
}  // namespace ombrelo::ui
