// Numbers as the settings file holds them: written in their kind, parsed,
// rounded to colours.
#include "settings/number.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "settings/decimal.h"

namespace ombrelo {
namespace {

TEST(Numbers, WrittenInTheirKind) {
  EXPECT_EQ(format_number(Number::single(12.0f)), "12");
  EXPECT_EQ(format_number(Number::single(9.75f)), "9.75");
  EXPECT_EQ(format_number(Number::single(0.1f)), "0.1");  // not 0.100000001
  EXPECT_EQ(format_number(Number::single(0.5f)), "0.5");
  EXPECT_EQ(format_number(Number::real(10.123456789012345)), "10.1234567890123");
  EXPECT_EQ(format_number(Number::real(-0.00025)), "-0.00025");
  EXPECT_EQ(format_number(Number::real(1e20)), "100000000000000000000");
  EXPECT_EQ(format_number(Number::real(123456789.5)), "123456789.5");
  EXPECT_EQ(format_number(Number::single(123456789.0f)), "123456800");
  EXPECT_EQ(format_number(Number::single(4194304.5f)), "4194304");  // halves to even
  EXPECT_EQ(format_number(Number::single(4194305.5f)), "4194306");
  EXPECT_EQ(format_number(Number::single(9999999.5f)), "10000000");
  EXPECT_EQ(format_number(Number::integer(65280)), "65280");
  EXPECT_EQ(format_number(Number::integer(-2147483647 - 1)), "-2147483648");
  EXPECT_EQ(format_number(Number::real(0.0)), "0");
}

TEST(Numbers, ParseAndRound) {
  EXPECT_EQ(parse_number("-12"), Number::integer(-12));
  EXPECT_EQ(parse_number("+7"), Number::integer(7));
  EXPECT_EQ(parse_number(".5"), Number::real(0.5));
  EXPECT_EQ(parse_number("5."), Number::real(5.0));
  EXPECT_EQ(parse_number("2147483648"), Number::real(2147483648.0));
  for (const char* bad : {"", "-", ".", "1.2.3", "1e3", "0x10", "１２", "1,5", " 1"}) {
    EXPECT_EQ(parse_number(bad), std::nullopt) << bad;
  }
  EXPECT_EQ(Number::real(2.5).to_int32(), 2);
  EXPECT_EQ(Number::real(3.5).to_int32(), 4);
  EXPECT_EQ(Number::real(-2.5).to_int32(), -2);
  EXPECT_EQ(Number::real(2147483647.4).to_int32(), 2147483647);
  EXPECT_EQ(Number::real(2147483647.5).to_int32(), std::nullopt);
  EXPECT_EQ(Number::real(1e300).to_colour(), 2147483647);
}

// The conversions round exactly as the C library does, across the whole
// range: random bit patterns (subnormals included), digit strings of every
// length, and exact midpoints between two doubles, where a tie goes to even.
TEST(Numbers, ConvertAsTheCLibraryDoes) {
  std::mt19937_64 random(20261208);
  // printf's scientific form as digits and the exponent of the first.
  auto split = [](const std::string& sci) {
    std::string digits;
    for (char c : sci.substr(0, sci.find('e'))) {
      if (c != '.') digits += c;
    }
    return DecimalDigits{digits, std::atoi(sci.c_str() + sci.find('e') + 1)};
  };
  auto printf_e = [](int precision, auto v) {
    char buf[128];
    std::snprintf(buf, sizeof buf, sizeof v == sizeof(double) ? "%.*e" : "%.*Le", precision, v);
    return std::string(buf);
  };
  auto parses_as_c = [](const std::string& digits, int exponent) {
    const std::string text = digits + "e" + std::to_string(exponent);
    EXPECT_EQ(from_decimal_digits(digits, exponent), std::strtod(text.c_str(), nullptr)) << text;
  };
  for (int i = 0; i < 3000; ++i) {
    const double v = std::bit_cast<double>(random() >> 1);  // positive, finite or not
    if (!std::isfinite(v) || v == 0) continue;
    for (auto [value, significant] :
         {std::pair{v, 15}, {double{static_cast<float>(v)}, 7}, {v, 17}}) {
      if (value == 0 || !std::isfinite(value)) continue;
      DecimalDigits ours = to_decimal_digits(value, significant),
                    c = split(printf_e(significant - 1, value));
      while (c.digits.size() > 1 && c.digits.back() == '0') c.digits.pop_back();
      ASSERT_EQ(ours.digits + "e" + std::to_string(ours.exponent),
                c.digits + "e" + std::to_string(c.exponent));
    }
    std::string digits;
    for (auto n = random() % 40 + 1; n > 0; --n) digits += static_cast<char>('0' + random() % 10);
    parses_as_c(digits, static_cast<int>(random() % 700) - 380);
    // The midpoint between v and the next double, exactly (a long double
    // holds it), and just above it.
    if (std::fpclassify(v) != FP_NORMAL) continue;
    const auto mid =
        split(printf_e(70, (static_cast<long double>(v) + std::nextafter(v, INFINITY)) / 2));
    parses_as_c(mid.digits, mid.exponent - 70);
    if (i % 16 == 0) parses_as_c(mid.digits + std::string(900, '0') + "1", mid.exponent - 971);
  }
}

}  // namespace
}  // namespace ombrelo
