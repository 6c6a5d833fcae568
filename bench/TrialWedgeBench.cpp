// The trial-wedge thrust of one demanding face: a wall 8 m high behind two
// layers of sand over clay, ground rising at 1 in 3 for 6 m and then level,
// a line load and a strip load behind the crest, the water table 3 m down;
// active by wedges in each layer (searched by turns) and passive through a
// berm 2 m high in front of it. The counters are the thrusts, F/L, for
// reading beside the time.

#include <benchmark/benchmark.h>

#include "Berm.h"
#include "TrialWedge.h"

namespace {

using terraq::design::TrialWedgeInput;
using terraq::design::TrialWedgeThrust;
using terraq::design::WedgeState;

TrialWedgeInput Backfill() {
  return {
      .height = 8,
      .ground = {{6, 2}},
      .layers = {{.bottom = -2.5, .unitWeight = 18, .frictionAngle = 30},
                 {.bottom = -5, .unitWeight = 19.5, .frictionAngle = 35},
                 {.unitWeight = 19, .frictionAngle = 22, .cohesion = 5}},
      .wallFriction = 20,
      .waterTable = -3,
      .unitWeightOfWater = 9.81,
      .loads = {{.distance = 7, .magnitude = 40}, {.distance = 9, .width = 3, .magnitude = 15}}};
}

void BM_LayeredBackfillAndBerm(benchmark::State& state) {
  TrialWedgeInput front{.height = 6, .layers = {{.unitWeight = 19, .frictionAngle = 32}}};
  front.ground = terraq::design::BermGround({2, 3, 2});
  double active = 0, passive = 0;
  for (auto _ : state) {
    active = TrialWedgeThrust(Backfill(), WedgeState::Active).thrust;
    passive = TrialWedgeThrust(front, WedgeState::Passive).thrust;
    benchmark::DoNotOptimize(active + passive);
  }
  state.counters["Pa"] = active;
  state.counters["Pp"] = passive;
}
BENCHMARK(BM_LayeredBackfillAndBerm)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
