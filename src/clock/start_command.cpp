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

bool quotable_path(std::string_view path) { return path.find('"') == std::string_view::npos; }

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
