#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "ui/desktop.h"
#include "ui/views.h"

namespace ombrelo::ui {

// The timer window: one label showing the elapsed time, always exactly the
// label's size, above every other window. It loads itself on first use, and
// again on the next use after the system closed it.
class TimerController {
 public:
  TimerController(TimerView& view, Desktop& desktop) : view_(view), desktop_(desktop) {}

  // The label's font and colours. A new font is followed by fit() by the
  // caller; new colours resize nothing.
  void set_look(const LabelLook& look);

  // Makes the window exactly as large as its label, keeping its top-left.
  void fit();

  // Outer geometry, in twips.
  float left();
  float top();
  float width();
  float height();
  void set_left(float v);
  void set_top(float v);

  // Puts the window in the bottom corner the options name (neither: only
  // onto the bottom edge) above everything, and keeps it there when the
  // screen changes size (a projector plugged in mid-talk).
  void place_in_corner(bool bottom_left, bool bottom_right);
  void display_changed();
  // Above other copies' displays as well, once: this copy's talk starts.
  void bring_to_top();

  // The start mark, a reading of Desktop::clock().
  void set_start(std::int64_t clock_reading);
  void set_interval(int milliseconds);

  void tick();
  void unload();
  bool loaded() const { return loaded_ && view_.exists(); }

 private:
  void ensure_loaded();
  void load();
  void set_label_text(const std::string& text);
  void relabel();  // the auto-sized label's size is to be measured again

  TimerView& view_;
  Desktop& desktop_;
  bool loaded_ = false;
  std::string text_;
  LabelLook look_;
  float label_width_ = 0, label_height_ = 0;  // the auto-sized label: its text's size
  bool label_stale_ = true;
  std::optional<std::int64_t> start_;
  struct Corner {
    bool bottom_left, bottom_right;
  };
  std::optional<Corner> corner_;  // none until the first start
};

}  // namespace ombrelo::ui
