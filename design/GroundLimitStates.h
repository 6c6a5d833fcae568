#pragma once
// Basal heave and the deep slip plane as limit states of a designed or
// analysed wall: what the checks of BasalHeave.h and DeepSeatedStability.h
// need beyond the data file's soil (GroundStabilitySoil.h), the cut's plan
// and the anchors' lengths, held in one value (the project file's member
// "excavation", the options of terraq design), and the checks made with the
// wall's foot and the supports' forces the design or analysis found.
//
//   ExcavationPlan plan{.width = 4.5, .anchorFree = {6}, .anchorBond = {5}};
//   GroundLimits g = CheckGroundLimits(soil, plan, footDepth, 0.5,
//                                      {{.depth = 1.5, .inclination = 15, .force = 150}});
//   if (g.heave) HeaveLimitValue(*g.heave) ...
//
// Units: those of the data file's problem (SoilDescription.h): forces per
// unit length of wall, lengths and depths below the top of the wall, which
// the checks take as the ground at the wall. Thread safety: pure functions.

#include <optional>
#include <string>
#include <vector>

#include "BasalHeave.h"
#include "DeepSeatedStability.h"
#include "SlipCircleResult.h"
#include "api/SoilDescription.h"

namespace terraq::design {

// What the data file does not hold of the cut and its anchors.
struct ExcavationPlan {
  double width = 0;   // B between the walls, L; 0: basal heave is not checked
  double length = 0;  // L of the cut, L, at least B; 0: a long cut
  // D below the excavation level of a stratum the heave cannot enter, L;
  // unset: the first rock layer of the data file, if any.
  std::optional<double> firmStratumDepth{};
  // Per anchor, top down (struts are not anchors), L. A free length not
  // given is the construction sequence's own; a bond length must be given
  // for the deep slip plane to be checked.
  std::vector<double> anchorFree{}, anchorBond{};

  bool operator==(const ExcavationPlan&) const = default;
};

// Why `plan` cannot be used ("the excavation width must be ..."), or empty:
// values that are not finite, a width or a firm stratum below 0, a length
// below the width, an anchor's free length below 0 or bond length not
// above 0.
std::string ExcavationPlanFault(const ExcavationPlan& plan);

// An anchor as the design or analysis found it: the head's depth, L, its
// inclination below horizontal, degrees, and its horizontal force per unit
// length of wall, F/L (its magnitude is taken).
struct GroundAnchor {
  std::string name{};
  double depth = 0;
  double inclination = 0;
  double force = 0;
  std::optional<double> freeLength{};  // the sequence's own, when it has one
};

struct GroundLimits {
  std::optional<BasalHeaveResult> heave;  // empty: not checked, `heaveSkipped` says why
  BasalHeaveInput heaveInput;             // the cut checked
  std::string heaveSkipped;
  std::optional<DeepSeatedResult> deepSeated;  // empty: `deepSkipped` says why
  std::string deepSkipped;
  std::vector<StabilityAnchor> anchors;  // as the deep slip plane takes them
};

// Both checks of `soil` excavated to its excavation depth, the deep slip
// plane from `footDepth` (the wall's foot, or the point of zero shear) with
// the wall friction `wallFrictionRatio` (delta_a / phi'). Heave is skipped
// without a width, the deep slip plane without anchors or without a bond
// length for each.
GroundLimits CheckGroundLimits(const engine::api::SoilDescription& soil, const ExcavationPlan& plan,
                               double footDepth, double wallFrictionRatio,
                               const std::vector<GroundAnchor>& anchors);

// The largest factor a study reports: a base that cannot heave, or a block
// the anchors cannot make slide, has no factor, and reports this.
constexpr double kGroundFactorCap = 100.0;

// A study's "heave": Bjerrum and Eide's factor with the side shear, at most
// kGroundFactorCap; empty when the cut was refused.
std::optional<double> HeaveLimitValue(const BasalHeaveResult& heave);
// A study's "kranz": the least eta over the planes (kGroundFactorCap when
// none has a factor); empty when the check was refused.
std::optional<double> KranzLimitValue(const DeepSeatedResult& deep);
// A study's "slip": the critical circle's factor, at most kGroundFactorCap;
// empty when the search found no circle.
std::optional<double> SlipLimitValue(const SlipSearchResult& search);

}  // namespace terraq::design
