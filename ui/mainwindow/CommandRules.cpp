#include "mainwindow/CommandRules.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "project/AsciiLower.h"
#include "project/TProgramData.h"

namespace terraq::ui {

namespace {

// The part after the last folder separator (either kind: names of files
// written on Windows may travel in recent lists and data files).
std::string_view fileNamePart(std::string_view path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// The extension of the file name part, with its dot ("" when none).
std::string_view extensionOf(std::string_view path) {
  const std::string_view name = fileNamePart(path);
  const size_t dot = name.find_last_of('.');
  return dot == std::string_view::npos ? std::string_view() : name.substr(dot);
}

bool isSeparator(char c) { return c == '/' || c == '\\'; }

}  // namespace

std::string MainCaption(std::string_view dataFileName) {
  std::string name(fileNamePart(dataFileName));
  if (AsciiLower(extensionOf(name)) == ".tqd") name = name.substr(0, name.find('.'));
  if (name.size() > 1) name[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
  return std::string("TERRAQ ") + kVersionText + " - " + name;
}

int LayoutForFilterIndex(int index) {
  switch (index) {
    case 0: return kLayoutCurrent;
    case 1: return kLayout30;
    default: return kLayout20;
  }
}

std::string SaveAsName(std::string_view chosen) {
  std::string name(chosen);
  const std::string_view extension = extensionOf(name);
  if (extension.size() <= 1) {  // none, or a bare dot
    if (!name.empty() && name.back() == '.') name.pop_back();
    return name + ".tq4d";
  }
  if (AsciiLower(extension) == ".tqd") return name.substr(0, name.size() - extension.size()) + ".tq4d";
  return name;
}

std::string SuggestedSaveName(std::string_view current) {
  const std::string_view extension = extensionOf(current);
  if (AsciiLower(extension) == ".tqd")
    return std::string(current.substr(0, current.size() - extension.size())) + ".tq4d";
  return std::string(current);
}

std::string CommandLineDataFile(std::string_view argument) {
  std::string name(argument);
  if (fileNamePart(name).find('.') == std::string_view::npos) name += ".tq4d";
  return name;
}

bool HasOutputExtension(std::string_view dataFileName) {
  const std::string extension = AsciiLower(extensionOf(dataFileName));
  return extension == ".tq4o" || extension == ".tq4p" || extension == ".tq4r";
}

std::string DroppedFileRefusal(const std::filesystem::path& file) {
  std::error_code ec;
  const std::filesystem::file_status status = std::filesystem::status(file, ec);
  if (std::filesystem::is_directory(status)) return "it is a folder";
  // Opening a pipe to look into it would wait for a writer.
  if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status))
    return "it is not a regular file";
  const std::string name = file.string();
  if (HasOutputExtension(name)) return "it is a result file of a run (report, plot or run notes)";
  static const char* const kPictures[] = {".png",  ".bmp", ".jpg",  ".jpeg", ".gif", ".tif",
                                          ".tiff", ".svg", ".pdf",  ".emf",  ".wmf", ".doc",
                                          ".docx", ".xls", ".xlsx", ".zip"};
  const std::string extension = AsciiLower(extensionOf(name));
  for (const char* picture : kPictures)
    if (extension == picture) return "it is a picture or a document (" + extension + ")";
  std::ifstream in(file, std::ios::binary);
  if (!in) return "it cannot be read";
  char head[4096];
  in.read(head, sizeof head);
  if (std::find(head, head + in.gcount(), '\0') != head + in.gcount())
    return "it is not a text file";
  return {};
}

std::string StageListText(const std::vector<int>& stages) {
  if (stages.empty()) return {};
  if (stages.size() == 1) return "Stage " + std::to_string(stages.front());
  bool run = true;
  for (size_t k = 1; k < stages.size(); ++k) run = run && stages[k] == stages[k - 1] + 1;
  if (run)
    return "Stages " + std::to_string(stages.front()) + "\u2013" + std::to_string(stages.back());
  std::string text = "Stages ";
  for (size_t k = 0; k < stages.size(); ++k) {
    if (k > 0) text += k + 1 == stages.size() ? " and " : ", ";
    text += std::to_string(stages[k]);
  }
  return text;
}

std::string ReleaseDateMonthDayYear() {
  char text[16];
  std::snprintf(text, sizeof text, "%02d/%02d/%02d", kReleaseMonth, kReleaseDay, kReleaseYear % 100);
  return text;
}

std::string RecentFileCaption(int number, std::string_view path, std::string_view currentDirectory) {
  std::string_view shown = path;
  std::string_view folder = currentDirectory;
  while (folder.size() > 1 && isSeparator(folder.back())) folder.remove_suffix(1);
  if (!folder.empty() && path.size() > folder.size() + 1 && path.substr(0, folder.size()) == folder &&
      isSeparator(path[folder.size()]))
    shown = path.substr(folder.size() + 1);
  return std::to_string(number) + " " + std::string(shown);
}

}  // namespace terraq::ui
