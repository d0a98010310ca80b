#include "clock/start_command.h"

namespace ombrelo {

std::string launch_command_line(std::string_view viewer, std::string_view presentation) {
  std::string cmd = "\"";
  cmd += viewer;
  cmd += "\" /s \"";
  cmd += presentation;
  cmd += '"';
  return cmd;
}

bool launchable_path(std::string_view path) {
  for (const char c : path) {
    const auto b = static_cast<unsigned char>(c);
    if (c == '"' || b < 0x20 || b == 0x7F) return false;
  }
  return true;
}

Placement corner_placement(float screen_width, float screen_height, float width, float height,
                           bool bottom_left, bool bottom_right) {
  Placement p;
  p.top = screen_height - height;
  // Two separate tests, as the option group may have neither (or, from a
  // hand-edited file, both) set.
  if (bottom_left) p.left = 0.0f;
  if (bottom_right) p.left = screen_width - width;
  return p;
}

}  // namespace ombrelo
