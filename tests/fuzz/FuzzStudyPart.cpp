// Fuzz target of the part files of a study's shards: the input is the text
// of a part file, read as JSON and merged alone (StudyPartCheck.h).

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include <unistd.h>

#include "StudyPartCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::filesystem::path folder = [] {
    std::filesystem::path p = std::filesystem::temp_directory_path() /
                              ("terraq-fuzz-studypart-" + std::to_string(getpid()));
    std::filesystem::create_directories(p);
    return p;
  }();
  const std::string problem = terraq::fuzz::CheckStudyPart(
      std::string_view(reinterpret_cast<const char*>(data), size), folder);
  if (!problem.empty()) {
    std::fprintf(stderr, "fault: %s\n", problem.c_str());
    std::abort();
  }
  return 0;
}
