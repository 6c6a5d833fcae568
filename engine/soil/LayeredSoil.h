#pragma once
// A layer below another layer: the equivalent depth of its top (after
// Georgiadis 1983). The formulas of the p-y criteria are written for a soil
// that starts at the surface; in a lower layer the depth z they take is
// zeq + (x - xtop), zeq being the depth at which the layer's own ultimate
// resistance, integrated from zero, equals the ultimate resistance of the
// layers above it integrated over their thickness. A uniform soil given as
// several layers thus gives the curves of one layer.
//
// Both integrals are taken continuously (Gauss-Legendre on panels an eighth
// of the width or less), with the model's own ultimate resistance at every
// depth, so that they are consistent to a few parts in 10^5.
// Units: depths in the problem's length unit, resistances per unit length of
// wall, their integrals force.

#include "PyGeneration.h"

namespace terraq::engine {

struct SoilModelRecord;

// The ultimate resistance of layer j's excavation side, integrated from its
// top to its bottom with the soil values at every depth (0 for a model that
// passes nothing on). The layer's equivalent depth must be set.
double LayerResistance(PyGeneration& g, int j);

// What the layers above layer j pass on: the sum of their LayerResistance.
double ResistanceAbove(const PyGeneration& g, int j);

// The depth at which the ultimate resistance of `model`, integrated from
// zero with the soil values `first` (at the layer's first curve) and the
// side depth equal to the model depth, reaches F. 0 when F is not positive,
// when the model passes nothing on, or when the layer resists nothing at any
// depth.
double EquivalentDepth(const SoilModelRecord& model, double F, const SoilValues& first);

}  // namespace terraq::engine
