// Soil models whose curves this version does not generate yet. A layer of
// one of them ends the run with a message naming the model, instead of
// curves of the wrong soil.

#include <string>

#include "Generators.h"

namespace terraq::engine {

namespace {

[[noreturn]] void notAvailable(const PyGeneration& g, int j, const char* model) {
  stopWithMessage("ERROR STOP -- SOIL LAYER " + std::to_string(g.profile.layer(j).source) +
                  ": P-Y CURVES OF " + model + " ARE NOT AVAILABLE IN THIS VERSION");
}

}  // namespace

void StiffClayFreeWaterCurves(PyGeneration& g, int j) {
  notAvailable(g, j, "STIFF CLAY BELOW THE WATER TABLE");
}

void StiffClayNoFreeWaterCurves(PyGeneration& g, int j) {
  notAvailable(g, j, "STIFF CLAY ABOVE THE WATER TABLE");
}

void SiltCurves(PyGeneration& g, int j) { notAvailable(g, j, "SILT (C-PHI SOIL)"); }

void StrongRockCurves(PyGeneration& g, int j) { notAvailable(g, j, "STRONG ROCK"); }

void WeakRockCurves(PyGeneration& g, int j) { notAvailable(g, j, "WEAK ROCK"); }

}  // namespace terraq::engine
