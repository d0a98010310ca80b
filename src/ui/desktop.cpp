#include "ui/desktop.h"

#include "platform/platform.h"

namespace ombrelo::ui {

bool PlatformDesktop::is_ordinary_file(const std::string& path) {
  return platform::is_ordinary_file(path);
}

std::string PlatformDesktop::settings_path() {
  static const std::string path = settings_path_for(platform::executable_path());
  return path;
}

Result<ParsedSettings> PlatformDesktop::read_settings(const std::string& path) {
  return read_settings_file(path);
}

bool PlatformDesktop::can_keep_backup(const std::string& path) {
  return platform::takes_new_file_beside(path);
}

Result<std::string> PlatformDesktop::write_settings(const std::string& path,
                                                    const SettingsRecord& record, bool keep_old) {
  return write_settings_file(path, record, keep_old);
}

std::int64_t PlatformDesktop::clock() { return platform::milliseconds_since_start_up(); }

}  // namespace ombrelo::ui
