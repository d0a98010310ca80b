#include "settings/number.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace ombrelo {

double round_half_even(double v) {
  double r = std::round(v);  // halves away from zero
  if (std::fabs(v - std::trunc(v)) == 0.5 && std::fmod(r, 2.0) != 0.0) {
    r -= std::copysign(1.0, v);
  }
  return r;
}

std::optional<std::int32_t> Number::to_int32() const {
  if (!std::isfinite(value_)) return std::nullopt;
  const double r = round_half_even(value_);
  if (r < std::numeric_limits<std::int32_t>::min() ||
      r > std::numeric_limits<std::int32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(r);
}

std::int32_t Number::to_colour() const {
  if (auto v = to_int32()) return *v;
  if (std::isnan(value_)) return 0;
  return value_ < 0 ? std::numeric_limits<std::int32_t>::min()
                    : std::numeric_limits<std::int32_t>::max();
}

std::string format_decimal(double v, int significant) {
  if (!std::isfinite(v)) return "0";
  if (v == 0) return "0";
  // Scientific form gives the correctly rounded significant digits; only
  // its digits and exponent are used, so the locale's decimal point does
  // not matter. (printf rather than std::to_chars keeps the exe small.)
  char buf[64];
  const int len = std::snprintf(buf, sizeof buf, "%.*e", significant - 1, v);
  const std::string_view sci(buf, static_cast<std::size_t>(len > 0 ? len : 0));
  const bool negative = sci.front() == '-';
  const std::size_t e = sci.find_first_of("eE");
  std::string digits;
  for (char c : sci.substr(0, e)) {
    if (c >= '0' && c <= '9') digits += c;
  }
  const int exponent = std::atoi(sci.data() + e + 1);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  std::string out = negative ? "-" : "";
  if (exponent < 0) {
    out += "0.";
    out.append(static_cast<std::size_t>(-exponent - 1), '0');
    out += digits;
    return out;
  }
  const auto int_len = static_cast<std::size_t>(exponent) + 1;
  if (digits.size() <= int_len) {
    out += digits;
    out.append(int_len - digits.size(), '0');
  } else {
    out += digits.substr(0, int_len);
    out += '.';
    out += digits.substr(int_len);
  }
  return out;
}

std::string format_number(const Number& n) {
  switch (n.kind()) {
    case Number::Kind::Integer: return std::to_string(static_cast<long long>(n.value()));
    case Number::Kind::Single: return format_decimal(n.value(), 7);
    case Number::Kind::Double: break;
  }
  return format_decimal(n.value(), 15);
}

std::optional<Number> parse_number(std::string_view text) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  const std::size_t body = i;
  std::size_t digit_count = 0;
  bool point = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') {
      ++digit_count;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      return std::nullopt;
    }
  }
  if (digit_count == 0) return std::nullopt;

  // The text is known to be digits and at most one '.', which strtod reads
  // in the "C" locale that the program never leaves.
  const std::string digits(text.substr(body));
  double value = std::strtod(digits.c_str(), nullptr);
  if (negative) value = -value;
  if (!point && value >= std::numeric_limits<std::int32_t>::min() &&
      value <= std::numeric_limits<std::int32_t>::max()) {
    return Number::integer(static_cast<std::int32_t>(value));
  }
  return Number::real(value);
}

}  // namespace ombrelo
