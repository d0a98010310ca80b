#pragma once

// The settings: the record of the user's choices, the eight-line file beside
// the exe that keeps it between runs (its bytes, read and written), what
// can be wrong with a line, and where the file may live.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "platform/result.h"
#include "settings/number.h"

namespace ombrelo {

// The bottom corner of the screen the display goes to when a talk starts.
enum class Corner { none, bottom_left, bottom_right };

// Everything the user chose. Each member's default is the program's: it
// stands in for a missing settings file or line, and is what the windows
// show on a first run.
struct SettingsRecord {
  std::string presentation_path;
  std::string viewer_path = "C:\\Program Files\\Microsoft Office\\Office\\POWERPNT.EXE";
  std::string font_name = "ＭＳ Ｐゴシック";
  Number font_size = Number::single(9.75f);
  // The file format keeps the text colour as whatever number it was given
  // (an integer from the colour dialog, a decimal as read), and rounds it
  // into a colour only where it is used; the background colour is a 32-bit
  // integer, a number read for it rounded into one.
  Number text_colour = Number::integer(65280);  // green
  std::int32_t back_colour = 0;                 // black
  // The file keeps it as two flags, one per corner option (settings.cpp).
  Corner corner = Corner::bottom_right;

  bool operator==(const SettingsRecord&) const = default;
};

// The settings file's lines, one value each, in the record's order.
inline constexpr int kSettingsLines = 8;
// What a line (1 to 8) holds, for messages to the user.
std::string_view settings_line_label(int line);

// Largest font size a stored value may ask for, as the font dialog allows.
inline constexpr double kMaxFontSize = 1638;
// Longest text value the file keeps, in UTF-16 units: the edit box's limit
// and the longest path Windows takes. The reader takes nothing longer (the
// line counts as damaged); the writer cuts anything longer.
inline constexpr std::size_t kMaxTextUnits = 32767;
// A settings file is a few hundred bytes; reading stops beyond the largest
// the writer can make: three texts at their limit in UTF-8 (at most three
// bytes a UTF-16 unit), with quotes and line ends, and five short lines.
inline constexpr std::size_t kMaxSettingsFileSize = 320 * 1024;
static_assert(kMaxSettingsFileSize >= 3 + 3 * (3 * kMaxTextUnits + 4) + 5 * 64);

// Why a line of the settings file gave no value (or, for `unstorable`,
// could not take the new one); the messages say it in words.
enum class LineFault {
  missing,           // the file ends before it
  beyond_the_limit,  // after a line cut at the file's size limit
  line_too_long,     // cut at the file's size limit
  no_closing_quote,
  nul,
  empty,  // a viewer path or font name
  bad_encoding,
  text_too_long,  // over kMaxTextUnits
  not_a_number,
  out_of_range,
  not_a_flag,
  unstorable,  // a text the file has no form for
};

// A line of the settings file whose value could not be taken.
struct SettingsProblem {
  int line = 0;  // 1 to 8
  LineFault fault = LineFault::missing;
  std::string text = {};  // for `unstorable`: the text that stayed out
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

// Each text of `record` that the file cannot hold as it is (one with half of
// a UTF-16 surrogate pair, which Windows allows in a name and neither the
// code page nor UTF-8 has a form for) takes `saved`'s instead; the result
// names each such line and the text it could not keep.
std::vector<SettingsProblem> keep_saved_texts(SettingsRecord& record, const SettingsRecord& saved);

// The settings file beside the executable: its folder, a backslash, its name
// without the final extension, and ".ini".
std::string settings_path_for(std::string_view exe_path);

// Whether the path lies inside the folder or a folder below it, letters
// compared without regard to their case.
bool is_inside_folder(std::string_view path, std::string_view folder);

// Whether the folder the system gives as the temporary one is a folder of
// its own: not one it fell back to with TMP and TEMP unset (the user's
// profile, the Windows folder: `fallbacks`), nor a drive's or a share's root.
bool is_own_temporary_folder(std::string_view folder, const std::vector<std::string>& fallbacks);

// The file's record, or the system's reason when it could not be read.
Result<ParsedSettings> read_settings_file(const std::string& path);

// The old file stays untouched on failure. With `keep_old`, the old file, if
// any, stays under a backup name never used before, which the result names
// (as its backup).
Result<platform::Replaced> write_settings_file(const std::string& path,
                                               const SettingsRecord& record, bool keep_old = false);

}  // namespace ombrelo
