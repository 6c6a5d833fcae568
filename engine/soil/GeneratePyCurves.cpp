#include "GeneratePyCurves.h"

#include <string>

#include "Generators.h"
#include "PyGeneration.h"
#include "PyReport.h"
#include "Sand.h"
#include "Silt.h"
#include "SoftClay.h"
#include "StiffClayFreeWater.h"
#include "driver/ProblemUnits.h"
#include "driver/RunMessages.h"
#include "earthpressure/Overburden.h"
#include "textio/FixedFormat.h"

namespace terraq::engine {

namespace {

// The user-specified active pressure at the deepest row of its table, per
// unit length of wall as read; 0 when the pressure is not user-specified.
double DeepestSpecifiedPressure(const EngineModel& model) {
  if (model.control.KEP != 1 || model.earthPressure.empty()) return 0.0;
  const EarthPressureRow* deepest = &model.earthPressure.front();
  for (const EarthPressureRow& row : model.earthPressure)
    if (row.depth >= deepest->depth) deepest = &row;
  return deepest->soil;
}

PySettings SettingsOf(const EngineModel& model) {
  const WallRecord& wall = model.soil.wall;
  PySettings s;
  s.H = wall.freeHeight;
  s.WA = wall.widthActive;
  s.WP = wall.widthResistance;
  s.gammaW = UnitWeightOfWater(model.control.KUNITS);
  s.sigmaH = EffectiveStressAtExcavation(model);
  s.pALast = DeepestSpecifiedPressure(model);
  s.modification = model.pyModification;
  // Widths enter every curve as divisors (z/b, x/b, WA/WP): a width that is
  // not positive has no meaning for a wall element.
  if (!(s.WP > 0.0))
    StopWithMessage("ERROR STOP -- THE WIDTH FOR SOIL RESISTANCE, WP, MUST BE GREATER THAN ZERO");
  // Without a modification table the spacing ratio WA/WP reduces the
  // resistance; a zero WA would remove it altogether.
  if (s.modification.empty() && !(s.WA > 0.0))
    StopWithMessage("ERROR STOP -- THE WIDTH FOR EARTH PRESSURE, WA, MUST BE GREATER THAN ZERO "
                    "WHEN NO P-Y MODIFICATION FACTORS ARE GIVEN");
  return s;
}

void WriteUserCurves(const EngineModel& model, TextOut& curves) {
  for (const Curve& curve : model.curves) {
    curves.line((ListRecord() << curve.station << curve.n).str());
    for (int i = 1; i <= curve.n; ++i) {
      const auto idx = static_cast<size_t>(i);
      curves.line((ListRecord() << i << curve.pPlot[idx] << curve.y[idx]).str());
    }
  }
}

// Gives every layer its curves, then generates them.
void AssignCurvesToLayers(PyGeneration& g) {
  AssignCurveRanges(g.profile);
  RunLayerGenerators(g);
}

}  // namespace

void StopForLayer(const PyGeneration& g, int j, std::string_view model, std::string_view problem) {
  StopWithMessage("ERROR STOP -- SOIL LAYER " + FormatI(g.profile.layer(j).source, 0) + " (" +
                  std::string(model) + ") " + std::string(problem));
}

double ModelDepth(const PyGeneration& g, int j, double x) {
  if (j == 1) return x;
  const ProfileLayer& layer = g.profile.layer(j);
  return (x - layer.top) + layer.zeq;
}

double EquivalentDepth(const PyGeneration& g, int j, const SoilValues& first) {
  double F = 0.0;
  for (int i = 1; i < j; ++i) F += g.profile.layer(i).resistanceSum;
  switch (g.profile.layer(j).code) {
    // Below the water table the stiff clay softens to a residual resistance,
    // and its layers sum that; the shallow term takes the cohesion of the
    // first curve as its average.
    case 2: return StiffClayFreeWaterEquivalentDepth(F, first.c, first.c, first.gamma, first.b);
    // Above it the stiff clay's ultimate resistance has the soft-clay form.
    case 3: return SoftClayEquivalentDepth(F, first.c, first.gamma, first.b);
    case 4: return SandEquivalentDepth(F, first.phi, first.gamma, first.b, first.x);
    case 5: return SiltEquivalentDepth(F, first.phi, first.gamma, first.c, first.b, first.x);
    case 6:
    case 7: return 0.0;  // rock curves use no equivalent depth
    default: return SoftClayEquivalentDepth(F, first.c, first.gamma, first.b);
  }
}

void RunLayerGenerators(PyGeneration& g) {
  int previousLast = 0;
  for (int j = 1; j <= g.profile.layerCount(); ++j) {
    const ProfileLayer& layer = g.profile.layer(j);
    const bool hasCurves = layer.first != 0 && layer.last != previousLast;
    previousLast = layer.last;
    if (!hasCurves) continue;
    switch (layer.code) {
      case 2: StiffClayFreeWaterCurves(g, j); break;
      case 3: StiffClayNoFreeWaterCurves(g, j); break;
      case 4: SandCurves(g, j); break;
      case 5: SiltCurves(g, j); break;
      case 6: StrongRockCurves(g, j); break;
      case 7: WeakRockCurves(g, j); break;
      default: SoftClayCurves(g, j); break;  // 1, and any code the models do not know
    }
  }
}

void GeneratePyCurves(EngineModel& model, TextOut& report) {
  const ProblemControl& c = model.control;
  TextOut curves;
  curves.open(kSoilDataFile);
  ThrowIfWriteFailed(curves);
  // The progress note goes where every other note of the engine goes: a
  // library may not write on its host's console.
  TellCaller(" READ SOIL DATA....");
  // Generic units (any other code) keep the labels the problem started with.
  if (c.KUNITS == 2) SetUnitLabels(model.labels, -1);
  else if (c.KUNITS == 1) SetUnitLabels(model.labels, +1);
  if (model.labels.buffer.size() < 24) SetUnitLabels(model.labels, 0);

  PyGeneration g;
  g.settings = SettingsOf(model);
  g.labels = model.labels;
  g.report = &report;
  g.curves = &curves;
  ProfileInput in;
  in.H = g.settings.H;
  in.waterDepth = model.soil.wall.waterBackfill;
  in.gammaW = g.settings.gammaW;
  in.wallLength = c.NI * c.h;
  in.h = c.h;
  in.inch = OneInch(c.KUNITS);
  g.profile = BuildSoilProfile(model.soil.layers, in);

  WriteSoilProfileReport(g);
  const int generated = g.profile.curveCount();
  curves.line((ListRecord() << static_cast<int>(model.curves.size()) + generated).str());
  WriteUserCurves(model, curves);
  AssignCurvesToLayers(g);
  // Curves that did not reach the disk whole would be read back as a fault
  // of the data.
  curves.close();
  ThrowIfWriteFailed(curves);
}

}  // namespace terraq::engine
