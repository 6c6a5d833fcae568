#pragma once
// One sequential output text of the engine (report, plot file, monitor
// file), written to a file or kept in memory. Lines end with LF; a file that could not be opened
// swallows what is written to it, so that a run whose report cannot be
// created still finishes its other files. An existing file is written over
// in place and cut to the new text when it is closed, so that it stays the
// file the user made: its mode, owner and links are kept (see TextOut.cpp
// for why it is not truncated at the start).
//
// Every write is checked. The first one that fails (a full disk, a file-size
// limit) is remembered with the system's error number, and the file takes
// nothing more: a report cut short must be told from a complete one by the
// run, never by its reader.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace terraq::engine {

class TextOut {
 public:
  TextOut() = default;
  TextOut(const TextOut&) = delete;
  TextOut& operator=(const TextOut&) = delete;
  ~TextOut() { close(); }

  // False when the file cannot be opened; error() then tells why.
  bool open(const std::string& path);
  // Keeps the text in memory instead (takeText() hands it over); such an
  // output cannot fail. An output neither opened nor kept swallows its text.
  void keepInMemory();
  bool isOpen() const { return out_.is_open() || inMemory_; }
  // False when the text would be swallowed: writers of many lines skip
  // their formatting then (an analysis that asked for no texts).
  bool wanted() const { return isOpen() && error_ == 0; }
  // The text kept in memory so far, moved out ("" for a file).
  std::string takeText() { return inMemory_ ? std::move(pending_) : std::string(); }
  void line(std::string_view text);
  // Text as it stands, its line ends included.
  void write(std::string_view text);
  void emptyLines(int n);
  // Hands everything to the system; a failure shows in error() afterwards.
  void close();

  // The errno of the first failed open or write since open(), 0 if none.
  int error() const { return error_; }
  // The name the file was opened under.
  const std::string& path() const { return path_; }

 private:
  void flush();
  void noteFailure();

  std::ofstream out_;
  std::string path_;
  std::filesystem::path inPlace_;  // an existing plain file written over; empty otherwise
  std::string pending_;            // lines not yet handed to the stream
  std::uintmax_t written_ = 0;     // bytes handed to the stream
  int error_ = 0;
  bool inMemory_ = false;
};

}  // namespace terraq::engine
