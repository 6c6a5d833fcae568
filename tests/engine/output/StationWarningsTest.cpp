// The outcome lines of the results that name stations (equations singular,
// wall weakened by its rigidity rows): their place and style among the
// iteration's other outcome lines, consecutive stations as ranges, and long
// lists carried on within the report's width. The stations are set directly
// in the model, as the solver and the stiffness distribution leave them.

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "EngineRun.h"
#include "output/Report.h"

namespace terraq::engine {
namespace {

// The lines of the results section up to the column heading.
std::vector<std::string> outcomeLines(const EngineModel& model) {
  TextOut report;
  report.keepInMemory();
  WriteResults(report, model);
  std::vector<std::string> lines = terraq::test::SplitLines(report.takeText());
  for (size_t k = 0; k < lines.size(); ++k)
    if (lines[k].starts_with("   STA I")) lines.resize(k);
  return lines;
}

EngineModel modelAfterIteration(int iteration) {
  EngineModel model;
  model.labels.buffer = std::string(24, ' ');
  model.iteration = iteration;
  return model;
}

TEST(StationWarnings, FollowTheOutcomeLinesInTheirStyle) {
  EngineModel model = modelAfterIteration(100);
  model.notClosed = 3;
  model.zeroPivotStations = {40};
  model.partialStiffnessStations = {21, 20, 7};
  const std::vector<std::string> expected = {
      "",
      "",
      "     RESULTS -- ITERATION100",
      "     --------------------",
      "",
      "     ***** SOLUTION NOT CLOSED WITHIN SPECIFIED'TOLERANCE *****",
      "",
      "     ***** RESULTS NOT VALID: SINGULAR EQUATIONS (ZERO PIVOT) AT STATIONS 40 *****",
      "",
      "     ***** WALL WEAKENED: THE EI ROWS GIVE ONLY PART OF EI AT STATIONS 7, 20-21 *****",
      "",
  };
  EXPECT_EQ(outcomeLines(model), expected);
  EXPECT_EQ(outcomeLines(modelAfterIteration(2)).size(), 5u);  // no warning, no line
}

TEST(StationWarnings, LongListsWrapWithinTheReportWidth) {
  // Every other station of 1..199 alone, then two runs and a last station.
  std::set<int> stations;
  for (int s = 1; s < 200; s += 2) stations.insert(s);
  for (int s = 250; s <= 260; ++s) stations.insert(s);
  stations.insert({300, 301, 405});
  EngineModel model = modelAfterIteration(5);
  model.partialStiffnessStations.assign(stations.rbegin(), stations.rend());
  const std::vector<std::string> lines = outcomeLines(model);

  const std::string head = "     ***** WALL WEAKENED: THE EI ROWS GIVE ONLY PART OF EI AT STATIONS ";
  ASSERT_GE(lines.size(), 8u);
  ASSERT_EQ(lines[5].substr(0, head.size()), head);
  ASSERT_EQ(lines.back(), "");
  std::string list = lines[5].substr(head.size());
  for (size_t k = 6; k + 1 < lines.size(); ++k) {
    EXPECT_EQ(lines[k].substr(0, 11), std::string(11, ' '));
    EXPECT_NE(lines[k][11], ' ');
    list += " " + lines[k].substr(11);
  }
  for (size_t k = 5; k + 1 < lines.size(); ++k) EXPECT_LE(lines[k].size(), 90u) << lines[k];
  ASSERT_TRUE(list.ends_with(" *****"));
  list.resize(list.size() - 6);

  // Read the list back: "a" or "a-b", separated by ", ".
  std::set<int> read;
  size_t at = 0;
  while (at < list.size()) {
    const size_t end = std::min(list.find(", ", at), list.size());
    const std::string item = list.substr(at, end - at);
    const size_t dash = item.find('-');
    const int first = std::stoi(item.substr(0, dash));
    const int last = dash == std::string::npos ? first : std::stoi(item.substr(dash + 1));
    EXPECT_TRUE(dash == std::string::npos || last > first) << item;
    for (int s = first; s <= last; ++s) read.insert(s);
    at = end + 2;
  }
  EXPECT_EQ(read, stations);
  EXPECT_NE(list.find("250-260, 300-301, 405"), std::string::npos) << list;
}

}  // namespace
}  // namespace terraq::engine
