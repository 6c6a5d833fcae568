#include "FreeFormatReader.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>

namespace terraq::engine {

InputError::InputError(Kind kind, int line, std::string token)
    : std::runtime_error("input error"), kind_(kind), line_(line), token_(std::move(token)) {}

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

// Text becomes a number through std::from_chars, which rounds exactly as
// strtod does, without strtod's consulting of the locale. The word is checked
// against the forms of a data file first, since from_chars would also take
// "inf" and "nan", and handed over without a leading "+" and with a "D"
// exponent spelled "E", neither of which from_chars knows.
bool ParseReal(std::string_view token, double& value) {
  if (token.empty() || token.size() > 64) return false;
  // Only digits, one sign per part, one point, one exponent; a "D" exponent
  // is the double-precision spelling of "E".
  char s[64];  // the word as from_chars takes it
  size_t n = 0, k = 0;
  if (token[k] == '+') ++k;
  else if (token[k] == '-') s[n++] = token[k++];
  size_t digits = 0;
  for (; k < token.size() && IsDigit(token[k]); ++k, ++digits) s[n++] = token[k];
  if (k < token.size() && token[k] == '.') {
    s[n++] = token[k++];
    for (; k < token.size() && IsDigit(token[k]); ++k, ++digits) s[n++] = token[k];
  }
  if (digits == 0) return false;
  bool negativeExponent = false;
  const auto isExponent = [](char c) { return c == 'E' || c == 'e' || c == 'D' || c == 'd'; };
  if (k < token.size() && isExponent(token[k])) {
    s[n++] = 'E';
    ++k;
    if (k < token.size() && (token[k] == '+' || token[k] == '-')) {
      negativeExponent = token[k] == '-';
      s[n++] = token[k++];
    }
    size_t exponentDigits = 0;
    for (; k < token.size() && IsDigit(token[k]); ++k, ++exponentDigits) s[n++] = token[k];
    if (exponentDigits == 0) return false;
  }
  if (k != token.size()) return false;
  double v = 0.0;
  const auto r = std::from_chars(s, s + n, v);
  if (r.ec == std::errc::result_out_of_range) {
    // A mantissa of at most 64 digits lies within 1E-64 and 1E64, so only a
    // negative exponent takes it below the smallest double, and it reads as
    // zero, as it always has; out of range the other way it is too large
    // for a number of the data file.
    if (!negativeExponent) return false;
    v = s[0] == '-' ? -0.0 : 0.0;
  } else if (r.ec != std::errc() || r.ptr != s + n) {
    return false;
  }
  value = v;
  return true;
}

bool ParseInteger(std::string_view token, int& value) {
  if (token.empty() || token.size() > 16) return false;
  // from_chars takes a minus sign only: a plus sign is skipped, and a sign
  // after it refused.
  if (token[0] == '+') {
    token.remove_prefix(1);
    if (token.empty() || token[0] == '-') return false;
  }
  int v = 0;
  const auto r = std::from_chars(token.data(), token.data() + token.size(), v);
  if (r.ec != std::errc() || r.ptr != token.data() + token.size()) return false;
  value = v;
  return true;
}

void FreeRecord::assign(size_t index, int& target) const {
  if (index >= words_.size()) return;
  const Word& word = words_[index];
  if (!ParseInteger(word.text, target))
    throw InputError(InputError::Kind::BadInteger, word.line, word.text);
}

void FreeRecord::assign(size_t index, double& target) const {
  if (index >= words_.size()) return;
  const Word& word = words_[index];
  if (!ParseReal(word.text, target))
    throw InputError(InputError::Kind::BadNumber, word.line, word.text);
}

bool FreeFormatReader::nextLine() {
  errno = 0;
  if (!std::getline(in_, text_)) {
    // The stream keeps no error code of its own; the failed read's is still
    // in errno.
    if (in_.bad())
      throw InputError(InputError::Kind::ReadFailed, line_ + 1, std::strerror(errno ? errno : EIO));
    return false;
  }
  ++line_;
  if (!text_.empty() && text_.back() == '\r') text_.pop_back();
  return true;
}

std::string FreeFormatReader::readLine() {
  if (!nextLine()) throw InputError(InputError::Kind::EndOfFile, line_ + 1, "");
  return text_;
}

FreeRecord FreeFormatReader::read(int count) {
  FreeRecord record;
  if (count <= 0) {
    // A read of nothing still consumes one line, as a read statement with
    // an empty list does.
    if (!nextLine()) throw InputError(InputError::Kind::EndOfFile, line_ + 1, "");
    return record;
  }
  // Room for the words of a read from the start: records are short, and
  // growing the list word by word cost more than the words themselves.
  record.words_.reserve(static_cast<size_t>(std::min(count, 16)));
  const std::string& line = text_;
  while (static_cast<int>(record.words_.size()) < count) {
    if (!nextLine()) throw InputError(InputError::Kind::EndOfFile, line_ + 1, "");
    size_t k = 0;
    while (k < line.size() && static_cast<int>(record.words_.size()) < count) {
      const char c = line[k];
      if (c == ' ' || c == '\t' || c == ',') {
        ++k;
        continue;
      }
      if (c == '/') return record;  // the rest of this read keeps its values
      size_t end = k;
      while (end < line.size() && line[end] != ' ' && line[end] != '\t' && line[end] != ',' &&
             line[end] != '/')
        ++end;
      record.words_.push_back({line.substr(k, end - k), line_});
      k = end;
    }
  }
  return record;
}

}  // namespace terraq::engine
