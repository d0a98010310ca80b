#include "settings/decimal.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace ombrelo {

namespace {

// An unsigned integer of any size, in 32-bit limbs, least significant
// first: enough arithmetic for exact decimal conversion.
class BigInt {
 public:
  explicit BigInt(std::uint64_t v = 0) {
    for (; v; v >>= 32) limbs_.push_back(static_cast<std::uint32_t>(v));
  }

  // this = this * factor + addend
  void multiply_add(std::uint32_t factor, std::uint32_t addend = 0) {
    std::uint64_t carry = addend;
    for (std::uint32_t& limb : limbs_) {
      carry += std::uint64_t{limb} * factor;
      limb = static_cast<std::uint32_t>(carry);
      carry >>= 32;
    }
    if (carry) limbs_.push_back(static_cast<std::uint32_t>(carry));
  }

  // this = this * base^n, for a base of at most 10.
  void multiply_power(std::uint32_t base, int n) {
    // base^9 fits 32 bits: nine factors at a time.
    std::uint32_t ninth = 1;
    for (int i = 0; i < 9; ++i) ninth *= base;
    for (; n >= 9; n -= 9) multiply_add(ninth);
    for (; n > 0; --n) multiply_add(base);
  }

  void shift_left(int bits) {
    for (; bits >= 31; bits -= 31) multiply_add(1u << 31);
    if (bits > 0) multiply_add(1u << bits);
  }

  // this = this - other, where other <= this.
  void subtract(const BigInt& other) {
    std::int64_t borrow = 0;
    for (std::size_t i = 0; i < limbs_.size(); ++i) {
      std::int64_t d =
          std::int64_t{limbs_[i]} - borrow - (i < other.limbs_.size() ? other.limbs_[i] : 0);
      borrow = d < 0;
      limbs_[i] = static_cast<std::uint32_t>(d + (borrow << 32));
    }
    trim();
  }

  // this = this / divisor, returning the remainder.
  std::uint32_t divide(std::uint32_t divisor) {
    std::uint64_t rest = 0;
    for (std::size_t i = limbs_.size(); i-- > 0;) {
      rest = rest << 32 | limbs_[i];
      limbs_[i] = static_cast<std::uint32_t>(rest / divisor);
      rest %= divisor;
    }
    trim();
    return static_cast<std::uint32_t>(rest);
  }

  bool is_zero() const { return limbs_.empty(); }
  int bit_length() const {
    return limbs_.empty()
               ? 0
               : static_cast<int>(32 * (limbs_.size() - 1)) + std::bit_width(limbs_.back());
  }
  bool bit(int i) const { return limbs_[static_cast<std::size_t>(i / 32)] >> (i % 32) & 1; }

  friend bool operator>=(const BigInt& a, const BigInt& b) {
    if (a.limbs_.size() != b.limbs_.size()) return a.limbs_.size() > b.limbs_.size();
    return !std::lexicographical_compare(a.limbs_.rbegin(), a.limbs_.rend(), b.limbs_.rbegin(),
                                         b.limbs_.rend());
  }

  std::string to_decimal() const {
    if (limbs_.empty()) return "0";
    BigInt rest = *this;
    std::string reversed;
    while (!rest.is_zero()) {
      std::uint32_t chunk = rest.divide(1000000000);
      for (int i = 0; i < 9 && (chunk || !rest.is_zero()); ++i, chunk /= 10) {
        reversed += static_cast<char>('0' + chunk % 10);
      }
    }
    return {reversed.rbegin(), reversed.rend()};
  }

 private:
  void trim() {
    while (!limbs_.empty() && limbs_.back() == 0) limbs_.pop_back();
  }
  std::vector<std::uint32_t> limbs_;
};

// (q + a fraction that is nonzero when `inexact`) × 2^e, rounded to a double:
// 53 significant bits, fewer where the result is subnormal. q has more than
// 53 bits (the division below gives 63 or 64), so some are always dropped.
double nearest_double(std::uint64_t q, bool inexact, int e) {
  constexpr int kLeastExponent = -1074;  // of the smallest subnormal's bit
  int drop = std::bit_width(q) - 53;
  if (e + drop < kLeastExponent) drop = kLeastExponent - e;
  if (drop > 64) return 0;  // below half the smallest subnormal
  const std::uint64_t half = std::uint64_t{1} << (drop - 1);
  const std::uint64_t kept = drop == 64 ? 0 : q >> drop;
  const std::uint64_t rest = drop == 64 ? q : q & ((std::uint64_t{1} << drop) - 1);
  const bool up = rest > half || (rest == half && (inexact || (kept & 1)));
  return std::ldexp(static_cast<double>(kept + up), e + drop);
}

}  // namespace

DecimalDigits to_decimal_digits(double v, int significant) {
  // v = m × 2^e exactly, m an integer of 53 bits; m × 2^-k = m × 5^k / 10^k.
  int e = 0;
  const double fraction = std::frexp(v, &e);
  BigInt n(static_cast<std::uint64_t>(std::ldexp(fraction, 53)));
  e -= 53;
  DecimalDigits out;
  if (e >= 0) {
    n.shift_left(e);
  } else {
    n.multiply_power(5, -e);
    out.exponent = e;
  }
  std::string& digits = out.digits = n.to_decimal();
  out.exponent += static_cast<int>(digits.size()) - 1;

  const auto kept = static_cast<std::size_t>(significant);
  if (digits.size() > kept) {
    const char next = digits[kept];
    const bool beyond_half = digits.find_first_not_of('0', kept + 1) != std::string::npos;
    const bool up = next > '5' || (next == '5' && (beyond_half || (digits[kept - 1] - '0') % 2));
    digits.resize(kept);
    if (up) {
      std::size_t i = kept;
      while (i > 0 && digits[i - 1] == '9') digits[--i] = '0';
      if (i == 0) {
        digits.insert(digits.begin(), '1');  // 999.5 -> 1000
        digits.pop_back();
        ++out.exponent;
      } else {
        ++digits[i - 1];
      }
    }
  }
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  return out;
}

double from_decimal_digits(std::string_view digits, int exponent) {
  digits.remove_prefix(std::min(digits.find_first_not_of('0'), digits.size()));
  if (digits.empty()) return 0;
  // A midpoint between two doubles has at most 767 significant digits, so
  // beyond 800 only whether any nonzero digit follows matters.
  constexpr std::size_t kEnough = 800;
  std::string kept(digits.substr(0, kEnough));
  if (digits.size() > kEnough) {
    exponent += static_cast<int>(digits.size() - kEnough);
    if (digits.find_first_not_of('0', kEnough) != std::string_view::npos) {
      kept += '1';
      --exponent;
    }
  }
  // The value lies in [10^(magnitude-1), 10^magnitude).
  const long long magnitude = static_cast<long long>(kept.size()) + exponent;
  if (magnitude > 310) return std::numeric_limits<double>::infinity();
  if (magnitude < -330) return 0;

  // value = n / d × 2^e, with n and d integers.
  BigInt n, d(1);
  for (char c : kept) n.multiply_add(10, static_cast<std::uint32_t>(c - '0'));
  int e = 0;
  if (exponent >= 0) {
    n.multiply_power(10, exponent);
  } else {
    d.multiply_power(5, -exponent);  // 10^-k = 5^-k × 2^-k
    e = exponent;
  }
  // Scaled so that the quotient has 63 or 64 bits: as many as a double
  // needs, and then some for rounding.
  const int scale = d.bit_length() - n.bit_length() + 63;
  if (scale >= 0) {
    n.shift_left(scale);
  } else {
    d.shift_left(-scale);
  }
  e -= scale;
  // Long division, a bit at a time.
  BigInt rest;
  std::uint64_t q = 0;
  for (int i = n.bit_length(); i-- > 0;) {
    rest.multiply_add(2, n.bit(i));
    q <<= 1;
    if (rest >= d) {
      rest.subtract(d);
      q |= 1;
    }
  }
  return nearest_double(q, !rest.is_zero(), e);
}

}  // namespace ombrelo
