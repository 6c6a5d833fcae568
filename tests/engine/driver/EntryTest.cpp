// The exported entry of the engine library, called through the library file
// as the programs call it: only code 7 runs, and whatever the input the call
// returns normally with 0.

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdint>

#include "RunChecks.h"
#include "RunFolder.h"

using namespace terraq::test;

namespace {

using Entry = int32_t (*)(int32_t);

class EngineLibrary : public ::testing::Test {
 protected:
  void SetUp() override {
    handle = dlopen(TERRAQ_BIN_DIR "/Terraq2013_DLL.so", RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle, nullptr) << dlerror();
  }
  void TearDown() override {
    if (handle) dlclose(handle);
  }
  Entry entry(const char* name) const { return reinterpret_cast<Entry>(dlsym(handle, name)); }

  void* handle = nullptr;
};

const char* kValid = "Wall\n1 0 1 0 0 0 0 0 0\n10 1 10 0.001 0\n0 10 1 1E6\n1\n1 0 0 1 0 0\n0\n0\n";

}  // namespace

TEST_F(EngineLibrary, ExportsOnlyTheEntryUnderBothNames) {
  EXPECT_NE(entry("ITERRAQ"), nullptr);
  EXPECT_NE(entry("_ITERRAQ"), nullptr);
  EXPECT_EQ(entry("_ZN6terraq6engine11RunAnalysisEv"), nullptr);
  EXPECT_EQ(entry("_ZN6terraq6engine11engineModelEv"), nullptr);
}

TEST_F(EngineLibrary, CodesOtherThanSevenReturnOneAndTouchNoFile) {
  RunFolder folder;
  folder.writeNames("names.dat");
  folder.write("wall.tq4d", kValid);
  for (const char* name : {"ITERRAQ", "_ITERRAQ"}) {
    for (int32_t code : {0, 1, 6, 8, -7, INT32_MIN, INT32_MAX}) {
      EXPECT_EQ(entry(name)(code), 1) << name << " " << code;
      EXPECT_FALSE(folder.exists("wall.tq4o"));
      EXPECT_FALSE(folder.exists("wall.tq4p"));
      EXPECT_FALSE(folder.exists("wall.tq4r"));
    }
  }
  EXPECT_EQ(folder.read("wall.tq4d"), kValid);
  EXPECT_EQ(folder.read("names.dat"), "wall.tq4d\nwall.tq4o\nwall.tq4p\nwall.tq4r\n");
}

TEST_F(EngineLibrary, CodeSevenRunsAndReturnsZero) {
  RunFolder folder;
  folder.writeNames("names.dat");
  folder.write("wall.tq4d", kValid);
  EXPECT_EQ(entry("_ITERRAQ")(7), 0);
  EXPECT_TRUE(EndsWithEndOfAnalysis(folder.read("wall.tq4o")));
  EXPECT_EQ(FinalResultBlockRows(folder.read("wall.tq4p")), 11);
  EXPECT_NE(folder.read("wall.tq4r").find("ITERATION MONITOR DATA"), std::string::npos);
}

TEST_F(EngineLibrary, FaultsOfTheInputStillReturnZero) {
  RunFolder folder;
  folder.writeNames("names.dat");
  for (const char* data :
       {"", "T\n1 21 0 0 0 0 0 0 0\n", "T\n1 0 1 0 0 0 0 0 0\n10 1 10 0.001 0\n0 99 1 1\n"}) {
    folder.write("wall.tq4d", data);
    EXPECT_EQ(entry("ITERRAQ")(7), 0);
    EXPECT_TRUE(EndsWithEndOfAnalysis(folder.read("wall.tq4o")));
    EXPECT_EQ(FinalResultBlockRows(folder.read("wall.tq4p")), 0);
  }
  // Without a names file the entry returns normally as well.
  std::filesystem::remove("names.dat");
  testing::internal::CaptureStdout();
  EXPECT_EQ(entry("ITERRAQ")(7), 0);
  testing::internal::GetCapturedStdout();
}
