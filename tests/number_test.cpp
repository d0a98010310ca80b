// Numbers as the settings file holds them: written in their kind, parsed,
// rounded to colours.
#include "settings/number.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace ombrelo
