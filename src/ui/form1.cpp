#include "ui/form1.h"

#include "clock/start_command.h"
#include "ui/messages.h"

namespace ombrelo::ui {

// Marks a handler as running; a close asked for meanwhile comes at its end.
class Form1::Busy {
 public:
  explicit Busy(Form1& form) : form_(form) { ++form_.busy_; }
  ~Busy() {
    if (--form_.busy_ == 0 && form_.close_pending_) form_.view_.close();
  }
  Busy(const Busy&) = delete;
  Busy& operator=(const Busy&) = delete;

 private:
  Form1& form_;
};

bool Form1::query_unload() {
  if (busy_ == 0) return true;
  close_pending_ = true;
  return false;
}

void Form1::end_session() {
  // Before start-up has built the record there is nothing new to save, and
  // the file stays as it was.
  if (loading_) return;
  quiet_ = true;
  Form_Unload();
}

void Form1::Form_Load() {
  Busy busy(*this);
  loading_ = true;
  // The first use of the timer window loads and shows it.
  form2_.set_top(form2_.top() + view_.outer_height() / 2.0f);
  LoadSettings();
  show_font_caption();
  view_.set_shape_fill(1, fontCl.to_colour());
  view_.set_shape_fill(2, fontBk);
  loading_ = false;
}

void Form1::LoadSettings() {
  // Whatever the file cannot give, or all of it without a file, comes from
  // the display's own look and the defaults.
  SettingsRecord r;
  r.fontNm = form2_.font_name();
  r.fontSz = Number::single(form2_.font_size());
  r.fontCl = Number::integer(form2_.fore_colour());
  r.fontBk = form2_.back_colour();
  const std::string path = system_.settings_path();
  if (system_.is_ordinary_file(path)) {
    const SettingsRead file = system_.read_settings(path);
    if (file.ok) {
      r = file.settings.complete_with(r);
      view_.set_text1(r.presentation);
      take_values(r);
      set_option(1, r.bottom_left);
      set_option(2, r.bottom_right);
      form2_.set_fore_colour(fontCl.to_colour());
      form2_.set_back_colour(fontBk);
      apply_font();
      if (!file.settings.problems.empty()) {
        keep_old_ = true;  // what the user typed on the damaged lines
        system_.message(
            damaged_settings_message(path, file.settings.problems, system_.can_keep_backup(path)));
      }
      return;
    }
    // Unreadable (locked, or no permission): say so, start as on a first
    // run, and keep the old file when saving, since it may be good.
    keep_old_ = true;
    system_.message(unreadable_settings_message(path, file.error, system_.can_keep_backup(path)));
  }

  take_values(r);
  if (!system_.is_ordinary_file(exePath)) ask_for_viewer();
}

void Form1::ask_for_viewer() {
  ErrorStatus err;
  CommonDialog1.CancelError = true;
  CommonDialog1.Filter = "Powerpointアプリケーション|POWERPNT.EXE";
  CommonDialog1.DialogTitle = "Powerpointアプリケーションを指定";
  // Current Office is installed elsewhere than the default path: the
  // prompt opens on the first copy found, so that the user only confirms.
  if (const std::string found = installed_viewer(); !found.empty()) {
    CommonDialog1.FileName = found;
  }
  err.step(system_.ShowOpen(CommonDialog1));
  // Only a real choice replaces the path; a failed dialog keeps it too.
  if (err.code() == 0) exePath = CommonDialog1.FileName;
}

void Form1::take_values(const SettingsRecord& r) {
  exePath = r.exePath;
  fontNm = r.fontNm;
  fontSz = r.fontSz;
  fontCl = r.fontCl;
  fontBk = r.fontBk;
}

void Form1::Form_Unload() {
  if (unloaded_) return;  // the end of the session saved already
  unloaded_ = true;
  form2_.unload();
  const std::string path = system_.settings_path();
  std::string kept_as;
  std::string* keep = nullptr;
  if (keep_old_) {
    // Where no backup can be made, only the user may give up the old bytes;
    // at the end of a session nobody answers, and they stay.
    if (system_.can_keep_backup(path)) {
      keep = &kept_as;
    } else if (quiet_ || !system_.ask(overwrite_without_backup_question(path))) {
      return;
    }
  }
  const std::string error = system_.write_settings(path, record(), keep);
  if (quiet_) return;
  if (!error.empty()) {
    system_.message(unwritable_settings_message(path, error));
  } else if (!kept_as.empty()) {
    system_.message(kept_settings_message(path, kept_as));
  }
}

std::string Form1::installed_viewer() {
  // Click-to-Run (Office 365, 2016 and later), then MSI installs of 2016
  // and 2013.
  static constexpr const char* kOfficeFolders[] = {"\\Microsoft Office\\root\\Office16",
                                                   "\\Microsoft Office\\Office16",
                                                   "\\Microsoft Office\\Office15"};
  for (const std::string& programs : system_.program_folders()) {
    for (const char* office : kOfficeFolders) {
      const std::string path = programs + office + "\\POWERPNT.EXE";
      if (system_.is_ordinary_file(path)) return path;
    }
  }
  return {};
}

SettingsRecord Form1::record() const {
  SettingsRecord r;
  r.presentation = view_.text1();
  r.exePath = exePath;
  r.fontNm = fontNm;
  r.fontSz = fontSz;
  r.fontCl = fontCl;
  r.fontBk = fontBk;
  r.bottom_left = view_.option(1);
  r.bottom_right = view_.option(2);
  return r;
}

void Form1::set_option(int which, bool on) {
  view_.set_option(which, on);
  if (on) view_.set_option(which == 1 ? 2 : 1, false);
}

void Form1::Command2_Click() {
  Busy busy(*this);
  const std::string presentation = view_.text1();
  if (!launchable_path(exePath) || !launchable_path(presentation)) {
    const bool viewer = !launchable_path(exePath);
    system_.message(unusable_path_message(viewer, viewer ? exePath : presentation));
    return;
  }
  const std::string error = system_.start_process(launch_command_line(exePath, presentation));
  if (!error.empty()) {
    // Nothing moves and the count does not start: the talk has not begun.
    system_.message(viewer_failed_message(exePath, error));
    return;
  }
  form2_.place_in_corner(view_.option(1), view_.option(2));
  // A rehearsal left counting in another copy must not hide this talk's time.
  form2_.bring_to_top();
  form2_.set_start(system_.clock());
  form2_.set_interval(500);
}

void Form1::Command1_Click() {
  Busy busy(*this);
  ErrorStatus err;
  CommonDialog1.CancelError = true;
  CommonDialog1.Filter =
      "Powerpointファイル(*.ppt;*.pptx;*.pps;*.ppsx;*.pptm)|*.ppt;*.pptx;*.pps;*.ppsx;*.pptm|"
      "すべてのファイル(*.*)|*.*";
  CommonDialog1.DialogTitle = "プレゼンテーションのファイルを指定";
  err.step(system_.ShowOpen(CommonDialog1));
  if (err.code() == 0) view_.set_text1(CommonDialog1.FileName);
}

void Form1::apply_font() {
  form2_.set_font_name(fontNm);
  form2_.set_font_size(fontSz.as_single());
  form2_.fit();
}

void Form1::show_font_caption() {
  view_.set_command3_caption(font_caption(fontNm, fontSz, system_.decimal_separator()));
}

void Form1::Command3_Click() {
  Busy busy(*this);
  ErrorStatus err;
  CommonDialog1.CancelError = true;
  CommonDialog1.Flags = 1;  // screen fonts
  // The dialog opens on the font in use.
  CommonDialog1.FontName = fontNm;
  CommonDialog1.FontSize = fontSz.as_single();
  err.step(system_.ShowFont(CommonDialog1));
  if (err.code() == 0) {
    fontNm = CommonDialog1.FontName;
    fontSz = Number::single(CommonDialog1.FontSize);
  }
  apply_font();
  show_font_caption();
}

void Form1::Command4_Click() {
  Busy busy(*this);
  ErrorStatus err;
  CommonDialog1.CancelError = true;
  err.step(system_.ShowColor(CommonDialog1));
  if (err.code() == 0) fontCl = Number::integer(CommonDialog1.Color);
  view_.set_shape_fill(1, fontCl.to_colour());
  form2_.set_fore_colour(fontCl.to_colour());
}

void Form1::Command5_Click() {
  Busy busy(*this);
  ErrorStatus err;
  CommonDialog1.CancelError = true;
  err.step(system_.ShowColor(CommonDialog1));
  if (err.code() == 0) fontBk = CommonDialog1.Color;
  view_.set_shape_fill(2, fontBk);
  form2_.set_back_colour(fontBk);
}

}  // namespace ombrelo::ui
