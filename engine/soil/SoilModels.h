#pragma once
// One record per soil model: what the single layer loop of the p-y
// generation (RunLayerGenerators) needs to build a layer's curves. A model
// is its own file (its curve, its ultimate resistance, its report block) and
// one row of the table in SoilModels.cpp.

#include "PyGeneration.h"
#include "SoilModel.h"

namespace terraq::engine {

struct SoilModelRecord {
  SoilModel model;
  const char* name;        // in the layer's stop messages: "(SAND)"
  const char* reportLine;  // the model's line in the report's list of layers
  // The curves take the layer's modulus k as the slope of their initial
  // line, which cannot be negative.
  bool needsNonNegativeK;
  // The soil values of a curve of layer j at the excavation-side depth x,
  // read from the profile; stops the run with the layer's message when a
  // value the model requires cannot give a curve.
  SoilValues (*values)(PyGeneration& g, int j, double x);
  // The ultimate resistance per unit length the layer passes on to the
  // layers below it (LayeredSoil.h), at the side depth x and the depth z of
  // the model formulas; null for a model that passes nothing on and uses no
  // equivalent depth (rock: a soil below it takes its equivalent depth from
  // the soil above the rock alone).
  double (*resistance)(const SoilValues& v, double x, double z);
  // Builds the curve of one side at the excavation-side depth x and writes
  // its report block and its curve points.
  void (*side)(PyGeneration& g, int j, double x, const SoilValues& v, Side side);
};

const SoilModelRecord& SoilModelRecordOf(SoilModel model);

}  // namespace terraq::engine
