#pragma once
// One sequential output text file of the engine (report, plot file, monitor
// file, scratch files). Lines end with LF; a file that could not be opened
// swallows what is written to it, so that a run whose report cannot be
// created still finishes its other files. Opening an existing plain file
// replaces it by a new one with the new text (see TextOut.cpp for why);
// devices, pipes and links are written through as they are.

#include <fstream>
#include <string>
#include <string_view>

namespace terraq::engine {

class TextOut {
 public:
  bool open(const std::string& path);
  bool isOpen() const { return out_.is_open(); }
  void line(std::string_view text);
  void emptyLines(int n);
  void close();

 private:
  std::ofstream out_;
};

}  // namespace terraq::engine
