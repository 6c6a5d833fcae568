#pragma once
// The generators of the seven soil models, each building the curves
// first(j)..last(j) of layer j on both sides of the wall and appending them
// to SOILDATA and the report.

#include "PyGeneration.h"

namespace terraq::engine {

void SoftClayCurves(PyGeneration& g, int j);              // 1 (and unknown codes)
void StiffClayFreeWaterCurves(PyGeneration& g, int j);    // 2
void StiffClayNoFreeWaterCurves(PyGeneration& g, int j);  // 3
void SandCurves(PyGeneration& g, int j);                  // 4
void SiltCurves(PyGeneration& g, int j);                  // 5
void StrongRockCurves(PyGeneration& g, int j);            // 6
void WeakRockCurves(PyGeneration& g, int j);              // 7

}  // namespace terraq::engine
