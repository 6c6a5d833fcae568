#pragma once
// The one place where the interactive program turns reals into text and back.
// Every form is independent of the user's locale: the decimal separator is
// always ".", so a data file or a cell text means the same on every machine.

#include <string>
#include <string_view>

namespace terraq::ui {

// General format with `digits` significant digits (1 to 20): fixed notation
// when the value is at least 0.00001 in magnitude and has at most `digits`
// integer digits after rounding, otherwise exponent notation ("1.5E-7",
// "2E15": upper-case E, no "+" and no leading zeros in the exponent).
// Trailing zeros and a bare decimal point are dropped; zero is "0".
// Non-finite values come out as "NAN", "INF" and "-INF".
std::string FormatGeneral(long double value, int digits);

// A value as an entry field shows it: general format with 15
// significant digits. Every decimal of up to 15 digits survives the trip
// through a 64-bit real and back at this precision, while the binary noise
// of arithmetic on it (0.15239999999999998, 250.000000000000013) lies in
// the digits beyond; the value itself keeps its full precision.
std::string FormatDisplay(long double value);

// The shortest form of a real in a data file: general format with at most 8
// significant digits (100, 0.5, 1E-6).
std::string FormatFileReal(long double value);

// The hexadecimal form of an entry field: "$" and at least 4 upper-case
// hexadecimal digits of the value rounded to a 32-bit integer (negative
// values in two's complement: -1 is "$FFFFFFFF"); values beyond the 32-bit
// range are clamped to it.
std::string FormatHex(long double value);

// Parses a whole text as a decimal real: an optional sign, digits with an
// optional "." (at least one digit), and an optional exponent ("E" or "e",
// an optional sign, digits). Nothing else is accepted: no blanks, no "inf"
// or "nan", no hexadecimal. False when the text is malformed or the value
// lies outside the range of long double.
bool ParseReal(std::string_view text, long double& value);

}  // namespace terraq::ui
