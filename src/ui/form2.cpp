#include "ui/form2.h"

#include "clock/display_text.h"
#include "clock/start_command.h"

namespace ombrelo::ui {

void Form2::ensure_loaded() {
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
  Form_Load();
}

void Form2::Form_Load() {
  view_.make_topmost();
  view_.set_look(look_);
  set_label_text("00:00");
  fit();
  view_.show();
}

void Form2::set_label_text(const std::string& text) {
  // Every other tick brings the same text; the label stays as it is then.
  if (text == text_) return;
  text_ = text;
  view_.set_text(text_);
  relabel();
}

void Form2::relabel() {
  // Measured when a fit needs it, not on every tick's new text: the window
  // is not refitted while it counts.
  label_stale_ = true;
}

std::string Form2::font_name() {
  ensure_loaded();
  return look_.font_name;
}
float Form2::font_size() {
  ensure_loaded();
  return look_.font_size;
}
std::int32_t Form2::fore_colour() {
  ensure_loaded();
  return look_.fore_colour;
}
std::int32_t Form2::back_colour() {
  ensure_loaded();
  return look_.back_colour;
}

void Form2::set_font_name(const std::string& name) {
  ensure_loaded();
  look_.font_name = name;
  view_.set_look(look_);
  relabel();
}
void Form2::set_font_size(float points) {
  ensure_loaded();
  look_.font_size = points;
  view_.set_look(look_);
  relabel();
}
void Form2::set_fore_colour(std::int32_t colour) {
  ensure_loaded();
  look_.fore_colour = colour;
  view_.set_look(look_);
}
void Form2::set_back_colour(std::int32_t colour) {
  ensure_loaded();
  look_.back_colour = colour;
  view_.set_look(look_);
}

void Form2::fit() {
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

float Form2::left() {
  ensure_loaded();
  return view_.bounds().left;
}
float Form2::top() {
  ensure_loaded();
  return view_.bounds().top;
}
float Form2::width() {
  ensure_loaded();
  return view_.bounds().width;
}
float Form2::height() {
  ensure_loaded();
  return view_.bounds().height;
}
void Form2::set_left(float v) {
  ensure_loaded();
  Rect r = view_.bounds();
  r.left = v;
  view_.set_bounds(r);
}
void Form2::set_top(float v) {
  ensure_loaded();
  Rect r = view_.bounds();
  r.top = v;
  view_.set_bounds(r);
}

void Form2::place_in_corner(bool bottom_left, bool bottom_right) {
  ensure_loaded();
  corner_ = Corner{bottom_left, bottom_right};
  const Placement p = corner_placement(system_.screen_width(), system_.screen_height(), width(),
                                       height(), bottom_left, bottom_right);
  set_top(p.top);
  if (p.left) set_left(*p.left);
  view_.make_topmost();
}

void Form2::display_changed() {
  if (loaded() && corner_) place_in_corner(corner_->bottom_left, corner_->bottom_right);
}

void Form2::bring_to_top() {
  ensure_loaded();
  view_.bring_to_top();
}

void Form2::set_start(float clock_reading) {
  ensure_loaded();
  start_ = clock_reading;
}

void Form2::set_interval(int milliseconds) {
  ensure_loaded();
  view_.set_tick_interval(milliseconds);
}

void Form2::Timer1_Timer() {
  if (!loaded() || !start_) return;
  set_label_text(display_text(*start_, system_.clock()));
  // A full-screen slide show raises itself into the topmost band once it is
  // up; claiming the top again on every tick keeps the display above it.
  view_.make_topmost();
}

void Form2::unload() {
  if (view_.exists()) view_.destroy();
  loaded_ = false;
}

}  // namespace ombrelo::ui
