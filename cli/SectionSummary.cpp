#include "SectionSummary.h"

#include <cstdio>
#include <cstdlib>
#include <optional>

#include "SummaryOutput.h"
#include "project/JsonText.h"

namespace terraq::cli {

namespace {

using ui::JsonString;

std::string Number(double value) { return ui::SummaryNumberText(value); }

std::string Strings(const std::vector<std::string>& items) {
  std::string out = "[";
  for (size_t k = 0; k < items.size(); ++k) out += (k ? ", " : "") + JsonString(items[k]);
  return out + "]";
}

}  // namespace

std::string SectionJson(const ui::SectionChecks& checks) {
  const ui::SectionInUse& u = checks.used;
  return "{\"name\": " + JsonString(u.section.name) +
         ", \"family\": " + JsonString(std::string(design::FamilyWord(u.section.family))) +
         ", \"grade\": " + JsonString(u.grade.name) +
         ", \"method\": " + JsonString(std::string(ui::MethodWord(u.settings.method))) +
         ", \"applied\": " + (checks.applied ? "true" : "false") +
         ", \"notes\": " + Strings(checks.data.notes) + "}";
}

std::string ProblemCheckJson(const ui::SectionChecks& checks, size_t index) {
  if (index >= checks.problems.size() || index >= checks.data.problems.size()) return "";
  const design::WallCheck& c = checks.problems[index];
  const ui::SectionedProblem& p = checks.data.problems[index];
  const bool checked = c.error.empty();
  std::string out;
  out += ",\n     \"utilisation\": " + (checked ? Number(c.utilisation) : "null");
  out +=
      ", \"utilisationDepth\": " + (checked ? Number(ui::AsPlotField(c.utilisationDepth)) : "null");
  out += ", \"governingCheck\": " + (checked && c.governing != design::GoverningCheck::None
                                         ? JsonString(std::string(design::CheckWord(c.governing)))
                                         : "null");
  out += ", \"utilisationExceeded\": " + std::string(checked && c.exceeded() ? "true" : "false");
  // The effects checked at the governing depth, to redo the check by hand.
  const std::optional<design::StationEffect> e =
      checked ? ui::GoverningEffect(c, p.units) : std::nullopt;
  out += ",\n     \"utilisationEffects\": " +
         (e ? "{\"moment\": " + Number(e->moment) + ", \"shear\": " + Number(e->shear) +
                  ", \"axialForce\": " + Number(e->axial) + "}"
            : std::string("null"));
  out += ",\n     \"sectionClass\": " +
         (checked && c.sectionClass > 0 ? std::to_string(c.sectionClass) : "null");
  out += ", \"unitWidth\": " + Number(p.unitWidth);
  out += ", \"flexuralRigidity\": " + Number(p.flexuralRigidity);
  out += ", \"checkNotes\": " + Strings(c.notes);
  out += ", \"checkError\": " + (checked ? "null" : JsonString(c.error));
  return out;
}

std::string ProblemCheckText(const ui::SectionChecks& checks, size_t index,
                             const ui::ResultUnits& units) {
  if (index >= checks.problems.size()) return "";
  const design::WallCheck& c = checks.problems[index];
  const ui::SectionInUse& u = checks.used;
  if (!c.error.empty()) return "   section check  not done: " + c.error + "\n";
  std::string what = u.section.name + " in " + u.grade.name;
  if (c.sectionClass > 0) what += ", class " + std::to_string(c.sectionClass);
  std::string out = "   utilisation    " + ui::UtilisationText(c.utilisation) + "  at depth " +
                    FourDigits(c.utilisationDepth) + " " + units.length + "  (" +
                    std::string(design::CheckWord(c.governing)) + "; " + what + ")\n";
  if (const std::optional<design::StationEffect> e =
          ui::GoverningEffect(c, checks.data.problems.at(index).units))
    out += "   checked with   M " + FourDigits(e->moment) + " " + units.moment + ", V " +
           FourDigits(e->shear) + " " + units.force + ", N " + FourDigits(e->axial) + " " +
           units.force +
           (e->axial > 0   ? " (compression)"
            : e->axial < 0 ? " (tension)"
                           : "") +
           "\n";
  if (c.exceeded())
    out += "   the section is overstressed: utilisation above 1 in " +
           std::string(design::CheckWord(c.governing)) + "\n";
  return out;
}

}  // namespace terraq::cli
