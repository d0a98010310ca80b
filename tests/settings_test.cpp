// The settings record's file form: exact bytes written, values read back,
// and what a damaged file yields.
#include "settings/settings.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#endif

#include "settings_lines.h"

namespace ombrelo {
namespace {

using namespace std::string_literals;

using test::kFontCp932;
const std::string kDefaultFile = test::settings_lines();

TEST(SettingsFormat, DefaultRecordIsWrittenByteForByteInCodePage932) {
  EXPECT_EQ(format_settings(SettingsRecord{}), kDefaultFile);
}

TEST(SettingsFormat, FlagsAndEmptyPath) {
  SettingsRecord r;
  r.corner = Corner::bottom_left;
  const std::string bytes = format_settings(r);
  EXPECT_EQ(bytes.substr(0, 4), "\"\"\r\n");
  EXPECT_TRUE(bytes.ends_with("\r\n0\r\n#TRUE#\r\n#FALSE#\r\n"));
}

TEST(SettingsRoundTrip, ValuesComeBackAndAreWrittenAgainTheSame) {
  SettingsRecord r;
  r.presentation_path = "C:\\発表\\講演 2026.ppt";
  r.viewer_path = "D:\\Office\\POWERPNT.EXE";
  r.font_name = "Arial";
  r.font_size = Number::single(9.75f);
  r.text_colour = Number::integer(255);
  r.back_colour = 16777215;
  r.corner = Corner::bottom_left;
  const std::string bytes = format_settings(r);
  EXPECT_NE(bytes.find("\"C:\\\x94\xad\x95\x5c\\\x8du\x89\x89 2026.ppt\""), std::string::npos)
      << "the Japanese path is stored in code page 932";

  const ParsedSettings p = parse_settings(bytes);
  EXPECT_TRUE(p.problems.empty());
  const SettingsRecord back = p.record;
  EXPECT_EQ(back.presentation_path, r.presentation_path);
  EXPECT_EQ(back.font_size, Number::real(9.75)) << "a decimal comes back as a double";
  EXPECT_EQ(back.text_colour, Number::integer(255));
  EXPECT_EQ(back.back_colour, 16777215);
  EXPECT_EQ(back.corner, Corner::bottom_left);
  EXPECT_EQ(format_settings(back), bytes);

  // Half a surrogate pair, as Windows allows in a name (held as WTF-8),
  // has no form in the file: the saved text stays, and nothing else moves.
  SettingsRecord lone = back;
  lone.presentation_path = "C:\\a\xED\xA0\xBD";
  const auto kept = keep_saved_texts(lone, r);
  EXPECT_EQ(kept.size() == 1 ? kept[0].line : 0, 1);
  EXPECT_EQ(lone, back);
  EXPECT_TRUE(keep_saved_texts(lone, {}).empty()) << "every other text is stored";
}

TEST(SettingsRoundTrip, TextOutsideTheCodePageFallsBackToUtf8WithBom) {
  SettingsRecord r;
  // "£" maps to code page 932 only one way, as "￡", which reads back as
  // another character.
  EXPECT_EQ(format_settings({.presentation_path = "C:\\£.ppt"}).substr(0, 3), "\xEF\xBB\xBF");
  // "ﾃｽ" and "ﾏｲ" in code page 932 are C3 BD and CF B2, well-formed UTF-8 too:
  // a legacy file of them reads as written and is written back the same.
  const std::string legacy =
      test::settings_lines("C:\\\xC3\xBD\\talk.ppt", "C:\\\xCF\xB2\\POWERPNT.EXE", "Arial");
  EXPECT_EQ(parse_settings(legacy).record.presentation_path, "C:\\ﾃｽ\\talk.ppt");
  EXPECT_EQ(format_settings(parse_settings(legacy).record), legacy);
  // A kanji with lead byte E0-EF and a katakana after it reads as UTF-8.
  const SettingsRecord kanji{.presentation_path = "C:\\轢｡.ppt", .font_name = "Arial"};
  EXPECT_EQ(parse_settings(format_settings(kanji)).record.presentation_path,
            kanji.presentation_path);
  r.presentation_path = "C:\\talks\\Ünïcødé ☃ 😀.ppt";  // not all in code page 932
  const std::string bytes = format_settings(r);
  ASSERT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF");
  EXPECT_NE(bytes.find("\"ＭＳ Ｐゴシック\""), std::string::npos) << "every text is UTF-8 then";
  const ParsedSettings p = parse_settings(bytes);
  EXPECT_TRUE(p.problems.empty());
  EXPECT_EQ(p.record.presentation_path, r.presentation_path);
  EXPECT_EQ(format_settings(p.record), bytes);
}

TEST(SettingsRead, BlanksAroundValuesAreSkipped) {
  const ParsedSettings p = parse_settings(
      "  \"a b \"  \r\n\t\"x\"\r\n\"f\"\r\n \t12 \t\r\n 255\r\n\t-1\r\n  #TRUE#  \r\n#false#");
  EXPECT_TRUE(p.problems.empty());
  EXPECT_EQ(p.record.presentation_path, "a b ");
  EXPECT_EQ(p.record.font_size, Number::integer(12));
  EXPECT_EQ(p.record.text_colour, Number::integer(255));
  EXPECT_EQ(p.record.back_colour, -1);
  EXPECT_EQ(p.record.corner, Corner::bottom_left) << "last line without its line end, any case";
}

TEST(SettingsRead, UnquotedTextAndNumericFlags) {
  const ParsedSettings p = parse_settings("plain\nC:\\v.exe\nArial\n10.5\n1.0\n0\n-1\n0\n");
  EXPECT_TRUE(p.problems.empty());
  EXPECT_EQ(p.record.presentation_path, "plain");
  EXPECT_EQ(p.record.font_size, Number::real(10.5));
  EXPECT_EQ(p.record.text_colour, Number::real(1.0));
  EXPECT_EQ(p.record.corner, Corner::bottom_left) << "a non-zero number is true";
  // Both flags set, from a hand-edited file: bottom-right, the later one.
  EXPECT_EQ(parse_settings("\"\"\n\"v\"\n\"f\"\n5\n1\n1\n1\n1\n").record.corner,
            Corner::bottom_right);
}

TEST(SettingsRead, QuoteInsideAValueDoesNotCutItShort) {
  SettingsRecord r;
  r.presentation_path = "C:\\odd\"name.ppt";
  EXPECT_EQ(parse_settings(format_settings(r)).record.presentation_path, r.presentation_path);
}

// Whatever the texts hold, the file keeps its eight lines, and the reader
// takes back everything the writer makes.
TEST(SettingsFormat, TextsNeverBreakTheLinesAndAlwaysReadBack) {
  SettingsRecord r;
  r.presentation_path = "C:\\x.ppt\r\n\"Z:\\evil.exe\"\n\0"s;
  std::string bytes = format_settings(r);
  EXPECT_EQ(bytes.substr(0, bytes.find("\r\n")), "\"C:\\x.ppt\"Z:\\evil.exe\"\"");
  EXPECT_EQ(parse_settings(bytes).record.viewer_path, r.viewer_path);

  // Three texts at the edit box's limit and beyond, in either encoding.
  for (const std::string& unit : {std::string("講"), std::string("☃")}) {
    std::string longest;
    for (std::size_t i = 0; i < kMaxTextUnits + 100; ++i) longest += unit;
    r.presentation_path = r.viewer_path = r.font_name = longest;
    bytes = format_settings(r);
    EXPECT_LE(bytes.size(), kMaxSettingsFileSize);
    const ParsedSettings p = parse_settings(bytes, bytes.size() <= kMaxSettingsFileSize);
    EXPECT_TRUE(p.problems.empty()) << p.problems[0].line;
    EXPECT_EQ(p.record.font_name.size(), kMaxTextUnits * unit.size()) << "cut at the limit";
    EXPECT_EQ(p.record.corner, Corner::bottom_right);
  }
}

// A text as Notepad saves it as Unicode, with its byte-order mark.
std::string utf16(std::u16string_view text, bool big_endian) {
  std::string out = big_endian ? "\xFE\xFF" : "\xFF\xFE";
  for (const char16_t u : text) {
    const char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
    out += big_endian ? hi : lo;
    out += big_endian ? lo : hi;
  }
  return out;
}

std::vector<int> problem_lines(const ParsedSettings& p) {
  std::vector<int> lines;
  for (const auto& pr : p.problems) {
    lines.push_back(pr.line);
  }
  return lines;
}

TEST(SettingsRead, DamagedLinesAreReportedAndTheRestIsKept) {
  const ParsedSettings p = parse_settings(
      "\"C:\\a.ppt\"\r\n"
      "\"C:\\no end\r\n"  // missing closing quote
      "\"Arial\"\r\n"
      "big\r\n"          // not a number
      "1e5\r\n"          // not the file's number form
      "99999999999\r\n"  // beyond 32 bits
      "maybe\r\n"        // not a flag
      "#TRUE#\r\n");
  EXPECT_EQ(problem_lines(p), (std::vector<int>{2, 4, 5, 6, 7}));
  EXPECT_EQ(p.record.presentation_path, "C:\\a.ppt");
  EXPECT_EQ(p.record.font_name, "Arial");
  EXPECT_EQ(p.record.corner, Corner::bottom_right);
  const SettingsRecord r = p.record;
  EXPECT_EQ(r.viewer_path, SettingsRecord{}.viewer_path);
  EXPECT_EQ(r.font_size, SettingsRecord{}.font_size);
  EXPECT_EQ(r.corner, Corner::bottom_right);
}

TEST(SettingsRead, MissingLinesAndImpossibleSizes) {
  EXPECT_EQ(problem_lines(parse_settings("")), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8}));
  EXPECT_EQ(problem_lines(parse_settings("\"a\"\r\n\"b\"\r\n\"c\"\r\n0\r\n")),
            (std::vector<int>{4, 5, 6, 7, 8}));
  EXPECT_EQ(problem_lines(parse_settings("\"\"\n\"v\"\n\"f\"\n-3\n1\n1\n1\n1\n")),
            (std::vector<int>{4}));
  EXPECT_EQ(problem_lines(parse_settings("\"\"\n\"v\"\n\"f\"\n5000\n1\n1\n1\n1\n")),
            (std::vector<int>{4}));
  EXPECT_EQ(problem_lines(parse_settings("\"\"\n\"v\"\n\"f\"\n5\n4294967296.0\n1\n1\n1\n")),
            (std::vector<int>{5}));
}

TEST(SettingsRead, BadBytesAndCutFiles) {
  // A lone lead byte is not code page 932; a BOM file must be real UTF-8.
  EXPECT_EQ(problem_lines(parse_settings("\"\x82\"\n\"v\"\n\"f\"\n5\n1\n1\n1\n1\n")),
            (std::vector<int>{1}));
  EXPECT_EQ(problem_lines(parse_settings("\xEF\xBB\xBF\"\xC3\"\n\"v\"\n\"f\"\n5\n1\n1\n1\n1\n")),
            (std::vector<int>{1}));
  // A NUL inside a text, and an empty viewer or font, are damage too.
  EXPECT_EQ(problem_lines(parse_settings("\"C:\\a\0b.ppt\"\n\"\"\n\"\"\n5\n1\n1\n1\n1\n"s)),
            (std::vector<int>{1, 2, 3}));
  // A text longer than the file keeps is damage too, never cut unsaid.
  EXPECT_EQ(problem_lines(parse_settings('"' + std::string(kMaxTextUnits + 1, 'a') +
                                         "\"\n\"v\"\n\"f\"\n5\n1\n1\n1\n1\n")),
            (std::vector<int>{1}));
  // A UTF-16 unit that pairs with nothing spoils its own line alone.
  EXPECT_EQ(
      problem_lines(parse_settings(utf16(u"\"\xD800\"\n\"v\"\n\"f\"\n5\n1\n1\n1\n1\n", false))),
      (std::vector<int>{1}));
  // A file cut at the size limit: its last, unfinished line is not trusted,
  // and the lines after it are not called missing.
  const ParsedSettings cut = parse_settings("\"a\"\n\"b\"\n\"cccc", false);
  EXPECT_EQ(problem_lines(cut), (std::vector<int>{3, 4, 5, 6, 7, 8}));
  EXPECT_EQ(cut.problems[0].fault, LineFault::line_too_long);
  EXPECT_EQ(cut.problems[1].fault, LineFault::beyond_the_limit);
}

// Files other editors saved: Notepad's UTF-16 either way round and its
// UTF-8 without a byte-order mark, and lines ended by CR alone; each reads
// as the same record.
TEST(SettingsRead, OtherEditorsFilesReadTheSame) {
  const char16_t* text =
      u"\"C:\\講演 "
      u"😀.ppt\"\r\n\"C:\\v.exe\"\r\n\"Arial\"\r\n12\r\n255\r\n0\r\n#TRUE#\r\n#FALSE#\r\n";
  std::string cr_only = "\"C:\\x.ppt\"\r\"C:\\v.exe\"\r\"Arial\"\r12\r255\r0\r#TRUE#\r#FALSE#\r";
  std::string notepad = test::settings_lines("C:\\発表資料\\テスト.ppt", "C:\\v.exe", "Arial", "12",
                                             "255", "0", "#TRUE#", "#FALSE#");
  for (const std::string& bytes : {utf16(text, false), utf16(text, true), cr_only, notepad}) {
    const ParsedSettings p = parse_settings(bytes);
    EXPECT_TRUE(p.problems.empty()) << p.problems.size();
    EXPECT_EQ(p.record.viewer_path, "C:\\v.exe");
    EXPECT_EQ(p.record.font_name, "Arial");
    EXPECT_EQ(p.record.text_colour, Number::integer(255));
    EXPECT_EQ(p.record.corner, Corner::bottom_left);
  }
  EXPECT_EQ(parse_settings(utf16(text, true)).record.presentation_path, "C:\\講演 😀.ppt");
  EXPECT_EQ(parse_settings(notepad).record.presentation_path, "C:\\発表資料\\テスト.ppt");
}

#ifdef _WIN32
// Windows' "Beta: Unicode UTF-8" option makes the ANSI code page 65001.
TEST(Utf8CodePage, FilesAreWrittenAsUtf8AndJapaneseFilesStillRead) {
  if (GetACP() != CP_UTF8) GTEST_SKIP() << "ANSI code page " << GetACP();
  const std::string bytes = format_settings(SettingsRecord{});
  EXPECT_TRUE(bytes.starts_with("\xEF\xBB\xBF\"\"\r\n")) << "UTF-8 with its byte-order mark";
  EXPECT_EQ(format_settings(parse_settings(bytes).record), bytes);
  // A file from a code page 932 system, without a byte-order mark.
  const ParsedSettings p = parse_settings(kDefaultFile);
  EXPECT_TRUE(p.problems.empty());
  EXPECT_EQ(p.record.font_name, SettingsRecord{}.font_name);
}
#endif

}  // namespace
}  // namespace ombrelo
