// Stands in for the presentation viewer: records the command line it was
// started with in cmdline.txt beside itself (UTF-8), and the current
// directory it inherited in cwd.txt, then ends. For a presentation whose
// name holds "raise" it first plays an aggressive slide show: a full-screen
// topmost window that raises itself every 200 ms, for ten seconds, or for
// the seconds that follow "raise" in the name (the benchmark's longer show).
#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

std::string to_utf8(const wchar_t* text) {
  const int len = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(len > 0 ? len - 1 : 0), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), len, nullptr, nullptr);
  return utf8;
}

// Written under another name first, so a reader never sees half of it.
bool record(const std::wstring& path, const std::string& utf8) {
  const std::wstring tmp = path + L".part";
  HANDLE f = CreateFileW(tmp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  WriteFile(f, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
  CloseHandle(f);
  return MoveFileExW(tmp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

LRESULT CALLBACK show_proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_TIMER && wp == 1) {
    SetWindowPos(h, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return 0;
  }
  if (msg == WM_TIMER && wp == 2) DestroyWindow(h);
  if (msg == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(h, msg, wp, lp);
}

void play_raising_show(UINT seconds) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = show_proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = L"OmbreloTestShow";
  RegisterClassW(&wc);
  HWND show = CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"show", WS_POPUP, 0, 0,
                              GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr,
                              nullptr, wc.hInstance, nullptr);
  ShowWindow(show, SW_SHOWNORMAL);
  SetTimer(show, 1, 200, nullptr);
  SetTimer(show, 2, seconds * 1000, nullptr);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  wchar_t self[MAX_PATH];
  const DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path(self, n);
  path = path.substr(0, path.find_last_of(L'\\') + 1) + L"cmdline.txt";

  std::string utf8 = to_utf8(GetCommandLineW());

  STARTUPINFOW si{};
  si.cb = sizeof si;
  GetStartupInfoW(&si);
  utf8 += (si.dwFlags & STARTF_USESHOWWINDOW) ? "\nshow=" + std::to_string(si.wShowWindow) : "";

  wchar_t cwd[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, cwd);
  const std::wstring folder = path.substr(0, path.find_last_of(L'\\') + 1);
  if (!record(folder + L"cwd.txt", to_utf8(cwd)) || !record(path, utf8)) return 1;
  if (const auto at = utf8.find("raise"); at != std::string::npos) {
    const int seconds = std::atoi(utf8.c_str() + at + 5);
    play_raising_show(seconds > 0 ? static_cast<UINT>(seconds) : 10);
  }
  return 0;
}
