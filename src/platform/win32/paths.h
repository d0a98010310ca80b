#pragma once

#include <string>

namespace ombrelo::win32 {

// A path in the long form ("\\?\C:\...", "\\?\UNC\server\share\..."), which
// the file calls take beyond the old limit of 260 characters: made absolute
// and normalized first, since the long form takes the path as it is.
std::wstring long_path(const std::wstring& path);
// The same path as people write it, for messages.
std::wstring plain_path(const std::wstring& path);

// The path with each 8.3 short name in it (OMBREL~1.EXE) in its full form,
// as Explorer shows it; the path as it is where it cannot be found.
std::wstring without_short_names(const std::wstring& path);

// The name a new temporary file beside `file` gets: the file's own name with
// the process and a counter after it.
std::wstring temporary_name(const std::wstring& file, unsigned long process, unsigned long count);

// The folder of the running executable, without its trailing backslash.
std::wstring executable_folder();

}  // namespace ombrelo::win32
