#include "project/TWordReader.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <algorithm>
#include <fstream>

#include "controls/NumberFormat.h"

namespace terraq::ui {

namespace {

const char* const kIncomplete = "This file either invalid or incomplete.";
const char* const kRealExpected = "A floating point number was expected but not found.";
const char* const kIntegerExpected = "An integer was expected but not found.";
// What separates words: the blanks and line ends of the C locale.
const char* const kBlanks = " \t\n\v\f\r";

std::string trim(std::string_view line) {
  const size_t first = line.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const size_t last = line.find_last_not_of(" \t");
  return std::string(line.substr(first, last - first + 1));
}

}  // namespace

std::string DataFileTooLarge(const std::filesystem::path& path, std::uintmax_t size) {
  char megabytes[32];
  std::snprintf(megabytes, sizeof megabytes, "%.1f", static_cast<double>(size) / (1024.0 * 1024.0));
  return path.string() + " is " + megabytes + " MB; a data file may hold at most " +
         std::to_string(kMaxDataFileBytes / (1024 * 1024)) + " MB";
}

std::string ReadWholeFile(const std::filesystem::path& path) {
  std::error_code ec;
  // A pipe would hang the program until someone writes into it, and a
  // device read has no end: only regular files are data files.
  if (const auto status = std::filesystem::status(path, ec);
      std::filesystem::exists(status) && !std::filesystem::is_regular_file(status))
    throw EInOutError("Cannot open " + path.string() + ": it is not a regular file");
  if (const auto size = std::filesystem::file_size(path, ec); !ec && size > kMaxDataFileBytes)
    throw EInOutError(DataFileTooLarge(path, size));
  errno = 0;
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    const int error = errno ? errno : ENOENT;
    throw EInOutError("Cannot open " + path.string() + ": " + std::strerror(error));
  }
  // Bounded also for what has no size to ask (a pipe) or grows meanwhile.
  std::string text;
  char chunk[65536];
  while (in && text.size() <= kMaxDataFileBytes) {
    in.read(chunk, sizeof chunk);
    text.append(chunk, static_cast<size_t>(in.gcount()));
  }
  if (in.bad()) throw EInOutError("Cannot read " + path.string() + ": " + std::strerror(errno ? errno : EIO));
  if (text.size() > kMaxDataFileBytes) throw EInOutError(DataFileTooLarge(path, text.size()));
  return text;
}

std::vector<std::string> SplitTextLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.emplace_back(line);
    start = end + 1;
  }
  return lines;
}

void TWordReader::SetText(std::string_view text) {
  text_.assign(text);
  const size_t last = text_.find_last_not_of(kBlanks);
  wordsEnd_ = last == std::string::npos ? 0 : last + 1;
  nextLine_ = 0;
  line_ = -1;
  open_ = false;
  lineBegin_ = lineEnd_ = wordFrom_ = word_ = 0;
}

void TWordReader::enterLine() {
  lineBegin_ = nextLine_;
  const size_t end = text_.find('\n', lineBegin_);
  lineEnd_ = end == std::string::npos ? text_.size() : end;
  nextLine_ = end == std::string::npos ? text_.size() : end + 1;
  if (lineEnd_ > lineBegin_ && text_[lineEnd_ - 1] == '\r') --lineEnd_;
  ++line_;
  open_ = true;
  wordFrom_ = lineBegin_;
  word_ = 0;
}

std::string_view TWordReader::wordOfOpenLine() {
  const std::string_view line(text_.data() + lineBegin_, lineEnd_ - lineBegin_);
  const size_t begin = line.find_first_not_of(kBlanks, wordFrom_ - lineBegin_);
  if (begin == std::string_view::npos) {
    wordFrom_ = lineEnd_;
    return {};
  }
  const size_t end = std::min(line.find_first_of(kBlanks, begin), line.size());
  wordFrom_ = lineBegin_ + end;
  return line.substr(begin, end - begin);
}

void TWordReader::FailAt(int line, int item, const std::string& what) const {
  throw EReadError("Error on Line " + std::to_string(line) + " Item " + std::to_string(item) + "\n" + what);
}

std::string_view TWordReader::nextWord() {
  if (open_) {
    if (const std::string_view word = wordOfOpenLine(); !word.empty()) {
      ++word_;
      return word;
    }
  }
  // The value is on the next line, which must hold a word.
  if (nextLine_ >= wordsEnd_) throw EReadError(kIncomplete);
  enterLine();
  word_ = 1;
  return wordOfOpenLine();
}

double TWordReader::NextReal() {
  const std::string_view word = nextWord();
  long double value = 0;
  if (word.empty() || !ParseReal(word, value) || std::fabs(value) > 1.7976931348623157e308L) Fail(kRealExpected);
  return static_cast<double>(value);
}

int TWordReader::NextInteger() {
  const std::string_view word = nextWord();
  long double value = 0;
  if (word.empty() || !ParseReal(word, value) || value != std::trunc(value) || value < -2147483648.0L ||
      value > 2147483647.0L)
    Fail(kIntegerExpected);
  return static_cast<int>(value);
}

std::string TWordReader::RestOfLine() {
  if (!open_) {
    if (nextLine_ >= text_.size()) throw EReadError(kIncomplete);
    enterLine();
  }
  open_ = false;
  word_ = 0;
  return trim(std::string_view(text_).substr(lineBegin_, lineEnd_ - lineBegin_));
}

bool TWordReader::Eof() const {
  if (open_) {
    const std::string_view line(text_.data() + lineBegin_, lineEnd_ - lineBegin_);
    if (line.find_first_not_of(kBlanks, wordFrom_ - lineBegin_) != std::string_view::npos) return false;
  }
  return nextLine_ >= wordsEnd_;
}

}  // namespace terraq::ui
