#pragma once

#include <string>

#include "app/gdi.h"
#include "app/names.h"
#include "app/window.h"
#include "ui/display_controller.h"
#include "ui/views.h"

namespace ombrelo::win32 {

// The display: a borderless, topmost popup that paints its label over its
// whole client area. It never activates, so the slide show keeps the focus,
// and it has no task-bar button. Its window text and its one child's are
// the label's text, for assistive tools.
class DisplayWindow final : public Window<DisplayWindow>, public ui::DisplayView {
 public:
  explicit DisplayWindow(HINSTANCE instance) : instance_(instance) {}

  // The ticks, the screen's changes, another program raising a window or
  // taking the foreground (where the system says so) and the raise watch's
  // looks go to the display's logic.
  void attach(ui::DisplayController& controller) { controller_ = &controller; }

  bool exists() const override { return hwnd() != nullptr; }
  void create() override;
  void destroy() override { window_.reset(); }
  bool claim_top() override;
  void bring_to_top() override;
  bool set_watch_interval(int milliseconds) override;
  void show() override;
  void set_text(const std::string& text) override;
  void set_look(const ui::DisplayLook& look) override;
  ui::Rect measure(const std::string& text, const ui::DisplayLook& look) override;
  ui::Rect bounds() const override;
  void set_bounds(const ui::Rect& r) override;
  void set_tick_interval(int milliseconds) override;

  static constexpr const wchar_t* kClassName = kDisplayClass;

 private:
  friend class Window<DisplayWindow>;
  std::optional<LRESULT> handle(UINT msg, WPARAM wp, LPARAM lp);
  // The same points at the new scale; the window's place is its corner's,
  // not the rectangle the system suggests.
  void dpi_changed(const RECT& suggested);
  void paint(HDC dc);  // for WM_PAINT, WM_DRAWITEM and WM_PRINTCLIENT alike
  void set_text_of_windows();
  static void CALLBACK stacking_event(HWINEVENTHOOK, DWORD, HWND, LONG, LONG, DWORD, DWORD);
  static BOOL CALLBACK tell_of_stacking_change(HWND h, LPARAM);

  HINSTANCE instance_;
  ui::DisplayController* controller_ = nullptr;
  HWND label_ = nullptr;  // the child that shows the time; destroyed with the display
  std::wstring text_;
  ui::DisplayLook look_;
  UniqueFont font_;
  // Another program raising a window or taking the foreground: the display
  // claims the top at once rather than at its next tick.
  UniqueWinEventHook foreground_hook_, reorder_hook_;
};

}  // namespace ombrelo::win32
