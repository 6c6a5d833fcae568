#pragma once
// A private, freshly made folder that is the current directory while the
// object lives, for tests that lay out the names file themselves. The folder
// and everything in it are removed afterwards.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "EngineRun.h"

namespace terraq::test {

class RunFolder {
 public:
  RunFolder() : previous_(std::filesystem::current_path()) {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "terraq-driver-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary folder");
    path_ = pattern;
    std::filesystem::current_path(path_);
  }
  ~RunFolder() {
    std::error_code ec;
    std::filesystem::current_path(previous_, ec);
    std::filesystem::remove_all(path_, ec);
  }
  RunFolder(const RunFolder&) = delete;
  RunFolder& operator=(const RunFolder&) = delete;

  void write(const std::string& name, const std::string& text) const {
    std::ofstream(path_ / name, std::ios::binary) << text;
  }
  std::string read(const std::string& name) const { return ReadTextFile((path_ / name).string()); }
  bool exists(const std::string& name) const {
    std::error_code ec;  // a name too long for the system simply does not exist
    return std::filesystem::exists(path_ / name, ec);
  }
  // The four names of a run, relative to the folder, one per line.
  void writeNames(const std::string& fileName, const std::string& base = "wall") const {
    write(fileName, base + ".tq4d\n" + base + ".tq4o\n" + base + ".tq4p\n" + base + ".tq4r\n");
  }

 private:
  std::filesystem::path previous_;
  std::filesystem::path path_;
};

}  // namespace terraq::test
