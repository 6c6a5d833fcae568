// The search for the critical slip circle around an anchored wall: a cut 6 m
// deep behind a wall 12 m long, fill and sand over clay, the water 2 m down
// behind the wall and at the floor in front, a surcharge strip behind and
// one row of anchors. The counters are the least factor and the number of
// circles tried, for reading beside the time.

#include <benchmark/benchmark.h>

#include "SlipCircle.h"

namespace {

using terraq::design::SlipGround;

SlipGround AnchoredCut() {
  return {.surface = {{0, 0}, {0, -6}},
          .layers =
              {{.bottom = -3, .unitWeight = 18, .saturatedUnitWeight = 20, .frictionAngle = 30},
               {.bottom = -9,
                .unitWeight = 19,
                .saturatedUnitWeight = 21,
                .cohesion = 2,
                .frictionAngle = 34},
               {.unitWeight = 19, .saturatedUnitWeight = 19.5, .cohesion = 60, .undrained = true}},
          .phreatic = {{0, -2}, {0, -6}},
          .surcharges = {{.from = -8, .to = -2, .pressure = 10}},
          .wall = terraq::design::SlipWall{.x = 0, .top = 0, .tip = -12},
          .anchors = {{.head = {0, -1.5},
                       .inclination = 15,
                       .freeLength = 8,
                       .bondLength = 6,
                       .capacity = 200}}};
}

void BM_CriticalCircleAroundAnchoredWall(benchmark::State& state) {
  const SlipGround ground = AnchoredCut();
  terraq::design::SlipSearchResult result;
  for (auto _ : state) {
    result = terraq::design::CriticalSlipCircle(ground);
    benchmark::DoNotOptimize(result);  // whole: the double alone may be read back wrong
  }
  state.counters["F"] = result.critical.factor;
  state.counters["circles"] = result.circlesTried;
}
BENCHMARK(BM_CriticalCircleAroundAnchoredWall)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
