#include "ui/timer_controller.h"

#include "clock/display_text.h"
#include "ui/corner_placement.h"

namespace ombrelo::ui {

void TimerController::ensure_loaded() {
  if (loaded()) return;
  // A fresh start: the window may have been closed by the system, and then
  // comes back reading "00:00" without ticks, but in the look the user
  // chose, which nothing else would apply again.
  loaded_ = true;
  text_.clear();
  label_width_ = label_height_ = 0;
  label_stale_ = true;
  start_.reset();
  corner_.reset();
  view_.create();
  load();
}

void TimerController::load() {
  view_.make_topmost();
  view_.set_look(look_);
  set_label_text("00:00");
  fit();
  view_.show();
}

void TimerController::set_label_text(const std::string& text) {
  // Every other tick brings the same text; the label stays as it is then.
  if (text == text_) return;
  text_ = text;
  view_.set_text(text_);
  relabel();
}

void TimerController::relabel() {
  // Measured when a fit needs it, not on every tick's new text: the window
  // is not refitted while it counts.
  label_stale_ = true;
}

void TimerController::set_look(const LabelLook& look) {
  ensure_loaded();
  if (look.font_name != look_.font_name || look.font_size != look_.font_size) relabel();
  look_ = look;
  view_.set_look(look_);
}

void TimerController::fit() {
  ensure_loaded();
  // The label sits at (0, 0) and the window is exactly its size.
  if (label_stale_) {
    const Rect size = view_.measure(text_, look_);
    label_width_ = size.width;
    label_height_ = size.height;
    label_stale_ = false;
  }
  Rect r = view_.bounds();
  r.width = label_width_;
  r.height = label_height_;
  view_.set_bounds(r);
}

float TimerController::left() {
  ensure_loaded();
  return view_.bounds().left;
}
float TimerController::top() {
  ensure_loaded();
  return view_.bounds().top;
}
float TimerController::width() {
  ensure_loaded();
  return view_.bounds().width;
}
float TimerController::height() {
  ensure_loaded();
  return view_.bounds().height;
}
void TimerController::set_left(float v) {
  ensure_loaded();
  Rect r = view_.bounds();
  r.left = v;
  view_.set_bounds(r);
}
void TimerController::set_top(float v) {
  ensure_loaded();
  Rect r = view_.bounds();
  r.top = v;
  view_.set_bounds(r);
}

void TimerController::place_in_corner(bool bottom_left, bool bottom_right) {
  ensure_loaded();
  corner_ = Corner{bottom_left, bottom_right};
  const Placement p = corner_placement(desktop_.screen_width(), desktop_.screen_height(), width(),
                                       height(), bottom_left, bottom_right);
  set_top(p.top);
  if (p.left) set_left(*p.left);
  view_.make_topmost();
}

void TimerController::display_changed() {
  if (loaded() && corner_) place_in_corner(corner_->bottom_left, corner_->bottom_right);
}

void TimerController::bring_to_top() {
  ensure_loaded();
  view_.bring_to_top();
}

void TimerController::set_start(std::int64_t clock_reading) {
  ensure_loaded();
  start_ = clock_reading;
}

void TimerController::set_interval(int milliseconds) {
  ensure_loaded();
  view_.set_tick_interval(milliseconds);
}

void TimerController::tick() {
  if (!loaded() || !start_) return;
  set_label_text(display_text(*start_, desktop_.clock()));
  // A full-screen slide show raises itself into the topmost band once it is
  // up; claiming the top again on every tick keeps the display above it.
  view_.make_topmost();
}

void TimerController::unload() {
  if (view_.exists()) view_.destroy();
  loaded_ = false;
}

}  // namespace ombrelo::ui
