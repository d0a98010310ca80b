#pragma once

#include <string>
#include <string_view>

namespace ombrelo::ui {

// The viewer's command line: the quoted viewer path, /s, the quoted
// presentation path.
std::string launch_command_line(std::string_view viewer, std::string_view presentation);

// A double quote inside a path would end its quoted argument and let the rest
// of the path pass as arguments of its own; a control character (a line
// break pasted in by another program) has no place in a path either. No
// Windows path contains one.
bool launchable_path(std::string_view path);

}  // namespace ombrelo::ui
