#pragma once
// The words of a plot file, read fast. A plot file holds tens of thousands
// of numbers and is read after every run, so its words are scanned in place
// and converted without copies. The rules and messages are those of
// TWordReader (project/TWordReader.h): a real in the plain decimal or
// exponent form with "." as separator, an integer a real without fraction in
// the 32-bit range, "This file either invalid or incomplete." past the last
// word, "Error on Line n Item m" before what was wrong with a word. Unlike
// the data files, line breaks mean nothing here: an empty line is skipped.

#include <string>
#include <string_view>

namespace terraq::ui {

class TPlotWords {
 public:
  // `text` must outlive the reader.
  explicit TPlotWords(std::string_view text) : text_(text) {}

  // Throw EReadError as TWordReader does.
  double NextReal();
  int NextInteger();
  // The last word read, as written.
  std::string_view LastWord() const { return word_; }
  // Raises a read error at the last word read.
  [[noreturn]] void Fail(const std::string& what) const;

 private:
  std::string_view nextWord();

  std::string_view text_;
  size_t pos_ = 0;
  int line_ = 1;      // line of pos_
  int items_ = 0;     // words taken from that line
  int wordLine_ = 0;  // where the last word was
  int wordItem_ = 0;
  std::string_view word_;
};

}  // namespace terraq::ui
