#include "settings/settings.h"

#include <algorithm>
#include <type_traits>

#include "platform/platform.h"
#include "settings/utf8.h"

namespace ombrelo {

const std::array<std::string_view, kSettingsLines> kSettingsFieldNames = {
    "プレゼンテーションのファイル",
    "PowerPoint のパス",
    "フォント名",
    "フォントサイズ",
    "文字色",
    "背景色",
    "左下",
    "右下",
};

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::string_view kNewline = "\r\n";

// Whether the bytes have the shape of code page 932 text: ASCII, half-width
// katakana (A1-DF), and double-byte characters, a lead byte (81-9F, E0-FC)
// followed by a trail byte (40-7E, 80-FC).
bool is_cp932_shaped(std::string_view bytes) {
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80 || (b >= 0xA1 && b <= 0xDF)) continue;
    if (!((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC)) || ++i == bytes.size()) {
      return false;
    }
    const auto t = static_cast<unsigned char>(bytes[i]);
    if (t < 0x40 || t == 0x7F || t > 0xFC) return false;
  }
  return true;
}

// Bytes without a mark that are taken for UTF-8 (as current Notepad saves).
// Half-width katakana in pairs are well-formed UTF-8 too (ﾃｽ is C3 BD, "ý"),
// so where both readings fit, the file format's own code page wins, unless
// a 3- or 4-byte sequence shows UTF-8: Japanese text in UTF-8 always has
// them, code page 932 text next to never. The writer makes sure its own
// code page bytes never read as UTF-8.
bool reads_as_utf8(std::string_view bytes) {
  if (!is_valid_utf8(bytes)) return false;
  const bool beyond_ascii = std::any_of(
      bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
  const bool long_sequence = std::any_of(
      bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) >= 0xE0; });
  return beyond_ascii && (long_sequence || !is_cp932_shaped(bytes));
}

std::string quoted(std::string_view s) {
  std::string out = "\"";
  out += s;
  out += '"';
  return out;
}

std::string_view trim_blanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

bool equals_ignoring_case(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// Splits the next line off `rest`; nullopt when there is none left. A line
// ends at CR LF, LF or CR alone (as old Mac editors write).
struct Line {
  std::string_view text;
  bool cut = false;  // ran into the size limit before its end
};
std::optional<Line> next_line(std::string_view& rest, bool complete) {
  if (rest.empty()) return std::nullopt;
  const std::size_t end = rest.find_first_of("\r\n");
  Line line;
  if (end == std::string_view::npos) {
    line.text = rest;
    line.cut = !complete;
    rest = {};
    return line;
  }
  line.text = rest.substr(0, end);
  const bool crlf = rest[end] == '\r' && end + 1 < rest.size() && rest[end + 1] == '\n';
  rest.remove_prefix(end + (crlf ? 2 : 1));
  return line;
}

// A line's value: the text between its first and its last double quote when
// it starts with one (so that a quote inside a value does not cut it short),
// else the line without surrounding blanks.
std::optional<std::string_view> line_value(std::string_view line) {
  line = trim_blanks(line);
  if (line.empty() || line.front() != '"') return line;
  const std::size_t close = line.rfind('"');
  if (close == 0) return std::nullopt;
  return line.substr(1, close - 1);
}

}  // namespace

SettingsRecord ParsedSettings::complete_with(const SettingsRecord& fallback) const {
  SettingsRecord r;
  r.presentation_path = presentation_path.value_or(fallback.presentation_path);
  r.viewer_path = viewer_path.value_or(fallback.viewer_path);
  r.font_name = font_name.value_or(fallback.font_name);
  r.font_size = font_size.value_or(fallback.font_size);
  r.text_colour = text_colour.value_or(fallback.text_colour);
  r.back_colour = back_colour.value_or(fallback.back_colour);
  r.bottom_left = bottom_left.value_or(fallback.bottom_left);
  r.bottom_right = bottom_right.value_or(fallback.bottom_right);
  return r;
}

std::string file_text(std::string_view text) {
  std::string out;
  std::size_t units = 0;
  for (const char c : text) {
    if (c == '\r' || c == '\n' || c == '\0') continue;
    const auto b = static_cast<unsigned char>(c);
    if ((b & 0xC0) != 0x80) {  // a character starts: one UTF-16 unit, two beyond the BMP
      units += b >= 0xF0 ? 2 : 1;
      if (units > kMaxTextUnits) break;
    }
    out += c;
  }
  return out;
}

std::string format_settings(const SettingsRecord& record) {
  const std::array<std::string, 3> texts = {file_text(record.presentation_path),
                                            file_text(record.viewer_path),
                                            file_text(record.font_name)};
  std::array<std::string, 3> encoded;
  bool ansi = true;
  for (std::size_t i = 0; i < texts.size() && ansi; ++i) {
    auto a = is_valid_utf8(texts[i]) ? platform::utf8_to_ansi(texts[i]) : std::nullopt;
    if (a) {
      encoded[i] = std::move(*a);
    } else {
      ansi = false;
    }
  }
  // A kanji with a lead byte of E0-EF before two bytes of 80-BF makes code
  // page 932 bytes that read as UTF-8.
  if (ansi && reads_as_utf8(encoded[0] + encoded[1] + encoded[2])) ansi = false;
  std::string out;
  if (!ansi) {
    // The code page cannot hold a value, or its bytes would read as another
    // text: keep it intact as UTF-8 instead.
    out += kBom;
    encoded = texts;
  }
  auto line = [&out](std::string_view value) {
    out += value;
    out += kNewline;
  };
  for (const auto& text : encoded) line(quoted(text));
  line(format_number(record.font_size));
  line(format_number(record.text_colour));
  line(std::to_string(record.back_colour));
  line(record.bottom_left ? "#TRUE#" : "#FALSE#");
  line(record.bottom_right ? "#TRUE#" : "#FALSE#");
  return out;
}

namespace {

// Each reader takes one line's value into its field, or says why it cannot.
using Problem = std::optional<std::string>;

Problem read_text(std::string_view v, bool utf8, bool may_be_empty,
                  std::optional<std::string>& field) {
  if (v.find('\0') != std::string_view::npos) return "NUL 文字が含まれています";
  if (v.empty() && !may_be_empty) return "値が空です";
  std::optional<std::string> u;
  if (utf8) {
    if (is_valid_utf8(v)) u = std::string(v);
  } else if (!(u = platform::ansi_to_utf8(v))) {
    u = platform::cp932_to_utf8(v);
  }
  if (!u) return "文字コードが正しくありません";
  field = std::move(*u);
  return std::nullopt;
}

Problem read_font_size(std::string_view v, std::optional<Number>& field) {
  const auto n = parse_number(v);
  if (!n) return "数値ではありません";
  if (n->value() <= 0 || n->value() > kMaxFontSize) return "値が範囲外です";
  field = *n;
  return std::nullopt;
}

// A colour: any number that rounds into 32 bits. The text colour keeps its
// number as read, the background the rounded integer.
template <typename Field>
Problem read_colour(std::string_view v, Field& field) {
  const auto n = parse_number(v);
  if (!n) return "数値ではありません";
  const auto i = n->to_int32();
  if (!i) return "値が範囲外です";
  if constexpr (std::is_same_v<Field, std::optional<Number>>) {
    field = *n;
  } else {
    field = *i;
  }
  return std::nullopt;
}

Problem read_flag(std::string_view v, std::optional<bool>& field) {
  if (equals_ignoring_case(v, "#TRUE#")) {
    field = true;
  } else if (equals_ignoring_case(v, "#FALSE#")) {
    field = false;
  } else if (const auto n = parse_number(v)) {
    field = n->value() != 0;
  } else {
    return "#TRUE# でも #FALSE# でもありません";
  }
  return std::nullopt;
}

Problem read_field(int line, std::string_view v, bool utf8, ParsedSettings& p) {
  switch (line) {
    case 1: return read_text(v, utf8, true, p.presentation_path);
    // The viewer and the font must name something.
    case 2: return read_text(v, utf8, false, p.viewer_path);
    case 3: return read_text(v, utf8, false, p.font_name);
    case 4: return read_font_size(v, p.font_size);
    case 5: return read_colour(v, p.text_colour);
    case 6: return read_colour(v, p.back_colour);
    case 7: return read_flag(v, p.bottom_left);
    default: return read_flag(v, p.bottom_right);
  }
}

}  // namespace

ParsedSettings parse_settings(std::string_view bytes, bool complete) {
  ParsedSettings p;
  std::string from_utf16;  // a file saved as Unicode by Notepad, as UTF-8
  const bool le = bytes.starts_with("\xFF\xFE"), be = bytes.starts_with("\xFE\xFF");
  const bool utf8 = le || be || bytes.starts_with(kBom) || reads_as_utf8(bytes);
  if (le || be) {
    from_utf16 = utf16_to_utf8(bytes.substr(2), be);
    bytes = from_utf16;
  } else if (bytes.starts_with(kBom)) {
    bytes.remove_prefix(kBom.size());
  }

  std::string_view rest = bytes;
  bool cut = false;
  for (int line = 1; line <= kSettingsLines; ++line) {
    const auto l = next_line(rest, complete);
    Problem problem;
    if (!l) {
      // Lines beyond a size limit may well be there: they were not read.
      problem = cut ? "ファイルが大きすぎるため読み取れません" : "行がありません";
    } else if (l->cut) {
      cut = true;
      problem = "行が長すぎます";
    } else if (const auto v = line_value(l->text); !v) {
      problem = "閉じる引用符 (\") がありません";
    } else {
      problem = read_field(line, *v, utf8, p);
    }
    if (problem) p.problems.push_back({line, std::move(*problem)});
  }
  return p;
}

std::string settings_path_for(std::string_view exe_path) {
  const std::size_t slash = exe_path.find_last_of("\\/");
  const std::string_view folder =
      slash == std::string_view::npos ? std::string_view{} : exe_path.substr(0, slash);
  std::string_view name = slash == std::string_view::npos ? exe_path : exe_path.substr(slash + 1);
  if (const std::size_t dot = name.rfind('.'); dot != std::string_view::npos) {
    name = name.substr(0, dot);
  }
  std::string path(folder);
  path += '\\';
  path += name;
  path += ".ini";
  return path;
}

SettingsRead read_settings_file(const std::string& path) {
  SettingsRead out;
  auto file = platform::read_file(path, kMaxSettingsFileSize);
  if (!file.ok) {
    out.error = std::move(file.error);
    return out;
  }
  out.ok = true;
  out.settings = parse_settings(file.bytes, file.complete);
  return out;
}

std::string write_settings_file(const std::string& path, const SettingsRecord& record,
                                std::string* kept_as) {
  return platform::replace_file(path, format_settings(record), kept_as);
}

}  // namespace ombrelo
