#pragma once

// What the end-to-end scenarios share: a program started on a settings
// file, and what they look for in its display.

#include <string>

#include "../settings_lines.h"
#include "driver.h"

namespace ombrelo::e2e {

using test::kFontCp932;
using test::settings_lines;

// A scenario with the stand-in viewer and a settings file, started and
// showing its settings window.
struct Running {
  explicit Running(const std::string& name, const std::string& left = "#FALSE#",
                   const std::string& right = "#TRUE#", const std::string& font = kFontCp932,
                   const std::string& size = "9.75")
      : s(name) {
    viewer = narrow(s.install_viewer());
    s.write_file(L"ombrelo.ini",
                 settings_lines("C:\\talk.ppt", viewer, font, size, "65280", "0", left, right));
    s.start();
    settings = s.wait_window(kSettingsClass);
    display = s.display();
  }
  Scenario s;
  std::string viewer;
  HWND settings = nullptr;
  HWND display = nullptr;
};

inline int screen_height() { return GetSystemMetrics(SM_CYSCREEN); }

// Whether the display shows at least that time ("MM:SS" compares as text);
// a slow machine may skip a second between two ticks.
inline bool reads_at_least(HWND display, const std::string& time) {
  const std::string t = window_text(display);
  return t.size() == 5 && t >= time;
}

inline bool topmost(HWND h) { return (GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

}  // namespace ombrelo::e2e
