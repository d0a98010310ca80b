#include "ui/launch.h"

namespace ombrelo::ui {

std::string launch_command_line(std::string_view viewer, std::string_view presentation) {
  // The viewer's path is the program's name, which Windows reads up to the
  // next quote as it is. An argument's backslashes are as they are too,
  // except those just before a quote, which the viewer reads in pairs: a
  // folder's trailing backslash would escape the closing quote, so those
  // are doubled.
  std::string cmd = "\"";
  cmd += viewer;
  cmd += "\" /s \"";
  cmd += presentation;
  const std::size_t last = presentation.find_last_not_of('\\');
  cmd.append(presentation.size() - (last == std::string_view::npos ? 0 : last + 1), '\\');
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
