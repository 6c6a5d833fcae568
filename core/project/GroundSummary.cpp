#include "project/GroundSummary.h"

#include "SeismicFace.h"
#include "SpringTrial.h"

namespace terraq::ui {

namespace {

namespace api = engine::api;

using design::FourDigits;

std::vector<FacePorePressure> FacePressures(const api::SeepageSolution& solution,
                                            api::WallFace face) {
  std::vector<FacePorePressure> out;
  for (const api::FaceHead& h :
       face == api::WallFace::Retained ? solution.retainedFace : solution.frontFace)
    out.push_back({h.depth, api::PorePressureOnFace(solution, face, h.depth)});
  return out;
}

std::string FactorWords(const char* name, const std::optional<double>& factor, double required,
                        bool passed) {
  std::string out = std::string(name) + " factor ";
  out += factor ? FourDigits(*factor) : "- (nothing lifts)";
  if (required > 0) out += " (at least " + FourDigits(required) + ")";
  return out + (passed ? "" : " FAILS");
}

}  // namespace

SeepageSummary SummarizeSeepage(const api::SeepageSolution& solution,
                                const std::optional<api::HydraulicChecksResult>& checks) {
  SeepageSummary out;
  out.method = solution.method;
  out.exitGradient = solution.exitGradient;
  out.flowRate = solution.flowRate;
  out.retainedFace = FacePressures(solution, api::WallFace::Retained);
  out.frontFace = FacePressures(solution, api::WallFace::Front);
  if (checks) {
    out.checks = checks->checks;
    out.checksMessage = checks->message;
  }
  return out;
}

std::string SeepageLine(const SeepageSummary& seepage) {
  std::string out = std::string(api::SeepageMethodOf(seepage.method).name) + ": exit gradient " +
                    FourDigits(seepage.exitGradient);
  if (seepage.flowRate) out += ", flow rate " + FourDigits(*seepage.flowRate);
  if (!seepage.checks) {
    if (!seepage.checksMessage.empty()) out += "; no hydraulic checks: " + seepage.checksMessage;
    return out;
  }
  const api::HydraulicChecks& c = *seepage.checks;
  out += "; " +
         FactorWords("heave", c.heave.factor, seepage.options.requiredHeaveFactor, c.heave.passed);
  out += ", " + FactorWords("piping", c.piping.factor, seepage.options.requiredPipingFactor,
                            c.piping.passed);
  out += std::string(", HYD ") +
         (c.hyd.totalStressesPassed && c.hyd.seepageForcePassed ? "passed" : "FAILS");
  if (c.uplift) out += ", " + FactorWords("uplift", c.uplift->factor, 0, c.uplift->passed);
  return out;
}

std::string SeismicLine(const SeismicSummary& seismic) {
  std::string out = design::SeismicWords(seismic.options);
  for (size_t k = 0; k < seismic.coefficients.size(); ++k) {
    const api::SeismicLayerCoefficient& c = seismic.coefficients[k];
    const bool backfill = c.side == api::Side::Backfill;
    out += std::string(k == 0 ? ": " : ", ") + "layer " + std::to_string(c.number) +
           (backfill
                ? " backfill Kah " + FourDigits(c.Kah) + " (static " + FourDigits(c.staticKah) + ")"
                : " excavation Kph " + FourDigits(c.Kph) + " (static " + FourDigits(c.staticKph) +
                      ")");
  }
  return out;
}

}  // namespace terraq::ui
