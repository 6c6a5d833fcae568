// Each soil model's generated p-y curve against its published criterion.
//
// The engine runs a cantilever of 40 increments of 6 in (English units)
// retaining H = 120 in of one uniform layer, without earth pressure, with
// WP = 12 in and WA = 72 in, so that the curves are neither shifted by an
// active pressure nor reduced for the spacing of the wall elements. The
// layer's part below the excavation level (132 in, down to two increments
// below the tip) receives curves at 0.1, 33, 66, 99 and 131.9 in below it;
// they are read back from the p-y block of the plot file, which holds four
// significant digits. On the excavation side a curve at x below the
// excavation level has the model depth z = x; behind the wall z = H + x.

#include <array>
#include <initializer_list>
#include <string>
#include <vector>

#include "EngineRun.h"
#include "PublishedPyCurves.h"
#include "PyCase.h"
#include "VerificationTable.h"
#include "soil/SoilModel.h"

namespace terraq::verification {

namespace {

using test::PlotCurve;
using test::PyCase;
using test::TestLayer;

constexpr double kH = 120, kB = 12;

using engine::SoilModel;

TestLayer Uniform(SoilModel model, std::array<double, 6> values) {
  TestLayer l;
  l.code = static_cast<int>(model);  // the data file's code
  l.bottom = 600;
  l.top = l.base = values;
  return l;
}

// The generated curves of one layer; the run must not stop.
std::vector<PlotCurve> Curves(const TestLayer& layer) {
  PyCase c;
  c.layers = {layer};
  const test::EngineOutputs out = test::RunEngineOn(c.dataFile());
  if (out.report.find("ERROR") != std::string::npos) throw CaseFailed("a p-y case stopped");
  std::vector<PlotCurve> curves = test::ReadPyBlock(out.plot).curves;
  if (curves.size() != 5) throw CaseFailed("a p-y case gave no curves");
  return curves;
}

// Point i (1..17) of one side of a generated curve, as the soil resists
// (positive). The plot file holds the backfill side first, mirrored to
// negative deflections, then the excavation side from its second point on,
// as a load on the wall (p negated).
struct Point {
  double y, p;
};
Point Excavation(const PlotCurve& c, int i) {
  const auto k = static_cast<size_t>(15 + i);
  return {c.y[k], -c.p[k]};
}
Point Backfill(const PlotCurve& c, int i) {
  const auto k = static_cast<size_t>(17 - i);
  return {-c.y[k], c.p[k]};
}

std::string At(double y) { return "p at y = " + Number(y) + " in (lb/in)"; }

// Rows p(y) at the given points of the excavation side of `curve`, against
// the criterion evaluated at the engine's own deflections.
template <typename Criterion>
std::vector<Comparison> ExcavationRows(const PlotCurve& curve, double z, const Criterion& criterion,
                                       std::initializer_list<int> points) {
  std::vector<Comparison> rows;
  for (int i : points) {
    const Point pt = Excavation(curve, i);
    rows.push_back({At(pt.y), criterion.p(z, pt.y), pt.p});
  }
  return rows;
}

Section SoftClay() {
  const double c = 5, gamma = 0.03, e50 = 0.01;
  const SoftClayCriterion matlock{c, gamma, e50, kB};
  const PlotCurve curve = Curves(Uniform(SoilModel::SoftClay, {gamma, c, 0, e50, 0, 0}))[2];
  std::vector<Comparison> rows = ExcavationRows(curve, 66, matlock, {3, 6, 14});
  rows.push_back({"pu, excavation side, z = 66 in (lb/in)", matlock.pu(66), Excavation(curve, 17).p});
  rows.push_back({"pu = 9 c b, backfill side, z = 186 in (lb/in)", matlock.pu(186), Backfill(curve, 17).p});
  return ComparisonSection(
      "Soft clay (model 1)",
      "c = 5 psi (34.5 kPa), effective unit weight 0.03 lb/in³ (8.1 kN/m³), ε50 = 0.01, b = 12 in (0.305 m); "
      "the curve 66 in (1.68 m) below the excavation level, against Matlock (1970) with J = 0.5. Behind the wall, "
      "186 in (4.72 m) deep, the bearing factor has reached its limit of 9.",
      "Published formula", rows);
}

Section StiffClayBelowWater() {
  const double c = 10, gamma = 0.04, e50 = 0.005, k = 500;
  const StiffClayBelowWaterCriterion reese{c, c, gamma, e50, kB, k};
  const PlotCurve curve =
      Curves(Uniform(SoilModel::StiffClayFreeWater, {gamma, c, 0, e50, k, 0}))[1];
  const std::vector<Comparison> rows = ExcavationRows(curve, 33, reese, {2, 3, 5, 11, 15, 17});
  return ComparisonSection(
      "Stiff clay below the water table (model 2)",
      "c = 10 psi (69 kPa) throughout, effective unit weight 0.04 lb/in³ (10.9 kN/m³), ε50 = 0.005, "
      "k = 500 lb/in³ (136 MN/m³), b = 12 in (0.305 m); the curve 33 in (0.84 m) below the excavation level (z/b = 2.75, "
      "As = 0.58), against Reese, Cox & Koop (1975), static loading: the initial line k z y, the "
      "square-root law to As y50, the softening branches and the residual resistance.",
      "Published formula", rows);
}

Section StiffClayAboveWater() {
  const double c = 10, gamma = 0.07, e50 = 0.007;
  const StiffClayAboveWaterCriterion welch{c, c, gamma, e50, kB};
  const PlotCurve curve =
      Curves(Uniform(SoilModel::StiffClayNoFreeWater, {gamma, c, 0, e50, 0, 0}))[1];
  std::vector<Comparison> rows = ExcavationRows(curve, 33, welch, {8, 12, 14});
  rows.push_back({"pu at 16 y50, z = 33 in (lb/in)", welch.pu(33), Excavation(curve, 15).p});
  return ComparisonSection(
      "Stiff clay above the water table (model 3)",
      "c = 10 psi (69 kPa), unit weight 0.07 lb/in³ (19.0 kN/m³), ε50 = 0.007, b = 12 in (0.305 m); the curve "
      "33 in (0.84 m) below the excavation level, against Welch & Reese (1972): p = 0.5 pu (y/y50)^(1/4) up to "
      "16 y50.",
      "Published formula", rows);
}

Section Sand() {
  const double phi = 35, gamma = 0.04, k = 60;
  const SandCriterion reese{phi, 0, gamma, kB, k};
  const PlotCurve curve = Curves(Uniform(SoilModel::Sand, {gamma, 0, phi, 0, k, 0}))[1];
  std::vector<Comparison> rows = ExcavationRows(curve, 33, reese, {2, 7});
  rows.push_back({"pm at ym = b/60, z = 33 in (lb/in)", reese.pm(33), Excavation(curve, 13).p});
  rows.push_back({"pu at yu = 3b/80, z = 33 in (lb/in)", reese.pu(33), Excavation(curve, 14).p});
  return ComparisonSection(
      "Sand (model 4)",
      "φ′ = 35°, effective unit weight 0.04 lb/in³ (10.9 kN/m³), k = 60 lb/in³ (16.3 MN/m³), b = 12 in (0.305 m); "
      "the curve 33 in (0.84 m) below the excavation level (x/b = 2.75: A = 1.145, B = 0.785), against Reese, "
      "Cox & Koop (1974), static loading: the initial line, the parabola, the straight line from pm to "
      "pu.",
      "Published formula", rows);
}

Section CPhiSoil() {
  const double c = 2, phi = 28, gamma = 0.04, k = 90;
  const SandCriterion criterion{phi, c, gamma, kB, k};
  const PlotCurve curve = Curves(Uniform(SoilModel::Silt, {gamma, c, phi, 0.01, k, 0}))[1];
  std::vector<Comparison> rows = ExcavationRows(curve, 33, criterion, {2, 7});
  rows.push_back({"pm = B ps + pc at ym, z = 33 in (lb/in)", criterion.pm(33), Excavation(curve, 13).p});
  rows.push_back({"pu = A ps + pc at yu, z = 33 in (lb/in)", criterion.pu(33), Excavation(curve, 14).p});
  return ComparisonSection(
      "c-φ soil (model 5)",
      "c = 2 psi (13.8 kPa), φ′ = 28°, effective unit weight 0.04 lb/in³ (10.9 kN/m³), k = 90 lb/in³ "
      "(24.4 MN/m³), b = 12 in (0.305 m); the curve 33 in (0.84 m) below the excavation level: the sand resistance of "
      "Reese, Cox & Koop (1974) plus the cohesive resistance of Matlock (1970), along the sand curve.",
      "Published formula", rows);
}

Section StrongRock() {
  const double qu = 1000, gamma = 0.09;
  const StrongRockCriterion rock{qu, gamma, kB};
  const PlotCurve curve = Curves(Uniform(SoilModel::StrongRock, {gamma, qu, 0, 0, 0, 0}))[1];
  std::vector<Comparison> rows = ExcavationRows(curve, 33, rock, {2, 8});
  rows.push_back({"s b at yu = " + Number(rock.yu()) + " in (lb/in)", qu / 2 * kB, Excavation(curve, 16).p});
  rows.push_back({"residual 0.5 γ b z beyond yu, z = 33 in (lb/in)", rock.p(33, 2 * rock.yu()),
                  Excavation(curve, 17).p});
  return ComparisonSection(
      "Strong rock (model 6)",
      "qu = 1000 psi (6.9 MPa), s = qu/2, unit weight 0.09 lb/in³ (24.4 kN/m³), b = 12 in (0.305 m); the curve 33 in (0.84 m) "
      "below the excavation level: p = 2000 s y up to y1 = 0.0004 b, then a line of slope 100 s up to "
      "s b, then the residual of the fractured rock.",
      "Published formula", rows);
}

Section WeakRock() {
  const double qu = 500, krm = 0.0005, em = 50000, rqd = 50, gamma = 0.09;
  const WeakRockCriterion reese{qu, krm, em, rqd, kB};
  const PlotCurve curve = Curves(Uniform(SoilModel::WeakRock, {gamma, qu, 0, krm, em, rqd}))[1];
  std::vector<Comparison> rows = ExcavationRows(curve, 33, reese, {2, 8, 14, 17});
  const Point back = Backfill(curve, 17);
  rows.push_back({"backfill side, xr = 153 in: " + At(back.y), reese.p(153, back.y), back.p});
  return ComparisonSection(
      "Weak rock (model 7)",
      "qu = 500 psi (3.4 MPa), krm = 0.0005, Em = 50000 psi (345 MPa), RQD = 50 % (αr = 2/3), b = 12 in (0.305 m); "
      "the curve 33 in (0.84 m) below the excavation level (xr = 33 in, less than 3b), against Reese (1997): the "
      "initial line Kir y, then 0.5 pur (y/yrm)^(1/4). Behind the wall xr = 153 in (3.89 m), beyond 3b, where pur "
      "and Kir no longer grow.",
      "Published formula", rows);
}

}  // namespace

std::vector<Section> PyCurveSections() {
  return {SoftClay(), StiffClayBelowWater(), StiffClayAboveWater(), Sand(), CPhiSoil(), StrongRock(), WeakRock()};
}

}  // namespace terraq::verification
