#include "settings/number.h"

#include <cmath>
#include <limits>

#include "settings/decimal.h"

namespace ombrelo {

namespace {

// Rounds halves to even (0.5 -> 0, 1.5 -> 2, 2.5 -> 2).
double round_half_even(double v) {
  double r = std::round(v);  // halves away from zero
  if (std::fabs(v - std::trunc(v)) == 0.5 && std::fmod(r, 2.0) != 0.0) {
    r -= std::copysign(1.0, v);
  }
  return r;
}

}  // namespace

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
  const bool negative = v < 0;
  auto [digits, exponent] = to_decimal_digits(std::fabs(v), significant);

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
    case Number::Kind::integer: return std::to_string(static_cast<long long>(n.value()));
    case Number::Kind::single: return format_decimal(n.value(), 7);
    case Number::Kind::real: break;
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

  std::string digits(text.substr(body));
  const std::size_t at = digits.find('.');
  int exponent = 0;
  if (at != std::string::npos) {
    exponent = -static_cast<int>(digits.size() - at - 1);
    digits.erase(at, 1);
  }
  double value = from_decimal_digits(digits, exponent);
  if (negative) value = -value;
  if (!point && value >= std::numeric_limits<std::int32_t>::min() &&
      value <= std::numeric_limits<std::int32_t>::max()) {
    return Number::integer(static_cast<std::int32_t>(value));
  }
  return Number::real(value);
}

}  // namespace ombrelo
