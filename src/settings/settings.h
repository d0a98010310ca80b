#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/number.h"

namespace ombrelo {

inline constexpr std::string_view kDefaultViewerPath =
    "C:\\Program Files\\Microsoft Office\\Office\\POWERPNT.EXE";
// The display's initial look, which stands in for a missing settings file.
inline constexpr std::string_view kDefaultFontName = "ＭＳ Ｐゴシック";
inline constexpr float kDefaultFontSize = 9.75f;
inline constexpr std::int32_t kDefaultTextColour = 65280;  // green
inline constexpr std::int32_t kDefaultBackColour = 0;      // black

// Everything the user chose, in the settings file's line order.
struct SettingsRecord {
  std::string presentation_path;
  std::string viewer_path{kDefaultViewerPath};
  std::string font_name{kDefaultFontName};
  Number font_size = Number::single(kDefaultFontSize);
  Number text_colour = Number::integer(kDefaultTextColour);
  std::int32_t back_colour = kDefaultBackColour;
  bool bottom_left = false;
  bool bottom_right = true;

  bool operator==(const SettingsRecord&) const = default;
};

inline constexpr int kSettingsLines = 8;
// What each line holds, for messages to the user.
extern const std::array<std::string_view, kSettingsLines> kSettingsFieldNames;

// Largest font size a stored value may ask for, as the font dialog allows.
inline constexpr double kMaxFontSize = 1638;
// Longest text value the file keeps, in UTF-16 units: the edit box's limit
// and the longest path Windows takes. The writer cuts anything longer.
inline constexpr std::size_t kMaxTextUnits = 32767;
// A settings file is a few hundred bytes; reading stops beyond the largest
// the writer can make: three texts at their limit in UTF-8 (at most three
// bytes a UTF-16 unit), with quotes and line ends, and five short lines.
inline constexpr std::size_t kMaxSettingsFileSize = 320 * 1024;
static_assert(kMaxSettingsFileSize >= 3 + 3 * (3 * kMaxTextUnits + 4) + 5 * 64);

// A line of the settings file whose value could not be taken.
struct SettingsProblem {
  int line = 0;  // 1 to 8
  std::string reason;
  bool operator==(const SettingsProblem&) const = default;
};

// What a settings file gave: each field it could take, and a problem for each
// it could not.
struct ParsedSettings {
  std::optional<std::string> presentation_path, viewer_path, font_name;
  std::optional<Number> font_size, text_colour;
  std::optional<std::int32_t> back_colour;
  std::optional<bool> bottom_left, bottom_right;
  std::vector<SettingsProblem> problems;

  // The record with `fallback`'s value wherever a field is missing.
  SettingsRecord complete_with(const SettingsRecord& fallback) const;
};

// The file's exact bytes: eight lines ended by CR LF, in the ANSI code page;
// as UTF-8 with a byte-order mark when the code page cannot hold a value.
// Each text goes in as file_text() gives it.
std::string format_settings(const SettingsRecord& record);

// A text value as the file can hold it: without line breaks and NULs, which
// would break the file's line structure, and cut at kMaxTextUnits.
std::string file_text(std::string_view text);

// Reads the file's bytes: UTF-8 or UTF-16 after a byte-order mark; UTF-8
// without one when the bytes are well-formed UTF-8 beyond ASCII (as current
// Notepad saves) and either hold a 3- or 4-byte sequence or are not code
// page 932 text; else the ANSI code page (code page 932 as a fallback);
// lines end with CR LF, LF or CR.
// `complete` is false when the bytes were cut short at a size limit, so that
// a last line without its end is not trusted.
ParsedSettings parse_settings(std::string_view bytes, bool complete = true);

// The settings file beside the executable: its folder, a backslash, its name
// without the final extension, and ".ini".
std::string settings_path_for(std::string_view exe_path);

struct SettingsRead {
  bool ok = false;
  ParsedSettings settings;
  std::string error;  // the system's reason when the file could not be read
};
SettingsRead read_settings_file(const std::string& path);

// Empty on success, else the reason (naming the file that failed when it is
// not `path`); the old file stays untouched on failure. With `kept_as`, the
// old file, if any, stays under a backup name never used before, which
// `kept_as` receives.
std::string write_settings_file(const std::string& path, const SettingsRecord& record,
                                std::string* kept_as = nullptr);

}  // namespace ombrelo
