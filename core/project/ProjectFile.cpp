#include "ProjectFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>

#include "AtomicFile.h"
#include "JsonText.h"
#include "StageLock.h"
#include "WriteGuards.h"

namespace terraq::ui {

namespace {

constexpr std::string_view kFormat = "terraq-project";
constexpr std::uintmax_t kLargestFile = 16u << 20;  // a project's parts are a few kilobytes

}  // namespace

std::filesystem::path ProjectFilePath(const std::filesystem::path& dataFile) {
  std::filesystem::path path = dataFile;
  path.replace_filename(dataFile.stem().string() + ".terraq.json");
  return path;
}

std::optional<ProjectFile> ReadProjectFile(const std::filesystem::path& path, std::string& error) {
  std::error_code code;
  if (!std::filesystem::exists(path, code) && !code) return ProjectFile{};
  if (std::string planted = PlantedInSharedFolder(path); !planted.empty()) {
    error = std::move(planted);
    return std::nullopt;
  }
  // Opened without waiting: a pipe in its place must not hang the reader,
  // and only a regular file is a project file.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    error = std::string("it cannot be read (") + std::strerror(errno) + ")";
    return std::nullopt;
  }
  struct stat st {};
  std::string text, unread;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    unread = "it is not a regular file";
  } else if (static_cast<std::uintmax_t>(st.st_size) > kLargestFile) {
    unread = "it is larger than a project file can be (16 MB)";
  } else {
    char buffer[65536];
    for (;;) {
      const ssize_t got = ::read(fd, buffer, sizeof buffer);
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) unread = std::string("it cannot be read (") + std::strerror(errno) + ")";
      if (got <= 0) break;
      text.append(buffer, static_cast<size_t>(got));
      if (text.size() > kLargestFile) {
        unread = "it is larger than a project file can be (16 MB)";
        break;
      }
    }
  }
  ::close(fd);
  if (!unread.empty()) {
    error = std::move(unread);
    return std::nullopt;
  }
  std::string why;
  std::optional<JsonValue> root = ParseJsonUtf8(text, why);
  if (!root) {
    error = "it is not JSON (" + why + ")";
    return std::nullopt;
  }
  const JsonValue* format = root->find("format");
  if (!root->isObject() || !format || format->string != kFormat) {
    error = "it is not a TERRAQ project file (no \"format\": \"terraq-project\")";
    return std::nullopt;
  }
  const JsonValue* version = root->find("version");
  if (!version || !version->isNumber() || version->number != 1) {
    error = "its version is not 1 (a later version of the program wrote it)";
    return std::nullopt;
  }
  return ProjectFile{std::move(*root)};
}

bool OnlyKnownKeys(const JsonValue& object, const std::vector<std::string_view>& known,
                   const std::string& which, std::string& error) {
  for (const JsonMember& member : object.members) {
    if (std::find(known.begin(), known.end(), member.first) != known.end()) continue;
    std::string names;
    for (std::string_view name : known) names += (names.empty() ? "" : ", ") + std::string(name);
    error = which + ": \"" + member.first + "\" is not a key this version knows (" + names + ")";
    return false;
  }
  return true;
}

bool WriteProjectFile(const std::filesystem::path& path, const ProjectFile& file,
                      std::string& error) {
  JsonValue root = JsonValue::Object();
  root.set("format", JsonValue::Text(std::string(kFormat)));
  root.set("version", JsonValue::Number(1));
  for (const auto& [key, value] : file.root.members)
    if (key != "format" && key != "version") root.set(key, value);
  try {
    WriteFileAtomically(path, FormatJson(root) + "\n");
  } catch (const std::exception& e) {
    error = e.what();
    return false;
  }
  return true;
}

bool UpdateProjectFile(const std::filesystem::path& path,
                       const std::function<bool(ProjectFile&)>& update, const std::string& notSaved,
                       std::string& error) {
  // Read, changed and written under the lock: a save of another member
  // between the read and the write would otherwise be undone.
  const TProjectFileLock lock(path);
  std::string why;
  std::optional<ProjectFile> project = ReadProjectFile(path, why);
  if (project) why = MemberFault(*project);
  if (project && !update(*project)) return true;
  if (!why.empty()) {
    error = path.string() + " cannot be read (" + why + "): it is kept as it is and " + notSaved +
            " in it";
    return false;
  }
  if (WriteProjectFile(path, *project, why)) return true;
  error = notSaved + ": " + why;
  return false;
}

bool SaveProjectMember(const std::filesystem::path& dataFile, std::string_view key, bool present,
                       const std::function<void(ProjectFile&)>& write, const std::string& notSaved,
                       std::string& error) {
  const std::filesystem::path path = ProjectFilePath(dataFile);
  std::error_code code;
  if (!present && !std::filesystem::exists(path, code)) return true;
  return UpdateProjectFile(
      path,
      [&](ProjectFile& project) {
        if (!present && !project.find(key)) return false;
        if (present) write(project);
        else project.erase(key);
        return true;
      },
      notSaved, error);
}

}  // namespace terraq::ui
