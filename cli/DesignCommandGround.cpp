#include "DesignCommandGround.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "DesignCommandOverall.h"
#include "DesignedGroundText.h"
#include "SummaryOutput.h"
#include "api/Units.h"

namespace terraq::cli {

namespace {

// "6,5.5": the numbers, or empty with `ok` false.
std::vector<double> ParseLengths(std::string_view value, bool& ok) {
  std::vector<double> out;
  ok = !value.empty();
  size_t from = 0;
  while (ok && from <= value.size()) {
    const size_t comma = std::min(value.find(',', from), value.size());
    const std::string text(value.substr(from, comma - from));
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    ok = !text.empty() && *end == '\0' && std::isfinite(v);
    out.push_back(v);
    from = comma + 1;
  }
  return out;
}

std::string JsonFactor(const design::HeaveFactor& h) {
  return "{\"Nc\": " + JsonNumber(h.Nc) + ", \"resisting\": " + JsonNumber(h.resisting) +
         ", \"loading\": " + JsonNumber(h.loading) + ", \"sideShear\": " + JsonNumber(h.sideShear) +
         ", \"factor\": " + (h.factor ? JsonNumber(*h.factor) : "null") +
         ", \"factorWithoutSideShear\": " +
         (h.factorWithoutSideShear ? JsonNumber(*h.factorWithoutSideShear) : "null") +
         ", \"note\": " + (h.note.empty() ? "null" : JsonString(h.note)) + "}";
}

std::string HeaveJson(const design::GroundLimits& g, int units) {
  if (!g.heave) return "{\"error\": " + JsonString(g.heaveSkipped) + "}";
  const design::BasalHeaveResult& r = *g.heave;
  const design::BasalHeaveInput& in = g.heaveInput;
  using engine::api::Quantity;
  const auto label = [units](Quantity q) {
    return JsonString(std::string(engine::api::UnitLabel(q, units)));
  };
  const std::string L = label(Quantity::Length), P = label(Quantity::Pressure);
  return "{\"depth\": " + JsonNumber(in.depth) + ", \"width\": " + JsonNumber(in.width) +
         ", \"length\": " + JsonNumber(in.length) +
         ", \"baseStrength\": " + JsonNumber(in.baseStrength) +
         ", \"sideStrength\": " + JsonNumber(in.sideStrength.value_or(in.baseStrength)) +
         ", \"unitWeight\": " + JsonNumber(in.unitWeight) +
         ", \"surcharge\": " + JsonNumber(in.surcharge) + ", \"firmStratumDepth\": " +
         (in.firmStratumDepth ? JsonNumber(*in.firmStratumDepth) : "null") +
         ",\n    \"blockWidth\": " + JsonNumber(r.blockWidth) +
         ",\n    \"terzaghi\": " + JsonFactor(r.terzaghi) +
         ",\n    \"bjerrumEide\": " + JsonFactor(r.bjerrumEide) +
         ",\n    \"error\": " + (r.error ? JsonString(*r.error) : "null") +
         ",\n    \"units\": {\"depth\": " + L + ", \"width\": " + L + ", \"length\": " + L +
         ", \"baseStrength\": " + P + ", \"sideStrength\": " + P +
         ", \"unitWeight\": " + label(Quantity::UnitWeight) + ", \"surcharge\": " + P +
         ", \"firmStratumDepth\": " + L + ", \"blockWidth\": " + L + ", \"resisting\": " + P +
         ", \"loading\": " + P + ", \"sideShear\": " + P + "}}";
}

std::string PlaneJson(const design::DeepSlipPlane& p) {
  std::string path, anchors;
  for (const design::PlanePoint& s : p.path)
    path += (path.empty() ? "[" : ", [") + JsonNumber(s.x) + ", " + JsonNumber(s.depth) + "]";
  for (const size_t a : p.anchors) anchors += (anchors.empty() ? "" : ", ") + std::to_string(a + 1);
  return "{\"path\": [" + path + "], \"anchors\": [" + anchors +
         "], \"compound\": " + (p.compound ? "true" : "false") +
         ", \"weight\": " + JsonNumber(p.weight) +
         ", \"surchargeCounted\": " + (p.surchargeCounted ? "true" : "false") +
         ", \"wallThrust\": " + JsonNumber(p.wallThrust) +
         ", \"anchorWallThrust\": " + JsonNumber(p.anchorWallThrust) +
         ", \"appliedForce\": " + JsonNumber(p.appliedForce) +
         ", \"possibleForce\": " + (p.possibleForce ? JsonNumber(*p.possibleForce) : "null") +
         ", \"factor\": " + (p.factor ? JsonNumber(*p.factor) : "null") +
         ", \"noFactor\": " + (p.noFactor.empty() ? "null" : JsonString(p.noFactor)) + "}";
}

std::string DeepJson(const design::DesignedGround& c, const design::DesignUnits& u) {
  const design::GroundLimits& g = c.limits;
  if (!g.deepSeated) return "{\"error\": " + JsonString(g.deepSkipped) + "}";
  const design::DeepSeatedResult& r = *g.deepSeated;
  std::string out = "{\"footDepth\": " + JsonNumber(c.foot) + ", \"anchors\": [";
  for (size_t k = 0; k < g.anchors.size(); ++k) {
    const design::StabilityAnchor& a = g.anchors[k];
    out += std::string(k ? ", " : "") + "{\"depth\": " + JsonNumber(a.depth) +
           ", \"inclination\": " + JsonNumber(a.inclination) +
           ", \"freeLength\": " + JsonNumber(a.freeLength) +
           ", \"bondLength\": " + JsonNumber(a.bondLength) + ", \"force\": " + JsonNumber(a.force) +
           "}";
  }
  out += "],\n    \"planes\": [";
  for (size_t k = 0; k < r.planes.size(); ++k)
    out += std::string(k ? ",\n     " : "\n     ") + PlaneJson(r.planes[k]);
  const std::string L = JsonString(u.length), F = JsonString(u.force);
  return out + "],\n    \"governing\": " +
         (r.governing ? std::to_string(*r.governing + 1) : std::string("null")) +
         ", \"error\": " + (r.error ? JsonString(*r.error) : "null") +
         ", \"units\": {\"footDepth\": " + L + ", \"depth\": " + L +
         ", \"inclination\": \"deg\", \"freeLength\": " + L + ", \"bondLength\": " + L +
         ", \"force\": " + F + ", \"path\": " + L + ", \"weight\": " + F +
         ", \"wallThrust\": " + F + ", \"anchorWallThrust\": " + F + ", \"appliedForce\": " + F +
         ", \"possibleForce\": " + F + "}}";
}

}  // namespace

bool TakeGroundOption(std::string_view name, const std::string& value, GroundRequest& ground,
                      std::string& fault) {
  // The numbers of the other options are checked by their declarations.
  design::ExcavationPlan& o = ground.options;
  const double number = std::strtod(value.c_str(), nullptr);
  bool ok = true;
  if (name == "--excavation-width") {
    ground.widthGiven = true;
    o.width = number;
  } else if (name == "--excavation-length") {
    ground.lengthGiven = true;
    o.length = number;
  } else if (name == "--firm-stratum") {
    ground.firmGiven = true;
    o.firmStratumDepth = number;
  } else if (name == "--anchor-free") {
    ground.freeGiven = true;
    o.anchorFree = ParseLengths(value, ok);
  } else if (name == "--anchor-bond") {
    ground.bondGiven = true;
    o.anchorBond = ParseLengths(value, ok);
  } else {
    return false;
  }
  if (!ok) fault = std::string(name) + " takes lengths with commas between them";
  return true;
}

std::string TakeProjectExcavation(const std::optional<design::ExcavationPlan>& member,
                                  const std::optional<design::SequentialPlan>& sequence,
                                  GroundRequest& ground) {
  const GroundRequest& g = ground;
  if (!member && !g.widthGiven && !g.lengthGiven && !g.firmGiven && !g.freeGiven && !g.bondGiven)
    return {};
  design::ExcavationPlan plan = member.value_or(design::ExcavationPlan{});
  const design::ExcavationPlan& o = g.options;
  if (g.widthGiven) plan.width = o.width;
  if (g.lengthGiven) plan.length = o.length;
  if (g.firmGiven) plan.firmStratumDepth = o.firmStratumDepth;
  if (g.freeGiven) plan.anchorFree = o.anchorFree;
  if (g.bondGiven) plan.anchorBond = o.anchorBond;
  if (std::string fault = design::ExcavationPlanFault(plan); !fault.empty()) return fault;
  ground.plan = plan;
  ground.sequence = sequence;
  return {};
}

namespace {

design::DesignedGround Check(const design::ProblemDesign& p,
                             const engine::api::SoilDescription& soil,
                             const design::DesignRequest& request, const GroundRequest& ground,
                             const design::AnchorChecks* anchors) {
  return design::CheckDesignedGround(p, soil, request, *ground.plan,
                                     ground.sequence ? &*ground.sequence : nullptr, anchors);
}

}  // namespace

std::string GroundLines(const design::ProblemDesign& p, const engine::api::SoilDescription& soil,
                        const design::DesignRequest& request, const GroundRequest& ground,
                        const design::AnchorChecks* anchors) {
  if (!ground.plan) return {};
  const design::DesignedGround c = Check(p, soil, request, ground, anchors);
  return design::JoinedLines(design::DesignedGroundLines(c, p.units));
}

std::string GroundLimitsJson(const design::ProblemDesign& p,
                             const engine::api::SoilDescription& soil,
                             const design::DesignRequest& request, const GroundRequest& ground,
                             const design::AnchorChecks* anchors) {
  if (!ground.plan) return {};
  const design::DesignedGround c = Check(p, soil, request, ground, anchors);
  return ",\n   \"basalHeave\": " + HeaveJson(c.limits, p.units) +
         ",\n   \"deepSeated\": " + DeepJson(c, design::DesignUnitsOf(p.units)) +
         OverallJson(c, p.units);
}

}  // namespace terraq::cli
