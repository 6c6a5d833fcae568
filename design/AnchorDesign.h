#pragma once
// Ground-anchor design for an anchored wall (Sabatini et al. 1999): for
// each anchor level, from the horizontal force per unit length of wall the
// analysis gives it, the free (unbonded) length, the bond length, the
// tendon and its test and lock-off loads.
//
// Geometry: depths below the top of the wall (the retained surface, taken
// level), distances behind the wall's face horizontally. An anchor at depth
// d inclined α below the horizontal reaches, at a distance s along it, the
// point x = s cos α behind the face at depth d + s sin α.
//  - Free length: the largest of the minimum free length (4.5 m), the
//    distance along the anchor to where the bond zone begins at least
//    max(1.5 m, H/5) horizontally beyond the critical surface (and stays
//    beyond it), and, for an anchor starting shallower than the minimum
//    cover, the distance to where the bond zone has 4.5 m of ground over
//    it. The critical surface is by default the plane rising at 45° + φ′/2
//    from depth z0 at the wall (the excavation level H or the point of zero
//    net pressure below it) to the surface; a caller may give another
//    (a slip circle) as the horizontal distance behind the face at each
//    depth.
//  - Bond length: Lb = T · FS / Q_u from the anchor's design load T along
//    it, the factor of safety FS and the ultimate load-transfer rate Q_u of
//    the ground, at least the minimum bond length (4.5 m). Beyond about
//    12 m the load-transfer rate stops growing with length: a longer bond
//    length is noted, not relied on silently.
//  - Tendon: the weakest tendon of the allowed kinds (AnchorTendons.h) that
//    holds the design load T, the test load (test factor × T: 1.33 for the
//    proof and performance tests of permanent anchors, up to 1.5 where the
//    project asks) and the lock-off load (lock-off factor × T: 0.75 to 1.0
//    in practice).
//  - The vertical component T sin α per anchor (F tan α per unit length of
//    wall) compresses the wall below the anchor. The staged analysis
//    already applies it from each support's inclination
//    (api/Sequential.h), and WallAxialForces (WallAxialForce.h) reads it
//    from the analysis' axial forces: it is reported here, not added again.
//
// Units: m, kN, kN/m, degrees. A caller in English units converts with
// api/Units.h. Thread safety: pure functions; a critical surface function
// is called from the calling thread only.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "AnchorTendons.h"

namespace terraq::design {

// One anchor level as the wall's analysis gives it.
struct AnchorLevel {
  std::string name{};       // for the messages and reports
  double depth = 0;         // m below the top, 0 ≤ d < H
  double inclination = 15;  // degrees below the horizontal, 0 to 45
  double spacing = 0;       // m, horizontal, between the anchors of the level, > 0
  double force = 0;         // kN/m of wall, horizontal, > 0
  double transferRate = 0;  // kN/m, ultimate load transfer along the bond, > 0
};

// The critical surface the bond zone must lie beyond: the horizontal
// distance (m) behind the wall's face at a depth (m); -infinity where there
// is none (below its toe). It must not give NaN.
using CriticalSurface = std::function<double(double depth)>;

struct AnchoredCut {
  double height = 0;          // H, m: the excavation depth, > 0
  double frictionAngle = 30;  // φ′ of the retained soil, degrees, 0 < φ′ < 90
  // z0, m: where the plane starts at the wall, H or deeper (the point of
  // zero net pressure); none: H.
  std::optional<double> planeDepth{};
  // Another critical surface in place of the plane.
  CriticalSurface surface{};
};

struct AnchorRules {
  double bondSafetyFactor = 2.0;  // FS on the ultimate transfer rate, ≥ 1
  double testFactor = 1.33;       // test load / design load, 1 to 2
  double lockOffFactor = 1.0;     // lock-off load / design load, > 0, ≤ testFactor
  double minFreeLength = 4.5;     // m
  double minBondLength = 4.5;     // m
  double maxEffectiveBond = 12;   // m, where the transfer rate stops growing
  double minCover = 4.5;          // m of ground over the bond zone
  std::vector<TendonKind> tendons{TendonKind::Strand};  // the kinds to choose from
  // The units system the messages print their values in (engine/api/Units.h
  // codes; 2: metres and kilonewtons), that of the engineer's data file.
  int messageUnits = 2;
};

// What governs the free length.
enum class FreeLengthRule { Minimum, BeyondSurface, Cover };

struct AnchorDesign {
  std::string name;
  double designLoad = 0;         // T, kN along one anchor: F s / cos α
  double verticalLoad = 0;       // kN per anchor, T sin α, on the wall
  double verticalPerLength = 0;  // kN/m of wall, F tan α
  double surfaceDistance = 0;    // m along the anchor to the critical surface (0: starts beyond)
  double clearance = 0;          // m, max(1.5, H/5), horizontally beyond the surface
  double freeLength = 0;         // m
  FreeLengthRule freeRule = FreeLengthRule::Minimum;
  double bondLength = 0;           // m
  double totalLength = 0;          // m, free + bond
  double bondTop = 0;              // m, depth where the bond zone begins
  Tendon tendon;                   // the weakest that holds the loads
  double testLoad = 0;             // kN
  double lockOffLoad = 0;          // kN
  double utilisation = 0;          // of the tendon, TendonUtilisation
  std::vector<std::string> notes;  // what the engineer should look at
};

// The load along one anchor, F·s/cos α, from the horizontal force per unit
// length of wall F, the horizontal spacing s and the inclination α in
// degrees below the horizontal (any consistent force and length units).
double AnchorLoadAlong(double force, double spacing, double inclination);

// The design of one level; nullopt with `error` for input out of range or
// a load no allowed tendon holds.
std::optional<AnchorDesign> DesignAnchor(const AnchorLevel& level, const AnchoredCut& cut,
                                         const AnchorRules& rules, std::string& error);

// Every level, in order; the error names the level.
std::optional<std::vector<AnchorDesign>> DesignAnchors(const std::vector<AnchorLevel>& levels,
                                                       const AnchoredCut& cut,
                                                       const AnchorRules& rules,
                                                       std::string& error);

}  // namespace terraq::design
