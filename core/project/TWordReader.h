#pragma once
// TWordReader: the tokenizer of every reader of the interactive program (data
// file, stage files). The text is held once and read forward: lines end at
// LF or CR LF, words are separated by blanks. Values are taken word by word
// across lines; a whole line can be taken as text (titles). Reading takes
// time and memory proportional to the text, whatever its lines hold.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace terraq::ui {

// A file that is not what its reader expects. The message names the line and
// the word, or says that the file ended early; it may hold line breaks.
class EReadError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A file that cannot be opened, read or written; the message carries the
// system's reason.
class EInOutError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The largest data file read. The table limits keep a valid data file far
// below it; a larger file is refused before it is read, rather than hold
// the program (and its window) for a minute and gigabytes.
inline constexpr std::uintmax_t kMaxDataFileBytes = 16u * 1024u * 1024u;

// The whole content of a file; throws EInOutError naming the file and the
// system's reason, or saying that it is not a regular file (a pipe, a
// device) or larger than kMaxDataFileBytes.
std::string ReadWholeFile(const std::filesystem::path& path);

// The message refusing a data file of `size` bytes, larger than
// kMaxDataFileBytes.
std::string DataFileTooLarge(const std::filesystem::path& path, std::uintmax_t size);

// The lines of a text (LF or CR LF ends), without their line ends; a final
// line end does not start another line.
std::vector<std::string> SplitTextLines(std::string_view text);

class TWordReader {
 public:
  TWordReader() = default;
  explicit TWordReader(std::string_view text) { SetText(text); }

  // Reads all lines of a file; throws EInOutError.
  void Open(const std::filesystem::path& path) { SetText(ReadWholeFile(path)); }
  void SetText(std::string_view text);

  // The next word as an integer: a number without fractional part in the
  // 32-bit range ("3", "3.0" and "3E0" are 3). Throws EReadError "Error on
  // Line n Item m" and "An integer was expected but not found.", or "This
  // file either invalid or incomplete." past the last word.
  int NextInteger();
  // The next word as a real ("." as decimal separator). Throws EReadError
  // with "A floating point number was expected but not found.".
  double NextReal();
  // The whole (trimmed) line on which the last value was read, or the next
  // unread line when no value has been read from a line since the last call;
  // the following read starts on the line after it.
  std::string RestOfLine();
  // No word is left to read.
  bool Eof() const;

  // Where the last word was read: 1-based line and word on the line (0
  // before the first read).
  int Line() const { return open_ ? line_ + 1 : 0; }
  int Item() const { return static_cast<int>(word_); }

  // Raises a read error at the last word read, with the reader's message
  // form ("Error on Line n Item m" and a line break before `what`).
  [[noreturn]] void Fail(const std::string& what) const { FailAt(Line(), Item(), what); }
  [[noreturn]] void FailAt(int line, int item, const std::string& what) const;

 private:
  // The next word; empty for a line without one where a word should be.
  std::string_view nextWord();
  // Makes the next line the open one.
  void enterLine();
  // The next word of the open line from wordFrom_, or empty.
  std::string_view wordOfOpenLine();

  std::string text_;
  size_t wordsEnd_ = 0;      // one past the last character of the last word
  size_t nextLine_ = 0;      // offset of the first line not yet entered
  int line_ = -1;            // index of the open (or last entered) line
  bool open_ = false;        // a line is open for words
  size_t lineBegin_ = 0, lineEnd_ = 0;  // the open line, without its line end
  size_t wordFrom_ = 0;      // where the next word of the open line is looked for
  size_t word_ = 0;          // words taken from the open line
};

}  // namespace terraq::ui
