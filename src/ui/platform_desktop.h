#pragma once

#include "ui/desktop.h"

namespace ombrelo::ui {

// The real program's settings file and clock, from the platform
// (src/platform): the one place where the window logic reaches the disk.

class PlatformSettingsStore final : public SettingsStore {
 public:
  // The file beside the running executable.
  PlatformSettingsStore();
  std::string path() override { return path_; }
  bool present() override;
  Result<ParsedSettings> read() override;
  bool in_temporary_folder() override;
  bool can_keep_backup() override;
  Result<platform::Replaced> write(const SettingsRecord& record, bool keep_old) override;

 private:
  std::string path_;
};

class PlatformClock final : public Clock {
 public:
  std::int64_t now() override;
};

}  // namespace ombrelo::ui
