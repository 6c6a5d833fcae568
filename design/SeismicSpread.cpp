// The spread of the pseudo-static methods over one wall; SeismicSpread.h
// states the rules and the technical manual's "Seismic earth pressure"
// gives their sources.
#include "SeismicSpread.h"

#include <algorithm>
#include <cmath>

#include "FaceTheory.h"
#include "SeismicFace.h"
#include "api/EngineRoute.h"

namespace terraq::design {

namespace {

namespace api = engine::api;
using api::SeismicMethod;
using api::Side;

constexpr double kPi = 3.14159265358979323846;

bool GivesPressurePerLayer(SeismicMethod method) {
  return method == SeismicMethod::MononobeOkabe || method == SeismicMethod::Eurocode8;
}

// The retained height cut at the layers' boundaries and the water table,
// each part in eight: the effective stress is linear between the cuts.
struct Slice {
  double top = 0, bottom = 0;
  size_t layer = 0;  // into soil.layers
};

std::vector<Slice> SlicesOf(const api::SoilDescription& soil, double H) {
  std::vector<Slice> slices;
  for (size_t k = 0; k < soil.layers.size(); ++k) {
    const double top = std::max(soil.layers[k].top, 0.0);
    const double bottom = std::min(soil.layers[k].bottom, H);
    if (!(bottom > top)) continue;
    std::vector<double> cuts{top, bottom};
    if (soil.waterBackfill > top && soil.waterBackfill < bottom)
      cuts.insert(cuts.begin() + 1, soil.waterBackfill);
    for (size_t c = 0; c + 1 < cuts.size(); ++c)
      for (int part = 0; part < 8; ++part)
        slices.push_back({cuts[c] + (cuts[c + 1] - cuts[c]) * part / 8.0,
                          cuts[c] + (cuts[c + 1] - cuts[c]) * (part + 1) / 8.0, k});
  }
  return slices;
}

// σ'v at `depth` inside layer `layer` (a boundary taken from the side of
// that layer: a drained layer's effective stress meets a clay's total).
double StressIn(const api::SoilDescription& soil, double depth, double inside) {
  return engine::PressureAt(soil, Side::Backfill, depth + inside).verticalStress;
}

// The pressure of a layer with coefficient `K` (NaN: the layer has none)
// at vertical stress `sigma`: an undrained layer's σv − 2 su either way.
double PressureOf(const api::SoilLayer& layer, double K, double sigma) {
  if (!(layer.frictionAngle > 0) || std::isnan(K)) return std::max(0.0, sigma - 2 * layer.cohesion);
  return K * sigma;
}

// A thrust and its moment about the base of the retained height H.
struct Resultant {
  double force = 0, moment = 0;
  double height() const { return force > 0 ? moment / force : 0; }
};

// ∫ p dz over the slices, p linear in each (exact for a linear pressure).
template <typename Pressure>
Resultant Integrate(const std::vector<Slice>& slices, double H, Pressure pressure) {
  Resultant r;
  for (const Slice& s : slices) {
    const double p1 = pressure(s, s.top, 1e-9), p2 = pressure(s, s.bottom, -1e-9);
    const double dz = s.bottom - s.top, force = 0.5 * (p1 + p2) * dz;
    if (force <= 0) continue;
    const double fromTop = dz * (p1 + 2 * p2) / (3 * (p1 + p2));
    r.force += force;
    r.moment += force * (H - s.top - fromTop);
  }
  return r;
}

// The increment methods' ΔP / S and its height over H, from the vocabulary.
std::optional<api::SeismicCoefficient> IncrementOf(SeismicMethod method, double kh, double phi,
                                                   std::string& error) {
  api::SeismicInputs in{.phi = phi, .kh = kh};
  const api::SeismicResult r = SeismicEarthPressure(method, api::EarthPressureState::Active, in);
  if (!r.value) error = r.message;
  return r.value;
}

// Why a wedge method gives no thrust on the retained height: a frictional
// layer in it without a seismic coefficient (the ground cannot stand).
std::string NoWedge(const api::SoilDescription& soil, const std::vector<double>& K, double H) {
  for (size_t k = 0; k < soil.layers.size(); ++k)
    if (soil.layers[k].frictionAngle > 0 && soil.layers[k].top < H && std::isnan(K[k]))
      return "no seismic wedge in layer " + std::to_string(soil.layers[k].number) + " at this kh";
  return "";
}

// What every method's thrust is found from.
struct Wall {
  const api::SoilDescription& soil;
  double H;
  std::vector<Slice> slices;
  FaceTheory back;
  Resultant coulomb, weight, atRest;  // the static thrusts, and S = ∫ (σ'v − σ'v(0)) dz
  double phi;                         // a friction angle for the increment methods' inputs
};

// ∫ p dz with each layer's coefficient K.
Resultant ThrustWith(const Wall& w, const std::vector<double>& K) {
  return Integrate(w.slices, w.H, [&](const Slice& s, double z, double inside) {
    return PressureOf(w.soil.layers[s.layer], K[s.layer], StressIn(w.soil, z, inside));
  });
}

SeismicThrust ThrustOf(const Wall& w, const api::SeismicOptions& seismic,
                       api::SeismicMethod method) {
  SeismicThrust t{method, 0, 0, 0, {}};
  Resultant still = w.coulomb, total;
  if (GivesPressurePerLayer(method)) {
    api::SeismicOptions own = seismic;
    own.method = method;
    const std::vector<double> K = FaceCoefficientsFor(w.soil, Side::Backfill, w.back, own, 1.0).Kah;
    if (t.error = NoWedge(w.soil, K, w.H); !t.error.empty()) return t;
    total = ThrustWith(w, K);
    // The increment at the method's height (0.6 H, 0.5 H), not at the
    // static shape's the layers give it.
    std::string ignored;
    const auto c = IncrementOf(method, 0.0, w.phi, ignored);
    const double increment = total.force - still.force;
    total.moment = still.moment + increment * (c ? c->incrementHeight : 1.0 / 3.0) * w.H;
  } else {
    if (method == SeismicMethod::Wood) still = w.atRest;
    const auto c = IncrementOf(method, seismic.kh, w.phi, t.error);
    if (!c) return t;
    const double increment = c->increment * w.weight.force;
    total = {still.force + increment, still.moment + increment * c->incrementHeight * w.H};
  }
  t.staticThrust = still.force;
  t.thrust = total.force;
  t.height = total.height();
  return t;
}

// Each layer's row of coefficients; false when a face's cannot be found.
bool LayerRows(const api::SoilDescription& soil, const FaceTheory& back, const FaceTheory& front,
               const api::SeismicOptions& shaking, SeismicSpread& out) {
  const FaceCoefficients staticBack = CoefficientsOf(soil, Side::Backfill, back, 1.0);
  const FaceCoefficients staticFront = CoefficientsOf(soil, Side::Excavation, front, 1.0);
  const FaceCoefficients shakenBack = FaceCoefficientsFor(soil, Side::Backfill, back, shaking, 1.0);
  const FaceCoefficients shakenFront =
      FaceCoefficientsFor(soil, Side::Excavation, front, shaking, 1.0);
  for (const FaceCoefficients* c : {&staticBack, &staticFront, &shakenBack, &shakenFront})
    if (c->Kah.size() != soil.layers.size() || c->Kph.size() != soil.layers.size()) return false;
  for (size_t k = 0; k < soil.layers.size(); ++k) {
    const api::SoilLayer& layer = soil.layers[k];
    SeismicLayerSpread row{
        layer.number,      layer.frictionAngle, layer.top,          staticBack.Kah[k],
        shakenBack.Kah[k], staticFront.Kph[k],  shakenFront.Kph[k], {}};
    if (!(layer.frictionAngle > 0)) row.note = "no friction angle: its static pressures";
    else if (std::isnan(row.seismicKah) || std::isnan(row.seismicKph))
      row.note = "no seismic wedge at this kh: its static pressures";
    out.layers.push_back(std::move(row));
  }
  return true;
}

void AddNotes(const api::SoilDescription& soil, SeismicSpread& out) {
  if (out.seismic.kv != 0)
    out.notes.push_back(
        "Seed-Whitman and Wood take no vertical acceleration: their thrusts are for kv = 0.");
  out.notes.push_back("Wood's rigid wall is smooth (δ = 0) and at rest before the shaking.");
  for (const api::SoilLayer& layer : soil.layers)
    if (layer.frictionAngle > 0 && layer.cohesion > 0 && layer.top < out.retainedHeight) {
      out.notes.push_back(
          "The cohesion c' of the drained layers is left out of the thrusts, on the safe side.");
      return;
    }
}

}  // namespace

SeismicSpread SpreadOfSeismicMethods(const api::SoilDescription& soil,
                                     const api::SeismicOptions& seismic, double activeDeltaRatio,
                                     double passiveDeltaRatio) {
  SeismicSpread out;
  out.seismic = seismic;
  out.activeDeltaRatio = activeDeltaRatio;
  out.passiveDeltaRatio = passiveDeltaRatio;
  out.retainedHeight = soil.excavationDepth;
  Wall w{soil,
         soil.excavationDepth,
         SlicesOf(soil, soil.excavationDepth),
         {api::EarthPressureMethod::Coulomb, activeDeltaRatio},
         {},
         {},
         {},
         30};
  if (soil.layers.empty() || w.slices.empty()) {
    out.error = "the wall retains no soil layer: there is no thrust to compare";
    return out;
  }
  out.layerMethod =
      GivesPressurePerLayer(seismic.method) ? seismic.method : SeismicMethod::MononobeOkabe;
  api::SeismicOptions layerSeismic = seismic;
  layerSeismic.method = out.layerMethod;
  if (!LayerRows(soil, w.back, {api::EarthPressureMethod::Coulomb, passiveDeltaRatio}, layerSeismic,
                 out)) {
    out.error = "the layers' coefficients cannot be found";
    return out;
  }
  std::vector<double> staticK, seismicK, atRest;
  for (const SeismicLayerSpread& row : out.layers) {
    staticK.push_back(row.staticKah);
    seismicK.push_back(row.seismicKah);
    atRest.push_back(1 - std::sin(row.phi * kPi / 180));
  }
  for (const api::SoilLayer& layer : soil.layers)
    if (layer.frictionAngle > 0) {
      w.phi = layer.frictionAngle;
      break;
    }
  w.coulomb = ThrustWith(w, staticK);
  w.atRest = ThrustWith(w, atRest);
  const double surface = StressIn(soil, 0, 1e-9);
  w.weight = Integrate(w.slices, w.H, [&](const Slice&, double z, double inside) {
    return StressIn(soil, z, inside) - surface;
  });
  for (const api::SeismicMethodInfo& info : api::SeismicMethods())
    out.thrusts.push_back(ThrustOf(w, seismic, info.method));
  for (size_t k = 0; k < out.thrusts.size(); ++k) {
    if (!out.thrusts[k].error.empty() || !(out.thrusts[k].thrust > 0)) continue;
    if (!out.largest || out.thrusts[k].thrust > out.thrusts[*out.largest].thrust) out.largest = k;
    if (!out.smallest || out.thrusts[k].thrust < out.thrusts[*out.smallest].thrust)
      out.smallest = k;
  }
  if (out.largest) out.ratio = out.thrusts[*out.largest].thrust / out.thrusts[*out.smallest].thrust;
  for (const Slice& s : w.slices)
    for (const auto& [z, inside] : {std::pair{s.top, 1e-9}, {s.bottom, -1e-9}}) {
      const double sigma = StressIn(soil, z, inside);
      out.staticPressure.emplace_back(z, PressureOf(soil.layers[s.layer], staticK[s.layer], sigma));
      out.seismicPressure.emplace_back(z,
                                       PressureOf(soil.layers[s.layer], seismicK[s.layer], sigma));
    }
  AddNotes(soil, out);
  return out;
}

}  // namespace terraq::design
