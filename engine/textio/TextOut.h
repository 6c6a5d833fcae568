#pragma once
// One sequential output text file of the engine (report, plot file, monitor
// file, scratch files). Lines end with LF; a file that could not be opened
// swallows what is written to it, so that a run whose report cannot be
// created still finishes its other files. An existing file is written over
// in place and cut to the new text when it is closed, so that it stays the
// file the user made: its mode, owner and links are kept (see TextOut.cpp
// for why it is not truncated at the start).

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

  bool open(const std::string& path);
  bool isOpen() const { return out_.is_open(); }
  void line(std::string_view text);
  void emptyLines(int n);
  void close();

 private:
  void flush();

  std::ofstream out_;
  std::filesystem::path inPlace_;  // an existing plain file written over; empty otherwise
  std::string pending_;            // lines not yet handed to the stream
  std::uintmax_t written_ = 0;     // bytes handed to the stream
};

}  // namespace terraq::engine
