#include "GroundJson.h"

#include "SummaryOutput.h"
#include "api/Units.h"

namespace terraq::cli {

namespace {

namespace api = engine::api;

std::string Bool(bool value) { return value ? "true" : "false"; }

std::string Factor(const std::optional<double>& factor) {
  return factor ? JsonNumber(*factor) : "null";
}

std::string FaceJson(const std::vector<ui::FacePorePressure>& face) {
  std::string out = "[";
  for (size_t k = 0; k < face.size(); ++k)
    out += std::string(k ? ", " : "") + "{\"depth\": " + JsonNumber(face[k].depth) +
           ", \"porePressure\": " + JsonNumber(face[k].porePressure) + "}";
  return out + "]";
}

std::string ChecksJson(const api::HydraulicChecks& c, const api::HydraulicCheckOptions& options) {
  std::string out = "{\"heave\": {\"factor\": " + Factor(c.heave.factor) +
                    ", \"required\": " + JsonNumber(options.requiredHeaveFactor) +
                    ", \"passed\": " + Bool(c.heave.passed) + "}";
  out +=
      ",\n      \"hyd\": {\"destabilisingPressure\": " + JsonNumber(c.hyd.destabilisingPressure) +
      ", \"stabilisingStress\": " + JsonNumber(c.hyd.stabilisingStress) +
      ", \"seepageForce\": " + JsonNumber(c.hyd.seepageForce) +
      ", \"stabilisingWeight\": " + JsonNumber(c.hyd.stabilisingWeight) +
      ", \"totalStressesPassed\": " + Bool(c.hyd.totalStressesPassed) +
      ", \"seepageForcePassed\": " + Bool(c.hyd.seepageForcePassed) +
      ", \"passed\": " + Bool(c.hyd.totalStressesPassed && c.hyd.seepageForcePassed) + "}";
  out += ",\n      \"piping\": {\"exitGradient\": " + JsonNumber(c.piping.exitGradient) +
         ", \"criticalGradient\": " + JsonNumber(c.piping.criticalGradient) +
         ", \"factor\": " + Factor(c.piping.factor) +
         ", \"required\": " + JsonNumber(options.requiredPipingFactor) +
         ", \"passed\": " + Bool(c.piping.passed) + "}";
  out += ",\n      \"uplift\": ";
  if (c.uplift)
    out += "{\"depth\": " + JsonNumber(c.uplift->depth) +
           ", \"porePressure\": " + JsonNumber(c.uplift->porePressure) +
           ", \"totalStress\": " + JsonNumber(c.uplift->totalStress) +
           ", \"factor\": " + Factor(c.uplift->factor) + ", \"passed\": " + Bool(c.uplift->passed) +
           "}";
  else out += "null";
  return out + "}";
}

}  // namespace

std::string SeepageJson(const ui::SeepageSummary& seepage, int unitsCode) {
  std::string out =
      "{\"method\": " + JsonString(api::SeepageMethodOf(seepage.method).key) +
      ", \"exitGradient\": " + JsonNumber(seepage.exitGradient) +
      ", \"flowRate\": " + Factor(seepage.flowRate) +
      ", \"units\": {\"depth\": " + JsonString(api::UnitLabel(api::Quantity::Length, unitsCode)) +
      ", \"porePressure\": " + JsonString(api::UnitLabel(api::Quantity::Pressure, unitsCode)) + "}";
  out += ",\n      \"retainedFace\": " + FaceJson(seepage.retainedFace);
  out += ",\n      \"frontFace\": " + FaceJson(seepage.frontFace);
  out += ",\n      \"checks\": ";
  if (seepage.checks) out += ChecksJson(*seepage.checks, seepage.options);
  else out += "null, \"checksMessage\": " + JsonString(seepage.checksMessage);
  return out + "}";
}

std::string SeismicJson(const ui::SeismicSummary& seismic) {
  std::string out = "{\"method\": " + JsonString(api::SeismicMethodOf(seismic.options.method).key) +
                    ", \"kh\": " + JsonNumber(seismic.options.kh) +
                    ", \"kv\": " + JsonNumber(seismic.options.kv) + ", \"coefficients\": [";
  for (size_t k = 0; k < seismic.coefficients.size(); ++k) {
    const api::SeismicLayerCoefficient& c = seismic.coefficients[k];
    out += std::string(k ? ",\n      " : "\n      ") + "{\"layer\": " + std::to_string(c.number) +
           ", \"face\": " + (c.side == api::Side::Backfill ? "\"backfill\"" : "\"excavation\"") +
           ", \"psi\": " + JsonNumber(c.psi) + ", \"Kah\": " + JsonNumber(c.Kah) +
           ", \"Kph\": " + JsonNumber(c.Kph) + ", \"staticKah\": " + JsonNumber(c.staticKah) +
           ", \"staticKph\": " + JsonNumber(c.staticKph) + ", \"note\": " + JsonString(c.note) +
           "}";
  }
  return out + "]}";
}

}  // namespace terraq::cli
