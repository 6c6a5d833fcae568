#pragma once
// Shared by the tests of the command and the engine run: a private scratch
// folder per test, the test data files and the built programs.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

namespace terraq::test {

namespace fs = std::filesystem;

inline fs::path BinDir() { return TERRAQ_BIN_DIR; }
inline fs::path EngineLibrary() { return BinDir() / "Terraq2013_DLL.so"; }
inline fs::path TestData(const std::string& name) { return fs::path(TERRAQ_SOURCE_DIR) / "tests" / "data" / name; }

inline std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// A fresh folder, removed with everything in it when the object goes.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (fs::temp_directory_path() / "terraq-cli-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a scratch folder");
    path_ = pattern;
  }
  ~ScratchFolder() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const fs::path& path() const { return path_; }
  // Copies a test data file in and returns its new path.
  fs::path copy(const std::string& dataName, const std::string& as) const {
    fs::copy_file(TestData(dataName), path_ / as, fs::copy_options::overwrite_existing);
    return path_ / as;
  }

 private:
  fs::path path_;
};

}  // namespace terraq::test
