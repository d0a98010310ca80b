#pragma once

#include <functional>
#include <string>

#include "app/names.h"
#include "app/window.h"
#include "ui/views.h"

namespace ombrelo::win32 {

// The display: a borderless, topmost popup that paints its label over its
// whole client area. It never activates, so the slide show keeps the focus,
// and it has no task-bar button. Its window text is the label's text, for
// assistive tools.
class DisplayWindow final : public Window<DisplayWindow>, public ui::DisplayView {
 public:
  explicit DisplayWindow(HINSTANCE instance) : instance_(instance) {}

  std::function<void()> on_tick;
  std::function<void()> on_display_change;

  bool exists() const override { return hwnd() != nullptr; }
  void create() override;
  void destroy() override { window_.reset(); }
  void make_topmost() override;
  void bring_to_top() override;
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
  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);
  void paint(HDC dc);  // for WM_PAINT and WM_PRINTCLIENT alike
  bool claim_top();    // true when it had to restack
  void guard();
  static void CALLBACK on_stacking_change(HWINEVENTHOOK, DWORD, HWND, LONG, LONG, DWORD, DWORD);

  HINSTANCE instance_;
  std::wstring text_;
  ui::DisplayLook look_;
  UniqueFont font_;
  // Another program raising a window or taking the foreground: the display
  // claims the top at once rather than at its next tick.
  UniqueWinEventHook foreground_hook_, reorder_hook_;
  static DisplayWindow* watching_;
  void claimed();  // restacked: watch the closer the likelier a new raise
  void watch_every(UINT milliseconds);
  bool guarding_ = false;
  UINT pace_ = 0;
  DWORD last_claim_ = 0, beat_ = 0, close_watch_from_ = 0;
};

}  // namespace ombrelo::win32
