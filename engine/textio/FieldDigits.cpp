#include "FieldDigits.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace terraq::engine {

namespace {

// magnitude * 10^k in doubles, by at most two correctly rounded operations
// with exact powers: the result errs by at most 2^-52 of itself. False
// beyond twice the exact powers.
bool Scale(double magnitude, int k, double& scaled) {
  if (k > 2 * kExactPowersOfTen || k < -2 * kExactPowersOfTen) return false;
  const int first = std::clamp(k, -kExactPowersOfTen, kExactPowersOfTen);
  const int second = k - first;
  scaled = first >= 0 ? magnitude * kPow10[first] : magnitude / kPow10[-first];
  if (second != 0) scaled = second > 0 ? scaled * kPow10[second] : scaled / kPow10[-second];
  return true;
}

// a * b as the sum hi + lo of two doubles, exactly (Dekker's product with
// Veltkamp's splitting; |a|, |b| below 1e290 so that the split cannot
// overflow). With a hardware fused multiply-add the error is one instruction.
void ExactProduct(double a, double b, double& hi, double& lo) {
  hi = a * b;
#if defined(__FMA__)
  lo = std::fma(a, b, -hi);
#else
  const auto split = [](double x, double& high, double& low) {
    const double c = 134217729.0 * x;  // 2^27 + 1
    high = c - (c - x);
    low = x - high;
  };
  double ah = 0, al = 0, bh = 0, bl = 0;
  split(a, ah, al);
  split(b, bh, bl);
  lo = ((ah * bh - hi) + ah * bl + al * bh) + al * bl;
#endif
}

// Whether magnitude * 10^k lies above (+1) or below (-1) whole + 1/2,
// decided exactly for a one-step scaling (|k| <= 22); 0 for a tie or when
// it cannot be decided here. Called only when the scaled value lies within
// its error of that tie, so that the differences below are exact
// (Sterbenz): the sign of a rounded sum is the sign of the exact one.
int SideOfTie(double magnitude, int k, std::uint64_t whole) {
  if (k > kExactPowersOfTen || k < -kExactPowersOfTen || magnitude > 1e290) return 0;
  double hi = 0, lo = 0;
  double side = 0;
  if (k >= 0) {  // magnitude * 10^k against whole + 1/2
    ExactProduct(magnitude, kPow10[k], hi, lo);
    side = (hi - (static_cast<double>(whole) + 0.5)) + lo;
  } else {  // 2 magnitude against (2 whole + 1) * 10^-k
    ExactProduct(static_cast<double>(2 * whole + 1), kPow10[-k], hi, lo);
    side = (2 * magnitude - hi) - lo;
  }
  return side > 0 ? 1 : side < 0 ? -1 : 0;
}

// magnitude * 10^k (0 <= scaled < 2^52, where a double still holds a
// fraction exactly) rounded to the nearest integer; false for a tie and
// out of range. The scaled value errs by at most 2^-52 of itself: outside
// twice that of a tie its rounding is that of the exact product; inside,
// the exact product decides. Conversions between doubles and 64-bit
// integers are single SSE instructions: no extended-precision unit, no
// change of rounding mode.
bool RoundScaled(double magnitude, int k, std::uint64_t& n) {
  double scaled = 0;
  if (!Scale(magnitude, k, scaled) || !(scaled < 4.5e15)) return false;
  const auto whole = static_cast<std::uint64_t>(scaled);
  const double fraction = scaled - static_cast<double>(whole);
  if (std::fabs(fraction - 0.5) > scaled * 0x1p-51) {
    n = whole + (fraction > 0.5 ? 1 : 0);
    return true;
  }
  const int side = SideOfTie(magnitude, k, whole);
  if (side == 0) return false;
  n = whole + (side > 0 ? 1 : 0);
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
  double scaled = 0;
  if (!Scale(magnitude, digits - 1 - e10, scaled)) return false;
  if (scaled >= kPow10[digits]) ++e10;
  std::uint64_t n = 0;
  if (!RoundScaled(magnitude, digits - 1 - e10, n)) return false;
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
  return RoundScaled(magnitude, decimals, scaled);
}

}  // namespace terraq::engine
