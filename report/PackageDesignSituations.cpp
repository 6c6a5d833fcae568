// The chapter of the design situations: the partial factors of every chosen
// set, the design soil they make, each set's design effects per stage, and
// the envelope with the set that governs each value, numbers as terraq run
// --design-approach prints them, in the data file's units.

#include "PackageDesignSituations.h"

#include <cmath>

#include "PackageFigures.h"
#include "PackageParts.h"
#include "SeismicFace.h"
#include "project/ProjectFile.h"
#include "project/RunSummary.h"
#include "project/SequentialRun.h"

namespace terraq::report {

std::optional<PackageSituations> RunPackageSituations(const std::filesystem::path& dataFile,
                                                      const ui::ProjectMembers& members,
                                                      const ui::MembersFault& fault,
                                                      std::string_view dataText) {
  std::error_code ec;
  if (!std::filesystem::exists(ui::ProjectFilePath(dataFile), ec)) return std::nullopt;
  PackageSituations out;
  if (fault.part == ui::MembersFault::Part::ProjectFile) {
    out.error = fault.reason;
    return out;
  }
  if (!members.designSituations || members.designSituations->chosen.empty()) return std::nullopt;
  out.choice = *members.designSituations;
  // A construction sequence is analysed stage by stage with each set.
  if (fault.part == ui::MembersFault::Part::Sequence) {
    out.error = fault.reason;
    return out;
  }
  const std::optional<design::SequentialPlan> sequence = members.StagedSequence();
  out.results = design::RunDesignSituations(dataText, ui::ChosenSets(out.choice),
                                            out.choice.options, sequence ? &*sequence : nullptr);
  out.envelope = design::EnvelopeOf(out.results);
  return out;
}

namespace detail {

namespace {

std::string depthText(const design::Governed& g) { return FourDigits(ui::AsPlotField(g.depth)); }

std::string listed(const std::vector<std::string>& names) {
  std::string out;
  for (const std::string& name : names) out += (out.empty() ? "" : ", ") + name;
  return out;
}

Table factorTable(const std::vector<design::SituationResult>& results) {
  Table table;
  table.caption = "Partial factors of the design situations";
  table.columns = {{"Set", "", "", Align::Left},
                   {"Actions\npermanent", "γG", "", Align::Decimal},
                   {"Actions\nvariable", "γQ", "", Align::Decimal},
                   {"tan φ'", "γφ'", "", Align::Decimal},
                   {"c'", "γc'", "", Align::Decimal},
                   {"su", "γcu", "", Align::Decimal},
                   {"qu", "γqu", "", Align::Decimal},
                   {"Unit\nweight", "γγ", "", Align::Decimal},
                   {"Earth\nresistance", "γR;e", "", Align::Decimal},
                   {"Active earth\npressure", "γEH", "", Align::Decimal},
                   {"Unplanned\nexcavation", "", "", Align::Center}};
  for (const design::SituationResult& r : results) {
    std::vector<std::string> row{r.set.name};
    for (std::string_view symbol : design::FactorSymbols())
      row.push_back(FourDigits(design::FactorOf(r.set, symbol)));
    row.push_back(r.set.unplannedExcavation ? "yes" : "no");
    table.rows.push_back(std::move(row));
  }
  table.note =
      "γG multiplies the effects of the analysis (moments, shears, support forces); the "
      "variable actions are analysed times γQ/γG; the soil's strength is divided before "
      "earth pressure and p-y curves are generated from it; γR;e divides the passive "
      "resistance of the embedment design only; γEH multiplies the active earth pressure alone.";
  // A seismic situation's shaking, set by set (the chapter of the seismic
  // earth pressure compares its methods).
  for (const design::SituationResult& r : results)
    if (r.set.seismic)
      table.note += " " + r.set.name +
                    " is a seismic design situation: " + design::SeismicWords(*r.set.seismic) + ".";
  return table;
}

// The soil values a set changes, of the first problem (the stages of a
// staged project share their soil).
Table soilTable(const std::vector<design::SituationResult>& results) {
  Table table;
  table.caption = "Design soil values";
  table.columns = {{"Set", "", "", Align::Left},
                   {"Layer", "", "", Align::Center},
                   {"Parameter", "", "", Align::Left},
                   {"Characteristic", "", "", Align::Decimal},
                   {"Design", "", "", Align::Decimal}};
  for (const design::SituationResult& r : results)
    for (const design::DesignSoilValue& v : r.data.soil)
      if (v.problem == 1 && v.design != v.characteristic)
        table.rows.push_back({r.set.name, std::to_string(v.layer), v.name,
                              FourDigits(v.characteristic), FourDigits(v.design)});
  table.note =
      "In the data file's units (φ' in degrees); parameters a set leaves as they are are "
      "not listed.";
  return table;
}

Table effectsTable(const std::vector<design::SituationResult>& results, const ui::ResultUnits& u,
                   const std::vector<std::string>& names) {
  Table table;
  table.caption = "Design effects of each set";
  table.columns = {{"Problem / set", "", "", Align::Left},
                   {"Moment", "Md", u.moment, Align::Decimal},
                   {"Depth", "z", u.length, Align::Decimal},
                   {"Shear", "Vd", u.force, Align::Decimal},
                   {"Depth", "z", u.length, Align::Decimal},
                   {"Top\ndeflection", "y", u.length, Align::Decimal},
                   {"Excavation\ndeeper by", "ΔH", u.length, Align::Decimal}};
  size_t count = 0;
  for (const design::SituationResult& r : results) count = std::max(count, r.problems.size());
  for (size_t k = 0; k < count; ++k) {
    table.rows.push_back({ProblemName(names, k), "", "", "", "", "", ""});
    table.groupRows.resize(table.rows.size(), false);
    table.groupRows.back() = true;
    for (const design::SituationResult& r : results) {
      if (k >= r.problems.size()) continue;
      const design::SituationProblem& p = r.problems[k];
      const double added = k < r.data.excavationAdded.size() ? r.data.excavationAdded[k] : 0;
      if (!p.valid) table.rows.push_back({r.set.name, "not valid: " + p.fault, "", "", "", "", ""});
      else
        table.rows.push_back({r.set.name, FourDigits(p.moment.value), depthText(p.moment),
                              FourDigits(p.shear.value), depthText(p.shear),
                              FourDigits(p.topDeflection.value),
                              added > 0 ? FourDigits(added) : "—"});
      table.groupRows.push_back(false);
    }
  }
  table.note = "Moments and shears times γG; deflections as analysed, never factored.";
  return table;
}

Table envelopeTable(const std::vector<design::EnvelopeProblem>& envelope, const ui::ResultUnits& u,
                    const std::vector<std::string>& names) {
  Table table;
  table.caption = "Envelope of the design effects";
  table.columns = {{"Problem", "", "", Align::Left},
                   {"Moment", "Md", u.moment, Align::Decimal},
                   {"Set", "", "", Align::Left},
                   {"Shear", "Vd", u.force, Align::Decimal},
                   {"Set", "", "", Align::Left},
                   {"Support\nforces", "", u.force, Align::Left},
                   {"Top deflection\n(serviceability)", "y", u.length, Align::Decimal}};
  for (size_t k = 0; k < envelope.size(); ++k) {
    const design::EnvelopeProblem& e = envelope[k];
    std::string supports;
    for (const design::SupportEffect& s : e.supports)
      supports += (supports.empty() ? "" : "; ") + FourDigits(s.force) + " at " +
                  FourDigits(ui::AsPlotField(s.depth)) + " (" + s.set + ")";
    const std::string top = e.topDeflection ? FourDigits(e.topDeflection->value) : "—";
    if (!e.checked)
      table.rows.push_back({ProblemName(names, k), "—", "no valid set", "—", "", "—", top});
    else if (!e.valid)  // the largest of the other sets is not the envelope
      table.rows.push_back({ProblemName(names, k), "—",
                            "not valid: " + listed(e.leftOut) + " left out", "—", "", "—", top});
    else
      table.rows.push_back({ProblemName(names, k), FourDigits(e.moment.value), e.moment.set,
                            FourDigits(e.shear.value), e.shear.set,
                            supports.empty() ? "—" : supports, top});
  }
  table.note =
      "The largest design effect of each stage over the ultimate sets, with the set that "
      "governs it; the deflection of the serviceability set.";
  return table;
}

// A construction sequence's supports: the largest design force along each
// over the stages and ultimate sets.
Table sequenceSupportTable(const std::vector<design::NamedSupportEffect>& supports,
                           const ui::ResultUnits& u, const std::vector<std::string>& names) {
  Table table;
  table.caption = "Design support forces of the construction sequence";
  table.columns = {{"Support", "", "", Align::Left},
                   {"Force along\none support", "Fd", u.force, Align::Decimal},
                   {"Set", "", "", Align::Left},
                   {"Stage", "", "", Align::Left}};
  for (const design::NamedSupportEffect& s : supports)
    table.rows.push_back(
        {s.name, FourDigits(s.force), s.set, ProblemName(names, static_cast<size_t>(s.stage - 1))});
  table.note =
      "Times γG, like every effect of the analysis; the prestress is the force the support is "
      "locked off at, and is not factored as an action.";
  return table;
}

}  // namespace

void AppendDesignSituations(const PackageSituations& situations, int units,
                            const std::vector<std::string>& names, std::vector<Block>& blocks) {
  blocks.push_back(Heading{1, "Design situations", {}});
  if (!situations.error.empty()) {
    blocks.push_back(Paragraph{
        "The design situations of the project are not in this package: " + situations.error + ".",
        Paragraph::Style::Warning});
    return;
  }
  blocks.push_back(Paragraph{
      "The wall analysed once per chosen set of partial factors, on every stage, with the design "
      "values written into the data of each run; the data file keeps the characteristic values. "
      "The technical manual's \"Design situations\" states where each factor acts."});
  const ui::ResultUnits u = ui::ResultUnitsFor(units);
  blocks.push_back(factorTable(situations.results));
  if (situations.choice.options.minimumSurcharge)
    blocks.push_back(Paragraph{"A uniform surcharge smaller than " +
                               FourDigits(*situations.choice.options.minimumSurcharge) +
                               " (the data file's unit) is taken as that minimum."});
  if (!situations.choice.options.unplannedExcavation)
    blocks.push_back(Paragraph{"No unplanned excavation: the excavation level is controlled."});
  const Table soil = soilTable(situations.results);
  if (!soil.rows.empty()) blocks.push_back(soil);
  for (const design::SituationResult& r : situations.results) {
    if (!r.error.empty())
      blocks.push_back(
          Paragraph{r.set.name + " was not analysed: " + r.error + ".", Paragraph::Style::Warning});
    for (const std::string& note : r.data.notes)
      blocks.push_back(Paragraph{note + ".", Paragraph::Style::Note});
  }
  blocks.push_back(effectsTable(situations.results, u, names));
  if (!design::EnvelopeValid(situations.envelope))
    blocks.push_back(Paragraph{
        "The envelope is not valid: " +
            (situations.envelope.empty()
                 ? std::string("no set has results")
                 : "the ultimate set(s) " + listed(design::SetsLeftOut(situations.envelope)) +
                       " left out (why below); the largest effects of the other sets are not "
                       "the design effects") +
            ".",
        Paragraph::Style::Warning});
  blocks.push_back(envelopeTable(situations.envelope, u, names));
  if (const auto supports = design::SupportEnvelopeOf(situations.results); !supports.empty())
    blocks.push_back(sequenceSupportTable(supports, u, names));
  // Each effect along the stage where it is largest.
  const std::pair<design::DesignEffect, const char*> figures[] = {
      {design::DesignEffect::Moment, "Design bending moment of each set, "},
      {design::DesignEffect::Shear, "Design shear of each set, "},
      {design::DesignEffect::Deflection, "Deflection of each set, "}};
  for (const auto& [effect, caption] : figures)
    if (const std::optional<size_t> k =
            design::GoverningProblem(situations.envelope, situations.results, effect))
      blocks.push_back(DesignEffectFigure(effect, situations.results, *k, units,
                                          caption + ProblemName(names, *k)));
  for (size_t k = 0; k < situations.envelope.size(); ++k)
    for (const std::string& why : situations.envelope[k].invalid)
      blocks.push_back(Paragraph{ProblemName(names, k) + ": not in the envelope: " + why + ".",
                                 Paragraph::Style::Warning});
}

}  // namespace detail

}  // namespace terraq::report
