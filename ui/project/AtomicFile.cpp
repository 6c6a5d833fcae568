#include "project/AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <system_error>

#include "project/TWordReader.h"

#if !defined(_WIN32)
#include <unistd.h>
#endif

namespace terraq::ui {

namespace {

[[noreturn]] void fail(const std::filesystem::path& path, int error) {
  throw EInOutError("Cannot write " + path.string() + ": " + std::strerror(error));
}

}  // namespace

void WriteFileAtomically(const std::filesystem::path& path, std::string_view content) {
  const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
  std::random_device random;
  FILE* file = nullptr;
  std::filesystem::path temporary;
  // "x": created anew, never an existing file of someone else.
  for (int attempt = 0; attempt < 16 && !file; ++attempt) {
    temporary = folder / ("." + path.filename().string() + ".tmp" + std::to_string(random() % 1000000));
    errno = 0;
    file = std::fopen(temporary.string().c_str(), "wbx");
    if (!file && errno != EEXIST) fail(path, errno ? errno : EACCES);
  }
  if (!file) fail(path, EEXIST);

  int error = 0;
  if (std::fwrite(content.data(), 1, content.size(), file) != content.size()) error = errno ? errno : EIO;
  if (!error && std::fflush(file) != 0) error = errno ? errno : EIO;
#if !defined(_WIN32)
  if (!error && fsync(fileno(file)) != 0) error = errno;
#endif
  if (std::fclose(file) != 0 && !error) error = errno ? errno : EIO;
  std::error_code ec;
  if (!error) {
    std::filesystem::rename(temporary, path, ec);
    if (ec) error = ec.value();
  }
  if (error) {
    std::filesystem::remove(temporary, ec);
    fail(path, error);
  }
}

}  // namespace terraq::ui
