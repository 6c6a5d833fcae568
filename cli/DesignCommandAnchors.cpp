#include "DesignCommandAnchors.h"

#include <cmath>
#include <cstdlib>
#include <sstream>

#include "CommandDeclarations.h"
#include "DesignedGroundText.h"
#include "SummaryOutput.h"
#include "api/Units.h"

namespace terraq::cli {

namespace {

using design::AnchorChecks;
using design::AnchorDesign;
using design::FreeLengthRule;
using Q = engine::api::Quantity;

constexpr std::string_view kAnchorOptions[] = {
    "--anchor-rate", "--anchor-fs", "--anchor-test-factor", "--anchor-lock-off", "--tendons"};

// "120,100": the rates as written, each a finite number above 0.
std::optional<std::vector<double>> RateList(const std::string& text) {
  std::vector<double> rates;
  std::stringstream items(text);
  for (std::string item; std::getline(items, item, ',');) {
    char* end = nullptr;
    const double value = std::strtod(item.c_str(), &end);
    if (item.empty() || *end != '\0' || !std::isfinite(value) || value <= 0) return std::nullopt;
    rates.push_back(value);
  }
  if (rates.empty() || text.back() == ',') return std::nullopt;
  return rates;
}

std::optional<std::vector<design::TendonKind>> TendonList(const std::string& text) {
  std::vector<design::TendonKind> kinds;
  std::stringstream items(text);
  for (std::string item; std::getline(items, item, ',');) {
    const std::optional<design::TendonKind> kind = design::TendonKindOfKey(item);
    if (!kind) return std::nullopt;
    kinds.push_back(*kind);
  }
  if (kinds.empty() || text.back() == ',') return std::nullopt;
  return kinds;
}

const char* RuleKey(FreeLengthRule rule) {
  switch (rule) {
    case FreeLengthRule::Minimum: return "minimum";
    case FreeLengthRule::BeyondSurface: return "beyond-surface";
    case FreeLengthRule::Cover: return "cover";
  }
  return "";
}

std::string Unit(Q quantity, int units) {
  return std::string(engine::api::UnitLabel(quantity, units));
}

std::string Numbers(const std::vector<double>& values) {
  std::string out = "[";
  for (size_t k = 0; k < values.size(); ++k) out += (k ? ", " : "") + JsonNumber(values[k]);
  return out + "]";
}

std::string AnchorJson(const design::AnchorCheck& a) {
  const design::AnchorLevel& l = a.level;
  std::string out = "{\"name\": " + JsonString(l.name) + ", \"depth\": " + JsonNumber(l.depth) +
                    ", \"force\": " + JsonNumber(l.force) +
                    ", \"transferRate\": " + JsonNumber(l.transferRate);
  if (!a.design) return out + ", \"error\": " + JsonString(a.error) + "}";
  const AnchorDesign& d = *a.design;
  out += ", \"inclination\": " + JsonNumber(l.inclination) +
         ", \"spacing\": " + JsonNumber(l.spacing) +
         ", \"designLoad\": " + JsonNumber(d.designLoad) +
         ", \"verticalLoad\": " + JsonNumber(d.verticalLoad) +
         ", \"verticalPerLength\": " + JsonNumber(d.verticalPerLength) +
         ",\n     \"freeLength\": " + JsonNumber(d.freeLength) +
         ", \"freeLengthRule\": " + JsonString(RuleKey(d.freeRule)) +
         ", \"surfaceDistance\": " + JsonNumber(d.surfaceDistance) +
         ", \"clearance\": " + JsonNumber(d.clearance) +
         ", \"bondLength\": " + JsonNumber(d.bondLength) +
         ", \"totalLength\": " + JsonNumber(d.totalLength) +
         ", \"bondTop\": " + JsonNumber(d.bondTop) +
         ",\n     \"tendon\": " + JsonString(d.tendon.name) +
         ", \"tendonKind\": " + JsonString(design::TendonKindKey(d.tendon.kind)) +
         ", \"strands\": " + std::to_string(d.tendon.strands) +
         ", \"utilisation\": " + JsonNumber(d.utilisation) +
         ", \"testLoad\": " + JsonNumber(d.testLoad) +
         ", \"lockOffLoad\": " + JsonNumber(d.lockOffLoad) + ", \"notes\": [";
  for (size_t k = 0; k < d.notes.size(); ++k) out += (k ? ", " : "") + JsonString(d.notes[k]);
  return out + "], \"error\": null}";
}

std::string UnitsJson(int units) {
  const std::pair<const char*, Q> keys[] = {{"H", Q::Length},
                                            {"planeDepth", Q::Length},
                                            {"depth", Q::Length},
                                            {"spacing", Q::Length},
                                            {"force", Q::ForcePerLength},
                                            {"transferRate", Q::ForcePerLength},
                                            {"designLoad", Q::Force},
                                            {"verticalLoad", Q::Force},
                                            {"verticalPerLength", Q::ForcePerLength},
                                            {"freeLength", Q::Length},
                                            {"surfaceDistance", Q::Length},
                                            {"clearance", Q::Length},
                                            {"bondLength", Q::Length},
                                            {"totalLength", Q::Length},
                                            {"bondTop", Q::Length},
                                            {"testLoad", Q::Force},
                                            {"lockOffLoad", Q::Force}};
  std::string out = "{";
  for (const auto& [key, quantity] : keys)
    out += std::string(out.size() > 1 ? ", " : "") + "\"" + key +
           "\": " + JsonString(Unit(quantity, units));
  return out + ", \"frictionAngle\": \"deg\", \"inclination\": \"deg\"}";
}

}  // namespace

bool IsAnchorOption(std::string_view name) {
  for (std::string_view option : kAnchorOptions)
    if (option == name) return true;
  return false;
}

std::optional<int> TakeAnchorOption(const GivenOption& option, AnchorOptions& options,
                                    bool& taken) {
  const std::string_view name = option.option->name;
  taken = IsAnchorOption(name) || name == "--spacing" || name == "--inclination";
  if (!taken) return std::nullopt;
  if (name == "--anchor-rate" && !RateList(option.value))
    return RefuseValue(kDesignCommand, name, option.value,
                       "the load-transfer rates are numbers above 0, one for every anchor level "
                       "or one per level from the top, separated by commas");
  if (name == "--tendons" && !TendonList(option.value))
    return RefuseValue(
        kDesignCommand, name, option.value,
        "the tendon kinds are " + design::TendonKindKeys() + ", separated by commas");
  options.given.push_back(option);
  return std::nullopt;
}

std::optional<design::AnchorInputs> AnchorInputsOf(
    const AnchorOptions& options, const std::optional<design::AnchorInputs>& member,
    std::string& error) {
  bool asked = member.has_value();
  for (const GivenOption& g : options.given) asked = asked || IsAnchorOption(g.option->name);
  if (!asked) {
    if (options.any())
      error =
          "--spacing and --inclination are for the anchor design (--anchor-rate or the "
          "project's anchors) or for --method apparent-pressure";
    return std::nullopt;
  }
  design::AnchorInputs in = member.value_or(design::AnchorInputs{});
  for (const GivenOption& g : options.given) {
    const std::string_view name = g.option->name;
    if (name == "--anchor-rate") in.transferRates = *RateList(g.value);
    else if (name == "--tendons") in.tendons = *TendonList(g.value);
    else if (name == "--anchor-fs") in.bondSafetyFactor = NumberValue(g.value);
    else if (name == "--anchor-test-factor") in.testFactor = NumberValue(g.value);
    else if (name == "--anchor-lock-off") in.lockOffFactor = NumberValue(g.value);
    else if (name == "--spacing") in.spacing = NumberValue(g.value);
    else if (name == "--inclination") in.inclination = NumberValue(g.value);
  }
  if (in.transferRates.empty()) {
    error = "the anchor design needs the ground's load-transfer rate: --anchor-rate";
    return std::nullopt;
  }
  return in;
}

std::string AnchorsText(const AnchorChecks& checks) {
  return design::JoinedLines(design::AnchorChecksLines(checks));
}

std::string AnchorsJson(const AnchorChecks& checks, const design::AnchorInputs& in) {
  if (checks.anchors.empty() && checks.error.empty()) return ",\n   \"anchorDesign\": null";
  const design::AnchorCut* cut = checks.cut ? &*checks.cut : nullptr;
  const auto number = [cut](double v) { return cut ? JsonNumber(v) : std::string("null"); };
  std::string out =
      ",\n   \"anchorDesign\": {\"H\": " + number(cut ? cut->height : 0) +
      ", \"frictionAngle\": " + number(cut ? cut->frictionAngle : 0) +
      ", \"planeDepth\": " + number(cut ? cut->zeroNetDepth.value_or(cut->height) : 0) +
      ", \"planeFrom\": " +
      (cut ? JsonString(cut->zeroNetDepth ? "zero-net-pressure" : "excavation") : "null") +
      ",\n    \"transferRates\": " + Numbers(in.transferRates) +
      ", \"fs\": " + JsonNumber(in.bondSafetyFactor) +
      ", \"testFactor\": " + JsonNumber(in.testFactor) +
      ", \"lockOffFactor\": " + JsonNumber(in.lockOffFactor) + ", \"tendons\": [";
  for (size_t k = 0; k < in.tendons.size(); ++k)
    out += (k ? ", " : "") + JsonString(design::TendonKindKey(in.tendons[k]));
  out += "],\n    \"anchors\": [";
  for (size_t k = 0; k < checks.anchors.size(); ++k)
    out += (k ? ",\n     " : "\n     ") + AnchorJson(checks.anchors[k]);
  out += "],\n    \"units\": " + UnitsJson(checks.units) +
         ", \"error\": " + (checks.error.empty() ? "null" : JsonString(checks.error)) + "}";
  return out;
}

std::string AnchorRefusals(const AnchorChecks& checks, const std::string& where) {
  std::string out;
  if (!checks.error.empty())
    out += "terraq: " + where + ": the anchors could not be designed: " + checks.error + "\n";
  for (const design::AnchorCheck& a : checks.anchors)
    if (!a.design)
      out += "terraq: " + where + ": anchor " + a.level.name +
             " could not be designed: " + a.error + "\n";
  return out;
}

}  // namespace terraq::cli
