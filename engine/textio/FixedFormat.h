#pragma once
// Fixed-format output of the engine's text files (report, plot file and
// monitor file). A line is built field by field, the way a
// column-oriented format statement lays it out:
//
//   Line().x(6).a("NUMBER OF INCREMENTS = ").i(ni, 3).str()
//
// Every numeric field follows the overflow rule of fixed-format output: a
// value that does not fit its width is written as a field of asterisks, so a
// too-large number is visible in the report instead of shifting the columns.
//
// This is the only number-to-text code of the engine; list-directed
// (free-format) records are built with ListRecord below, and a number inside
// a message is FormatI(value, 0).

#include <string>
#include <string_view>

namespace terraq::engine {

class Line {
 public:
  // Room for a whole report line from the start, so that the text is not
  // moved again and again as it grows field by field.
  Line() { text_.reserve(128); }
  // n blanks (nX).
  Line& x(int n);
  // Text in a field of width w (Aw): cut to w characters or padded on the
  // right with blanks. w < 0 writes the text as it stands.
  Line& a(std::string_view text, int w = -1);
  // Integer right-aligned in w columns (Iw); w = 0 writes just its digits
  // (I0).
  Line& i(long long value, int w);
  // Fixed-point real in w columns with d decimals (Fw.d).
  Line& f(double value, int w, int d);
  // Exponent form in w columns with d mantissa digits (Ew.d): 12.5 as E10.3
  // is " 0.125E+02". Exponents beyond two digits drop the letter E
  // (0.125+100), as fixed-format output does.
  Line& e(double value, int w, int d);

  const std::string& str() const { return text_; }

 private:
  std::string text_;
};

// The exponent field (Ew.d) in which the generators' results once passed to
// the analysis through scratch files, and whose digits they still carry
// (ScratchDigits.h): ten significant digits, so that their rounding never
// shows in the results.
inline constexpr int kScratchFieldWidth = 17;
inline constexpr int kScratchDigits = 10;

// Field helpers, usable on their own (each returns exactly w characters).
std::string FormatI(long long value, int w);
std::string FormatF(double value, int w, int d);
std::string FormatE(double value, int w, int d);

// One list-directed record: values separated by blanks, integers as
// integers, reals in a general form that reads back to the same value to
// better than 7 significant digits.
class ListRecord {
 public:
  ListRecord() { text_.reserve(64); }
  ListRecord& operator<<(int value);
  ListRecord& operator<<(long long value);
  ListRecord& operator<<(double value);
  const std::string& str() const { return text_; }

 private:
  std::string text_;
};

}  // namespace terraq::engine
