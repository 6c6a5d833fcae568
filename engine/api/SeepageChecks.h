#pragma once
// The hydraulic checks of the soil in front of a wall under seepage, each
// with its published source, read from any method's solution (Seepage.h):
//
// - Heave (Terzaghi 1943, Theoretical Soil Mechanics): the prism of
//   soil in front of the wall from the excavation level to the tip, of
//   width D/2 (D the embedment), is lifted by the mean excess head ha on
//   its base: factor F = W' / U, W' the prism's submerged weight, U = γw ha
//   D/2.
// - HYD (EN 1997-1:2004, 2.4.7.5 and Annex A.5, Table A.17), on the same
//   prism: the design total pore pressure on its base against the design
//   total vertical stress there, u_dst;d <= σ_stb;d (2.9a), and the design
//   seepage force in it against its design submerged weight, S_dst;d <=
//   G'_stb;d (2.9b). The standard recommends γG;dst = 1.35 and
//   γG;stb = 0.9; both are inputs.
// - Piping (Terzaghi 1943; Harr 1962, Groundwater and Seepage): the exit
//   gradient against the critical gradient γ'/γw of the soil it leaves,
//   factor F = i_c / i_exit, to be at least a factor the engineer sets.
// - Uplift, UPL (EN 1997-1:2004, 2.4.7.4 and Annex A.4, Table A.15): a layer
//   of low permeability in front, under the pore pressure at its base next
//   to the wall (where the flow makes it largest), against the total weight
//   above that base: V_dst;d = γG;dst u <= G_stb;d = γG;stb σv (recommended
//   γG;dst = 1.0, γG;stb = 0.9; inputs; no shearing resistance counted).
//
// Units: those of the problem (F/L² stresses, F/L per unit length of wall
// for the prism's forces). A layer's unit weight is its total one; above
// the front water table it is taken as is, below it buoyant by γw. A factor
// is stabilising over destabilising, missing when nothing destabilises
// (no upward flow). Errors are values, never NaN. Thread safety: pure.

#include <optional>
#include <string>

#include "Seepage.h"

namespace terraq::engine::api {

struct HydraulicCheckOptions {
  double hydDestabilising = 1.35;     // γG;dst of HYD
  double hydStabilising = 0.9;        // γG;stb of HYD
  double uplDestabilising = 1.0;      // γG;dst of UPL
  double uplStabilising = 0.9;        // γG;stb of UPL
  double requiredHeaveFactor = 1.5;   // the engineer's, on Terzaghi's factor
  double requiredPipingFactor = 1.5;  // the engineer's, on i_c / i_exit
  // The index (into SeepageProblem::layers) of a layer of low permeability
  // in front to check against uplift; none: no uplift check.
  std::optional<size_t> upliftLayer;
  bool operator==(const HydraulicCheckOptions&) const = default;
};

struct HeaveCheck {
  double embedment = 0, width = 0;  // L: D and D/2
  double meanExcessHead = 0;        // L, ha, over the prism's base
  double submergedWeight = 0;       // F/L, W'
  double uplift = 0;                // F/L, U
  std::optional<double> factor;     // W' / U
  bool passed = true;
};

struct HydCheck {
  double porePressure = 0, totalStress = 0;  // F/L², mean on the prism's base, characteristic
  double destabilisingPressure = 0;          // u_dst;d
  double stabilisingStress = 0;              // σ_stb;d
  double seepageForce = 0, stabilisingWeight = 0;  // F/L, S_dst;d and G'_stb;d
  bool totalStressesPassed = true;                 // (2.9a)
  bool seepageForcePassed = true;                  // (2.9b)
};

struct PipingCheck {
  double exitGradient = 0, criticalGradient = 0;
  std::optional<double> factor;
  bool passed = true;
};

struct UpliftCheck {
  double depth = 0;                           // L, the base of the checked layer
  double porePressure = 0;                    // F/L², characteristic
  double totalStress = 0;                     // F/L², characteristic, of everything above
  double destabilising = 0, stabilising = 0;  // F/L², V_dst;d and G_stb;d per unit area
  std::optional<double> factor;               // G_stb;d / V_dst;d
  bool passed = true;
};

struct HydraulicChecks {
  HeaveCheck heave;
  HydCheck hyd;
  PipingCheck piping;
  std::optional<UpliftCheck> uplift;  // when a layer was named
};

struct HydraulicChecksResult {
  std::optional<HydraulicChecks> checks;
  std::string message;  // why there are none
};

// The checks of `problem` under `solution` (which SolveSeepage made of the
// same problem): refused when a layer in front is lighter than water, a
// factor is not positive or the uplift layer is not in front.
HydraulicChecksResult CheckHydraulicFailure(const SeepageProblem& problem,
                                            const SeepageSolution& solution,
                                            const HydraulicCheckOptions& options = {});

}  // namespace terraq::engine::api
