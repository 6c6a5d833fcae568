// The chapter of the structural check: the wall's steel section the project
// remembers, checked at every station against the characteristic moment,
// shear and axial force of the package's own analysis (ui::CheckProjectSection,
// the check `terraq run` of the project makes), and with the project's
// design situations against their design effects (PackageUltimateCheck.cpp). The utilisations and
// their depths are written as the command's summary prints them (three decimals: a utilisation is
// read against 1); the resistances, derived numbers, to four digits in the data file's units, the
// units of the maxima.

#include <cctype>
#include <cmath>
#include <cstdio>
#include <map>

#include "PackageFigures.h"
#include "PackageParts.h"
#include "api/Units.h"

namespace terraq::report::detail {

namespace {

using design::CheckMethod;
using design::WallCheck;

std::string familyText(design::SectionFamily family) {
  switch (family) {
    case design::SectionFamily::SheetPileU: return "U-shaped steel sheet pile";
    case design::SectionFamily::SheetPileZ: return "Z-shaped steel sheet pile";
    case design::SectionFamily::WideFlange: return "wide-flange (I) shape";
    case design::SectionFamily::HPile: return "H pile";
    case design::SectionFamily::Pipe: return "pipe pile";
  }
  return {};
}

// The grade's strengths as the data file's engineers read them: MPa and GPa,
// or ksi for English units.
std::string stressText(double pascals, int units, bool modulus) {
  using engine::api::Quantity;
  if (engine::api::UnitsSystemOf(units) != engine::api::UnitsSystem::English)
    return modulus ? FourDigits(pascals / 1e9) + " GPa" : FourDigits(pascals / 1e6) + " MPa";
  // A ksi in Pa: a thousand psi, each toSI kPa.
  const double ksi =
      pascals /
      (engine::api::UnitOf(Quantity::Pressure, engine::api::UnitsSystem::English).toSI * 1e6);
  return (ksi >= 1e4 ? std::to_string(std::lround(ksi)) : FourDigits(ksi)) + " ksi";
}

// EI to five digits, so that a section's 71820 kN-m² reads as the
// catalogue's I times E gives it.
std::string rigidityText(double ei) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.5g", ei);
  return buffer;
}

// The symbols of the resistances: the design resistances of the Eurocode
// method, the allowable stresses times the modulus or area otherwise.
struct ResistanceSymbols {
  const char* moment;
  const char* shear;
  const char* axial;
};
ResistanceSymbols symbolsOf(CheckMethod method) {
  if (method == CheckMethod::Eurocode) return {"Mc,Rd", "Vpl,Rd", "Npl,Rd"};
  return {"Fb·Wel", "Fv·Av", "Fa·A"};
}

KeyValues sectionFacts(const ui::ProjectSectionCheck& check, int units) {
  const ui::SectionInUse& u = check.checks->used;
  const design::CheckSettings& s = u.settings;
  KeyValues facts;
  facts.entries = {
      {"Section", "", u.section.name, ""},
      {"Family", "",
       familyText(u.section.family) + " (" + std::string(design::FamilyWord(u.section.family)) +
           (u.section.perMetre() ? "), properties per metre of wall" : "), properties per pile"),
       ""},
  };
  if (!u.section.source.empty()) facts.entries.push_back({"Source", "", u.section.source, ""});
  facts.entries.push_back({"Steel grade", "", u.grade.name, ""});
  facts.entries.push_back(
      {"Yield strength", "fy", stressText(u.grade.yieldStrength, units, false), ""});
  facts.entries.push_back(
      {"Modulus of elasticity", "E", stressText(u.grade.elasticModulus, units, true), ""});
  if (u.spacing)
    facts.entries.push_back(
        {"Spacing of piles", "Wa", FourDigits(*u.spacing), ui::ResultUnitsFor(units).length});
  if (s.method == CheckMethod::Eurocode) {
    facts.entries.push_back({"Method", "",
                             u.section.perMetre() ? "limit states, EN 1993-5:2007 5.2.2 and 5.2.3"
                                                  : "limit states, EN 1993-1-1:2005 6.2",
                             ""});
    facts.entries.push_back(
        {"Partial factor of the cross-section", "γM0", FourDigits(s.gammaM0), ""});
    if (u.section.family == design::SectionFamily::SheetPileU)
      facts.entries.push_back({"Interlock reduction factor", "βB", FourDigits(s.betaB), ""});
    if (s.sectionClass)
      facts.entries.push_back(
          {"Cross-section class (as published)", "", std::to_string(*s.sectionClass), ""});
  } else {
    facts.entries.push_back({"Method", "", "allowable stresses", ""});
    facts.entries.push_back(
        {"Allowable bending stress", "Fb", FourDigits(s.bendingFraction) + "·fy", ""});
    facts.entries.push_back(
        {"Allowable shear stress", "Fv", FourDigits(s.shearFraction) + "·fy", ""});
    facts.entries.push_back(
        {"Allowable axial stress", "Fa", FourDigits(s.axialFraction) + "·fy", ""});
  }
  facts.entries.push_back({"Project file", "", check.projectFile.filename().string(), ""});
  return facts;
}

// Each problem's wall unit, EI and the resistances its check used, per wall
// unit as the analysis' effects are.
Table resistanceTable(const ui::SectionChecks& checks, int units,
                      const std::vector<std::string>& names) {
  const ui::ResultUnits r = ui::ResultUnitsFor(units);
  const ResistanceSymbols symbol = symbolsOf(checks.used.settings.method);
  const std::optional<ui::UnitFactors> f = ui::UnitFactorsOf(units);
  Table table;
  table.caption = "Wall unit and resistances of the section";
  table.columns = {{"Problem", "", "", Align::Left},
                   {"Wall unit\nwidth", "Wa", r.length, Align::Decimal},
                   {"EI of the\nsection", "EI", r.force + "-" + r.length + "²", Align::Decimal},
                   {"Class", "", "", Align::Center},
                   {"Moment", symbol.moment, r.moment, Align::Decimal},
                   {"Shear", symbol.shear, r.force, Align::Decimal},
                   {"Axial", symbol.axial, r.force, Align::Decimal}};
  for (size_t k = 0; k < checks.problems.size() && k < checks.data.problems.size(); ++k) {
    const WallCheck& c = checks.problems[k];
    const ui::SectionedProblem& p = checks.data.problems[k];
    auto resistance = [&](double value, double perUnit) {
      return c.error.empty() && value > 0 && f ? FourDigits(value / perUnit) : std::string("—");
    };
    const double moment = f ? f->force * f->length : 1, force = f ? f->force : 1;
    table.rows.push_back(
        {ProblemName(names, k), FourDigits(p.unitWidth), rigidityText(p.flexuralRigidity),
         c.sectionClass > 0 ? std::to_string(c.sectionClass) : "—",
         resistance(c.momentResistance, moment), resistance(c.shearResistance, force),
         resistance(c.axialResistance, force)});
  }
  table.note = checks.used.section.perMetre()
                   ? "Per wall unit of width Wa: the section's values per metre of wall times Wa, "
                     "as the analysis gives its moments and forces."
                   : "Per pile: the analysis gives its moments and forces for one pile, over the "
                     "spacing Wa.";
  table.note += " A resistance the check did not need (no axial force) is —.";
  if (checks.used.settings.method == CheckMethod::Allowable)
    table.note += " The class is not used by allowable stresses.";
  return table;
}

// The largest utilisation of each problem, its depth and check; warnings
// for a section overstressed and the reason of a problem not checked.
void appendUtilisation(const ui::SectionChecks& checks, int units,
                       const std::vector<std::string>& names, std::vector<Block>& blocks) {
  const ui::ResultUnits r = ui::ResultUnitsFor(units);
  const std::string& length = r.length;
  Table table;
  table.caption = "Largest utilisation of the section, characteristic effects";
  table.columns = {{"Problem", "", "", Align::Left},
                   {"Utilisation", "", "", Align::Decimal},
                   {"Depth", "z", length, Align::Decimal},
                   {"Governing check", "", "", Align::Left},
                   {"Moment", "Mk", r.moment, Align::Decimal},
                   {"Shear", "Vk", r.force, Align::Decimal},
                   {"Axial force", "Nk", r.force, Align::Decimal}};
  std::vector<Paragraph> after;
  for (size_t k = 0; k < checks.problems.size(); ++k) {
    const WallCheck& c = checks.problems[k];
    const std::string name = ProblemName(names, k);
    if (!c.error.empty()) {
      table.rows.push_back({name, "—", "—", "not checked", "—", "—", "—"});
      after.push_back({name + ": not checked: " + c.error + ".", Paragraph::Style::Note});
      continue;
    }
    const std::string governing(design::CheckWord(c.governing));
    const std::optional<design::StationEffect> e =
        k < checks.data.problems.size() ? ui::GoverningEffect(c, checks.data.problems[k].units)
                                        : std::nullopt;
    auto effect = [&](double value) { return e ? FourDigits(value) : std::string("—"); };
    table.rows.push_back({name, ui::UtilisationText(c.utilisation), FourDigits(c.utilisationDepth),
                          governing + (c.exceeded() ? " (above 1)" : ""),
                          effect(e ? std::fabs(e->moment) : 0), effect(e ? std::fabs(e->shear) : 0),
                          effect(e ? e->axial : 0)});
    if (c.exceeded())
      after.push_back(
          {name + ": the section is overstressed by the characteristic effects: utilisation " +
               ui::UtilisationText(c.utilisation) + " above 1 in " + governing + " at depth " +
               FourDigits(c.utilisationDepth) + " " + length + ".",
           Paragraph::Style::Warning});
  }
  table.note =
      "The characteristic effect (the analysis' own, without partial factors) over the resistance "
      "in bending, in shear and in bending with shear and axial force; the largest of the three at the station where it is largest (the shallowest of "
      "equal values), as terraq run prints them, with the magnitudes of the moment and shear and "
      "the axial force (positive in compression) checked there, per wall unit. The axial force is the one the wall carries: the "
      "rows of the axial load table and the concentrated axial loads at or above the station. Above 1 "
      "the section does not carry the effect.";
  blocks.push_back(std::move(table));
  for (Paragraph& p : after) blocks.push_back(std::move(p));
}

// What the engineer must know, each once, with the problems it concerns
// when not all of them.
void appendNotes(const ui::SectionChecks& checks, const std::vector<std::string>& names,
                 std::vector<Block>& blocks) {
  std::vector<std::string> order;
  std::map<std::string, std::vector<size_t>> problems;
  for (const std::string& note : checks.data.notes) order.push_back(note);
  for (size_t k = 0; k < checks.problems.size(); ++k)
    for (const std::string& note : checks.problems[k].notes) {
      if (!problems.count(note)) order.push_back(note);
      problems[note].push_back(k);
    }
  if (order.empty()) return;
  blocks.push_back(Heading{2, "Notes of the check", {}});
  for (const std::string& note : order) {
    std::string which;
    const auto it = problems.find(note);
    if (it != problems.end() && it->second.size() < checks.problems.size())
      for (size_t k : it->second) which += (which.empty() ? "" : ", ") + ProblemName(names, k);
    std::string text = which.empty() ? note : which + ": " + note;
    text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    blocks.push_back(Paragraph{text + (text.back() == '.' ? "" : "."), Paragraph::Style::Body});
  }
}

}  // namespace

void AppendStructuralCheck(const ui::ProjectSectionCheck& check,
                           const engine::api::AnalysisResult& analysis,
                           const std::vector<std::string>& names, std::vector<Block>& blocks,
                           const PackageSituations* situations) {
  blocks.push_back(Heading{1, "Structural check", {}});
  const std::string file = check.projectFile.filename().string();
  if (!check.checks) {
    const std::string what = check.name.empty() ? "The wall's section in the project file " + file
                                                : "The project (" + file + ") names the section " +
                                                      check.name + " for its wall, but it";
    blocks.push_back(
        Paragraph{what + " cannot be checked: " + check.error + ".", Paragraph::Style::Warning});
    return;
  }
  const ui::SectionChecks& checks = *check.checks;
  if (analysis.error || checks.problems.empty()) {
    blocks.push_back(Paragraph{"The section " + checks.used.section.name +
                                   " is not checked: the analysis gave no results to check it "
                                   "against.",
                               Paragraph::Style::Warning});
    return;
  }
  const int units = analysis.problems.front().units;
  blocks.push_back(Paragraph{
      "The wall's steel section, as the project remembers it, checked at every station against the "
      "characteristic bending moment, shear and axial force of the analysis in this package. The analysis is the "
      "data file's, with the data file's EI: the section checks the wall, it does not change the "
      "analysis."});
  blocks.push_back(sectionFacts(check, units));
  blocks.push_back(resistanceTable(checks, units, names));
  appendUtilisation(checks, units, names, blocks);
  appendNotes(checks, names, blocks);
  blocks.push_back(UtilisationFigure(checks.problems, analysis.problems, names, units,
                                     "Utilisation of the section " + checks.used.section.name +
                                         " along the wall, characteristic effects"));
  if (situations) AppendUltimateCheck(checks, *situations, units, names, blocks);
}

}  // namespace terraq::report::detail
