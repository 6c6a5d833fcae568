#pragma once
// terraq design and the ground around the wall: basal heave of the cut, the
// anchored wall's deep slip plane (design/GroundLimitStates.h) and the
// overall stability (design/DesignedGround.h), from
// the cut's plan and the anchors' lengths that the project's member
// "excavation" or the options --excavation-width, --excavation-length,
// --firm-stratum, --anchor-free and --anchor-bond give (an option over the
// member's value). A project with neither prints nothing more.

#include <optional>
#include <string>
#include <string_view>

#include "DesignReport.h"
#include "DesignedGround.h"
#include "SequentialStaging.h"
#include "api/SoilDescription.h"

namespace terraq::cli {

// The plan's values the options give, and the plan in use once the
// project's member is read.
struct GroundRequest {
  design::ExcavationPlan options;
  bool widthGiven = false, lengthGiven = false, firmGiven = false;
  bool freeGiven = false, bondGiven = false;
  // In use: set when the member or an option gives any of it.
  std::optional<design::ExcavationPlan> plan;
  // The construction sequence's supports: the anchors' inclinations, free
  // lengths, and which supports are struts.
  std::optional<design::SequentialPlan> sequence;
};

// Takes the option `name` into `ground`: false when it is not one of these.
// `fault` is set when its value is not a list of numbers.
bool TakeGroundOption(std::string_view name, const std::string& value, GroundRequest& ground,
                      std::string& fault);

// The member's plan with the options over it, and the sequence; why the
// plan cannot be used, or empty.
std::string TakeProjectExcavation(const std::optional<design::ExcavationPlan>& member,
                                  const std::optional<design::SequentialPlan>& sequence,
                                  GroundRequest& ground);

// The "ground" lines of problem `p`, designed from `soil` with the anchor
// design `anchors` (none without the project's anchors); empty without a
// plan.
std::string GroundLines(const design::ProblemDesign& p, const engine::api::SoilDescription& soil,
                        const design::DesignRequest& request, const GroundRequest& ground,
                        const design::AnchorChecks* anchors);
// ",\n   \"basalHeave\": {...}, \"deepSeated\": {...}, \"overallStability\": {...}",
// or empty without a plan.
std::string GroundLimitsJson(const design::ProblemDesign& p,
                             const engine::api::SoilDescription& soil,
                             const design::DesignRequest& request, const GroundRequest& ground,
                             const design::AnchorChecks* anchors);

}  // namespace terraq::cli
