// The walk of the data file's records: a problem that holds every kind of
// record comes back in the order, with the row counts and node references
// the control and count records give; end codes chain problems; a text cut
// short is refused with the line, never read past.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "EngineRun.h"
#include "api/Analysis.h"
#include "api/DataRecords.h"

namespace terraq::engine::api {
namespace {

using K = RecordKind;

// Both the specified pressure (option 1) and the soil data (generated
// curves, p-y mode 2), so that every record appears.
const char* const kEveryRecord =
    "Sample wall\n"
    "2 1 2 1 1 2 1 0 1\n"        // units, restraints, stiffness rows, modification rows, ...
    "20 0.5 1 0.001 3\n"         // wall
    "1 10 0.01 0\n"              // restraint at node 10
    "0 10 0 5e4\n10 20 1 6e4\n"  // stiffness
    "1\n1 5 5 10 0 0\n"          // loads
    "1\n8 8 1 2e4 0\n"           // springs
    "2.5 1 1\n"                  // p-y modification
    "2\n0 0\n10 20\n"            // specified pressure
    "3 1 1 0 0 1 0 0\n10 0 0 0 0 0\n"
    "1\n1 5 1000 0\n"  // surcharge loads
    "1\n2 10\n18 30 0 0 15000 0\n19 31 0 0 16000 0\n"
    "6 2 1 1\n0 0\n0.01 30\n"   // external p-y curve at node 6
    "4 12 2\n0 3e4\n100 2e4\n"  // moment-EI curve over nodes 4 to 12
    "0\n";

std::vector<DataProblem> ReadAll(const std::string& text, std::string& error) {
  std::vector<DataProblem> problems;
  if (!ReadDataText(
          text,
          [&](DataProblem&& p) {
            problems.push_back(std::move(p));
            return true;
          },
          error))
    problems.clear();
  return problems;
}

TEST(DataRecords, EveryKindInOrderWithItsRowsAndNodes) {
  std::string error;
  const std::vector<DataProblem> problems = ReadAll(kEveryRecord, error);
  ASSERT_EQ(problems.size(), 1u) << error;
  const DataProblem& p = problems[0];
  const std::vector<K> expected{
      K::Title,          K::Control,        K::Wall,          K::Restraint,   K::Stiffness,
      K::Stiffness,      K::LoadCount,      K::Load,          K::SpringCount, K::Spring,
      K::PyModification, K::PressureCount,  K::Pressure,      K::Pressure,    K::WallConfiguration,
      K::Surcharge,      K::SurchargeCount, K::SurchargeLoad, K::LayerCount,  K::LayerLine,
      K::LayerTop,       K::LayerBase,      K::CurveHead,     K::CurvePoint,  K::CurvePoint,
      K::MomentEiHead,   K::MomentEi,       K::MomentEi,      K::EndCode};
  std::vector<K> kinds;
  std::vector<double> nodes;
  for (const DataRecord& r : p) {
    kinds.push_back(r.kind);
    EXPECT_EQ(r.values.size(), r.asked()) << NameOf(r.kind);
    for (size_t v : NodesOf(r.kind)) nodes.push_back(r.values[v]);
  }
  EXPECT_EQ(kinds, expected);
  EXPECT_EQ(nodes, (std::vector<double>{10, 0, 10, 10, 20, 5, 5, 8, 8, 6, 4, 12}));
  EXPECT_EQ(p[0].line, "Sample wall");
  EXPECT_EQ(p[5].row, 1);  // the second stiffness row
  EXPECT_EQ(p[13].values, (std::vector<double>{10, 20}));
  EXPECT_EQ(p[24].point, 1);  // the curve's second point
  EXPECT_EQ(p[24].values[1], 30);
  EXPECT_EQ(p[27].values[0], 100);  // the moment of the moment-EI curve's last point
}

TEST(DataRecords, EndCodesChainProblemsAndHeldCountsCarryOver) {
  // The first problem announces a second (9); the second's control line
  // ends early with "/" and keeps the counts of the first, so its one
  // restraint row is read; its end code 0 ends the run before the rest.
  const std::string text =
      "First\n2 1 0 0 0 0 0 0 0\n10 1 1 0.001 0\n1 10 0 0\n0\n0\n9\n"
      "Second\n2 /\n12 1 1 0.001 0\n1 12 0 0\n0\n0\n0\nnot read\n";
  std::string error;
  const std::vector<DataProblem> problems = ReadAll(text, error);
  ASSERT_EQ(problems.size(), 2u) << error;
  EXPECT_EQ(problems[1][1].values.size(), 1u);
  EXPECT_EQ(problems[1][3].kind, K::Restraint);
  EXPECT_EQ(problems[1][3].values[1], 12);
  EXPECT_EQ(problems[1].back().kind, K::EndCode);

  // The taker may stop after any problem; a staged file's end code equal to
  // its stage count (here 2) ends the run as 0 does.
  int taken = 0;
  EXPECT_TRUE(ReadDataText(
      text, [&](DataProblem&&) { return ++taken < 1; }, error));
  EXPECT_EQ(taken, 1);
  const std::string staged = "Stage\n2 0 0 0 0 0 0 2 0\n10 1 1 0.001 0\n0\n0\n2\nnot read\n";
  EXPECT_EQ(ReadAll(staged, error).size(), 1u) << error;
}

TEST(DataRecords, TextCutShortIsRefusedWithItsLine) {
  const std::string whole = kEveryRecord;
  for (size_t end = whole.find('\n'); end + 1 < whole.size(); end = whole.find('\n', end + 1)) {
    std::string error;
    EXPECT_TRUE(ReadAll(whole.substr(0, end + 1), error).empty()) << end;
    EXPECT_NE(error.find("of the data file cannot be read"), std::string::npos) << error;
  }
  std::string error;
  EXPECT_TRUE(ReadAll("Wall\n2 0 0 0 0 0 0 0 0\n10 x 1 0 0\n0\n0\n0\n", error).empty());
  EXPECT_EQ(error, "line 3 of the data file cannot be read");
}

// The engine keeps its own sequence of reads: on every kept data file it
// runs to the end, the walk finds the same problems.
TEST(DataRecords, WalksTheProblemsTheEngineRuns) {
  namespace fs = std::filesystem;
  int files = 0;
  for (const char* top : {"examples", "tests/data"}) {
    for (const auto& entry : fs::recursive_directory_iterator(fs::path(TERRAQ_SOURCE_DIR) / top)) {
      if (entry.path().extension() != ".tq4d") continue;
      const std::string text = test::ReadTextFile(entry.path().string());
      const AnalysisResult run = Analyse(text);
      if (run.error) continue;
      std::string error;
      EXPECT_EQ(ReadAll(text, error).size(), run.problems.size()) << entry.path() << error;
      ++files;
    }
  }
  EXPECT_GT(files, 10);
}

TEST(DataRecords, OlderLayoutsAskForFewerValues) {
  EXPECT_EQ(ValuesOf(K::Control, DataLayout::Version30).size(), 8u);
  EXPECT_EQ(ValuesOf(K::Control, DataLayout::Version20).size(), 7u);
  EXPECT_EQ(ValuesOf(K::CurveHead, DataLayout::Version30), "ni");
  EXPECT_EQ(ValuesOf(K::LayerTop, DataLayout::Version20).size(), 5u);
}

}  // namespace
}  // namespace terraq::engine::api
