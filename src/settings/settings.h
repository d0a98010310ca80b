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
inline constexpr std::int32_t kDefaultForeColour = 65280;  // green
inline constexpr std::int32_t kDefaultBackColour = 0;      // black

// Everything the user chose, in the settings file's line order.
struct SettingsRecord {
  std::string presentation;
  std::string exePath{kDefaultViewerPath};
  std::string fontNm{kDefaultFontName};
  Number fontSz = Number::single(kDefaultFontSize);
  Number fontCl = Number::integer(kDefaultForeColour);
  std::int32_t fontBk = kDefaultBackColour;
  bool bottomLeft = false;
  bool bottomRight = true;

  bool operator==(const SettingsRecord&) const = default;
};

inline constexpr int kSettingsLines = 8;
// What each line holds, for messages to the user.
extern const std::array<std::string_view, kSettingsLines> kSettingsFieldNames;

// Largest font size a stored value may ask for, as the font dialog allows.
inline constexpr double kMaxFontSize = 1638;
// A settings file is a few hundred bytes; reading stops well beyond that.
inline constexpr std::size_t kMaxSettingsFileSize = 64 * 1024;

// A line of the settings file whose value could not be taken.
struct SettingsProblem {
  int line = 0;  // 1 to 8
  std::string reason;
  bool operator==(const SettingsProblem&) const = default;
};

// What a settings file gave: each field it could take, and a problem for each
// it could not.
struct ParsedSettings {
  std::optional<std::string> presentation, exePath, fontNm;
  std::optional<Number> fontSz, fontCl;
  std::optional<std::int32_t> fontBk;
  std::optional<bool> bottomLeft, bottomRight;
  std::vector<SettingsProblem> problems;

  // The record with `fallback`'s value wherever a field is missing.
  SettingsRecord complete_with(const SettingsRecord& fallback) const;
};

// The file's exact bytes: eight lines ended by CR LF, in the ANSI code page;
// as UTF-8 with a byte-order mark when the code page cannot hold a value.
std::string format_settings(const SettingsRecord& record);

// Reads the file's bytes. `complete` is false when they were cut short at a
// size limit, so that a last line without its end is not trusted.
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

// Empty on success, else the system's reason; the old file stays untouched
// on failure.
std::string write_settings_file(const std::string& path, const SettingsRecord& record);

}  // namespace ombrelo
