#include "controls/NumberFormat.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace terraq::ui {

std::string FormatGeneral(long double value, int digits) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  if (value == 0) return "0";
  digits = std::clamp(digits, 1, 20);

  // to_chars never looks at the locale. Scientific form with digits-1
  // decimals rounds to exactly `digits` significant digits and tells the
  // decimal exponent of the rounded value.
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, digits - 1);
  const std::string_view text(buffer, static_cast<size_t>(result.ptr - buffer));
  const size_t ePos = text.find('e');
  const bool negative = text.front() == '-';
  std::string mantissa;
  for (char c : text.substr(0, ePos))
    if (c >= '0' && c <= '9') mantissa += c;
  const int exponent = std::atoi(std::string(text.substr(ePos + 1)).c_str());
  while (mantissa.size() > 1 && mantissa.back() == '0') mantissa.pop_back();

  std::string out = negative ? "-" : "";
  if (exponent < -5 || exponent >= digits) {
    out += mantissa.front();
    if (mantissa.size() > 1) out += "." + mantissa.substr(1);
    out += "E" + std::to_string(exponent);
  } else if (exponent < 0) {
    out += "0." + std::string(static_cast<size_t>(-exponent - 1), '0') + mantissa;
  } else {
    const size_t integerDigits = static_cast<size_t>(exponent) + 1;
    if (mantissa.size() <= integerDigits) {
      out += mantissa + std::string(integerDigits - mantissa.size(), '0');
    } else {
      out += mantissa.substr(0, integerDigits) + "." + mantissa.substr(integerDigits);
    }
  }
  return out;
}

std::string FormatDisplay(long double value) { return FormatGeneral(value, 15); }

std::string FormatFileReal(long double value) { return FormatGeneral(value, 8); }

std::string FormatHex(long double value) {
  const long double rounded = std::isnan(value) ? 0 : std::clamp(std::round(value), -2147483648.0L, 2147483647.0L);
  const auto bits = static_cast<uint32_t>(static_cast<int32_t>(rounded));
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "$%04X", static_cast<unsigned>(bits));
  return buffer;
}

bool ParseReal(std::string_view text, long double& value) {
  size_t k = 0;
  const auto digitsFrom = [&](size_t start) {
    size_t end = start;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
    return end - start;
  };
  bool negative = false;
  if (k < text.size() && (text[k] == '+' || text[k] == '-')) negative = text[k++] == '-';
  const size_t integerDigits = digitsFrom(k);
  std::string normal(negative ? "-" : "");
  normal += integerDigits ? std::string(text.substr(k, integerDigits)) : "0";
  k += integerDigits;
  size_t fractionDigits = 0;
  if (k < text.size() && text[k] == '.') {
    ++k;
    fractionDigits = digitsFrom(k);
    if (fractionDigits) normal += "." + std::string(text.substr(k, fractionDigits));
    k += fractionDigits;
  }
  if (integerDigits + fractionDigits == 0) return false;
  if (k < text.size() && (text[k] == 'e' || text[k] == 'E')) {
    ++k;
    std::string sign;
    if (k < text.size() && (text[k] == '+' || text[k] == '-')) {
      if (text[k] == '-') sign = "-";
      ++k;
    }
    const size_t exponentDigits = digitsFrom(k);
    if (exponentDigits == 0) return false;
    normal += "e" + sign + std::string(text.substr(k, exponentDigits));
    k += exponentDigits;
  }
  if (k != text.size()) return false;

  long double parsed = 0;
  const auto result = std::from_chars(normal.data(), normal.data() + normal.size(), parsed);
  if (result.ec != std::errc() || result.ptr != normal.data() + normal.size()) return false;
  if (!std::isfinite(parsed)) return false;
  value = parsed;
  return true;
}

}  // namespace terraq::ui
