#pragma once
// The digits in which the generators have always handed their results (the
// p-y curves and the earth-pressure table) to the analysis. They once went
// through text files; they now pass in memory, but the analysis still takes
// exactly the values that text read back to, so that every output stays
// what it was to the last digit: each value is formatted in its field and
// parsed again by the data-file reader's rules.

#include <optional>

namespace terraq::engine {

// The value once written as an E17.10 field and read back; nothing when the
// field cannot be read as a number (a value too large for its exponent).
std::optional<double> ScratchRounded(double value);

// The value once written as a real of a list-directed record (nine
// significant digits) and read back; nothing when it cannot be read (not a
// finite number).
std::optional<double> ListRounded(double value);

// `value` rounded to `digits` (1..17) significant digits, as printf's
// "%.{digits-1}e" read back by strtod gives it (a NaN stays one), without
// the text in the common case.
double RoundedToDigits(double value, int digits);

}  // namespace terraq::engine
