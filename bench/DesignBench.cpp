// The limit-equilibrium design of the cantilever sample
// (examples/cantilever-sand-generated.tq4d: 10 ft of sand retained, the
// profile 30 ft deep):
//
// BM_DesignCantileverSample/M: the whole design of the read soil by method M
// (0 simplified fixed earth, 1 full fixed earth) at a factor of safety of
// 1.5 on the soil strength: the embedment for equilibrium and for the
// factor, the moments, the diagram and the factor of the sample's own wall
// (the root finding on the factor is most of it);
// BM_ReadSoilOfCantileverSample: the soil read from the data file, which
// runs the analysis of the sample once;
// BM_WholeDesignOfCantileverSample: everything terraq design does for the
// sample at a factor of safety of 1.5 from its text: the soil read, the
// limit-equilibrium design, the spring model's factor of safety by strength
// reduction and the shortest wall held at a strength reduction of 1.5.

#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>
#include <string>

#include "LimitEquilibrium.h"
#include "SpringModel.h"
#include "api/SoilDescription.h"

namespace {

std::string Sample() {
  std::ifstream in(std::string(TERRAQ_SOURCE_DIR) + "/examples/cantilever-sand-generated.tq4d",
                   std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void BM_ReadSoilOfCantileverSample(benchmark::State& state) {
  const std::string text = Sample();
  for (auto _ : state) benchmark::DoNotOptimize(terraq::engine::api::ReadSoilDescriptions(text));
}
BENCHMARK(BM_ReadSoilOfCantileverSample)->Unit(benchmark::kMillisecond);

void BM_DesignCantileverSample(benchmark::State& state) {
  const auto soils = terraq::engine::api::ReadSoilDescriptions(Sample());
  if (soils.error || soils.problems.empty()) {
    state.SkipWithError("the sample could not be read");
    return;
  }
  terraq::design::DesignOptions options;
  options.method = state.range(0) == 0 ? terraq::design::Method::FixedEarth
                                       : terraq::design::Method::FixedEarthFull;
  options.fs = 1.5;
  for (auto _ : state) {
    const auto result = terraq::design::DesignWall(soils.problems.front(), options);
    if (result.error) state.SkipWithError(result.error->message.c_str());
    benchmark::DoNotOptimize(result);
  }
}
BENCHMARK(BM_DesignCantileverSample)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_WholeDesignOfCantileverSample(benchmark::State& state) {
  const std::string text = Sample();
  int analyses = 0;
  for (auto _ : state) {
    const auto soils = terraq::engine::api::ReadSoilDescriptions(text);
    const auto& soil = soils.problems.front();
    terraq::design::DesignOptions options;
    options.fs = 1.5;
    benchmark::DoNotOptimize(terraq::design::DesignWall(soil, options));
    const auto factor = terraq::design::SpringFactorOfSafety(text, 0);
    terraq::design::WallCriteria criteria;
    criteria.targetFactor = 1.5;
    const auto wall = terraq::design::FindShortestWall(
        text, 0, {soil.excavationDepth, soil.profileBottom()}, criteria);
    if (!factor.factor || !wall.tipDepth) state.SkipWithError("the sample was not designed");
    analyses = factor.analyses + wall.analyses;
  }
  state.counters["analyses"] = analyses;
}
BENCHMARK(BM_WholeDesignOfCantileverSample)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
