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

// How the file holds its texts: in the ANSI code page, or as UTF-8 (after a
// byte-order mark, or recognised as such). Writing, it gathers the texts'
// bytes, to see whether the file would read back as UTF-8, and notes a text
// its encoding cannot hold.
struct Texts {
  bool utf8 = false;
  std::string gathered = {};
  bool all_held = true;
};

// A reader takes one line's value into its field (no fault), or gives the
// fault and leaves the field as it was. A writer gives the line's value; a
// text the encoding cannot hold is left out, and noted in the Texts.
using Fault = std::optional<LineFault>;

Fault read_text(std::string_view v, const Texts& texts, bool may_be_empty, std::string& field) {
  if (v.find('\0') != std::string_view::npos) return LineFault::nul;
  if (v.empty() && !may_be_empty) return LineFault::empty;
  std::optional<std::string> u;
  if (texts.utf8) {
    if (is_valid_utf8(v)) u = std::string(v);
  } else if (!(u = platform::ansi_to_utf8(v))) {
    u = platform::cp932_to_utf8(v);
  }
  if (!u) return LineFault::bad_encoding;
  // Longer than any path Windows takes: kept whole in the old file rather
  // than cut short at the next save.
  if (file_text(*u).size() < u->size()) {
    return LineFault::text_too_long;
  }
  field = std::move(*u);
  return std::nullopt;
}

std::string write_text(const std::string& field, Texts& texts) {
  std::string text = file_text(field);
  if (!texts.utf8) {
    auto ansi = is_valid_utf8(text) ? platform::utf8_to_ansi(text) : std::nullopt;
    if (!ansi) {
      texts.all_held = false;
      return {};
    }
    text = std::move(*ansi);
  }
  texts.gathered += text;
  return quoted(text);
}

Fault read_font_size(std::string_view v, Number& field) {
  const auto n = parse_number(v);
  if (!n) return LineFault::not_a_number;
  if (n->value() <= 0 || n->value() > kMaxFontSize) return LineFault::out_of_range;
  field = *n;
  return std::nullopt;
}

// A colour: any number that rounds into 32 bits. A number field keeps it as
// read, an integer field the rounded value.
template <typename Field>
Fault read_colour(std::string_view v, Field& field) {
  const auto n = parse_number(v);
  if (!n) return LineFault::not_a_number;
  const auto i = n->to_int32();
  if (!i) return LineFault::out_of_range;
  if constexpr (std::is_same_v<Field, Number>) {
    field = *n;
  } else {
    field = *i;
  }
  return std::nullopt;
}

Fault read_flag(std::string_view v, bool& field) {
  if (equals_ignoring_case(v, "#TRUE#")) {
    field = true;
  } else if (equals_ignoring_case(v, "#FALSE#")) {
    field = false;
  } else if (const auto n = parse_number(v)) {
    field = n->value() != 0;
  } else {
    return LineFault::not_a_flag;
  }
  return std::nullopt;
}

std::string write_flag(bool field) { return field ? "#TRUE#" : "#FALSE#"; }

// What the lines hold: the record, with its corner as the two corner
// options' flags, which only the file keeps apart. Both set (a hand-edited
// file) is bottom-right, as in the option group, where the later one
// turns the earlier off; neither is no corner.
struct Lines {
  explicit Lines(const SettingsRecord& r)
      : record(r),
        bottom_left(r.corner == Corner::bottom_left),
        bottom_right(r.corner == Corner::bottom_right) {}
  SettingsRecord resolved() const {
    SettingsRecord r = record;
    r.corner = Corner::none;
    if (bottom_left) r.corner = Corner::bottom_left;
    if (bottom_right) r.corner = Corner::bottom_right;
    return r;
  }
  SettingsRecord record;
  bool bottom_left, bottom_right;
};

// One line of the file: what it holds, for messages, and how its value is
// read into the lines and written from them.
using Value = std::string_view;
struct SettingsField {
  std::string_view label;
  Fault (*read)(Value value, const Texts& texts, Lines& lines);
  std::string (*write)(const Lines& lines, Texts& texts);
};

// The settings file's lines, in order: the one place that lists them.
constexpr SettingsField kSettingsFields[] = {
    {"プレゼンテーションのファイル",
     [](Value v, const Texts& t, Lines& l) {
       return read_text(v, t, true, l.record.presentation_path);
     },
     [](const Lines& l, Texts& t) { return write_text(l.record.presentation_path, t); }},
    {"PowerPoint のパス",
     [](Value v, const Texts& t, Lines& l) { return read_text(v, t, false, l.record.viewer_path); },
     [](const Lines& l, Texts& t) { return write_text(l.record.viewer_path, t); }},
    {"フォント名",
     [](Value v, const Texts& t, Lines& l) { return read_text(v, t, false, l.record.font_name); },
     [](const Lines& l, Texts& t) { return write_text(l.record.font_name, t); }},
    {"フォントサイズ",
     [](Value v, const Texts&, Lines& l) { return read_font_size(v, l.record.font_size); },
     [](const Lines& l, Texts&) -> std::string { return format_number(l.record.font_size); }},
    {"文字色", [](Value v, const Texts&, Lines& l) { return read_colour(v, l.record.text_colour); },
     [](const Lines& l, Texts&) -> std::string { return format_number(l.record.text_colour); }},
    {"背景色", [](Value v, const Texts&, Lines& l) { return read_colour(v, l.record.back_colour); },
     [](const Lines& l, Texts&) -> std::string { return std::to_string(l.record.back_colour); }},
    {"左下", [](Value v, const Texts&, Lines& l) { return read_flag(v, l.bottom_left); },
     [](const Lines& l, Texts&) -> std::string { return write_flag(l.bottom_left); }},
    {"右下", [](Value v, const Texts&, Lines& l) { return read_flag(v, l.bottom_right); },
     [](const Lines& l, Texts&) -> std::string { return write_flag(l.bottom_right); }},
};
static_assert(std::size(kSettingsFields) == kSettingsLines);

// The whole file in that encoding; whether it holds every text, the Texts
// say.
std::string format_lines(const SettingsRecord& record, Texts& texts) {
  std::string out;
  const Lines lines(record);
  for (const SettingsField& f : kSettingsFields) {
    out += f.write(lines, texts);
    out += kNewline;
  }
  return out;
}

}  // namespace

std::string_view settings_line_label(int line) {
  return kSettingsFields[static_cast<std::size_t>(line - 1)].label;
}

std::string format_settings(const SettingsRecord& record) {
  // In the ANSI code page, unless it cannot hold a value or its bytes would
  // read as another text (a kanji with a lead byte of E0-EF before two bytes
  // of 80-BF reads as UTF-8): then UTF-8, which keeps every value intact,
  // after a byte-order mark.
  Texts ansi;
  if (std::string out = format_lines(record, ansi); ansi.all_held && !reads_as_utf8(ansi.gathered))
    return out;
  Texts utf8{.utf8 = true};
  return std::string(kBom) + format_lines(record, utf8);
}

std::vector<SettingsProblem> keep_saved_texts(SettingsRecord& record, const SettingsRecord& saved) {
  std::vector<SettingsProblem> kept;
  Lines lines(record);
  const Lines saved_lines(saved);
  for (int line = 1; line <= kSettingsLines; ++line) {
    const SettingsField& f = kSettingsFields[static_cast<std::size_t>(line - 1)];
    Texts text{.utf8 = true};  // a text line's writer gathers its bytes here
    f.write(lines, text);
    if (is_valid_utf8(text.gathered)) continue;
    // The saved value goes in through the line's own reader, as the file
    // gave it.
    Texts from_saved{.utf8 = true};
    f.read(line_value(f.write(saved_lines, from_saved)).value_or(""), from_saved, lines);
    kept.push_back({line, LineFault::unstorable, text.gathered});
  }
  record = lines.resolved();
  return kept;
}

ParsedSettings parse_settings(std::string_view bytes, bool complete) {
  ParsedSettings p;
  Lines lines(p.record);
  std::string from_utf16;  // a file saved as Unicode by Notepad, as UTF-8
  const bool le = bytes.starts_with("\xFF\xFE"), be = bytes.starts_with("\xFE\xFF");
  const Texts texts{.utf8 = le || be || bytes.starts_with(kBom) || reads_as_utf8(bytes)};
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
    Fault fault;
    if (!l) {
      // Lines beyond a size limit may well be there: they were not read.
      fault = cut ? LineFault::beyond_the_limit : LineFault::missing;
    } else if (l->cut) {
      cut = true;
      fault = LineFault::line_too_long;
    } else if (const auto v = line_value(l->text); !v) {
      fault = LineFault::no_closing_quote;
    } else {
      fault = kSettingsFields[static_cast<std::size_t>(line - 1)].read(*v, texts, lines);
    }
    if (fault) p.problems.push_back({line, *fault});
  }
  p.record = lines.resolved();
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

namespace {
bool separator(char c) { return c == '\\' || c == '/'; }
std::string_view without_trailing_separators(std::string_view folder) {
  while (!folder.empty() && separator(folder.back())) folder.remove_suffix(1);
  return folder;
}
}  // namespace

bool is_inside_folder(std::string_view path, std::string_view folder) {
  folder = without_trailing_separators(folder);
  return !folder.empty() && path.size() > folder.size() && separator(path[folder.size()]) &&
         equals_ignoring_case(path.substr(0, folder.size()), folder);
}

bool is_own_temporary_folder(std::string_view folder, const std::vector<std::string>& fallbacks) {
  folder = without_trailing_separators(folder);
  const bool drive_root = folder.size() <= 2;  // "C:", or nothing
  // "\\server\share": two separators, a name, one more, a name.
  const bool share_root = folder.size() > 2 && separator(folder[0]) && separator(folder[1]) &&
                          std::count_if(folder.begin() + 2, folder.end(), separator) <= 1;
  return !drive_root && !share_root &&
         std::none_of(fallbacks.begin(), fallbacks.end(), [folder](const std::string& f) {
           return equals_ignoring_case(without_trailing_separators(f), folder);
         });
}

Result<ParsedSettings> read_settings_file(const std::string& path) {
  const auto file = platform::read_file(path, kMaxSettingsFileSize);
  if (!file) return Result<ParsedSettings>::failure(file.reason());
  return parse_settings(file.value().bytes, file.value().complete);
}

Result<platform::Replaced> write_settings_file(const std::string& path,
                                               const SettingsRecord& record, bool keep_old) {
  return platform::replace_file(path, format_settings(record), keep_old);
}

}  // namespace ombrelo
