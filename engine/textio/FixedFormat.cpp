#include "FixedFormat.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace terraq::engine {

namespace {

std::string asterisks(int w) { return std::string(static_cast<size_t>(w > 0 ? w : 0), '*'); }

std::string rightAligned(const std::string& digits, int w) {
  if (static_cast<int>(digits.size()) > w) return asterisks(w);
  return std::string(static_cast<size_t>(w) - digits.size(), ' ') + digits;
}

// printf of one real with a precision, into a string as long as it needs:
// a fixed buffer would cut the text of a wide precision short.
std::string printed(const char* format, int precision, double value) {
  const int n = std::snprintf(nullptr, 0, format, precision, value);
  if (n <= 0) return {};
  std::string s(static_cast<size_t>(n) + 1, '\0');
  std::snprintf(s.data(), s.size(), format, precision, value);
  s.resize(static_cast<size_t>(n));
  return s;
}

}  // namespace

std::string formatI(long long value, int w) { return rightAligned(std::to_string(value), w); }

std::string formatF(double value, int w, int d) {
  // Magnitudes that cannot fit any sane field go straight to asterisks; this
  // also bounds the text that printf produces below.
  if (!std::isfinite(value) || std::fabs(value) >= 1e300 || d < 0) return asterisks(w);
  std::string s = printed("%.*f", d, value);
  if (s.empty()) return asterisks(w);
  if (static_cast<int>(s.size()) > w) {
    // A field one column too narrow drops the optional leading zero
    // ("0.500" -> ".500", "-0.5" -> "-.5"), as fixed-format output allows.
    if (s.rfind("0.", 0) == 0) s.erase(0, 1);
    else if (s.rfind("-0.", 0) == 0) s.erase(1, 1);
  }
  return rightAligned(s, w);
}

std::string formatE(double value, int w, int d) {
  if (!std::isfinite(value) || d < 1) return asterisks(w);
  std::string mantissa;
  int exponent = 0;
  if (value != 0.0) {
    // d significant digits, rounded once: d.ddd...E+xx, then shifted to the
    // 0.ddd form by raising the exponent by one.
    const std::string s = printed("%.*E", d - 1, std::fabs(value));
    const size_t epos = s.find('E');
    if (epos == std::string::npos) return asterisks(w);
    std::string digits;
    for (size_t k = 0; k < epos; ++k)
      if (s[k] != '.') digits += s[k];
    exponent = std::atoi(s.c_str() + epos + 1) + 1;
    mantissa = "0." + digits;
  } else {
    mantissa = "0." + std::string(static_cast<size_t>(d), '0');
  }
  const int absExp = std::abs(exponent);
  std::string expText;
  char ebuf[16];
  if (absExp <= 99) {
    std::snprintf(ebuf, sizeof ebuf, "E%c%02d", exponent < 0 ? '-' : '+', absExp);
  } else {
    std::snprintf(ebuf, sizeof ebuf, "%c%03d", exponent < 0 ? '-' : '+', absExp);
  }
  expText = ebuf;
  std::string s = (value < 0 ? "-" : "") + mantissa + expText;
  if (static_cast<int>(s.size()) > w) {
    // The leading zero of the mantissa is optional when the field is tight.
    const size_t zero = value < 0 ? 1 : 0;
    s.erase(zero, 1);
  }
  return rightAligned(s, w);
}

Line& Line::x(int n) {
  if (n > 0) text_.append(static_cast<size_t>(n), ' ');
  return *this;
}

Line& Line::a(std::string_view text, int w) {
  if (w < 0) {
    text_.append(text);
  } else if (static_cast<int>(text.size()) >= w) {
    text_.append(text.substr(0, static_cast<size_t>(w)));
  } else {
    text_.append(text);
    text_.append(static_cast<size_t>(w) - text.size(), ' ');
  }
  return *this;
}

Line& Line::i(long long value, int w) {
  text_ += formatI(value, w);
  return *this;
}

Line& Line::f(double value, int w, int d) {
  text_ += formatF(value, w, d);
  return *this;
}

Line& Line::e(double value, int w, int d) {
  text_ += formatE(value, w, d);
  return *this;
}

ListRecord& ListRecord::operator<<(int value) { return *this << static_cast<long long>(value); }

ListRecord& ListRecord::operator<<(long long value) {
  text_ += ' ';
  text_ += std::to_string(value);
  return *this;
}

ListRecord& ListRecord::operator<<(double value) {
  char buf[40];
  // Nine significant digits keep every value well beyond the seven that the
  // readers of these files need; %G drops trailing zeros.
  std::snprintf(buf, sizeof buf, " %.9G", value);
  text_ += buf;
  return *this;
}

}  // namespace terraq::engine
