#include "ui/platform_desktop.h"

#include "platform/platform.h"

namespace ombrelo::ui {

PlatformSettingsStore::PlatformSettingsStore()
    : path_(settings_path_for(platform::executable_path())) {}

bool PlatformSettingsStore::present() { return platform::is_ordinary_file(path_); }

Result<ParsedSettings> PlatformSettingsStore::read() { return read_settings_file(path_); }

bool PlatformSettingsStore::in_temporary_folder() {
  const std::string temporary = platform::temporary_folder();
  return is_own_temporary_folder(temporary, platform::temporary_folder_fallbacks()) &&
         is_inside_folder(path_, temporary);
}

bool PlatformSettingsStore::can_keep_backup() { return platform::takes_new_file_beside(path_); }

Result<platform::Replaced> PlatformSettingsStore::write(const SettingsRecord& record,
                                                        bool keep_old) {
  return write_settings_file(path_, record, keep_old);
}

std::int64_t PlatformClock::now() { return platform::milliseconds_since_start_up(); }

}  // namespace ombrelo::ui
