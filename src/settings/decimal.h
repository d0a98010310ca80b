#pragma once

#include <string>
#include <string_view>

namespace ombrelo {

// Exact conversions between doubles and decimal digits, both rounded to
// nearest with halves to even, as the C library's printf and strtod round.
// Those bring every format and notation they know (about 40 KB of the exe)
// for the settings file's plain decimals.

// A positive finite value's first `significant` digits (at least one),
// rounded, without trailing zeros, and the power of ten of the first: 9.75
// -> {"975", 0}, 0.00025 -> {"25", -4}.
struct DecimalDigits {
  std::string digits;
  int exponent = 0;
};
DecimalDigits to_decimal_digits(double v, int significant);

// The double nearest to digits × 10^exponent, where digits holds decimal
// digits only; infinity above the largest double.
double from_decimal_digits(std::string_view digits, int exponent);

}  // namespace ombrelo
