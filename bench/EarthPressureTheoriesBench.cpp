// The earth-pressure coefficients of a ten-layer profile (φ' from 24° to
// 40.65°, the wall friction two thirds of it, the top layer under ground
// rising at 10°), active and passive, by each theory:
//
// BM_TenLayerProfile/M: the twenty coefficients by method M (0 Rankine,
// 1 Coulomb, 2 log-spiral); the counters Ka and Kp are the profile's mean
// coefficients, for reading beside the time. At rest, Jáky's and Mayne &
// Kulhawy's are closed forms as cheap as Rankine's and are left out.

#include <benchmark/benchmark.h>

#include "api/EarthPressureTheories.h"

namespace {

using terraq::engine::api::EarthPressureCoefficient;
using terraq::engine::api::EarthPressureMethod;
using terraq::engine::api::EarthPressureState;
using terraq::engine::api::TheoryInputs;

constexpr int kLayers = 10;

TheoryInputs Layer(int i, EarthPressureMethod method) {
  TheoryInputs in;
  in.phi = 24.0 + 1.85 * i;
  if (method != EarthPressureMethod::Rankine) in.delta = 2.0 / 3.0 * in.phi;
  if (i == 0) in.beta = 10.0;
  return in;
}

void BM_TenLayerProfile(benchmark::State& state) {
  const auto method = static_cast<EarthPressureMethod>(state.range(0));
  double ka = 0, kp = 0;
  for (auto _ : state) {
    ka = kp = 0;
    for (int i = 0; i < kLayers; ++i) {
      const TheoryInputs in = Layer(i, method);
      const auto active = EarthPressureCoefficient(method, EarthPressureState::Active, in);
      TheoryInputs level = in;
      level.beta = 0;  // the excavation side
      const auto passive = EarthPressureCoefficient(method, EarthPressureState::Passive, level);
      if (!active.coefficient || !passive.coefficient) {
        state.SkipWithError((active.message + passive.message).c_str());
        return;
      }
      ka += active.coefficient->Kh;
      kp += passive.coefficient->Kh;
    }
    benchmark::DoNotOptimize(ka);
  }
  state.counters["Ka"] = ka / kLayers;
  state.counters["Kp"] = kp / kLayers;
}
BENCHMARK(BM_TenLayerProfile)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
