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

// A rectangle in twips (1/1440 inch), screen coordinates for windows.
struct Rect {
  float left = 0, top = 0, width = 0, height = 0;
  bool operator==(const Rect&) const = default;
};

// The display's look: the timer label's font and colours.
struct LabelLook {
  std::string font_name{kDefaultFontName};
  float font_size = kDefaultFontSize;
  std::int32_t text_colour = kDefaultTextColour;
  std::int32_t back_colour = kDefaultBackColour;
  bool operator==(const LabelLook&) const = default;
};

// Services of the system that the windows use.
class System {
 public:
  virtual ~System() = default;

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

// The timer window as the platform shows it: a borderless topmost window that
// is nothing but its label.
class TimerView {
 public:
  virtual ~TimerView() = default;
  // False before create() and once the window is gone, also when the system
  // closed it on its own.
  virtual bool exists() const = 0;
  virtual void create() = 0;
  virtual void destroy() = 0;
  // Above every other window but other copies' displays, which it leaves
  // be, so that two copies never fight.
  virtual void make_topmost() = 0;
  // Above every other window, other copies' displays too.
  virtual void bring_to_top() = 0;
  virtual void show() = 0;
  virtual void set_text(const std::string& text) = 0;
  virtual void set_look(const LabelLook& look) = 0;
  // The size of the text in that look, in twips, as the platform measures it.
  virtual Rect measure(const std::string& text, const LabelLook& look) = 0;
  virtual Rect bounds() const = 0;
  virtual void set_bounds(const Rect& r) = 0;
  // 0 stops the ticks.
  virtual void set_tick_interval(int milliseconds) = 0;
};

// The settings window's controls as the platform shows them.
class SettingsView {
 public:
  virtual ~SettingsView() = default;
  virtual std::string presentation_path() const = 0;
  virtual void set_presentation_path(const std::string& text) = 0;
  // The corner options: bottom left is 1, bottom right is 2. Setting one
  // does nothing to the other.
  virtual bool option(int which) const = 0;
  virtual void set_option(int which, bool on) = 0;
  virtual void set_font_caption(const std::string& caption) = 0;
  // The colour swatches: text colour is 1, background is 2.
  virtual void set_swatch(int which, std::int32_t colour) = 0;
  // The window's outer height, in twips.
  virtual float outer_height() const = 0;
  // Asks for the window's close, to come once the running handler is over.
  virtual void close() = 0;
};

}  // namespace ombrelo::ui
