#pragma once
// How much the choice of pseudo-static method matters for one wall: the
// static and seismic coefficients of every layer on both faces, and the
// total active thrust on the retained height with its point of action by
// each method of api/Seismic.h, with the largest, the smallest and their
// ratio. The calculation package lays it out (its chapter "Seismic earth
// pressure"); the numbers are made here, once.
//
// The thrust on the retained height H (the excavation depth) behind the
// wall, horizontal, per unit length of wall, from the effective vertical
// stress σ'v(z) of api::PressureAt (the uniform surcharge included, water
// pressure apart):
//  - Mononobe-Okabe and EN 1998-5 Annex E: ∫ Kah,E σ'v dz with each layer's
//    seismic coefficient (SeismicFace.h, as the design takes it), the static
//    part ∫ Kah σ'v dz (Coulomb at the same δ) at its own centroid and the
//    increment at the height the method puts it (0.6 H, 0.5 H);
//  - Seed-Whitman: the same static part and ΔP = 3/4 kh S at 0.6 H;
//  - Wood (a rigid wall): at rest ∫ (1 − sin φ') σ'v dz and ΔP = 2 kh S at
//    0.5 H;
// where S = ∫ (σ'v − σ'v(0)) dz is ½ γ H² of a uniform soil (the soil's own
// weight, the surcharge left out). Seed-Whitman and Wood take no vertical
// acceleration and Wood a smooth wall: they are taken with kv = 0 (δ = 0),
// said in `notes`. A layer without a friction angle (an undrained clay) has
// no seismic wedge: max(0, σv − 2 su) on both. The cohesion c' of a drained
// layer is left out of the thrusts (on the safe side), said in `notes`.
//
// Units: those of the data file (F/L^2 pressures, F/L thrusts). Thread
// safety: pure functions.

#include <optional>
#include <string>
#include <vector>

#include "api/SeismicOptions.h"
#include "api/SoilDescription.h"

namespace terraq::design {

// One layer's horizontal coefficients, (1 − kv) folded into the seismic ones.
struct SeismicLayerSpread {
  int number = 0;                        // of the layer in the data file
  double phi = 0;                        // φ', degrees
  double top = 0;                        // L
  double staticKah = 0, seismicKah = 0;  // behind the wall
  double staticKph = 0, seismicKph = 0;  // in front, below the excavation level
  std::string note;                      // why the layer keeps its static coefficients
};

struct SeismicThrust {
  engine::api::SeismicMethod method{};
  double staticThrust = 0;  // F/L
  double thrust = 0;        // F/L, static and increment
  double height = 0;        // L, of the total's point of action above the excavation level
  std::string error;        // why the method gives no thrust here; the numbers are then 0
};

struct SeismicSpread {
  engine::api::SeismicOptions seismic;
  double retainedHeight = 0;                           // L
  double activeDeltaRatio = 0, passiveDeltaRatio = 0;  // δ/φ' taken on each face
  // The method the layers' seismic coefficients are of: the chosen one, or
  // Mononobe-Okabe when it gives a thrust only (Seed-Whitman, Wood).
  engine::api::SeismicMethod layerMethod{};
  std::vector<SeismicLayerSpread> layers;
  std::vector<SeismicThrust> thrusts;       // every method of api::SeismicMethods, in order
  std::optional<size_t> largest, smallest;  // into `thrusts`, of those without error
  double ratio = 0;                         // largest / smallest thrust
  // The active pressure on the retained height against depth, (depth,
  // pressure): static, and seismic by `layerMethod`.
  std::vector<std::pair<double, double>> staticPressure, seismicPressure;
  std::vector<std::string> notes;
  std::string error;  // nothing to compare (no soil, no retained height); the rest is unset
};

// The spread for `soil` shaking as `seismic` says, the wall friction δ/φ'
// behind the wall `activeDeltaRatio` and in front `passiveDeltaRatio`.
SeismicSpread SpreadOfSeismicMethods(const engine::api::SoilDescription& soil,
                                     const engine::api::SeismicOptions& seismic,
                                     double activeDeltaRatio, double passiveDeltaRatio);

}  // namespace terraq::design
