#pragma once
// The soil below the excavation level as the p-y generators see it: the
// kept layers, the tables of effective unit weight and of strength against
// depth, and the five curve depths of every layer.
//
// Depths in a profile are measured from the excavation level (positive
// downwards) in the problem's length unit; unit weights, cohesions and
// moduli are in the problem's own units. Friction angles are held in
// radians.

#include <functional>
#include <vector>

#include "SoilModel.h"
#include "driver/EngineModel.h"

namespace terraq::engine {

// Below these a deflection, or a length or depth difference, counts as zero.
constexpr double kSmallDeflection = 1.0e-14;
constexpr double kSmallLength = 1.0e-6;

struct ProfileLayer {
  SoilModel model = SoilModel::SoftClay;
  int source = 0;        // number of the data-file layer (1-based)
  double top = 0;        // from the excavation level
  double bottom = 0;
  double k = 0;          // modulus of subgrade reaction (top row of the data file)
  int first = 0;         // curve numbers first..last of the layer; first = 0: none
  int last = 0;
  double resistanceSum = 0;  // its ultimate resistance integrated over depth (LayeredSoil.h)
  double zeq = 0;            // equivalent depth of the layer top (layers below the first)
  bool truncated = false;    // cut at two increments below the wall tip
};

struct WeightPoint {
  double depth = 0;
  double weight = 0;  // effective unit weight
};

struct StrengthPoint {
  double depth = 0;
  double c = 0;      // cohesion (uniaxial compressive strength for rock)
  double phi = 0;    // friction angle, radians
  double e50 = 0;    // strain factor E50 (krm for weak rock)
  double sixth = 0;  // RQD in percent (weak rock)
};

struct SoilProfile {
  std::vector<ProfileLayer> layers;       // layer j is layers[j - 1]
  std::vector<WeightPoint> weights;       // 2 per layer, 2 more at a water table inside it
  std::vector<StrengthPoint> strength;    // points 2j-1 and 2j: top and bottom of layer j
  std::vector<double> curveDepths;        // xc(k) is curveDepths[k - 1], five per layer
  std::vector<double> clampedWeightDepths;  // where a negative effective weight was set to 0
  // Set under seepage: the change of the effective vertical stress in front
  // at a depth below the excavation level against the integral of
  // `weights` (FrontOverburdenShift), F/L^2; empty: none.
  std::function<double(double)> overburdenShift;

  int layerCount() const { return static_cast<int>(layers.size()); }
  int curveCount() const { return static_cast<int>(curveDepths.size()); }
  ProfileLayer& layer(int j) { return layers.at(static_cast<size_t>(j - 1)); }
  const ProfileLayer& layer(int j) const { return layers.at(static_cast<size_t>(j - 1)); }
  double xc(int k) const { return curveDepths.at(static_cast<size_t>(k - 1)); }
};

struct ProfileInput {
  double H = 0;           // excavation level below the backfill surface
  double waterDepth = 0;  // backfill water table below the backfill surface
  double gammaW = 0;      // unit weight of water
  double wallLength = 0;  // NI * h
  double h = 0;           // increment length
  double inch = 1.0;      // one inch in the problem's length unit (OneInch)
};

// Builds the profile from the data-file layers: skips and cuts layers at the
// excavation level, truncates two increments below the wall tip, applies the
// water-table rules to the unit weights, converts friction angles to radians
// and chooses the curve depths. Layers of no thickness are left out. Stops
// the run (ErrorStop) when a layer bottom lies above the one before, when
// the wall does not reach below the excavation level, or when no layer lies
// below it.
SoilProfile BuildSoilProfile(const std::vector<SoilLayerInput>& input, const ProfileInput& in);

// Gives every layer the range first..last of the curve numbers whose depths
// lie in it (AssignCurvesToLayers without running the generators).
void AssignCurveRanges(SoilProfile& profile);

}  // namespace terraq::engine
