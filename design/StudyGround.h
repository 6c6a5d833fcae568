#pragma once
// Basal heave and the deep slip plane as outputs of a study
// (GroundLimitStates.h): for a project whose cut's plan is known, every
// point reports
//
//   heave   Bjerrum and Eide's factor with the side shear (BasalHeave.h),
//           when the plan has a width;
//   kranz   the least eta of the deep slip planes (DeepSeatedStability.h),
//           when it has the anchors' bond lengths;
//   slip    the critical slip circle's factor (OverallStability.h) below
//           the wall's tip, always; the anchors' bonds resist when the plan
//           has their bond lengths, each with its force along the tendon as
//           its capacity;
//
// each at most kGroundFactorCap (a base that cannot heave, a block the
// anchors cannot make slide). The point's soil is that of its data text
// with the values set; a construction sequence heaves at its deepest
// excavation. The deep slip plane runs from the wall's tip with the point's
// support forces: a sequence's anchors (its struts left out) each with its
// largest force over the stages, inclination and free length; the data
// file's own supports as horizontal anchors, their force per wall unit of
// width Wa. The wall friction is the backfill theory's delta/phi'.
//
// A full search for the critical circle takes some 30 ms, too long for
// thousands of samples: the data file as it is is searched on the default
// grid, and every sample by the pattern search alone from that circle
// (OverallStability.h), which follows its valley wherever the sample's soil
// moves it. Both are deterministic.
//
// Units: those of the data file. Thread safety: pure functions.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "GroundLimitStates.h"
#include "SequentialStaging.h"
#include "SoilModel.h"
#include "StudyRun.h"

namespace terraq::design {

// "heave" and "kranz", those `plan` gives, and "slip".
std::vector<std::string> GroundOutputNames(const ExcavationPlan& plan);

// The ground outputs of one point, in GroundOutputNames' order, appended
// to `values`; why the point has none, or empty. `appliedText` is the
// point's data text, `worst` its (first) problem's outputs. `baseCircle`:
// the base case's critical circle a sample searches from (none: the
// default search); `critical`, when given, receives this point's.
std::string GroundOutputValues(const ExcavationPlan& plan, std::string_view appliedText,
                               const SoilModel& soil, const ProblemOutputs& worst,
                               const SequentialPlan* sequence, std::vector<double>& values,
                               const SlipCircleGeometry* baseCircle = nullptr,
                               std::optional<SlipCircleGeometry>* critical = nullptr);

}  // namespace terraq::design
