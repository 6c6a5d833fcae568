// The construction sequence of the shipped example
// (examples/sequential-excavation-anchor.tq4d with its project file: four
// stages, one anchor), analysed in memory:
//
// BM_SequenceBuild: the stages' data text and supports made from the data
// file and the project's sequence (ui::ReadSequentialRun, which reads the
// project file as a run does);
// BM_SequenceSequential: the four stages analysed each from the one before
// (the engine's sequential mode);
// BM_SequenceIndependent: the same four stages analysed as independent
// problems, so that the ratio of the two is the cost of carrying the wall's
// and the springs' state from stage to stage;
// BM_SequenceSubgrade: the four stages in sequence with the soil modelled by
// the subgrade-reaction springs (kh 20,000 kN/m3 at the top to 60,000 at
// 20 m, R = 2) instead of the p-y curves: its ratio to
// BM_SequenceSequential is the cost of the second soil model.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "api/Analysis.h"
#include "project/SequentialRun.h"

namespace {

namespace fs = std::filesystem;
using namespace terraq;

const fs::path& DataFile() {
  static const fs::path path =
      fs::path(TERRAQ_SOURCE_DIR) / "examples" / "sequential-excavation-anchor.tq4d";
  return path;
}

std::string DataText() {
  std::ifstream in(DataFile(), std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void BM_SequenceBuild(benchmark::State& state) {
  const std::string text = DataText();
  std::string error;
  for (auto _ : state) benchmark::DoNotOptimize(ui::ReadSequentialRun(DataFile(), text, error));
  if (!error.empty()) state.SkipWithError(error.c_str());
}
BENCHMARK(BM_SequenceBuild)->Unit(benchmark::kMicrosecond);

void AnalyseStages(benchmark::State& state, bool sequential, bool subgrade = false) {
  std::string error;
  const auto input = ui::ReadSequentialRun(DataFile(), DataText(), error);
  if (!input) {
    state.SkipWithError(("the example's sequence cannot be built: " + error).c_str());
    return;
  }
  engine::api::AnalysisOptions options;
  if (sequential) options.sequential = input->options;
  if (subgrade) options.subgrade = engine::api::SubgradeOptions{{{20000, 60000, 0, 1, 2}}};
  engine::api::Analyser analyser;
  if (const auto first = analyser.analyse(input->sequence.text, options); first.error) {
    state.SkipWithError(first.error->message.c_str());
    return;
  }
  for (auto _ : state) benchmark::DoNotOptimize(analyser.analyse(input->sequence.text, options));
  state.SetItemsProcessed(state.iterations() *
                          static_cast<int64_t>(input->sequence.stageNames.size()));
}

void BM_SequenceSequential(benchmark::State& state) { AnalyseStages(state, true); }
BENCHMARK(BM_SequenceSequential)->Unit(benchmark::kMicrosecond);

void BM_SequenceIndependent(benchmark::State& state) { AnalyseStages(state, false); }
BENCHMARK(BM_SequenceIndependent)->Unit(benchmark::kMicrosecond);

void BM_SequenceSubgrade(benchmark::State& state) { AnalyseStages(state, true, true); }
BENCHMARK(BM_SequenceSubgrade)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
