// The ground anchors' section of the design chapter: the rules of the
// anchor design with their source, the cut the anchors must reach beyond,
// the ground's inputs, and a table of every anchor with its loads, lengths
// and tendon, so that a checker can follow each number from the force the
// design gives the anchor level (design/AnchorChecks.h).

#include "AnchorChecks.h"
#include "PackageParts.h"
#include "api/EngineRoute.h"
#include "api/Units.h"

namespace terraq::report::detail {

namespace {

using engine::api::Quantity;

std::string Unit(Quantity quantity, int units) {
  return engine::api::PrintedLabel(quantity, units);
}

const char* RuleWords(design::FreeLengthRule rule) {
  switch (rule) {
    case design::FreeLengthRule::Minimum: return "minimum";
    case design::FreeLengthRule::BeyondSurface: return "plane";
    case design::FreeLengthRule::Cover: return "cover";
  }
  return "";
}

void Rules(const design::AnchorInputs& in, int units, std::vector<Block>& blocks) {
  std::string kinds;
  for (const design::TendonKind kind : in.tendons)
    kinds += (kinds.empty() ? "" : ", ") + std::string(design::TendonKindName(kind));
  blocks.push_back(Paragraph{
      "Each anchor level the design gives a force F per unit length of wall carries the design "
      "load T = F·s/cos α along each anchor (spacing s, inclination α below the horizontal). The "
      "free length is the largest of 4.5 m, the cover of 4.5 m of ground over the bond zone, and "
      "the length that places the bond zone max(1.5 m, H/5) beyond the critical plane rising at "
      "45° + φ′/2 from the excavation level (or the point of zero net pressure below it). The "
      "bond length is Lb = T·FS/Qu, at least 4.5 m. The tendon is the weakest allowed that holds "
      "T ≤ 0.60 GUTS, the test load ≤ 0.80 GUTS (and its yield load) and the lock-off load ≤ 0.70 "
      "GUTS. The vertical component T·sin α is applied by the analysis and not added again. "
      "Source: Sabatini, P. J., Pass, D. G., & Bachus, R. C. (1999), Ground Anchors and Anchored "
      "Systems, Geotechnical Engineering Circular No. 4, FHWA-IF-99-015; the tendons of ASTM "
      "A416/A416M, A722/A722M and A615/A615M."});
  std::string rates;
  for (const double rate : in.transferRates)
    rates += (rates.empty() ? "" : ", ") + FourDigits(rate);
  blocks.push_back(KeyValues{{
      {"Ultimate load-transfer rate" +
           std::string(in.transferRates.size() > 1 ? "s, from the top" : ""),
       "Qu", rates, Unit(Quantity::ForcePerLength, units)},
      {"Factor of safety on the transfer rate", "FS", FourDigits(in.bondSafetyFactor), ""},
      {"Test load / design load", "", FourDigits(in.testFactor), ""},
      {"Lock-off load / design load", "", FourDigits(in.lockOffFactor), ""},
      {"Tendons allowed", "", kinds, ""},
  }});
}

Table AnchorTable(int units) {
  const std::string L = Unit(Quantity::Length, units), F = Unit(Quantity::Force, units);
  Table table;
  table.caption = "Ground anchors";
  table.columns = {{"Anchor", "", "", Align::Left},
                   {"Depth", "z", L},
                   {"Inclination", "α", "°"},
                   {"Spacing", "s", L},
                   {"Force", "F", Unit(Quantity::ForcePerLength, units)},
                   {"Design\nload", "T", F},
                   {"Free\nlength", "Lf", L},
                   {"Bond\nlength", "Lb", L},
                   {"Tendon", "", "", Align::Left},
                   {"Test\nload", "Tt", F},
                   {"Lock-off\nload", "Tl", F},
                   {"Vertical", "T sin α", F}};
  return table;
}

void CutRow(Table& table, const std::string& heading, const design::AnchorChecks& c) {
  const std::string L = " " + Unit(Quantity::Length, c.units);
  std::string text = heading.empty() ? "" : heading + ": ";
  if (c.cut)
    text += "H = " + FourDigits(c.cut->height) + L + ", φ′ = " + FourDigits(c.cut->frictionAngle) +
            "° (" + c.cut->soil + "), plane from " +
            FourDigits(c.cut->zeroNetDepth.value_or(c.cut->height)) + L +
            (c.cut->zeroNetDepth ? " (zero net pressure)" : " (excavation level)");
  table.rows.push_back(std::vector<std::string>(table.columns.size()));
  table.rows.back()[0] = text;
  table.groupRows.push_back(true);
}

void AnchorRow(Table& table, const design::AnchorCheck& a, std::vector<std::string>& notes) {
  const design::AnchorLevel& l = a.level;
  if (!a.design) {
    notes.push_back("Anchor " + l.name + " is not designed: " + a.error);
    return;
  }
  const design::AnchorDesign& d = *a.design;
  table.rows.push_back({l.name, FourDigits(l.depth), FourDigits(l.inclination),
                        FourDigits(l.spacing), FourDigits(l.force), FourDigits(d.designLoad),
                        FourDigits(d.freeLength) + " (" + RuleWords(d.freeRule) + ")",
                        FourDigits(d.bondLength), d.tendon.name, FourDigits(d.testLoad),
                        FourDigits(d.lockOffLoad), FourDigits(d.verticalLoad)});
  table.groupRows.push_back(false);
  for (const std::string& note : d.notes) notes.push_back("Anchor " + l.name + ": " + note + ".");
}

}  // namespace

void AppendAnchorDesign(const std::vector<std::pair<std::string, design::AnchorChecks>>& checks,
                        const design::AnchorInputs& inputs, std::vector<Block>& blocks) {
  if (checks.empty()) return;
  const int units = checks.front().second.units;
  blocks.push_back(Heading{2, "Ground anchors", {}});
  Rules(inputs, units, blocks);
  Table table = AnchorTable(units);
  std::vector<std::string> notes;
  for (const auto& [name, c] : checks) {
    if (c.anchors.empty() && c.error.empty()) continue;  // no anchor in this problem
    if (!c.error.empty())
      notes.push_back((name.empty() ? "" : name + ": ") +
                      "the anchors are not designed: " + c.error);
    if (c.anchors.empty()) continue;
    CutRow(table, checks.size() > 1 ? name : "", c);
    for (const design::AnchorCheck& a : c.anchors) AnchorRow(table, a, notes);
  }
  table.note =
      "Forces per unit length of wall and loads along one anchor, the design's "
      "characteristic forces: the factors of safety above act on them. Free length "
      "governed by the minimum, the plane or the cover.";
  if (!table.rows.empty()) blocks.push_back(std::move(table));
  for (const std::string& note : notes)
    blocks.push_back(Paragraph{note, Paragraph::Style::Warning});
}

design::AnchorChecks AnchorChecksOf(const engine::api::SoilDescription& soil,
                                    const design::ProblemDesign& d,
                                    const design::SequentialPlan* plan,
                                    const design::AnchorInputs& inputs) {
  const std::vector<design::AnchorSource> sources = design::AnchorSourcesOf(d, plan);
  design::AnchorChecks none;
  none.units = d.units;
  if (sources.empty()) return none;  // a cantilever: no anchor to design
  std::string error;
  const std::optional<design::AnchorCut> cut = design::AnchorCutOf(soil, d, error);
  return design::CheckAnchors(sources, cut, error, inputs, d.units);
}

void AppendSequenceAnchors(const std::string& dataText, const design::ProblemDesign& d,
                           const design::SequentialPlan& plan, const design::AnchorInputs& inputs,
                           std::vector<Block>& blocks) {
  const engine::api::SoilDescriptions soils = engine::ReadSoilDescriptions(dataText);
  if (soils.problems.empty()) return;
  AppendAnchorDesign({{"", AnchorChecksOf(soils.problems.front(), d, &plan, inputs)}}, inputs,
                     blocks);
}

}  // namespace terraq::report::detail
