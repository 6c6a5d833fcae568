#include "graphs/StageProfile.h"

#include <algorithm>

#include "controls/NumberFormat.h"
#include "controls/UnitsCode.h"
#include "project/SequenceStageView.h"
#include "project/TProgramData.h"

namespace terraq::ui {

namespace {

std::string withForceUnit(long double value, int units) {
  const std::string unit = UnitText("F", units);
  return FormatGeneral(value, 4) + (unit.empty() ? "" : " " + unit);
}

// The data file's concentrated lateral loads, a row's load replaced where a
// stage sets it; an arrow at its first node (and its last, for a row over
// several), the value beside the first.
std::vector<TProfileLoad> stageLoads(const TProgramData& project, const SequenceStageView& view,
                                     long double top) {
  std::vector<TProfileLoad> loads;
  if (!project.UseConcentratedLoads) return loads;
  TGridTable& table = project.Tables().ConcentratedLoads;
  for (int r = 0; r < table.RowCount(); ++r) {
    long double value = table.Column(3).Float(r);
    for (const auto& [row, set] : view.loads)
      if (row == r + 1) value = set;
    if (value == 0) continue;
    const int from = table.Column(1).Integer(r), to = table.Column(2).Integer(r);
    loads.push_back({.y = top + from * project.IncrementLength,
                     .value = value,
                     .text = "P = " + withForceUnit(value, project.Units)});
    if (to != from)
      loads.push_back({.y = top + to * project.IncrementLength, .value = value, .text = {}});
  }
  return loads;
}

}  // namespace

std::vector<std::string> StageChoices(const design::SequentialPlan& plan) {
  std::vector<std::string> choices{"Before construction"};
  for (size_t k = 0; k < plan.stages.size(); ++k) {
    const std::string& name = plan.stages[k].name;
    choices.push_back("Stage " + std::to_string(k + 1) + (name.empty() ? "" : ": " + name));
  }
  return choices;
}

TWallProfile BuildStageProfile(const TProgramData& project, const design::SequentialPlan& plan,
                               int stage, bool plotHeldEarthPressure,
                               const std::vector<SequentialSupportSummary>& forces) {
  SequenceStageView before;
  before.tip = project.IncrementCount * project.IncrementLength;
  before.excavation = project.FreeHeight;
  before.waterBack = project.WaterDepthBackfill;
  before.waterFront = project.WaterDepthExcavation;
  before.surcharge = project.SurchargePressure;
  const SequenceStageView view = StageOfSequence(before, plan, stage - 1);

  // The deepest excavation of the sequence sets the wall's width.
  double deepest = before.excavation;
  for (const design::ConstructionStage& s : plan.stages)
    for (const auto& [name, value] : s.values)
      if (name == "excavation") deepest = std::max(deepest, value);
  // The stage's levels on a copy of the project's scalars; the tables stay
  // the project's (a copy shares them) and are only read.
  TProgramData shown = project;
  shown.FreeHeight = view.excavation;
  shown.WaterDepthBackfill = view.waterBack.value_or(0);
  shown.WaterDepthExcavation = view.waterFront.value_or(0);
  shown.SurchargePressure = view.surcharge.value_or(0);
  TWallProfile p =
      BuildWallProfile(shown, plotHeldEarthPressure, deepest > 0 ? deepest / 40 : before.tip / 400);

  p.loads = stageLoads(shown, view, p.top);
  for (const SequenceStageView::Support& s : view.supports) {
    TProfileSupport support{.y = p.top + s.depth,
                            .inclination = s.inclination,
                            .freeLength = 0,
                            .strut = s.strut,
                            .installedNow = s.installedNow,
                            .text = s.name};
    for (const design::StagedSupport& built : plan.supports)
      if (built.name == s.name) support.freeLength = built.freeLength;
    for (const SequentialSupportSummary& f : forces)
      if (f.name == s.name && f.forceAlong)
        support.text += ": " + withForceUnit(*f.forceAlong, project.Units);
    if (s.installedNow) support.text += " (new)";
    p.supports.push_back(std::move(support));
  }
  return p;
}

}  // namespace terraq::ui
