#include "settings/settings.h"

#include "settings/codepage.h"
#include "settings/file_io.h"

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

// Splits the next line off `rest`; nullopt when there is none left.
struct Line {
  std::string_view text;
  bool cut = false;  // ran into the size limit before its end
};
std::optional<Line> next_line(std::string_view& rest, bool complete) {
  if (rest.empty()) return std::nullopt;
  const std::size_t nl = rest.find('\n');
  Line line;
  if (nl == std::string_view::npos) {
    line.text = rest;
    line.cut = !complete;
    rest = {};
  } else {
    line.text = rest.substr(0, nl);
    rest.remove_prefix(nl + 1);
  }
  if (!line.text.empty() && line.text.back() == '\r') line.text.remove_suffix(1);
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
  r.presentation = presentation.value_or(fallback.presentation);
  r.exePath = exePath.value_or(fallback.exePath);
  r.fontNm = fontNm.value_or(fallback.fontNm);
  r.fontSz = fontSz.value_or(fallback.fontSz);
  r.fontCl = fontCl.value_or(fallback.fontCl);
  r.fontBk = fontBk.value_or(fallback.fontBk);
  r.bottomLeft = bottomLeft.value_or(fallback.bottomLeft);
  r.bottomRight = bottomRight.value_or(fallback.bottomRight);
  return r;
}

std::string format_settings(const SettingsRecord& record) {
  const std::array<const std::string*, 3> texts = {&record.presentation, &record.exePath,
                                                   &record.fontNm};
  std::array<std::string, 3> encoded;
  bool ansi = true;
  for (std::size_t i = 0; i < texts.size() && ansi; ++i) {
    auto a = utf8_to_ansi(*texts[i]);
    if (a) {
      encoded[i] = std::move(*a);
    } else {
      ansi = false;
    }
  }
  std::string out;
  if (!ansi) {
    // The code page cannot hold a value: keep it intact as UTF-8 instead.
    out += kBom;
    for (std::size_t i = 0; i < texts.size(); ++i) encoded[i] = *texts[i];
  }
  auto line = [&out](std::string_view value) {
    out += value;
    out += kNewline;
  };
  for (const auto& text : encoded) line(quoted(text));
  line(format_number(record.fontSz));
  line(format_number(record.fontCl));
  line(std::to_string(record.fontBk));
  line(record.bottomLeft ? "#TRUE#" : "#FALSE#");
  line(record.bottomRight ? "#TRUE#" : "#FALSE#");
  return out;
}

ParsedSettings parse_settings(std::string_view bytes, bool complete) {
  ParsedSettings p;
  const bool utf8 = bytes.substr(0, kBom.size()) == kBom;
  if (utf8) bytes.remove_prefix(kBom.size());

  auto problem = [&p](int line, std::string reason) {
    p.problems.push_back({line, std::move(reason)});
  };

  auto text = [&](int line, std::string_view v, std::optional<std::string>& field) {
    if (utf8) {
      if (is_valid_utf8(v)) {
        field = std::string(v);
      } else {
        problem(line, "文字コードが正しくありません");
      }
      return;
    }
    if (auto u = ansi_to_utf8(v)) {
      field = std::move(*u);
    } else {
      problem(line, "文字コードが正しくありません");
    }
  };
  auto flag = [&](int line, std::string_view v, std::optional<bool>& field) {
    if (equals_ignoring_case(v, "#TRUE#")) {
      field = true;
    } else if (equals_ignoring_case(v, "#FALSE#")) {
      field = false;
    } else if (auto n = parse_number(v)) {
      field = n->value() != 0;
    } else {
      problem(line, "#TRUE# でも #FALSE# でもありません");
    }
  };

  std::string_view rest = bytes;
  for (int line = 1; line <= kSettingsLines; ++line) {
    const auto l = next_line(rest, complete);
    if (!l) {
      problem(line, "行がありません");
      continue;
    }
    if (l->cut) {
      problem(line, "行が長すぎます");
      continue;
    }
    const auto v = line_value(l->text);
    if (!v) {
      problem(line, "閉じる引用符 (\") がありません");
      continue;
    }
    switch (line) {
      case 1: text(line, *v, p.presentation); break;
      case 2: text(line, *v, p.exePath); break;
      case 3: text(line, *v, p.fontNm); break;
      case 4:
      case 5:
      case 6: {
        const auto n = parse_number(*v);
        if (!n) {
          problem(line, "数値ではありません");
        } else if (line == 4) {
          if (n->value() > 0 && n->value() <= kMaxFontSize) {
            p.fontSz = *n;
          } else {
            problem(line, "値が範囲外です");
          }
        } else if (const auto i = n->to_int32(); !i) {
          problem(line, "値が範囲外です");
        } else if (line == 5) {
          p.fontCl = *n;
        } else {
          p.fontBk = *i;
        }
        break;
      }
      case 7: flag(line, *v, p.bottomLeft); break;
      case 8: flag(line, *v, p.bottomRight); break;
    }
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
  auto file = fs::read_file(path, kMaxSettingsFileSize);
  if (!file.ok) {
    out.error = std::move(file.error);
    return out;
  }
  out.ok = true;
  out.settings = parse_settings(file.bytes, file.complete);
  return out;
}

std::string write_settings_file(const std::string& path, const SettingsRecord& record) {
  return fs::replace_file(path, format_settings(record));
}

}  // namespace ombrelo
