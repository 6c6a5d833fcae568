#include "SoilProfile.h"

#include <algorithm>
#include <cmath>

#include "driver/SoilLayers.h"

#include "textio/FixedFormat.h"

namespace terraq::engine {

namespace {

// Constants the generation has always used in single precision.
const double kDegreesToRadians = static_cast<double>(3.1416f) / 180.0;
// How far the first and the last curve of a layer lie inside it, in inches.
const double kCurveOffsetInches = static_cast<double>(0.1f);

// Keeps the layers below the excavation level, the first of them cut at it,
// and truncates the profile at xT, two increments below the wall tip: the
// difference equations reach two fictitious stations below the tip, and no
// curve is needed deeper than that. Returns the original bottom of every
// kept layer (before truncation).
std::vector<double> KeepLayers(const std::vector<SoilLayerInput>& input, const ProfileInput& in,
                               SoilProfile& profile) {
  std::vector<double> originalBottoms;
  const double xT = in.wallLength + 2.0 * in.h - in.H;
  if (!(xT > kSmallLength))
    StopWithMessage("ERROR STOP -- THE WALL DOES NOT REACH BELOW THE EXCAVATION LEVEL");
  // Layers of no thickness carry no soil and get no curves.
  for (const SoilLayerSpan& span : SoilLayerSpans(input)) {
    const double S = span.bottom;  // running sum of the thicknesses
    if (profile.layers.empty() && S <= in.H + kSmallLength) continue;  // above the excavation
    ProfileLayer layer;
    layer.model = SoilModelOfCode(span.data->code);
    layer.source = span.number;
    layer.top = profile.layers.empty() ? 0.0 : profile.layers.back().bottom;
    layer.bottom = S - in.H;
    layer.k = span.data->top[api::kModulusAt];
    // A layer starting at or below xT adds nothing; one reaching below it
    // is cut there and ends the profile. xT lies on a station: a layer
    // boundary within rounding of it is at it.
    if (!profile.layers.empty() && layer.top >= xT - kStationDepthTolerance * in.h) break;
    originalBottoms.push_back(layer.bottom);
    if (layer.bottom > xT) {
      layer.bottom = xT;
      layer.truncated = true;
      profile.layers.push_back(layer);
      break;
    }
    profile.layers.push_back(layer);
  }
  if (profile.layers.empty())
    StopWithMessage("ERROR STOP -- NO SOIL LAYER LIES BELOW THE EXCAVATION LEVEL");
  return originalBottoms;
}

// Effective unit weights: the total weight above the backfill water table,
// the buoyant weight (total - gamma_w) at and below it. A layer's total
// weight varies linearly from its top row to its bottom row; where the water
// table lies inside a layer the table gets two points at the water table,
// total and buoyant, so that the weight steps there and the overburden (the
// integral of the table) bends exactly at the water table. A layer whose top
// lies at the water table is buoyant throughout; one whose bottom lies at it
// is dry throughout. The weights thus follow the water table and not the
// layering: moving the water table by a hair across a layer boundary moves
// the step by that hair.
void BuildWeightTable(const std::vector<SoilLayerInput>& input, const ProfileInput& in,
                      const std::vector<double>& originalBottoms, SoilProfile& profile) {
  const double water = in.waterDepth - in.H;  // the water table, from the excavation level
  auto push = [&](double depth, double weight) {
    // A soil lighter than water (or a weight left at zero below the water
    // table) would float: a negative effective weight has no meaning and
    // would make the ultimate resistances negative, so it is taken as zero.
    if (weight < 0.0) {
      weight = 0.0;
      profile.clampedWeightDepths.push_back(depth);
    }
    profile.weights.push_back({depth, weight});
  };
  for (size_t j = 0; j < profile.layers.size(); ++j) {
    const ProfileLayer& layer = profile.layers[j];
    const SoilLayerInput& data = input[static_cast<size_t>(layer.source - 1)];
    const double top = layer.top, bottom = originalBottoms[j];
    const auto total = [&](double depth) {
      const double a = data.top[api::kUnitWeightAt], b = data.base[api::kUnitWeightAt];
      if (!(bottom > top)) return a;
      return a + (b - a) * (depth - top) / (bottom - top);
    };
    const bool topBelow = top > water - kSmallLength;
    const bool bottomBelow = bottom > water + kSmallLength;
    push(top, data.top[api::kUnitWeightAt] - (topBelow ? in.gammaW : 0.0));
    if (!topBelow && bottomBelow) {
      push(water, total(water));
      push(water, total(water) - in.gammaW);
    }
    push(bottom, data.base[api::kUnitWeightAt] - (bottomBelow ? in.gammaW : 0.0));
  }
}

void BuildStrengthTable(const std::vector<SoilLayerInput>& input,
                        const std::vector<double>& originalBottoms, SoilProfile& profile) {
  for (size_t j = 0; j < profile.layers.size(); ++j) {
    const ProfileLayer& layer = profile.layers[j];
    const SoilLayerInput& data = input[static_cast<size_t>(layer.source - 1)];
    const auto point = [](double depth, const auto& line) {
      return StrengthPoint{depth, line[api::kStrengthAt], line[api::kFrictionAngleAt],
                           line[api::kStrainAt], line[api::kRockQualityAt]};
    };
    StrengthPoint top = point(layer.top, data.top);
    StrengthPoint bottom = point(layer.bottom, data.base);
    if (layer.truncated) {
      // The values at the cut follow the layer's own linear variation,
      // measured from its top.
      const double r = (layer.bottom - layer.top) / (originalBottoms[j] - layer.top);
      auto at = [r](double a, double b) { return a + (b - a) * r; };
      bottom = {layer.bottom, at(top.c, bottom.c), at(top.phi, bottom.phi),
                at(top.e50, bottom.e50), at(top.sixth, bottom.sixth)};
    }
    profile.strength.push_back(top);
    profile.strength.push_back(bottom);
  }
  for (StrengthPoint& p : profile.strength) p.phi *= kDegreesToRadians;
}

// Five depths per layer: a tenth of an inch inside its top, at its quarter
// points and a tenth of an inch inside its bottom (the same physical depths
// in English and SI units). In a layer thinner than four offsets the offset
// shrinks to a quarter of the thickness, so that the depths still run
// downwards and stay inside the layer.
void ChooseCurveDepths(SoilProfile& profile, double inch) {
  for (const ProfileLayer& layer : profile.layers) {
    const double t = layer.bottom - layer.top;
    const double offset = std::min(kCurveOffsetInches * inch, 0.25 * t);
    profile.curveDepths.push_back(layer.top + offset);
    profile.curveDepths.push_back(layer.top + 0.25 * t);
    profile.curveDepths.push_back(layer.top + 0.5 * t);
    profile.curveDepths.push_back(layer.top + 0.75 * t);
    profile.curveDepths.push_back(layer.bottom - offset);
  }
}

}  // namespace

SoilProfile BuildSoilProfile(const std::vector<SoilLayerInput>& input, const ProfileInput& in) {
  SoilProfile profile;
  const std::vector<double> originalBottoms = KeepLayers(input, in, profile);
  BuildWeightTable(input, in, originalBottoms, profile);
  BuildStrengthTable(input, originalBottoms, profile);
  ChooseCurveDepths(profile, in.inch);
  // The weight table reaches the original bottom of every kept layer, at
  // least as deep as the strength table, which a truncation may shorten.
  return profile;
}

void AssignCurveRanges(SoilProfile& profile) {
  const int nl = profile.layerCount();
  const int nc = profile.curveCount();
  for (ProfileLayer& layer : profile.layers) layer.first = layer.last = 0;
  if (nl == 0 || nc == 0) return;
  // The first curve goes to the first layer whose bottom lies below it.
  int current = 1;
  while (current < nl && !(profile.layer(current).bottom > profile.xc(1))) ++current;
  profile.layer(current).first = 1;
  for (int k = 2; k <= nc; ++k) {
    const double x = profile.xc(k);
    if (!(x > profile.layer(current).bottom) || current == nl) continue;
    int next = current + 1;
    while (next < nl && profile.layer(next).bottom < x) ++next;
    profile.layer(current).last = k - 1;
    current = next;
    profile.layer(current).first = k;
  }
  profile.layer(current).last = nc;
}

}  // namespace terraq::engine
