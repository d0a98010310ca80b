#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <utility>

#include "platform/platform.h"
#include "platform/win32/file_access.h"
#include "platform/win32/handles.h"
#include "platform/win32/paths.h"
#include "platform/win32/system_reason.h"
#include "platform/win32/utf16.h"

namespace ombrelo::platform {

using win32::kPauseMilliseconds;
using win32::kShareAll;
using win32::kTries;
using win32::locked;
using win32::retrying;
using win32::system_reason;
using win32::widen;

namespace {

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
win32::UniqueFile create_unique(const std::wstring& target, std::wstring& name, DWORD& error,
                                DWORD flags = FILE_ATTRIBUTE_NORMAL) {
  for (DWORD n = 0; n < 100; ++n) {
    name = win32::temporary_name(target, GetCurrentProcessId(), GetTickCount() + n);
    win32::UniqueFile file(
        CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, flags, nullptr));
    if (file) return file;
    error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
  }
  return {};
}

Reason named(const std::wstring& file, Reason r) {
  r.file = win32::narrow(win32::plain_path(file));
  return r;
}

// The folder that holds a file, for saying where no new file could be made.
std::wstring folder_of(const std::wstring& file) {
  return file.substr(0, file.find_last_of(L'\\'));
}

// Writes all of `bytes` at the file's current position and flushes them. A
// write that takes fewer bytes than it was given is tried again for the
// rest; one that takes none ran out of room.
DWORD write_all(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    DWORD written = 0;
    const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 20));
    if (!WriteFile(file, bytes.data(), chunk, &written, nullptr)) return GetLastError();
    if (written == 0) return ERROR_DISK_FULL;
    bytes.remove_prefix(written);
  }
  return FlushFileBuffers(file) ? 0 : GetLastError();
}

DWORD seek(HANDLE file, std::uint64_t at) {
  LARGE_INTEGER to;
  to.QuadPart = static_cast<LONGLONG>(at);
  return SetFilePointerEx(file, to, nullptr, FILE_BEGIN) ? 0 : GetLastError();
}

// The plain write the format always allowed, for a folder that takes no new
// file: the file keeps its name, attributes and security. Before any old byte
// is overwritten the file grows to its new size, with real bytes so that the
// room is taken; where there is none, it goes back to its old size intact.
DWORD write_in_place(const std::wstring& target, std::string_view bytes) {
  win32::UniqueFile file;
  DWORD error = retrying(
      [&]() -> DWORD {
        file.reset(CreateFileW(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        return file ? 0 : GetLastError();
      },
      locked);
  if (error) return error;
  LARGE_INTEGER old_size{};
  if (!GetFileSizeEx(file.get(), &old_size)) return GetLastError();
  const auto old_end = static_cast<std::uint64_t>(old_size.QuadPart);
  if (bytes.size() > old_end) {
    const std::string room(bytes.size() - old_end, '\0');
    if ((error = seek(file.get(), old_end)) || (error = write_all(file.get(), room))) {
      if (!seek(file.get(), old_end)) SetEndOfFile(file.get());
      return error;
    }
  }
  if ((error = seek(file.get(), 0)) || (error = write_all(file.get(), bytes))) return error;
  if (!SetEndOfFile(file.get()) || !FlushFileBuffers(file.get())) return GetLastError();
  return 0;
}

// Moves the old file, kept by the replace under a temporary name, to the
// first backup name where nothing exists; there it stays if none is free.
std::wstring move_to_backup(const std::wstring& old, const std::wstring& target) {
  for (int n = 1; n < 100; ++n) {
    const std::wstring name = target + L".bak" + (n > 1 ? widen(std::to_string(n)) : L"");
    if (MoveFileExW(old.c_str(), name.c_str(), MOVEFILE_WRITE_THROUGH)) return name;
    if (GetFileAttributesW(name.c_str()) == INVALID_FILE_ATTRIBUTES) break;  // not taken: failed
  }
  return old;
}

// Puts the written temporary file where the target is. Another program, or
// another copy of this one closing at the same instant, may be replacing the
// file too: it is then gone for an instant, or there where there was none.
// Each try looks again at what is there. A file that was there and is gone
// is waited for like a lock; only one that stays gone is saved anew. When a
// file is replaced, `replaced` is set and the old one is left at `backup`.
DWORD put_in_place(const std::wstring& tmp, const std::wstring& target, bool was_there,
                   const std::wstring& backup, bool& replaced) {
  for (int tries = 1;; ++tries) {
    const bool last = tries == kTries;
    const DWORD attrs = GetFileAttributesW(target.c_str());
    DWORD error = 0;
    if (attrs == INVALID_FILE_ATTRIBUTES && was_there && !last) {
      error = ERROR_FILE_NOT_FOUND;  // most likely gone for an instant
    } else if (attrs == INVALID_FILE_ATTRIBUTES) {
      // MOVEFILE_REPLACE_EXISTING would also put the file over a folder made
      // meanwhile; without it, whatever appeared there is looked at again.
      if (MoveFileExW(tmp.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)) return 0;
      error = GetLastError();
      if (error != ERROR_ALREADY_EXISTS && !replace_may_pass(error)) return error;
    } else if (attrs & FILE_ATTRIBUTE_DIRECTORY) {
      return ERROR_ALREADY_EXISTS;
    } else {
      // ReplaceFileW keeps the old file's attributes, security and streams.
      // It always gets a backup name of its own: when it fails half-way the
      // old file is there, and is put back.
      if (ReplaceFileW(target.c_str(), tmp.c_str(), backup.c_str(), REPLACEFILE_IGNORE_MERGE_ERRORS,
                       nullptr, nullptr)) {
        replaced = true;
        return 0;
      }
      error = GetLastError();
      if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2)
        MoveFileExW(backup.c_str(), target.c_str(), 0);
      if (error != ERROR_FILE_NOT_FOUND && !replace_may_pass(error)) return error;
    }
    if (last) return error;
    Sleep(kPauseMilliseconds);
  }
}

}  // namespace

Result<Replaced> replace_file(const std::string& path, std::string_view bytes, bool keep_old) {
  using Failed = Result<Replaced>;
  // Long forms throughout: the temporary and backup names are longer than
  // the file's own, which may already be near the old path limit.
  const std::wstring given = win32::long_path(widen(path));
  const std::wstring target = win32::long_path(link_target(given));
  // A failure on the link's target names the target.
  auto reason = [&](Reason r) { return target == given ? r : named(target, std::move(r)); };
  const Reason folder_in_the_way{.kind = Reason::Kind::folder_in_the_way};
  const DWORD attrs = GetFileAttributesW(target.c_str());
  const bool exists = attrs != INVALID_FILE_ATTRIBUTES;
  if (exists && (attrs & FILE_ATTRIBUTE_DIRECTORY))
    return Failed::failure(reason(folder_in_the_way));
  // A read-only settings file stays as the user left it.
  if (exists && (attrs & FILE_ATTRIBUTE_READONLY))
    return Failed::failure(system_reason(ERROR_ACCESS_DENIED));

  std::wstring tmp;
  DWORD error = 0;
  {
    win32::UniqueFile file = create_unique(target, tmp, error);
    if (!file) {
      // A folder only the file itself may be written in (Program Files,
      // say): write it in place, unless the old bytes must be kept.
      if (error == ERROR_ACCESS_DENIED && exists && !keep_old) {
        const DWORD in_place = write_in_place(target, bytes);
        if (in_place) return Failed::failure(reason(system_reason(in_place)));
        return Replaced{};
      }
      return Failed::failure(named(folder_of(target), system_reason(error)));
    }
    if ((error = write_all(file.get(), bytes))) {
      // The temporary file goes again: only the reason is worth telling.
      file.reset();
      DeleteFileW(tmp.c_str());
      return Failed::failure(reason(system_reason(error)));
    }
  }

  const std::wstring backup = tmp + L".old";
  bool replaced = false;
  error = put_in_place(tmp, target, exists, backup, replaced);
  if (error) {
    DeleteFileW(tmp.c_str());
    const DWORD now = GetFileAttributesW(target.c_str());
    // An old copy a failed replace left aside goes too, unless it is the
    // only one.
    if (now != INVALID_FILE_ATTRIBUTES) DeleteFileW(backup.c_str());
    if (now != INVALID_FILE_ATTRIBUTES && (now & FILE_ATTRIBUTE_DIRECTORY))
      return Failed::failure(reason(folder_in_the_way));
    return Failed::failure(reason(system_reason(error)));
  }
  std::string kept_as;
  if (replaced) {
    if (keep_old) {
      kept_as = win32::narrow(win32::plain_path(move_to_backup(backup, target)));
    } else {
      DeleteFileW(backup.c_str());
    }
    // Hidden, system, archive and not-indexed stay as they were, whatever
    // the file system did.
    constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                            FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    const DWORD now = GetFileAttributesW(target.c_str());
    if (now != INVALID_FILE_ATTRIBUTES && (now & kKept) != (attrs & kKept)) {
      SetFileAttributesW(target.c_str(), (now & ~kKept) | (attrs & kKept));
    }
  }
  return Replaced{kept_as};
}

bool takes_new_file_beside(const std::string& path) {
  std::wstring name;
  DWORD error = 0;
  // Made and gone again at once: nothing is left behind.
  return static_cast<bool>(create_unique(win32::long_path(widen(path)), name, error,
                                         FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE));
}

}  // namespace ombrelo::platform
