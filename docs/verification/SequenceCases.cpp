// A sequential staged analysis against a hand calculation of the soil
// spring rule: a rigid wall on elastic-perfectly-plastic springs, loaded,
// unloaded into the gaps of the springs that yielded, unloaded to nothing,
// loaded the other way and unloaded again. Values from the engine's results
// at full precision.

#include <cmath>
#include <cstdio>
#include <string>

#include "VerificationTable.h"
#include "WallCase.h"
#include "api/Analysis.h"

namespace terraq::verification {

namespace {

// Millimetres to a tenth of a micrometre, so that a wall back at its start
// reads 0.0000 whatever rounding leaves of it.
std::string Millimetres(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.4f", value);
  return std::string(text) == "-0.0000" ? "0.0000" : text;
}

// Ten increments of 0.8 m, EI = 1E11 kN-m² (rigid against the springs), a
// point load at the middle station; every station has an elastic-perfectly-
// plastic curve of initial stiffness 1875 kN/m per m, yielding at 10 kN/m at
// stations 0-2 and 8-10 and at 15 kN/m at stations 3-7. Both groups are 4 m
// of wall (7.5 kN/mm each); being symmetric about the load, the wall only
// translates and every spring has its deflection.
Section RigidWallReversal() {
  constexpr double kK0 = 1875.0, kWeak = 10.0, kStrong = 15.0;
  const double loads[] = {60.0, 95.0, 10.0, 0.0, -85.0, 0.0};
  std::vector<test::WallCase> stages;
  for (double load : loads) {
    test::WallCase wall;
    wall.units = 2;
    wall.NI = 10;
    wall.h = 0.8;
    wall.TOL = 1e-9;
    wall.rigidity = {{0, 10, 1, 1e11}};
    wall.loads = {{1, 5, 5, load}};
    for (int s = 0; s <= 10; ++s) {
      const double pu = s <= 2 || s >= 8 ? kWeak : kStrong, yield = pu / kK0;
      wall.curves.push_back({s, {{-1, pu}, {-yield, pu}, {0, 0}, {yield, -pu}, {1, -pu}}});
    }
    stages.push_back(wall);
  }
  engine::api::AnalysisOptions options;
  options.sequential = engine::api::SequentialOptions{};
  const engine::api::AnalysisResult run = engine::api::Analyse(test::StagedText(stages), options);
  if (run.error || run.problems.size() != std::size(loads))
    throw CaseFailed("the reversing sequence did not run");

  // By hand, in mm: K = 7.5 kN/mm a group, the weak group's resistance
  // Cw = 40 kN (at 5.333 mm), the strong group's 60 kN (at 8 mm).
  const double K = 4 * kK0 / 1000, Cw = 4 * kWeak;
  const struct {
    const char* weak;
    double deflection;
  } hand[] = {
      {"elastic", 60 / (2 * K)},
      {"yielded", (95 - Cw) / K},
      {"in the gap", 10 / K},
      {"at the gap's edge", 0},
      {"yielded, other side", (-85 + Cw) / K},
      {"at the new gap's edge", 0},
  };
  Section s{
      "A rigid wall loaded, unloaded into the gap and loaded the other way",
      "Sequential analysis in six stages of a rigid wall (ten increments of 0.8 m, EI = 1E11 kN-m²) "
      "on elastic-perfectly-plastic p-y curves of initial stiffness 1875 kN/m per m, yielding at "
      "10 kN/m at the three stations at either end (4 m of wall: 7.5 kN/mm, 40 kN) and at 15 kN/m "
      "at the five in the middle (4 m: 7.5 kN/mm, 60 kN), under a point load at the middle "
      "station. Symmetric about the load, the wall translates; the hand calculation solves each "
      "stage's one equation in the deflection u with the spring rule of the staged-analysis "
      "chapter: the weak springs yield at 95 kN (Cw + K u = 95 kN) and keep the offset yp = u - Cw/K = "
      "2 mm, stand in their gap (0 < u < yp) at 10 kN, yield on their other side at -85 kN (-Cw + K u "
      "= -85 kN); the strong springs stay elastic throughout. Every stage closed.",
      {"Stage", "Load (kN)", "Weak springs", "Hand calculation (mm)", "TERRAQ (mm)",
       "Difference (mm)"},
      {}};
  for (size_t k = 0; k < std::size(loads); ++k) {
    const engine::api::ProblemResult& stage = run.problems[k];
    if (!stage.closed || !stage.numericalFault.empty() || !stage.notValidStations.empty())
      throw CaseFailed("a stage of the reversing sequence did not close");
    const double u = stage.stations[5].deflection * 1000;
    s.rows.push_back({std::to_string(k + 1), Number(loads[k]), hand[k].weak,
                      Millimetres(hand[k].deflection), Millimetres(u),
                      Millimetres(u - hand[k].deflection)});
  }
  return s;
}

}  // namespace

std::vector<Section> SequenceSections() { return {RigidWallReversal()}; }

}  // namespace terraq::verification
