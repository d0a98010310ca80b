#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "ui/desktop.h"
#include "ui/raise_watch.h"
#include "ui/views.h"

namespace ombrelo::ui {

// The display: one text showing the elapsed time, its window always exactly
// the text's size, above every other window. Only open() makes its window:
// while it is closed (also when the system closed it) the rest changes
// nothing on screen, and a new look waits for the next open().
class DisplayController {
 public:
  DisplayController(DisplayView& view, Clock& clock, Screen& screen)
      : view_(view), clock_(clock), screen_(screen) {}

  // Opens the display unless it is open: topmost, reading "00:00" in the
  // look last set, fitted to its text, shown.
  void open();
  void close();
  bool is_open() const { return open_ && view_.exists(); }

  // The text's font and colours. A new font is followed by fit() by the
  // caller; new colours resize nothing.
  void set_look(const DisplayLook& look);

  // Makes the window exactly as large as its text, keeping its top-left.
  void fit();

  // Outer geometry, in twips; empty while the display is closed.
  Rect bounds() const { return is_open() ? view_.bounds() : Rect{}; }
  void set_left(float v);
  void set_top(float v);

  // Puts the window in the bottom corner the options name (neither: only
  // onto the bottom edge) above everything, and keeps it there when the
  // screen changes size (a projector plugged in mid-talk).
  void place_in_corner(bool bottom_left, bool bottom_right);
  void display_changed();
  // Above other copies' displays as well, once: this copy's talk starts.
  void bring_to_top();
  // Something else rose (the system says so), or the watch looks again.
  void stacking_changed();
  void watch();

  // Counts from "00:00" again, from now: the text reads it at once, and
  // the ticks start, or go on, twice a second.
  void start_count();

  void tick();

 private:
  void set_text(const std::string& text);
  void fit_window();
  void keep_tick_phase(std::int64_t now);
  void keep_on_top();
  void watch_every(int milliseconds);

  DisplayView& view_;
  Clock& clock_;
  Screen& screen_;
  bool open_ = false;
  std::string text_;
  DisplayLook look_ = look_of(SettingsRecord{});
  // The size of text_ in look_, measured again only when a fit needs it
  // after either changed: not on every tick's new text.
  float text_width_ = 0, text_height_ = 0;
  bool text_size_stale_ = true;
  std::optional<std::int64_t> start_;  // the start mark, a reading of clock_
  int tick_interval_ = 0;              // milliseconds; 0 before the first start
  struct CornerOptions {
    bool bottom_left, bottom_right;
  };
  std::optional<CornerOptions> corner_;  // none until the first start
  RaiseWatch raise_watch_;
  int watch_interval_ = 0;  // as the view has it
};

}  // namespace ombrelo::ui
