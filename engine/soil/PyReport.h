#pragma once
// The report sections of the p-y generation that precede the curves: the
// soil layers with their models, the distributions of effective unit weight
// and of strength with depth, and the p-y modification factors.

#include "PyGeneration.h"

namespace terraq::engine {

// Everything from the "SOIL LAYERS AND STRENGTH DATA" banner to the
// "P-Y CURVES DATA" heading.
void WriteSoilProfileReport(const PyGeneration& g);

}  // namespace terraq::engine
