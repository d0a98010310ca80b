#pragma once

// The one interface to the system under the program's logic: the code page,
// files and the clock. The Windows build implements it in win32/, the Linux
// build (for the native tests) in posix/; nothing else here knows which. The
// windows' own services (dialogs, process start, the screen) are ui/'s
// desktop roles (ui/desktop.h).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/result.h"

namespace ombrelo::platform {

// Conversions between the program's UTF-8 text and the system's 8-bit (ANSI)
// code page, 932 on the Japanese systems the settings file is made for.
// Each fails (nullopt) rather than substitute a look-alike or '?' for a
// character the other side cannot hold; the UTF-8 given is well-formed.
std::optional<std::string> utf8_to_ansi(std::string_view utf8);
std::optional<std::string> ansi_to_utf8(std::string_view ansi);
// Code page 932 whatever the system's: files from Japanese systems stay
// readable where the ANSI code page is another (such as UTF-8).
std::optional<std::string> cp932_to_utf8(std::string_view bytes);

struct FileBytes {
  std::string bytes;      // at most the limit asked for
  bool complete = false;  // false when the file was longer than the limit
};

// Reads at most `limit` bytes of the file, sharing it with whoever else has
// it open; a brief lock (an indexer, a sync tool) is waited out.
Result<FileBytes> read_file(const std::string& path, std::size_t limit);

// Replaces the file's content in one step: the bytes go to a temporary file
// of a unique name in the same folder, are flushed, and the temporary file
// then takes the place of the old one, keeping its attributes and
// permissions, so a failure at any point leaves the old file as it was. A
// symbolic link keeps pointing where it did: its target is replaced. Brief
// locks are waited out. Where the folder takes no new file but the file
// itself may be written, and no old copy is asked for, the file is written
// in place, growing to its new size before any old byte is overwritten, so
// that a full disk leaves the old bytes. Every byte must go out: a write
// that stops short fails. A folder is never moved or replaced. With
// `keep_old`, the old file, if any, stays beside it under the first free
// name of "<file>.bak", "<file>.bak2"…, never over anything that exists,
// which the result names.
struct Replaced {
  std::string backup;  // where the old file was kept; empty when it was not
};
Result<Replaced> replace_file(const std::string& path, std::string_view bytes,
                              bool keep_old = false);

// Whether the file's folder takes a new file beside it (a backup, say); a
// probe that leaves nothing behind.
bool takes_new_file_beside(const std::string& path);

// True for a file, hidden or not; false for a folder or nothing.
bool is_ordinary_file(const std::string& path);

// Full path of the running executable, in the names the user sees.
std::string executable_path();

// The user's temporary folder, which Windows empties now and then: Explorer
// runs an exe opened inside a zip from a folder in it.
std::string temporary_folder();
// The folders the system gives as the temporary one where TMP and TEMP are
// unset (the user's profile, the Windows folder): no temporary folder.
std::vector<std::string> temporary_folder_fallbacks();

// Milliseconds since the system started: a clock that only moves forward
// with real time, and goes on while the machine sleeps. Steps of the time of
// day (a time sync, the user, daylight saving) leave it alone. Only the
// difference of two readings means anything.
std::int64_t milliseconds_since_start_up();

}  // namespace ombrelo::platform
