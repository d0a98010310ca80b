// The viewer's command line, and the paths it takes.
#include "ui/launch.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>

#include <shellapi.h>

#include "platform/win32/utf16.h"
#endif

namespace ombrelo::ui {
namespace {

TEST(Launch, CommandLineQuotesBothPaths) {
  EXPECT_EQ(launch_command_line("C:\\Program Files\\Office\\POWERPNT.EXE", "D:\\講演.ppt"),
            "\"C:\\Program Files\\Office\\POWERPNT.EXE\" /s \"D:\\講演.ppt\"");
  EXPECT_EQ(launch_command_line("v.exe", ""), "\"v.exe\" /s \"\"");
  // A backslash before a quote escapes it: a trailing one is doubled.
  EXPECT_EQ(launch_command_line("v.exe", "C:\\発表\\"), "\"v.exe\" /s \"C:\\発表\\\\\"");
  EXPECT_TRUE(launchable_path("C:\\a b\\c.ppt"));
  EXPECT_TRUE(launchable_path("C:\\発表\\講演.ppt"));
  for (const char* bad : {"C:\\a\" /x \"b.ppt", "C:\\x.ppt\r\n\"Z:\\evil.exe", "a\tb", "a\x7F"}) {
    EXPECT_FALSE(launchable_path(bad)) << bad;
  }
}

#ifdef _WIN32
// Read back by Windows' rules, as the viewer does, each path is the text
// the box held: trailing backslashes, half a surrogate pair, shell signs.
TEST(Launch, ViewerReadsEachPathAsTheBoxHeldIt) {
  for (const std::wstring path : {L"C:\\発表\\", L"C:\\my talks\\\\", L"\\\\srv\\a b\\x.ppt",
                                  L"C:\\a\xD83D"
                                  L"b.ppt",
                                  L"%TEMP%^&|<> -x /y.ppt", L""}) {
    int n = 0;
    const std::wstring cmd =
        win32::widen(launch_command_line("C:\\v\\POWERPNT.EXE", win32::narrow(path)));
    LPWSTR* argv = CommandLineToArgvW(cmd.c_str(), &n);
    EXPECT_EQ(argv && n == 3 ? std::wstring(argv[2]) : L"?", path) << cmd;
    LocalFree(argv);
  }
}
#endif

}  // namespace
}  // namespace ombrelo::ui
