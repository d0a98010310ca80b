// The Linux build's code page conversions, through iconv's CP932 tables, so
// that the native tests see the same bytes as the Windows build. iconv maps
// some characters one way ("£" to "￡"), where Windows without best fit
// refuses them: only a conversion that comes back unchanged counts.
#include <iconv.h>

#include <cerrno>

#include "platform/platform.h"

namespace ombrelo::platform {
namespace {

std::optional<std::string> convert(const char* to, const char* from, std::string_view in) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string out(in.size() * 4 + 4, '\0');
  char* src = const_cast<char*>(in.data());
  std::size_t src_left = in.size();
  char* dst = out.data();
  std::size_t dst_left = out.size();
  const std::size_t r = iconv(cd, &src, &src_left, &dst, &dst_left);
  iconv_close(cd);
  if (r == static_cast<std::size_t>(-1) || src_left != 0) return std::nullopt;
  out.resize(out.size() - dst_left);
  return out;
}

// Writing, only what comes back unchanged.
std::optional<std::string> round_trip(const char* to, const char* from, std::string_view in) {
  auto out = convert(to, from, in);
  if (!out || convert(from, to, *out) != in) return std::nullopt;
  return out;
}

}  // namespace

std::optional<std::string> utf8_to_ansi(std::string_view utf8) {
  return round_trip("CP932", "UTF-8", utf8);
}

// Reading takes every mapping, as MultiByteToWideChar does: several code
// page 932 codes of one character all read as that character.
std::optional<std::string> ansi_to_utf8(std::string_view ansi) {
  return convert("UTF-8", "CP932", ansi);
}

std::optional<std::string> cp932_to_utf8(std::string_view bytes) { return ansi_to_utf8(bytes); }

}  // namespace ombrelo::platform
