#include "driver.h"

#include <colordlg.h>
#include <dlgs.h>
#include <oleacc.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <stdexcept>

#include "dpi_hook.h"

namespace ombrelo::e2e {

namespace {
// The scenarios measure the program's windows in the screen's own pixels,
// as the program (DPI aware) draws them; an unaware process would see them
// scaled to 96 dpi.
[[maybe_unused]] const bool kDpiAware = SetProcessDPIAware();
}  // namespace

std::string window_text(HWND h) {
  wchar_t buf[1024] = {};
  SendMessageTimeoutW(h, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 5000,
                      nullptr);
  return narrow(buf);
}

RECT window_rect(HWND h) {
  RECT r{};
  GetWindowRect(h, &r);
  return r;
}

namespace {

void remove_tree(const std::wstring& dir) {
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW((dir + L"\\*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = fd.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring full = dir + L"\\" + name;
      SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        remove_tree(full);
      } else {
        DeleteFileW(full.c_str());
      }
    } while (FindNextFileW(h, &fd));
    FindClose(h);
  }
  RemoveDirectoryW(dir.c_str());
}

struct FindArgs {
  DWORD pid;
  const wchar_t* cls;
  std::wstring title;
  bool visible;
  HWND found;
};

BOOL CALLBACK find_proc(HWND h, LPARAM lp) {
  auto* a = reinterpret_cast<FindArgs*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  if (pid != a->pid) return TRUE;
  wchar_t cls[256] = {};
  GetClassNameW(h, cls, 256);
  if (lstrcmpW(cls, a->cls) != 0) return TRUE;
  if (a->visible && !IsWindowVisible(h)) return TRUE;
  if (!a->title.empty()) {
    wchar_t title[512] = {};
    GetWindowTextW(h, title, 512);
    if (a->title != title) return TRUE;
  }
  a->found = h;
  return FALSE;
}

}  // namespace

Scenario::Scenario(const std::string& name, const std::wstring& parent) {
  CreateDirectoryW(parent.c_str(), nullptr);
  dir_ = (parent.empty() ? _wgetenv(L"USERPROFILE") : parent) + L"\\ombrelo-e2e-" + widen(name);
  remove_tree(dir_);
  CreateDirectoryW(dir_.c_str(), nullptr);
  // OMBRELO_EXE names another build to drive, such as the release's.
  wchar_t other[MAX_PATH] = {};
  const DWORD n = GetEnvironmentVariableW(L"OMBRELO_EXE", other, MAX_PATH);
  const std::wstring exe = n > 0 && n < MAX_PATH ? other : executable_folder() + L"\\ombrelo.exe";
  if (!CopyFileW(exe.c_str(), path(L"ombrelo.exe").c_str(), FALSE)) {
    throw std::runtime_error("cannot copy ombrelo.exe");
  }
}

Scenario::~Scenario() {
  if (pi_.hProcess) {
    if (running()) {
      TerminateProcess(pi_.hProcess, 1);
      WaitForSingleObject(pi_.hProcess, 5000);
    }
    CloseHandle(pi_.hProcess);
    CloseHandle(pi_.hThread);
  }
  remove_tree(dir_);
}

void Scenario::write_file(const std::wstring& file, const std::string& bytes) const {
  HANDLE f = CreateFileW(path(file).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot write a scenario file");
  DWORD n = 0;
  WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
  CloseHandle(f);
}

std::string Scenario::read_file(const std::wstring& file) const {
  HANDLE f = CreateFileW(path(file).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                         nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return "<missing>";
  std::string out;
  char buf[4096];
  DWORD n = 0;
  while (ReadFile(f, buf, sizeof buf, &n, nullptr) && n > 0) out.append(buf, n);
  CloseHandle(f);
  return out;
}

bool Scenario::exists(const std::wstring& file) const {
  return GetFileAttributesW(path(file).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring Scenario::install_viewer(const std::wstring& file) const {
  const std::wstring target = path(file);
  if (!CopyFileW((executable_folder() + L"\\fake_viewer.exe").c_str(), target.c_str(), FALSE)) {
    throw std::runtime_error("cannot copy fake_viewer.exe");
  }
  return target;
}

void Scenario::start() {
  std::wstring cmd = L"\"" + path(L"ombrelo.exe") + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, dir_.c_str(), &si,
                      &pi_)) {
    throw std::runtime_error("cannot start ombrelo.exe");
  }
}

bool Scenario::running() const {
  return pi_.hProcess && WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT;
}

bool Scenario::wait_exit(int timeout_ms) const {
  return pi_.hProcess &&
         WaitForSingleObject(pi_.hProcess, static_cast<DWORD>(timeout_ms)) == WAIT_OBJECT_0;
}

HWND Scenario::find(const wchar_t* cls, const std::string& title, bool visible) const {
  FindArgs args{pi_.dwProcessId, cls, widen(title), visible, nullptr};
  EnumWindows(find_proc, reinterpret_cast<LPARAM>(&args));
  return args.found;
}

HWND Scenario::wait_window(const wchar_t* cls, const std::string& title, int timeout_ms) const {
  HWND found = nullptr;
  wait_for([&] { return (found = find(cls, title)) != nullptr; }, timeout_ms);
  return found;
}

void Scenario::click(int control_id) const {
  HWND parent = settings();
  PostMessageW(parent, WM_COMMAND, MAKEWPARAM(control_id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(parent, control_id)));
}

std::string message_text(HWND box) { return window_text(GetDlgItem(box, 0xFFFF)); }

void press(HWND dialog, int id) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

HWND file_name_box(HWND open_dialog) {
  HWND name = GetDlgItem(open_dialog, cmb13);
  return name ? name : GetDlgItem(open_dialog, edt1);
}

void choose_file(HWND dialog, const std::wstring& path) {
  HWND name = file_name_box(dialog);
  SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
  press(dialog, IDOK);
}

bool gone(HWND h) { return !IsWindow(h) || !IsWindowVisible(h); }

void choose_font(HWND dialog, const std::wstring& face, int points) {
  HWND faces = GetDlgItem(dialog, cmb1);
  const LRESULT index = SendMessageW(faces, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                     reinterpret_cast<LPARAM>(face.c_str()));
  SendMessageW(faces, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(cmb1, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(faces));
  HWND sizes = GetDlgItem(dialog, cmb3);
  const std::wstring size = std::to_wstring(points);
  SendMessageW(sizes, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(size.c_str()));
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(cmb3, CBN_EDITCHANGE),
               reinterpret_cast<LPARAM>(sizes));
  press(dialog, IDOK);
}

void choose_colour(HWND dialog, int red, int green, int blue) {
  const int ids[3] = {COLOR_RED, COLOR_GREEN, COLOR_BLUE};
  const int values[3] = {red, green, blue};
  for (int i = 0; i < 3; ++i) {
    const std::wstring v = std::to_wstring(values[i]);
    SendMessageW(GetDlgItem(dialog, ids[i]), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(v.c_str()));
  }
  press(dialog, IDOK);
}

COLORREF client_pixel(HWND h, int x, int y) {
  POINT p{x, y};
  ClientToScreen(h, &p);
  HDC dc = GetDC(nullptr);
  const COLORREF c = GetPixel(dc, p.x, p.y);
  ReleaseDC(nullptr, dc);
  return c;
}

Capture::Capture(HWND h) : rect_(window_rect(h)) {
  const int w = rect_.right - rect_.left, ht = rect_.bottom - rect_.top;
  if (w <= 0 || ht <= 0) return;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  info_.bmiHeader.biSize = sizeof info_.bmiHeader;
  info_.bmiHeader.biWidth = w;
  info_.bmiHeader.biHeight = ht;
  info_.bmiHeader.biPlanes = 1;
  info_.bmiHeader.biBitCount = 24;
  info_.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(screen, &info_, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, bmp);
  BitBlt(mem, 0, 0, w, ht, screen, rect_.left, rect_.top, SRCCOPY);
  GdiFlush();
  SelectObject(mem, old);
  row_ = static_cast<std::size_t>((w * 3 + 3) & ~3);
  const auto* b = static_cast<const unsigned char*>(bits);
  bits_.assign(b, b + row_ * static_cast<std::size_t>(ht));
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
}

COLORREF Capture::at(POINT screen) const {
  const int x = screen.x - rect_.left, y = rect_.bottom - 1 - screen.y;  // bottom-up rows
  if (bits_.empty() || x < 0 || y < 0 || x >= rect_.right - rect_.left ||
      y >= rect_.bottom - rect_.top) {
    return CLR_INVALID;
  }
  const unsigned char* p =
      &bits_[static_cast<std::size_t>(y) * row_ + static_cast<std::size_t>(x) * 3];
  return RGB(p[2], p[1], p[0]);
}

void Capture::save(const std::string& name) const {
  if (bits_.empty()) return;
  BITMAPFILEHEADER fh{};
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof fh + sizeof info_.bmiHeader;
  fh.bfSize = fh.bfOffBits + static_cast<DWORD>(bits_.size());
  const std::wstring dir = executable_folder() + L"\\screenshots";
  CreateDirectoryW(dir.c_str(), nullptr);
  HANDLE f = CreateFileW((dir + L"\\" + widen(name) + L".bmp").c_str(), GENERIC_WRITE, 0, nullptr,
                         CREATE_ALWAYS, 0, nullptr);
  if (f != INVALID_HANDLE_VALUE) {
    DWORD n = 0;
    WriteFile(f, &fh, sizeof fh, &n, nullptr);
    WriteFile(f, &info_.bmiHeader, sizeof info_.bmiHeader, &n, nullptr);
    WriteFile(f, bits_.data(), static_cast<DWORD>(bits_.size()), &n, nullptr);
    CloseHandle(f);
  }
}

void save_screenshot(HWND h, const std::string& name) { Capture(h).save(name); }

bool in_program(HWND window, const wchar_t* ask, int value, WPARAM wp, LPARAM lp) {
  static const HMODULE dll = LoadLibraryW(L"ombrelo_dpi_hook.dll");  // beside the driver
  const auto proc =
      reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(dll, "ombrelo_dpi_hook")));
  HHOOK hook =
      proc ? SetWindowsHookExW(WH_GETMESSAGE, proc, dll, GetWindowThreadProcessId(window, nullptr))
           : nullptr;
  if (!hook) return false;
  SetPropW(window, ask, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(value)));
  PostMessageW(window, RegisterWindowMessageW(ask), wp, lp);
  const bool done = wait_for([&] { return !GetPropW(window, ask); });
  UnhookWindowsHookEx(hook);
  return done;
}

bool change_scale(HWND window, int dpi, const RECT& suggested) {
  return in_program(window, kScaleChange, dpi, MAKEWPARAM(suggested.left, suggested.top),
                    MAKELPARAM(suggested.right, suggested.bottom));
}

std::optional<Accessible> accessible(HWND h) {
  static const HRESULT com = CoInitialize(nullptr);
  (void)com;
  IAccessible* object = nullptr;
  if (FAILED(AccessibleObjectFromWindow(h, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                        reinterpret_cast<void**>(&object))) ||
      !object) {
    return std::nullopt;
  }
  Accessible out;
  VARIANT self{};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  VARIANT role{};
  if (SUCCEEDED(object->get_accRole(self, &role)) && role.vt == VT_I4) out.role = role.lVal;
  BSTR name = nullptr;
  if (SUCCEEDED(object->get_accName(self, &name)) && name) {
    out.name = narrow(name);
    SysFreeString(name);
  }
  object->Release();
  return out;
}

RECT ink(const Capture& shot, HWND control, RECT client) {
  MapWindowPoints(control, nullptr, reinterpret_cast<POINT*>(&client), 2);
  RECT box{LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
  for (LONG y = client.top; y < client.bottom; ++y) {
    for (LONG x = client.left; x < client.right; ++x) {
      const COLORREF c = shot.at({x, y});
      if (c == CLR_INVALID) continue;
      const int luma = (GetRValue(c) * 299 + GetGValue(c) * 587 + GetBValue(c) * 114) / 1000;
      const int spread = std::max({GetRValue(c), GetGValue(c), GetBValue(c)}) -
                         std::min({GetRValue(c), GetGValue(c), GetBValue(c)});
      // Text is dark grey; the face, a themed border and a blue focus frame are not.
      if (luma >= 165 || spread > 60) continue;
      box = {std::min(box.left, x - client.left), std::min(box.top, y - client.top),
             std::max(box.right, x - client.left + 1), std::max(box.bottom, y - client.top + 1)};
    }
  }
  return box;
}

}  // namespace ombrelo::e2e
