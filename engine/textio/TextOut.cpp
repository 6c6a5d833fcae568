#include "TextOut.h"

namespace terraq::engine {

bool TextOut::open(const std::string& path) {
  out_.open(path, std::ios::out | std::ios::trunc | std::ios::binary);
  return out_.is_open();
}

void TextOut::line(std::string_view text) {
  if (!out_.is_open()) return;
  out_.write(text.data(), static_cast<std::streamsize>(text.size()));
  out_.put('\n');
}

void TextOut::emptyLines(int n) {
  for (int k = 0; k < n; ++k) line("");
}

void TextOut::close() {
  if (out_.is_open()) out_.close();
}

}  // namespace terraq::engine
