#include "ProjectFile.h"

#include <fstream>
#include <iterator>
#include <system_error>

#include "AtomicFile.h"
#include "JsonText.h"

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
  const std::uintmax_t size = std::filesystem::file_size(path, code);
  if (code) {
    error = "it cannot be read (" + code.message() + ")";
    return std::nullopt;
  }
  if (size > kLargestFile) {
    error = "it is larger than a project file can be (16 MB)";
    return std::nullopt;
  }
  std::ifstream in(path, std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!in.good() && !in.eof()) {
    error = "it cannot be read";
    return std::nullopt;
  }
  std::string why;
  std::optional<JsonValue> root = ParseJson(text, why);
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

bool SaveProjectMember(const std::filesystem::path& dataFile, std::string_view key, bool present,
                       const std::function<void(ProjectFile&)>& write, const std::string& notSaved,
                       std::string& error) {
  const std::filesystem::path path = ProjectFilePath(dataFile);
  std::error_code code;
  if (!present && !std::filesystem::exists(path, code)) return true;
  std::string why;
  std::optional<ProjectFile> project = ReadProjectFile(path, why);
  if (!project) {
    error = path.string() + " cannot be read (" + why + "): it is kept as it is and " + notSaved +
            " in it";
    return false;
  }
  if (!present && !project->find(key)) return true;
  if (present) write(*project);
  else project->erase(key);
  if (WriteProjectFile(path, *project, why)) return true;
  error = notSaved + ": " + why;
  return false;
}

}  // namespace terraq::ui
