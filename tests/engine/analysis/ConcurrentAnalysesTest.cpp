// Analyses running at the same time on different threads, each with its own
// model, give exactly what each gives alone: nothing of one run leaks into
// another (a shared model, unit labels, messages or scratch files would).
// Built with -fsanitize=thread as well (see CONTRIBUTING.md).

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "EngineRun.h"
#include "api/Analysis.h"

using namespace terraq::engine::api;
namespace fs = std::filesystem;

namespace {

// The kept data files: walls of every kind, stages, long-term problems,
// generated curves and pressure, and inputs that stop.
std::vector<std::string> Walls() {
  std::vector<std::string> texts;
  for (const char* top : {"examples", "tests/data"})
    for (const auto& entry : fs::recursive_directory_iterator(fs::path(TERRAQ_SOURCE_DIR) / top))
      if (entry.is_regular_file() && entry.path().extension() == ".tq4d")
        texts.push_back(terraq::test::ReadTextFile(entry.path().string()));
  return texts;
}

AnalysisResult AnalyseWithTexts(const std::string& text) {
  AnalysisOptions options;
  options.reportText = options.plotText = options.monitorText = true;
  return Analyse(text, options);
}

// Every number compared exactly: the same work in the same order gives the
// same bits.
bool Same(const AnalysisResult& a, const AnalysisResult& b) {
  if (a.report != b.report || a.plot != b.plot || a.monitor != b.monitor ||
      a.messages != b.messages || a.error.has_value() != b.error.has_value() ||
      a.problems.size() != b.problems.size())
    return false;
  if (a.error && (a.error->message != b.error->message || a.error->line != b.error->line))
    return false;
  for (size_t k = 0; k < a.problems.size(); ++k) {
    const ProblemResult& p = a.problems[k];
    const ProblemResult& q = b.problems[k];
    if (p.iterations != q.iterations || p.closed != q.closed ||
        p.stations.size() != q.stations.size() ||
        p.earthPressure.size() != q.earthPressure.size() || p.pyCurves.size() != q.pyCurves.size())
      return false;
    for (size_t s = 0; s < p.stations.size(); ++s) {
      const StationResult& x = p.stations[s];
      const StationResult& y = q.stations[s];
      if (x.deflection != y.deflection || x.moment != y.moment || x.shear != y.shear ||
          x.soilReaction != y.soilReaction || x.flexuralRigidity != y.flexuralRigidity)
        return false;
    }
    for (size_t c = 0; c < p.pyCurves.size(); ++c)
      if (p.pyCurves[c].p != q.pyCurves[c].p || p.pyCurves[c].y != q.pyCurves[c].y) return false;
  }
  return true;
}

}  // namespace

TEST(ConcurrentAnalyses, DifferentWallsOnSeveralThreadsGiveWhatEachGivesAlone) {
  const std::vector<std::string> walls = Walls();
  ASSERT_GT(walls.size(), 10u);
  std::vector<AnalysisResult> alone;
  for (const std::string& text : walls) alone.push_back(AnalyseWithTexts(text));

  // Each thread takes the walls in its own order, so that different walls
  // are always in progress at once.
  constexpr int kThreads = 4;
  std::vector<std::vector<size_t>> mismatches(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (size_t n = 0; n < walls.size(); ++n) {
        const size_t k = (n * (2 * t + 1) + static_cast<size_t>(t) * 5) % walls.size();
        if (!Same(AnalyseWithTexts(walls[k]), alone[k]))
          mismatches[static_cast<size_t>(t)].push_back(k);
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (int t = 0; t < kThreads; ++t)
    EXPECT_TRUE(mismatches[static_cast<size_t>(t)].empty()) << "thread " << t;
}

// The interface reports a stop as a value with its line, keeps the problems
// solved before it and never throws.
TEST(ConcurrentAnalyses, ErrorsComeBackAsValues) {
  const std::string wall =
      "Wall\n1 0 1 0 0 0 0 0 0\n10 1 10 0.001 0\n0 10 1 1E6\n1\n1 0 0 1 0 0\n0\n";
  AnalysisResult r = Analyse(wall + "1\nSecond\n1 0 1 0 0 0 0 0 0\n10 1 x 0.001 0\n");
  ASSERT_TRUE(r.error.has_value());
  EXPECT_EQ(r.error->kind, AnalysisError::Kind::Input);
  EXPECT_EQ(r.error->line, 11);
  EXPECT_EQ(r.error->message, "ERROR STOP -- LINE 11 OF THE DATA FILE: \"x\" IS NOT A NUMBER");
  ASSERT_EQ(r.problems.size(), 1u);
  EXPECT_EQ(r.problems[0].stations.size(), 11u);
  EXPECT_TRUE(r.report.empty());  // texts only on request

  r = Analyse("");
  ASSERT_TRUE(r.error.has_value());
  EXPECT_EQ(r.error->message, "ERROR STOP -- THE DATA FILE ENDS TOO EARLY (LINE 1)");
  EXPECT_TRUE(r.problems.empty());
}
