#include "UltimateCheckSummary.h"

#include <cmath>
#include <optional>

#include "SummaryOutput.h"
#include "project/JsonText.h"

namespace terraq::cli {

namespace {

using ui::JsonString;

std::string Number(double value) { return ui::SummaryNumberText(value); }

std::string OrNull(bool present, const std::string& value) { return present ? value : "null"; }

std::string CheckWordJson(const design::WallCheck& c) {
  return OrNull(c.error.empty() && c.governing != design::GoverningCheck::None,
                JsonString(std::string(design::CheckWord(c.governing))));
}

std::string Verdict(const design::WallCheck& c) {
  return c.exceeded() ? "fails by " + ui::UtilisationText(c.utilisation - 1.0)
                      : "holds with " + ui::UtilisationText(1.0 - c.utilisation) + " to spare";
}

}  // namespace

std::string UltimateCheckText(const ui::UltimateSectionCheck& check, const ui::SectionInUse& used,
                              int unitsCode) {
  const ui::ResultUnits u = ui::ResultUnitsFor(unitsCode);
  std::string out = "\nSection check, ultimate limit state: " + used.section.name + " in " +
                    used.grade.name + " (" + std::string(ui::MethodWord(used.settings.method)) +
                    "), the design effects of each set\n";
  for (const ui::SetSectionCheck& set : check.sets)
    for (size_t k = 0; k < set.problems.size(); ++k) {
      const design::WallCheck& c = set.problems[k];
      out += "  " + set.set + "  " + std::to_string(k + 1) + "  ";
      out += c.error.empty() ? "utilisation " + ui::UtilisationText(c.utilisation) + " at depth " +
                                   FourDigits(c.utilisationDepth) + " " + u.length + " (" +
                                   std::string(design::CheckWord(c.governing)) + ")\n"
                             : "not checked: " + c.error + "\n";
    }
  out += "  Envelope (the set that governs)\n";
  for (size_t k = 0; k < check.envelope.size(); ++k) {
    const ui::EnvelopeSectionCheck& e = check.envelope[k];
    out += "  " + std::to_string(k + 1) + "  ";
    if (!e.checked) {
      out += "no ultimate set has valid results to check\n";
      continue;
    }
    const design::WallCheck& c = e.check;
    if (!e.valid) out += "NOT VALID (an ultimate set is left out): ";
    out += "utilisation " + ui::UtilisationText(c.utilisation) + " at depth " +
           FourDigits(c.utilisationDepth) + " " + u.length + " (" +
           std::string(design::CheckWord(c.governing)) + "; " + e.set + "): " + Verdict(c) + "\n";
    if (const std::optional<design::StationEffect> d = ui::GoverningEffect(c, unitsCode))
      out += "     design effects M " + FourDigits(d->moment) + " " + u.moment + ", V " +
             FourDigits(d->shear) + " " + u.force + ", N " + FourDigits(d->axial) + " " + u.force +
             (d->axial > 0   ? " (compression)"
              : d->axial < 0 ? " (tension)"
                             : "") +
             "\n";
  }
  return out;
}

std::string UltimateCheckJson(const ui::UltimateSectionCheck& check, const ui::SectionInUse& used,
                              int unitsCode) {
  const std::optional<ui::UnitFactors> f = ui::UnitFactorsOf(unitsCode);
  std::string out = "{\"name\": " + JsonString(used.section.name) +
                    ", \"grade\": " + JsonString(used.grade.name) + ", \"method\": " +
                    JsonString(std::string(ui::MethodWord(used.settings.method))) +
                    ", \"limitState\": \"ultimate\",\n    \"sets\": [";
  for (size_t i = 0; i < check.sets.size(); ++i) {
    const ui::SetSectionCheck& set = check.sets[i];
    out += std::string(i ? "," : "") + "\n      {\"name\": " + JsonString(set.set) +
           ", \"problems\": [";
    for (size_t k = 0; k < set.problems.size(); ++k) {
      const design::WallCheck& c = set.problems[k];
      const bool checked = c.error.empty();
      out += std::string(k ? ", " : "") + "{\"number\": " + std::to_string(k + 1) +
             ", \"utilisation\": " + OrNull(checked, Number(c.utilisation)) +
             ", \"utilisationDepth\": " +
             OrNull(checked, Number(ui::AsPlotField(c.utilisationDepth))) +
             ", \"governingCheck\": " + CheckWordJson(c) +
             ", \"utilisationExceeded\": " + (c.exceeded() ? "true" : "false") +
             ", \"checkError\": " + OrNull(!checked, JsonString(c.error)) + "}";
    }
    out += "]}";
  }
  out += check.sets.empty() ? "],\n    \"envelope\": [" : "\n    ],\n    \"envelope\": [";
  for (size_t k = 0; k < check.envelope.size(); ++k) {
    const ui::EnvelopeSectionCheck& e = check.envelope[k];
    const design::WallCheck& c = e.check;
    const std::optional<design::StationEffect> d =
        e.checked ? ui::GoverningEffect(c, unitsCode) : std::nullopt;
    auto resistance = [&](double value, double perUnit) {
      return OrNull(e.checked && f && value > 0, Number(value / perUnit));
    };
    const double force = f ? f->force : 1, moment = f ? f->force * f->length : 1;
    out += std::string(k ? "," : "") + "\n      {\"number\": " + std::to_string(k + 1) +
           ", \"valid\": " + (e.valid ? "true" : "false") +
           ", \"utilisation\": " + OrNull(e.checked, Number(c.utilisation)) +
           ", \"utilisationDepth\": " +
           OrNull(e.checked, Number(ui::AsPlotField(c.utilisationDepth))) +
           ", \"governingCheck\": " + OrNull(e.checked, CheckWordJson(c)) +
           ", \"set\": " + OrNull(e.checked, JsonString(e.set)) +
           ", \"utilisationExceeded\": " + (c.exceeded() ? "true" : "false") +
           ",\n       \"utilisationEffects\": " +
           OrNull(d.has_value(), d ? "{\"moment\": " + Number(d->moment) +
                                         ", \"shear\": " + Number(d->shear) +
                                         ", \"axialForce\": " + Number(d->axial) + "}"
                                   : "") +
           ", \"resistances\": {\"moment\": " + resistance(c.momentResistance, moment) +
           ", \"shear\": " + resistance(c.shearResistance, force) +
           ", \"axialForce\": " + resistance(c.axialResistance, force) + "}}";
  }
  return out + (check.envelope.empty() ? "]}" : "\n    ]}");
}

std::string UltimateCheckWarnings(const ui::UltimateSectionCheck& check,
                                  const ui::SectionInUse& used) {
  std::string out;
  for (size_t k = 0; k < check.envelope.size(); ++k)
    if (const ui::EnvelopeSectionCheck& e = check.envelope[k]; e.checked && e.check.exceeded())
      out += "terraq: problem " + std::to_string(k + 1) + ": the section " + used.section.name +
             " is overstressed at the ultimate limit state (utilisation " +
             ui::SummaryNumberText(e.check.utilisation) + " in " +
             std::string(design::CheckWord(e.check.governing)) + ", " + e.set + ")\n";
  return out;
}

}  // namespace terraq::cli
