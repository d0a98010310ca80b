#include <windows.h>

#include <cwchar>

#include "platform/platform.h"
#include "win32/handles.h"
#include "win32/wide.h"

namespace ombrelo::platform {

using win32::system_message;
using win32::widen;

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Antivirus scanners, indexers and sync tools open a file for a moment right
// after it changes; about a second of retries waits them out. `attempt`
// returns 0 on success, else the error code.
template <typename Attempt, typename Transient>
DWORD retrying(Attempt attempt, Transient transient) {
  for (int tries = 1;; ++tries) {
    const DWORD error = attempt();
    if (error == 0 || !transient(error) || tries == 20) return error;
    Sleep(50);
  }
}

bool locked(DWORD e) { return e == ERROR_SHARING_VIOLATION || e == ERROR_LOCK_VIOLATION; }

bool replace_may_pass(DWORD e) {
  return locked(e) || e == ERROR_ACCESS_DENIED || e == ERROR_UNABLE_TO_REMOVE_REPLACED ||
         e == ERROR_UNABLE_TO_MOVE_REPLACEMENT || e == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2;
}

// The file a symbolic link points to, or the path itself. Asked of every
// file, not only of those marked as links: Wine shows a Unix link as a plain
// file, yet renames what it points to.
std::wstring link_target(const std::wstring& path) {
  win32::UniqueFile h(CreateFileW(path.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!h) return path;
  std::wstring buf(32768, L'\0');
  const DWORD n = GetFinalPathNameByHandleW(h.get(), buf.data(), static_cast<DWORD>(buf.size()),
                                            FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
  if (n == 0 || n >= buf.size()) return path;
  buf.resize(n);
  if (buf.starts_with(L"\\\\?\\UNC\\")) return L"\\\\" + buf.substr(8);
  if (buf.starts_with(L"\\\\?\\")) return buf.substr(4);
  return buf;
}

// A new, empty file beside `target` whose name nothing else has.
win32::UniqueFile create_unique(const std::wstring& target, std::wstring& name, DWORD& error) {
  for (DWORD n = 0; n < 100; ++n) {
    wchar_t suffix[40];
    std::swprintf(suffix, 40, L".%lx%lx.tmp", GetCurrentProcessId(), GetTickCount() + n);
    name = target + suffix;
    win32::UniqueFile file(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) return file;
    error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
  }
  return {};
}

std::string named(const std::wstring& file, DWORD error) {
  return win32::narrow(file) + ": " + system_message(error);
}

}  // namespace

ReadResult read_file(const std::string& path, std::size_t limit) {
  ReadResult r;
  win32::UniqueFile file;
  const DWORD open_error = retrying(
      [&]() -> DWORD {
        file.reset(CreateFileW(widen(path).c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
        return file ? 0 : GetLastError();
      },
      locked);
  if (open_error) {
    r.error = system_message(open_error);
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

std::string replace_file(const std::string& path, std::string_view bytes,
                         const std::string& keep_old_as) {
  const std::wstring target = link_target(widen(path));
  const DWORD attrs = GetFileAttributesW(target.c_str());
  const bool exists = attrs != INVALID_FILE_ATTRIBUTES;
  // A read-only settings file stays as the user left it.
  if (exists && (attrs & FILE_ATTRIBUTE_READONLY)) return system_message(ERROR_ACCESS_DENIED);

  std::wstring tmp;
  DWORD error = 0;
  {
    win32::UniqueFile file = create_unique(target, tmp, error);
    if (!file) return named(tmp, error);
    DWORD written = 0;
    if (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size() || !FlushFileBuffers(file.get())) {
      error = GetLastError();
      file.reset();
      DeleteFileW(tmp.c_str());
      return named(tmp, error);
    }
  }

  if (exists) {
    // ReplaceFileW keeps the old file's attributes, security and streams. It
    // always gets a backup name: when it fails half-way the old file is
    // there, and is put back.
    const std::wstring backup = keep_old_as.empty() ? tmp + L".old" : widen(keep_old_as);
    error = retrying(
        [&]() -> DWORD {
          if (ReplaceFileW(target.c_str(), tmp.c_str(), backup.c_str(),
                           REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
            return 0;
          }
          const DWORD e = GetLastError();
          if (e == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2)
            MoveFileExW(backup.c_str(), target.c_str(), 0);
          return e;
        },
        replace_may_pass);
    if (!error) {
      if (keep_old_as.empty()) DeleteFileW(backup.c_str());
      // Hidden and system stay as they were, whatever the file system did.
      constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                              FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
      const DWORD now = GetFileAttributesW(target.c_str());
      if (now != INVALID_FILE_ATTRIBUTES && (now & kKept) != (attrs & kKept)) {
        SetFileAttributesW(target.c_str(), (now & ~kKept) | (attrs & kKept));
      }
    }
  } else {
    error = retrying(
        [&]() -> DWORD {
          return MoveFileExW(tmp.c_str(), target.c_str(),
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
                     ? 0
                     : GetLastError();
        },
        replace_may_pass);
  }
  if (error) {
    DeleteFileW(tmp.c_str());
    return target == widen(path) ? system_message(error) : named(target, error);
  }
  return {};
}

bool is_ordinary_file(const std::string& path) {
  // Hidden and system files count: the user may have hidden the settings.
  const DWORD attrs = GetFileAttributesW(widen(path).c_str());
  return attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY) == 0;
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

}  // namespace ombrelo::platform
