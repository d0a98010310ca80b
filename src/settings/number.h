#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ombrelo {

// A stored number that remembers whether it came as an integer (a colour), a
// single-precision float (a font size from the font dialog) or a
// double-precision float (a decimal read back from the settings file), since
// each kind is written back in its own form.
class Number {
 public:
  enum class Kind { integer, single, real };

  static Number integer(std::int32_t v) { return Number(Kind::integer, v); }
  static Number single(float v) { return Number(Kind::single, v); }
  static Number real(double v) { return Number(Kind::real, v); }

  Kind kind() const { return kind_; }
  double value() const { return value_; }
  float as_single() const { return static_cast<float>(value_); }

  // Rounded to the nearest integer, halves to even, as colours are taken;
  // nullopt when the value does not fit a 32-bit signed integer.
  std::optional<std::int32_t> to_int32() const;
  // As to_int32, saturating at the 32-bit range for out-of-range values.
  std::int32_t to_colour() const;

  bool operator==(const Number&) const = default;

 private:
  Number(Kind k, double v) : kind_(k), value_(v) {}
  Kind kind_ = Kind::integer;
  double value_ = 0;
};

// Plain decimal with '.', rounded to `significant` digits (at least one), no
// exponent, no trailing zeros and no trailing point; values below 1 keep a
// leading "0".
std::string format_decimal(double v, int significant);

// The settings file's form of a number: integers as decimal digits, single
// precision to 7 significant digits, double precision to 15.
std::string format_number(const Number& n);

// Parses the settings file's form: an optional sign, digits, an optional '.'
// with more digits. Without a point the result is an integer (a double when
// it does not fit 32 bits); with one it is a double. Anything else: nullopt.
std::optional<Number> parse_number(std::string_view text);

}  // namespace ombrelo
