#pragma once
// The state of one p-y curve generation, shared by the framework, the
// lookup functions and the generator of each soil model. Built by
// GeneratePyCurves, discarded when the curves are written.

#include <string_view>
#include <vector>

#include "SoilProfile.h"
#include "driver/EngineModel.h"
#include "driver/RunMessages.h"
#include "textio/TextOut.h"

namespace terraq::engine {

struct PySettings {
  double H = 0;       // excavation level below the backfill surface (free height)
  double WA = 0;      // width for earth pressure (spacing of the wall elements)
  double WP = 0;      // width for soil resistance
  double gammaW = 0;  // unit weight of water
  double sigmaH = 0;  // effective vertical stress at the excavation level, backfill side
  double pALast = 0;  // user-specified active pressure at the deepest row (0 when none)
  std::vector<PyModificationRow> modification;  // p-y modification table (may be empty)
};

struct PyGeneration {
  PySettings settings;
  SoilProfile profile;
  UnitLabels labels;
  TextOut* report = nullptr;  // not owned; the run's report
  TextOut* curves = nullptr;  // not owned; the SOILDATA file
};

// The curve sides in the order they are generated.
enum class Side { Excavation = 1, Backfill = 2 };

// Soil values of one curve, evaluated on the excavation side and reused for
// the backfill side.
struct SoilValues {
  double x = 0;      // excavation-side curve depth xc(k)
  double b = 0;      // width for soil resistance
  double c = 0;      // cohesion
  double gamma = 0;  // average effective unit weight above x
  double phi = 0;    // friction angle, radians
  double e50 = 0;
};

// Ends the run for soil data of layer j that its model cannot turn into
// curves: "ERROR STOP -- SOIL LAYER n (MODEL) problem", n the layer's number
// in the data file.
[[noreturn]] void StopForLayer(const PyGeneration& g, int j, std::string_view model,
                               std::string_view problem);

// Runs the generator of every layer that received curves.
void RunLayerGenerators(PyGeneration& g);

// Equivalent depth zeq of layer j > 1: the depth at which the layer's own
// ultimate resistance, integrated from its top, equals what the layers above
// it have summed. `first` are the soil values of the layer's first curve.
double EquivalentDepth(const PyGeneration& g, int j, const SoilValues& first);

// The depth z of the model formulas for a curve of layer j at the side's
// depth x.
double ModelDepth(const PyGeneration& g, int j, double x);

}  // namespace terraq::engine
