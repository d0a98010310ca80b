#include "ui/display_controller.h"

#include "clock/display_text.h"
#include "ui/corner_placement.h"

namespace ombrelo::ui {

void DisplayController::open() {
  if (is_open()) return;
  // A fresh start: the window may have been closed by the system, and then
  // comes back reading "00:00" without ticks, but in the look the user
  // chose, which nothing else would apply again.
  open_ = true;
  text_.clear();
  text_width_ = text_height_ = 0;
  text_size_stale_ = true;
  start_.reset();
  tick_interval_ = 0;
  corner_.reset();
  raise_watch_ = {};
  watch_interval_ = 0;
  view_.create();
  if (!view_.exists()) return;  // no window to be had: each use tries again
  keep_on_top();
  view_.set_look(look_);
  set_text("00:00");
  fit_window();
  view_.show();
}

void DisplayController::close() {
  if (view_.exists()) view_.destroy();
  open_ = false;
}

void DisplayController::set_text(const std::string& text) {
  // Every other tick brings the same text; the window stays as it is then.
  if (text == text_) return;
  text_ = text;
  view_.set_text(text_);
  text_size_stale_ = true;
}

void DisplayController::set_look(const DisplayLook& look) {
  if (!same_font(look, look_)) text_size_stale_ = true;
  look_ = look;
  apply_look();
  if (is_open()) fit_window();
}

void DisplayController::set_colours(std::int32_t text_colour, std::int32_t back_colour) {
  look_.text_colour = text_colour;
  look_.back_colour = back_colour;
  apply_look();
}

void DisplayController::apply_look() {
  // Kept for the next open() while closed.
  if (is_open()) view_.set_look(look_);
}

void DisplayController::fit_window() {
  // The text sits at (0, 0) and the window is exactly its size.
  if (text_size_stale_) {
    const Rect size = view_.measure(text_, look_);
    text_width_ = size.width;
    text_height_ = size.height;
    text_size_stale_ = false;
  }
  Rect r = view_.bounds();
  r.width = text_width_;
  r.height = text_height_;
  view_.set_bounds(r);
}

void DisplayController::set_left(int v) {
  if (!is_open()) return;
  Rect r = view_.bounds();
  r.left = v;
  view_.set_bounds(r);
}

void DisplayController::set_top(int v) {
  if (!is_open()) return;
  Rect r = view_.bounds();
  r.top = v;
  view_.set_bounds(r);
}

void DisplayController::start_talk(Corner corner) {
  open();  // back, if the system closed it
  if (!is_open()) return;
  place(corner);
  // A rehearsal left counting in another copy must not hide this talk's time.
  view_.bring_to_top();
  watch_every(raise_watch_.claimed(clock_.now()));
  start_count();
}

void DisplayController::place(Corner corner) {
  corner_ = corner;
  Rect r = view_.bounds();
  const Placement p =
      corner_placement(screen_.width(), screen_.height(), r.width, r.height, corner);
  r.top = p.top;
  if (p.left) r.left = *p.left;
  view_.set_bounds(r);
  keep_on_top();
}

void DisplayController::screen_changed() {
  if (is_open() && corner_) place(*corner_);
}

void DisplayController::scale_changed() {
  text_size_stale_ = true;
  if (!is_open()) return;
  fit_window();
  screen_changed();
}

void DisplayController::keep_on_top() {
  if (view_.claim_top()) watch_every(raise_watch_.claimed(clock_.now()));
}

void DisplayController::stacking_changed() {
  if (is_open()) keep_on_top();
}

void DisplayController::watch() {
  if (!is_open()) return;
  const std::int64_t now = clock_.now();
  watch_every(view_.claim_top() ? raise_watch_.claimed(now) : raise_watch_.calm(now));
}

void DisplayController::watch_every(int milliseconds) {
  if (milliseconds == watch_interval_) return;
  watch_interval_ = view_.set_watch_interval(milliseconds) ? milliseconds : 0;
}

void DisplayController::start_count() {
  start_ = clock_.now();
  set_text("00:00");
  tick_interval_ = 0;  // a timer set anew counts from now, whatever it was
  keep_tick_phase(*start_);
}

// The ticks come every 500 ms of the count, from the start; a tick that
// has drifted more than this from its place sets the timer once to come
// back to it (and the next tick once more to keep the period).
void DisplayController::keep_tick_phase(std::int64_t now) {
  constexpr int kPeriod = 500, kSlack = 50;
  const std::int64_t count = now > *start_ ? now - *start_ : 0;
  const int until = kPeriod - static_cast<int>(count % kPeriod);  // the next tick's place
  const int interval = until <= kSlack || until >= kPeriod - kSlack ? kPeriod : until;
  if (interval == tick_interval_) return;
  tick_interval_ = interval;
  view_.set_tick_interval(interval);
}

void DisplayController::tick() {
  if (!is_open() || !start_) return;
  const std::int64_t now = clock_.now();
  set_text(tick_text(*start_, now));
  keep_tick_phase(now);
  // A full-screen slide show raises itself into the topmost band once it is
  // up; claiming the top again on every tick keeps the display above it.
  keep_on_top();
}

}  // namespace ombrelo::ui
