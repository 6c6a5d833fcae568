#include "ScratchDigits.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "FieldDigits.h"
#include "FixedFormat.h"
#include "FreeFormatReader.h"

namespace terraq::engine {

namespace {

std::optional<double> ReadBack(const std::string& text) {
  const size_t start = text.find_first_not_of(' ');
  double value = 0;
  if (start == std::string::npos || !ParseReal(std::string_view(text).substr(start), value))
    return std::nullopt;
  return value;
}

// The number D1D2...Dd x 10^(exponent - digits) that a text of `digits`
// significant digits stands for, as the reader makes it a double: with
// the mantissa below 2^53 and the power of ten at most 10^22 both are exact
// doubles, and one multiplication or division rounds their product
// correctly, which is what the reader's exact conversion gives. False
// beyond that range.
bool DecimalValue(std::uint64_t mantissa, int digits, int exponent, double& value) {
  const int k = exponent - digits;
  if (k > kExactPowersOfTen || k < -kExactPowersOfTen) return false;
  const auto m = static_cast<double>(mantissa);
  value = k >= 0 ? m * kPow10[k] : m / kPow10[-k];
  return true;
}

// The value of a field of `digits` significant digits, when the digits and
// the value are sure without the text (FieldDigits.h).
bool FastRounded(double value, int digits, double& rounded) {
  std::uint64_t mantissa = 0;
  int exponent = 0;
  if (!SignificantDigits(std::fabs(value), digits, mantissa, exponent)) return false;
  double magnitude = 0;
  if (!DecimalValue(mantissa, digits, exponent, magnitude)) return false;
  rounded = value < 0 ? -magnitude : magnitude;
  return true;
}

}  // namespace

std::optional<double> ScratchRounded(double value) {
  // A zero reads back as +0 (the field has no sign for it); exponents of
  // three digits drop the letter E and do not read back at all.
  double rounded = 0;
  if (value == 0.0) return 0.0;
  if (std::isfinite(value) && std::fabs(value) > 1e-90 && std::fabs(value) < 1e90 &&
      FastRounded(value, kScratchDigits, rounded))
    return rounded;
  return ReadBack(FormatE(value, kScratchFieldWidth, kScratchDigits));
}

std::optional<double> ListRounded(double value) {
  // Nine significant digits; a zero keeps its sign ("-0" reads as -0).
  double rounded = 0;
  if (value == 0.0) return value;
  if (std::isfinite(value) && FastRounded(value, 9, rounded)) return rounded;
  return ReadBack((ListRecord() << value).str());
}

double RoundedToDigits(double value, int digits) {
  double rounded = 0;
  if (value != 0.0 && std::isfinite(value) && FastRounded(value, digits, rounded)) return rounded;
  char text[400];
  std::snprintf(text, sizeof text, "%.*e", digits - 1, value);
  return std::strtod(text, nullptr);
}

}  // namespace terraq::engine
