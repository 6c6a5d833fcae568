#include "graphs/PlotWords.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "controls/NumberFormat.h"
#include "project/TWordReader.h"

namespace terraq::ui {

namespace {

const char* const kIncomplete = "This file either invalid or incomplete.";
const char* const kRealExpected = "A floating point number was expected but not found.";
const char* const kIntegerExpected = "An integer was expected but not found.";

// What separates words: the blanks and line ends of the C locale.
constexpr bool isSeparator(char c) { return c == ' ' || c == '\n' || (c >= '\t' && c <= '\r'); }
constexpr bool isDigit(char c) { return c >= '0' && c <= '9'; }
constexpr bool startsMantissa(char c) { return isDigit(c) || c == '.'; }

// A word as a number within the double range; false when it is none. The
// value is as exact as the general reader's, so that the integer rule sees
// what it sees.
bool toReal(std::string_view w, long double& value) {
  // The usual word, a plain decimal, converts directly: a mantissa that
  // starts with a digit or "." keeps out the texts ParseReal refuses
  // ("inf", "nan", "+-1"); whatever the conversion does not take whole is
  // left to ParseReal.
  const std::string_view body = !w.empty() && w.front() == '+' ? w.substr(1) : w;
  const bool plain = !body.empty() && (startsMantissa(body.front()) ||
                                       (body.front() == '-' && body.size() > 1 && body.size() == w.size() &&
                                        startsMantissa(body[1])));
  if (plain) {
    double fast = 0;
    const auto [end, ec] = std::from_chars(body.data(), body.data() + body.size(), fast);
    if (ec == std::errc() && end == body.data() + body.size()) {
      value = fast;
      return true;
    }
  }
  // Beyond the double range (huge, or so small that it would become zero),
  // or no number: the general reader decides, as for a data file.
  return ParseReal(w, value) && std::fabs(value) <= std::numeric_limits<double>::max();
}

}  // namespace

std::string_view TPlotWords::nextWord() {
  while (pos_ < text_.size() && isSeparator(text_[pos_])) {
    if (text_[pos_] == '\n') {
      ++line_;
      items_ = 0;
    }
    ++pos_;
  }
  if (pos_ == text_.size()) throw EReadError(kIncomplete);
  const size_t begin = pos_;
  while (pos_ < text_.size() && !isSeparator(text_[pos_])) ++pos_;
  wordLine_ = line_;
  wordItem_ = ++items_;
  word_ = text_.substr(begin, pos_ - begin);
  return word_;
}

void TPlotWords::Fail(const std::string& what) const { TWordReader().FailAt(wordLine_, wordItem_, what); }

double TPlotWords::NextReal() {
  long double value = 0;
  if (!toReal(nextWord(), value)) Fail(kRealExpected);
  return static_cast<double>(value);
}

int TPlotWords::NextInteger() {
  long double value = 0;
  if (!toReal(nextWord(), value) || value != std::trunc(value) || value < -2147483648.0L || value > 2147483647.0L)
    Fail(kIntegerExpected);
  return static_cast<int>(value);
}

}  // namespace terraq::ui
