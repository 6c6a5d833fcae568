// Studies of the cantilever sample (examples/cantilever-sand-generated.tq4d,
// 30 ft of wall, 10 ft of sand retained), on N threads (the argument):
//
// BM_SweepTip200/N: a sweep of 200 tip depths from 20 to 40 ft;
// BM_MonteCarlo10000/N: 10,000 Monte Carlo samples of the sand's friction
// angle, unit weight and k (normal, lognormal, normal), with the
// statistics, a limit state on the top deflection and the rank
// correlations;
// BM_Engine*/N: the engine's own time for the same analyses: the same
// texts, written beforehand, analysed by one api::Analyser per thread, the
// analyses shared among N threads as the study shares them. A study's
// time over its engine's is the cost of rewriting the texts and of the
// statistics; a study on two threads over one is its parallel speed-up.

#include <benchmark/benchmark.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "Parameters.h"
#include "StudySampling.h"
#include "api/Analysis.h"

namespace {

using namespace terraq::design;
namespace api = terraq::engine::api;

std::string Sample() {
  std::ifstream in(std::string(TERRAQ_SOURCE_DIR) + "/examples/cantilever-sand-generated.tq4d",
                   std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

const ParameterText& Text() {
  static const ParameterText text = [] {
    std::string error;
    return *ParameterText::Parse(Sample(), error);
  }();
  return text;
}

const std::vector<RandomParameter>& Randoms() {
  static const std::vector<RandomParameter> p{
      {"layer.1.phi", Distribution::Normal(32, 2)},
      {"layer.1.gamma", Distribution::Lognormal(0.06655, 0.004)},
      {"layer.1.k", Distribution::Normal(90, 15)}};
  return p;
}

SamplingOptions MonteCarlo(int threads) {
  SamplingOptions o;
  o.samples = 10000;
  o.seed = 11;
  o.threads = threads;
  return o;
}

Vary Tips() {
  std::string error;
  return *Vary::Parse("tip", "240:480:200", error);
}

// The analyses alone, shared among `threads` as ParallelFor shares them.
void AnalyseAll(const std::vector<std::string>& texts, int threads) {
  std::vector<api::Analyser> analysers(threads);
  ParallelFor(texts.size(), threads, [&](int worker, size_t k) {
    benchmark::DoNotOptimize(analysers[worker].analyse(texts[k]));
  });
}

void BM_SweepTip200(benchmark::State& state) {
  const std::vector<Vary> vary{Tips()};
  for (auto _ : state) benchmark::DoNotOptimize(Sweep(Text(), vary, int(state.range(0))));
}
BENCHMARK(BM_SweepTip200)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_EngineSweepTip200(benchmark::State& state) {
  std::vector<std::string> texts;
  for (double tip : Tips().values) texts.push_back(Text().apply({{"tip", tip}}).text);
  for (auto _ : state) AnalyseAll(texts, int(state.range(0)));
}
BENCHMARK(BM_EngineSweepTip200)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_MonteCarlo10000(benchmark::State& state) {
  auto text = std::make_shared<const ParameterText>(Text());
  std::vector<std::string> names;
  for (const RandomParameter& p : Randoms()) names.push_back(p.name);
  std::string error;
  const WallModel wall = *MakeWallModel(text, names, error);
  const std::vector<LimitState> limits{{"top", 0, 1.0}};
  for (auto _ : state) {
    const SamplingResult r = Sample(wall.factory, wall.outputs, Randoms(), wall.bounds, limits,
                                    MonteCarlo(int(state.range(0))));
    if (r.error || r.failedSamples) state.SkipWithError("the samples failed");
    benchmark::DoNotOptimize(r);
  }
}
BENCHMARK(BM_MonteCarlo10000)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_EngineMonteCarlo10000(benchmark::State& state) {
  const SamplingOptions options = MonteCarlo(1);
  std::vector<std::string> texts;
  for (size_t i = 0; i < options.samples; ++i) {
    const std::vector<double> z = StandardNormalSample(options, i, Randoms().size());
    std::vector<std::pair<std::string, double>> values;
    for (size_t k = 0; k < z.size(); ++k)
      values.push_back({Randoms()[k].name, Randoms()[k].distribution.fromStandardNormal(z[k])});
    texts.push_back(Text().apply(values).text);
  }
  for (auto _ : state) AnalyseAll(texts, int(state.range(0)));
}
BENCHMARK(BM_EngineMonteCarlo10000)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
