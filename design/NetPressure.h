#pragma once
// The net pressure diagrams of limit equilibrium with a factor of safety
// applied, sampled from the top of the wall to the bottom of the soil
// profile, and their resultants and first moments to any depth.
//
// Two diagrams: `forward`, the wall moving towards the excavation (active
// behind, passive in front), and `reverse`, the toe of a cantilever moving
// back below its point of rotation (passive behind, active in front). Each
// is net pressure positive towards the excavation, F/L^2, against depth L.
// Between samples the diagram is taken straight; a jump (at a layer
// boundary, a water table, the excavation level) is two samples at one
// depth. Within a layer of the generator's rules the pressures are straight
// lines, so the resultants are exact there whatever the spacing.

#include <vector>

#include "LimitEquilibrium.h"

namespace terraq::design {

class PiecewiseLinear {
 public:
  void add(double depth, double value);  // depths non-decreasing
  bool empty() const { return z_.empty(); }
  double first() const { return z_.front(); }
  double last() const { return z_.back(); }
  // The value at `depth` (below a jump, the deeper value).
  double at(double depth) const;
  // Integrals of f and of f z from the first depth down to `depth`.
  double force(double depth) const;
  double firstMoment(double depth) const;
  const std::vector<double>& depths() const { return z_; }
  const std::vector<double>& values() const { return f_; }

 private:
  size_t segment(double depth) const;  // k with z_[k] <= depth < z_[k+1]
  std::vector<double> z_, f_, s0_, s1_;
};

struct NetPressure {
  PiecewiseLinear forward, reverse;
  // The faces' pressures at the samples of each diagram.
  std::vector<PressureRow> forwardRows, reverseRows;
  double bottom = 0;  // of the soil profile
};

// Diagrams for the factor `fs` in the form and with the faces' theories of
// `options`. The net-passive form gives no `reverse` diagram.
NetPressure BuildNetPressure(const engine::api::SoilDescription& soil, const DesignOptions& options,
                             double fs);

}  // namespace terraq::design
