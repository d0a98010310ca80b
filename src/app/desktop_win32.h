#pragma once

#include <windows.h>

#include "ui/desktop.h"

namespace ombrelo::win32 {

// The system services on Windows: common dialogs, message boxes, process
// start, the program folders and the screen; files and the clock from the
// platform.
class Win32Desktop final : public ui::PlatformDesktop {
 public:
  // Dialogs and messages belong to this window once it is on screen.
  void set_owner(HWND owner) { owner_ = owner; }

  ui::DialogOutcome show_open(ui::CommonDialog& dialog) override;
  ui::DialogOutcome show_font(ui::CommonDialog& dialog) override;
  ui::DialogOutcome show_colour(ui::CommonDialog& dialog) override;
  void message(const std::string& text) override;
  bool ask(const std::string& question) override;
  Status start_process(const std::string& command_line) override;
  std::vector<std::string> program_folders() override;
  float screen_width() override;
  float screen_height() override;
  std::string decimal_separator() override;

 private:
  HWND owner() const;
  ui::DialogOutcome outcome(BOOL chosen) const;
  HWND owner_ = nullptr;
};

}  // namespace ombrelo::win32
