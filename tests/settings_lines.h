#pragma once

// The settings file as the tests write it, for the unit and the end-to-end
// suites alike: its eight lines, and the values they share.

#include <string>

namespace ombrelo::test {

// "ＭＳ Ｐゴシック" in code page 932.
inline const std::string kFontCp932 =
    "\x82l\x82r \x82o\x83S\x83V\x83"
    "b\x83N";

// Where Office puts PowerPoint, the viewer a first run looks for.
inline const std::string kDefaultViewer =
    "C:\\Program Files\\Microsoft Office\\Office\\POWERPNT.EXE";

// Eight lines, each value as the line shows it (a text without its quotes),
// each ended by CR LF. Left as they are, the values are a first run's.
inline std::string settings_lines(const std::string& presentation = "",
                                  const std::string& viewer = kDefaultViewer,
                                  const std::string& font = kFontCp932,
                                  const std::string& size = "9.75",
                                  const std::string& fore = "65280", const std::string& back = "0",
                                  const std::string& left = "#FALSE#",
                                  const std::string& right = "#TRUE#") {
  std::string out;
  for (const std::string& line : {"\"" + presentation + "\"", "\"" + viewer + "\"",
                                  "\"" + font + "\"", size, fore, back, left, right}) {
    out += line + "\r\n";
  }
  return out;
}

}  // namespace ombrelo::test
