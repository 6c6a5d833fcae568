#pragma once
// The list of recently used data files: ten places, most recent first. An
// empty place holds no file. The list is kept in the settings (File1 ..
// File10) and shown in the File menu.

#include <array>
#include <string>

namespace terraq::ui {

class TRecentFiles {
 public:
  static constexpr int kSize = 10;
  using Entries = std::array<std::string, kSize>;

  const Entries& Files() const { return files_; }
  // Place 1..10 ("" when empty).
  const std::string& File(int number) const { return files_.at(static_cast<size_t>(number - 1)); }
  void SetFiles(const Entries& files) { files_ = files; }
  void Clear() { files_ = {}; }

  // Puts a path at the head: a path already first changes nothing; a path
  // found further down moves up and the entries above it move down one
  // place; a new path pushes every entry down, dropping the tenth.
  // Comparison is exact (case-sensitive). True when the list changed.
  bool Add(const std::string& path);

  // The number of non-empty places.
  int Count() const;

 private:
  Entries files_{};
};

}  // namespace terraq::ui
