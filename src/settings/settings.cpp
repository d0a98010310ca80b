#include "settings/settings.h"

#include <algorithm>
#include <type_traits>
#include <vector>

#include "platform/platform.h"
#include "settings/utf8.h"

namespace ombrelo {

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

namespace {

template <typename T>
using Member = T SettingsRecord::*;

}  // namespace

std::string format_settings(const SettingsRecord& record) {
  // The texts first: one encoding holds them all.
  std::vector<std::string> texts, encoded;
  for (const SettingsField& f : kSettingsFields) {
    if (const auto* m = std::get_if<Member<std::string>>(&f.member)) {
      texts.push_back(file_text(record.**m));
    }
  }
  bool ansi = true;
  for (const std::string& text : texts) {
    auto a = is_valid_utf8(text) ? platform::utf8_to_ansi(text) : std::nullopt;
    if (!a) {
      ansi = false;
      break;
    }
    encoded.push_back(std::move(*a));
  }
  // A kanji with a lead byte of E0-EF before two bytes of 80-BF makes code
  // page 932 bytes that read as UTF-8.
  std::string joined;
  for (const std::string& e : encoded) joined += e;
  if (ansi && reads_as_utf8(joined)) ansi = false;
  std::string out;
  if (!ansi) {
    // The code page cannot hold a value, or its bytes would read as another
    // text: keep it intact as UTF-8 instead.
    out += kBom;
    encoded = texts;
  }
  auto next_text = encoded.begin();
  for (const SettingsField& f : kSettingsFields) {
    std::visit(
        [&](auto member) {
          const auto& value = record.*member;
          using T = std::remove_cvref_t<decltype(value)>;
          if constexpr (std::is_same_v<T, std::string>) {
            out += quoted(*next_text++);
          } else if constexpr (std::is_same_v<T, Number>) {
            out += format_number(value);
          } else if constexpr (std::is_same_v<T, bool>) {
            out += value ? "#TRUE#" : "#FALSE#";
          } else {
            out += std::to_string(value);
          }
        },
        f.member);
    out += kNewline;
  }
  return out;
}

namespace {

// Each reader takes one line's value into its field, or says why it cannot
// and leaves the field as it was.
using Problem = std::optional<std::string>;

Problem read_text(std::string_view v, bool utf8, bool may_be_empty, std::string& field) {
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

Problem read_font_size(std::string_view v, Number& field) {
  const auto n = parse_number(v);
  if (!n) return "数値ではありません";
  if (n->value() <= 0 || n->value() > kMaxFontSize) return "値が範囲外です";
  field = *n;
  return std::nullopt;
}

// A colour: any number that rounds into 32 bits. A number field keeps it as
// read, an integer field the rounded value.
template <typename Field>
Problem read_colour(std::string_view v, Field& field) {
  const auto n = parse_number(v);
  if (!n) return "数値ではありません";
  const auto i = n->to_int32();
  if (!i) return "値が範囲外です";
  if constexpr (std::is_same_v<Field, Number>) {
    field = *n;
  } else {
    field = *i;
  }
  return std::nullopt;
}

Problem read_flag(std::string_view v, bool& field) {
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

Problem read_field(const SettingsField& f, std::string_view v, bool utf8, SettingsRecord& r) {
  return std::visit(
      [&](auto member) -> Problem {
        auto& field = r.*member;
        using T = std::remove_cvref_t<decltype(field)>;
        if constexpr (std::is_same_v<T, std::string>) {
          return read_text(v, utf8, f.rule == FieldRule::any_text, field);
        } else if constexpr (std::is_same_v<T, bool>) {
          return read_flag(v, field);
        } else if constexpr (std::is_same_v<T, Number>) {
          return f.rule == FieldRule::font_size ? read_font_size(v, field) : read_colour(v, field);
        } else {
          return read_colour(v, field);
        }
      },
      f.member);
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
      problem = read_field(kSettingsFields[static_cast<std::size_t>(line - 1)], *v, utf8, p.record);
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

Result<ParsedSettings> read_settings_file(const std::string& path) {
  const auto file = platform::read_file(path, kMaxSettingsFileSize);
  if (!file) return Result<ParsedSettings>::failure(file.reason());
  return parse_settings(file.value().bytes, file.value().complete);
}

Result<std::string> write_settings_file(const std::string& path, const SettingsRecord& record,
                                        bool keep_old) {
  return platform::replace_file(path, format_settings(record), keep_old);
}

}  // namespace ombrelo
