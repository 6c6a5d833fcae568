#include "DesignCommandOverall.h"

#include "SummaryOutput.h"
#include "api/Units.h"

namespace terraq::cli {

namespace {

using Q = engine::api::Quantity;

std::string Label(Q quantity, int units) {
  return std::string(engine::api::UnitLabel(quantity, units));
}

std::string AnchorsJson(const design::DesignedGround& g) {
  std::string out = "[";
  for (size_t k = 0; k < g.overallAnchors.size(); ++k) {
    const design::OverallAnchor& a = g.overallAnchors[k];
    out += std::string(k ? ", " : "") + "{\"name\": " + JsonString(a.name) +
           ", \"depth\": " + JsonNumber(a.depth) +
           ", \"inclination\": " + JsonNumber(a.inclination) +
           ", \"freeLength\": " + JsonNumber(a.freeLength) +
           ", \"bondLength\": " + JsonNumber(a.bondLength) +
           ", \"capacity\": " + JsonNumber(a.capacity) + "}";
  }
  return out + "]";
}

}  // namespace

std::string OverallJson(const design::DesignedGround& g, int units) {
  const std::string head = ",\n   \"overallStability\": ";
  if (!g.overall) return head + "{\"error\": " + JsonString(g.overallSkipped) + "}";
  const design::SlipSearchResult& s = *g.overall;
  const design::SlipResult& c = s.critical;
  const std::string L = JsonString(Label(Q::Length, units));
  const std::string lengths = design::AnchorLengthsText(g);
  return head + "{\"factor\": " + (s.error ? "null" : JsonNumber(c.factor)) +
         ", \"centreX\": " + (s.error ? "null" : JsonNumber(c.circle.xc)) +
         ", \"centreElevation\": " + (s.error ? "null" : JsonNumber(c.circle.yc)) +
         ", \"radius\": " + (s.error ? "null" : JsonNumber(c.circle.radius)) +
         ", \"tipDepth\": " + JsonNumber(g.overallTip) +
         ", \"circlesTried\": " + std::to_string(s.circlesTried) +
         ", \"circlesAdmissible\": " + std::to_string(s.circlesAdmissible) +
         ",\n    \"anchors\": " + AnchorsJson(g) + ", \"capacityFrom\": " +
         JsonString(g.capacityFromDesign ? "anchor-design" : "design-force") +
         ", \"anchorLengths\": " + (lengths.empty() ? "null" : JsonString(lengths)) +
         ", \"anchorsNotCounted\": " +
         (g.anchorsNotCounted.empty() ? "null" : JsonString(g.anchorsNotCounted)) +
         ", \"pointLoadsLeftOut\": " + std::to_string(g.pointLoadsLeftOut) +
         ", \"error\": " + (s.error ? JsonString(*s.error) : "null") +
         ",\n    \"units\": {\"centreX\": " + L + ", \"centreElevation\": " + L +
         ", \"radius\": " + L + ", \"tipDepth\": " + L + ", \"depth\": " + L +
         ", \"inclination\": \"deg\", \"freeLength\": " + L + ", \"bondLength\": " + L +
         ", \"capacity\": " + JsonString(Label(Q::ForcePerLength, units)) + "}}";
}

}  // namespace terraq::cli
