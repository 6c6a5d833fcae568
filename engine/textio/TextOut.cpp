#include "TextOut.h"

#include <cerrno>
#include <system_error>

namespace terraq::engine {

namespace {

// Lines are collected and handed to the stream in blocks of this size: a
// run writes tens of thousands of short lines, and the stream's own work per
// call outweighed the copying of a line.
constexpr size_t kBlockSize = 64 * 1024;

}  // namespace

// A run normally writes over the outputs of the run before. The file is
// opened without truncation, written from its start and cut to the length of
// the new text at the end. Truncating at the start would keep the file as
// well, but it frees the old blocks at once and, on ext4, has the file
// flushed to disk when it is closed: measured on ext4 with files of 20 to
// 300 kB, truncating at the start cost 3 to 7 ms per file (a whole small
// analysis run for the three outputs), removing and recreating 0.4 to 2.4 ms,
// writing over and cutting the rest 0.2 to 0.3 ms, about what writing the
// text costs anyway. Should a run die on the way, the file holds the new text
// followed by the end of the old one; a run that ends, by its normal end or
// an error stop, always cuts it.
//
// Anything but a plain file (a device, a pipe) is opened for writing as it
// stands; a symbolic link is followed to the file it names. A file the user
// may not write is refused, as before for one that could not be created.
void TextOut::keepInMemory() {
  close();
  pending_.clear();
  error_ = 0;
  inMemory_ = true;
}

bool TextOut::open(const std::string& path) {
  close();
  inMemory_ = false;
  written_ = 0;
  error_ = 0;
  path_ = path;
  std::error_code error;
  if (std::filesystem::is_regular_file(path, error)) {
    out_.open(path, std::ios::in | std::ios::out | std::ios::binary);
    if (out_.is_open()) inPlace_ = std::filesystem::absolute(path, error);
  }
  if (!out_.is_open()) {
    errno = 0;
    out_.open(path, std::ios::out | std::ios::trunc | std::ios::binary);
    if (!out_.is_open()) error_ = errno ? errno : EACCES;
  }
  return out_.is_open();
}

// The stream keeps no reason of its own; the system call that failed has
// just left it in errno (cleared before every call that is checked).
void TextOut::noteFailure() {
  if (error_ == 0) error_ = errno ? errno : EIO;
}

void TextOut::line(std::string_view text) {
  if (inMemory_) {
    pending_.append(text);
    pending_ += '\n';
    return;
  }
  if (!out_.is_open() || error_ != 0) return;
  pending_.append(text);
  pending_ += '\n';
  if (pending_.size() >= kBlockSize) flush();
}

void TextOut::write(std::string_view text) {
  if (inMemory_) {
    pending_.append(text);
    return;
  }
  if (!out_.is_open() || error_ != 0) return;
  flush();
  errno = 0;
  out_.write(text.data(), static_cast<std::streamsize>(text.size()));
  if (!out_) noteFailure();
  written_ += text.size();
}

void TextOut::emptyLines(int n) {
  for (int k = 0; k < n; ++k) line("");
}

void TextOut::flush() {
  if (error_ == 0 && !pending_.empty()) {
    errno = 0;
    out_.write(pending_.data(), static_cast<std::streamsize>(pending_.size()));
    if (!out_) noteFailure();
    written_ += pending_.size();
  }
  pending_.clear();
}

void TextOut::close() {
  if (!out_.is_open()) return;
  flush();
  errno = 0;
  if (error_ == 0 && !out_.flush()) noteFailure();
  if (!inPlace_.empty() && error_ == 0) {
    // The remainder of the old text goes; a file shorter than what was
    // handed over (a write that failed) is never lengthened.
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(inPlace_, error);
    if (!error && size > written_) std::filesystem::resize_file(inPlace_, written_, error);
    if (error && error_ == 0) error_ = error.value();
  }
  inPlace_.clear();
  // Some file systems (network, quota) only refuse the data when the file
  // is closed.
  errno = 0;
  out_.close();
  if (out_.fail()) noteFailure();
}

}  // namespace terraq::engine
