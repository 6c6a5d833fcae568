#pragma once
// The digits of the engine's fixed-format fields (Fw.d, Ew.d) straight from
// the value, for the common case: a magnitude scaled by a power of ten in
// double precision and rounded to an integer. The scaling errs by
// far less than the distance of the scaled value from a rounding tie,
// except when the value lies within that error of a tie (or is a tie): then
// these functions decline, and the caller takes the exact conversion
// (std::to_chars), which rounds ties to even on the exact binary value. So
// the bytes are always those of the exact conversion; the fast path only
// saves its cost (most of a curve-heavy run's work, measured).

#include <cstdint>

namespace terraq::engine {

// The powers of ten a double holds exactly: 10^0 .. 10^22.
inline constexpr int kExactPowersOfTen = 22;
inline constexpr double kPow10[kExactPowersOfTen + 1] = {
    1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// `magnitude` (> 0, finite) rounded to `digits` (1..17) significant
// digits: 0.D1D2...Dd times ten to `exponent`. False when undecided.
bool SignificantDigits(double magnitude, int digits, std::uint64_t& mantissa, int& exponent);

// `magnitude` (>= 0, finite) times ten to `decimals` (0..27), rounded to an
// integer below 2^63. False when undecided or out of that range.
bool ScaledDigits(double magnitude, int decimals, std::uint64_t& scaled);

}  // namespace terraq::engine
