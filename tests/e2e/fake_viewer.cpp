// Stands in for the presentation viewer: records the command line it was
// started with in cmdline.txt beside itself (UTF-8), then ends.
#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  wchar_t self[MAX_PATH];
  const DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path(self, n);
  path = path.substr(0, path.find_last_of(L'\\') + 1) + L"cmdline.txt";

  const wchar_t* cmd = GetCommandLineW();
  const int len = WideCharToMultiByte(CP_UTF8, 0, cmd, -1, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(len > 0 ? len - 1 : 0), '\0');
  WideCharToMultiByte(CP_UTF8, 0, cmd, -1, utf8.data(), len, nullptr, nullptr);

  STARTUPINFOW si{};
  si.cb = sizeof si;
  GetStartupInfoW(&si);
  utf8 += (si.dwFlags & STARTF_USESHOWWINDOW) ? "\nshow=" + std::to_string(si.wShowWindow) : "";

  // Written under another name first, so a reader never sees half of it.
  const std::wstring tmp = path + L".part";
  HANDLE f = CreateFileW(tmp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  WriteFile(f, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
  CloseHandle(f);
  MoveFileExW(tmp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
  return 0;
}
