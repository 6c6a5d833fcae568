// The chapter of a construction sequence: what the engineer entered (the
// supports as built, what each stage changes) and what the analysis of the
// stages, each from the one before, found for the supports. The inputs are
// written as the Construction Sequence window shows them, in the data
// file's units; the forces as `terraq run --json` prints them.

#include <cmath>

#include "PackageParts.h"
#include "api/Units.h"
#include "project/SequenceEntries.h"

namespace terraq::report::detail {

namespace {

struct SequenceUnits {
  std::string length, force, pressure, area;
};
SequenceUnits unitsOf(int units) {
  using engine::api::Quantity;
  const auto unit = [units](Quantity q) { return engine::api::PrintedLabel(q, units); };
  return {unit(Quantity::Length), unit(Quantity::Force), unit(Quantity::Pressure),
          unit(Quantity::Area)};
}

std::string number(double value) { return ui::SequenceNumberText(value); }

// A support force as the package states it: four significant digits.
std::string forceText(double force) { return SignificantText(force, 4); }

std::string namesText(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
  return text;
}

// The value a stage sets, blank when it leaves it as the stage before did.
std::string stageValue(const design::ConstructionStage& stage, const std::string& name) {
  for (const auto& [key, value] : stage.values)
    if (key == name) return number(value);
  return {};
}

std::string stageLoads(const design::ConstructionStage& stage) {
  std::string text;
  for (const auto& [key, value] : stage.values)
    if (key.rfind("load.", 0) == 0) text += (text.empty() ? "" : ", ") + key + " = " + number(value);
  return text;
}

Table supportsTable(const PackageInput::Sequence& sequence, const SequenceUnits& u) {
  Table table;
  table.caption = "Supports of the construction sequence, as built";
  table.columns = {{"Name", "", "", Align::Left},
                   {"Kind", "", "", Align::Left},
                   {"Depth", "z", u.length},
                   {"Modulus", "E", u.pressure},
                   {"Cross-section", "A", u.area},
                   {"Free length", "Lf", u.length},
                   {"Inclination", "α", "deg"},
                   {"Spacing", "s", u.length},
                   {"Prestress", "P0", u.force},
                   {"Yield force", "Fy", u.force},
                   {"Stiffness\nper wall unit", "k", u.force + "/" + u.length}};
  for (const design::StagedSupport& s : sequence.plan.supports) {
    std::string stiffness = "not installed";
    for (const design::ModelSupport& m : sequence.stages.supports)
      if (m.name == s.name && m.installStage > 0) stiffness = FourDigits(m.stiffness);
    table.rows.push_back({s.name, s.strut ? "strut" : "anchor", number(s.depth), number(s.modulus),
                          number(s.area), number(s.freeLength), number(s.inclination),
                          number(s.spacing), number(s.prestress),
                          s.yieldForce ? number(*s.yieldForce) : "no limit", stiffness});
  }
  table.note =
      "Prestress and yield force are along one support. The analysis takes each support per wall "
      "unit of width Wa = " +
      number(sequence.stages.unitWidth) + " " + u.length +
      ", horizontally: k = E·A/Lf·cos²α·Wa/s; its prestress and yield force times cos α·Wa/s.";
  return table;
}

Table stagesTable(const PackageInput::Sequence& sequence, const SequenceUnits& u) {
  Table table;
  table.caption = "Stages of the construction sequence";
  table.columns = {{"Stage", "", "", Align::Left},
                   {"Excavation\nlevel", "", u.length},
                   {"Water\nbehind", "", u.length},
                   {"Water\nin front", "", u.length},
                   {"Surcharge", "q", u.pressure},
                   {"Installs", "", "", Align::Left},
                   {"Removes", "", "", Align::Left},
                   {"Loads", "", u.force, Align::Left}};
  for (size_t k = 0; k < sequence.plan.stages.size(); ++k) {
    const design::ConstructionStage& stage = sequence.plan.stages[k];
    const std::string level =
        k < sequence.stages.excavation.size() ? number(sequence.stages.excavation[k]) : "";
    table.rows.push_back({std::to_string(k + 1) + ". " + stage.name, level,
                          stageValue(stage, "water.back"), stageValue(stage, "water.front"),
                          stageValue(stage, "surcharge"), namesText(stage.install),
                          namesText(stage.remove), stageLoads(stage)});
  }
  table.note =
      "Levels are depths below the top of the wall. A blank cell: as the stage before left it. "
      "A support installed in a stage carries only its prestress in that stage; it is locked "
      "off at the stage's end and then follows the wall.";
  return table;
}

Table forcesTable(const ui::RunSummary& summary, const std::vector<std::string>& stageNames,
                  const SequenceUnits& u) {
  Table table;
  table.caption = "Support forces per stage";
  table.columns = {{"Support", "", "", Align::Left},
                   {"Depth", "z", u.length},
                   {"On the wall unit", "F", u.force},
                   {"Along one support", "N", u.force},
                   {"State", "", "", Align::Left}};
  for (size_t k = 0; k < summary.problems.size(); ++k) {
    const std::string name = k < stageNames.size() ? stageNames[k] : "";
    table.rows.push_back({"Stage " + std::to_string(k + 1) + (name.empty() ? "" : ": " + name), "",
                          "", "", ""});
    table.groupRows.push_back(true);
    const auto& supports = summary.problems[k].sequentialSupports;
    if (supports.empty()) {
      table.rows.push_back({"no support in place", "", "", "", ""});
      table.groupRows.push_back(false);
    }
    for (const ui::SequentialSupportSummary& s : supports) {
      table.rows.push_back({s.name, ui::SummaryNumberText(s.depth), forceText(s.force),
                            s.forceAlong ? forceText(*s.forceAlong) : "", s.state});
      table.groupRows.push_back(false);
    }
  }
  table.note =
      "On the wall unit: the horizontal force the support puts on one wall unit, positive "
      "towards the excavation as the results' loads. Along one support: the anchor's tension or "
      "the strut's compression. States: prestress (installed in this stage: its lock-off force "
      "alone), acting, slack (an anchor does not push), yielded (at its yield force).";
  return table;
}

Table envelopeTable(const ui::RunSummary& summary, const std::vector<std::string>& stageNames,
                    const SequenceUnits& u) {
  Table table;
  table.caption = "Largest force of each support over the stages";
  table.columns = {{"Support", "", "", Align::Left},
                   {"Depth", "z", u.length},
                   {"Largest force\nalong one support", "Nmax", u.force},
                   {"Stage", "", "", Align::Left},
                   {"State", "", "", Align::Left}};
  for (const ui::SupportForceEnvelope& e : ui::LargestSupportForces(summary)) {
    const std::string name = e.stage < stageNames.size() ? ": " + stageNames[e.stage] : "";
    table.rows.push_back({e.name, ui::SummaryNumberText(e.depth), forceText(e.largestForceAlong),
                          std::to_string(e.stage + 1) + name, e.state});
  }
  return table;
}

}  // namespace

void AppendSequence(const PackageInput::Sequence& sequence, const ui::RunSummary& summary,
                    int units, std::vector<Block>& blocks) {
  const SequenceUnits u = unitsOf(units);
  blocks.push_back(Heading{1, "Construction sequence", {}});
  blocks.push_back(Paragraph{
      "The wall is analysed as it is built: " + std::to_string(sequence.plan.stages.size()) +
      " stages, each starting from the wall's deflection and the soil springs' state the stage "
      "before left. A spring that yielded keeps its plastic offset and unloads along its "
      "initial stiffness; soil excavated leaves the model; a support acts from the deflection "
      "of the wall when it is installed. The data file holds the wall and soil before "
      "construction; the sequence is kept in the project file beside it."});
  blocks.push_back(supportsTable(sequence, u));
  blocks.push_back(stagesTable(sequence, u));
  if (summary.problems.empty()) return;
  blocks.push_back(forcesTable(summary, sequence.stages.stageNames, u));
  if (!ui::LargestSupportForces(summary).empty())
    blocks.push_back(envelopeTable(summary, sequence.stages.stageNames, u));
}

}  // namespace terraq::report::detail
