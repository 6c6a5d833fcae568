#include "DesignSituationsGround.h"

#include "SummaryOutput.h"
#include "api/Units.h"

namespace terraq::cli {

namespace {

std::string CheckText(const char* name, const design::SituationCheck& c) {
  std::string out = std::string(name) + " ";
  if (!c.factor) return out + "not checked (" + c.skipped + ")";
  return out + FourDigits(*c.factor) + " (required " + FourDigits(c.required) + ", ratio " +
         FourDigits(*c.overDesign()) + ")";
}

std::string CheckJson(const design::SituationCheck& c) {
  return "{\"factor\": " + (c.factor ? JsonNumber(*c.factor) : "null") +
         ", \"required\": " + JsonNumber(c.required) +
         ", \"overDesign\": " + (c.factor ? JsonNumber(*c.overDesign()) : "null") +
         ", \"skipped\": " + (c.factor ? "null" : JsonString(c.skipped)) + "}";
}

std::string GoverningText(const char* name, const design::GoverningGroundCheck& g) {
  if (!g.overDesign) return std::string(name) + " none";
  return std::string(name) + " " + FourDigits(*g.overDesign) + " (" + g.set + ")";
}

std::string GoverningJson(const design::GoverningGroundCheck& g) {
  return "{\"overDesign\": " + (g.overDesign ? JsonNumber(*g.overDesign) : "null") +
         ", \"set\": " + (g.overDesign ? JsonString(g.set) : "null") + "}";
}

}  // namespace

std::string SituationsGroundText(const std::vector<design::SituationGround>& ground) {
  if (ground.empty()) return {};
  std::string out =
      "\nGround checks on each set's design values (factor, required, ratio: 1 or more "
      "passes)\n";
  for (const design::SituationGround& g : ground)
    out += "  " + g.set + (g.serviceability ? " (serviceability)" : "") + ": " +
           CheckText("heave", g.heave) + "; " + CheckText("deep slip plane", g.kranz) + "; " +
           CheckText("overall stability", g.overall) + "\n";
  const design::GoverningGround worst = design::GoverningGroundOf(ground);
  return out + "  governing ratios: " + GoverningText("heave", worst.heave) + ", " +
         GoverningText("deep slip plane", worst.kranz) + ", " +
         GoverningText("overall stability", worst.overall) + "\n";
}

std::string SituationsGroundJson(const std::vector<design::SituationGround>& ground, int units) {
  std::string out = "{\"sets\": [";
  const std::string L =
      JsonString(std::string(engine::api::UnitLabel(engine::api::Quantity::Length, units)));
  for (size_t k = 0; k < ground.size(); ++k) {
    const design::SituationGround& g = ground[k];
    out += std::string(k ? "," : "") + "\n    {\"name\": " + JsonString(g.set) +
           ", \"serviceability\": " + (g.serviceability ? "true" : "false") +
           ", \"heave\": " + CheckJson(g.heave) + ",\n     \"kranz\": " + CheckJson(g.kranz) +
           ",\n     \"overall\": " + CheckJson(g.overall);
    if (g.circle)
      out += ", \"circle\": {\"centreX\": " + JsonNumber(g.circle->critical.circle.xc) +
             ", \"centreElevation\": " + JsonNumber(g.circle->critical.circle.yc) +
             ", \"radius\": " + JsonNumber(g.circle->critical.circle.radius) + ", \"units\": " + L +
             "}";
    out += "}";
  }
  const design::GoverningGround worst = design::GoverningGroundOf(ground);
  return out + "],\n   \"governing\": {\"heave\": " + GoverningJson(worst.heave) +
         ", \"kranz\": " + GoverningJson(worst.kranz) +
         ", \"overall\": " + GoverningJson(worst.overall) + "}}";
}

}  // namespace terraq::cli
