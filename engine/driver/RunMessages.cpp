#include "RunMessages.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace terraq::engine {

// Emptied rather than removed: the caller may have reserved room for the
// file on the disk (an empty file keeps that room).
void ClearRunMessages() {
  std::error_code ec;
  if (std::filesystem::file_size(kRunMessagesFile, ec) > 0 && !ec) std::filesystem::resize_file(kRunMessagesFile, 0, ec);
}

// Opened per line: the engine has a handful of messages per run at most, and
// each one reaches the file even if the run ends abruptly afterwards.
void TellCaller(std::string_view line) {
  if (std::FILE* file = std::fopen(kRunMessagesFile, "ab")) {
    const bool written = std::fwrite(line.data(), 1, line.size(), file) == line.size() &&
                         std::fputc('\n', file) != EOF;
    if (std::fclose(file) == 0 && written) return;
  }
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

void TellWriteFailure(const std::string& path, int error) {
  std::error_code ec;
  std::filesystem::path shown = std::filesystem::absolute(path, ec);
  if (ec) shown = path;
  TellCaller("CANNOT WRITE " + shown.string() + ": " + std::strerror(error));
}

void TellReadFailure(const std::string& path, const std::string& reason) {
  std::error_code ec;
  std::filesystem::path shown = std::filesystem::absolute(path, ec);
  if (ec) shown = path;
  TellCaller("CANNOT READ " + shown.string() + ": " + reason);
}

}  // namespace terraq::engine
