#include <gtest/gtest.h>

#include "EngineRun.h"

using terraq::test::RunEngineOn;

TEST(EngineSmoke, OneProblemEndsWithEndOfAnalysis) {
  const auto out = RunEngineOn(
      "Cantilever\n1 0 1 0 0 0 0 0 0\n10 12 100 0.0001 0\n0 10 1 1E9\n1\n1 0 0 1000 0 0\n0\n0\n");
  EXPECT_NE(out.report.find("END OF ANALYSIS"), std::string::npos);
}
