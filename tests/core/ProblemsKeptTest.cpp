// A data file holds as many problems as its end codes chain, and the engine
// runs them all; a project holds one, a short-term and a long-term one that
// share all but two tables, or one per stage. A file holding more is
// refused by Open and by conversion, which say from which line on it would
// be lost and write nothing; reading it only for its facts (a picture of
// its results) still works.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "CliTestFiles.h"
#include "project/TProject.h"
#include "project/TWordReader.h"

using namespace terraq::ui;
using terraq::test::ScratchFolder;

namespace {

// Eight lines: title, control, wall, stiffness, one load, no springs, end.
std::string problem(const std::string& title, int load, int end, const std::string& stages = "1") {
  return title + "\r\n1 0 1 0 0 0 0 " + stages +
         " 0\r\n10 1 1 0.001 0\r\n0 10 1 1E9\r\n1\r\n1 0 0 " + std::to_string(load) +
         " 0 0\r\n0\r\n" + std::to_string(end) + "\r\n";
}

struct Refusal {
  std::string open;      // TProject::Open's message, "" when it opened
  std::string convert;   // ConvertDataFile's message, "" when it converted
  bool written = false;  // the conversion wrote its output
  std::string notKept;   // what a plain read notes
};

Refusal tryFile(const std::string& text) {
  ScratchFolder folder;
  const auto file = folder.path() / "wall.tq4d", out = folder.path() / "out.tq4d";
  std::ofstream(file, std::ios::binary) << text;
  Refusal r;
  TProject project;
  try {
    project.Open(file, kLayoutCurrent);
  } catch (const EReadError& e) {
    r.open = e.what();
    EXPECT_EQ(project.Data().DataFileName, kNewFileName);
  }
  try {
    ConvertDataFile(file, out, kLayoutCurrent);
  } catch (const EReadError& e) {
    r.convert = e.what();
  }
  r.written = std::filesystem::exists(out);
  TProjectTables tables;
  r.notKept = TProgramData(tables, file, kLayoutCurrent).NotKept;
  return r;
}

bool says(const std::string& message, const std::string& part) {
  return message.find(part) != std::string::npos;
}

TEST(ProblemsKept, ChainedProblemsBeyondTheProjectAreRefusedNeverDropped) {
  // Short term, long term, and a third (and fourth) problem: the file runs
  // all of them; saving would have kept two.
  for (const std::string& text :
       {problem("Short", 1000, 9) + problem("Long", 1000, 9) + problem("Third", 500, 0),
        problem("Short", 1000, 9) + problem("Long", 1000, 9) + problem("Third", 500, 9) +
            problem("Fourth", 200, 0)}) {
    const Refusal r = tryFile(text);
    EXPECT_TRUE(says(r.open,
                     "wall.tq4d holds more than a project can.\nThe end code 9 on line 16 chains a "
                     "further problem, from line 17 on"))
        << r.open;
    EXPECT_TRUE(says(r.open, "would lose the problems from line 17 on")) << r.open;
    EXPECT_EQ(r.convert, r.open);
    EXPECT_FALSE(r.written);
    EXPECT_FALSE(r.notKept.empty());
  }
  // A second problem chained by a code other than 9 is no long-term analysis.
  const Refusal other = tryFile(problem("First", 1000, 5) + problem("Second", 500, 0));
  EXPECT_TRUE(says(other.open, "The end code 5 on line 8 chains a further problem, from line 9 on"))
      << other.open;
  EXPECT_FALSE(other.written);
}

TEST(ProblemsKept, WhatTheProjectHoldsOpensAndConvertsWhole) {
  // An end code equal to the stage count ends the run: what follows is not
  // read by the engine either. A long-term file without its closing "0".
  const std::string pair = problem("Short", 1000, 9) + problem("Long", 1000, 0);
  for (const std::string& text : {problem("Alone", 1000, 1) + "notes after the end\r\n", pair,
                                  pair.substr(0, pair.size() - 3)}) {
    const Refusal r = tryFile(text);
    EXPECT_EQ(r.open, "") << text;
    EXPECT_EQ(r.convert, "");
    EXPECT_TRUE(r.written);
  }
  // The writer's own long-term file, whose two sets differ in the tables
  // that are each set's own.
  TProject project;
  project.Data().LongTerm = true;
  project.Data().UserPressure = true;
  project.Data().EarthPressureOption = 1;
  project.Tables().EarthPressure.SetRowCount(1);
  project.Tables().LongTermEarthPressure.SetRowCount(1);
  project.Tables().EarthPressure.Cell(1, 0).SetFloat(100);
  project.Tables().LongTermEarthPressure.Cell(1, 0).SetFloat(250);
  const std::string text = project.Data().DataFileText();
  EXPECT_EQ(tryFile(text).open, "");
  EXPECT_TRUE(tryFile(text).notKept.empty());
}

TEST(ProblemsKept, LongTermSetDifferingInSharedValuesIsRefused) {
  // The long-term load differs: read, it would stand for the short-term one.
  const Refusal r = tryFile(problem("Short", 1000, 9) + problem("Long", 700, 0));
  EXPECT_TRUE(says(r.open,
                   "The long-term analysis differs from the short-term one on line 14, item 4 (the "
                   "short-term analysis's line 6)"))
      << r.open;
  EXPECT_TRUE(says(r.open, "would lose the short-term values")) << r.open;
  EXPECT_FALSE(r.written);
}

TEST(ProblemsKept, StageBlockWithAFurtherProblemIsRefused) {
  // Stage 2 ends with 9 and a long-term set follows inside its block.
  const std::string text = problem("Staged", 1000, 1, "2") +
                           problem(" Stage No : 2", 1000, 9, "2") + problem("Hidden", 500, 0);
  const Refusal r = tryFile(text);
  EXPECT_TRUE(
      says(r.open,
           "Stage 2 of wall.tq4d, from line 9: Error on Line 16 Item 1\nThe end code 9 chains a "
           "further problem after the stage's own"))
      << r.open;
  EXPECT_EQ(r.convert, r.open);
  EXPECT_FALSE(r.written);
  // Without the hidden problem the staged file opens.
  EXPECT_EQ(tryFile(problem("Staged", 1000, 1, "2") + problem(" Stage No : 2", 1000, 2, "2")).open,
            "");
}

}  // namespace
