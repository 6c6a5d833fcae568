// The engine in memory (api/Analysis.h), no file and no text unless asked:
//
// BM_SampleWalls: the sample walls of examples/, one analysis each per
// round, on one thread and on two at once; items_per_second is analyses per
// second of one thread (the library's rate counters are per thread);
// BM_SampleWallsSideBySide/N counts the analyses of N threads together (two
// threads on a two-core machine should come close to twice one);
// BM_SampleWall/NAME is one sample wall alone, analyses per second.
//
// BM_Generated40_*: a 40-increment cantilever with generated soft-clay and
// sand curves. _Analyse is the interface without texts, _Analyser the same
// with the engine's storage kept from call to call; _Engine the same
// analysis run directly (its model reused, no results collected), so that
// _Analyser less _Engine is the cost of the interface; _Solution the
// iteration alone on the model as read (plus the copy of that model each
// time, BM_Generated40_ModelCopy); _WithTexts the interface writing the
// report, plot and monitor texts.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "analysis/RunProblems.h"
#include "api/Analysis.h"
#include "driver/EngineModel.h"
#include "driver/RunFiles.h"
#include "input/ReadProblem.h"
#include "solver/Solver.h"

namespace fs = std::filesystem;
using namespace terraq::engine;

namespace {

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The sample walls' data files, by name.
const std::vector<std::pair<std::string, std::string>>& NamedSampleWalls() {
  static const std::vector<std::pair<std::string, std::string>> walls = [] {
    std::vector<std::pair<std::string, std::string>> named;
    for (const auto& entry : fs::directory_iterator(fs::path(TERRAQ_SOURCE_DIR) / "examples"))
      if (entry.path().extension() == ".tq4d")
        named.emplace_back(entry.path().stem().string(), ReadFile(entry.path()));
    std::sort(named.begin(), named.end());
    return named;
  }();
  return walls;
}

const std::vector<std::string>& SampleWalls() {
  static const std::vector<std::string> walls = [] {
    std::vector<std::string> texts;
    for (const auto& [name, text] : NamedSampleWalls()) texts.push_back(text);
    return texts;
  }();
  return walls;
}

void BM_SampleWalls(benchmark::State& state) {
  const std::vector<std::string>& walls = SampleWalls();
  api::Analyser analyser;
  for (auto _ : state)
    for (const std::string& text : walls) benchmark::DoNotOptimize(analyser.analyse(text));
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(walls.size()));
}
BENCHMARK(BM_SampleWalls)->Unit(benchmark::kMicrosecond)->UseRealTime()->Threads(1)->Threads(2);

// The same measured without the benchmark library's threads: each
// iteration starts `threads` threads that each analyse every sample wall
// four times, and items_per_second counts the analyses of all of them
// against the wall-clock time.
void BM_SampleWallsSideBySide(benchmark::State& state) {
  const std::vector<std::string>& walls = SampleWalls();
  const auto threads = static_cast<int>(state.range(0));
  constexpr int kRounds = 4;
  for (auto _ : state) {
    std::vector<std::thread> running;
    for (int t = 0; t < threads; ++t)
      running.emplace_back([&] {
        api::Analyser analyser;
        for (int round = 0; round < kRounds; ++round)
          for (const std::string& text : walls) benchmark::DoNotOptimize(analyser.analyse(text));
      });
    for (std::thread& thread : running) thread.join();
  }
  state.SetItemsProcessed(state.iterations() * threads * kRounds *
                          static_cast<int64_t>(walls.size()));
}
BENCHMARK(BM_SampleWallsSideBySide)->Unit(benchmark::kMillisecond)->UseRealTime()->Arg(1)->Arg(2);

void BM_SampleWall(benchmark::State& state, const std::string* text) {
  api::Analyser analyser;
  for (auto _ : state) benchmark::DoNotOptimize(analyser.analyse(*text));
  state.SetItemsProcessed(state.iterations());
}
// Registered before main runs, one benchmark per sample wall.
const bool kEachSampleWall = [] {
  for (const auto& [name, text] : NamedSampleWalls())
    benchmark::RegisterBenchmark(("BM_SampleWall/" + name).c_str(), BM_SampleWall, &text)
        ->Unit(benchmark::kMicrosecond);
  return true;
}();

// Soft clay over sand as in examples/, on 40 increments of 7.2 in.
const char* const kGenerated40 =
    "Cantilever, 40 increments, generated p-y curves\n"
    "1 0 1 0 1 2 0 1 0\n40 7.2 100 0.0001 96\n0 40 1 5.34E9\n0\n0\n3\n0 0\n72 20\n96 33.6\n"
    "96 12 12 72 72 1 1 0\n0 0 0 0 0 0\n0\n2\n4 96\n0.069444444 0.0 30 0.0 90 0.0\n"
    "0.069444444 0.0 30 0.0 90 0.0\n1 480\n0.063657407 3.4722222 0.0 0.02 0 0.0\n"
    "0.063657407 4.8611111 0.0 0.02 0 0.0\n0\n";

void BM_Generated40_Analyse(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(api::Analyse(kGenerated40));
}
BENCHMARK(BM_Generated40_Analyse)->Unit(benchmark::kMicrosecond);

// As a study runs it: one analyser kept for every analysis of the thread.
void BM_Generated40_Analyser(benchmark::State& state) {
  api::Analyser analyser;
  for (auto _ : state) benchmark::DoNotOptimize(analyser.analyse(kGenerated40));
}
BENCHMARK(BM_Generated40_Analyser)->Unit(benchmark::kMicrosecond);

// The analysis itself, as the interface runs it, without the interface:
// the model kept from run to run, no results collected.
void BM_Generated40_Engine(benchmark::State& state) {
  auto model = std::make_unique<EngineModel>();
  for (auto _ : state) {
    std::istringstream data(kGenerated40);
    RunFiles files;
    files.data.emplace(data);
    benchmark::DoNotOptimize(RunProblems(files, *model, {}));
  }
}
BENCHMARK(BM_Generated40_Engine)->Unit(benchmark::kMicrosecond);

void BM_Generated40_WithTexts(benchmark::State& state) {
  api::AnalysisOptions options;
  options.reportText = options.plotText = options.monitorText = true;
  for (auto _ : state) benchmark::DoNotOptimize(api::Analyse(kGenerated40, options));
}
BENCHMARK(BM_Generated40_WithTexts)->Unit(benchmark::kMicrosecond);

// The model of the wall as read (curves generated), before its iteration.
const EngineModel& ReadModel() {
  static const std::unique_ptr<EngineModel> model = [] {
    auto m = std::make_unique<EngineModel>();
    std::istringstream data(kGenerated40);
    RunFiles files;
    files.data.emplace(data);
    SetUnitLabels(m->labels, 0);
    m->control.title = files.data->readLine();
    m->control.problemCount = 1;
    m->resetProblem();
    ReadProblem(files, *m);
    return m;
  }();
  return *model;
}

void BM_Generated40_ModelCopy(benchmark::State& state) {
  auto model = std::make_unique<EngineModel>();
  for (auto _ : state) {
    *model = ReadModel();
    benchmark::DoNotOptimize(model.get());
  }
}
BENCHMARK(BM_Generated40_ModelCopy)->Unit(benchmark::kMicrosecond);

void BM_Generated40_Solution(benchmark::State& state) {
  auto model = std::make_unique<EngineModel>();
  RunFiles files;  // outputs neither opened nor kept: they swallow their text
  for (auto _ : state) {
    *model = ReadModel();
    IterateSolution(files, *model);
  }
  state.counters["iterations"] = model->iteration;
}
BENCHMARK(BM_Generated40_Solution)->Unit(benchmark::kMicrosecond);

}  // namespace
