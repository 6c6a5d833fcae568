// The design chapter of the calculation package: the limit-equilibrium
// embedment and the factors of safety of each problem, or of a construction
// sequence stage by stage with the governing stage: as the engineer made it
// in the Design window when the project keeps its design record (with the
// submitted wall against the tip the design asks for), else with the
// defaults of terraq design. A record of the apparent-pressure design gives
// its envelope and support loads instead (PackageDesignApparent.cpp).

#include <algorithm>
#include <cmath>

#include "DesignReport.h"
#include "PackageDesignApparent.h"
#include "PackageParts.h"
#include "SeepageSoil.h"
#include "SequenceDesign.h"
#include "WallText.h"
#include "api/EngineRoute.h"
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

// The rows of a limit-equilibrium design under its heading; with an
// approach's factor on the effects (`effectFactor`), the design values of
// the anchor force and the moment after their characteristic values.
void LimitEquilibriumRows(Table& table, const std::string& heading, const design::DesignResult& r,
                          const design::DesignUnits& u, std::optional<double> effectFactor) {
  Group(table, heading + " (" + design::MethodName(r.method) + ")");
  Row(table, "Embedment below the excavation for equilibrium", "D0", FourDigits(r.D0), u.length);
  Row(table, "Recommended embedment (factor " + FourDigits(r.embedmentFactor) + ")", "D",
      FourDigits(r.D), u.length);
  Row(table, "Tip depth of the designed wall", "H + D", FourDigits(r.tipDepth), u.length);
  const std::string design =
      effectFactor ? " (design, γG = " + FourDigits(*effectFactor) + ")" : std::string();
  if (r.method == design::Method::FreeEarth) {
    const std::string at = "Anchor force at " + FourDigits(r.anchorDepth) + " " + u.length;
    Row(table, at + " (characteristic)", "T", FourDigits(r.anchorForce), u.force);
    if (effectFactor)
      Row(table, at + design, "Td", FourDigits(*effectFactor * r.anchorForce), u.force);
  }
  const std::string at = "Largest moment at " + FourDigits(r.maxMomentDepth) + " " + u.length;
  Row(table, at + " (characteristic)", "Mmax", FourDigits(r.maxMoment), u.moment);
  if (effectFactor)
    Row(table, at + design, "Md", FourDigits(*effectFactor * r.maxMoment), u.moment);
  Row(table, "Factor of safety of the wall as analysed (limit equilibrium)", "F",
      r.wallFs            ? FourDigits(*r.wallFs)
      : r.wallFsBound < 0 ? "below " + FourDigits(design::kLowestFactor)
      : r.wallFsBound > 0 ? "above " + FourDigits(design::kHighestFactor)
                          : "none (the tip is not below the excavation)",
      "");
}

// The largest |deflection| of the shortest wall at the soil's own strength,
// over every stage of a sequence.
double ShortestWallDeflection(const design::ShortestWall& w) {
  double largest = 0;
  auto take = [&](const engine::api::ProblemResult& result) {
    for (const engine::api::StationResult& s : result.stations)
      largest = std::max(largest, std::abs(s.deflection));
  };
  take(w.results);
  for (const engine::api::ProblemResult& stage : w.stageResults) take(stage);
  return largest;
}

// The spring model's rows: the strength-reduction factor and the shortest
// wall with its largest deflection (a wall that only just stands may move
// far more than the engineer allows).
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
    Row(table,
        "Tip depth of the shortest wall the analysis holds" +
            (d.shortest.tipDepth
                 ? " (largest deflection " + FourDigits(ShortestWallDeflection(d.shortest)) + " " +
                       u.length + ")"
                 : std::string()),
        "", d.shortest.tipDepth ? FourDigits(*d.shortest.tipDepth) : "none within the soil profile",
        d.shortest.tipDepth ? u.length : "");
}

void Finish(Table table, const std::vector<std::string>& failures, bool designValues,
            std::vector<Block>& blocks) {
  if (!table.rows.empty()) {
    table.note =
        designValues
            ? "Forces and moments of the limit equilibrium per unit length of wall: characteristic "
              "as the equilibrium of the design soil and actions gives them, design values those "
              "times the approach's γG."
            : "Forces and moments of the limit equilibrium per unit length of wall, characteristic: "
              "no partial factor multiplies them (the design situations, where the project "
              "chooses them, give the design effects).";
    blocks.push_back(std::move(table));
  }
  for (const std::string& line : failures)
    blocks.push_back(Paragraph{line, Paragraph::Style::Note});
}

// What the chapter designs with: the record's choices, its approach's design
// soil and actions written into the text (and the sequence), or the
// defaults of terraq design without a record.
struct Prepared {
  std::string text;
  design::DesignRequest request;
  std::optional<design::SequentialPlan> plan;
  std::string note;   // the approach's heading
  std::string error;  // why the record's design cannot be made
};

Prepared Prepare(const std::string& dataText, const PackageInput::DesignChoice* choice,
                 const design::SequentialPlan* plan) {
  Prepared p{dataText, {}, plan ? std::optional(*plan) : std::nullopt, {}, {}};
  if (!choice) return p;
  p.request = choice->record.request;
  p.request.effectFactor.reset();
  if (choice->record.approach.empty()) return p;
  if (!choice->approach) {
    p.error = "The design approach " + choice->record.approach +
              " kept with the project cannot be used: " + choice->error;
    return p;
  }
  const std::optional<design::ApproachDesign> a =
      design::PrepareApproachDesign(dataText, *choice->approach, p.request, p.error, plan);
  if (!a) {
    p.error = "The design approach " + choice->record.approach + " cannot be applied: " + p.error;
    return p;
  }
  p.text = a->text;
  p.request = a->request;
  p.note = a->note;
  if (plan) p.plan = a->plan;
  return p;
}

// The chapter's opening: what the design was made with.
void Opening(const PackageInput::DesignChoice* choice, const Prepared& prepared,
             const std::string& lengthUnit, const std::string& defaults,
             std::vector<Block>& blocks) {
  blocks.push_back(Heading{1, "Design", {}});
  if (!choice) {
    blocks.push_back(Paragraph{defaults});
    return;
  }
  blocks.push_back(Paragraph{"The design as made in the Design window and kept with the project: " +
                             ui::DesignChoicesText(choice->record, lengthUnit) + "."});
  if (!prepared.note.empty()) blocks.push_back(Paragraph{prepared.note, Paragraph::Style::Mono});
  if (!prepared.error.empty())
    blocks.push_back(Paragraph{prepared.error, Paragraph::Style::Warning});
}

// The soil of a construction sequence's ground checks, as terraq design
// takes it: the first stage of the sequence built from `text` with the
// stages' own seepage. None when the sequence cannot be built or holds no
// problem.
std::optional<engine::api::SoilDescription> SequenceSoil(const std::string& text,
                                                         const design::SequentialPlan& plan,
                                                         const design::SoilModel& model) {
  std::string error;
  const std::optional<design::SequenceData> sequence = design::BuildSequence(text, plan, error);
  if (!sequence) return std::nullopt;
  engine::api::SoilDescriptions soils = engine::ReadSoilDescriptions(sequence->text);
  design::TakeSeepage(sequence->text, model, soils, design::StageSeepage(plan, model.seepage));
  if (soils.problems.empty()) return std::nullopt;
  return soils.problems.front();
}

// The design as made: the governing stage, the tip the design asks for
// against the submitted wall's (the data file's) with the verdict, and the
// tip last applied in the Design window when it is not the submitted one.
void AsMadeRows(Table& table, const ui::DesignRecord& record, const std::string& dataText,
                const std::string& governing, double askedTip, const design::DesignUnits& u,
                std::vector<std::string>& failures) {
  Group(table, "The design as made");
  if (!governing.empty()) Row(table, "Governing: " + governing + ", the deepest tip", "", "", "");
  Row(table, "Tip depth the design asks for", "H + D", FourDigits(askedTip), u.length);
  std::string error;
  const std::optional<design::WallText> wall = design::WallText::Parse(dataText, 0, error);
  if (!wall) {
    failures.push_back("The submitted wall cannot be read: " + error);
    return;
  }
  const double tip = wall->increments() * wall->incrementLength();
  Row(table, "Tip depth of the submitted wall", "L", FourDigits(tip), u.length);
  const double margin = tip - askedTip;
  Row(table, "Verdict", "",
      margin >= 0 ? "holds: " + FourDigits(margin) + " " + u.length + " deeper than asked"
                  : "fails: " + FourDigits(-margin) + " " + u.length + " short",
      "");
  if (record.appliedTip && std::abs(*record.appliedTip - tip) > 0.5 * wall->incrementLength())
    failures.push_back("The tip last applied in the Design window (" +
                       FourDigits(*record.appliedTip) + " " + u.length +
                       (record.appliedOn.empty() ? "" : ", " + record.appliedOn) +
                       ") is not the submitted wall's: the wall was changed after it.");
  else if (record.appliedTip && !record.appliedOn.empty())
    Row(table, "Applied in the Design window on", "", record.appliedOn, "");
}

}  // namespace

void AppendDesign(const std::string& dataText, const PackageInput::DesignChoice* choice,
                  const std::vector<std::string>& names, std::vector<Block>& blocks,
                  const design::AnchorInputs* anchors, const design::ExcavationPlan* excavation) {
  if (choice && choice->record.apparent)
    return AppendApparentDesign(dataText, *choice, names, blocks);
  const engine::api::SoilDescriptions soils = engine::ReadSoilDescriptions(dataText);
  bool any = false;
  for (const auto& soil : soils.problems) any = any || !soil.layers.empty();
  if (!any) return;
  const Prepared prepared = Prepare(dataText, choice, nullptr);
  const int units = soils.problems.front().units;
  Opening(choice, prepared, design::DesignUnitsOf(units).length,
          "The embedment by limit equilibrium and the factors of safety of the wall as analysed, "
          "with the defaults of terraq design: free earth support for a wall with an anchor or "
          "prop row, else fixed earth support; the factor of safety on the soil's strength "
          "(tan φ', c', su).",
          blocks);
  if (!prepared.error.empty()) return;
  // The design's own soil: an approach writes its design values in.
  engine::api::SoilDescriptions designed = engine::ReadSoilDescriptions(prepared.text);
  Table table = DesignTable();
  std::vector<std::string> failures;
  // The limit equilibrium takes the project's seepage, as the analysis does.
  if (const std::string fault = design::TakeSeepage(prepared.text, prepared.request.soil, designed);
      !fault.empty())
    failures.push_back("the seepage cannot be taken: " + fault);
  std::optional<size_t> governing;
  double askedTip = 0;
  std::vector<std::pair<std::string, design::AnchorChecks>> anchorChecks;
  std::vector<GroundOfWall> ground;
  for (size_t k = 0; k < designed.problems.size(); ++k) {
    const engine::api::SoilDescription& soil = designed.problems[k];
    const std::string name = ProblemName(names, k);
    if (soil.layers.empty()) continue;
    const design::ProblemDesign d =
        design::DesignProblem(prepared.text, static_cast<int>(k), soil, prepared.request);
    const design::DesignResult& r = d.le;
    if (r.error) {
      failures.push_back(name + ": the design cannot be made: " + r.error->message);
      continue;
    }
    const design::DesignUnits u = design::DesignUnitsOf(d.units);
    LimitEquilibriumRows(table, name, r, u, d.effectFactor);
    SpringRows(table, d, u);
    for (const std::string& note : r.notes) failures.push_back(name + ": " + note);
    if (anchors) anchorChecks.emplace_back(name, AnchorChecksOf(soil, d, nullptr, *anchors));
    if (excavation)
      ground.push_back(CheckGroundOfWall(designed.problems.size() > 1 ? name : "", d, soil,
                                         prepared.request, *excavation, nullptr));
    if (!governing || r.tipDepth > askedTip) {
      governing = k;
      askedTip = r.tipDepth;
    }
  }
  if (choice && governing) {
    const size_t g = *governing;
    const std::string name = designed.problems.size() < 2 ? "" : ProblemName(names, g);
    AsMadeRows(table, choice->record, dataText, name, askedTip, design::DesignUnitsOf(units),
               failures);
  }
  Finish(std::move(table), failures, prepared.request.effectFactor.has_value(), blocks);
  if (anchors) AppendAnchorDesign(anchorChecks, *anchors, blocks);
  AppendGround(ground, blocks);
}

void AppendSequenceDesign(const std::string& dataText, const design::SequentialPlan& plan,
                          const PackageInput::DesignChoice* choice,
                          const std::vector<std::string>& names, std::vector<Block>& blocks,
                          const design::AnchorInputs* anchors,
                          const design::ExcavationPlan* excavation) {
  if (choice && choice->record.apparent)
    return AppendApparentDesign(dataText, *choice, names, blocks);
  const Prepared prepared = Prepare(dataText, choice, &plan);
  const design::ProblemDesign d =
      prepared.error.empty()
          ? design::DesignSequence(prepared.text, *prepared.plan, prepared.request)
          : design::DesignSequence(dataText, plan, {});
  if (d.stages.empty() && !d.springRun) return;  // nothing staged or no soil to design from
  const design::DesignUnits u = design::DesignUnitsOf(d.units);
  Opening(choice, prepared, u.length,
          "The embedment of the construction sequence, with the defaults of terraq design: each "
          "stage by limit equilibrium as a wall of its own, with its excavation, water, surcharge "
          "and the supports in place during it (free earth support about the uppermost support, "
          "else fixed earth support), the factor of safety on the soil's strength (tan φ', c', "
          "su); the stage with the deepest tip governs. The strength-reduction factor and the "
          "shortest wall are those of the whole sequence, every stage from the one before.",
          blocks);
  if (!prepared.error.empty()) return;
  Table table = DesignTable();
  std::vector<std::string> failures;
  for (size_t k = 0; k < d.stages.size(); ++k) {
    const design::StageDesign& s = d.stages[k];
    const std::string name = k < names.size() ? names[k] : "Stage " + std::to_string(k + 1);
    if (s.le.error)
      failures.push_back(name + ": the design cannot be made: " + s.le.error->message);
    else LimitEquilibriumRows(table, name, s.le, u, d.effectFactor);
    for (const std::string& note : s.le.notes) failures.push_back(name + ": " + note);
  }
  if (d.stages.empty()) failures.push_back("The design cannot be made: " + d.errorMessage());
  if (!d.stages.empty() && !d.le.error) {
    const size_t g = d.governingStage;
    const std::string governing = g < names.size() ? names[g] : d.stages[g].name;
    Group(table, "The sequence");
    Row(table, "Governing stage: " + governing, "H + D", FourDigits(d.le.tipDepth), u.length);
    SpringRows(table, d, u);
    // The governing stage is named just above.
    if (choice) AsMadeRows(table, choice->record, dataText, "", d.le.tipDepth, u, failures);
  }
  Finish(std::move(table), failures, d.effectFactor.has_value(), blocks);
  if (anchors && !d.stages.empty())
    AppendSequenceAnchors(prepared.text, d, *prepared.plan, *anchors, blocks);
  if (excavation && !d.stages.empty())
    if (const std::optional<engine::api::SoilDescription> soil =
            SequenceSoil(prepared.text, *prepared.plan, prepared.request.soil))
      AppendGround(
          {CheckGroundOfWall("", d, *soil, prepared.request, *excavation, &*prepared.plan)},
          blocks);
}

}  // namespace terraq::report::detail
