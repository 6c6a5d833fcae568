#include "FixedFormat.h"

#include <charconv>
#include <cmath>
#include <cstring>
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

namespace {

// Ew.d appended straight to `out` (exactly w characters). The report and the
// plot file are mostly E fields, so this is the engine's hottest output path:
// no temporaries, and std::to_chars rounds exactly as printf does.
void appendE(std::string& out, double value, int w, int d) {
  if (w <= 0) return;
  if (!std::isfinite(value) || d < 1 || d > 300) {
    out.append(static_cast<size_t>(w), '*');
    return;
  }
  char text[320];
  size_t n = 0;
  if (value < 0) text[n++] = '-';
  text[n++] = '0';
  text[n++] = '.';
  int exponent = 0;
  if (value != 0.0) {
    // d significant digits, rounded once: d.ddd...e+xx, then shifted to the
    // 0.ddd form by raising the exponent by one.
    char digits[320];
    const auto r = std::to_chars(digits, digits + sizeof digits, std::fabs(value),
                                 std::chars_format::scientific, d - 1);
    const char* c = digits;
    for (; c != r.ptr && *c != 'e'; ++c)
      if (*c != '.') text[n++] = *c;
    int e = 0;
    if (c != r.ptr) {
      const bool negative = c[1] == '-';
      std::from_chars(c + 2, r.ptr, e);
      if (negative) e = -e;
    }
    exponent = e + 1;
  } else {
    for (int k = 0; k < d; ++k) text[n++] = '0';
  }
  const int a = exponent < 0 ? -exponent : exponent;
  if (a <= 99) {
    text[n++] = 'E';
  } else {
    // Three-digit exponents take the place of the letter E (0.125+100).
    text[n++] = exponent < 0 ? '-' : '+';
    text[n++] = static_cast<char>('0' + a / 100);
  }
  if (a <= 99) text[n++] = exponent < 0 ? '-' : '+';
  text[n++] = static_cast<char>('0' + (a / 10) % 10);
  text[n++] = static_cast<char>('0' + a % 10);
  if (static_cast<int>(n) > w) {
    // The leading zero of the mantissa is optional when the field is tight.
    const size_t zero = value < 0 ? 1 : 0;
    std::memmove(text + zero, text + zero + 1, n - zero - 1);
    --n;
  }
  if (static_cast<int>(n) > w) {
    out.append(static_cast<size_t>(w), '*');
    return;
  }
  out.append(static_cast<size_t>(w) - n, ' ');
  out.append(text, n);
}

}  // namespace

std::string formatE(double value, int w, int d) {
  std::string s;
  appendE(s, value, w, d);
  return s;
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
  appendE(text_, value, w, d);
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
