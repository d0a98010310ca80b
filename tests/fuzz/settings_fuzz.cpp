// Feeds arbitrary bytes to the settings reader: it must neither crash nor
// read out of bounds, and what it reads must write out again. The same bytes,
// taken as the three texts of a record, must come back from the file as the
// writer keeps them.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "settings/settings.h"
#include "settings/utf8.h"

namespace {

void check(bool holds) {
  if (!holds) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace ombrelo;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  for (bool complete : {true, false}) {
    const ParsedSettings p = parse_settings(bytes, complete);
    check(p.problems.size() <= kSettingsLines);
    const SettingsRecord& read = p.record;
    const std::string written = format_settings(read);
    check(format_settings(parse_settings(written).record) == written);
  }

  // Round trip of the texts: the input split in three at its NULs.
  if (!is_valid_utf8(bytes)) return 0;
  SettingsRecord r;
  std::string* texts[] = {&r.presentation_path, &r.viewer_path, &r.font_name};
  std::size_t field = 0;
  for (const char c : bytes) {
    if (c == '\0' && field < 2) {
      ++field;
    } else {
      *texts[field] += c;
    }
  }
  const ParsedSettings back = parse_settings(format_settings(r));
  const std::string* read[] = {&back.record.presentation_path, &back.record.viewer_path,
                               &back.record.font_name};
  for (std::size_t i = 0; i < 3; ++i) {
    const std::string kept = file_text(*texts[i]);
    // An empty viewer or font is refused on reading, by design.
    if (kept.empty() && i > 0) continue;
    for (const SettingsProblem& problem : back.problems) check(problem.line != int(i) + 1);
    check(*read[i] == kept);
  }
  check(back.record.font_size == Number::real(9.75) && back.record.corner == Corner::bottom_right);
  return 0;
}
