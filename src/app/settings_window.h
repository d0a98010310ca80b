#pragma once

#include "app/gdi.h"
#include "app/names.h"
#include "app/window.h"
#include "ui/settings_controller.h"
#include "ui/views.h"

namespace ombrelo::win32 {

// The settings window with real standard controls laid out in twips, in
// keyboard (tab) order, captioned in a UI font whose lines fit the rows.
class SettingsWindow final : public Window<SettingsWindow>, public ui::SettingsView {
 public:
  // Creates the window hidden, at its size, with all its controls.
  explicit SettingsWindow(HINSTANCE instance);

  void attach(ui::SettingsController& controller) { controller_ = &controller; }
  // Shows the window centred on the work area, the focus in the path box.
  void show();

  std::string presentation_path() const override;
  void set_presentation_path(const std::string& text) override;
  Corner corner() const override;
  void set_corner(Corner corner) override;
  void set_font_caption(const std::string& caption) override;
  void set_swatch(ui::Swatch which, std::int32_t colour) override;
  int outer_height() const override;
  void close() override;

  static constexpr const wchar_t* kClassName = kSettingsClass;

 private:
  friend class Window<SettingsWindow>;
  std::optional<LRESULT> handle(UINT msg, WPARAM wp, LPARAM lp);
  void create_controls();
  void set_caption_font(bool redraw);
  // Onto a screen of another scale: the same twips in its pixels, the size
  // for which the system asks first.
  SIZE size_at(int dpi) const;
  void dpi_changed(const RECT& suggested);
  void load_icons();
  void draw_swatch(const DRAWITEMSTRUCT& item);
  // The control that last took the focus, kept while the window is
  // inactive, minimised or disabled (behind a dialog), and given it back
  // when it is active again.
  void remember_focus();
  void restore_focus();
  HWND item(int id) const { return GetDlgItem(hwnd(), id); }

  HINSTANCE instance_;
  ui::SettingsController* controller_ = nullptr;
  UniqueFont caption_font_;
  UniqueIcon big_icon_, small_icon_;
  std::int32_t swatches_[2] = {0, 0};
  HWND focus_ = nullptr;
};

}  // namespace ombrelo::win32
