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

  // The text's font and colours; the window is made exactly as large as
  // its text again, keeping its top-left, as after every font change.
  void set_look(const DisplayLook& look);
  // The colours alone, which resize nothing.
  void set_colours(std::int32_t text_colour, std::int32_t back_colour);

  // Outer geometry on the screen; empty while the display is closed.
  Rect bounds() const { return is_open() ? view_.bounds() : Rect{}; }
  void set_left(int v);
  void set_top(int v);

  // A talk starts: the display opens if the system closed it, goes to the
  // bottom corner (none: only onto the bottom edge) in one move, rises
  // above everything, other copies' displays too, and counts from "00:00"
  // again, from now. It stays in that corner when the screen changes size
  // (a projector plugged in mid-talk).
  void start_talk(Corner corner);
  void screen_changed();
  // The display's screen changed its scale, and the view its font for it:
  // the window fits its text again and, once a talk placed it, goes back to
  // its corner, flush with the new pixels.
  void scale_changed();
  // Something else rose (the system says so), or the watch looks again.
  void stacking_changed();
  void watch();

  void tick();

 private:
  void place(Corner corner);
  // The text reads "00:00" at once, and the ticks start, or go on, twice a
  // second.
  void start_count();
  void apply_look();
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
  int text_width_ = 0, text_height_ = 0;
  bool text_size_stale_ = true;
  std::optional<std::int64_t> start_;  // the start mark, a reading of clock_
  int tick_interval_ = 0;              // milliseconds; 0 before the first start
  std::optional<Corner> corner_;       // none until the first start
  RaiseWatch raise_watch_;
  int watch_interval_ = 0;  // as the view has it
};

}  // namespace ombrelo::ui
