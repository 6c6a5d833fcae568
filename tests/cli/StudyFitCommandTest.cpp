// terraq study --fit, run as users run it: a fit to a CSV profile kept in
// the project file and fitted again from there to the same values, and the
// refusals of a bad profile and of options that do not go together.

#include <gtest/gtest.h>

#include <fstream>
#include <regex>

#include "CliTestFiles.h"
#include "CommandRunner.h"

using namespace terraq::test;

namespace {

TEST(StudyFitCommand, FitsAProfileKeepsItAndFitsTheProjectsAlike) {
  ScratchFolder work;
  fs::copy_file(fs::path(TERRAQ_SOURCE_DIR) / "examples" / "cantilever-sand-generated.tq4d",
                work.path() / "wall.tq4d");
  // A cantilever's profile, read every 4 ft (48 in exactly in the data file).
  std::ofstream(work.path() / "I-1.csv") << "# I-1\ndepth_ft;deflection_in\n0;0,40\n4;0,25\n"
                                            "8;0,12\n12;0,045\n16;0,005\n";
  const Outcome fit = runTerraq(
      "study wall.tq4d --fit I-1.csv --vary all.k=0.2:20 --save-measurements --json", work.path());
  ASSERT_EQ(fit.status, 0) << fit.err;
  std::smatch value;
  ASSERT_TRUE(
      std::regex_search(fit.out, value, std::regex("\"name\": \"all.k\".*\"value\": ([^,]+)")))
      << fit.out;
  EXPECT_TRUE(contains(fit.out, "{\"stage\": 1, \"depth\": 48, \"measured\": 0.25"));
  const std::string project = ReadFile(work.path() / "wall.terraq.json");
  EXPECT_TRUE(contains(project, "\"measurements\"")) << project;
  EXPECT_TRUE(contains(project, "\"file\": \"I-1.csv\"")) << project;

  const Outcome again =
      runTerraq("study wall.tq4d --fit project --vary all.k=0.2:20 --json", work.path());
  ASSERT_EQ(again.status, 0) << again.err;
  EXPECT_TRUE(contains(again.out, "\"value\": " + value[1].str())) << again.out;
  const Outcome text = runTerraq("study wall.tq4d --fit project --vary all.k=0.2:20", work.path());
  EXPECT_TRUE(contains(text.out, "RMS residual: ")) << text.out;
}

TEST(StudyFitCommand, RefusesABadProfileAndOptionsThatDoNotGo) {
  ScratchFolder work;
  fs::copy_file(fs::path(TERRAQ_SOURCE_DIR) / "examples" / "cantilever-sand-generated.tq4d",
                work.path() / "wall.tq4d");
  std::ofstream(work.path() / "bad.csv") << "depth_m,deflection_mm\n0,12\n1,n/a\n";
  std::ofstream(work.path() / "one.csv") << "depth_m,deflection_mm\n0,12\n";
  const std::pair<const char*, const char*> cases[] = {
      {"--fit bad.csv --vary all.k=0.2:5", "line 3: the deflection \"n/a\" is not a number"},
      {"--fit one.csv --vary all.k=0.2:5 --vary ei=1e9:1e11",
       "2 parameters cannot be fitted to 1 readings"},
      {"--vary all.k=0.2:5", "bounds a fit (--fit)"},
      {"--fit one.csv --vary all.k=0.2:5:3", "a fit needs --vary NAME=LOW:HIGH"},
      {"--fit project --vary all.k=0.2:5", "has no measurements"},
      {"--fit one.txt --vary all.k=0.2:5", "a .csv file"},
  };
  for (const auto& [options, why] : cases) {
    const Outcome o = runTerraq(std::string("study wall.tq4d ") + options, work.path());
    EXPECT_NE(o.status, 0) << options;
    EXPECT_TRUE(contains(o.err, why)) << options << ": " << o.err;
  }
}

}  // namespace
