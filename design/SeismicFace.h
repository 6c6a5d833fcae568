#pragma once
// The faces of a wall in a limit-equilibrium design while the ground shakes:
// pseudo-static coefficients (api/Seismic.h) in place of the static ones,
// layer by layer, so that the active pressure behind the wall rises and the
// passive resistance in front falls as the seismic wedge gives them.
//
// Each frictional layer of a face takes the horizontal component of
// (1 − kv) K_AE (active) and (1 − kv) K_PE (passive) of the chosen wedge
// method at its friction angle (tan φ'/F under the strength form), with the
// face's wall friction (δ/φ' of its FaceTheory) and, behind the wall, the
// backfill slope. Applied layer by layer, the seismic increment follows the
// static pressure's shape (its resultant at a third of a uniform layer's
// height); the increment methods that place it higher (Seed-Whitman, Wood)
// give a thrust for a wall of one height, not a pressure per layer, and are
// refused here. Under EN 1998-5 a layer below its face's water table takes
// the seismic angle of water moving with the soil, tan ψ = γ/(γ − γw)
// kh/(1 ∓ kv) — for the whole layer when the table cuts it, the adverse
// sense on both faces. Undrained clays (φ' = 0) have no seismic wedge and
// keep their static pressures, with a note. Free water standing in the
// excavation loses Westergaard's hydrodynamic pressure from the front face.
//
// Units: those of the data file. Thread safety: pure functions.

#include <optional>
#include <string>

#include "FaceTheory.h"
#include "api/SeismicOptions.h"

namespace terraq::design {

using SeismicChoice = engine::api::SeismicOptions;

// The coefficients of one face: the static theory's, or, with `seismic`,
// the shaking's (NaN for a layer that keeps the generator's).
FaceCoefficients FaceCoefficientsFor(const engine::api::SoilDescription& soil,
                                     engine::api::Side side, const FaceTheory& theory,
                                     const std::optional<SeismicChoice>& seismic,
                                     double strengthFactor);

// Why `seismic` cannot design `soil` with the faces' theories (a method that
// gives no pressure per layer, a layer whose ground cannot stand at kh),
// each with the face and the layer's number, and its notes.
FaceCheck CheckSeismic(const engine::api::SoilDescription& soil, const FaceTheory& backfill,
                       const FaceTheory& excavation, const SeismicChoice& seismic);

// "Mononobe-Okabe with kh 0.15, kv 0.05".
std::string SeismicWords(const SeismicChoice& seismic);

// The hydrodynamic pressure (F/L^2) that free water standing in the
// excavation above its floor takes off the front face at depth `z` during
// the shaking (Westergaard): 0 below the excavation level, above the water
// and without the water pressure switch.
double StandingWaterRelief(const engine::api::SoilDescription& soil, const SeismicChoice& seismic,
                           double z);

}  // namespace terraq::design
