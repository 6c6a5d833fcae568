// The run driver: the names file, the problem loop with its end codes and
// headings, the plot result blocks, and the run's end after an error stop.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "RunChecks.h"
#include "RunFolder.h"
#include "driver/RunAnalysis.h"

using namespace terraq::test;
using terraq::engine::RunAnalysis;

namespace {

// One problem of ten increments without earth pressure or curves, with the
// given title, control values after the units code, and end code.
std::string problem(const std::string& title, int kstage, int next, int units = 1) {
  return title + "\n" + std::to_string(units) + " 0 1 0 0 0 0 " + std::to_string(kstage) +
         " 0\n10 1 10 0.001 0\n0 10 1 1E6\n1\n1 0 0 1 0 0\n0\n" + std::to_string(next) + "\n";
}

// The integer words of a plot file: with the E-format values of the result
// rows left out, what remains shows every block header in order.
std::vector<std::string> plotSkeleton(const std::string& plot) {
  std::vector<std::string> ints;
  for (const std::string& w : SplitWords(plot))
    if (w.find_first_of(".E") == std::string::npos) ints.push_back(w);
  return ints;
}

std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

size_t count(const std::vector<std::string>& lines, const std::string& line) {
  return static_cast<size_t>(std::count(lines.begin(), lines.end(), line));
}

std::string padded(const std::string& title) { return title + std::string(70 - title.size(), ' '); }

const std::vector<std::string> kNoPressureNoCurves = {"0", "1", "0"};

}  // namespace

TEST(RunAnalysis, EndCodeZeroGivesOneResultBlockWithCodeOne) {
  const EngineOutputs out = RunEngineOn(problem("Wall", 0, 0));
  EXPECT_EQ(plotSkeleton(out.plot),
            (kNoPressureNoCurves + std::vector<std::string>{"1", "11", "1"}));
  EXPECT_EQ(count(SplitLines(out.report), "     RESULTS -- ITERATION  1"), 1u);
  EXPECT_TRUE(EndsWithEndOfAnalysis(out.report));
  // Per station: one blank and an E13.4 field for each of the five values.
  const std::vector<std::string> lines = SplitLines(out.plot);
  ASSERT_EQ(lines.size(), 3u + 11u);
  EXPECT_EQ(lines[3].size(), 70u);
  EXPECT_EQ(lines[3].substr(0, 14), "    0.0000E+00");
  EXPECT_EQ(lines[13].substr(0, 14), "    0.1000E+02");  // depth of station 10
}

TEST(RunAnalysis, EndCodeEqualToTheStageCountEndsTheRun) {
  const EngineOutputs one = RunEngineOn(problem("Wall", 1, 1));
  EXPECT_EQ(plotSkeleton(one.plot),
            (kNoPressureNoCurves + std::vector<std::string>{"1", "11", "1"}));
  const EngineOutputs four = RunEngineOn(problem("Wall", 4, 4, 2));
  EXPECT_EQ(plotSkeleton(four.plot), (std::vector<std::string>{"0", "2", "0", "1", "11", "2"}));
  EXPECT_EQ(count(SplitLines(four.report), "      Stage No : 1  " + padded("Wall")), 2u);
}

TEST(RunAnalysis, LongTermProblemAfterEndCodeNine) {
  const EngineOutputs out =
      RunEngineOn(problem("Short term", 0, 9) + problem("Long term title", 0, 0));
  const std::vector<std::string> block = {"2", "11", "1"};
  EXPECT_EQ(plotSkeleton(out.plot), kNoPressureNoCurves + block + kNoPressureNoCurves + block);
  const std::vector<std::string> lines = SplitLines(out.report);
  EXPECT_EQ(count(lines, "      " + padded("Short term")), 2u);
  EXPECT_EQ(count(lines, "      Long Term :  " + padded("Short term")), 2u);
  EXPECT_EQ(out.report.find("Long term title"), std::string::npos);
  // The second banner follows two empty lines after the first problem's results.
  const std::string banner =
      " TERRAQ - A PROGRAM FOR THE ANALYSIS OF FLEXIBLE RETAINING STRUCTURES";
  const auto second =
      std::find(std::find(lines.begin(), lines.end(), banner) + 1, lines.end(), banner);
  ASSERT_NE(second, lines.end());
  EXPECT_EQ(second[-1], "");
  EXPECT_EQ(second[-2], "");
  // The last line of the first problem's results: its wall is supported.
  EXPECT_EQ(second[-3].substr(0, 18), "     LARGEST SHEAR");
  EXPECT_TRUE(EndsWithEndOfAnalysis(out.report));
}

TEST(RunAnalysis, ThreeStagesGiveThreeBlocksWithTheStageCount) {
  const EngineOutputs out =
      RunEngineOn(problem("Excavation", 3, 1) + problem(" Stage No : 2", 3, 2) +
                  problem(" Stage No : 3", 3, 3));
  const std::vector<std::string> stage =
      kNoPressureNoCurves + std::vector<std::string>{"3", "11", "1"};
  EXPECT_EQ(plotSkeleton(out.plot), stage + stage + stage);
  const std::vector<std::string> lines = SplitLines(out.report);
  for (const char* n : {" 1", " 2", " 3"})
    EXPECT_EQ(count(lines, std::string("      Stage No :") + n + "  " + padded("Excavation")), 2u)
        << n;
  EXPECT_EQ(count(lines, "     RESULTS -- ITERATION  1"), 3u);
}

TEST(RunAnalysis, ErrorInALaterProblemRepeatsTheLastResults) {
  const EngineOutputs out =
      RunEngineOn(problem("Short term", 0, 9) + "Long\n1 21 0 0 0 0 0 0 0\n10 1 10 0.001 0\n");
  EXPECT_TRUE(StoppedWith(out.report, "     TOO MUCH DATA FOR AVAILABLE STORAGE"));
  EXPECT_EQ(plotSkeleton(out.plot),
            (kNoPressureNoCurves + std::vector<std::string>{"2", "11", "1", "2", "11", "1"}));
  const std::vector<std::string> lines = SplitLines(out.plot);
  ASSERT_EQ(lines.size(), 2u + 2u * 12u);
  EXPECT_TRUE(std::equal(lines.begin() + 3, lines.begin() + 14, lines.begin() + 15));
}

TEST(RunAnalysis, DataFileEndingAfterAnnouncedProblemStillClosesThePlot) {
  const EngineOutputs out = RunEngineOn(problem("Short term", 0, 9));
  EXPECT_TRUE(StoppedWith(out.report, "     ERROR STOP -- THE DATA FILE ENDS TOO EARLY (LINE 9)"));
  EXPECT_EQ(plotSkeleton(out.plot),
            (kNoPressureNoCurves + std::vector<std::string>{"2", "11", "1", "2", "11", "1"}));
}

TEST(RunAnalysis, MissingDataFileIsReported) {
  RunFolder folder;
  folder.writeNames("names.dat", "absent");
  RunAnalysis();
  EXPECT_TRUE(StoppedWith(folder.read("absent.tq4o"),
                          "     ERROR STOP -- CANNOT OPEN THE DATA FILE absent.tq4d"));
  EXPECT_EQ(plotSkeleton(folder.read("absent.tq4p")), (std::vector<std::string>{"1", "0", "1"}));
}

TEST(RunAnalysis, NamesFileUnderEitherSpelling) {
  {
    RunFolder folder;
    folder.writeNames("NAMES.dat");
    folder.write("wall.tq4d", problem("Upper", 0, 0));
    RunAnalysis();
    EXPECT_TRUE(EndsWithEndOfAnalysis(folder.read("wall.tq4o")));
  }
  {
    RunFolder folder;
    folder.writeNames("names.dat");
    folder.write("wall.tq4d", problem("Lower", 0, 0));
    RunAnalysis();
    EXPECT_TRUE(EndsWithEndOfAnalysis(folder.read("wall.tq4o")));
  }
  {
    RunFolder folder;  // both present: the upper-case one is read first
    folder.writeNames("NAMES.dat", "upper");
    folder.writeNames("names.dat", "lower");
    folder.write("upper.tq4d", problem("Upper", 0, 0));
    RunAnalysis();
    EXPECT_TRUE(folder.exists("upper.tq4o"));
    EXPECT_FALSE(folder.exists("lower.tq4o"));
  }
}

TEST(RunAnalysis, NamesAreCutAt255CharactersWithoutTrailingBlanks) {
  RunFolder folder;
  const std::string longName = std::string(250, 'r') + ".tq4o";  // 255 characters
  folder.write("names.dat", "wall.tq4d   \r\n" + longName + "IGNORED\r\nwall.tq4p\t\r\nwall.tq4r");
  folder.write("wall.tq4d", problem("Wall", 0, 0));
  RunAnalysis();
  EXPECT_TRUE(EndsWithEndOfAnalysis(folder.read(longName)));
  EXPECT_FALSE(folder.exists(longName + "IGNORED"));
  EXPECT_TRUE(folder.exists("wall.tq4p\t"));  // only blanks are trimmed
  EXPECT_TRUE(folder.exists("wall.tq4r"));
}

// Nothing to write the report to: the caller hears of it through the run
// messages in the run's folder.
TEST(RunAnalysis, WithoutNamesFileOnlyTheCallerHearsOfIt) {
  RunFolder folder;
  folder.write("names.dat", "wall.tq4d\nwall.tq4o\nwall.tq4p\n");  // one line short
  RunAnalysis();
  EXPECT_EQ(folder.read("messages.txt"),
            " PLEASE CREATE AN INPUT DATA FILE AND SAVE IT\n BEFORE COMPUTATION.  TRY IT AGAIN!\n");
  EXPECT_FALSE(folder.exists("wall.tq4o"));
}

TEST(RunAnalysis, EveryRunStartsFromAFreshModel) {
  const std::string springs =
      "Springs\n2 1 1 0 0 0 0 0 0\n12 0.5 1 0.0001 0\n1 6 1 0.002\n0 12 1 3E4\n1\n1 0 0 5 2 "
      "0\n1\n3 9 1 40 7\n0\n";
  const std::string stages = problem("Excavation", 3, 1) + problem("S2", 3, 3);
  const EngineOutputs first = RunEngineOn(springs);
  RunEngineOn(stages);
  const EngineOutputs again = RunEngineOn(springs);
  EXPECT_EQ(again.report, first.report);
  EXPECT_EQ(again.plot, first.plot);
  EXPECT_EQ(again.monitor, first.monitor);
}
