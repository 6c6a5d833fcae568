#include "project/TWordReader.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <fstream>
#include <sstream>

#include "controls/NumberFormat.h"

namespace terraq::ui {

namespace {

const char* const kIncomplete = "This file either invalid or incomplete.";
const char* const kRealExpected = "A floating point number was expected but not found.";
const char* const kIntegerExpected = "An integer was expected but not found.";

std::string trim(std::string_view line) {
  const size_t first = line.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const size_t last = line.find_last_not_of(" \t");
  return std::string(line.substr(first, last - first + 1));
}

}  // namespace

std::string ReadWholeFile(const std::filesystem::path& path) {
  errno = 0;
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    const int error = errno ? errno : ENOENT;
    throw EInOutError("Cannot open " + path.string() + ": " + std::strerror(error));
  }
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) throw EInOutError("Cannot read " + path.string() + ": " + std::strerror(errno ? errno : EIO));
  return text.str();
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
  lines_.clear();
  words_.clear();
  for (const std::string& raw : SplitTextLines(text)) {
    lines_.push_back(trim(raw));
    std::vector<std::string> words;
    std::istringstream split(lines_.back());
    for (std::string word; split >> word;) words.push_back(word);
    words_.push_back(std::move(words));
  }
  current_ = -1;
  next_ = 0;
  word_ = 0;
}

void TWordReader::FailAt(int line, int item, const std::string& what) const {
  throw EReadError("Error on Line " + std::to_string(line) + " Item " + std::to_string(item) + "\n" + what);
}

const std::string* TWordReader::nextWord() {
  if (current_ >= 0 && word_ < words_[static_cast<size_t>(current_)].size())
    return &words_[static_cast<size_t>(current_)][word_++];
  // The value is on the next line, which must hold a word.
  bool anyLeft = false;
  for (size_t k = next_; k < words_.size() && !anyLeft; ++k) anyLeft = !words_[k].empty();
  if (!anyLeft) throw EReadError(kIncomplete);
  current_ = static_cast<int>(next_++);
  const auto& words = words_[static_cast<size_t>(current_)];
  word_ = 1;
  return words.empty() ? nullptr : &words.front();
}

double TWordReader::NextReal() {
  const std::string* word = nextWord();
  long double value = 0;
  if (!word || !ParseReal(*word, value) || std::fabs(value) > 1.7976931348623157e308L) Fail(kRealExpected);
  return static_cast<double>(value);
}

int TWordReader::NextInteger() {
  const std::string* word = nextWord();
  long double value = 0;
  if (!word || !ParseReal(*word, value) || value != std::trunc(value) || value < -2147483648.0L ||
      value > 2147483647.0L)
    Fail(kIntegerExpected);
  return static_cast<int>(value);
}

std::string TWordReader::RestOfLine() {
  const size_t line = current_ >= 0 ? static_cast<size_t>(current_) : next_;
  if (line >= lines_.size()) throw EReadError(kIncomplete);
  current_ = -1;
  next_ = line + 1;
  word_ = 0;
  return lines_[line];
}

bool TWordReader::Eof() const {
  if (current_ >= 0 && word_ < words_[static_cast<size_t>(current_)].size()) return false;
  for (size_t k = next_; k < words_.size(); ++k)
    if (!words_[k].empty()) return false;
  return true;
}

}  // namespace terraq::ui
