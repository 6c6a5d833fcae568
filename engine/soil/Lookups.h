#pragma once
// Values of the soil profile at a depth, as the generators ask for them.
// Depths x are measured from the excavation level unless stated.
//
// The strength lookups interpolate linearly between the table points; at a
// layer boundary (two points of one depth) each has its own rule, and a
// depth below the tables either stops the run or takes the last value.

#include <span>

#include "PyGeneration.h"

namespace terraq::engine {

// Cohesion; at a boundary the lower layer's value (or the other one when
// one of them is zero). Below the table: console warning, then an error stop.
// Straight-line interpolation in a table of increasing abscissas `xs`, held
// at its end values beyond them (the coefficient tables of the models).
double TableValue(std::span<const double> xs, std::span<const double> ys, double x);

double CohesionAt(const SoilProfile& profile, double x);

// Friction angle in radians; at a boundary the mean of the two (or the other
// one when one of them is zero). Below the table: warning and error stop.
double PhiAt(const SoilProfile& profile, double x);

// Strain factor E50 (krm for weak rock); boundary rule as PhiAt; below the
// table the last value.
double E50At(const SoilProfile& profile, double x);

// The sixth column (RQD of weak rock); rules as E50At.
double SixthValueAt(const SoilProfile& profile, double x);

// Mean of the cohesion at the top of layer j and the cohesion at x,
// interpolated along the layer. Below the table a warning goes to the
// report and the value is still interpolated.
double LayerAverageCohesion(const PyGeneration& g, double x, int j);

// Mean effective unit weight between the excavation level and x, with the
// profile's seepage shift of the overburden at x when it has one. Below the
// table: error stop.
double AverageUnitWeightAbove(const SoilProfile& profile, double x);

// Width for soil resistance.
double ResistanceWidthAt(const PySettings& s, double x);

// p- and y-multipliers at a depth x measured from the backfill surface:
// interpolated in the p-y modification table when it has rows (1.0 outside
// it); without a table the p-multiplier reduces the resistance of closely
// spaced wall elements below the excavation level.
double PMultiplierAt(const PySettings& s, double x);
double YMultiplierAt(const PySettings& s, double x);

}  // namespace terraq::engine
