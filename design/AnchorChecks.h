#pragma once
// The ground anchors of a designed wall (AnchorDesign.h), in the data
// file's units: each anchor level the wall's design gives a force to, with
// the ground's inputs the engineer chose, designed against the critical
// plane of the cut.
//
// Where the levels come from:
//  - a construction sequence: each anchor of the plan (struts are props, not
//    anchors) with the largest force the stages' limit equilibria give it,
//    its own spacing and inclination;
//  - a data file's free-earth design: its one anchor row, the spacing and
//    inclination the inputs give (the springs table has neither);
//  - the apparent-pressure design: each support with the larger of its loads
//    by tributary areas and by hinges, the layout's spacing and inclination.
// The forces are the design's characteristic ones: the anchor design of
// Sabatini et al. (1999) is a working-load design whose factors (the bond's
// factor of safety, the tendon's fractions of its strength) act on them.
//
// The cut: H the deepest excavation of the design, φ′ that of the soil
// layer the excavation level lies in (a layer without friction, an
// undrained clay, gives the plane at 45°), and the plane starts at the point
// of zero net pressure below H when the limit equilibrium found one.
//
// Units: those of the data file (lengths L, forces F, forces per length of
// wall and transfer rates F/L), angles in degrees; converted to and from
// the anchor design's metres and kilonewtons with api/Units.h. Thread
// safety: pure functions.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "AnchorDesign.h"
#include "ApparentPressureLoads.h"
#include "DesignReport.h"
#include "SequentialStaging.h"
#include "api/SoilDescription.h"

namespace terraq::design {

// What the engineer gives of the ground and the anchors, in the data
// file's units.
struct AnchorInputs {
  // Qu, F/L: one for every level, or one per level from the top.
  std::vector<double> transferRates{};
  double bondSafetyFactor = 2.0;
  double testFactor = 1.33;
  double lockOffFactor = 1.0;
  std::vector<TendonKind> tendons{TendonKind::Strand};
  // For levels whose design gives none (a data file's anchor row): the
  // horizontal spacing (L) and the inclination below the horizontal.
  std::optional<double> spacing{};
  std::optional<double> inclination{};

  bool operator==(const AnchorInputs&) const = default;
};

// "strand", "bar1035", "bar520", "bar550": the keys of the command's
// --tendons and of the project file.
std::string_view TendonKindKey(TendonKind kind);
std::optional<TendonKind> TendonKindOfKey(std::string_view key);
// "strand, bar1035, bar520 or bar550", for the messages.
std::string TendonKindKeys();

// Why `inputs` cannot design any anchor (a factor or rate out of its
// range, no tendon kind), in the data file's units; empty when they can.
// The spacing and inclination are checked with the level that takes them.
std::string AnchorInputsFault(const AnchorInputs& inputs, int units);

// One level as the wall's design gives it, in the data file's units.
struct AnchorSource {
  std::string name;
  double depth = 0;                                // L below the top
  double force = 0;                                // F/L of wall, horizontal
  std::optional<double> spacing{}, inclination{};  // the level's own; none: the inputs'
};

// The levels of a design: a sequence's (with its plan), or the free-earth
// design's anchor row; none when the design gave no anchor force.
std::vector<AnchorSource> AnchorSourcesOf(const ProblemDesign& design, const SequentialPlan* plan);
// The supports of an apparent-pressure design, "support 1" from the top.
std::vector<AnchorSource> AnchorSourcesOf(const SupportLoads& loads, const AnchorLayout& layout);

// The cut the anchors must reach beyond, in the data file's units.
struct AnchorCut {
  double height = 0;                     // H
  double frictionAngle = 0;              // φ′ at the excavation level, degrees (0: a clay)
  std::optional<double> zeroNetDepth{};  // where the plane starts when below H
  std::string soil;                      // "layer 2", for the reports
};

// The cut of `soil` excavated to `height`, the plane from the point of zero
// net pressure of `le` (when given and designed); nullopt with `error` when
// no soil layer holds the excavation level.
std::optional<AnchorCut> AnchorCutOf(const engine::api::SoilDescription& soil, double height,
                                     const DesignResult* le, std::string& error);
// The cut of a design: a sequence's deepest stage, or the problem's.
std::optional<AnchorCut> AnchorCutOf(const engine::api::SoilDescription& soil,
                                     const ProblemDesign& design, std::string& error);

struct AnchorCheck {
  AnchorLevel level;                   // as designed, in the data file's units
  std::optional<AnchorDesign> design;  // in the data file's units (the tendon's own in mm, kN)
  std::string error;                   // why it is refused
};

struct AnchorChecks {
  int units = 0;
  std::optional<AnchorCut> cut;
  std::vector<AnchorCheck> anchors;
  std::string error;  // why no anchor could be designed; empty otherwise

  // Every anchor designed.
  bool designed() const;
  // "anchor A1: why" for each refusal, the whole design's first.
  std::vector<std::string> refusals() const;
};

// The anchors of `sources` in a cut (nullopt: `cutError` says why there is
// none) with `inputs`, all in the units of `units`.
AnchorChecks CheckAnchors(const std::vector<AnchorSource>& sources,
                          const std::optional<AnchorCut>& cut, const std::string& cutError,
                          const AnchorInputs& inputs, int units);

}  // namespace terraq::design
