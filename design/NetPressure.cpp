#include "NetPressure.h"

#include <algorithm>
#include <cmath>

#include "api/EngineRoute.h"
#include "api/Units.h"

namespace terraq::design {

using engine::api::Side;
using engine::api::SidePressure;
using engine::api::SoilDescription;

void PiecewiseLinear::add(double depth, double value) {
  if (z_.empty()) {
    s0_.push_back(0.0);
    s1_.push_back(0.0);
  } else {
    const double a = z_.back(), fa = f_.back(), L = depth - a;
    // Straight from (a, fa) to (depth, value): the resultant and its first
    // moment about the top of the wall.
    s0_.push_back(s0_.back() + 0.5 * (fa + value) * L);
    s1_.push_back(s1_.back() + L * (fa * (2.0 * a + depth) + value * (a + 2.0 * depth)) / 6.0);
  }
  z_.push_back(depth);
  f_.push_back(value);
}

size_t PiecewiseLinear::segment(double depth) const {
  const auto it = std::upper_bound(z_.begin(), z_.end(), depth);
  if (it == z_.begin()) return 0;
  return std::min(static_cast<size_t>(it - z_.begin()) - 1, z_.size() - 1);
}

double PiecewiseLinear::at(double depth) const {
  const size_t k = segment(depth);
  if (k + 1 >= z_.size() || depth <= z_[k]) return f_[k];
  const double t = (depth - z_[k]) / (z_[k + 1] - z_[k]);
  return f_[k] + t * (f_[k + 1] - f_[k]);
}

double PiecewiseLinear::force(double depth) const {
  if (z_.empty() || depth <= z_.front()) return 0.0;
  const size_t k = segment(depth);
  const double a = z_[k], fa = f_[k], L = depth - a, fb = at(depth);
  return s0_[k] + 0.5 * (fa + fb) * L;
}

double PiecewiseLinear::firstMoment(double depth) const {
  if (z_.empty() || depth <= z_.front()) return 0.0;
  const size_t k = segment(depth);
  const double a = z_[k], fa = f_[k], L = depth - a, fb = at(depth);
  return s1_[k] + L * (fa * (2.0 * a + depth) + fb * (a + 2.0 * depth)) / 6.0;
}

namespace {

// The depths where a diagram may jump or bend: layer boundaries, water
// tables and the excavation level, within the profile.
std::vector<double> Breaks(const SoilDescription& soil, double bottom) {
  std::vector<double> b = {soil.excavationDepth, soil.waterBackfill, soil.waterExcavation};
  for (const auto& layer : soil.layers) b.push_back(layer.top);
  std::erase_if(b, [&](double z) { return z <= 0.0 || z >= bottom; });
  std::sort(b.begin(), b.end());
  b.erase(std::unique(b.begin(), b.end(),
                      [&](double x, double y) { return y - x < kDepthTolerance * bottom; }),
          b.end());
  return b;
}

struct Faces {
  PressureRow forward, reverse;
};

class Sampler {
 public:
  Sampler(const SoilDescription& soil, const DesignOptions& options, double fs)
      : soil_(soil),
        form_(options.fsMethod),
        fs_(fs),
        strength_(form_ == FsMethod::Strength ? fs : 1.0),
        seismic_(options.seismic),
        backfill_(
            FaceCoefficientsFor(soil, Side::Backfill, options.backfillTheory, seismic_, strength_)),
        excavation_(FaceCoefficientsFor(soil, Side::Excavation, options.excavationTheory, seismic_,
                                        strength_)) {
    // The effective vertical stress just below the excavation level on the
    // backfill side: the net-passive form keeps the active pressure down to
    // there on the disturbing side.
    const double H = soil.excavationDepth;
    formation_ = engine::PressureAt(soil, Side::Backfill, H, strength_).verticalStress;
  }

  Faces at(double z) const {
    const SidePressure b = WithCoefficients(
        backfill_, soil_, Side::Backfill, engine::PressureAt(soil_, Side::Backfill, z, strength_));
    SidePressure e = WithCoefficients(excavation_, soil_, Side::Excavation,
                                      engine::PressureAt(soil_, Side::Excavation, z, strength_));
    if (seismic_) e.water = std::max(0.0, e.water - StandingWaterRelief(soil_, *seismic_, z));
    const double passiveFactor = form_ == FsMethod::Strength ? 1.0 : fs_;
    Faces f;
    double disturbing = b.active + b.water + b.surcharge;
    double resisting = e.soil ? e.passive : 0.0;
    if (form_ == FsMethod::NetPassive && e.soil) {
      // The active pressure of the soil's own weight below the excavation
      // level is taken off the passive resistance, not added to the load.
      const double weight =
          std::clamp(soil_.activeFactor * b.Ka * (b.verticalStress - formation_), 0.0, b.active);
      disturbing -= weight;
      resisting -= weight;
    }
    f.forward = {z, disturbing, resisting / passiveFactor + e.water, 0.0};
    f.forward.net = f.forward.backfill - f.forward.excavation;
    const double back = form_ == FsMethod::Passive ? b.passive / fs_ : b.passive;
    f.reverse = {z, back + b.water + b.surcharge, (e.soil ? e.active : 0.0) + e.water, 0.0};
    f.reverse.net = f.reverse.backfill - f.reverse.excavation;
    return f;
  }

 private:
  const SoilDescription& soil_;
  FsMethod form_;
  double fs_, strength_, formation_ = 0;
  std::optional<SeismicChoice> seismic_;
  FaceCoefficients backfill_, excavation_;
};

}  // namespace

NetPressure BuildNetPressure(const SoilDescription& soil, const DesignOptions& options, double fs) {
  const FsMethod form = options.fsMethod;
  NetPressure out;
  out.bottom = soil.profileBottom();
  const double bottom = out.bottom;
  if (bottom <= 0.0) return out;
  // The generator's inch, or coarser for a very deep profile.
  const double inch = engine::api::OneInch(engine::api::UnitsSystemOf(soil.units));
  const double step = std::max(inch, bottom / 4000.0);
  const double eps = kDepthTolerance * bottom;
  const Sampler sampler(soil, options, fs);

  const auto push = [&](double z, const Faces& f) {
    out.forward.add(z, f.forward.net);
    out.forwardRows.push_back(f.forward);
    if (form != FsMethod::NetPassive) {
      out.reverse.add(z, f.reverse.net);
      out.reverseRows.push_back(f.reverse);
    }
  };
  const std::vector<double> breaks = Breaks(soil, bottom);
  size_t next = 0;
  double z = 0.0;
  push(0.0, sampler.at(0.0));
  while (z < bottom) {
    double to = std::min(bottom, z + step);
    const bool atBreak = next < breaks.size() && breaks[next] <= to + eps;
    if (atBreak) to = breaks[next++];
    if (to - z > eps) {
      // The value just above `to`, then at it (from below when it is a
      // break: the lower layer's).
      Faces above = sampler.at(to - (atBreak ? eps : 0.0));
      above.forward.depth = above.reverse.depth = to;
      push(to, above);
    }
    if (atBreak) push(to, sampler.at(to));
    z = to;
  }
  return out;
}

}  // namespace terraq::design
