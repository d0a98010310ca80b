#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "settings/settings.h"
#include "ui/desktop.h"
#include "ui/display_controller.h"
#include "ui/views.h"

namespace ombrelo::ui {

// The settings window: holds the live settings, reads them at start-up,
// saves them when closed, and carries the start and appearance commands.
class SettingsController {
 public:
  SettingsController(SettingsView& view, DisplayController& display, Dialogs& dialogs,
                     SettingsStore& store, Programs& programs, Locale& locale)
      : view_(view),
        display_(display),
        dialogs_(dialogs),
        store_(store),
        programs_(programs),
        locale_(locale) {}

  // Start-up, before the window shows: the display opens, then the settings
  // are read and shown in both windows.
  void open();
  // The window closes: the display closes and the settings are saved.
  void close();

  // Whether the window may close now. Not while a handler runs (start-up,
  // or a command with its dialog or message up): the record may be half
  // built. The close then comes once that handler has ended.
  bool can_close();
  bool close_waits() const { return handlers_.close_waits; }
  // Once begun, a close is the only way the window ends: it saves, asks and
  // tells the user what it must, and further requests wait for it.
  bool close_begun() const { return stage_ == Stage::closing || stage_ == Stage::closing_quietly; }
  // The user logs off or shuts down: Windows may end the process as soon as
  // this returns, so save now, without a message that nobody would answer.
  void end_session();

  void choose_presentation();
  void start_show();
  void choose_font();
  void choose_text_colour();
  void choose_back_colour();
  // Files dropped on the window: one file fills the path box as typing it
  // would; several, or what is no file (a folder), are refused with a word.
  void take_dropped(const std::vector<std::string>& files);

  // The record as it stands, the path box and the options included.
  SettingsRecord record() const;

 private:
  // Commands run only while the window is open: not while start-up builds
  // the record, nor once the close has saved it or is saving it.
  bool takes_commands() const { return stage_ == Stage::open; }
  void read_settings();
  // A close's end, loud or quiet: the display goes, the settings are saved.
  void save_and_end();
  // What a close's save came to: the file holds the record, or it was left
  // as it was (the user's word, or the session's end, where no backup can
  // be made); or why it could not be written. The words for it are the
  // close's, but those after the file was written.
  enum class Saved { written, left_as_it_was };
  Result<Saved> save();
  // What the exception being handled was.
  static Reason thrown_reason();
  void show_record();     // in the window's controls and on the display
  void ask_for_viewer();  // the first start's prompt for the viewer
  // Whether the user chose in the dialog; one that could not open is told
  // of, by its name.
  bool chosen(const Result<DialogOutcome>& shown, std::string_view dialog);
  // On the display, which opens again if it was closed: the whole look
  // (refitted to it), or the colours alone.
  void show_look();
  void show_colours();
  void show_font_caption();
  std::string installed_viewer();
  class Busy;

  SettingsView& view_;
  DisplayController& display_;
  Dialogs& dialogs_;
  SettingsStore& store_;
  Programs& programs_;
  Locale& locale_;
  // The path and the corner live in the path box and the options while the
  // window is up; record() takes them from there.
  SettingsRecord record_;
  // What start-up read: the record as the file held it (the defaults
  // without one), which the save keeps of a text that the file cannot hold;
  // and whether the file could not be read in full (damaged lines, or no
  // reading at all), so that the save keeps the old one.
  struct ReadAtStart {
    SettingsRecord record;
    bool incomplete = false;
  } read_at_start_;
  // One dialog object for every command, as the window always had: what one
  // dialog leaves in it stays for the next, so the presentation dialog opens
  // where the viewer was found.
  CommonDialog dialog_;

  // The window's life, in the order it goes through it:
  // - starting: start-up reads the file and builds the record; no command
  //   runs, and the session's end leaves the file as it was;
  // - open: commands run, and a close or the session's end saves;
  // - closing: the close saves, and tells of each failure, maybe asking
  //   first: further closes and the session's end wait for it;
  // - closing_quietly: the session ends: saved without a word, which
  //   nobody would answer;
  // - ended: saved, or left as it was; nothing holds the window.
  enum class Stage { starting, open, closing, closing_quietly, ended };
  Stage stage_ = Stage::starting;
  bool quiet() const { return stage_ == Stage::closing_quietly; }
  // The guard on a close while starting or open: the handlers running (one,
  // or start-up and its prompt), and a close asked for meanwhile, which
  // comes once the last has ended.
  struct Handlers {
    int running = 0;
    bool close_waits = false;
  } handlers_;
};

}  // namespace ombrelo::ui
