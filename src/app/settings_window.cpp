#include "app/settings_window.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cstdlib>
#include <string>
#include <tuple>
#include <vector>

#include "app/gdi.h"
#include "app/names.h"
#include "app/settings_layout.h"
#include "platform/win32/library.h"
#include "platform/win32/utf16.h"

namespace ombrelo::win32 {

namespace {

// The smallest row: the font, colour and corner controls are 255 twips high.
constexpr float kSmallestRow = 255;

// The height a font's lines take on this screen, in pixels.
int line_height(HDC dc, const LOGFONTW& lf) {
  const UniqueFont font(CreateFontIndirectW(&lf));
  if (!font) return 0;
  const Selected selected(dc, font.get());
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  return tm.tmHeight;
}

// Whether that face itself is installed, not a stand-in for it.
bool installed(HDC dc, const LOGFONTW& lf) {
  const UniqueFont font(CreateFontIndirectW(&lf));
  if (!font) return false;
  const Selected selected(dc, font.get());
  wchar_t face[LF_FACESIZE] = {};
  GetTextFaceW(dc, LF_FACESIZE, face);
  return lstrcmpiW(face, lf.lfFaceName) == 0;
}

// The captions' font: the system's message font when its lines fit the
// smallest row inside a themed button's border. Japanese Windows 10/11's Yu
// Gothic UI (Meiryo UI on 7 and 8.1) is taller than that at 9 pt, so then
// MS UI Gothic, the denser UI face every Japanese Windows has, at the same
// size; where that is missing too, the message face made smaller until it
// fits.
UniqueFont caption_font(int dpi) {
  NONCLIENTMETRICSW ncm{};
  ncm.cbSize = sizeof ncm;
  // The message font at the window's scale, where the system gives it for a
  // scale (Windows 10 1607 and later); elsewhere every window has the
  // system's.
  static const auto for_dpi = find_function<BOOL WINAPI(UINT, UINT, void*, UINT, UINT)>(
      GetModuleHandleW(L"user32.dll"), "SystemParametersInfoForDpi");
  const BOOL got =
      for_dpi ? for_dpi(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0, static_cast<UINT>(dpi))
              : SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
  if (!got) return {};
  LOGFONTW lf = ncm.lfMessageFont;
  const UniqueScreenDC screen = screen_dc();
  const HDC dc = screen.get();
  const int room = to_pixels(kSmallestRow, dpi) - 2 * MulDiv(2, dpi, 96);
  if (line_height(dc, lf) > room) {
    LOGFONTW dense = lf;
    lstrcpynW(dense.lfFaceName, L"MS UI Gothic", LF_FACESIZE);
    if (installed(dc, dense) && line_height(dc, dense) <= room) {
      lf = dense;
    } else {
      const LONG sign = lf.lfHeight < 0 ? -1 : 1;
      while (std::abs(lf.lfHeight) > 6 && line_height(dc, lf) > room) lf.lfHeight -= sign;
    }
  }
  return UniqueFont(CreateFontIndirectW(&lf));
}

// A size the system gives in pixels at a scale (Windows 10 1607 and later);
// elsewhere the system's.
int metric(int index, int dpi) {
  static const auto for_dpi = find_function<int WINAPI(int, UINT)>(GetModuleHandleW(L"user32.dll"),
                                                                   "GetSystemMetricsForDpi");
  return for_dpi ? for_dpi(index, static_cast<UINT>(dpi)) : GetSystemMetrics(index);
}

// The files dropped on the window, in the names Explorer gives; shell32 is
// loaded on the first drop, as the dialogs load theirs.
std::vector<std::string> dropped_files(HDROP drop) {
  static const HMODULE shell = LoadLibraryW(L"shell32.dll");
  static const auto query =
      find_function<UINT WINAPI(HDROP, UINT, wchar_t*, UINT)>(shell, "DragQueryFileW");
  static const auto finish = find_function<void WINAPI(HDROP)>(shell, "DragFinish");
  std::vector<std::string> files;
  if (!query || !finish) return files;
  const UINT count = query(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    std::wstring name(query(drop, i, nullptr, 0) + 1, L'\0');
    name.resize(query(drop, i, name.data(), static_cast<UINT>(name.size())));
    files.push_back(narrow(name));
  }
  finish(drop);
  return files;
}

RECT pixel_rect(const Control& c, int dpi) {
  return {to_pixels(c.left, dpi), to_pixels(c.top, dpi), to_pixels(c.left + c.width, dpi),
          to_pixels(c.top + c.height, dpi)};
}

// The window's size for its client area at a scale, frame and caption
// included.
SIZE window_size(int dpi) {
  RECT r{0, 0, to_pixels(kClientWidth, dpi), to_pixels(kClientHeight, dpi)};
  static const auto for_dpi = find_function<BOOL WINAPI(RECT*, DWORD, BOOL, DWORD, UINT)>(
      GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi");
  if (for_dpi) {
    for_dpi(&r, kStyle, FALSE, kExStyle, static_cast<UINT>(dpi));
  } else {
    AdjustWindowRectEx(&r, kStyle, FALSE, kExStyle);
  }
  return {r.right - r.left, r.bottom - r.top};
}

}  // namespace

SettingsWindow::SettingsWindow(HINSTANCE instance) : instance_(instance) {
  register_class(instance_, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));

  // Created where it will show, centred on the work area, so that showing
  // it moves nothing. Its scale is known once it exists: the primary
  // screen's, which may not be the system's.
  RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  auto centred = [&work](SIZE size) {
    return POINT{work.left + (work.right - work.left - size.cx) / 2,
                 work.top + (work.bottom - work.top - size.cy) / 2};
  };
  const int sized_for = dpi();
  SIZE size = window_size(sized_for);
  const POINT at = centred(size);
  CreateWindowExW(kExStyle, kClassName, L"Ombrelo", kStyle, at.x, at.y, size.cx, size.cy, nullptr,
                  nullptr, instance_, this);
  if (!hwnd()) return;
  if (dpi() != sized_for) {
    size = window_size(dpi());
    const POINT moved = centred(size);
    SetWindowPos(hwnd(), nullptr, moved.x, moved.y, size.cx, size.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  create_controls();
  load_icons();
}

void SettingsWindow::create_controls() {
  for (const Control& c : kControls) {
    const RECT r = pixel_rect(c, dpi());
    CreateWindowExW(c.ex_style, c.cls, c.text, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | c.style,
                    r.left, r.top, r.right - r.left, r.bottom - r.top, hwnd(),
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance_, nullptr);
  }
  set_caption_font(false);
  // A label is a caption, not a control: where its rectangle overlaps a
  // button created after it (the font heading over the font button), it
  // goes below that button in the stacking, which clips it, so the button
  // is drawn whole. Tab order and option groups stay as they are.
  for (const Control& label : kControls) {
    if (lstrcmpW(label.cls, L"STATIC") != 0 || (label.style & SS_OWNERDRAW)) continue;
    const RECT l = pixel_rect(label, dpi());
    for (const Control& c : kControls) {
      const RECT b = pixel_rect(c, dpi());
      RECT overlap;
      if (&c > &label && lstrcmpW(c.cls, L"BUTTON") == 0 && IntersectRect(&overlap, &l, &b)) {
        SetWindowPos(item(label.id), item(c.id), 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW);
      }
    }
  }
}

// Every control's caption in the font for the window's scale; the old font
// goes only once no control uses it.
void SettingsWindow::set_caption_font(bool redraw) {
  UniqueFont font = caption_font(dpi());
  if (!font) return;
  for (const Control& c : kControls) {
    SendMessageW(item(c.id), WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), redraw);
  }
  caption_font_ = std::move(font);
}

// The title bar's and the taskbar's icons drawn for the window's scale, not
// stretched from the system's; the old ones go once the window has the new.
void SettingsWindow::load_icons() {
  for (auto [which, width, height, icon] :
       {std::tuple{ICON_BIG, SM_CXICON, SM_CYICON, &big_icon_},
        std::tuple{ICON_SMALL, SM_CXSMICON, SM_CYSMICON, &small_icon_}}) {
    UniqueIcon loaded(
        static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                      metric(width, dpi()), metric(height, dpi()), 0)));
    if (!loaded) continue;
    SendMessageW(hwnd(), WM_SETICON, which, reinterpret_cast<LPARAM>(loaded.get()));
    *icon = std::move(loaded);
  }
}

SIZE SettingsWindow::size_at(int dpi) const { return window_size(dpi); }

// The same twips at the new scale, where the system suggests.
void SettingsWindow::dpi_changed(const RECT& suggested) {
  SetWindowPos(hwnd(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  for (const Control& c : kControls) {
    const RECT r = pixel_rect(c, dpi());
    SetWindowPos(item(c.id), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  set_caption_font(true);
  load_icons();
}

void SettingsWindow::show() {
  focus_ = item(kPresentationBox);
  ShowWindow(hwnd(), SW_SHOWNORMAL);
  UpdateWindow(hwnd());
  SetFocus(focus_);
}

void SettingsWindow::remember_focus() {
  const HWND focus = GetFocus();
  if (focus && IsChild(hwnd(), focus)) focus_ = focus;
}

void SettingsWindow::restore_focus() {
  if (focus_ && IsChild(hwnd(), focus_) && IsWindowEnabled(focus_)) SetFocus(focus_);
}

std::string SettingsWindow::presentation_path() const {
  HWND edit = item(kPresentationBox);
  std::wstring buf(static_cast<std::size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
  const int n = GetWindowTextW(edit, buf.data(), static_cast<int>(buf.size()));
  buf.resize(static_cast<std::size_t>(n > 0 ? n : 0));
  return narrow(buf);
}

void SettingsWindow::set_presentation_path(const std::string& text) {
  SetWindowTextW(item(kPresentationBox), widen(text).c_str());
}

Corner SettingsWindow::corner() const {
  auto selected = [this](int id) {
    return SendMessageW(item(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
  };
  if (selected(kBottomRightOption)) return Corner::bottom_right;
  if (selected(kBottomLeftOption)) return Corner::bottom_left;
  return Corner::none;
}

void SettingsWindow::set_corner(Corner corner) {
  auto select = [this](int id, bool on) {
    SendMessageW(item(id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
  };
  select(kBottomLeftOption, corner == Corner::bottom_left);
  select(kBottomRightOption, corner == Corner::bottom_right);
}

void SettingsWindow::set_font_caption(const std::string& caption) {
  SetWindowTextW(item(kFontButton), widen(caption).c_str());
}

void SettingsWindow::set_swatch(ui::Swatch which, std::int32_t colour) {
  const bool text = which == ui::Swatch::text;
  swatches_[text ? 0 : 1] = colour;
  InvalidateRect(item(text ? kTextSwatch : kBackSwatch), nullptr, FALSE);
}

void SettingsWindow::close() { PostMessageW(hwnd(), WM_CLOSE, 0, 0); }

int SettingsWindow::outer_height() const {
  RECT r{};
  GetWindowRect(hwnd(), &r);
  return r.bottom - r.top;
}

void SettingsWindow::draw_swatch(const DRAWITEMSTRUCT& item) {
  const UniqueBrush fill(
      CreateSolidBrush(colour_ref(swatches_[item.CtlID == kTextSwatch ? 0 : 1])));
  const Selected brush(item.hDC, fill.get());
  const Selected pen(item.hDC, GetStockObject(BLACK_PEN));
  const RECT& r = item.rcItem;
  Rectangle(item.hDC, r.left, r.top, r.right, r.bottom);
}

std::optional<LRESULT> SettingsWindow::handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_DRAWITEM:
      if (wp == kTextSwatch || wp == kBackSwatch) {
        draw_swatch(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
        return TRUE;
      }
      break;
    // The default leaves the focus on the window itself, where no key
    // works and a screen reader names only the window: it goes back to the
    // control that had it. The system takes it from the controls before the
    // window goes inactive (a command's dialog disables the window,
    // minimising clears it), so every control says when it takes the focus
    // (EN_SETFOCUS, BN_SETFOCUS) and the window keeps it then.
    case WM_ACTIVATE:
      if (LOWORD(wp) == WA_INACTIVE) {
        remember_focus();
      } else if (!HIWORD(wp)) {  // not minimised
        restore_focus();
      }
      return 0;
    case WM_SETFOCUS: restore_focus(); return 0;
    // The user changed the text size (the message font): the captions take
    // it at once, at the window's scale.
    case WM_SETTINGCHANGE:
      if (wp == SPI_SETNONCLIENTMETRICS) set_caption_font(true);
      return 0;
    case WM_DROPFILES:
      if (const auto files = dropped_files(reinterpret_cast<HDROP>(wp)); controller_)
        controller_->take_dropped(files);
      return 0;
    case WM_COMMAND:
      remember_focus();
      if (controller_ && HIWORD(wp) == BN_CLICKED) {
        switch (LOWORD(wp)) {
          case kBrowseButton: controller_->choose_presentation(); return 0;
          case kStartButton: controller_->start_show(); return 0;
          case kFontButton: controller_->choose_font(); return 0;
          case kTextColourButton: controller_->choose_text_colour(); return 0;
          case kBackColourButton: controller_->choose_back_colour(); return 0;
        }
      }
      break;
    case WM_CLOSE:
      if (controller_) {
        if (!controller_->can_close()) return 0;  // comes again when the handler ends
        controller_->close();
      }
      window_.reset();
      return 0;
    // Log-off and shut-down never send WM_CLOSE, and the process may end as
    // soon as WM_ENDSESSION returns. A close under way is asking or telling
    // the user something: the session waits for the answer (Windows lets the
    // user end it anyway), and an end that comes all the same leaves that
    // close to finish.
    case WM_QUERYENDSESSION: return !(controller_ && controller_->close_begun());
    case WM_ENDSESSION:
      if (!wp || (controller_ && controller_->close_begun())) return 0;
      if (controller_) controller_->end_session();
      // Saved: end now. A process that lives on (Restart Manager's
      // ENDSESSION_CLOSEAPP, or a system that does not end it) would take
      // changes it no longer saves, maybe from inside a dialog's loop.
      ExitProcess(0);
    case WM_DESTROY: PostQuitMessage(0); return 0;
  }
  return std::nullopt;
}

}  // namespace ombrelo::win32
