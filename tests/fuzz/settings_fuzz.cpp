// Feeds arbitrary bytes to the settings reader: it must neither crash nor
// read out of bounds, and what it reads must write out again.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "settings/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  for (bool complete : {true, false}) {
    const ombrelo::ParsedSettings p = ombrelo::parse_settings(bytes, complete);
    if (p.problems.size() > ombrelo::kSettingsLines) __builtin_trap();
    (void)ombrelo::format_settings(p.complete_with({}));
  }
  return 0;
}
