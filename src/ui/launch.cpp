#include "ui/launch.h"

namespace ombrelo::ui {

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

}  // namespace ombrelo::ui
