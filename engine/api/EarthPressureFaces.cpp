#include "EarthPressureFaces.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace terraq::engine::api {

namespace {

constexpr double kDegree = 3.14159265358979323846 / 180.0;
// The largest wall friction angle the theories take (their input's range).
constexpr double kMaxWallFriction = 60.0;

std::string FaceName(Side side) { return side == Side::Backfill ? "backfill" : "excavation"; }

std::string Degrees(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.4g°", v);
  return text;
}

std::optional<double> LayerDelta(const EarthPressureOptions& options, Side side, int number) {
  const auto k = static_cast<size_t>(number - 1);
  if (number < 1 || k >= options.layers.size()) return std::nullopt;
  const EarthPressureLayer& layer = options.layers[k];
  return side == Side::Backfill ? layer.backfillDelta : layer.excavationDelta;
}

// Why `side`'s theory has no coefficient for `layer`, with its warnings.
void CheckLayer(const EarthPressureOptions& options, const SoilDescription& soil, Side side,
                const SoilLayer& layer, bool ownStrength, EarthPressureCheck& check) {
  const std::string where = "layer " + std::to_string(layer.number) + ", " + FaceName(side) + ": ";
  const FaceTheory& face = options.face(side);
  const double phi = layer.frictionAngle;
  const double beta = side == Side::Backfill ? soil.backfillSlope : 0.0;
  const FaceLayerCoefficients k = LayerCoefficientsOf(options, side, layer.number, phi, beta, 1.0);
  if (k.delta > phi + 1e-9) {
    check.error = where + "the wall friction angle " + Degrees(k.delta) +
                  " exceeds the friction angle " + Degrees(phi);
    return;
  }
  // A friction soil under ground as steep as its friction angle: the wedge
  // theories have no limit state (Rankine's generator warns and takes level
  // ground, as it always has). An undrained clay (φ' = 0) is level-ground K = 1.
  if (face.method != EarthPressureMethod::Rankine && ownStrength && phi > 0.0 && beta != 0.0 &&
      std::fabs(beta) >= phi) {
    check.error = where + std::string(TheoryOf(face.method).name) +
                  " has no solution for ground sloping at " + Degrees(beta) +
                  ", not flatter than the friction angle " + Degrees(phi);
    return;
  }
  for (const CoefficientResult* r : {&k.active, &k.passive}) {
    if (!r->coefficient) {
      check.error = where + r->message;
      return;
    }
    if (!r->coefficient->warning.empty()) check.notes.push_back(where + r->coefficient->warning);
  }
}

}  // namespace

double ReducedAngle(double degrees, double factor) {
  if (factor == 1.0) return degrees;
  return std::atan(std::tan(degrees * kDegree) / factor) / kDegree;
}

double WallFrictionOf(const EarthPressureOptions& options, Side side, int number, double phi,
                      double strengthFactor) {
  if (const std::optional<double> delta = LayerDelta(options, side, number))
    return ReducedAngle(*delta, strengthFactor);
  return options.face(side).deltaRatio * phi;
}

CoefficientResult FaceCoefficient(EarthPressureMethod method, EarthPressureState state, double phi,
                                  double delta, double beta) {
  TheoryInputs in{.phi = phi, .delta = delta, .beta = beta};
  CoefficientResult r = EarthPressureCoefficient(method, state, in);
  if (!r.coefficient && in.beta != 0.0 && std::fabs(in.beta) >= in.phi) {
    in.beta = 0.0;
    r = EarthPressureCoefficient(method, state, in);
  }
  return r;
}

FaceLayerCoefficients LayerCoefficientsOf(const EarthPressureOptions& options, Side side,
                                          int number, double phi, double beta,
                                          double strengthFactor) {
  const EarthPressureMethod method = options.face(side).method;
  FaceLayerCoefficients k;
  k.delta = WallFrictionOf(options, side, number, phi, strengthFactor);
  k.active = FaceCoefficient(method, EarthPressureState::Active, phi, k.delta, beta);
  k.passive = FaceCoefficient(method, EarthPressureState::Passive, phi, k.delta, beta);
  k.Kah = k.active.coefficient ? k.active.coefficient->Kh : RankineActive(phi, beta);
  k.Kph = k.passive.coefficient ? k.passive.coefficient->Kh : RankinePassive(phi, 0.0);
  return k;
}

std::vector<LayerCoefficients> CoefficientsUsed(const SoilDescription& soil,
                                                const EarthPressureOptions& options,
                                                double strengthFactor) {
  std::vector<LayerCoefficients> out;
  for (const Side side : {Side::Backfill, Side::Excavation}) {
    if (options.face(side).isGenerators() && options.layers.empty()) continue;
    for (const SoilLayer& layer : soil.layers) {
      if (side == Side::Excavation && layer.bottom <= soil.excavationDepth) continue;
      const double phi = ReducedAngle(layer.frictionAngle, strengthFactor);
      const double beta = side == Side::Backfill ? soil.backfillSlope : 0.0;
      const FaceLayerCoefficients k =
          LayerCoefficientsOf(options, side, layer.number, phi, beta, strengthFactor);
      out.push_back({layer.number, side, options.face(side).method, k.delta, k.Kah, k.Kph});
    }
  }
  return out;
}

EarthPressureCheck CheckEarthPressure(const EarthPressureOptions& options,
                                      const SoilDescription& soil, size_t layerCount,
                                      bool ownStrength) {
  EarthPressureCheck check;
  if (!options.layers.empty() && options.layers.size() != layerCount) {
    check.error = "the earth-pressure theories give " + std::to_string(options.layers.size()) +
                  " layers, the data file has " + std::to_string(layerCount);
    return check;
  }
  if (std::string fault = EarthPressureFormFault(options); !fault.empty()) {
    check.error = std::move(fault);
    return check;
  }
  for (const Side side : {Side::Backfill, Side::Excavation})
    for (const SoilLayer& layer : soil.layers) {
      CheckLayer(options, soil, side, layer, ownStrength, check);
      if (check.error) return check;
    }
  return check;
}

std::string EarthPressureOptionsFault(const EarthPressureOptions& options,
                                      const SoilDescription& soil, size_t layerCount,
                                      bool ownStrength) {
  return CheckEarthPressure(options, soil, layerCount, ownStrength).error.value_or("");
}

std::string EarthPressureFormFault(const EarthPressureOptions& options) {
  for (const Side side : {Side::Backfill, Side::Excavation}) {
    const FaceTheory& face = options.face(side);
    const double ratio = face.deltaRatio;
    if (!TheoryOf(face.method).limitStates)
      return "the " + FaceName(side) + ": " + std::string(TheoryOf(face.method).name) +
             " gives no active and passive coefficients";
    if (!(ratio >= 0.0 && ratio <= 1.0))
      return "the wall friction on the " + FaceName(side) +
             " must lie between 0 and the friction angle (δ/φ' from 0 to 1, not " +
             ShownValue(ratio) + ")";
    bool rough = ratio > 0.0;
    for (size_t k = 0; k < options.layers.size(); ++k) {
      const std::optional<double> delta = LayerDelta(options, side, static_cast<int>(k + 1));
      if (delta && !(*delta >= 0.0 && *delta <= kMaxWallFriction))
        return "layer " + std::to_string(k + 1) + ", " + FaceName(side) +
               ": the wall friction angle must lie between 0° and " + Degrees(kMaxWallFriction) +
               ", not " + ShownValue(*delta);
      rough = rough || (delta && *delta > 0.0);
    }
    if (face.method == EarthPressureMethod::Rankine && rough)
      return "the " + FaceName(side) +
             ": Rankine's theory assumes a smooth wall; wall friction needs Coulomb or log-spiral";
  }
  return {};
}

EarthPressureOptions ReducedWallFriction(EarthPressureOptions options, double factor) {
  for (EarthPressureLayer& layer : options.layers)
    for (std::optional<double>* delta : {&layer.backfillDelta, &layer.excavationDelta})
      if (*delta) **delta = ReducedAngle(**delta, factor);
  return options;
}

}  // namespace terraq::engine::api
