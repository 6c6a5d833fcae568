#include "EngineRun.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "driver/RunAnalysis.h"

namespace fs = std::filesystem;

namespace terraq::test {

std::string ReadTextFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

EngineOutputs RunEngineOn(const std::string& dataFileText) {
  const fs::path previous = fs::current_path();
  std::string pattern = (fs::temp_directory_path() / "terraq-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary folder");
  const fs::path folder = pattern;
  {
    std::ofstream(folder / "wall.tq4d", std::ios::binary) << dataFileText;
    std::ofstream names(folder / "names.dat", std::ios::binary);
    for (const char* ext : {".tq4d", ".tq4o", ".tq4p", ".tq4r"})
      names << (folder / (std::string("wall") + ext)).string() << "\n";
  }
  fs::current_path(folder);
  terraq::engine::RunAnalysis();
  fs::current_path(previous);
  EngineOutputs out{ReadTextFile((folder / "wall.tq4o").string()),
                    ReadTextFile((folder / "wall.tq4p").string()),
                    ReadTextFile((folder / "wall.tq4r").string())};
  fs::remove_all(folder);
  return out;
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::vector<std::string> SplitWords(const std::string& text) {
  std::vector<std::string> words;
  std::istringstream in(text);
  std::string word;
  while (in >> word) words.push_back(word);
  return words;
}

}  // namespace terraq::test
