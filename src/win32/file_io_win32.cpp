#include <windows.h>

#include "settings/file_io.h"
#include "win32/handles.h"
#include "win32/wide.h"

namespace ombrelo::fs {

using win32::system_message;
using win32::widen;

ReadResult read_file(const std::string& path, std::size_t limit) {
  ReadResult r;
  win32::UniqueFile file(CreateFileW(widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    r.error = system_message(GetLastError());
    return r;
  }
  r.bytes.resize(limit + 1);
  std::size_t got = 0;
  while (got < r.bytes.size()) {
    DWORD n = 0;
    if (!ReadFile(file.get(), r.bytes.data() + got, static_cast<DWORD>(r.bytes.size() - got), &n,
                  nullptr)) {
      r.error = system_message(GetLastError());
      r.bytes.clear();
      return r;
    }
    if (n == 0) break;
    got += n;
  }
  r.complete = got <= limit;
  r.bytes.resize(got <= limit ? got : limit);
  r.ok = true;
  return r;
}

std::string replace_file(const std::string& path, std::string_view bytes) {
  const std::wstring target = widen(path);
  const std::wstring tmp = target + L".tmp";
  // The settings file, if present, must be writable: a read-only file stays
  // as the user left it.
  const DWORD attrs = GetFileAttributesW(target.c_str());
  if (attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_READONLY)) {
    return system_message(ERROR_ACCESS_DENIED);
  }
  {
    win32::UniqueFile file(CreateFileW(tmp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return system_message(GetLastError());
    DWORD written = 0;
    if (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size() || !FlushFileBuffers(file.get())) {
      const DWORD err = GetLastError();
      file.reset();
      DeleteFileW(tmp.c_str());
      return system_message(err);
    }
  }
  if (!MoveFileExW(tmp.c_str(), target.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    const DWORD err = GetLastError();
    DeleteFileW(tmp.c_str());
    return system_message(err);
  }
  return {};
}

bool is_ordinary_file(const std::string& path) {
  const DWORD attrs = GetFileAttributesW(widen(path).c_str());
  return attrs != INVALID_FILE_ATTRIBUTES &&
         (attrs & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) == 0;
}

std::string executable_path() {
  std::wstring buf(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    if (n < buf.size()) {
      buf.resize(n);
      return win32::narrow(buf);
    }
    buf.resize(buf.size() * 2);
  }
}

}  // namespace ombrelo::fs
