#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/result.h"
#include "settings/number.h"

namespace ombrelo {

inline constexpr std::string_view kDefaultViewerPath =
    "C:\\Program Files\\Microsoft Office\\Office\\POWERPNT.EXE";
// The display's initial look, which stands in for a missing settings file.
inline constexpr std::string_view kDefaultFontName = "ＭＳ Ｐゴシック";
inline constexpr float kDefaultFontSize = 9.75f;
inline constexpr std::int32_t kDefaultTextColour = 65280;  // green
inline constexpr std::int32_t kDefaultBackColour = 0;      // black

// Everything the user chose. Each member's default stands in for a missing
// settings file; kSettingsFields below gives the file's order and form.
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

// How a line's value is read; how it is written follows from its type: a
// quoted text, a number in its kind, an integer, #TRUE# or #FALSE#.
enum class FieldRule {
  any_text,    // may be empty
  named_text,  // must name something
  font_size,   // a number above 0, up to kMaxFontSize
  colour,      // a number that rounds into 32 bits
  flag,        // #TRUE#, #FALSE# or a number (non-zero is true)
};

// One line of the settings file: what it holds, for messages to the user,
// the member it fills and how it is read.
struct SettingsField {
  std::string_view label;
  std::variant<std::string SettingsRecord::*, Number SettingsRecord::*,
               std::int32_t SettingsRecord::*, bool SettingsRecord::*>
      member;
  FieldRule rule;
};

// The settings file's lines, in order: the one place that lists them.
inline constexpr std::array<SettingsField, 8> kSettingsFields = {{
    {"プレゼンテーションのファイル", &SettingsRecord::presentation_path, FieldRule::any_text},
    {"PowerPoint のパス", &SettingsRecord::viewer_path, FieldRule::named_text},
    {"フォント名", &SettingsRecord::font_name, FieldRule::named_text},
    {"フォントサイズ", &SettingsRecord::font_size, FieldRule::font_size},
    {"文字色", &SettingsRecord::text_colour, FieldRule::colour},
    {"背景色", &SettingsRecord::back_colour, FieldRule::colour},
    {"左下", &SettingsRecord::bottom_left, FieldRule::flag},
    {"右下", &SettingsRecord::bottom_right, FieldRule::flag},
}};
inline constexpr int kSettingsLines = static_cast<int>(kSettingsFields.size());

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

// What a settings file gave: the record, with the default wherever a line
// gave nothing, and a problem for each such line.
struct ParsedSettings {
  SettingsRecord record;
  std::vector<SettingsProblem> problems;
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

// The file's record, or the system's reason when it could not be read.
Result<ParsedSettings> read_settings_file(const std::string& path);

// The old file stays untouched on failure. With `keep_old`, the old file, if
// any, stays under a backup name never used before, which the result gives
// (empty when nothing was kept).
Result<std::string> write_settings_file(const std::string& path, const SettingsRecord& record,
                                        bool keep_old = false);

}  // namespace ombrelo
