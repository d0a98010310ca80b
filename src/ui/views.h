#pragma once

// The windows as the window logic sees them: what it asks of the settings
// window's controls and of the display, and the look and geometry it
// speaks in. Nothing is deleted through a view, so their destructors are
// protected and not virtual.

#include <cstdint>
#include <string>

#include "settings/settings.h"

namespace ombrelo::ui {

// A rectangle on the screen, in its pixels: each window may have a scale of
// its own, and only pixels are the same for all. Sizes inside one window
// are its own business, in twips.
struct Rect {
  int left = 0, top = 0, width = 0, height = 0;
  bool operator==(const Rect&) const = default;
};

// The display's look: its text's font and colours.
struct DisplayLook {
  std::string font_name;
  float font_size = 0;
  std::int32_t text_colour = 0;
  std::int32_t back_colour = 0;
  bool operator==(const DisplayLook&) const = default;
};

// Whether two looks draw in the same font (the colours aside): else the
// font is made again and the text measured again.
inline bool same_font(const DisplayLook& a, const DisplayLook& b) {
  return a.font_name == b.font_name && a.font_size == b.font_size;
}

// The look a record gives the display.
inline DisplayLook look_of(const SettingsRecord& r) {
  return {r.font_name, r.font_size.as_single(), r.text_colour.to_colour(), r.back_colour};
}

// The display as the platform shows it: a borderless topmost window that
// is nothing but its label.
class DisplayView {
 public:
  // False before create() and once the window is gone, also when the system
  // closed it on its own.
  virtual bool exists() const = 0;
  virtual void create() = 0;
  virtual void destroy() = 0;
  // Above every other window but other copies' displays, which it leaves
  // be, so that two copies never fight; true when something covered it and
  // it had to claim the top again.
  virtual bool claim_top() = 0;
  // Above every other window, other copies' displays too.
  virtual void bring_to_top() = 0;
  // How often to look whether something covers it, in milliseconds (0: no
  // more); false when the system would not.
  virtual bool set_watch_interval(int milliseconds) = 0;
  virtual void show() = 0;
  virtual void set_text(const std::string& text) = 0;
  virtual void set_look(const DisplayLook& look) = 0;
  // The size of the text in that look, in the display's pixels, as the
  // platform measures it at the display's scale.
  virtual Rect measure(const std::string& text, const DisplayLook& look) = 0;
  virtual Rect bounds() const = 0;
  virtual void set_bounds(const Rect& r) = 0;
  // 0 stops the ticks.
  virtual void set_tick_interval(int milliseconds) = 0;

 protected:
  ~DisplayView() = default;
};

// The two colour swatches of the settings window.
enum class Swatch { text, back };

// The settings window's controls as the platform shows them.
class SettingsView {
 public:
  virtual std::string presentation_path() const = 0;
  virtual void set_presentation_path(const std::string& text) = 0;
  // The corner option that is selected: none when neither is.
  virtual Corner corner() const = 0;
  virtual void set_corner(Corner corner) = 0;
  virtual void set_font_caption(const std::string& caption) = 0;
  virtual void set_swatch(Swatch which, std::int32_t colour) = 0;
  // The window's outer height, in pixels.
  virtual int outer_height() const = 0;
  // Asks for the window's close, to come once the running handler is over.
  virtual void close() = 0;

 protected:
  ~SettingsView() = default;
};

}  // namespace ombrelo::ui
