#include "app/desktop_win32.h"

#include <cderr.h>
#include <commdlg.h>
#include <shlobj.h>

#include <algorithm>
#include <cwchar>

#include "app/gdi.h"
#include "platform/platform.h"
#include "platform/win32/handles.h"
#include "platform/win32/library.h"
#include "platform/win32/system_reason.h"
#include "platform/win32/utf16.h"
#include "ui/messages.h"

namespace ombrelo::win32 {

static_assert(CDERR_MEMALLOCFAILURE == 0x0009 && CDERR_MEMLOCKFAILURE == 0x000A &&
                  FNERR_INVALIDFILENAME == 0x3002 && FNERR_BUFFERTOOSMALL == 0x3003 &&
                  CFERR_NOFONTS == 0x2001,
              "dialog_fault (platform/result.h) reads these numbers");

namespace {

// The common dialogs' DLL, and the shell libraries it brings along, load on
// the first dialog rather than at start-up, which they would slow down.
template <typename Fn>
Fn* comdlg_fn(const char* name) {
  static const HMODULE module = LoadLibraryW(L"comdlg32.dll");
  return find_function<Fn>(module, name);
}

DWORD extended_error() {
  auto* fn = comdlg_fn<decltype(CommDlgExtendedError)>("CommDlgExtendedError");
  return fn ? fn() : CDERR_INITIALIZATION;
}

BOOL get_open_file_name(OPENFILENAMEW* ofn) {
  auto* fn = comdlg_fn<decltype(GetOpenFileNameW)>("GetOpenFileNameW");
  return fn ? fn(ofn) : FALSE;
}

BOOL choose_font(CHOOSEFONTW* cf) {
  auto* fn = comdlg_fn<decltype(ChooseFontW)>("ChooseFontW");
  return fn ? fn(cf) : FALSE;
}

BOOL choose_colour(CHOOSECOLORW* cc) {
  auto* fn = comdlg_fn<decltype(ChooseColorW)>("ChooseColorW");
  return fn ? fn(cc) : FALSE;
}

// The open dialog changes the current directory whatever OFN_NOCHANGEDIR
// says, and shell extensions load from it; every dialog leaves it as it was.
class KeepCurrentDirectory {
 public:
  KeepCurrentDirectory() {
    dir_.resize(GetCurrentDirectoryW(0, nullptr));
    dir_.resize(GetCurrentDirectoryW(static_cast<DWORD>(dir_.size()), dir_.data()));
  }
  ~KeepCurrentDirectory() {
    if (!dir_.empty()) SetCurrentDirectoryW(dir_.c_str());
  }
  KeepCurrentDirectory(const KeepCurrentDirectory&) = delete;
  KeepCurrentDirectory& operator=(const KeepCurrentDirectory&) = delete;

 private:
  std::wstring dir_;
};

}  // namespace

HWND Win32Dialogs::owner() const {
  // Before the settings window shows (the viewer prompt at start-up) a
  // dialog stands on its own, with its own task-bar button.
  return owner_ && IsWindowVisible(owner_) ? owner_ : nullptr;
}

Result<ui::DialogOutcome> Win32Dialogs::outcome(BOOL chosen) {
  if (chosen) return ui::DialogOutcome::chosen;
  const DWORD error = extended_error();
  if (error == 0) return ui::DialogOutcome::cancelled;  // the user closed the dialog
  return Result<ui::DialogOutcome>::failure(
      {.kind = Reason::Kind::dialog, .code = error, .dialog = dialog_fault(error)});
}

Result<ui::DialogOutcome> Win32Dialogs::show_open(ui::CommonDialog& dialog) {
  // "description|pattern|..." becomes the NUL-separated, double-NUL-ended list.
  std::wstring filter = widen(dialog.filter);
  std::replace(filter.begin(), filter.end(), L'|', L'\0');
  filter.append(2, L'\0');
  const std::wstring title = widen(dialog.title);
  std::wstring file = widen(dialog.file_name);
  file.resize(32768, L'\0');

  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner();
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
  ofn.Flags =
      OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  const BOOL chosen = [&] {
    KeepCurrentDirectory kept;
    return get_open_file_name(&ofn);
  }();
  if (chosen) dialog.file_name = narrow(file.c_str());
  return outcome(chosen);
}

Result<ui::DialogOutcome> Win32Dialogs::show_font(ui::CommonDialog& dialog) {
  LOGFONTW lf{};
  CHOOSEFONTW cf{};
  cf.lStructSize = sizeof cf;
  cf.hwndOwner = owner();
  cf.lpLogFont = &lf;
  // The screen's fonts, where the display draws, and never the "@" faces for
  // vertical writing: their digits lie on their side.
  cf.Flags = CF_SCREENFONTS | CF_NOVERTFONTS;
  if (!dialog.font_name.empty()) {
    // Open on the font in use, at the system's dots per inch: the dialog
    // turns a height into points by a DC's LOGPIXELSY, which is the
    // system's on every screen.
    UniqueFont current = make_font(dialog.font_name, dialog.font_size, system_dpi());
    if (current) GetObjectW(current.get(), sizeof lf, &lf);
    cf.Flags |= CF_INITTOLOGFONTSTRUCT;
  }
  const BOOL chosen = [&] {
    KeepCurrentDirectory kept;
    return choose_font(&cf);
  }();
  if (chosen) {
    dialog.font_name = narrow(lf.lfFaceName);
    dialog.font_size = static_cast<float>(cf.iPointSize) / 10.0f;
  }
  return outcome(chosen);
}

Result<ui::DialogOutcome> Win32Dialogs::show_colour(ui::CommonDialog& dialog) {
  COLORREF custom[16];
  for (int i = 0; i < 16; ++i)
    custom[i] = colour_ref(dialog.custom_colours[static_cast<std::size_t>(i)]);
  CHOOSECOLORW cc{};
  cc.lStructSize = sizeof cc;
  cc.hwndOwner = owner();
  const COLORREF shown = colour_ref(dialog.colour);
  cc.rgbResult = shown;
  cc.lpCustColors = custom;
  cc.Flags = CC_RGBINIT | CC_ANYCOLOR;
  const BOOL chosen = [&] {
    KeepCurrentDirectory kept;
    return choose_colour(&cc);
  }();
  for (int i = 0; i < 16; ++i) {
    dialog.custom_colours[static_cast<std::size_t>(i)] = static_cast<std::int32_t>(custom[i]);
  }
  // OK on the colour it opened on keeps the value as stored, a system
  // colour (high bit set) among them, rather than the RGB it drew.
  if (chosen && cc.rgbResult != shown) dialog.colour = static_cast<std::int32_t>(cc.rgbResult);
  return outcome(chosen);
}

void Win32Dialogs::message(const std::string& text) {
  MessageBoxW(owner(), widen(text).c_str(), L"Ombrelo", MB_OK | MB_ICONWARNING | MB_SETFOREGROUND);
}

bool Win32Dialogs::ask(const std::string& question) {
  return MessageBoxW(owner(), widen(question).c_str(), L"Ombrelo",
                     MB_YESNO | MB_DEFBUTTON2 | MB_ICONWARNING | MB_SETFOREGROUND) == IDYES;
}

Status Win32Programs::start(const std::string& command_line) {
  std::wstring cmd = widen(command_line);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                      &pi)) {
    // The system's reason may speak of the program as %1: the quoted first
    // argument.
    const std::size_t end = command_line.find('"', 1);
    const std::string program = command_line.starts_with('"') && end != std::string::npos
                                    ? command_line.substr(1, end - 1)
                                    : command_line;
    return Status::failure(system_reason(GetLastError(), program));
  }
  // Not tracked: the viewer is on its own from here.
  const UniqueKernel process(pi.hProcess), thread(pi.hThread);
  return Status();
}

bool Win32Programs::is_ordinary_file(const std::string& path) {
  return platform::is_ordinary_file(path);
}

std::vector<std::string> Win32Programs::install_folders() {
  // Known folders, not the registry or the environment. A 32-bit program on
  // 64-bit Windows has no known folder for the 64-bit Program Files (where
  // 64-bit Office goes); it is "Program Files" on the system drive. The
  // shell is loaded only now, on a first start that asks.
  std::vector<std::string> folders;
  auto add = [&folders](std::string folder) {
    if (!folder.empty() && std::find(folders.begin(), folders.end(), folder) == folders.end()) {
      folders.push_back(std::move(folder));
    }
  };
  auto get = find_function<decltype(SHGetKnownFolderPath)>(LoadLibraryW(L"shell32.dll"),
                                                           "SHGetKnownFolderPath");
  auto free_memory =
      find_function<decltype(CoTaskMemFree)>(LoadLibraryW(L"ole32.dll"), "CoTaskMemFree");
  for (const KNOWNFOLDERID* id :
       {&FOLDERID_ProgramFilesX64, &FOLDERID_ProgramFiles, &FOLDERID_ProgramFilesX86}) {
    PWSTR path = nullptr;
    if (get && free_memory && SUCCEEDED(get(*id, 0, nullptr, &path)) && path) add(narrow(path));
    if (path && free_memory) free_memory(path);
  }
  wchar_t windows[MAX_PATH] = {};
  const UINT n = GetSystemWindowsDirectoryW(windows, MAX_PATH);
  add((n >= 2 && n < MAX_PATH ? narrow(std::wstring_view(windows, 2)) : std::string("C:")) +
      "\\Program Files");
  return folders;
}

int Win32Screen::width() { return GetSystemMetrics(SM_CXSCREEN); }

int Win32Screen::height() { return GetSystemMetrics(SM_CYSCREEN); }

std::string Win32Locale::decimal_separator() {
  wchar_t buf[8] = {};
  if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buf, 8) <= 1) return ".";
  return narrow(buf);
}

}  // namespace ombrelo::win32
