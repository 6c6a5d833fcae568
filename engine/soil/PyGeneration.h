#pragma once
// The state of one p-y curve generation, shared by the framework, the
// lookup functions and the generator of each soil model. Built by
// GeneratePyCurves, discarded when the curves are written.

#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "SoilProfile.h"
#include "WedgeAngles.h"
#include "driver/EngineModel.h"
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

// One generated curve as its generator leaves it: its depth below the
// backfill surface and rows of (p, y), the excavation side first. A reported
// curve has two sides of 17 points (ReadCurves.cpp says how the analysis
// takes them over); a station's curve (StationSprings.h) has as many points
// per side as its shape needs.
struct GeneratedCurveRecord {
  double depth = 0;
  std::vector<std::pair<double, double>> rows;  // (p, y), full precision
  size_t excavationRows = 0;                    // rows of the excavation side
};

struct PyGeneration {
  PySettings settings;
  SoilProfile profile;
  UnitLabels labels;
  TextOut* report = nullptr;  // not owned; the run's report
  std::vector<GeneratedCurveRecord> curves;  // in the order generated
  // The curves of the stations: tabulated densely from the model's own
  // formula (CurveOutput.h) rather than at the 17 reported points.
  bool dense = false;
  // The last dense side of each side of the wall, raw (before multipliers
  // and shift), with what it was tabulated from: the next station of a layer
  // whose curve is the same shape scaled takes it scaled (CurveOutput.cpp).
  struct DenseSide {
    bool valid = false;
    std::array<double, 17> y{}, p{};
    double kink = 0;
    std::vector<std::pair<double, double>> points;  // (y, p)
  };
  DenseSide denseSides[2];
  // The wedge angles of the last friction angle a sand curve took (Sand.h,
  // WedgeAnglesFor): a layer's curves mostly share one.
  struct WedgeMemo {
    bool valid = false;
    double phi = 0, pi = 0;
    WedgeAngles angles{};
  };
  WedgeMemo wedge;
  // The storage of a station's record once the springs have taken it over,
  // for the next record (StationSprings.cpp).
  std::vector<std::pair<double, double>> spareRows;
};

// The curve sides in the order they are generated.
enum class Side { Excavation = 1, Backfill = 2 };

// The depth of a curve's side: the curve depth x below the excavation level
// on the excavation side, H + x behind the wall.
inline double SideDepth(const PySettings& s, double x, Side side) {
  return side == Side::Excavation ? x : s.H + x;
}

// Soil values of one curve, evaluated on the excavation side and reused for
// the backfill side. A model fills the values it uses.
struct SoilValues {
  double x = 0;      // excavation-side curve depth
  double b = 0;      // width for soil resistance
  double c = 0;      // cohesion (uniaxial compressive strength for rock)
  double ca = 0;     // the mean cohesion the model takes over part of the layer
  double gamma = 0;  // average effective unit weight above x
  double phi = 0;    // friction angle, radians
  double e50 = 0;    // strain factor E50 (krm for weak rock)
  double sixth = 0;  // RQD in percent (weak rock)
};

// Ends the run for soil data of layer j that its model cannot turn into
// curves: "ERROR STOP -- SOIL LAYER n (MODEL) problem", n the layer's number
// in the data file and MODEL the name of the layer's model; `callerLines`
// are warnings for the caller's messages that go with the stop.
[[noreturn]] void StopForLayer(const PyGeneration& g, int j, std::string_view problem,
                               std::vector<std::string> callerLines = {});

// Builds the curves of every layer that received curves, each by the record
// of its soil model (SoilModels.h): first the layer's equivalent depth from
// the resistance of the layers above, then its curves, then its own
// resistance integrated over its thickness for the layers below it.
void RunLayerGenerators(PyGeneration& g);

// Generates the curve (both sides) of layer j at the excavation-side depth
// x into g.curves, by the layer's model, with the equivalent depth the
// layer already has.
void GenerateCurveAt(PyGeneration& g, int j, double x);

// The depth z of the model formulas for a curve of layer j at the side's
// depth x.
double ModelDepth(const PyGeneration& g, int j, double x);

}  // namespace terraq::engine
