#include "platform/ProgramBasics.h"

#include <cstdlib>
#include <vector>

namespace terraq::ui {

namespace {

std::vector<std::string> splitAt(std::string_view text, char separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (true) {
    const size_t end = text.find(separator, start);
    parts.emplace_back(text.substr(start, end - start));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return parts;
}

}  // namespace

std::string DialogFilter(std::string_view storedFilter) {
  const std::vector<std::string> parts = splitAt(storedFilter, '|');
  std::string result;
  for (size_t k = 0; k + 1 < parts.size(); k += 2) {
    std::string description = parts[k];
    std::string patterns;
    for (const std::string& pattern : splitAt(parts[k + 1], ';')) {
      if (!patterns.empty()) patterns += ' ';
      patterns += pattern;
    }
    const std::string shown = "(" + patterns + ")";
    const size_t at = description.rfind(shown);
    if (at != std::string::npos) description.erase(at);
    while (!description.empty() && description.back() == ' ') description.pop_back();
#if !defined(_WIN32)
    if (patterns == "*.*") patterns = "*";
#endif
    if (!result.empty()) result += ";;";
    result += description + " (" + patterns + ")";
  }
  return result;
}

std::string DefaultEditorCommand() {
#if defined(_WIN32)
  const char* windir = std::getenv("WINDIR");
  std::string windows = windir && *windir ? windir : "C:\\Windows";
  for (char& c : windows)
    if (c == '/') c = '\\';
  return windows + "\\notepad.exe";
#else
  return "xdg-open";
#endif
}

}  // namespace terraq::ui
