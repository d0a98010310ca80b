#pragma once

#include <windows.h>

#include "ui/desktop.h"

namespace ombrelo::win32 {

// The desktop's roles on Windows, each on its own; the settings file and
// the clock are the platform's (ui/platform_desktop.h).

// The common dialogs and message boxes.
class Win32Dialogs final : public ui::Dialogs {
 public:
  // Dialogs and messages belong to this window once it is on screen.
  void set_owner(HWND owner) { owner_ = owner; }

  Result<ui::DialogOutcome> show_open(ui::CommonDialog& dialog) override;
  Result<ui::DialogOutcome> show_font(ui::CommonDialog& dialog) override;
  Result<ui::DialogOutcome> show_colour(ui::CommonDialog& dialog) override;
  void message(const std::string& text) override;
  bool ask(const std::string& question) override;

 private:
  HWND owner() const;
  static Result<ui::DialogOutcome> outcome(BOOL chosen);
  HWND owner_ = nullptr;
};

class Win32Programs final : public ui::Programs {
 public:
  bool is_ordinary_file(const std::string& path) override;
  std::vector<std::string> install_folders() override;
  Status start(const std::string& command_line) override;
};

// The primary screen in its own pixels, which a process aware of each
// monitor's scale is given unscaled.
class Win32Screen final : public ui::Screen {
 public:
  int width() override;
  int height() override;
};

class Win32Locale final : public ui::Locale {
 public:
  std::string decimal_separator() override;
};

}  // namespace ombrelo::win32
