// The ultimate-limit-state part of the structural check: the section the
// project remembers checked with the design effects of every ultimate set
// the project is designed with (ui::CheckDesignSituations, what `terraq run
// --design-approach --section` prints), per set and problem the largest
// utilisation, per problem the envelope's with the set that governs it and
// the design effects checked there, and the verdict with its margin.
// Utilisations to three decimals (read against 1), effects to four digits
// in the data file's units.

#include <cmath>

#include "PackageParts.h"
#include "project/UltimateSectionCheck.h"

namespace terraq::report::detail {

namespace {

std::string utilisationCell(const design::WallCheck& c) {
  return c.error.empty() ? ui::UtilisationText(c.utilisation) : "—";
}

// Per problem, each ultimate set's largest utilisation.
Table perSetTable(const ui::UltimateSectionCheck& check, const std::vector<std::string>& names) {
  Table table;
  table.caption = "Utilisation of the section with each ultimate set's design effects";
  table.columns = {{"Problem", "", "", Align::Left}};
  for (const ui::SetSectionCheck& set : check.sets)
    table.columns.push_back({set.set, "", "", Align::Decimal});
  for (size_t k = 0; k < check.envelope.size(); ++k) {
    std::vector<std::string> row = {ProblemName(names, k)};
    for (const ui::SetSectionCheck& set : check.sets)
      row.push_back(k < set.problems.size() ? utilisationCell(set.problems[k]) : "—");
    table.rows.push_back(std::move(row));
  }
  table.note =
      "The largest over the wall of the design effect over the resistance, the effects those of "
      "the analysis with the set's partial factors times γG. — where the set's results of the "
      "problem are not valid.";
  return table;
}

// Per problem, the envelope's largest utilisation and what governs it.
Table envelopeTable(const ui::UltimateSectionCheck& check, int units,
                    const std::vector<std::string>& names) {
  const ui::ResultUnits r = ui::ResultUnitsFor(units);
  Table table;
  table.caption = "Largest utilisation of the section at the ultimate limit state";
  table.columns = {
      {"Problem", "", "", Align::Left},          {"Utilisation", "", "", Align::Decimal},
      {"Depth", "z", r.length, Align::Decimal},  {"Set", "", "", Align::Left},
      {"Governing check", "", "", Align::Left},  {"Moment", "MEd", r.moment, Align::Decimal},
      {"Shear", "VEd", r.force, Align::Decimal}, {"Axial force", "NEd", r.force, Align::Decimal}};
  for (size_t k = 0; k < check.envelope.size(); ++k) {
    const ui::EnvelopeSectionCheck& e = check.envelope[k];
    if (!e.checked) {
      table.rows.push_back({ProblemName(names, k), "—", "—", "—", "not checked", "—", "—", "—"});
      continue;
    }
    const std::optional<design::StationEffect> d = ui::GoverningEffect(e.check, units);
    auto effect = [&](double value) { return d ? FourDigits(value) : std::string("—"); };
    table.rows.push_back(
        {ProblemName(names, k), ui::UtilisationText(e.check.utilisation),
         FourDigits(e.check.utilisationDepth), e.set + (e.valid ? "" : " (not an envelope)"),
         std::string(design::CheckWord(e.check.governing)), effect(d ? std::fabs(d->moment) : 0),
         effect(d ? std::fabs(d->shear) : 0), effect(d ? d->axial : 0)});
  }
  table.note =
      "At every station the largest utilisation over the ultimate sets, and the set that gives "
      "it; the design moment and shear (magnitudes) and axial force (positive in compression) "
      "checked where it is largest, per wall unit.";
  return table;
}

// The verdict: holds or fails, with the margin to 1.
Paragraph verdict(const ui::UltimateSectionCheck& check, const std::string& section,
                  const std::vector<std::string>& names) {
  const int k = ui::GoverningEnvelopeProblem(check);
  if (k < 0)
    return {"The section " + section +
                " is not checked at the ultimate limit state: no ultimate set has valid results.",
            Paragraph::Style::Warning};
  const ui::EnvelopeSectionCheck& e = check.envelope[static_cast<size_t>(k)];
  const double u = e.check.utilisation;
  const std::string where = " (" + ProblemName(names, static_cast<size_t>(k)) + ", " + e.set +
                            ", " + std::string(design::CheckWord(e.check.governing)) + ")";
  std::string text = "At the ultimate limit state the section " + section +
                     (e.check.exceeded() ? " fails" : " holds") + ": its largest utilisation is " +
                     ui::UtilisationText(u) + where + ", " +
                     ui::UtilisationText(std::fabs(1.0 - u)) +
                     (e.check.exceeded() ? " above 1." : " below 1.");
  bool valid = true;
  for (const ui::EnvelopeSectionCheck& p : check.envelope) valid = valid && p.valid;
  if (!valid)
    text +=
        " The envelope is not valid: an ultimate set is left out (see Design situations), "
        "and it may govern.";
  return {text, e.check.exceeded() || !valid ? Paragraph::Style::Warning : Paragraph::Style::Body};
}

}  // namespace

void AppendUltimateCheck(const ui::SectionChecks& checks, const PackageSituations& situations,
                         int units, const std::vector<std::string>& names,
                         std::vector<Block>& blocks) {
  if (!situations.error.empty() || situations.results.empty()) return;
  const ui::UltimateSectionCheck check =
      ui::CheckDesignSituations(situations.results, situations.envelope, checks.data, checks.used);
  if (check.sets.empty()) return;  // serviceability sets alone
  blocks.push_back(Heading{2, "Ultimate limit state", {}});
  blocks.push_back(Paragraph{
      "The section checked at every station as above, with the design effects of each ultimate "
      "set of partial factors the project is designed with (Design situations) in place of the "
      "characteristic effects: the moment, shear and axial force of the wall analysed with the "
      "set's design soil and actions, times γG."});
  blocks.push_back(perSetTable(check, names));
  blocks.push_back(envelopeTable(check, units, names));
  blocks.push_back(verdict(check, checks.used.section.name, names));
}

}  // namespace terraq::report::detail
