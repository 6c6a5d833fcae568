// The report, plot and monitor files of every data file kept with the
// sources (the examples and the test data), written through the exported
// entry, must stay byte for byte what the engine wrote before its analysis
// moved into memory. The expected outputs are kept as sizes and checksums
// (expected-outputs.txt): the texts themselves would be megabytes.
//
// With TERRAQ_WRITE_EXPECTED_OUTPUTS=<folder> the test writes the table and
// the outputs themselves into that folder instead of comparing, so that a
// deliberate change of the outputs can be reviewed and recorded. The
// outputs were first recorded while the generators still handed their
// results over through scratch files in the run's folder.

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "RunFolder.h"

using namespace terraq::test;
namespace fs = std::filesystem;

namespace {

std::uint64_t Fnv1a(const std::string& text) {
  std::uint64_t hash = 1469598103934665603ULL;
  for (const char ch : text) {
    hash ^= static_cast<unsigned char>(ch);
    hash *= 1099511628211ULL;
  }
  return hash;
}

std::string Signature(const std::string& text) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%zu %016llx", text.size(),
                static_cast<unsigned long long>(Fnv1a(text)));
  return buffer;
}

// Every data file under examples/ and tests/data, by its path in the sources.
std::vector<std::string> DataFiles() {
  std::vector<std::string> files;
  for (const char* top : {"examples", "tests/data"}) {
    for (const auto& entry : fs::recursive_directory_iterator(fs::path(TERRAQ_SOURCE_DIR) / top)) {
      if (entry.is_regular_file() && entry.path().extension() == ".tq4d")
        files.push_back(fs::relative(entry.path(), TERRAQ_SOURCE_DIR).generic_string());
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

const char* const kOutputs[] = {".tq4o", ".tq4p", ".tq4r"};

}  // namespace

TEST(OutputsUnchanged, EveryKeptDataFileWritesTheRecordedOutputs) {
  void* library = dlopen(TERRAQ_BIN_DIR "/Terraq2013_DLL.so", RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(library, nullptr) << dlerror();
  const auto entry = reinterpret_cast<int32_t (*)(int32_t)>(dlsym(library, "ITERRAQ"));
  ASSERT_NE(entry, nullptr);

  const char* recordIn = std::getenv("TERRAQ_WRITE_EXPECTED_OUTPUTS");
  const fs::path tableFile =
      fs::path(TERRAQ_SOURCE_DIR) / "tests/engine/driver/expected-outputs.txt";
  std::map<std::string, std::string> expected;
  {
    std::ifstream in(tableFile);
    std::string name, size, hash;
    while (in >> name >> size >> hash) expected[name] = size + " " + hash;
  }
  if (!recordIn) {
    ASSERT_FALSE(expected.empty()) << tableFile;
  }

  std::ostringstream table;
  const std::vector<std::string> files = DataFiles();
  for (const std::string& data : files) {
    RunFolder folder;
    folder.writeNames("names.dat");
    folder.write("wall.tq4d", ReadTextFile(std::string(TERRAQ_SOURCE_DIR) + "/" + data));
    ASSERT_EQ(entry(7), 0) << data;
    // The generators hand their results over in memory: no scratch file.
    for (const char* scratch : {"SOILDATA", "KOLVEX.001", "debug.dat"})
      EXPECT_FALSE(folder.exists(scratch)) << data << ": " << scratch;
    for (const char* ext : kOutputs) {
      const std::string name = data + ext;
      const std::string text = folder.read(std::string("wall") + ext);
      table << name << " " << Signature(text) << "\n";
      if (recordIn) {
        const fs::path copy = fs::path(recordIn) / name;
        fs::create_directories(copy.parent_path());
        std::ofstream(copy, std::ios::binary) << text;
      } else {
        EXPECT_EQ(Signature(text), expected[name]) << name;
      }
    }
  }
  if (recordIn) std::ofstream(fs::path(recordIn) / "expected-outputs.txt") << table.str();
  else EXPECT_EQ(expected.size(), files.size() * 3) << "a recorded data file is gone";
  dlclose(library);
}
