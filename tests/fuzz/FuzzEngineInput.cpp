// Fuzz target of the engine's input: the input is the text of a data file,
// and the engine runs on it in-process exactly as the entry would, inside one
// private temporary folder per fuzzing process (removed at exit). The engine
// finds its names file in the current directory, so each run steps into that
// folder and back out: paths on the command line stay relative to where the
// fuzzer was started.
//
// Besides the sanitizers' findings, a run that does not end the way every
// run must end is a finding too: the report closes with END OF ANALYSIS and
// the plot file with a complete result block, whatever the input.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "driver/RunAnalysis.h"

namespace fs = std::filesystem;

namespace {

fs::path& runFolder() {
  static fs::path folder;
  return folder;
}

void removeRunFolder() {
  std::error_code ec;
  fs::current_path(fs::temp_directory_path(ec), ec);
  if (!runFolder().empty()) fs::remove_all(runFolder(), ec);
}

std::string readAll(const char* name) {
  std::ifstream in(name, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool reportClosed(const std::string& report) {
  const size_t end = report.rfind("     END OF ANALYSIS");
  return end != std::string::npos && report.find_first_not_of(' ', end + 20) == report.size() - 1 &&
         report.back() == '\n';
}

bool plotClosed(const std::string& plot) {
  std::istringstream in(plot);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  for (size_t rows = 0; 5 * rows + 3 <= words.size(); ++rows)
    if (words[words.size() - 5 * rows - 2] == std::to_string(rows)) return true;
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  std::string pattern = (fs::temp_directory_path() / "terraq-fuzz-XXXXXX").string();
  if (!mkdtemp(pattern.data())) std::abort();
  runFolder() = pattern;
  std::atexit(removeRunFolder);
  std::ofstream(runFolder() / "names.dat", std::ios::binary)
      << "wall.tq4d\nwall.tq4o\nwall.tq4p\nwall.tq4r\n";

  // A crash happens while the current directory is the run folder, which
  // would swallow the crashing input: unless told otherwise, artifacts go to
  // the folder the fuzzer was started in.
  static std::vector<char*> args(*argv, *argv + *argc);
  static std::string prefix = "-artifact_prefix=" + fs::current_path().string() + "/";
  bool given = false;
  for (char* arg : args) given = given || std::string(arg).rfind("-artifact_prefix=", 0) == 0;
  if (!given) {
    args.insert(args.begin() + 1, prefix.data());
    args.push_back(nullptr);
    *argc = static_cast<int>(args.size()) - 1;
    *argv = args.data();
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const fs::path started = fs::current_path();
  fs::current_path(runFolder());
  {
    std::ofstream out("wall.tq4d", std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  terraq::engine::RunAnalysis();
  if (!reportClosed(readAll("wall.tq4o"))) {
    std::fprintf(stderr, "report does not end with END OF ANALYSIS\n");
    std::abort();
  }
  if (!plotClosed(readAll("wall.tq4p"))) {
    std::fprintf(stderr, "plot file does not end with a result block\n");
    std::abort();
  }
  fs::current_path(started);
  return 0;
}
