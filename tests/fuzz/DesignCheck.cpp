#include "DesignCheck.h"

#include <algorithm>
#include <cmath>

#include "DesignReport.h"
#include "WallText.h"
#include "api/Analysis.h"
#include "api/EngineRoute.h"
#include "api/SoilDescription.h"

namespace terraq::fuzz {

namespace {

// Problems beyond the first few add time, not new paths.
constexpr size_t kProblemsChecked = 2;

bool finiteNonNegative(double value) { return std::isfinite(value) && value >= 0; }

}  // namespace

std::string CheckDesign(std::string_view dataText) {
  namespace api = engine::api;
  const api::SoilDescriptions soil = engine::ReadSoilDescriptions(dataText);
  const size_t problems = std::min(soil.problems.size(), kProblemsChecked);
  for (size_t k = 0; k < problems; ++k) {
    const int index = static_cast<int>(k);
    const std::string which = "problem " + std::to_string(k + 1) + ": ";
    const design::ProblemDesign d =
        design::DesignProblem(dataText, index, soil.problems[k], design::DesignRequest{});
    if (design::DesignText(d, index + 1).empty()) return which + "no design text";
    if (!d.le.error) {
      for (double v : {d.le.D0, d.le.Dfs, d.le.D, d.le.tipDepth})
        if (!finiteNonNegative(v)) return which + "an embedment that is not a length";
      if (!std::isfinite(d.le.maxMoment) || !std::isfinite(d.le.anchorForce))
        return which + "a moment or anchor force that is not a number";
    }
    if (d.springRun && d.spring.factor &&
        !(*d.spring.factor > 0 && std::isfinite(*d.spring.factor)))
      return which + "a strength-reduction factor that is not a positive number";

    // The problem of a data file the analysis reads to its end, written back
    // with its own wall, is a data file the analysis reads as well. (A file
    // that goes wrong after a problem may stop the rewriter, which reads the
    // problem's last record too: that is an answer, with its message.)
    if (soil.error) continue;
    std::string error;
    const std::optional<design::WallText> wall = design::WallText::Parse(dataText, index, error);
    if (!wall) return which + "read by the analysis but not by the wall rewriter: " + error;
    if (wall->increments() <= wall->deepestInnerNode()) continue;
    const api::AnalysisResult again =
        engine::Analyse(wall->withWall(wall->increments(), wall->incrementLength()));
    if (again.error && again.error->kind == api::AnalysisError::Kind::Input)
      return which + "the rewritten wall does not read: " + again.error->message;
  }
  return {};
}

}  // namespace terraq::fuzz
