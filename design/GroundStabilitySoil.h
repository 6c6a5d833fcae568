#pragma once
// The inputs of the ground-stability checks (BasalHeave.h,
// DeepSeatedStability.h) from the project: the soil of a data file's
// problem, by the
// rules the analysis reads it with (a layer's values those of its top row,
// sand and silt drained, in effective stress below the backfill's water
// table, clays undrained, in total stress with their undrained strength as
// c and no friction), and the anchors of the anchor design.
//
//   SoilDescriptions s = ReadSoilDescriptions(text);
//   CutFromSoil cut = BasalHeaveCut(s.problems[0], 4.5, 14.0);
//   if (cut.error) ...;
//   BasalHeaveResult r = CheckBasalHeave(cut.input);
//
// Units: those of the problem (SoilDescription.h). Thread safety: pure
// functions.

#include <optional>
#include <string>
#include <vector>

#include "AnchorDesign.h"
#include "BasalHeave.h"
#include "DeepSeatedStability.h"
#include "api/SoilDescription.h"

namespace terraq::design {

struct CutFromSoil {
  BasalHeaveInput input;
  std::optional<std::string> error;
};

// The cut of `soil` excavated to its excavation depth H, `width` B and
// `length` L (0: a long cut) across, which the data file does not hold:
// gamma the mean total unit weight over H, cb the undrained strength of the
// clay layer just below H, cs the mean undrained strength over H (drained
// layers count 0), q the uniform surcharge (the surcharge loads of the
// table are not spread over the column), D the depth below H of the first
// rock layer. Refused when the layer below H is not a clay.
CutFromSoil BasalHeaveCut(const engine::api::SoilDescription& soil, double width, double length);

struct DeepSeatedFromSoil {
  DeepSeatedInput input;
  std::optional<std::string> error;
};

// The deep slip plane's ground from `soil`: its layers (gamma' = gamma -
// gamma_w for a drained layer, gamma for a clay, taken in total stress),
// the backfill's water table, the uniform surcharge; the foot (or point of
// zero shear), the wall friction ratio and the anchors from the design,
// whose data the data file does not hold. Refused where a rock layer lies
// within the depth the planes reach.
DeepSeatedFromSoil DeepSeatedGround(const engine::api::SoilDescription& soil, double footDepth,
                                    double wallFrictionRatio, std::vector<StabilityAnchor> anchors);

// The deep slip plane's anchor of an anchor design's level (AnchorDesign.h,
// metres and kilonewtons): its head's depth, inclination, free and bond
// lengths, and the level's horizontal force per metre of wall taken along
// the tendon, F / cos alpha.
StabilityAnchor DeepSeatedAnchor(const AnchorLevel& level, const AnchorDesign& design);

}  // namespace terraq::design
