// One cantilevered sheet pile in sand, with generated earth pressure and
// generated p-y curves: solved with 30 to 400 increments to show that its
// results settle, and in English and SI units to show that they do not
// depend on the units system. Values from the engine's results at full
// precision (the model the run leaves behind).

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "VerificationTable.h"
#include "WallCase.h"

namespace terraq::verification {

namespace {

constexpr double kInch = 0.0254;               // m
constexpr double kPound = 4.4482216152605e-3;  // kN

std::string Full(double v) {
  char text[40];
  std::snprintf(text, sizeof text, "%.17g", v);
  return text;
}

// A 30 ft (360 in) sheet pile, EI = 2.45E9 lb-in² per foot of wall,
// retaining 14.3 ft (171.6 in) of dry medium dense sand: 0.0694 lb/in³,
// φ′ = 32°, k = 90 lb/in³, Wa = Wp = 12 in. `si` gives the same wall in kN
// and m, every value converted.
std::string SheetPile(int ni, bool si) {
  const double length = si ? kInch : 1, force = si ? kPound : 1;
  const auto L = [&](double inches) { return Full(inches * length); };
  const auto unitWeight = [&](double pci) { return Full(pci * force / std::pow(length, 3)); };
  const std::string n = std::to_string(ni);
  const std::string soil = unitWeight(0.0694) + " 0 32 0 " + unitWeight(90) + " 0\n";
  return std::string("Sheet pile in sand\n") + (si ? "2" : "1") + " 0 1 0 2 2 0 1 0\n" + n + " " +
         L(360.0 / ni) + " " + L(100) + " " + L(1e-6) + " " + L(171.6) + "\n0 " + n + " 1 " +
         Full(2.45e9 * force * length * length) + "\n0\n0\n" + L(171.6) + " " + L(12) + " " + L(12) + " " +
         L(1000) + " " + L(1000) + " 1 1 0\n0 0 0 0 0 0\n0\n1\n4 " + L(2000) + "\n" + soil + soil + "0\n";
}

struct Extremes {
  double moment = 0, shear = 0, topDeflection = 0;
};

Extremes Solve(int ni, bool si) {
  const test::SolvedWall run = test::SolveDataFile(SheetPile(ni, si));
  if (run.model.results.size() != static_cast<size_t>(ni + 1) || test::ReportWarnsOrStops(run))
    throw CaseFailed("the sheet pile did not solve cleanly");
  Extremes e;
  for (const auto& r : run.model.results) {
    e.moment = std::max(e.moment, std::fabs(r.moment));
    e.shear = std::max(e.shear, std::fabs(r.shear));
  }
  e.topDeflection = run.model.results.front().deflection;
  return e;
}

Section Refinement() {
  const int divisions[] = {30, 50, 100, 200, 400};
  std::vector<Extremes> runs;
  for (int ni : divisions) runs.push_back(Solve(ni, false));
  const Extremes& finest = runs.back();
  Section s{"Refinement of a sheet pile in sand",
            "A 30 ft (9.14 m) cantilevered sheet pile, EI = 2.45E9 lb-in² (7031 kN-m²) per foot of wall, "
            "retaining 14.3 ft (4.36 m) of dry sand of 0.0694 lb/in³ (120 pcf, 18.8 kN/m³), φ′ = 32°, "
            "k = 90 lb/in³ (24.4 MN/m³), Wa = Wp = 12 in (0.305 m); generated active pressure and generated sand "
            "curves. The excavation level is a station for none of the divisions. The largest moment and "
            "the deflection at the top, with their differences from the solution with 400 increments.",
            {"Increments", "Increment (in)", "Largest moment (lb-in)", "Top deflection (in)",
             "Moment, from 400 (%)", "Deflection, from 400 (%)"},
            {}};
  for (size_t k = 0; k < runs.size(); ++k)
    s.rows.push_back({std::to_string(divisions[k]), Number(360.0 / divisions[k]), Number(runs[k].moment),
                      Number(runs[k].topDeflection), PercentDifference(finest.moment, runs[k].moment),
                      PercentDifference(finest.topDeflection, runs[k].topDeflection)});
  return s;
}

Section Units() {
  const Extremes en = Solve(100, false), si = Solve(100, true);
  Section s{"The same wall in English and SI units",
            "The sheet pile above with 100 increments, its data given once in pounds and inches and once "
            "in kilonewtons and metres (every value converted: 1 in = 0.0254 m, 1 lb = 4.4482 N). The SI "
            "results converted back to English units against the English ones.",
            {"Quantity", "English units", "SI units", "SI in English units", "Difference (%)"},
            {}};
  const struct {
    const char* name;
    double english, si, toEnglish;
  } rows[] = {{"largest moment (lb-in; kN-m)", en.moment, si.moment, 1 / (kPound * kInch)},
              {"largest shear (lb; kN)", en.shear, si.shear, 1 / kPound},
              {"top deflection (in; m)", en.topDeflection, si.topDeflection, 1 / kInch}};
  for (const auto& r : rows)
    s.rows.push_back({r.name, Number(r.english), Number(r.si), Number(r.si * r.toEnglish),
                      PercentDifference(r.english, r.si * r.toEnglish)});
  return s;
}

}  // namespace

std::vector<Section> RefinementAndUnitsSections() { return {Refinement(), Units()}; }

}  // namespace terraq::verification
