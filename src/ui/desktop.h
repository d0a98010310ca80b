#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/result.h"
#include "settings/settings.h"

namespace ombrelo::ui {

// The one common dialog object that every dialog of the settings window
// shares: whatever a command sets stays for the next dialog.
struct CommonDialog {
  std::string filter;  // "description|pattern", as in "Text (*.txt)|*.txt"
  std::string title;
  std::string file_name;
  std::string font_name;
  float font_size = 0;
  std::int32_t colour = 0;
  std::array<std::int32_t, 16> custom_colours{};  // the colour dialog's own row
};

// How a dialog ended. Only a choice leaves a value in the dialog object to
// take; after a cancel or a failure whatever is there is not the user's.
enum class DialogOutcome { chosen, cancelled, failed };

// What the window logic asks of the desktop around it: dialogs, messages,
// process start, the screen, files and the clock.
class Desktop {
 public:
  virtual ~Desktop() = default;

  // The open-file, font and colour dialogs.
  virtual DialogOutcome show_open(CommonDialog& dialog) = 0;
  virtual DialogOutcome show_font(CommonDialog& dialog) = 0;
  virtual DialogOutcome show_colour(CommonDialog& dialog) = 0;

  // A modal message box titled with the program's name.
  virtual void message(const std::string& text) = 0;
  // The same with Yes and No, No as the default; true for Yes.
  virtual bool ask(const std::string& question) = 0;

  // Starts a process from one command line, its window shown normally and
  // activated, without waiting.
  virtual Status start_process(const std::string& command_line) = 0;

  virtual bool is_ordinary_file(const std::string& path) = 0;
  // The folders programs are installed in (Program Files, and Program Files
  // (x86) on 64-bit Windows), without a trailing backslash.
  virtual std::vector<std::string> program_folders() = 0;
  // The settings file beside the executable.
  virtual std::string settings_path() = 0;
  virtual Result<ParsedSettings> read_settings(const std::string& path) = 0;
  // Whether the old file can be kept beside itself under a backup name.
  virtual bool can_keep_backup(const std::string& path) = 0;
  // With `keep_old`, the old file stays under a backup name never used
  // before, which the result gives.
  virtual Result<std::string> write_settings(const std::string& path, const SettingsRecord& record,
                                             bool keep_old) = 0;

  // Milliseconds on a clock that only moves forward with real time.
  virtual std::int64_t clock() = 0;
  // The whole primary screen, in twips.
  virtual float screen_width() = 0;
  virtual float screen_height() = 0;
  // The user's decimal separator.
  virtual std::string decimal_separator() = 0;
};

// The real program's files, settings file and clock: the platform's
// (src/platform), the one place where the window logic reaches the disk.
// The system's desktop derives from this; a test's fake derives from
// Desktop itself, and must answer all of it.
class PlatformDesktop : public Desktop {
 public:
  bool is_ordinary_file(const std::string& path) override;
  std::string settings_path() override;
  Result<ParsedSettings> read_settings(const std::string& path) override;
  bool can_keep_backup(const std::string& path) override;
  Result<std::string> write_settings(const std::string& path, const SettingsRecord& record,
                                     bool keep_old) override;
  std::int64_t clock() override;
};

}  // namespace ombrelo::ui
