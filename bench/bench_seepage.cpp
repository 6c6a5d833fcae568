// The flow net of a ten-layer profile round an excavation (6 m deep, the
// wall's tip at 14 m, the base at 30 m, 40 m of soil each side; layers of
// 2.5 m whose permeabilities differ a hundredfold, kx three times kz), at
// the default mesh and at twice its fineness. The counters give the cells
// and the conjugate-gradient iterations beside the time.

#include <benchmark/benchmark.h>

#include <cmath>

#include "api/Seepage.h"

namespace {

using namespace terraq::engine::api;

SeepageProblem TenLayers(double refinement) {
  SeepageProblem p;
  p.retainedWater = 1;
  p.excavationLevel = 6;
  p.frontWater = 6.5;
  p.tip = 14;
  p.base = 30;
  p.retainedWidth = p.frontWidth = 40;
  p.meshRefinement = refinement;
  for (int i = 0; i < 10; ++i) {
    const double kx = 1e-4 * std::pow(10.0, -(i % 3));
    p.layers.push_back({.thickness = 2.5, .kx = kx, .kz = kx / 3, .unitWeight = 19});
  }
  return p;
}

void BM_TenLayerFlowNet(benchmark::State& state) {
  const SeepageProblem p = TenLayers(static_cast<double>(state.range(0)));
  SeepageResult r;
  for (auto _ : state) {
    r = SolveSeepage(p, SeepageMethod::FlowNet);
    benchmark::DoNotOptimize(r);
  }
  if (!r.solution) {
    state.SkipWithError(r.message.c_str());
    return;
  }
  const FlowNet& net = *r.solution->flowNet;
  state.counters["cells"] = static_cast<double>(net.head.size());
  state.counters["iterations"] = net.iterations;
}
BENCHMARK(BM_TenLayerFlowNet)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
