#include "FreeFormatReader.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace terraq::engine {

InputError::InputError(Kind kind, int line, std::string token)
    : std::runtime_error("input error"), kind_(kind), line_(line), token_(std::move(token)) {}

bool parseReal(const std::string& token, double& value) {
  if (token.empty() || token.size() > 64) return false;
  std::string s = token;
  // A "D" exponent is the double-precision spelling of "E".
  for (char& c : s)
    if (c == 'd' || c == 'D') c = 'E';
  // Only digits, one sign per part, one point, one exponent: strtod would
  // also accept hexadecimal floats, "inf" and "nan", which are not numbers
  // of a data file.
  size_t k = 0;
  if (s[k] == '+' || s[k] == '-') ++k;
  size_t digits = 0;
  while (k < s.size() && std::isdigit(static_cast<unsigned char>(s[k]))) ++k, ++digits;
  if (k < s.size() && s[k] == '.') {
    ++k;
    while (k < s.size() && std::isdigit(static_cast<unsigned char>(s[k]))) ++k, ++digits;
  }
  if (digits == 0) return false;
  if (k < s.size() && (s[k] == 'E' || s[k] == 'e')) {
    ++k;
    if (k < s.size() && (s[k] == '+' || s[k] == '-')) ++k;
    size_t expDigits = 0;
    while (k < s.size() && std::isdigit(static_cast<unsigned char>(s[k]))) ++k, ++expDigits;
    if (expDigits == 0) return false;
  }
  if (k != s.size()) return false;
  errno = 0;
  const double v = std::strtod(s.c_str(), nullptr);
  if (!std::isfinite(v)) return false;
  value = v;
  return true;
}

bool parseInteger(const std::string& token, int& value) {
  if (token.empty() || token.size() > 16) return false;
  size_t k = 0;
  if (token[k] == '+' || token[k] == '-') ++k;
  if (k == token.size()) return false;
  for (size_t m = k; m < token.size(); ++m)
    if (!std::isdigit(static_cast<unsigned char>(token[m]))) return false;
  const long long v = std::strtoll(token.c_str(), nullptr, 10);
  if (v < INT_MIN || v > INT_MAX) return false;
  value = static_cast<int>(v);
  return true;
}

void FreeRecord::assign(size_t index, int& target) const {
  if (index >= tokens_.size()) return;
  if (!parseInteger(tokens_[index], target))
    throw InputError(InputError::Kind::BadInteger, lines_[index], tokens_[index]);
}

void FreeRecord::assign(size_t index, double& target) const {
  if (index >= tokens_.size()) return;
  if (!parseReal(tokens_[index], target))
    throw InputError(InputError::Kind::BadNumber, lines_[index], tokens_[index]);
}

bool FreeFormatReader::nextLine(std::string& line) {
  if (!std::getline(in_, line)) return false;
  ++line_;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

std::string FreeFormatReader::readLine() {
  std::string line;
  if (!nextLine(line)) throw InputError(InputError::Kind::EndOfFile, line_ + 1, "");
  return line;
}

FreeRecord FreeFormatReader::read(int count) {
  FreeRecord record;
  if (count <= 0) {
    // A read of nothing still consumes one line, as a read statement with
    // an empty list does.
    std::string line;
    if (!nextLine(line)) throw InputError(InputError::Kind::EndOfFile, line_ + 1, "");
    return record;
  }
  std::string line;
  while (static_cast<int>(record.tokens_.size()) < count) {
    if (!nextLine(line)) throw InputError(InputError::Kind::EndOfFile, line_ + 1, "");
    size_t k = 0;
    while (k < line.size() && static_cast<int>(record.tokens_.size()) < count) {
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
      record.tokens_.push_back(line.substr(k, end - k));
      record.lines_.push_back(line_);
      k = end;
    }
  }
  return record;
}

}  // namespace terraq::engine
