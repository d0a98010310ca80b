#pragma once

#include <cstdint>
#include <string>

#include "settings/settings.h"
#include "ui/desktop.h"
#include "ui/timer_controller.h"
#include "ui/views.h"

namespace ombrelo::ui {

// The settings window: holds the live settings, loads them at start-up,
// saves them when closed, and carries the start and appearance commands.
class SettingsController {
 public:
  SettingsController(SettingsView& view, TimerController& timer, Desktop& system)
      : view_(view), timer_(timer), desktop_(system) {}

  void load();
  void unload();

  // Whether the window may close now. Not while a handler runs (start-up,
  // or a command with its dialog or message up): the record may be half
  // built. The close then comes once that handler has ended.
  bool query_unload();
  bool closing() const { return close_pending_; }
  // The user logs off or shuts down: Windows may end the process as soon as
  // this returns, so save now, without a message that nobody would answer.
  void end_session();

  void choose_presentation();
  void start_show();
  void choose_font();
  void choose_text_colour();
  void choose_back_colour();

  std::string font_name;
  Number font_size = SettingsRecord{}.font_size;
  Number text_colour = SettingsRecord{}.text_colour;
  std::int32_t back_colour = SettingsRecord{}.back_colour;

  const std::string& viewer_path() const { return viewer_path_; }

 private:
  void load_settings();
  void ask_for_viewer();  // the first start's prompt for the viewer
  // The option group: turning one on turns the other off; turning one off
  // leaves the other as it is.
  void set_option(int which, bool on);
  void take_values(const SettingsRecord& r);  // viewer_path_ and the look
  void apply_font();                          // to the display, refitted
  void show_font_caption();
  SettingsRecord record() const;
  std::string installed_viewer();
  class Busy;

  SettingsView& view_;
  TimerController& timer_;
  Desktop& desktop_;
  std::string viewer_path_;
  CommonDialog dialog_;

  int busy_ = 0;  // handlers running: one, or start-up and its prompt
  bool loading_ = false;
  bool close_pending_ = false;
  bool unloaded_ = false;
  bool quiet_ = false;
  // Start-up could not read all of the file: the save keeps the old one.
  bool keep_old_ = false;
};

}  // namespace ombrelo::ui
