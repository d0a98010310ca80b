#include "app/display_window.h"

#include "app/gdi.h"
#include "platform/win32/utf16.h"

namespace ombrelo::win32 {

namespace {

// The count's ticks, and the raise watch's looks (ui/raise_watch.h).
constexpr UINT_PTR kTickTimer = 1, kWatchTimer = 2;

UniqueFont display_font(const ui::DisplayLook& look, int dpi) {
  return make_font(look.font_name, look.font_size, dpi);
}

}  // namespace

void DisplayWindow::create() {
  register_class(instance_);
  CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kClassName, L"",
                  WS_POPUP | WS_CLIPCHILDREN, 0, 0, 1, 1, nullptr, nullptr, instance_, this);
  if (!hwnd()) return;
  // Assistive tools see the time as static text: a child of the system's
  // own class over the whole window, which the system's accessible object
  // names by its text on Windows and under Wine alike. It draws through the
  // display (owner-drawn), and being no tab stop and no notifier it never
  // takes the focus or a click, so a screen reader does not read out every
  // tick and the show keeps the mouse.
  label_ = CreateWindowExW(0, L"Static", L"", WS_CHILD | WS_VISIBLE | SS_OWNERDRAW, 0, 0, 1, 1,
                           hwnd(), nullptr, instance_, nullptr);
  set_look(look_);
  set_text_of_windows();
  // Out of context: the system posts the events to this thread, which
  // handles them between messages; nothing is injected into other programs
  // and nothing polls.
  const DWORD flags = WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS;
  foreground_hook_ = UniqueWinEventHook(SetWinEventHook(
      EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr, &stacking_event, 0, 0, flags));
  reorder_hook_ = UniqueWinEventHook(SetWinEventHook(EVENT_OBJECT_REORDER, EVENT_OBJECT_REORDER,
                                                     nullptr, &stacking_event, 0, 0, flags));
}

BOOL CALLBACK DisplayWindow::tell_of_stacking_change(HWND h, LPARAM) {
  DisplayWindow* display = from(h);
  if (!display) return TRUE;
  if (display->controller_) display->controller_->stacking_changed();
  return FALSE;
}

void CALLBACK DisplayWindow::stacking_event(HWINEVENTHOOK, DWORD, HWND, LONG, LONG, DWORD, DWORD) {
  // An event carries no object of ours: the display is this thread's one
  // window of its class.
  EnumThreadWindows(GetCurrentThreadId(), &tell_of_stacking_change, 0);
}

namespace {

// Whether a window above the display hides any of it. Another copy's
// display does not count: two copies yielding to each other settle, where
// claiming the top from each other would never end.
bool covers(HWND above, const RECT& display) {
  if (!IsWindowVisible(above)) return false;
  wchar_t cls[64] = {};
  GetClassNameW(above, cls, 64);
  if (lstrcmpW(cls, kDisplayClass) == 0) return false;
  RECT r, overlap;
  return GetWindowRect(above, &r) && IntersectRect(&overlap, &r, &display);
}

}  // namespace

bool DisplayWindow::claim_top() {
  if (!hwnd()) return false;
  // Mostly nothing covers the display; restacking it then would cost the
  // window system work for nothing.
  if (GetWindowLongW(hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST) {
    RECT display;
    GetWindowRect(hwnd(), &display);
    HWND above = GetWindow(hwnd(), GW_HWNDPREV);
    while (above && !covers(above, display)) above = GetWindow(above, GW_HWNDPREV);
    if (!above) return false;
  }
  SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  return true;
}

void DisplayWindow::bring_to_top() {
  if (!hwnd()) return;
  SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool DisplayWindow::set_watch_interval(int milliseconds) {
  if (!hwnd()) return false;
  if (milliseconds <= 0) {
    KillTimer(hwnd(), kWatchTimer);
    return true;
  }
  return SetTimer(hwnd(), kWatchTimer, static_cast<UINT>(milliseconds), nullptr) != 0;
}

void DisplayWindow::show() {
  if (hwnd()) ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
}

void DisplayWindow::set_text(const std::string& text) {
  text_ = widen(text);
  set_text_of_windows();
}

// The frame's text too, for tools that list the top-level windows.
void DisplayWindow::set_text_of_windows() {
  if (!hwnd()) return;
  SetWindowTextW(hwnd(), text_.c_str());
  if (!label_) {
    InvalidateRect(hwnd(), nullptr, FALSE);
    return;
  }
  // Twice a second through a talk, so the least work that keeps both the
  // name and the pixels right: the system's own handler stores the child's
  // text (and tells tools its name changed) without the static's reaction,
  // which paints it at once and again on the WM_PAINT its invalidation
  // brings; then one paint through the child's DC, with no update region
  // to fetch and no caret to hide and show. Uncovered parts still come as
  // WM_PAINT.
  DefWindowProcW(label_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text_.c_str()));
  if (const WindowDC dc{label_}) paint(dc.get());
}

void DisplayWindow::set_look(const ui::DisplayLook& look) {
  if (!font_ || !ui::same_font(look, look_)) {
    if (UniqueFont f = display_font(look, dpi())) font_ = std::move(f);
  }
  look_ = look;
  if (hwnd()) InvalidateRect(label_ ? label_ : hwnd(), nullptr, FALSE);
}

ui::Rect DisplayWindow::measure(const std::string& text, const ui::DisplayLook& look) {
  UniqueFont temporary;
  HFONT font = font_.get();
  if (!font || !ui::same_font(look, look_)) {
    temporary = display_font(look, dpi());
    font = temporary.get();
  }
  const UniqueScreenDC dc = screen_dc();
  const Selected selected(dc.get(), font);
  const std::wstring w = widen(text);
  SIZE size{};
  GetTextExtentPoint32W(dc.get(), w.c_str(), static_cast<int>(w.size()), &size);
  if (w.empty()) {
    TEXTMETRICW tm{};
    GetTextMetricsW(dc.get(), &tm);
    size.cy = tm.tmHeight;
  }
  return {0, 0, size.cx, size.cy};
}

ui::Rect DisplayWindow::bounds() const {
  RECT r{};
  if (hwnd()) GetWindowRect(hwnd(), &r);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void DisplayWindow::set_bounds(const ui::Rect& r) {
  if (!hwnd()) return;
  SetWindowPos(hwnd(), nullptr, r.left, r.top, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void DisplayWindow::set_tick_interval(int milliseconds) {
  if (!hwnd()) return;
  if (milliseconds > 0) {
    SetTimer(hwnd(), kTickTimer, static_cast<UINT>(milliseconds), nullptr);
  } else {
    KillTimer(hwnd(), kTickTimer);
  }
}

void DisplayWindow::paint(HDC dc) {
  RECT client;
  GetClientRect(hwnd(), &client);
  // Background and text in one call: the whole window filled in the back
  // colour, the text drawn over it.
  const Selected font(dc, font_.get());
  SetBkColor(dc, colour_ref(look_.back_colour));
  SetTextColor(dc, colour_ref(look_.text_colour));
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &client, text_.c_str(), static_cast<UINT>(text_.size()),
              nullptr);
}

void DisplayWindow::dpi_changed(const RECT&) {
  if (UniqueFont f = display_font(look_, dpi())) font_ = std::move(f);
  if (controller_) controller_->scale_changed();
}

std::optional<LRESULT> DisplayWindow::handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      const Painting painting(hwnd());
      paint(painting.dc());
      return 0;
    }
    case WM_PRINTCLIENT: paint(reinterpret_cast<HDC>(wp)); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_DESTROY:  // also when the system closes the display on its own
      foreground_hook_.reset();
      reorder_hook_.reset();
      return 0;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;  // a click must not take the focus from the show
    case WM_SIZE:
      if (label_) MoveWindow(label_, 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
      return 0;
    case WM_DRAWITEM: paint(reinterpret_cast<const DRAWITEMSTRUCT*>(lp)->hDC); return TRUE;
    case WM_DISPLAYCHANGE:
      if (controller_) controller_->screen_changed();
      return 0;
    case WM_TIMER:
      if (!controller_) return 0;
      if (wp == kTickTimer) controller_->tick();
      if (wp == kWatchTimer) controller_->watch();
      return 0;
  }
  return std::nullopt;
}

}  // namespace ombrelo::win32
