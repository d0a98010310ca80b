// The real program's look and its dialogs: captions that fit at every scale,
// the font, colour and file dialogs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <vector>

#include "app/settings_layout.h"
#include "scenarios.h"

namespace ombrelo::e2e {
namespace {

// One registry value set for the scenario's length, then put back as it was.
class RegistryValue {
 public:
  RegistryValue(const wchar_t* key, const wchar_t* name, DWORD type, const void* data, DWORD size)
      : key_(key), name_(name) {
    DWORD old_size = sizeof old_;
    had_ = RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_ANY, &old_type_, old_, &old_size) ==
           ERROR_SUCCESS;
    old_size_ = old_size;
    RegSetKeyValueW(HKEY_CURRENT_USER, key, name, type, data, size);
  }
  ~RegistryValue() {
    if (had_) {
      RegSetKeyValueW(HKEY_CURRENT_USER, key_, name_, old_type_, old_, old_size_);
    } else {
      RegDeleteKeyValueW(HKEY_CURRENT_USER, key_, name_);
    }
  }

 private:
  const wchar_t* key_;
  const wchar_t* name_;
  bool had_ = false;
  DWORD old_type_ = 0, old_size_ = 0;
  BYTE old_[512] = {};
};

// Captions fit their controls at the screen's scale with a Japanese UI font
// whose lines are taller than the rows, as Yu Gothic UI's are on Windows
// 10/11 (Wine takes the message font at 96 dpi and scales it). Windows, and
// Wine 10, fix the scale when a session starts: the test command runs this
// scenario again in sessions started at 150 and 200 %.
TEST(Appearance, CaptionsFitTheirControlsWithATallUiFontAtTheScreensScale) {
  LOGFONTW tall{};
  tall.lfHeight = -12;  // 9 pt
  tall.lfWeight = FW_NORMAL;
  tall.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(tall.lfFaceName, L"Noto Sans CJK JP", LF_FACESIZE);
  const RegistryValue message_font(L"Control Panel\\Desktop\\WindowMetrics", L"MessageFont",
                                   REG_BINARY, &tall, sizeof tall);
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  if (const char* asked = std::getenv("OMBRELO_WINE_DPI")) {
    ASSERT_EQ(std::to_string(dpi), asked) << "the session's scale";
  }
  SCOPED_TRACE("at " + std::to_string(dpi) + " dpi");
  Running r("layout-" + std::to_string(dpi));
  ASSERT_TRUE(r.settings);
  const std::vector<int> captioned = {
      kPresentationLabel, kBrowseButton,     kStartButton,      kFontLabel,         kFontButton,
      kTextColourButton,  kBackColourButton, kBottomLeftOption, kBottomRightOption, kCornerLabel};
  // At a scale: every control painted, each caption inside its control,
  // and a screenshot.
  auto captions_fit = [&](int at, const std::string& shot_name) {
    SCOPED_TRACE("captions at " + std::to_string(at) + " dpi");
    std::optional<Capture> shot;
    // Painted: the top edge of every control shows (unpainted is black),
    // and its caption.
    ASSERT_TRUE(wait_for([&] {
      shot.emplace(r.settings);
      return std::all_of(captioned.begin(), captioned.end(), [&](int id) {
        const RECT c = window_rect(r.s.control(id));
        RECT client{};
        GetClientRect(r.s.control(id), &client);
        const RECT box = ink(*shot, r.s.control(id), client);
        return shot->at({(c.left + c.right) / 2, c.top}) != RGB(0, 0, 0) && box.right > box.left;
      });
    })) << "the window is painted";
    // A button's text stays off its border; a label's and an option's text
    // does not run into the edge of its rectangle.
    const int border = MulDiv(2, at, 96);
    for (const int id : captioned) {
      HWND control = r.s.control(id);
      RECT client{};
      GetClientRect(control, &client);
      // The bottom-left option lies over the end of the corner row's heading.
      if (id == kCornerLabel) {
        client.right = window_rect(r.s.control(kBottomLeftOption)).left - window_rect(control).left;
      }
      const RECT box = ink(*shot, control, client);
      const bool button = id >= kBrowseButton && id <= kBackColourButton &&
                          id != kPresentationLabel && id != kFontLabel;
      const int m = button ? border : 1;
      EXPECT_GT(box.right, box.left) << window_text(control) << ": no text seen";
      EXPECT_TRUE(box.left >= m && box.top >= m && box.right <= client.right - m &&
                  box.bottom <= client.bottom - m)
          << window_text(control) << ": text " << box.left << "," << box.top << "-" << box.right
          << "," << box.bottom << " in " << client.right << "x" << client.bottom;
    }
    // The font heading overlaps the font button's top: the button's border
    // is drawn whole under it, as it is beyond it.
    const RECT b = window_rect(r.s.control(kFontButton)), l = window_rect(r.s.control(kFontLabel));
    int cut = 0;
    for (LONG x = b.left + 2 * border; x < l.right; ++x)
      cut += shot->at({x, b.top}) != shot->at({l.right + 4 * border, b.top});
    EXPECT_EQ(cut, 0) << "pixels of the font button's top border painted over";
    shot->save(shot_name);
  };
  captions_fit(dpi, "settings-window-" + std::to_string(dpi) + "dpi");

  // The window's screen changes its scale (dragged onto a projector, say):
  // it takes the rectangle the system suggests and its controls their twips
  // at the new scale; back at the first, every rectangle is as it was.
  auto px = [](float twips, int at) { return static_cast<int>(std::lround(twips * at / 1440)); };
  const RECT first = window_rect(r.settings);
  RECT client{};
  GetClientRect(r.settings, &client);
  for (const int to : {144, 192, dpi}) {
    const RECT suggested{first.left, first.top, first.right + px(kClientWidth, to) - client.right,
                         first.bottom + px(kClientHeight, to) - client.bottom};
    ASSERT_TRUE(change_scale(r.settings, to, suggested));
    POINT o{};
    ClientToScreen(r.settings, &o);
    const RECT window = window_rect(r.settings);
    EXPECT_TRUE(EqualRect(&window, &suggested)) << "the window at " << to;
    for (const Control& c : kControls) {
      const RECT got = window_rect(r.s.control(c.id)),
                 want{o.x + px(c.left, to), o.y + px(c.top, to), o.x + px(c.left + c.width, to),
                      o.y + px(c.top + c.height, to)};
      EXPECT_TRUE(EqualRect(&got, &want)) << "control " << c.id << " at " << to;
    }
    if (to != dpi)
      captions_fit(to,
                   "settings-window-at-" + std::to_string(to) + "dpi-from-" + std::to_string(dpi));
  }
  // A new message font (a dense face the rows take at its size) reaches
  // the captions at once.
  auto caption_height = [&] {
    RECT c{};
    GetClientRect(r.s.control(kStartButton), &c);
    const RECT box = ink(Capture(r.settings), r.s.control(kStartButton), c);
    return box.bottom - box.top;
  };
  const LONG before = caption_height();
  ASSERT_TRUE(in_program(r.settings, kMessageFont, 1, GlobalAddAtomW(L"IPA Pゴシック")));
  EXPECT_TRUE(wait_for([&] { return caption_height() > before; })) << before;
  captions_fit(dpi, "settings-window-" + std::to_string(dpi) + "dpi-new-font");
  PostMessageW(r.settings, WM_CLOSE, 0, 0);
  EXPECT_TRUE(r.s.wait_exit());
}

TEST(Appearance, FontDialogCancelledAndAnswered) {
  Running r("font");
  ASSERT_TRUE(r.settings);
  const RECT before = window_rect(r.display);

  r.s.click(kFontButton);
  HWND dialog = r.s.wait_window(L"#32770");
  ASSERT_TRUE(dialog);
  press(dialog, IDCANCEL);
  ASSERT_TRUE(wait_for([&] { return gone(dialog); }));
  EXPECT_EQ(window_text(r.s.control(kFontButton)), "ＭＳ Ｐゴシック 9.75pt");

  r.s.click(kFontButton);
  dialog = r.s.wait_window(L"#32770");
  ASSERT_TRUE(dialog);
  HWND faces = GetDlgItem(dialog, cmb1);
  ASSERT_TRUE(wait_for([&] { return SendMessageW(faces, CB_GETCOUNT, 0, 0) > 0; }));
  for (LRESULT i = 0; i < SendMessageW(faces, CB_GETCOUNT, 0, 0); ++i) {
    wchar_t face[LF_FACESIZE + 1] = {};
    SendMessageW(faces, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(face));
    EXPECT_NE(face[0], L'@') << "no vertical face is offered: " << narrow(face);
  }
  choose_font(dialog, L"IPA Pゴシック", 36);  // a font the test machine has
  ASSERT_TRUE(wait_for([&] {
    return window_text(r.s.control(kFontButton)) == "IPA Pゴシック 36pt";
  })) << window_text(r.s.control(kFontButton));
  const RECT after = window_rect(r.display);
  EXPECT_EQ(after.left, before.left) << "the top-left corner stays";
  EXPECT_EQ(after.top, before.top);
  EXPECT_GT(after.bottom - after.top, 2 * (before.bottom - before.top)) << "the display grew";

  PostMessageW(r.settings, WM_CLOSE, 0, 0);
  ASSERT_TRUE(r.s.wait_exit());
  EXPECT_EQ(r.s.read_file(L"ombrelo.ini"), settings_lines("C:\\talk.ppt", r.viewer,
                                                          "IPA P\x83S\x83V\x83"
                                                          "b\x83N",
                                                          "36"));
}

TEST(Appearance, ColourDialogsMoveTheSwatchesAndThePreview) {
  Running r("colours");
  ASSERT_TRUE(r.settings);
  // Swatch centres, in client pixels at 15 twips a pixel.
  const POINT shape1{(3600 + 187) / 15, (2160 + 127) / 15},
      shape2{(4200 + 187) / 15, (2160 + 127) / 15};
  ASSERT_TRUE(
      wait_for([&] { return client_pixel(r.settings, shape1.x, shape1.y) == RGB(0, 255, 0); }));

  r.s.click(kTextColourButton);
  HWND dialog = r.s.wait_window(L"#32770");
  ASSERT_TRUE(dialog);
  choose_colour(dialog, 255, 0, 0);
  EXPECT_TRUE(wait_for([&] {
    return client_pixel(r.settings, shape1.x, shape1.y) == RGB(255, 0, 0);
  })) << std::hex
      << client_pixel(r.settings, shape1.x, shape1.y);

  r.s.click(kBackColourButton);
  dialog = r.s.wait_window(L"#32770");
  ASSERT_TRUE(dialog);
  press(dialog, IDCANCEL);
  ASSERT_TRUE(wait_for([&] { return gone(dialog); }));
  EXPECT_EQ(client_pixel(r.settings, shape2.x, shape2.y), RGB(0, 0, 0)) << "cancel keeps black";

  r.s.click(kBackColourButton);
  dialog = r.s.wait_window(L"#32770");
  ASSERT_TRUE(dialog);
  choose_colour(dialog, 0, 0, 128);
  EXPECT_TRUE(
      wait_for([&] { return client_pixel(r.settings, shape2.x, shape2.y) == RGB(0, 0, 128); }));
  const RECT t = window_rect(r.display);
  EXPECT_TRUE(wait_for([&] {
    return client_pixel(r.display, 0, t.bottom - t.top - 1) == RGB(0, 0, 128);
  })) << "the preview's background follows";

  PostMessageW(r.settings, WM_CLOSE, 0, 0);
  ASSERT_TRUE(r.s.wait_exit());
  EXPECT_EQ(r.s.read_file(L"ombrelo.ini"),
            settings_lines("C:\\talk.ppt", r.viewer, kFontCp932, "9.75", "255", "8388608"));
}

TEST(Appearance, FileDialogReplacesTheTypedPathAndKeepsTheCurrentDirectory) {
  Running r("file");
  ASSERT_TRUE(r.settings);
  CreateDirectoryW(r.s.path(L"talks").c_str(), nullptr);
  r.s.write_file(L"talks\\講演.ppt", "slides");
  r.s.click(kBrowseButton);
  HWND dialog = r.s.wait_dialog("プレゼンテーションのファイルを指定");
  ASSERT_TRUE(dialog);
  press(dialog, IDCANCEL);
  ASSERT_TRUE(wait_for([&] { return gone(dialog); }));
  EXPECT_EQ(window_text(r.s.control(kPresentationBox)), "C:\\talk.ppt");

  r.s.click(kBrowseButton);
  dialog = r.s.wait_dialog("プレゼンテーションのファイルを指定");
  ASSERT_TRUE(dialog);
  choose_file(dialog, r.s.path(L"talks\\講演.ppt"));
  EXPECT_TRUE(wait_for([&] {
    return window_text(r.s.control(kPresentationBox)) == narrow(r.s.path(L"talks\\講演.ppt"));
  })) << window_text(r.s.control(kPresentationBox));

  // Dropped from Explorer: a folder and two files are refused, one file
  // fills the box.
  const std::wstring ini = r.s.path(L"ombrelo.ini");
  for (const auto& [names, refused] : {std::pair{r.s.path(L"talks"), true},
                                       {r.s.path(L"talks\\講演.ppt") + L"|" + ini, true},
                                       {ini, false}}) {
    ASSERT_TRUE(in_program(r.settings, kDropFiles, 1, GlobalAddAtomW(names.c_str())));
    HWND box = refused ? r.s.wait_dialog("Ombrelo") : nullptr;
    ASSERT_EQ(box != nullptr, refused) << narrow(names);
    if (box) press(box, IDOK);
    ASSERT_TRUE(wait_for([&] { return gone(box); }));
  }
  EXPECT_TRUE(wait_for([&] { return window_text(r.s.control(kPresentationBox)) == narrow(ini); }))
      << window_text(r.s.control(kPresentationBox));

  // The viewer inherits the current directory: still the one it started in.
  r.s.click(kStartButton);
  ASSERT_TRUE(wait_for([&] { return r.s.exists(L"cmdline.txt"); }));
  EXPECT_EQ(r.s.read_file(L"cwd.txt"), narrow(r.s.dir()));
}

}  // namespace
}  // namespace ombrelo::e2e
