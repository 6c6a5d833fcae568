#pragma once
// The whole design of one problem of a data file, as terraq design and the
// Design window show it: the limit-equilibrium design, the spring model's
// strength-reduction factor and the shortest wall, and their text.
//
// Units: those of the data file. Thread safety: no shared state.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "LimitEquilibrium.h"
#include "PartialFactors.h"
#include "SpringModel.h"
#include "api/SoilDescription.h"

namespace terraq::design {

struct DesignRequest {
  std::optional<Method> method;  // empty: free earth with an anchor row, else fixed earth
  FsMethod fsMethod = FsMethod::Strength;
  double fs = 1.0;  // also the strength reduction the shortest wall must reach
  std::optional<double> embedmentFactor;
  double resolution = 0;  // L; 0: the default of the units
  HoldCriteria limits;
};

struct ProblemDesign {
  std::string title;
  int units = 0;
  DesignResult le;
  bool springRun = false;  // false: no soil layers to reduce or search in
  SpringFactor spring;
  bool shortestRun = false;
  ShortestWall shortest;
  std::string skipped;  // why the spring model was not used

  // Every part designed (notes aside).
  bool designed() const { return !le.error && !spring.error && !(shortestRun && shortest.error); }
  // The first error of the parts; empty when designed.
  std::string errorMessage() const;
};

// The design of problem `index` of `dataText`, whose soil is `soil`.
ProblemDesign DesignProblem(std::string_view dataText, int index,
                            const engine::api::SoilDescription& soil, const DesignRequest& request);

// An embedment design by a set of partial factors: the data text with the
// set's design soil and actions written in (ApplyFactorSet, with the
// unplanned excavation where the set calls for it), and the request with
// the passive resistance divided by gammaG·gammaRe, the factor of safety on
// the passive pressure. `note` is what the design is headed with: the set,
// the factor and what the set could not act on.
struct ApproachDesign {
  std::string text;
  DesignRequest request;
  std::string note;
};
// Nullopt with `error` when the set cannot be applied to the data text or
// gammaG·gammaRe is below 1 (the passive resistance would be increased).
std::optional<ApproachDesign> PrepareApproachDesign(std::string_view dataText, const FactorSet& set,
                                                    DesignRequest request, std::string& error);

// The units of a problem's values: "in", "lb/in", "lb-in/in", the
// analysis' "lb-in" and "lb/in2" for English; "m", "kN/m", "kN-m/m", "kN-m"
// and "kN/m2" for SI.
struct DesignUnits {
  std::string length, force, moment, wallMoment, pressure;
};
DesignUnits DesignUnitsOf(int unitsCode);

// The design as lines of text, numbered from `number`, four significant
// digits.
std::string DesignText(const ProblemDesign& design, int number);

}  // namespace terraq::design
