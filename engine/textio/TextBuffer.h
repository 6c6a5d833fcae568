#pragma once
// A read-only stream buffer over text the caller owns, so that the
// free-format reader (an std::istream) reads a data file's text in memory
// without a copy of it. The text must outlive the buffer.

#include <streambuf>
#include <string_view>

namespace terraq::engine {

class TextBuffer : public std::streambuf {
 public:
  explicit TextBuffer(std::string_view text) {
    // The get area is only read: std::streambuf wants non-const pointers.
    char* begin = const_cast<char*>(text.data());
    setg(begin, begin, begin + text.size());
  }
};

}  // namespace terraq::engine
