#include "TextOut.h"

#include <filesystem>
#include <system_error>

namespace terraq::engine {

namespace {

// A run normally overwrites the outputs of the run before. Truncating a file
// that holds data makes some file systems (ext4's replace-by-truncate rule)
// write it to disk when it is closed, which cost a whole analysis run several
// times over while the disk was busy. A plain file is therefore removed and
// written anew: the same text, a new file. Anything else (a device, a pipe, a
// symbolic link, a file with further hard links) is truncated in place, so
// that what the name stands for is written as before.
void removePlainFile(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::file_status status = fs::symlink_status(path, error);
  if (error || status.type() != fs::file_type::regular) return;
  if (fs::hard_link_count(path, error) != 1 || error) return;
  fs::remove(path, error);  // if it cannot be removed, opening truncates it
}

}  // namespace

bool TextOut::open(const std::string& path) {
  removePlainFile(path);
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
