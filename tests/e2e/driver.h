#pragma once

// Drives the real ombrelo.exe from outside, as a user would: each scenario
// gets a fresh folder with a copy of the exe, finds its windows by class and
// title, reads their texts and rectangles, clicks and answers dialogs.

#include <windows.h>
// after windows.h, which they need: the common dialogs' control ids
#include <dlgs.h>
#include <oleacc.h>

#include <chrono>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "app/names.h"
#include "dpi_hook.h"
#include "platform/win32/paths.h"
#include "platform/win32/utf16.h"

namespace ombrelo::e2e {

// The program's own window class names, control ids and UTF-8/UTF-16
// helpers.
using namespace ombrelo::win32;

// Waits until `done` holds, polling briefly; false after the timeout.
template <typename F>
bool wait_for(F done, int timeout_ms = 15000) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

std::string window_text(HWND h);
RECT window_rect(HWND h);

// One scenario's folder (in the user's profile, or `parent`) and its program.
class Scenario {
 public:
  explicit Scenario(const std::string& name, const std::wstring& parent = {});
  ~Scenario();

  const std::wstring& dir() const { return dir_; }
  std::wstring path(const std::wstring& file) const { return dir_ + L"\\" + file; }
  std::wstring ini_path() const { return path(L"ombrelo.ini"); }

  void write_file(const std::wstring& file, const std::string& bytes) const;
  std::string read_file(const std::wstring& file) const;
  bool exists(const std::wstring& file) const;
  // A stand-in viewer that records its command line in cmdline.txt.
  std::wstring install_viewer(const std::wstring& file = L"POWERPNT.EXE") const;

  void start();
  bool running() const;
  bool wait_exit(int timeout_ms = 15000) const;

  // The program's top-level windows.
  HWND find(const wchar_t* cls, const std::string& title = {}, bool visible = true) const;
  HWND settings() const { return find(kSettingsClass); }
  HWND display() const { return find(kDisplayClass); }
  HWND wait_window(const wchar_t* cls, const std::string& title = {}, int timeout_ms = 15000) const;
  // A common dialog or message box with that title.
  HWND wait_dialog(const std::string& title, int timeout_ms = 15000) const {
    return wait_window(L"#32770", title, timeout_ms);
  }

  void click(int control_id) const;
  HWND control(int id) const { return GetDlgItem(settings(), id); }

 private:
  std::wstring dir_;
  PROCESS_INFORMATION pi_{};
};

// Dialog helpers.
std::string message_text(HWND box);
void press(HWND dialog, int id);  // IDOK, IDCANCEL
// The open dialog's file-name box (a combo box in the Explorer style).
HWND file_name_box(HWND open_dialog);
void choose_file(HWND open_dialog, const std::wstring& path);
bool gone(HWND h);
// Picks a face and a size in the font dialog and presses OK.
void choose_font(HWND font_dialog, const std::wstring& face, int points);
// Types red, green and blue into the colour dialog and presses OK.
void choose_colour(HWND colour_dialog, int red, int green, int blue);

// What Windows does inside the program's thread, done there by a hook the
// driver loads (`ask` and its value as dpi_hook.h gives them); true once the
// window took it.
bool in_program(HWND window, const wchar_t* ask, int value, WPARAM wp = 0, LPARAM lp = 0);
// What Windows sends when a window's screen changes its scale: the new dots
// per inch and the rectangle it suggests.
bool change_scale(HWND window, int dpi, const RECT& suggested);

// The colour on screen at a point of a window's client area (0xBBGGRR).
COLORREF client_pixel(HWND h, int x, int y);
// How a screen reader sees a window's client area (Active Accessibility):
// the object the window serves, else the system's for its kind; nullopt
// when there is none.
struct Accessible {
  long role = 0;  // ROLE_SYSTEM_...
  std::string name;
  bool operator==(const Accessible&) const = default;
};
std::optional<Accessible> accessible(HWND h);

// What the screen shows of a window, at the moment it is made.
class Capture {
 public:
  explicit Capture(HWND h);
  COLORREF at(POINT screen) const;  // CLR_INVALID outside the window
  bool same_pixels(const Capture& o) const { return bits_ == o.bits_; }
  // As a BMP beside the test exe, under screenshots\, for the test command
  // to turn into PNG.
  void save(const std::string& name) const;

 private:
  RECT rect_;
  BITMAPINFO info_{};
  std::size_t row_ = 0;
  std::vector<unsigned char> bits_;
};
void save_screenshot(HWND h, const std::string& name);

// The box of the dark (text) pixels in a part of a control's client area,
// relative to it; empty (left > right) when there are none.
RECT ink(const Capture& shot, HWND control, RECT part);

}  // namespace ombrelo::e2e
