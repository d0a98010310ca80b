#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "settings/settings.h"

namespace ombrelo::ui {

// The error code a common dialog reports when the user cancels it and its
// CancelError is set.
inline constexpr int kCancelError = 32755;

// The "errors ignored" way of running a handler: a step that fails is
// skipped and leaves its code here; a step that succeeds leaves it as it was.
class ErrorStatus {
 public:
  void step(int code) {
    if (code != 0) code_ = code;
  }
  int code() const { return code_; }

 private:
  int code_ = 0;
};

// The one common dialog object that every dialog of the settings window
// shares: whatever a command sets stays for the next dialog.
struct CommonDialog {
  bool CancelError = false;
  std::string Filter;  // "description|pattern", as in "Text (*.txt)|*.txt"
  std::string DialogTitle;
  long Flags = 0;
  std::string FileName;
  std::string FontName;
  float FontSize = 0;
  std::int32_t Color = 0;
  std::array<std::int32_t, 16> CustomColors{};  // the colour dialog's own row
};

// What the window logic asks of the desktop around it: dialogs, messages,
// process start, the screen, and (from the platform underneath by default)
// files and the clock.
class Desktop {
 public:
  virtual ~Desktop() = default;

  // Each returns 0 after a choice (the chosen value is then in the dialog
  // object), kCancelError after a cancel with CancelError set, and another
  // code when the dialog failed.
  virtual int ShowOpen(CommonDialog& dialog) = 0;
  virtual int ShowFont(CommonDialog& dialog) = 0;
  virtual int ShowColor(CommonDialog& dialog) = 0;

  // A modal message box titled with the program's name.
  virtual void message(const std::string& text) = 0;
  // The same with Yes and No, No as the default; true for Yes.
  virtual bool ask(const std::string& question) = 0;

  // Starts a process from one command line, its window shown normally and
  // activated, without waiting. Empty on success, else the system's reason.
  virtual std::string start_process(const std::string& command_line) = 0;

  // Files and the clock come from the platform underneath (src/platform);
  // a test's fake answers them itself.
  virtual bool is_ordinary_file(const std::string& path);
  // The folders programs are installed in (Program Files, and Program Files
  // (x86) on 64-bit Windows), without a trailing backslash.
  virtual std::vector<std::string> program_folders() = 0;
  // The settings file beside the executable.
  virtual std::string settings_path();
  virtual SettingsRead read_settings(const std::string& path);
  // Whether the old file can be kept beside itself under a backup name.
  virtual bool can_keep_backup(const std::string& path);
  // Empty on success, else the reason. With `kept_as`, the old file stays
  // under a backup name never used before, which `kept_as` receives.
  virtual std::string write_settings(const std::string& path, const SettingsRecord& record,
                                     std::string* kept_as);

  // Seconds since local midnight.
  virtual float clock();
  // The whole primary screen, in twips.
  virtual float screen_width() = 0;
  virtual float screen_height() = 0;
  // The user's decimal separator.
  virtual std::string decimal_separator() = 0;
};

}  // namespace ombrelo::ui
