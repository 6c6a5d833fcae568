#pragma once
// The pseudo-static coefficients of every soil layer on both faces of the
// wall while the ground shakes (SeismicOptions.h): the one computation the
// engine's generated earth pressure and subgrade springs and the
// limit-equilibrium design share.
//
// A layer takes the horizontal components of (1 − kv) K_AE and (1 − kv) K_PE
// of the chosen wedge method (Mononobe-Okabe or EN 1998-5 Annex E) at its
// friction angle (reduced in its tangent by a strength factor), with the
// face's wall friction (WallFrictionOf, EarthPressureFaces.h) and, behind
// the wall, the backfill slope. Under EN 1998-5 a drained layer reaching
// below its face's water table takes the seismic angle of water moving with
// the soil, tan ψ = γ/(γ − γw) kh/(1 ∓ kv), for the whole layer. A layer
// without friction (φ' = 0, an undrained clay) has no seismic wedge and keeps
// its static coefficients, with a note. The increment methods (Seed-Whitman,
// Wood) give the thrust of a wall of one height, not a coefficient per
// layer: CheckSeismicOptions refuses them, and RetainedHeightIncrement gives
// their pressure on the height the wall retains.
//
// Units: those of the data file; angles in degrees.
// Thread safety: pure functions.

#include <optional>
#include <string>
#include <vector>

#include "EarthPressureFaces.h"
#include "SeismicOptions.h"
#include "SoilDescription.h"

namespace terraq::engine::api {

// Whether `method` gives a coefficient per layer (the wedge methods).
bool SeismicPerLayer(SeismicMethod method);

// The seismic inputs of `layer` on `side` at the friction angle `phi` with
// the wall friction `delta`.
SeismicInputs SeismicInputsOf(const SoilDescription& soil, const SoilLayer& layer, Side side,
                              const SeismicOptions& seismic, double phi, double delta);

// The coefficients of one layer on one face at the friction angle divided
// (in its tangent) by `strengthFactor`. `active` and `passive` say why the
// method has none (φ' = 0 layers are not asked: both are unset); the
// coefficient then keeps the static one of `faces` (Kah = staticKah).
struct SeismicFaceLayer {
  SeismicLayerCoefficient coefficient;
  std::optional<SeismicResult> active, passive;
};
SeismicFaceLayer SeismicLayerOf(const SoilDescription& soil, const SoilLayer& layer, Side side,
                                const EarthPressureOptions& faces, const SeismicOptions& seismic,
                                double strengthFactor);

// Every layer of `soil` on both faces, backfill first, in layer order.
std::vector<SeismicLayerCoefficient> SeismicCoefficientsOf(const SoilDescription& soil,
                                                           const EarthPressureOptions& faces,
                                                           const SeismicOptions& seismic,
                                                           double strengthFactor = 1.0);

// Why `seismic` cannot be taken on `soil` with the faces' theories at the
// layers' strength divided by `strengthFactor` (kh or kv out of range, a
// method without a coefficient per layer, a layer whose ground cannot stand
// at kh: "layer 2, backfill: Mononobe-Okabe has no solution ..."), and the
// notes (a layer keeping its static pressures, a caveat of the method),
// each said once.
EarthPressureCheck CheckSeismicOptions(const SoilDescription& soil,
                                       const EarthPressureOptions& faces,
                                       const SeismicOptions& seismic, double strengthFactor = 1.0);

// The increment methods' seismic pressure on the retained height H (the
// excavation depth): the thrust ½ γ H² ΔK of the method (Seed-Whitman
// ΔK = ¾ kh at 0.6 H above the excavation level, Wood 2 kh at 0.5 H), γ the
// retained layers' total unit weight averaged over H, spread as the linear
// pressure from `top` at the surface to `bottom` at H whose resultant and
// point of action are the method's: with S = 2 P / H and a the height of
// action over H (1/3 to 2/3), top = S (3a − 1), bottom = S (2 − 3a).
struct SeismicIncrement {
  double height = 0;           // H, L
  double top = 0, bottom = 0;  // F/L^2
  double thrust = 0;           // F/L, the resultant
  double at(double z) const {  // at depth z; 0 below H
    return z >= 0.0 && z <= height && height > 0.0 ? top + (bottom - top) * z / height : 0.0;
  }
};
struct SeismicIncrementResult {
  std::optional<SeismicIncrement> value;
  std::string message;  // why there is none: "layer 2, backfill: ..." or the options'
};
// Precondition: `seismic.method` is not SeismicPerLayer. Each frictional
// layer retained above H is checked against the method (kv = 0, Wood's
// smooth vertical wall under level ground, with the backfill's wall
// friction of `faces`).
SeismicIncrementResult RetainedHeightIncrement(const SoilDescription& soil,
                                               const EarthPressureOptions& faces,
                                               const SeismicOptions& seismic);

// The hydrodynamic pressure (F/L^2, Westergaard) that free water standing in
// front of the wall, surface at depth `waterSurface`, takes off the front
// face at depth `z` above the excavation level `excavationDepth` while the
// ground shakes; 0 below the excavation level and above the water.
double StandingWaterRelief(double kh, double waterUnitWeight, double excavationDepth,
                           double waterSurface, double z);
// The same for `soil`'s water in front; 0 without the water-pressure switch.
double StandingWaterRelief(const SoilDescription& soil, const SeismicOptions& seismic, double z);

}  // namespace terraq::engine::api
