#pragma once

// The desktop around the two windows, as the window logic asks for it: one
// small interface for each role, so that each controller takes only what it
// uses. The real program's are platform_desktop.h's and the Windows side's
// (src/app/desktop_win32.h); the tests' are fakes. Nothing is deleted
// through an interface, so their destructors are protected and not virtual.

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

// How a dialog that opened ended. Only a choice leaves a value in the
// dialog object to take; after a cancel, or a dialog that could not open
// (a failed Result, with the system's reason), whatever is there is not
// the user's.
enum class DialogOutcome { chosen, cancelled };

// The open-file, font and colour dialogs, and message boxes titled with the
// program's name.
class Dialogs {
 public:
  virtual Result<DialogOutcome> show_open(CommonDialog& dialog) = 0;
  virtual Result<DialogOutcome> show_font(CommonDialog& dialog) = 0;
  virtual Result<DialogOutcome> show_colour(CommonDialog& dialog) = 0;
  virtual void message(const std::string& text) = 0;
  // The same with Yes and No, No as the default; true for Yes.
  virtual bool ask(const std::string& question) = 0;

 protected:
  ~Dialogs() = default;
};

// The settings file beside the executable.
class SettingsStore {
 public:
  virtual std::string path() = 0;
  // An ordinary file is there (a folder of that name is not).
  virtual bool present() = 0;
  virtual Result<ParsedSettings> read() = 0;
  // Whether the file's folder is one that Windows empties (the temporary
  // folder, where an exe opened inside a zip runs): what is saved there is
  // not found again.
  virtual bool in_temporary_folder() = 0;
  // Whether the old file can be kept beside itself under a backup name.
  virtual bool can_keep_backup() = 0;
  // With `keep_old`, the old file stays under a backup name never used
  // before, which the result names.
  virtual Result<platform::Replaced> write(const SettingsRecord& record, bool keep_old) = 0;

 protected:
  ~SettingsStore() = default;
};

// The programs on the machine: where the viewer may be, and starting it.
class Programs {
 public:
  virtual bool is_ordinary_file(const std::string& path) = 0;
  // The folders programs are installed in (Program Files, and Program Files
  // (x86) on 64-bit Windows), without a trailing backslash.
  virtual std::vector<std::string> install_folders() = 0;
  // Starts a process from one command line, its window shown normally and
  // activated, without waiting.
  virtual Status start(const std::string& command_line) = 0;

 protected:
  ~Programs() = default;
};

// Milliseconds on a clock that only moves forward with real time.
class Clock {
 public:
  virtual std::int64_t now() = 0;

 protected:
  ~Clock() = default;
};

// The whole primary screen, in pixels.
class Screen {
 public:
  virtual int width() = 0;
  virtual int height() = 0;

 protected:
  ~Screen() = default;
};

// The user's regional settings.
class Locale {
 public:
  virtual std::string decimal_separator() = 0;

 protected:
  ~Locale() = default;
};

}  // namespace ombrelo::ui
