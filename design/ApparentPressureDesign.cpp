#include "ApparentPressureDesign.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <numbers>

#include "WallText.h"
#include "api/SoilModelTable.h"

namespace terraq::design {

namespace {

using engine::api::SoilDescription;
using engine::api::SoilLayer;

// The layer's model by the vocabulary's codes; a code no model has is
// neither clay nor rock.
bool IsModel(const SoilLayer& layer, std::initializer_list<engine::api::SoilModel> models) {
  const engine::api::SoilModelInfo* info = engine::api::FindSoilModel(layer.code);
  return info && std::find(models.begin(), models.end(), info->model) != models.end();
}
bool IsClay(const SoilLayer& layer) {
  using enum engine::api::SoilModel;
  return IsModel(layer, {SoftClay, StiffClayFreeWater, StiffClayNoFreeWater});
}
bool IsRock(const SoilLayer& layer) {
  using enum engine::api::SoilModel;
  return IsModel(layer, {StrongRock, WeakRock});
}

std::string Three(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3g", value);
  return text;
}

double RankineKa(double phiDegrees) {
  const double t = std::tan((45.0 - 0.5 * phiDegrees) * std::numbers::pi / 180.0);
  return t * t;
}

// The thickness-weighted soil over H; the error when the layers cannot
// give it.
std::string AverageOverHeight(const SoilDescription& soil, EnvelopeInput& in, double& granular,
                              double& clay) {
  const double H = in.height;
  if (soil.layers.empty())
    return "the data file has no soil layers (generated earth pressure or p-y curves) to draw "
           "the envelope from";
  if (soil.profileBottom() < H)
    return "the soil layers end at " + Three(soil.profileBottom()) +
           ", above the excavation level " + Three(H);
  double weight = 0, Ka = 0, su = 0;
  for (const SoilLayer& layer : soil.layers) {
    const double t = std::min(layer.bottom, H) - std::max(layer.top, 0.0);
    if (t <= 0) continue;
    if (IsRock(layer))
      return "layer " + std::to_string(layer.number) +
             " in the retained height is rock: apparent-pressure envelopes are for soil";
    weight += layer.unitWeight * t;
    if (layer.drained) granular += t, Ka += RankineKa(layer.frictionAngle) * t;
    if (IsClay(layer)) clay += t, su += layer.cohesion * t;
  }
  in.unitWeight = weight / H;
  in.Ka = granular > 0 ? Ka / granular : 0;
  in.su = clay > 0 ? su / clay : 0;
  return {};
}

// Henkel's inputs: the clay directly below the excavation level.
void ClayBelowCut(const SoilDescription& soil, EnvelopeInput& in) {
  double depth = in.height, strength = 0;
  for (const SoilLayer& layer : soil.layers) {
    if (layer.bottom <= in.height) continue;
    if (!IsClay(layer)) break;
    strength += layer.cohesion * (layer.bottom - depth);
    depth = layer.bottom;
  }
  in.failureDepth = depth - in.height;
  in.baseSu = in.failureDepth > 0 ? strength / in.failureDepth : 0;
}

std::string TakeSoil(const SoilDescription& soil, const ApparentRequest& request,
                     ApparentDesign& d) {
  EnvelopeInput& in = d.input;
  double granular = 0, clay = 0;
  if (std::string why = AverageOverHeight(soil, in, granular, clay); !why.empty()) return why;
  if (request.soil) in.soil = *request.soil;
  else if (granular >= clay) in.soil = EnvelopeSoil::Sand;
  else
    in.soil = in.unitWeight * in.height / in.su <= kStiffClayNumber ? EnvelopeSoil::StiffClay
                                                                    : EnvelopeSoil::SoftClay;
  const bool sand = in.soil == EnvelopeSoil::Sand;
  if (sand && granular <= 0) return "the retained height holds no sand or silt to take Ka from";
  if (!sand && clay <= 0) return "the retained height holds no clay to take su from";
  if (granular > 0 && clay > 0)
    d.notes.push_back("the retained height is " + Three(granular) + " of sand or silt and " +
                      Three(clay) + " of clay: the envelope is that of " +
                      (sand ? "the sand" : "the clay"));
  ClayBelowCut(soil, in);
  if (request.failureDepth) in.failureDepth = *request.failureDepth;
  if (soil.waterBackfill < in.height)
    d.notes.push_back(
        "the water table behind the wall lies above the excavation level: the "
        "envelope holds no water pressure, which acts on the wall besides");
  if (!soil.loads.empty())
    d.notes.push_back("the surcharge table's point, line and strip loads are not in the envelope");
  return {};
}

// The springs table's rows that hold one station, by depth.
std::vector<double> SupportLevels(std::string_view dataText, int index, std::string& error) {
  std::vector<double> depths;
  const std::optional<WallText> wall = WallText::Parse(dataText, index, error);
  if (!wall) return depths;
  for (const WallText::Record& r : wall->records())
    if (r.kind == WallText::RecordKind::Spring && r.values.size() >= 2 &&
        r.values[0] == r.values[1])
      depths.push_back(r.values[0] * wall->incrementLength());
  std::sort(depths.begin(), depths.end());
  depths.erase(std::unique(depths.begin(), depths.end()), depths.end());
  return depths;
}

}  // namespace

ApparentDesign DesignApparentPressure(std::string_view dataText, int index,
                                      const SoilDescription& soil, const ApparentRequest& request) {
  ApparentDesign d;
  d.title = soil.title;
  d.units = soil.units;
  EnvelopeInput& in = d.input;
  in.source = request.source;
  in.height = soil.excavationDepth;
  in.surcharge = soil.uniformSurcharge;
  in.clayFactor = request.clayFactor;
  in.softBase = request.softBase;
  d.supportsGiven = request.supports.has_value();
  in.supports = d.supportsGiven ? *request.supports : SupportLevels(dataText, index, d.error);
  if (!d.error.empty()) return d;
  if (in.supports.empty()) {
    d.error = "the wall has no support levels (springs table rows at one station)";
    return d;
  }
  d.error = TakeSoil(soil, request, d);
  if (!d.error.empty()) return d;
  d.envelope = ApparentEnvelope(in, d.error);
  if (d.envelope) d.loads = SupportLoadsOf(*d.envelope, in.supports, request.layout, d.error);
  return d;
}

}  // namespace terraq::design
