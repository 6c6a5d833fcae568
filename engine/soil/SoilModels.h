#pragma once
// One record per soil model: what the single layer loop of the p-y
// generation (RunLayerGenerators) needs to build a layer's curves. A model
// is its own file (its curve, its equivalent depth, its report block) and
// one row of the table in SoilModels.cpp.

#include "PyGeneration.h"
#include "SoilModel.h"

namespace terraq::engine {

// How the excavation-side curves of a layer add up to the ultimate
// resistance the layer passes on to the layers below it, from whose sum
// their equivalent depth follows (docs/technical/py-curves.md). The rules
// differ on purpose: each is the one its model has always used, and the
// curves of every layered project depend on it.
enum class ResistanceSum {
  // Nothing: rock passes no resistance on, and a soil below it takes its
  // equivalent depth from the soil above the rock alone.
  None,
  // Each curve's resistance over the span above it (soft clay).
  Rectangle,
  // The mean of neighbouring curves over the span between them, from the
  // first curve to the last (stiff clay above the water table).
  Trapezoid,
  // The same, with the last curve's resistance held on down to the layer
  // bottom, so that the whole thickness of the layer counts (sand, silt).
  TrapezoidToLayerBottom,
  // The trapezoid times the residual factor of the lower curve: below the
  // water table the clay keeps only its residual resistance under repeated
  // movement, and that is what it passes on (stiff clay below the water table).
  ResidualTrapezoid,
};

struct SoilModelRecord {
  SoilModel model;
  const char* name;        // in the layer's stop messages: "(SAND)"
  const char* reportLine;  // the model's line in the report's list of layers
  ResistanceSum sum;
  // The curves take the layer's modulus k as the slope of their initial
  // line, which cannot be negative.
  bool needsNonNegativeK;
  // The soil values of curve k of layer j, read from the profile at the
  // curve's excavation-side depth; stops the run with the layer's message
  // when a value the model requires cannot give a curve.
  SoilValues (*values)(PyGeneration& g, int j, int k);
  // The equivalent depth of the layer's top for the resistance F of the
  // layers above, from the values of its first curve; null for a model that
  // uses none.
  double (*equivalentDepth)(double F, const SoilValues& first);
  // Builds the curve of one side of curve k, writes its report block and
  // its curve points; returns what the layer's sum takes from it.
  SideResistance (*side)(PyGeneration& g, int j, int k, const SoilValues& v, Side side);
};

const SoilModelRecord& SoilModelRecordOf(SoilModel model);

}  // namespace terraq::engine
