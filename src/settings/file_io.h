#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ombrelo::fs {

struct ReadResult {
  bool ok = false;
  std::string bytes;      // at most the limit asked for
  bool complete = false;  // false when the file was longer than the limit
  std::string error;      // the system's reason when !ok
};

// Reads at most `limit` bytes of the file.
ReadResult read_file(const std::string& path, std::size_t limit);

// Replaces the file's content in one step: the bytes go to a temporary file in
// the same folder, are flushed, and the temporary file then takes the place of
// the old one, so a failure at any point leaves the old file as it was.
// Returns an empty string on success, else the system's reason.
std::string replace_file(const std::string& path, std::string_view bytes);

// True for an ordinary file only: not a folder, and on Windows not a hidden
// or system file.
bool is_ordinary_file(const std::string& path);

// Full path of the running executable.
std::string executable_path();

}  // namespace ombrelo::fs
