#include "FieldDigits.h"

#include <bit>
#include <cmath>
#include <limits>

namespace terraq::engine {

namespace {

// Powers of ten that the 64-bit significand of long double holds exactly.
constexpr int kExactPowers = 27;
constexpr long double kPow10[kExactPowers + 1] = {1e0L,  1e1L,  1e2L,  1e3L,  1e4L,  1e5L,  1e6L,
                                                  1e7L,  1e8L,  1e9L,  1e10L, 1e11L, 1e12L, 1e13L,
                                                  1e14L, 1e15L, 1e16L, 1e17L, 1e18L, 1e19L, 1e20L,
                                                  1e21L, 1e22L, 1e23L, 1e24L, 1e25L, 1e26L, 1e27L};

// The error bound below needs a 64-bit significand; where long double is
// no wider than double every field takes the exact conversion.
constexpr bool kExtendedPrecision = std::numeric_limits<long double>::digits >= 64;

// magnitude * 10^k with one rounding; false beyond the exact powers.
bool Scale(double magnitude, int k, long double& scaled) {
  if (!kExtendedPrecision || k > kExactPowers || k < -kExactPowers) return false;
  const long double m = magnitude;
  scaled = k >= 0 ? m * kPow10[k] : m / kPow10[-k];
  return true;
}

// Rounds a scaled value (0 <= scaled < 2^63) to the nearest integer, or
// declines when it lies within the scaling's error of a tie. One rounding in
// extended precision errs by at most 2^-64 of the value; the margin allows
// 2^-59 and the rounding of the subtraction itself.
bool RoundScaled(long double scaled, std::uint64_t& n) {
  if (!(scaled < 9.0e18L)) return false;
  const auto whole = static_cast<std::uint64_t>(scaled);
  const long double fraction = scaled - static_cast<long double>(whole);
  const long double margin = scaled * 1.8e-18L + 1.0e-30L;
  if (std::fabs(fraction - 0.5L) <= margin) return false;
  n = whole + (fraction > 0.5L ? 1 : 0);
  return true;
}

}  // namespace

bool SignificantDigits(double magnitude, int digits, std::uint64_t& mantissa, int& exponent) {
  if (digits < 1 || digits > 17 || !(magnitude > 0.0) || !std::isfinite(magnitude)) return false;
  // floor(log10(2^e2)) from the binary exponent, by the integer form of
  // e2 * log10(2): the decimal exponent of the magnitude is that or one more,
  // which the scaled value tells.
  const auto bits = std::bit_cast<std::uint64_t>(magnitude);
  const int biased = static_cast<int>(bits >> 52);
  if (biased == 0) return false;  // a subnormal: far beyond the exact powers
  int e10 = ((biased - 1023) * 78913) >> 18;
  long double scaled = 0;
  if (!Scale(magnitude, digits - 1 - e10, scaled)) return false;
  if (scaled >= kPow10[digits]) {
    ++e10;
    if (!Scale(magnitude, digits - 1 - e10, scaled)) return false;
  }
  std::uint64_t n = 0;
  if (!RoundScaled(scaled, n)) return false;
  const auto top = static_cast<std::uint64_t>(kPow10[digits]);
  const auto bottom = static_cast<std::uint64_t>(kPow10[digits - 1]);
  if (n == top) {  // 9.99... rounded up to the next power of ten
    n = bottom;
    ++e10;
  }
  if (n < bottom || n >= top) return false;
  mantissa = n;
  exponent = e10 + 1;
  return true;
}

bool ScaledDigits(double magnitude, int decimals, std::uint64_t& scaled) {
  if (decimals < 0 || !(magnitude >= 0.0) || !std::isfinite(magnitude)) return false;
  long double s = 0;
  return Scale(magnitude, decimals, s) && RoundScaled(s, scaled);
}

}  // namespace terraq::engine
