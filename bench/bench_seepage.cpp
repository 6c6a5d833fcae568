// The flow net of a ten-layer profile round an excavation (6 m deep, the
// wall's tip at 14 m, the base at 30 m, 40 m of soil each side; layers of
// 2.5 m whose permeabilities differ a hundredfold, kx three times kz), at
// the default mesh and at twice its fineness, on its own and inside a whole
// analysis of the wall (sand, generated earth pressure and p-y curves). The
// counters give the cells and the conjugate-gradient iterations beside the
// time.

#include <benchmark/benchmark.h>

#include <cmath>
#include <sstream>
#include <string>

#include "api/Analysis.h"
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

// The same ten layers as a data file: a cantilever of 14 m in 0.1 m
// increments in sand whose friction angle alternates 30, 32, 34 deg.
std::string TenLayerWall() {
  std::ostringstream out;
  out << "Ten-layer wall under seepage\n2 0 1 0 2 2 0 1 0\n140 0.1 0.5 1e-5 6\n"
      << "0 140 1 60000\n0\n0\n6 1 1 1 6.5 1 1 0\n0 0 0 0 0 0\n0\n10\n";
  for (int i = 0; i < 10; ++i) {
    out << "4 " << 2.5 * (i + 1) << "\n";
    for (int row = 0; row < 2; ++row) out << "19 0 " << 30 + 2 * (i % 3) << " 0.01 20000 0\n";
  }
  out << "0\n";
  return out.str();
}

void BM_TenLayerFlowNetAnalysis(benchmark::State& state) {
  AnalysisOptions options;
  SeepageOptions& seepage = options.seepage.emplace();
  const SeepageProblem p = TenLayers(static_cast<double>(state.range(0)));
  seepage.method = SeepageMethod::FlowNet;
  seepage.base = p.base;
  seepage.retainedWidth = p.retainedWidth;
  seepage.frontWidth = p.frontWidth;
  seepage.meshRefinement = p.meshRefinement;
  for (const SeepageLayer& layer : p.layers) seepage.layers.push_back({layer.kx, layer.kz});
  const std::string text = TenLayerWall();
  AnalysisResult r;
  for (auto _ : state) {
    r = Analyse(text, options);
    benchmark::DoNotOptimize(r);
  }
  if (r.error) state.SkipWithError(r.error->message.c_str());
}
BENCHMARK(BM_TenLayerFlowNetAnalysis)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
