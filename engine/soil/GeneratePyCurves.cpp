#include "GeneratePyCurves.h"

#include <string>

#include "CurveOutput.h"
#include "LayeredSoil.h"
#include "PyGeneration.h"
#include "PyReport.h"
#include "SoilModels.h"
#include "StationSprings.h"
#include "driver/ProblemUnits.h"
#include "driver/RunMessages.h"
#include "earthpressure/Overburden.h"
#include "seepage/ProblemSeepage.h"
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

// A soil profile that stops short of the tip leaves the wall below without
// soil: legitimate for a wall whose lower part the user means to hang free,
// but far more often a profile given too short, so the caller is told, and
// the report says it beside results that are not valid.
void NoteSoilEndingAboveTheTip(EngineModel& model, const SoilProfile& profile,
                               std::vector<std::string>& messages) {
  const ProblemControl& c = model.control;
  const double soilBottom = model.soil.wall.freeHeight + profile.layers.back().bottom;
  const double tip = c.NI * c.h;
  if (!(soilBottom < tip - kStationDepthTolerance * c.h)) return;
  model.soilEndsAbove = soilBottom;
  const std::string unit(model.labels.lengthWord());
  messages.push_back(Line()
                         .a("WARNING: THE SOIL LAYERS END AT X =")
                         .e(soilBottom, 11, 4)
                         .a(" " + unit + ", ABOVE THE TIP OF THE WALL AT X =")
                         .e(tip, 11, 4)
                         .a(" " + unit + ": THE WALL BELOW HAS NO SOIL")
                         .str());
}

// Gives every layer its curves, then generates them.
void AssignCurvesToLayers(PyGeneration& g) {
  AssignCurveRanges(g.profile);
  RunLayerGenerators(g);
}

}  // namespace

void StopForLayer(const PyGeneration& g, int j, std::string_view problem,
                  std::vector<std::string> callerLines) {
  const ProfileLayer& layer = g.profile.layer(j);
  StopWithMessage("ERROR STOP -- SOIL LAYER " + FormatI(layer.source, 0) + " (" +
                      SoilModelRecordOf(layer.model).name + ") " + std::string(problem),
                  std::move(callerLines));
}

double ModelDepth(const PyGeneration& g, int j, double x) {
  if (j == 1) return x;
  const ProfileLayer& layer = g.profile.layer(j);
  return (x - layer.top) + layer.zeq;
}

void GenerateCurveAt(PyGeneration& g, int j, double x) {
  const SoilModelRecord& model = SoilModelRecordOf(g.profile.layer(j).model);
  const SoilValues v = model.values(g, j, x);
  WriteCurveHeader(g, x);
  model.side(g, j, x, v, Side::Excavation);
  g.curves.back().excavationRows = g.curves.back().rows.size();
  model.side(g, j, x, v, Side::Backfill);
}

void RunLayerGenerators(PyGeneration& g) {
  int previousLast = 0;
  for (int j = 1; j <= g.profile.layerCount(); ++j) {
    ProfileLayer& layer = g.profile.layer(j);
    const bool hasCurves = layer.first != 0 && layer.last != previousLast;
    previousLast = layer.last;
    if (!hasCurves) continue;
    const SoilModelRecord& model = SoilModelRecordOf(layer.model);
    if (model.needsNonNegativeK && layer.k < 0.0)
      StopForLayer(g, j, "HAS A NEGATIVE MODULUS OF SUBGRADE REACTION K");
    if (j > 1) {
      const SoilValues first = model.values(g, j, g.profile.xc(layer.first));
      layer.zeq = EquivalentDepth(model, ResistanceAbove(g, j), first);
    }
    for (int k = layer.first; k <= layer.last; ++k) GenerateCurveAt(g, j, g.profile.xc(k));
    // Only the layers below take it.
    if (j < g.profile.layerCount()) layer.resistanceSum = LayerResistance(g, j);
  }
}

std::vector<GeneratedCurveRecord> GeneratePyCurves(EngineModel& model, TextOut& report,
                                                   std::vector<std::string>& messages) {
  const ProblemControl& c = model.control;
  // The progress note goes where every other note of the engine goes: a
  // library may not write on its host's console.
  messages.emplace_back(kReadSoilDataNote);
  // Generic units (any other code) keep the labels the problem started with.
  if (c.KUNITS == 2) SetUnitLabels(model.labels, -1);
  else if (c.KUNITS == 1) SetUnitLabels(model.labels, +1);
  if (model.labels.buffer.size() < 24) SetUnitLabels(model.labels, 0);

  PyGeneration g;
  g.settings = SettingsOf(model);
  g.labels = model.labels;
  g.report = &report;
  ProfileInput in;
  in.H = g.settings.H;
  in.waterDepth = model.soil.wall.waterBackfill;
  in.gammaW = g.settings.gammaW;
  in.wallLength = c.NI * c.h;
  in.h = c.h;
  in.inch = OneInch(c.KUNITS);
  g.profile = BuildSoilProfile(model.soil.layers, in);
  if (model.seepageSolution)
    g.profile.overburdenShift = [&model](double x) { return FrontOverburdenShift(model, x); };
  NoteSoilEndingAboveTheTip(model, g.profile, messages);

  WriteSoilProfileReport(g);
  // Without generated earth pressure the seepage is named here instead.
  if (c.KEP < 2) WriteSeepageLine(report, model);
  g.curves.reserve(static_cast<size_t>(g.profile.curveCount()));
  AssignCurvesToLayers(g);
  if (!model.subgradeModel) model.generatedSprings = GenerateStationSprings(g, c);
  return std::move(g.curves);
}

}  // namespace terraq::engine
