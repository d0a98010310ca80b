#include "ui/settings_controller.h"

#include <new>
#include <stdexcept>

#include "ui/launch.h"
#include "ui/messages.h"

namespace ombrelo::ui {

// Marks a handler as running; a close asked for meanwhile comes at its end.
class SettingsController::Busy {
 public:
  explicit Busy(SettingsController& controller)
      : handlers_(controller.handlers_), view_(controller.view_) {
    ++handlers_.running;
  }
  ~Busy() {
    if (--handlers_.running == 0 && handlers_.close_waits) view_.close();
  }
  Busy(const Busy&) = delete;
  Busy& operator=(const Busy&) = delete;

 private:
  Handlers& handlers_;
  SettingsView& view_;
};

namespace {
// The titles Windows gives the font and colour dialogs.
constexpr std::string_view kFontDialog = "フォント", kColourDialog = "色の設定";
}  // namespace

bool SettingsController::chosen(const Result<DialogOutcome>& shown, std::string_view dialog) {
  if (!shown) {
    dialogs_.message(dialog_failed_message(dialog, shown.reason()));
    return false;
  }
  return shown.value() == DialogOutcome::chosen;
}

bool SettingsController::can_close() {
  switch (stage_) {
    case Stage::starting:
    case Stage::open:
      if (handlers_.running == 0) return true;
      handlers_.close_waits = true;
      return false;
    case Stage::closing:
    case Stage::closing_quietly: return false;  // that close ends the window itself
    case Stage::ended: return true;
  }
  return false;
}

void SettingsController::end_session() {
  // Before start-up has built the record there is nothing new to save, and
  // the file stays as it was; a close under way has saved, or is asking.
  if (stage_ != Stage::open) return;
  stage_ = Stage::closing_quietly;
  save_and_end();
}

void SettingsController::open() {
  Busy busy(*this);
  // The display is up first, behind whatever start-up asks or tells, and
  // half the settings window's height lower (rounded up), so that the
  // settings window, centred on the screen, does not cover it.
  display_.open();
  display_.set_top(display_.bounds().top + (view_.outer_height() + 1) / 2);
  read_settings();
  stage_ = Stage::open;
}

void SettingsController::read_settings() {
  // Whatever the file cannot give, or all of it without a file, keeps the
  // record's default.
  const std::string path = store_.path();
  bool first_run = true;
  std::string message;
  if (store_.present()) {
    const auto file = store_.read();
    if (file) {
      const ParsedSettings& read = file.value();
      record_ = read.record;
      first_run = false;
      if (!read.problems.empty()) {
        read_at_start_.incomplete = true;  // what the user typed on the damaged lines
        message = damaged_settings_message(path, read.problems, store_.can_keep_backup());
      }
    } else {
      // Unreadable (locked, or no permission): say so, start as on a first
      // run, and keep the old file when saving, since it may be good.
      read_at_start_.incomplete = true;
      message = unreadable_settings_message(path, file.reason(), store_.can_keep_backup());
    }
  }
  read_at_start_.record = record_;
  show_record();
  if (store_.in_temporary_folder())
    dialogs_.message(temporary_folder_message(path.substr(0, path.find_last_of('\\'))));
  if (!message.empty()) dialogs_.message(message);
  if (first_run && !programs_.is_ordinary_file(record_.viewer_path)) ask_for_viewer();
}

void SettingsController::show_record() {
  view_.set_presentation_path(record_.presentation_path);
  view_.set_corner(record_.corner);
  show_look();
  show_font_caption();
  view_.set_swatch(Swatch::text, record_.text_colour.to_colour());
  view_.set_swatch(Swatch::back, record_.back_colour);
}

void SettingsController::ask_for_viewer() {
  dialog_.filter = "Powerpointアプリケーション|POWERPNT.EXE";
  dialog_.title = "Powerpointアプリケーションを指定";
  // Current Office is installed elsewhere than the default path: the
  // prompt opens on the first copy found, so that the user only confirms.
  if (const std::string found = installed_viewer(); !found.empty()) {
    dialog_.file_name = found;
  }
  // Only a real choice replaces the path; a failed dialog keeps it too.
  if (chosen(dialogs_.show_open(dialog_), dialog_.title)) record_.viewer_path = dialog_.file_name;
}

void SettingsController::close() {
  // While starting, the close waits (can_close); once begun, it is that one.
  if (stage_ != Stage::open) return;
  stage_ = Stage::closing;
  save_and_end();
}

void SettingsController::save_and_end() {
  try {
    display_.close();
  } catch (...) {
    // The display's end is no reason to lose the settings.
  }
  // Nothing that goes wrong from here may end the window without a word:
  // the settings are saved, or the user is told they could not be.
  Result<Saved> saved = Saved::left_as_it_was;
  try {
    saved = save();
  } catch (...) {
    saved = Result<Saved>::failure(thrown_reason());
  }
  if (!saved && !quiet())
    dialogs_.message(unwritable_settings_message(store_.path(), saved.reason()));
  stage_ = Stage::ended;
}

Reason SettingsController::thrown_reason() {
  try {
    throw;
  } catch (const std::bad_alloc&) {
    return {.kind = Reason::Kind::out_of_memory};
  } catch (const LibraryCheckFailed&) {
    return {.kind = Reason::Kind::library_check};
  } catch (const std::logic_error&) {  // the library's checks where it throws its own
    return {.kind = Reason::Kind::library_check};
  } catch (...) {
    return {.kind = Reason::Kind::unexpected};
  }
}

Result<SettingsController::Saved> SettingsController::save() {
  const std::string path = store_.path();
  bool keep = false;
  if (read_at_start_.incomplete) {
    // Where no backup can be made, only the user may give up the old bytes;
    // at the end of a session nobody answers, and they stay.
    keep = store_.can_keep_backup();
    if (!keep && (quiet() || !dialogs_.ask(overwrite_without_backup_question(path))))
      return Saved::left_as_it_was;
  }
  SettingsRecord r = record();
  const std::vector<SettingsProblem> kept = keep_saved_texts(r, read_at_start_.record);
  const Result<platform::Replaced> written = store_.write(r, keep);
  if (!written) return Result<Saved>::failure(written.reason());
  if (quiet()) return Saved::written;
  // Once the file holds the record nothing is lost: a word about it that
  // fails (memory) is not a failed save.
  try {
    if (const std::string& backup = written.value().backup; !backup.empty())
      dialogs_.message(kept_settings_message(path, backup));
    if (!kept.empty()) dialogs_.message(unstorable_settings_message(path, kept));
  } catch (...) {
  }
  return Saved::written;
}

std::string SettingsController::installed_viewer() {
  // Click-to-Run (Office 365, 2016 and later), then MSI installs of 2016
  // and 2013.
  static constexpr const char* kOfficeFolders[] = {"\\Microsoft Office\\root\\Office16",
                                                   "\\Microsoft Office\\Office16",
                                                   "\\Microsoft Office\\Office15"};
  for (const std::string& folder : programs_.install_folders()) {
    for (const char* office : kOfficeFolders) {
      const std::string path = folder + office + "\\POWERPNT.EXE";
      if (programs_.is_ordinary_file(path)) return path;
    }
  }
  return {};
}

SettingsRecord SettingsController::record() const {
  // The path box and the options hold their fields while the window is up.
  SettingsRecord r = record_;
  r.presentation_path = view_.presentation_path();
  r.corner = view_.corner();
  return r;
}

void SettingsController::start_show() {
  if (!takes_commands()) return;
  Busy busy(*this);
  const std::string presentation = view_.presentation_path();
  if (!launchable_path(record_.viewer_path) || !launchable_path(presentation)) {
    const bool viewer = !launchable_path(record_.viewer_path);
    dialogs_.message(unusable_path_message(viewer, viewer ? record_.viewer_path : presentation));
    return;
  }
  const Status started = programs_.start(launch_command_line(record_.viewer_path, presentation));
  if (!started) {
    // Nothing moves and the count does not start: the talk has not begun.
    dialogs_.message(viewer_failed_message(record_.viewer_path, started.reason()));
    return;
  }
  display_.start_talk(view_.corner());
}

void SettingsController::choose_presentation() {
  if (!takes_commands()) return;
  Busy busy(*this);
  dialog_.filter =
      "Powerpointファイル(*.ppt;*.pptx;*.pps;*.ppsx;*.pptm)|*.ppt;*.pptx;*.pps;*.ppsx;*.pptm|"
      "すべてのファイル(*.*)|*.*";
  dialog_.title = "プレゼンテーションのファイルを指定";
  if (chosen(dialogs_.show_open(dialog_), dialog_.title))
    view_.set_presentation_path(dialog_.file_name);
}

void SettingsController::take_dropped(const std::vector<std::string>& files) {
  if (!takes_commands() || files.empty()) return;
  Busy busy(*this);
  if (files.size() > 1 || !programs_.is_ordinary_file(files.front())) {
    dialogs_.message(unusable_drop_message(files));
    return;
  }
  view_.set_presentation_path(files.front());
}

void SettingsController::show_look() {
  display_.open();  // back, if the system closed it
  display_.set_look(look_of(record_));
}

void SettingsController::show_colours() {
  display_.open();  // back, if the system closed it
  display_.set_colours(record_.text_colour.to_colour(), record_.back_colour);
}

void SettingsController::show_font_caption() {
  view_.set_font_caption(
      font_caption(record_.font_name, record_.font_size, locale_.decimal_separator()));
}

void SettingsController::choose_font() {
  if (!takes_commands()) return;
  Busy busy(*this);
  // The dialog opens on the font in use.
  dialog_.font_name = record_.font_name;
  dialog_.font_size = record_.font_size.as_single();
  if (chosen(dialogs_.show_font(dialog_), kFontDialog)) {
    record_.font_name = dialog_.font_name;
    record_.font_size = Number::single(dialog_.font_size);
  }
  show_look();
  show_font_caption();
}

// Each colour dialog opens on the colour it changes, so that OK without a
// pick leaves it as it was; the custom colours stay shared.
void SettingsController::choose_text_colour() {
  if (!takes_commands()) return;
  Busy busy(*this);
  dialog_.colour = record_.text_colour.to_colour();
  if (chosen(dialogs_.show_colour(dialog_), kColourDialog))
    record_.text_colour = Number::integer(dialog_.colour);
  view_.set_swatch(Swatch::text, record_.text_colour.to_colour());
  show_colours();
}

void SettingsController::choose_back_colour() {
  if (!takes_commands()) return;
  Busy busy(*this);
  dialog_.colour = record_.back_colour;
  if (chosen(dialogs_.show_colour(dialog_), kColourDialog)) record_.back_colour = dialog_.colour;
  view_.set_swatch(Swatch::back, record_.back_colour);
  show_colours();
}

}  // namespace ombrelo::ui
