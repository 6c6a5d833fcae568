#include "mainwindow/TRecentFiles.h"

#include <algorithm>

namespace terraq::ui {

bool TRecentFiles::Add(const std::string& path) {
  if (files_[0] == path) return false;
  // The place the path leaves (or the last place, which falls off).
  auto found = std::find(files_.begin() + 1, files_.end(), path);
  if (found == files_.end()) found = files_.end() - 1;
  std::move_backward(files_.begin(), found, found + 1);
  files_[0] = path;
  return true;
}

int TRecentFiles::Count() const {
  return static_cast<int>(std::count_if(files_.begin(), files_.end(), [](const std::string& f) { return !f.empty(); }));
}

}  // namespace terraq::ui
