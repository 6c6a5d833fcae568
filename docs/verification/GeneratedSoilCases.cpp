// Whole walls on generated soil against an independent solution: a beam of
// cubic finite elements, 2000 along the wall, on the published p-y curves
// evaluated continuously at the Gauss points of every element and solved by
// secant iteration (tests/engine/soil/ContinuousBeam.h). Values from the
// engine's results at full precision.

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "ContinuousBeam.h"
#include "PyCase.h"
#include "VerificationTable.h"
#include "WallCase.h"

namespace terraq::verification {

namespace {

using test::PyCase;
using test::TestLayer;

constexpr double kB = 12;
// weight (lb/in³), c (psi), φ (degrees), ε50, k (lb/in³), RQD
constexpr std::array<double, 6> kSand{0.04, 0, 35, 0, 60, 0};
constexpr std::array<double, 6> kClay{0.035, 3, 0, 0.02, 0, 0};

struct Extremes {
  double top = 0, moment = 0;
};

Extremes Engine(const PyCase& c) {
  const test::SolvedWall run = test::SolveDataFile(c.dataFile());
  if (run.model.results.size() != static_cast<size_t>(c.ni + 1) || test::ReportWarnsOrStops(run))
    throw CaseFailed("a wall on generated soil did not solve cleanly");
  Extremes e;
  e.top = run.model.results.front().deflection;
  for (const auto& r : run.model.results) e.moment = std::max(e.moment, std::fabs(r.moment));
  return e;
}

Extremes Reference(const PyCase& c, std::function<double(double x, double w)> soil) {
  test::ContinuousBeam beam;
  beam.length = c.ni * c.h;
  beam.EI = c.ei;
  beam.elements = 2000;
  beam.topLoad = c.topLoad;
  beam.soil = std::move(soil);
  const test::BeamSolution s = test::Solve(beam);
  return {s.w.front(), s.largestMoment};
}

TestLayer Layer(int code, double bottom, const std::array<double, 6>& v) {
  TestLayer l;
  l.code = code;
  l.bottom = bottom;
  l.top = l.base = v;
  return l;
}

// 80 increments of 6 in (L = 480 in), EI = 5E9 lb-in², b = Wp = 12 in,
// Wa = 72 in (no reduction for spacing), no earth pressure, a lateral load
// at the top; `layers` equal layers of one soil from the surface to 600 in.
PyCase Wall(int code, const std::array<double, 6>& soil, int layers, double H, double load) {
  PyCase c;
  c.ni = 80;
  c.ei = 5e9;
  c.H = H;
  c.topLoad = load;
  for (int i = 1; i <= layers; ++i) c.layers.push_back(Layer(code, 600.0 * i / layers, soil));
  return c;
}

double SandSoil(double H, double x, double w) {
  if (x <= H) return 0.0;
  // Excavation side from its own level, the backfill side from the surface.
  const double z = w > 0 ? x - H : x;
  const double p = test::ReeseSandP(kSand[2], kSand[0], kB, kSand[4], z, z, std::fabs(w));
  return w > 0 ? -p : p;
}

Section ThickSand() {
  const PyCase c = Wall(4, kSand, 1, 120, 12000);
  const Extremes e = Engine(c),
                 r = Reference(c, [](double x, double w) { return SandSoil(120, x, w); });
  return ComparisonSection(
      "A cantilever in a thick sand layer",
      "80 increments of 6 in (L = 480 in, 12.2 m), EI = 5E9 lb-in² (14350 kN-m²), free height H = 120 in "
      "(3.05 m), P = 12000 lb (53.4 kN) at the top; one sand layer of 0.04 lb/in³ (10.9 kN/m³), "
      "φ = 35°, k = 60 lb/in³ (16.3 MN/m³), b = 12 in (0.305 m), no earth pressure. Reference: the beam "
      "on the continuous curves of Reese, Cox & Koop (1974), each side at its own depth.",
      "Continuous curves",
      {{"deflection at the top (in)", r.top, e.top},
       {"largest moment (lb-in)", r.moment, e.moment}});
}

Section SplitSand() {
  const Extremes one = Engine(Wall(4, kSand, 1, 120, 12000));
  const Extremes two = Engine(Wall(4, kSand, 2, 120, 12000));
  const Extremes twenty = Engine(Wall(4, kSand, 20, 120, 12000));
  return ComparisonSection(
      "The same sand given as several layers",
      "The wall above with its sand given as 2 and as 20 equal layers of the same properties: each layer "
      "below another takes its equivalent depth, and the wall must be that of one layer.",
      "One layer",
      {{"2 layers: deflection at the top (in)", one.top, two.top},
       {"2 layers: largest moment (lb-in)", one.moment, two.moment},
       {"20 layers: deflection at the top (in)", one.top, twenty.top},
       {"20 layers: largest moment (lb-in)", one.moment, twenty.moment}});
}

Section SoftClayPile() {
  const PyCase c = Wall(1, kClay, 1, 0, 1500);
  const Extremes e = Engine(c), r = Reference(c, [](double x, double w) {
                                  const double p = test::MatlockP(kClay[1], kClay[0], kClay[3], kB,
                                                                  x, std::fabs(w));
                                  return w > 0 ? -p : p;
                                });
  return ComparisonSection(
      "A pile in soft clay at small deflection",
      "The wall of 80 increments of 6 in, EI = 5E9 lb-in², without free height, P = 1500 lb (6.67 kN) at "
      "the ground surface; soft clay of c = 3 psi (20.7 kPa), 0.035 lb/in³ (9.5 kN/m³), ε50 = 0.02, "
      "b = 12 in, so that y50 = 0.6 in (15 mm) and the pile deflects a tenth of it, where Matlock's curve "
      "bends most. Reference: the beam on Matlock's (1970) curve p = 0.5 pu (y/y50)^(1/3).",
      "Continuous curves",
      {{"deflection at the top (in)", r.top, e.top},
       {"largest moment (lb-in)", r.moment, e.moment}});
}

// Piles whose soil lies below a water table: at the surface, inside the top
// layer (30 in) and at the top of a second layer of the same soil (48 in).
// Reference: the published curves with the effective overburden, the total
// weight above the water table and the buoyant weight below it.
Section WaterTablePiles() {
  constexpr double kWater = 62.4 / 1728;  // lb/in³
  constexpr std::array<double, 6> sand{0.069, 0, 35, 0, 60, 0};
  constexpr std::array<double, 6> clay{0.065, 3, 0, 0.02, 0, 0};
  std::vector<Comparison> rows;
  for (const bool isSand : {true, false}) {
    const std::array<double, 6>& soil = isSand ? sand : clay;
    for (const double water : {0.0, 30.0, 48.0}) {
      PyCase c = Wall(isSand ? 4 : 1, soil, 1, 0, isSand ? 12000 : 1500);
      c.waterBackfill = water;
      if (water == 48.0) c.layers.insert(c.layers.begin(), Layer(isSand ? 4 : 1, 48, soil));
      const auto gammaAverage = [&](double z) {
        if (!(z > 0)) return water > 0 ? soil[0] : soil[0] - kWater;
        return (soil[0] * std::min(z, water) + (soil[0] - kWater) * std::max(0.0, z - water)) / z;
      };
      const Extremes e = Engine(c),
                     r = Reference(c, [&](double x, double w) {
                       const double g = gammaAverage(x), y = std::fabs(w);
                       const double p = isSand ? test::ReeseSandP(soil[2], g, kB, soil[4], x, x, y)
                                               : test::MatlockP(soil[1], g, soil[3], kB, x, y);
                       return w > 0 ? -p : p;
                     });
      const std::string where = water == 0    ? "water at the surface"
                                : water == 30 ? "water at 30 in, inside the layer"
                                              : "water at 48 in, the top of a second layer";
      const std::string what = std::string(isSand ? "sand" : "soft clay") + ", " + where;
      rows.push_back({what + ": deflection at the top (in)", r.top, e.top});
      rows.push_back({what + ": largest moment (lb-in)", r.moment, e.moment});
    }
  }
  return ComparisonSection(
      "Piles below a water table",
      "The pile of 80 increments of 6 in, EI = 5E9 lb-in², without free height, in sand (0.069 lb/in³, "
      "18.7 kN/m³, φ = 35°, k = 60 lb/in³, P = 12000 lb at the top) and in soft clay (0.065 lb/in³, "
      "c = 3 psi, ε50 = 0.02, P = 1500 lb), with the water table at the surface, inside the layer and "
      "at the top of a second layer of the same soil. Reference: the beam on the published curves (Reese, "
      "Cox & Koop 1974; Matlock 1970) with the effective overburden: the total unit weight above the water "
      "table, γ − γw below it.",
      "Continuous curves", rows);
}

}  // namespace

std::vector<Section> GeneratedSoilSections() {
  return {ThickSand(), SplitSand(), SoftClayPile(), WaterTablePiles()};
}

}  // namespace terraq::verification
