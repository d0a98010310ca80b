#pragma once

#include "ui/form1.h"
#include "ui/platform.h"
#include "win32/names.h"
#include "win32/window.h"

namespace ombrelo::win32 {

// The settings window with real standard controls laid out in twips, in
// keyboard (tab) order, captioned in a UI font whose lines fit the rows.
class SettingsWindow final : public Window<SettingsWindow>, public ui::SettingsView {
 public:
  // Creates the window hidden, at its size, with all its controls.
  explicit SettingsWindow(HINSTANCE instance);

  void attach(ui::Form1& form) { form_ = &form; }
  // Shows the window centred on the work area, the focus in the path box.
  void show();

  std::string text1() const override;
  void set_text1(const std::string& text) override;
  bool option(int which) const override;
  void set_option(int which, bool on) override;
  void set_command3_caption(const std::string& caption) override;
  void set_shape_fill(int which, std::int32_t colour) override;
  float outer_height() const override;
  void close() override;

  static constexpr const wchar_t* kClassName = kSettingsClass;

 private:
  friend class Window<SettingsWindow>;
  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);
  void create_controls();
  void draw_shape(const DRAWITEMSTRUCT& item);
  HWND item(int id) const { return GetDlgItem(hwnd(), id); }

  HINSTANCE instance_;
  ui::Form1* form_ = nullptr;
  UniqueFont caption_font_;
  std::int32_t shapes_[2] = {0, 0};
};

}  // namespace ombrelo::win32
