#pragma once
// The ground checks of design situations (DesignSituations.h): each set's
// basal heave, deep slip plane and overall stability computed from its own
// design values, as EN 1997-1 2.4.7.3 verifies a GEO limit state, E_d <=
// R_d, with the material factors on the soil (design approaches 1-2 and 3)
// or the resistance factors on the result (design approach 2):
//
//   heave    Bjerrum and Eide's factor with the side shear of the set's
//            design soil (su / gammaCu, gamma / gammaGamma), the surcharge
//            at gammaQ; required: the set's gammaRHeave (1 by default);
//   kranz    the least eta of the deep slip planes from the wall's tip, with
//            the set's design soil and the supports' design forces (times
//            gammaG); required: gammaRe, the set's factor on the earth
//            resistance (EAU 2012: A_d <= A_poss,k / gamma_Ep);
//   overall  Bishop's factor of the critical slip circle below the wall's
//            tip through the set's design soil (tan phi' / gammaPhi, c' /
//            gammaC, su / gammaCu), the surcharge at gammaQ, the anchors'
//            bonds (bond lengths of the plan) holding their design forces;
//            required: gammaRSlip (1 by default: the design strengths
//            carry the safety, EN 1997-1 Table A.14 R1 and R3; R2 of design
//            approach 2 asks 1.1 on the characteristic strengths).
//
// Each check's over-design factor is its factor over the one required
// (1 or more passes). The soil's own weight is not factored (it drives and
// resists a slip alike); the variable actions are taken at gammaQ (the data
// text of a set holds them at gammaQ / gammaG). A construction sequence is
// checked at its deepest excavation, each stage's unplanned excavation
// included.
//
//   std::vector<SituationGround> g = CheckSituationsGround(results, plan, sequence, delta);
//   GoverningGround worst = GoverningGroundOf(g);
//
// Units: those of the data file. Thread safety: pure functions.

#include <optional>
#include <string>
#include <vector>

#include "DesignSituations.h"
#include "GroundLimitStates.h"
#include "SequentialStaging.h"
#include "SlipCircleResult.h"

namespace terraq::design {

// One check of one set: its factor on the set's design values, the factor
// required, or why it was not made.
struct SituationCheck {
  std::optional<double> factor{};  // at most kGroundFactorCap
  double required = 1;
  std::string skipped{};  // why no factor, when none

  // factor / required; empty without a factor.
  std::optional<double> overDesign() const {
    return factor ? std::optional(*factor / required) : std::nullopt;
  }
};

struct SituationGround {
  std::string set;
  bool serviceability = false;  // a serviceability set: not an ultimate check
  SituationCheck heave, kranz, overall;
  std::optional<SlipSearchResult> circle{};  // the overall check's, data file's units
};

// Every set's checks, in the order of `results`: a set not analysed has
// every check skipped with its error.
std::vector<SituationGround> CheckSituationsGround(const std::vector<SituationResult>& results,
                                                   const ExcavationPlan& plan,
                                                   const SequentialPlan* sequence,
                                                   double wallFrictionRatio);

// The set that governs a check: the least over-design factor of the
// ultimate sets.
struct GoverningGroundCheck {
  std::optional<double> overDesign{};
  std::string set{};
};
struct GoverningGround {
  GoverningGroundCheck heave, kranz, overall;
};
GoverningGround GoverningGroundOf(const std::vector<SituationGround>& ground);

}  // namespace terraq::design
