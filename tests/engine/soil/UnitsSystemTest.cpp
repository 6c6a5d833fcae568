// The same physical wall analysed in SI units (kN, m) and in English units
// (lb, in), its data converted exactly: the generators sample the soil at
// the same physical spacing in both, so the wall deflects and bends alike.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "EarthPressureCase.h"
#include "EngineRun.h"
#include "PyCase.h"

namespace terraq::test {
namespace {

constexpr double kInch = 0.0254;               // m
constexpr double kPound = 4.4482216152605e-3;  // kN

// An SI value of force^f length^l in English units.
double english(double si, int f, int l) { return si / (std::pow(kPound, f) * std::pow(kInch, l)); }

struct Extremes {
  double topDeflection = 0, moment = 0, shear = 0;
};

// From the final result block of the plot file: stations 0..NI.
Extremes extremesOf(const std::string& dataFile, int ni) {
  const EngineOutputs out = RunEngineOn(dataFile);
  for (const char* bad : {"ERROR", "DEFLECTION OFF", "NOT CLOSED"})
    EXPECT_EQ(out.report.find(bad), std::string::npos) << out.report;
  const std::vector<std::string> w = SplitWords(out.plot);
  const size_t first = w.size() - 5 * static_cast<size_t>(ni + 1);
  Extremes e;
  e.topDeflection = std::stod(w[first + 1]);
  for (size_t k = first; k < w.size(); k += 5) {
    e.moment = std::max(e.moment, std::fabs(std::stod(w[k + 2])));
    e.shear = std::max(e.shear, std::fabs(std::stod(w[k + 3])));
  }
  return e;
}

// Runs both data files and compares the SI results, converted, with the
// English ones.
void expectSameWall(const std::string& si, const std::string& en, int ni, const char* what) {
  const Extremes a = extremesOf(si, ni), b = extremesOf(en, ni);
  const struct {
    const char* name;
    double fromSi, fromEnglish;
  } results[] = {{"top deflection", english(a.topDeflection, 0, 1), b.topDeflection},
                 {"largest moment", english(a.moment, 1, 1), b.moment},
                 {"largest shear", english(a.shear, 1, 0), b.shear}};
  for (const auto& r : results)
    EXPECT_NEAR(r.fromSi, r.fromEnglish, 1.2e-3 * std::fabs(r.fromEnglish))
        << what << ", " << r.name << ": SI differs by " << 100 * (r.fromSi / r.fromEnglish - 1)
        << " %";
}

EarthPressureCase englishOf(EarthPressureCase c) {
  c.units = 1;
  c.h = english(c.h, 0, 1);
  c.tolerance = english(c.tolerance, 0, 1);
  c.H = english(c.H, 0, 1);
  c.Wa = english(c.Wa, 0, 1);
  c.Wp = english(c.Wp, 0, 1);
  c.waterBackfill = english(c.waterBackfill, 0, 1);
  c.waterExcavation = english(c.waterExcavation, 0, 1);
  c.q = english(c.q, 1, -2);
  c.EI = english(c.EI, 1, 2);
  c.k = english(c.k, 1, -2);
  for (auto& l : c.loads) {
    l.magnitude = english(l.magnitude, 1, l.type == 1 ? 0 : l.type == 2 ? -1 : -2);
    l.x = english(l.x, 0, 1);
    l.width = english(l.width, 0, 1);
  }
  for (auto& l : c.layers) {
    l.bottom = english(l.bottom, 0, 1);
    l.gamma = english(l.gamma, 1, -3);
    l.c = english(l.c, 1, -2);
  }
  for (auto& a : c.anchors) a.second = english(a.second, 1, -1);
  return c;
}

PyCase englishOf(PyCase c) {
  c.units = 1;
  c.h = english(c.h, 0, 1);
  c.tolerance = english(c.tolerance, 0, 1);
  c.H = english(c.H, 0, 1);
  c.ei = english(c.ei, 1, 2);
  c.WA = english(c.WA, 0, 1);
  c.WP = english(c.WP, 0, 1);
  c.waterBackfill = english(c.waterBackfill, 0, 1);
  for (auto& p : c.pressure) p = {english(p[0], 0, 1), english(p[1], 1, -1)};
  for (TestLayer& l : c.layers) {
    l.bottom = english(l.bottom, 0, 1);
    for (auto* row : {&l.top, &l.base}) {
      (*row)[0] = english((*row)[0], 1, -3);  // unit weight
      (*row)[1] = english((*row)[1], 1, -2);  // cohesion
      (*row)[4] = english((*row)[4], 1, -3);  // modulus of subgrade reaction
    }
  }
  return c;
}

// A 10 m wall retaining 6 m of sand, on linear soil springs below.
EarthPressureCase retainingWall() {
  EarthPressureCase c;
  c.EI = 2e5;
  c.k = 1e5;
  c.layers = {{4, 20, 18, 0, 30}};
  return c;
}

// A 10.5 m cantilever retaining 3 m under a specified pressure (its table
// ends between two stations, away from where rounding decides which).
PyCase cantilever(const TestLayer& soil) {
  PyCase c;
  c.units = 2;
  c.ni = 42, c.h = 0.25, c.H = 3, c.ei = 5e4, c.WA = 2, c.WP = 0.5, c.waterBackfill = 100;
  c.pressure = {{0, 0}, {3.1, 31}};
  c.layers = {soil};
  return c;
}

TEST(UnitsSystem, EnglishAndSiGiveTheSameWall) {
  EarthPressureCase strip = retainingWall();
  strip.loads = {{3, 20, 1.0, 2.0}};
  expectSameWall(strip.text(), englishOf(strip).text(), strip.NI, "strip surcharge");

  EarthPressureCase anchored = retainingWall();
  anchored.KEP = 3;
  anchored.anchors = {{4, 5e4}};
  expectSameWall(anchored.text(), englishOf(anchored).text(), anchored.NI, "trapezoid");

  const PyCase sand = cantilever(Sand(15, 18, 32, 20000));
  expectSameWall(sand.dataFile(), englishOf(sand).dataFile(), sand.ni, "sand curves");

  const PyCase clay = cantilever(SoftClay(15, 17, 25, 0.01));
  expectSameWall(clay.dataFile(), englishOf(clay).dataFile(), clay.ni, "soft-clay curves");

  // Water weighs the same in both systems.
  EarthPressureCase wetFill = retainingWall();
  wetFill.waterBackfill = 2.5;
  expectSameWall(wetFill.text(), englishOf(wetFill).text(), wetFill.NI, "water in the backfill");
  PyCase wetSand = cantilever(Sand(15, 18, 32, 20000));
  wetSand.waterBackfill = 1.5;
  expectSameWall(wetSand.dataFile(), englishOf(wetSand).dataFile(), wetSand.ni, "sand below water");
}

}  // namespace
}  // namespace terraq::test
