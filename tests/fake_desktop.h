#pragma once

// An in-memory platform for the windows' logic: it records what the windows
// ask of it, in order, and answers dialogs and files as a test scripts them.

#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <map>
#include <new>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "ui/desktop.h"
#include "ui/views.h"

namespace ombrelo::test {

using Log = std::vector<std::string>;

class FakeDisplayView : public ui::DisplayView {
 public:
  explicit FakeDisplayView(Log& log) : log_(log) {}

  bool exists() const override { return exists_; }
  void create() override {
    exists_ = true;
    bounds_ = {0, 0, 1500, 1500};
    log_.push_back("display.create");
  }
  void destroy() override {
    exists_ = false;
    interval = 0;
    log_.push_back("display.destroy");
  }
  bool claim_top() override {
    ++topmost_calls;
    log_.push_back("display.topmost");
    return covered;
  }
  void bring_to_top() override { log_.push_back("display.top"); }
  bool set_watch_interval(int ms) override {
    watch_interval = ms;
    return true;
  }
  void show() override {
    shown = true;
    log_.push_back("display.show");
  }
  void set_text(const std::string& t) override {
    text = t;
    log_.push_back("display.text " + t);
  }
  void set_look(const ui::DisplayLook& l) override { look = l; }
  // Ten pixels a point for each character, twenty for the height, at scale 1.
  ui::Rect measure(const std::string& t, const ui::DisplayLook& l) override {
    const float points = l.font_size * scale;
    return {0, 0, static_cast<int>(t.size() * points * 10), static_cast<int>(points * 20)};
  }
  ui::Rect bounds() const override { return bounds_; }
  void set_bounds(const ui::Rect& r) override {
    bounds_ = r;
    log_.push_back("display.bounds");
  }
  void set_tick_interval(int ms) override {
    interval = ms;
    ++interval_sets;  // a timer set anew, its period counted from now
  }

  // What the system does when it closes the window on its own.
  void closed_by_system() {
    exists_ = false;
    interval = 0;
  }

  std::string text;
  ui::DisplayLook look;
  bool shown = false;
  int interval = 0, interval_sets = 0;
  int topmost_calls = 0;
  bool covered = false;  // something lies above the display
  int watch_interval = 0;
  float scale = 1;  // its pixels for one at 96 dpi

 private:
  Log& log_;
  bool exists_ = false;
  ui::Rect bounds_;
};

class FakeSettingsView : public ui::SettingsView {
 public:
  std::string presentation_path() const override { return text; }
  void set_presentation_path(const std::string& t) override { text = t; }
  Corner corner() const override { return chosen; }
  void set_corner(Corner c) override { chosen = c; }
  void set_font_caption(const std::string& c) override { caption = c; }
  void set_swatch(ui::Swatch which, std::int32_t colour) override {
    swatches[static_cast<int>(which)] = colour;
  }
  int outer_height() const override { return height; }
  void close() override { ++closes_asked; }

  std::string text;
  Corner chosen = Corner::none;
  std::string caption;
  std::int32_t swatches[2] = {-1, -1};  // text, background
  int closes_asked = 0;
  int height = 3300;
};

// One scripted answer of a dialog: how it ends and the change it makes to
// the dialog object, also when it fails to open (a value that must not be
// taken then).
struct DialogAnswer {
  ui::DialogOutcome outcome = ui::DialogOutcome::chosen;
  std::function<void(ui::CommonDialog&)> choose;
  std::string failure = {};  // the reason it could not open, if it could not
};

// Every role of the desktop in one object, so that a test scripts them
// together; each controller is given only the roles it takes.
class FakeDesktop : public ui::Dialogs,
                    public ui::SettingsStore,
                    public ui::Programs,
                    public ui::Clock,
                    public ui::Screen,
                    public ui::Locale {
 public:
  explicit FakeDesktop(Log& log) : log_(log) {}

  Result<ui::DialogOutcome> show_open(ui::CommonDialog& d) override { return answer("open", d); }
  Result<ui::DialogOutcome> show_font(ui::CommonDialog& d) override { return answer("font", d); }
  Result<ui::DialogOutcome> show_colour(ui::CommonDialog& d) override {
    return answer("colour", d);
  }
  void message(const std::string& text) override {
    if (std::exchange(message_throws, false)) throw std::bad_alloc();
    messages.push_back(text);
    log_.push_back("message");
  }
  bool ask(const std::string& question) override {
    questions.push_back(question);
    log_.push_back("ask");
    return answer_yes;
  }

  std::string path() override { return kSettingsPath; }
  bool present() override { return files.count(kSettingsPath) > 0; }
  Result<ParsedSettings> read() override {
    log_.push_back(std::string("read ") + kSettingsPath);
    if (!read_error.empty()) return Result<ParsedSettings>::failure(read_error);
    return parse_settings(files.at(kSettingsPath));
  }
  bool in_temporary_folder() override { return false; }
  bool can_keep_backup() override { return backups_possible; }
  Result<platform::Replaced> write(const SettingsRecord& r, bool keep_old) override {
    const std::string path = kSettingsPath;
    log_.push_back("write " + path);
    if (write_throws) std::rethrow_exception(write_throws);
    if (!write_error.empty()) return Result<platform::Replaced>::failure(write_error);
    std::string kept_as;
    for (int n = 1; keep_old && files.count(path); ++n) {
      kept_as = path + ".bak" + (n > 1 ? std::to_string(n) : "");
      if (files.emplace(kept_as, files[path]).second) break;
    }
    files[path] = format_settings(r);
    return platform::Replaced{kept_as};
  }

  bool is_ordinary_file(const std::string& path) override { return files.count(path) > 0; }
  std::vector<std::string> install_folders() override { return programs; }
  Status start(const std::string& cmd) override {
    started.push_back(cmd);
    log_.push_back("start " + cmd);
    return start_error.empty() ? Status() : Status::failure(start_error);
  }

  std::int64_t now() override { return since_start_up; }
  void pass(std::int64_t ms) { since_start_up += ms; }
  int width() override { return screen_w; }
  int height() override { return screen_h; }
  std::string decimal_separator() override { return separator; }

  static constexpr const char* kSettingsPath = "C:\\Ombrelo\\ombrelo.ini";

  std::map<std::string, std::string> files;
  std::deque<DialogAnswer> answers;
  std::vector<ui::CommonDialog> dialogs_shown;  // the object as each dialog saw it
  std::vector<std::string> messages, questions;
  bool answer_yes = false, backups_possible = true, message_throws = false;
  std::exception_ptr write_throws;
  std::vector<std::string> started;
  std::string start_error, read_error, write_error;
  std::string separator = ".";
  std::int64_t since_start_up = 1'000'000'000;  // milliseconds
  int screen_w = 19200, screen_h = 12000;
  std::vector<std::string> programs = {"C:\\Program Files", "C:\\Program Files (x86)"};

 private:
  Result<ui::DialogOutcome> answer(const std::string& kind, ui::CommonDialog& d) {
    log_.push_back("dialog " + kind);
    dialogs_shown.push_back(d);
    if (answers.empty()) return ui::DialogOutcome::cancelled;
    DialogAnswer a = answers.front();
    answers.pop_front();
    if (a.choose) a.choose(d);
    if (!a.failure.empty()) return Result<ui::DialogOutcome>::failure(a.failure);
    return a.outcome;
  }
  Log& log_;
};

// Windows' tick count and timers, which move in steps of 1/64 s (500 ms is
// 32 of them): the tick count reads the last step, and a timer set at a
// reading falls due at the first step its period on. Times in microseconds.
class SteppedClock {
 public:
  static constexpr std::int64_t kStep = 15'625;
  SteppedClock(FakeDesktop& desktop, const FakeDisplayView& display)
      : desktop_(desktop), display_(display) {
    set(desktop.since_start_up * 1000);
  }
  std::int64_t now() const { return now_; }
  void wait(std::int64_t us) { set(now_ + us); }
  // On to the display's next tick, which a busy thread takes up `late`.
  void to_next_tick(std::int64_t late) {
    if (display_.interval_sets != sets_) {  // set anew: counted from this reading
      sets_ = display_.interval_sets;
      set_at_ = step(now_);
      periods_ = 0;
    }
    periods_ += display_.interval;
    set(step(set_at_ + periods_ * 1000 + kStep - 1) + late);
  }

 private:
  static std::int64_t step(std::int64_t us) { return us / kStep * kStep; }
  void set(std::int64_t us) {
    now_ = us;
    desktop_.since_start_up = step(us) / 1000;
  }
  FakeDesktop& desktop_;
  const FakeDisplayView& display_;
  std::int64_t now_ = 0, set_at_ = 0, periods_ = 0;
  int sets_ = 0;
};

}  // namespace ombrelo::test
