#include "project/WriteGuards.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <system_error>

namespace terraq::ui {

namespace fs = std::filesystem;

fs::path FolderOf(const fs::path& file) {
  return file.has_parent_path() ? file.parent_path() : fs::path(".");
}

fs::path ResolveForWriting(const fs::path& path) {
  fs::path target = path;
  for (int hops = 0;; ++hops) {
    struct stat link {};
    if (::lstat(target.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return target;
    if (hops == 40) throw EFileWriteError(path, std::strerror(ELOOP));
    // The rule the kernel applies with protected_symlinks: anyone may plant
    // a link in /tmp, but only its owner or the folder's owner may have it
    // followed by someone else.
    const fs::path folder = FolderOf(target);
    struct stat shared {};
    if (::stat(folder.c_str(), &shared) == 0 && (shared.st_mode & S_ISVTX) &&
        (shared.st_mode & S_IWOTH) && link.st_uid != ::geteuid() && link.st_uid != shared.st_uid)
      throw EFileWriteError(path, "the symbolic link " + target.string() +
                                      " belongs to another user of the shared folder " +
                                      folder.string() + "; it is not followed");
    std::error_code ec;
    const fs::path to = fs::read_symlink(target, ec);
    if (ec) throw EFileWriteError(path, ec.message());
    target = to.is_absolute() ? to : folder / to;
  }
}

std::string PlantedInSharedFolder(const fs::path& path) {
  fs::path target;
  try {
    target = ResolveForWriting(path);
  } catch (const EFileWriteError& e) {
    return e.reason();
  }
  const fs::path folder = FolderOf(target);
  struct stat file {
  }, shared{};
  if (::stat(target.c_str(), &file) != 0 || ::stat(folder.c_str(), &shared) != 0) return {};
  if ((shared.st_mode & S_ISVTX) && (shared.st_mode & S_IWOTH) && file.st_uid != ::geteuid() &&
      file.st_uid != shared.st_uid)
    return target.string() + " belongs to another user of the shared folder " + folder.string() +
           "; it is not used";
  return {};
}

std::optional<FileIdentity> IdentityOf(const fs::path& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return std::nullopt;
  return FileIdentity{st.st_dev, st.st_ino};
}

namespace {

// The identity of a regular file; none for anything else (a device such as
// /dev/null may well take two outputs).
std::optional<FileIdentity> regularFile(const fs::path& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  return FileIdentity{st.st_dev, st.st_ino};
}

}  // namespace

void RefuseSameFiles(const std::vector<TFileRole>& written, const std::vector<TFileRole>& kept) {
  std::vector<std::optional<FileIdentity>> ids;
  for (const TFileRole& file : written) ids.push_back(regularFile(file.path));
  for (size_t k = 0; k < written.size(); ++k) {
    if (!ids[k]) continue;
    const auto refuse = [&](const TFileRole& other) {
      throw EFileWriteError(written[k].path, "it is the same file as " + other.path.string() +
                                                 " (" + other.role + ")");
    };
    for (const TFileRole& other : kept)
      if (regularFile(other.path) == ids[k]) refuse(other);
    for (size_t j = 0; j < k; ++j)
      if (ids[j] == ids[k]) refuse(written[j]);
  }
}

std::string SideFileName(const fs::path& target, std::string_view suffix) {
  // Room is left for the digits a caller appends (".tmp123456").
  constexpr size_t kMaxName = 255 - 8;
  const std::string name = target.filename().string();
  std::string side = "." + name + std::string(suffix);
  if (side.size() <= kMaxName) return side;
  // FNV-1a: stable from one run to the next, so a later run finds the side
  // files of an earlier one.
  uint64_t digest = 14695981039346656037ULL;
  for (const char c : name) digest = (digest ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
  static constexpr char kHex[] = "0123456789abcdef";
  std::string hex;
  for (int shift = 60; shift >= 0; shift -= 4) hex += kHex[(digest >> shift) & 15];
  return "." + name.substr(0, kMaxName - 2 - hex.size() - suffix.size()) + "~" + hex +
         std::string(suffix);
}

bool FaultPointForTests(const char* point) {
  const char* kill = std::getenv("TERRAQ_TEST_KILL_AT");
  if (kill && std::strcmp(kill, point) == 0) ::raise(SIGKILL);
  const char* failure = std::getenv("TERRAQ_TEST_FAIL_AT");
  return failure && std::strcmp(failure, point) == 0;
}

}  // namespace terraq::ui
