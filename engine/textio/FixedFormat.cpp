#include "FixedFormat.h"

#include "FieldDigits.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace terraq::engine {

// Every number of the engine becomes text rounded exactly as printf rounds
// it (the files read the same as ever): its digits straight from the value
// where that is sure to give the same digits (FieldDigits.h), otherwise
// through std::to_chars, which needs no locale, no format string and no
// temporary string, unlike printf.

namespace {

void AppendAsterisks(std::string& out, int w) {
  if (w > 0) out.append(static_cast<size_t>(w), '*');
}

// Appends the text of one number right-aligned in a field of w columns. A
// text one column too long first drops the optional leading zero of a
// fraction ("0.500" -> ".500", "-0.5" -> "-.5"); one still too long becomes
// asterisks, so that a number too large for its column is seen and never
// shifts the columns after it.
void AppendField(std::string& out, const char* text, size_t n, int w) {
  const size_t width = static_cast<size_t>(w);
  if (n > width) {
    const size_t zero = text[0] == '-' ? 1 : 0;
    if (n == width + 1 && n > zero + 1 && text[zero] == '0' && text[zero + 1] == '.') {
      out.append(text, zero);
      out.append(text + zero + 1, n - zero - 1);
      return;
    }
    return AppendAsterisks(out, w);
  }
  out.append(width - n, ' ');
  out.append(text, n);
}

// The digits of an integer, as many as it needs (I0).
void AppendDigits(std::string& out, long long value) {
  char text[24];
  const auto r = std::to_chars(text, text + sizeof text, value);
  out.append(text, r.ptr);
}

void AppendI(std::string& out, long long value, int w) {
  if (w == 0) return AppendDigits(out, value);
  if (w < 0) return;
  char text[24];
  const auto r = std::to_chars(text, text + sizeof text, value);
  AppendField(out, text, static_cast<size_t>(r.ptr - text), w);
}

// Writes the digits of n, at least `minimum` of them (leading zeros), at
// the end of `text`; returns the new end.
char* PutDigits(char* end, std::uint64_t n, int minimum) {
  char digits[24];
  int count = 0;
  do {
    digits[count++] = static_cast<char>('0' + n % 10);
    n /= 10;
  } while (n != 0);
  while (count < minimum) digits[count++] = '0';
  while (count > 0) *end++ = digits[--count];
  return end;
}

// Fw.d from the scaled integer: as to_chars writes it, a sign for every
// negative value (-0.00 too), at least one integer digit, no point for d = 0.
bool AppendFFast(std::string& out, double value, int w, int d) {
  std::uint64_t scaled = 0;
  if (d > 17 || !ScaledDigits(std::fabs(value), d, scaled)) return false;
  std::uint64_t unit = 1;
  for (int k = 0; k < d; ++k) unit *= 10;
  char text[48];
  char* end = text;
  if (std::signbit(value)) *end++ = '-';
  end = PutDigits(end, scaled / unit, 1);
  if (d > 0) {
    *end++ = '.';
    end = PutDigits(end, scaled % unit, d);
  }
  AppendField(out, text, static_cast<size_t>(end - text), w);
  return true;
}

void AppendF(std::string& out, double value, int w, int d) {
  if (w <= 0) return;
  // Magnitudes that cannot fit any sane field go straight to asterisks.
  if (!std::isfinite(value) || std::fabs(value) >= 1e300 || d < 0) return AppendAsterisks(out, w);
  if (AppendFFast(out, value, w, d)) return;
  // Room for the field and its optional leading zero: a text that needs
  // more cannot fit, and to_chars says so. Fields wider than any column of
  // the files take their room from the heap.
  char local[128];
  std::string wide;
  const size_t room = static_cast<size_t>(w) + 1;
  char* text = local;
  if (room > sizeof local) {
    wide.resize(room);
    text = wide.data();
  }
  const auto r = std::to_chars(text, text + room, value, std::chars_format::fixed, d);
  if (r.ec != std::errc()) return AppendAsterisks(out, w);
  AppendField(out, text, static_cast<size_t>(r.ptr - text), w);
}

// Ew.d: the mantissa 0.ddd rounded once to d digits, then the exponent.
void AppendE(std::string& out, double value, int w, int d) {
  if (w <= 0) return;
  if (!std::isfinite(value) || d < 1 || d > 300) return AppendAsterisks(out, w);
  char text[320];
  size_t n = 0;
  if (value < 0) text[n++] = '-';
  text[n++] = '0';
  text[n++] = '.';
  int exponent = 0;
  std::uint64_t mantissa = 0;
  if (value != 0.0 && SignificantDigits(std::fabs(value), d, mantissa, exponent)) {
    n = static_cast<size_t>(PutDigits(text + n, mantissa, d) - text);
  } else if (value != 0.0) {
    // d significant digits, d.ddd...e+xx, become 0.ddd with the exponent
    // raised by one.
    char digits[320];
    const auto r = std::to_chars(digits, digits + sizeof digits, std::fabs(value),
                                 std::chars_format::scientific, d - 1);
    const char* c = digits;
    for (; c != r.ptr && *c != 'e'; ++c)
      if (*c != '.') text[n++] = *c;
    int e = 0;
    if (c != r.ptr) {
      std::from_chars(c + 2, r.ptr, e);
      if (c[1] == '-') e = -e;
    }
    exponent = e + 1;
  } else {
    std::memset(text + n, '0', static_cast<size_t>(d));
    n += static_cast<size_t>(d);
  }
  const int a = exponent < 0 ? -exponent : exponent;
  // Three-digit exponents take the place of the letter E (0.125+100).
  if (a <= 99) text[n++] = 'E';
  text[n++] = exponent < 0 ? '-' : '+';
  if (a > 99) text[n++] = static_cast<char>('0' + a / 100);
  text[n++] = static_cast<char>('0' + (a / 10) % 10);
  text[n++] = static_cast<char>('0' + a % 10);
  AppendField(out, text, n, w);
}

// %.9G from the nine significant digits straight from the value: fixed
// form for decimal exponents -4 to 8, exponent form (at least two exponent
// digits) beyond, trailing zeros and a bare point dropped. False when the
// digits are not sure (FieldDigits.h).
bool AppendGeneralFast(std::string& out, double value) {
  constexpr int kDigits = 9;
  std::uint64_t mantissa = 0;
  int exponent = 0;  // of 0.D1D2...
  if (value == 0.0 || !SignificantDigits(std::fabs(value), kDigits, mantissa, exponent))
    return false;
  char digits[kDigits];
  int count = kDigits;
  for (int k = kDigits - 1; k >= 0; --k, mantissa /= 10)
    digits[k] = static_cast<char>('0' + mantissa % 10);
  while (count > 1 && digits[count - 1] == '0') --count;
  char text[40];
  char* end = text;
  if (value < 0) *end++ = '-';
  const int x = exponent - 1;  // of D1.D2...
  if (x >= -4 && x < kDigits) {
    if (x < 0) {
      *end++ = '0';
      *end++ = '.';
      for (int k = 0; k < -x - 1; ++k) *end++ = '0';
      for (int k = 0; k < count; ++k) *end++ = digits[k];
    } else {
      for (int k = 0; k <= x; ++k) *end++ = k < count ? digits[k] : '0';
      if (count > x + 1) {
        *end++ = '.';
        for (int k = x + 1; k < count; ++k) *end++ = digits[k];
      }
    }
  } else {
    *end++ = digits[0];
    if (count > 1) {
      *end++ = '.';
      for (int k = 1; k < count; ++k) *end++ = digits[k];
    }
    *end++ = 'E';
    *end++ = x < 0 ? '-' : '+';
    end = PutDigits(end, static_cast<std::uint64_t>(x < 0 ? -x : x), 2);
  }
  out.append(text, end);
  return true;
}

// A real of a list-directed record: nine significant digits, trailing zeros
// dropped, in fixed form for exponents -4 to 8 and in exponent form beyond,
// as printf's %.9G writes it (0.25, 1.5E-07, INF); the readers of these files
// need seven digits.
void AppendGeneral(std::string& out, double value) {
  if (AppendGeneralFast(out, value)) return;
  char text[40];
  const auto r = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 9);
  for (char* c = text; c != r.ptr; ++c)
    if (*c >= 'a' && *c <= 'z') *c = static_cast<char>(*c - 'a' + 'A');
  out.append(text, r.ptr);
}

}  // namespace

std::string FormatI(long long value, int w) {
  std::string s;
  AppendI(s, value, w);
  return s;
}

std::string FormatF(double value, int w, int d) {
  std::string s;
  AppendF(s, value, w, d);
  return s;
}

std::string FormatE(double value, int w, int d) {
  std::string s;
  AppendE(s, value, w, d);
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
  AppendI(text_, value, w);
  return *this;
}

Line& Line::f(double value, int w, int d) {
  AppendF(text_, value, w, d);
  return *this;
}

Line& Line::e(double value, int w, int d) {
  AppendE(text_, value, w, d);
  return *this;
}

ListRecord& ListRecord::operator<<(int value) { return *this << static_cast<long long>(value); }

ListRecord& ListRecord::operator<<(long long value) {
  text_ += ' ';
  AppendDigits(text_, value);
  return *this;
}

ListRecord& ListRecord::operator<<(double value) {
  text_ += ' ';
  AppendGeneral(text_, value);
  return *this;
}

}  // namespace terraq::engine
