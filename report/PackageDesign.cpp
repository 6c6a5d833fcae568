// The design chapter of the calculation package: the limit-equilibrium
// embedment and the factors of safety of each problem, or of a construction
// sequence stage by stage with the governing stage, with the defaults of
// terraq design.

#include "DesignReport.h"
#include "PackageParts.h"
#include "SequenceDesign.h"
#include "api/SoilDescription.h"

namespace terraq::report::detail {

namespace {

Table DesignTable() {
  Table table;
  table.caption = "Design by limit equilibrium and factors of safety";
  table.columns = {{"Quantity", "", "", Align::Left},
                   {"Symbol", "", "", Align::Left},
                   {"Value", "", "", Align::Decimal},
                   {"Unit", "", "", Align::Left}};
  return table;
}

void Group(Table& table, std::string heading) {
  table.rows.push_back({std::move(heading), "", "", ""});
  table.groupRows.push_back(true);
}

void Row(Table& table, std::string label, std::string symbol, std::string value, std::string unit) {
  table.rows.push_back({std::move(label), std::move(symbol), std::move(value), std::move(unit)});
  table.groupRows.push_back(false);
}

// The rows of a limit-equilibrium design under its heading.
void LimitEquilibriumRows(Table& table, const std::string& heading, const design::DesignResult& r,
                          const design::DesignUnits& u) {
  Group(table, heading + " (" + design::MethodName(r.method) + ")");
  Row(table, "Embedment below the excavation for equilibrium", "D0", FourDigits(r.D0), u.length);
  Row(table, "Recommended embedment (factor " + FourDigits(r.embedmentFactor) + ")", "D",
      FourDigits(r.D), u.length);
  Row(table, "Tip depth of the designed wall", "H + D", FourDigits(r.tipDepth), u.length);
  if (r.method == design::Method::FreeEarth)
    Row(table,
        "Anchor force at " + FourDigits(r.anchorDepth) + " " + u.length + " (characteristic)", "T",
        FourDigits(r.anchorForce), u.force);
  Row(table,
      "Largest moment at " + FourDigits(r.maxMomentDepth) + " " + u.length + " (characteristic)",
      "Mmax", FourDigits(r.maxMoment), u.moment);
  Row(table, "Factor of safety of the wall as analysed (limit equilibrium)", "F",
      r.wallFs            ? FourDigits(*r.wallFs)
      : r.wallFsBound < 0 ? "below " + FourDigits(design::kLowestFactor)
      : r.wallFsBound > 0 ? "above " + FourDigits(design::kHighestFactor)
                          : "none (the tip is not below the excavation)",
      "");
}

// The spring model's rows: the strength-reduction factor and the shortest
// wall.
void SpringRows(Table& table, const design::ProblemDesign& d, const design::DesignUnits& u) {
  if (d.springRun)
    Row(table,
        "Strength-reduction factor of the analysis, " +
            design::FailureCriterionText(d.spring, u.length),
        "SRF",
        d.spring.factor      ? FourDigits(*d.spring.factor)
        : d.spring.bound < 0 ? "below " + FourDigits(design::kLowestReduction)
        : d.spring.bound > 0 ? "above " + FourDigits(design::kHighestReduction)
                             : (d.spring.error ? *d.spring.error : std::string("none")),
        "");
  if (d.shortestRun && !d.shortest.error)
    Row(table, "Tip depth of the shortest wall the analysis holds", "",
        d.shortest.tipDepth ? FourDigits(*d.shortest.tipDepth) : "none within the soil profile",
        d.shortest.tipDepth ? u.length : "");
}

void Finish(Table table, const std::vector<std::string>& failures, std::vector<Block>& blocks) {
  if (!table.rows.empty()) {
    table.note =
        "Forces and moments of the limit equilibrium per unit length of wall, characteristic: no "
        "partial factor multiplies them (the design situations, where the project chooses them, "
        "give the design effects).";
    blocks.push_back(std::move(table));
  }
  for (const std::string& line : failures)
    blocks.push_back(Paragraph{line, Paragraph::Style::Note});
}

}  // namespace

void AppendDesign(const std::string& dataText, const std::vector<std::string>& names,
                  std::vector<Block>& blocks) {
  const engine::api::SoilDescriptions soils = engine::api::ReadSoilDescriptions(dataText);
  bool any = false;
  for (const auto& soil : soils.problems) any = any || !soil.layers.empty();
  if (!any) return;
  blocks.push_back(Heading{1, "Design", {}});
  blocks.push_back(Paragraph{
      "The embedment by limit equilibrium and the factors of safety of the wall as analysed, with the "
      "defaults of terraq design: free earth support for a wall with an anchor or prop row, else fixed "
      "earth support; the factor of safety on the soil's strength (tan φ', c', su)."});
  Table table = DesignTable();
  std::vector<std::string> failures;
  for (size_t k = 0; k < soils.problems.size(); ++k) {
    const engine::api::SoilDescription& soil = soils.problems[k];
    const std::string name = k < names.size() ? names[k] : "Problem " + std::to_string(k + 1);
    if (soil.layers.empty()) continue;
    const design::ProblemDesign d = design::DesignProblem(dataText, static_cast<int>(k), soil, {});
    const design::DesignResult& r = d.le;
    if (r.error) {
      failures.push_back(name + ": the design cannot be made: " + r.error->message);
      continue;
    }
    const design::DesignUnits u = design::DesignUnitsOf(d.units);
    LimitEquilibriumRows(table, name, r, u);
    SpringRows(table, d, u);
    for (const std::string& note : r.notes) failures.push_back(name + ": " + note);
  }
  Finish(std::move(table), failures, blocks);
}

void AppendSequenceDesign(const std::string& dataText, const design::SequentialPlan& plan,
                          const std::vector<std::string>& names, std::vector<Block>& blocks) {
  const design::ProblemDesign d = design::DesignSequence(dataText, plan, {});
  if (d.stages.empty() && !d.springRun) return;  // nothing staged or no soil to design from
  blocks.push_back(Heading{1, "Design", {}});
  blocks.push_back(Paragraph{
      "The embedment of the construction sequence, with the defaults of terraq design: each stage by "
      "limit equilibrium as a wall of its own, with its excavation, water, surcharge and the supports "
      "in place during it (free earth support about the uppermost support, else fixed earth "
      "support), the factor of safety on the soil's strength (tan φ', c', su); the stage with the "
      "deepest tip governs. The strength-reduction factor and the shortest wall are those of the "
      "whole sequence, every stage from the one before."});
  Table table = DesignTable();
  std::vector<std::string> failures;
  const design::DesignUnits u = design::DesignUnitsOf(d.units);
  for (size_t k = 0; k < d.stages.size(); ++k) {
    const design::StageDesign& s = d.stages[k];
    const std::string name = k < names.size() ? names[k] : "Stage " + std::to_string(k + 1);
    if (s.le.error)
      failures.push_back(name + ": the design cannot be made: " + s.le.error->message);
    else LimitEquilibriumRows(table, name, s.le, u);
    for (const std::string& note : s.le.notes) failures.push_back(name + ": " + note);
  }
  if (d.stages.empty()) failures.push_back("The design cannot be made: " + d.errorMessage());
  if (!d.stages.empty() && !d.le.error) {
    const size_t g = d.governingStage;
    Group(table, "The sequence");
    Row(table, "Governing stage: " + (g < names.size() ? names[g] : d.stages[g].name), "H + D",
        FourDigits(d.le.tipDepth), u.length);
    SpringRows(table, d, u);
  }
  Finish(std::move(table), failures, blocks);
}

}  // namespace terraq::report::detail
