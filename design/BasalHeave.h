#pragma once
// Basal heave of a braced or anchored cut in clay: the undrained bearing
// failure of the clay below the excavation level under the weight of the
// retained soil beside the cut, by the two classical methods of the
// technical manual's chapter on ground stability:
//
// - Terzaghi (1943): the soil column of width B1 beside the cut pushes down
//   on the clay at the excavation level, which fails as a footing with
//   Nc = 5.7; the undrained strength on the column's vertical side above the
//   base holds part of the column up:
//       F = Nc cb / (gamma H + q - cs H / B1),  B1 = 0.7 B, or D when a firm
//   stratum D below the base is nearer than 0.7 B (the block cannot reach
//   deeper than the firm stratum, so it is narrower).
// - Bjerrum & Eide (1956): the base of a deep cut fails as a deep footing,
//       F = Nc cb / (gamma H + q),
//   with Nc by H/B and B/L from their chart (BjerrumEideNc).
//
// Each method's factor is given with and without the side-shear term
// cs H / B1 (Terzaghi's own form has it, Bjerrum and Eide's does not; many
// manuals add it to the chart's Nc as well).
//
//   BasalHeaveInput in{.depth = 9, .width = 4.5, .length = 14, .baseStrength = 24,
//                      .unitWeight = 19, .surcharge = 15};
//   BasalHeaveResult r = CheckBasalHeave(in);
//   if (r.error) ...;                  // why the cut has no factor
//   if (r.bjerrumEide.factor) ...;     // empty: the base cannot heave
//
// Units: any consistent F and L (lengths L, strengths and pressures F/L^2,
// unit weight F/L^3). Errors are values: never a NaN, never a negative
// factor. Thread safety: pure functions.

#include <optional>
#include <string>

namespace terraq::design {

constexpr double kTerzaghiNc = 5.7;
constexpr double kTerzaghiBlockRatio = 0.7;  // B1 = B / sqrt 2, rounded as Terzaghi rounds it

struct BasalHeaveInput {
  double depth = 0;         // H, of the cut below the ground, L
  double width = 0;         // B, of the cut between the walls, L
  double length = 0;        // L, of the cut, L, at least B; 0: a long cut (B/L = 0)
  double baseStrength = 0;  // cb, undrained shear strength of the clay below the base, F/L^2
  // cs, the mean undrained strength on the column's side above the base,
  // F/L^2 (0 for sand or fill above the clay); unset: cb.
  std::optional<double> sideStrength{};
  double unitWeight = 0;  // gamma, mean total unit weight of the soil over H, F/L^3
  double surcharge = 0;   // q, on the ground beside the cut, F/L^2
  // D, depth below the base of a firm stratum that the failure cannot enter,
  // L; unset: none within reach.
  std::optional<double> firmStratumDepth{};
};

// One method's factor of safety against heave.
struct HeaveFactor {
  double Nc = 0;
  double resisting = 0;  // Nc cb, F/L^2
  double loading = 0;    // gamma H + q, F/L^2
  double sideShear = 0;  // cs H / B1, F/L^2
  // Nc cb / (gamma H + q - cs H / B1) and Nc cb / (gamma H + q); empty when
  // the denominator is not above 0: the side shear (or nothing) loads the
  // base, which cannot heave.
  std::optional<double> factor, factorWithoutSideShear;
  std::string note;  // why a factor is empty
};

struct BasalHeaveResult {
  double blockWidth = 0;  // B1, L
  HeaveFactor terzaghi, bjerrumEide;
  std::optional<std::string> error;
};

// Why `in` has no factor (a depth, width or base strength not above 0, a
// length below the width, a negative unit weight, surcharge, side strength
// or firm-stratum depth, a value that is not a number), or empty.
std::optional<std::string> BasalHeaveRefusal(const BasalHeaveInput& in);

// Bjerrum and Eide's Nc for a cut of depth/width `depthRatio` (H/B, >= 0)
// and width/length `planRatio` (B/L, 0 for a long cut to 1 for a square):
// (0.84 + 0.16 B/L) times the square cut's Nc, which is interpolated
// linearly in the chart's curve (tabulated in BasalHeave.cpp, its source in
// the technical manual) and constant beyond H/B = 4.
double BjerrumEideNc(double depthRatio, double planRatio);

BasalHeaveResult CheckBasalHeave(const BasalHeaveInput& in);

}  // namespace terraq::design
