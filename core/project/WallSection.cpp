#include "project/WallSection.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "WallAxialForce.h"
#include "WallText.h"
#include "api/Analysis.h"
#include "api/Units.h"
#include "project/RunSummary.h"

namespace terraq::ui {

namespace {

using design::CheckMethod;
using design::WallText;
using Kind = WallText::RecordKind;


bool PositiveNumber(const JsonValue* v) {
  return v && v->isNumber() && std::isfinite(v->number) && v->number > 0;
}

std::string Text(double value) { return SummaryNumberText(value); }

// Reads an optional positive factor of the member; false with `error` when
// it is there and is not one.
bool ReadFactor(const JsonValue& member, const char* key, double& value, std::string& error) {
  const JsonValue* v = member.find(key);
  if (!v) return true;
  if (!PositiveNumber(v)) {
    error = std::string("the project's section: \"") + key + "\" must be a positive number";
    return false;
  }
  value = v->number;
  return true;
}

// Value `index` of a record, 0 when the read did not supply it.
double ValueOf(const WallText::Record& r, size_t index) {
  return index < r.values.size() ? r.values[index] : 0.0;
}

void SetValue(WallText::Record& r, size_t index, double value) {
  if (r.values.size() <= index) r.values.resize(index + 1, 0.0);
  r.values[index] = value;
}

// The facts of every problem, and with `apply` the text changed to the
// section. The stiffness rows' EI is their fourth value, the active width Wa
// the second of the wall configuration record.
std::optional<SectionedData> Walk(std::string_view dataText, const SectionInUse& used, bool apply,
                                  std::string& error) {
  std::optional<std::vector<WallText>> problems = WallText::ParseAll(dataText, error);
  if (!problems) return std::nullopt;
  SectionedData out;
  std::string differing;
  for (size_t k = 0; k < problems->size(); ++k) {
    WallText& problem = (*problems)[k];
    const std::string which = "problem " + std::to_string(k + 1) + " of the data file";
    SectionedProblem facts;
    facts.units = problem.units();
    if (!UnitFactorsOf(facts.units)) {
      error = which + " is in generic units (code " + std::to_string(facts.units) +
              "): a section's properties cannot be put in them; use English or SI units";
      return std::nullopt;
    }
    WallText::Record* configuration = nullptr;
    WallText::Record* firstStiffness = nullptr;
    for (WallText::Record& r : problem.records()) {
      if (r.kind == Kind::WallConfiguration && !configuration) configuration = &r;
      if (r.kind == Kind::Stiffness && !firstStiffness) firstStiffness = &r;
      if (r.kind == Kind::MomentEi) facts.momentCurves = true;
    }
    const double dataWidth = configuration ? ValueOf(*configuration, 1) : 0.0;
    const bool sheet = design::IsSheetPile(used.section.family);
    if (sheet && used.spacing && dataWidth > 0) {
      error = "a sheet-pile wall is continuous: its wall unit is the active width Wa of " + which +
              " (" + Text(dataWidth) + "), not a spacing";
      return std::nullopt;
    }
    // Analysed as it is, the data file's Wa is the unit the results are
    // for; a section applied with a spacing makes the spacing the unit.
    facts.unitWidth = apply && used.spacing ? *used.spacing : dataWidth;
    if (!apply && facts.unitWidth <= 0 && used.spacing) facts.unitWidth = *used.spacing;
    if (!(facts.unitWidth > 0)) {
      error = which + " gives no wall unit width: its active width Wa (which comes with " +
              "generated earth pressure or p-y curves) is " +
              (configuration ? "not positive" : "not in it") +
              (sheet ? "; give the width of wall its results are for (12 in for results per foot)"
                     : "; give the spacing of the piles");
      return std::nullopt;
    }
    facts.flexuralRigidity = *SectionRigidity(used, facts.units, facts.unitWidth);
    facts.dataRigidity = firstStiffness ? ValueOf(*firstStiffness, 3) : 0.0;
    facts.concentratedAxialLoads = design::ConcentratedAxialLoads(problem);
    if (apply) {
      if (configuration && used.spacing) SetValue(*configuration, 1, *used.spacing);
      for (WallText::Record& r : problem.records())
        if (r.kind == Kind::Stiffness) SetValue(r, 3, facts.flexuralRigidity);
      out.text += problem.text();
    } else if (differing.empty() && !facts.momentCurves &&
               std::fabs(facts.dataRigidity - facts.flexuralRigidity) >
                   0.005 * facts.flexuralRigidity) {
      differing = "the wall's EI in " + which + " (" + Text(facts.dataRigidity) +
                  ") is not the section's (" + Text(facts.flexuralRigidity) +
                  "): the analysis used the data file's EI, the check the section " +
                  used.section.name;
    }
    out.problems.push_back(facts);
  }
  if (!apply) out.text = std::string(dataText);
  if (std::any_of(out.problems.begin(), out.problems.end(),
                  [](const SectionedProblem& p) { return p.momentCurves; }))
    out.notes.push_back(
        "moment-EI curves decide the wall's EI in the analysis; the check uses the "
        "section " +
        used.section.name + " all the same");
  if (!differing.empty()) out.notes.push_back(differing);
  return out;
}

}  // namespace

std::optional<UnitFactors> UnitFactorsOf(int unitsCode) {
  using engine::api::UnitsSystem;
  switch (engine::api::UnitsSystemOf(unitsCode)) {
    case UnitsSystem::English:
      return UnitFactors{engine::api::kMetresPerInch, engine::api::kNewtonsPerPound};
    case UnitsSystem::SI: return UnitFactors{1.0, 1000.0};
    case UnitsSystem::Generic: break;
  }
  return std::nullopt;
}

std::string UtilisationText(double utilisation) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.3f", utilisation);
  return buffer;
}

std::string_view MethodWord(CheckMethod method) {
  return method == CheckMethod::Allowable ? "allowable" : "eurocode";
}

std::optional<WallSection> ReadWallSection(const ProjectFile& project, std::string& error) {
  error.clear();
  const JsonValue* member = project.find("section");
  if (!member || member->type == JsonValue::Type::Null) return std::nullopt;
  if (!member->isObject()) {
    error = "the project's section is not a JSON object";
    return std::nullopt;
  }
  if (!OnlyKnownKeys(*member,
                     {"name", "grade", "spacing", "method", "gammaM0", "betaB", "bendingFraction",
                      "shearFraction", "axialFraction", "class"},
                     "the project's section", error))
    return std::nullopt;
  WallSection out;
  const JsonValue* name = member->find("name");
  if (!name || !name->isString() || name->string.empty()) {
    error = "the project's section has no name";
    return std::nullopt;
  }
  out.name = name->string;
  if (const JsonValue* grade = member->find("grade")) {
    if (!grade->isString()) {
      error = "the project's section: \"grade\" must be a text";
      return std::nullopt;
    }
    out.grade = grade->string;
  }
  if (const JsonValue* spacing = member->find("spacing")) {
    if (!PositiveNumber(spacing)) {
      error = "the project's section: \"spacing\" must be a positive number";
      return std::nullopt;
    }
    out.spacing = spacing->number;
  }
  if (const JsonValue* method = member->find("method")) {
    if (!method->isString() || (method->string != "eurocode" && method->string != "allowable")) {
      error = "the project's section: \"method\" must be \"eurocode\" or \"allowable\"";
      return std::nullopt;
    }
    out.settings.method =
        method->string == "allowable" ? CheckMethod::Allowable : CheckMethod::Eurocode;
  }
  design::CheckSettings& s = out.settings;
  if (!ReadFactor(*member, "gammaM0", s.gammaM0, error) ||
      !ReadFactor(*member, "betaB", s.betaB, error) ||
      !ReadFactor(*member, "bendingFraction", s.bendingFraction, error) ||
      !ReadFactor(*member, "shearFraction", s.shearFraction, error) ||
      !ReadFactor(*member, "axialFraction", s.axialFraction, error))
    return std::nullopt;
  if (const JsonValue* cls = member->find("class")) {
    if (!cls->isNumber() || cls->number != std::floor(cls->number) || cls->number < 1 ||
        cls->number > 4) {
      error = "the project's section: \"class\" must be 1, 2, 3 or 4";
      return std::nullopt;
    }
    s.sectionClass = static_cast<int>(cls->number);
  }
  return out;
}

std::optional<WallSection> ReadProjectWallSection(const std::filesystem::path& dataFile,
                                                  std::string& error) {
  return ReadProjectMember(dataFile, error, ReadWallSection);
}

void SetWallSection(ProjectFile& project, const std::optional<WallSection>& section) {
  if (!section) {
    project.erase("section");
    return;
  }
  // Members a later version added to the section are kept in their place.
  const JsonValue* old = project.find("section");
  JsonValue member = old && old->isObject() ? *old : JsonValue::Object();
  const design::CheckSettings& s = section->settings;
  member.set("name", JsonValue::Text(section->name));
  if (section->grade.empty()) member.erase("grade");
  else member.set("grade", JsonValue::Text(section->grade));
  if (section->spacing) member.set("spacing", JsonValue::Number(*section->spacing));
  else member.erase("spacing");
  member.set("method", JsonValue::Text(std::string(MethodWord(s.method))));
  member.set("gammaM0", JsonValue::Number(s.gammaM0));
  member.set("betaB", JsonValue::Number(s.betaB));
  member.set("bendingFraction", JsonValue::Number(s.bendingFraction));
  member.set("shearFraction", JsonValue::Number(s.shearFraction));
  member.set("axialFraction", JsonValue::Number(s.axialFraction));
  if (s.sectionClass) member.set("class", JsonValue::Number(*s.sectionClass));
  else member.erase("class");
  project.set("section", std::move(member));
}

std::optional<SectionInUse> ResolveWallSection(const WallSection& wanted,
                                               const design::SectionLibrary& library,
                                               std::string& error) {
  std::optional<design::Section> section = library.findPipe(wanted.name);
  if (!section) {
    const std::string nearest = library.nearestSectionNames(wanted.name);
    error = "the section library has no section " + wanted.name +
            (nearest.empty() ? "" : "; nearest: " + nearest);
    return std::nullopt;
  }
  const design::SteelGrade* grade =
      wanted.grade.empty() ? library.defaultGrade(*section) : library.findGrade(wanted.grade);
  if (!grade) {
    std::string names;
    for (const design::SteelGrade& g : library.grades)
      names += (names.empty() ? "" : ", ") + g.name;
    error = wanted.grade.empty() ? "the section library has no grade for " + section->name
                                 : "the section library has no grade " + wanted.grade +
                                       (names.empty() ? "" : "; grades: " + names);
    return std::nullopt;
  }
  const bool sheet = design::IsSheetPile(section->family);
  if (!grade->rolledFor(*section)) {
    error = "grade " + grade->name + " is a grade of " +
            (sheet ? "structural steel" : "sheet piles") + ", not of " +
            std::string(design::FamilyWord(section->family)) + " sections";
    return std::nullopt;
  }
  if (wanted.spacing && !(std::isfinite(*wanted.spacing) && *wanted.spacing > 0)) {
    error = "the spacing of the piles must be a positive number";
    return std::nullopt;
  }
  if (!section->secondMoment || !(*section->secondMoment > 0)) {
    error =
        "section " + section->name + " has no second moment of area I, which the wall's EI needs";
    return std::nullopt;
  }
  if (!(grade->elasticModulus > 0) || !(grade->yieldStrength > 0)) {
    error = "grade " + grade->name + " has no modulus of elasticity or yield strength";
    return std::nullopt;
  }
  return SectionInUse{*section, *grade, wanted.settings, wanted.spacing};
}

std::optional<double> SectionRigidity(const SectionInUse& used, int unitsCode, double unitWidth) {
  const std::optional<UnitFactors> f = UnitFactorsOf(unitsCode);
  if (!f || !used.section.secondMoment) return std::nullopt;
  double ei = used.grade.elasticModulus * *used.section.secondMoment;  // N·m², per metre or pile
  if (used.section.perMetre()) ei *= unitWidth * f->length;
  return ei / (f->force * f->length * f->length);
}

std::optional<SectionedData> ApplyWallSection(std::string_view dataText, const SectionInUse& used,
                                              std::string& error) {
  return Walk(dataText, used, true, error);
}

std::optional<SectionedData> CheckedData(std::string_view dataText, const SectionInUse& used,
                                         std::string& error) {
  return Walk(dataText, used, false, error);
}

std::optional<design::StationEffect> GoverningEffect(const design::WallCheck& check,
                                                     int unitsCode) {
  const std::optional<UnitFactors> f = UnitFactorsOf(unitsCode);
  if (!f) return std::nullopt;
  const design::StationEffect& e = check.utilisationEffect;
  return design::StationEffect{e.depth, e.moment / (f->force * f->length), e.shear / f->force,
                               e.axial / f->force};
}

std::vector<design::WallCheck> CheckAnalysis(const engine::api::AnalysisResult& analysis,
                                             const SectionedData& data, const SectionInUse& used) {
  std::vector<design::WallCheck> checks;
  const size_t count = std::min(analysis.problems.size(), data.problems.size());
  for (size_t k = 0; k < count; ++k) {
    const engine::api::ProblemResult& result = analysis.problems[k];
    const std::optional<UnitFactors> f = UnitFactorsOf(result.units);
    if (!f) {
      design::WallCheck failed;
      failed.error = "the results are in generic units: they cannot be checked";
      checks.push_back(failed);
      continue;
    }
    if (!result.notValidStations.empty() || !result.numericalFault.empty()) {
      design::WallCheck failed;
      failed.error = "the results are not those of the wall (see the report): they are not checked";
      checks.push_back(failed);
      continue;
    }
    // Where a support or point load makes the shear step, the larger side.
    const std::vector<double> axial =
        design::WallAxialForces(result, data.problems[k].concentratedAxialLoads);
    std::vector<design::StationEffect> effects;
    effects.reserve(result.stations.size());
    for (size_t i = 0; i < result.stations.size(); ++i) {
      const engine::api::StationResult& s = result.stations[i];
      const double shear =
          std::fabs(s.shearAbove) > std::fabs(s.shearBelow) ? s.shearAbove : s.shearBelow;
      effects.push_back({s.depth, s.moment * f->force * f->length,
                         (s.concentrated ? shear : s.shear) * f->force, -axial[i] * f->force});
    }
    checks.push_back(design::CheckWall(used.section, used.grade, used.settings,
                                       data.problems[k].unitWidth * f->length, effects));
  }
  return checks;
}

std::optional<SectionChecks> CheckAnalysedText(std::string_view dataText,
                                               const engine::api::AnalysisResult& analysis,
                                               const SectionInUse& used, std::string& error) {
  std::optional<SectionedData> data = CheckedData(dataText, used, error);
  if (!data) return std::nullopt;
  SectionChecks checks;
  checks.used = used;
  checks.problems = CheckAnalysis(analysis, *data, used);
  checks.data = std::move(*data);
  return checks;
}

}  // namespace terraq::ui
