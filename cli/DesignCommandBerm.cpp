#include "DesignCommandBerm.h"

#include <cmath>
#include <cstdlib>

#include "SpringTrial.h"
#include "SummaryOutput.h"

namespace terraq::cli {

namespace {

// The trial wedges' check of the berm on the design's tip; empty when the
// design found no tip. A construction sequence's check is that of its
// governing stage.
std::optional<design::BermCheck> CheckOf(const design::ProblemDesign& p,
                                         engine::api::SoilDescription soil,
                                         const design::DesignRequest& request) {
  if (p.le.error || !request.berm) return std::nullopt;
  if (!p.stages.empty()) soil.excavationDepth = p.stages[p.governingStage].excavation;
  return design::CheckBermResistance(soil, *request.berm, p.le.tipDepth,
                                     request.excavationTheory.deltaRatio);
}

}  // namespace

std::optional<design::Berm> ParseBerm(std::string_view value) {
  double parts[3];
  size_t from = 0;
  for (int k = 0; k < 3; ++k) {
    const size_t comma = value.find(',', from);
    if ((comma == std::string_view::npos) != (k == 2)) return std::nullopt;
    const std::string text(
        value.substr(from, comma == std::string_view::npos ? value.npos : comma - from));
    char* end = nullptr;
    parts[k] = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !std::isfinite(parts[k])) return std::nullopt;
    from = comma + 1;
  }
  return design::Berm{parts[0], parts[1], parts[2]};
}

std::string BermRefusalOf(const engine::api::SoilDescriptions& soils, const design::Berm& berm) {
  for (size_t k = 0; k < soils.problems.size(); ++k) {
    const engine::api::SoilDescription& soil = soils.problems[k];
    const design::DesignUnits u = design::DesignUnitsOf(soil.units);
    if (const auto why = design::BermRefusal(berm, soil.excavationDepth, u.length))
      return "problem " + std::to_string(k + 1) + ": " + *why;
  }
  return {};
}

std::string BermLine(const design::ProblemDesign& p, const engine::api::SoilDescription& soil,
                     const design::DesignRequest& request) {
  if (!request.berm) return {};
  const design::Berm& b = *request.berm;
  const design::DesignUnits u = design::DesignUnitsOf(p.units);
  std::string line = "berm: " + design::FourDigits(b.height) + " " + u.length + " high, " +
                     design::FourDigits(b.topWidth) + " " + u.length + " wide at the top, side " +
                     design::FourDigits(b.sideSlope) +
                     " horizontal per vertical: the excavation level raised by " +
                     design::FourDigits(design::BermRaise(b)) + " " + u.length;
  const std::optional<design::BermCheck> c = CheckOf(p, soil, request);
  if (!c) return line + "\n";
  if (c->error) return line + "; trial wedges: " + *c->error + "\n";
  line +=
      "; passive resistance down to the tip by trial wedges: " + design::FourDigits(c->bermThrust) +
      " " + u.force + " through the berm, " + design::FourDigits(c->raisedThrust) + " " + u.force +
      " on level ground at the raised level\n";
  if (c->bermThrust < c->raisedThrust)
    line += "note: the raised level counts " +
            design::FourDigits(100.0 * (c->raisedThrust / c->bermThrust - 1.0)) +
            " % more passive resistance than the wedges through this berm find\n";
  return line;
}

std::string BermJson(const design::ProblemDesign& p, const engine::api::SoilDescription& soil,
                     const design::DesignRequest& request) {
  if (!request.berm) return {};
  const design::Berm& b = *request.berm;
  const std::optional<design::BermCheck> c = CheckOf(p, soil, request);
  const bool checked = c && !c->error;
  const auto value = [&](double v) { return checked ? JsonNumber(v) : std::string("null"); };
  return ",\n   \"berm\": {\"height\": " + JsonNumber(b.height) +
         ", \"topWidth\": " + JsonNumber(b.topWidth) +
         ", \"sideSlope\": " + JsonNumber(b.sideSlope) +
         ", \"excavationRaise\": " + JsonNumber(design::BermRaise(b)) +
         ", \"wedgeResistance\": " + value(c ? c->bermThrust : 0) +
         ", \"raisedLevelResistance\": " + value(c ? c->raisedThrust : 0) +
         ", \"wedgeAngle\": " + value(c ? c->bermAngle : 0) +
         ", \"checkError\": " + (c && c->error ? JsonString(*c->error) : "null") + "}";
}

}  // namespace terraq::cli
