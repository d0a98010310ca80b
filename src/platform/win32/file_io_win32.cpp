#include <windows.h>

#include "platform/platform.h"
#include "platform/win32/file_access.h"
#include "platform/win32/handles.h"
#include "platform/win32/paths.h"
#include "platform/win32/system_reason.h"
#include "platform/win32/utf16.h"

namespace ombrelo::platform {

using win32::kShareAll;
using win32::locked;
using win32::retrying;
using win32::system_reason;
using win32::widen;

Result<FileBytes> read_file(const std::string& path, std::size_t limit) {
  win32::UniqueFile file;
  const DWORD open_error = retrying(
      [&]() -> DWORD {
        file.reset(CreateFileW(win32::long_path(widen(path)).c_str(), GENERIC_READ, kShareAll,
                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        return file ? 0 : GetLastError();
      },
      locked);
  if (open_error) return Result<FileBytes>::failure(system_reason(open_error));
  FileBytes r;
  r.bytes.resize(limit + 1);
  std::size_t got = 0;
  while (got < r.bytes.size()) {
    DWORD n = 0;
    if (!ReadFile(file.get(), r.bytes.data() + got, static_cast<DWORD>(r.bytes.size() - got), &n,
                  nullptr)) {
      return Result<FileBytes>::failure(system_reason(GetLastError()));
    }
    if (n == 0) break;
    got += n;
  }
  r.complete = got <= limit;
  r.bytes.resize(got <= limit ? got : limit);
  return r;
}

bool is_ordinary_file(const std::string& path) {
  // Hidden and system files count: the user may have hidden the settings.
  const DWORD attrs = GetFileAttributesW(win32::long_path(widen(path)).c_str());
  return attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::string executable_path() {
  std::wstring buf(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    if (n < buf.size()) {
      buf.resize(n);
      // Started by its short name, Windows gives that form: the settings
      // file is named after the name the user sees.
      return win32::narrow(win32::without_short_names(buf));
    }
    buf.resize(buf.size() * 2);
  }
}

std::string temporary_folder() {
  wchar_t buf[MAX_PATH + 1] = {};
  const DWORD n = GetTempPathW(MAX_PATH + 1, buf);
  if (n == 0 || n > MAX_PATH) return {};
  return win32::narrow(win32::without_short_names(buf));
}

std::vector<std::string> temporary_folder_fallbacks() {
  std::vector<std::string> folders;
  wchar_t buf[MAX_PATH + 1] = {};
  if (const DWORD n = GetEnvironmentVariableW(L"USERPROFILE", buf, MAX_PATH + 1);
      n && n <= MAX_PATH)
    folders.push_back(win32::narrow(win32::without_short_names(buf)));
  if (const UINT n = GetWindowsDirectoryW(buf, MAX_PATH + 1); n && n <= MAX_PATH)
    folders.push_back(win32::narrow(win32::without_short_names(buf)));
  return folders;
}

}  // namespace ombrelo::platform
