#pragma once
// The engine's reader of free-format (list-directed) input: values separated
// by blanks, tabs or commas. One read takes as many values as it asks for,
// across as many lines as needed, and then skips the rest of the last line it
// touched; a "/" ends the read early, and the values not yet read keep what
// the caller's variables already held. A title is read as a whole line.
//
// Faults of the input (a malformed number, the end of the file where a value
// is expected) throw InputError, which carries the 1-based line number so
// that the report can say where the data file is wrong. A file the system
// cannot read (an input/output error of the disk) is no fault of the data:
// it throws ReadFailed with the system's text for the error, never the end
// of the file.

#include <istream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace terraq::engine {

class InputError : public std::runtime_error {
 public:
  enum class Kind { BadNumber, BadInteger, EndOfFile, ReadFailed };
  InputError(Kind kind, int line, std::string token);
  Kind kind() const { return kind_; }
  int line() const { return line_; }
  // The offending word; for ReadFailed, the system's text for the error.
  const std::string& token() const { return token_; }

 private:
  Kind kind_;
  int line_;
  std::string token_;
};

// The values of one read, not yet converted: conversion happens per item so
// that an integer item refuses "2.5" and a real item accepts "2", "2.", ".5",
// "2E3" and "2D3".
class FreeRecord {
 public:
  // Assigns item `index` (0-based) to `target` if the read supplied it;
  // a read cut short by "/" leaves `target` as it was.
  void assign(size_t index, int& target) const;
  void assign(size_t index, double& target) const;
  size_t size() const { return words_.size(); }

 private:
  friend class FreeFormatReader;
  struct Word {
    std::string text;
    int line;  // 1-based, for the message when the word is not a number
  };
  std::vector<Word> words_;
};

class FreeFormatReader {
 public:
  explicit FreeFormatReader(std::istream& in) : in_(in) {}

  // The next whole line (line ends LF or CR LF); throws EndOfFile at the end.
  std::string readLine();
  // A list-directed read of `count` values.
  FreeRecord read(int count);

  // Line number of the last line consumed (1-based; 0 before the first).
  int lineNumber() const { return line_; }

 private:
  bool nextLine();
  std::istream& in_;
  std::string text_;  // the line last read, its storage kept from line to line
  int line_ = 0;
};

// Parses one real in the forms free-format input allows; false if malformed.
bool ParseReal(std::string_view token, double& value);
// Parses one integer (optional sign, digits only, 32-bit range).
bool ParseInteger(std::string_view token, int& value);

}  // namespace terraq::engine
