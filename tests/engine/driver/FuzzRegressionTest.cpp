// Every input that once crashed or hung the engine under the fuzzer stays
// here as a data file: each must end its run cleanly.

#include <gtest/gtest.h>

#include <filesystem>

#include "EngineRun.h"
#include "RunChecks.h"

using namespace terraq::test;

TEST(FuzzRegressions, EveryKeptInputEndsItsRunCleanly) {
  const std::filesystem::path folder = TERRAQ_SOURCE_DIR "/tests/data/fuzz-regressions";
  int inputs = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (!entry.is_regular_file() || entry.path().filename().string().rfind("README", 0) == 0)
      continue;
    ++inputs;
    const EngineOutputs out = RunEngineOn(ReadTextFile(entry.path().string()));
    EXPECT_TRUE(EndsWithEndOfAnalysis(out.report)) << entry.path();
    EXPECT_GE(FinalResultBlockRows(out.plot), 0) << entry.path();
  }
  EXPECT_GT(inputs, 0);
}
