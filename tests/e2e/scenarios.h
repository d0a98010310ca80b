#pragma once

// What the end-to-end scenarios share: a settings file's lines, a program
// started on one, and what they look for in its display.

#include <string>

#include "driver.h"

namespace ombrelo::e2e {

// "ＭＳ Ｐゴシック" in code page 932.
inline const std::string kFontCp932 =
    "\x82l\x82r \x82o\x83S\x83V\x83"
    "b\x83N";

inline std::string ini(const std::string& presentation, const std::string& viewer,
                       const std::string& font = kFontCp932, const std::string& size = "9.75",
                       const std::string& fore = "65280", const std::string& back = "0",
                       const std::string& left = "#FALSE#", const std::string& right = "#TRUE#") {
  std::string out;
  for (const std::string& line : {"\"" + presentation + "\"", "\"" + viewer + "\"",
                                  "\"" + font + "\"", size, fore, back, left, right}) {
    out += line + "\r\n";
  }
  return out;
}

// A scenario with the stand-in viewer and a settings file, started and
// showing its settings window.
struct Running {
  explicit Running(const std::string& name, const std::string& left = "#FALSE#",
                   const std::string& right = "#TRUE#", const std::string& font = kFontCp932,
                   const std::string& size = "9.75")
      : s(name) {
    viewer = narrow(s.install_viewer());
    s.write_file(L"ombrelo.ini",
                 ini("C:\\talk.ppt", viewer, font, size, "65280", "0", left, right));
    s.start();
    settings = s.wait_window(kSettingsClass);
    timer = s.timer();
  }
  Scenario s;
  std::string viewer;
  HWND settings = nullptr;
  HWND timer = nullptr;
};

inline int screen_height() { return GetSystemMetrics(SM_CYSCREEN); }

// Whether the display shows at least that time ("MM:SS" compares as text);
// a slow machine may skip a second between two ticks.
inline bool reads_at_least(HWND timer, const std::string& time) {
  const std::string t = window_text(timer);
  return t.size() == 5 && t >= time;
}

inline bool topmost(HWND h) { return (GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

}  // namespace ombrelo::e2e
