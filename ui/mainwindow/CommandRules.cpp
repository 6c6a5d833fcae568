#include "mainwindow/CommandRules.h"

#include <cctype>
#include <cstdio>
#include <filesystem>
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

std::string ReleaseDateMonthDayYear() {
  char text[16];
  std::snprintf(text, sizeof text, "%02d/%02d/%02d", kReleaseMonth, kReleaseDay, kReleaseYear % 100);
  return text;
}

std::string UpdateCheckAddress(std::string_view host) {
  std::string address(host);
  if (!address.empty() && address.back() != '/') address += '/';
  return address + "checkupdates/check/check.php?TERRAQ;" + kVersionText + ";" + ReleaseDateMonthDayYear();
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
