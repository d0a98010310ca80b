#pragma once

#include <cstdint>
#include <string>

#include "settings/settings.h"
#include "ui/form2.h"
#include "ui/platform.h"

namespace ombrelo::ui {

// The settings window: holds the live settings, loads them at start-up,
// saves them when closed, and carries the start and appearance commands.
class Form1 {
 public:
  Form1(SettingsView& view, Form2& timer, System& system)
      : view_(view), form2_(timer), system_(system) {}

  void Form_Load();
  void Form_Unload();

  // Whether the window may close now. Not while a handler runs (start-up,
  // or a command with its dialog or message up): the record may be half
  // built. The close then comes once that handler has ended.
  bool query_unload();
  bool closing() const { return close_pending_; }
  // The user logs off or shuts down: Windows may end the process as soon as
  // this returns, so save now, without a message that nobody would answer.
  void end_session();

  void Command1_Click();  // choose the presentation
  void Command2_Click();  // start the slide show
  void Command3_Click();  // choose the display font
  void Command4_Click();  // choose the text colour
  void Command5_Click();  // choose the background colour

  std::string fontNm;
  Number fontSz = SettingsRecord{}.fontSz;
  Number fontCl = SettingsRecord{}.fontCl;
  std::int32_t fontBk = SettingsRecord{}.fontBk;

  const std::string& viewer_path() const { return exePath; }

 private:
  void LoadSettings();
  void ask_for_viewer();  // the first start's prompt for the viewer
  // The option group: turning one on turns the other off; turning one off
  // leaves the other as it is.
  void set_option(int which, bool on);
  void take_values(const SettingsRecord& r);  // exePath and the look
  void apply_font();                          // to the display, refitted
  void show_font_caption();
  SettingsRecord record() const;
  std::string installed_viewer();
  class Busy;

  SettingsView& view_;
  Form2& form2_;
  System& system_;
  std::string exePath;
  CommonDialog CommonDialog1;

  int busy_ = 0;  // handlers running: one, or start-up and its prompt
  bool loading_ = false;
  bool close_pending_ = false;
  bool unloaded_ = false;
  bool quiet_ = false;
  // Start-up could not read all of the file: the save keeps the old one.
  bool keep_old_ = false;
};

}  // namespace ombrelo::ui
