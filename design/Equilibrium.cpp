#include "Equilibrium.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>

namespace terraq::design {

namespace {

using Function = std::function<double(double)>;

// The first depth in (from, to] where g, positive at `from`, reaches zero or
// less: the samples `depths` bracket it, bisection refines it to `tol`.
// Returns NaN when g stays positive.
double FirstCrossing(const Function& g, double from, double to, const std::vector<double>& depths,
                     double tol) {
  double a = from;
  auto it = std::upper_bound(depths.begin(), depths.end(), from);
  for (;; ++it) {
    const double b = it == depths.end() || *it > to ? to : *it;
    if (b > a && g(b) <= 0.0) {
      double lo = a, hi = b;
      while (hi - lo > tol) {
        const double mid = 0.5 * (lo + hi);
        (g(mid) > 0.0 ? lo : hi) = mid;
      }
      return hi;
    }
    a = b;
    if (b >= to) return std::nan("");
  }
}

// Full fixed earth: below the point of rotation z1 the net pressure turns
// from its forward value there, f1, straight to the reversed value at the
// tip, rt. Its resultant and first moment about the top of the wall, from z1
// down to z, for a tip at zt.
struct Transition {
  double z1, zt, f1, rt;
  double slope() const { return zt > z1 ? (rt - f1) / (zt - z1) : 0.0; }
  double force(double z) const {
    const double L = z - z1;
    return f1 * L + 0.5 * slope() * L * L;
  }
  double moment(double z) const {
    const double L = z - z1, m = slope();
    return f1 * z1 * L + 0.5 * (f1 + m * z1) * L * L + m * L * L * L / 3.0;
  }
};

// The tip that balances the forces for the point of rotation z1; NaN when
// none does within the profile (or the pressures above z1 do not yet push
// back).
double BalancingTip(const NetPressure& net, double z1, double tol) {
  const double above = net.forward.force(z1), f1 = net.forward.at(z1);
  if (above >= 0.0) return std::nan("");
  const Function g = [&](double zt) {
    return -(above + Transition{z1, zt, f1, net.reverse.at(zt)}.force(zt));
  };
  return FirstCrossing(g, z1, net.bottom, net.reverse.depths(), tol);
}

// The resultant and first moment about the top of every pressure from the
// top of the wall down to z, with the transition below z1 (full fixed
// earth).
struct Cumulative {
  const NetPressure& net;
  std::optional<Transition> transition;
  double force(double z) const {
    if (!transition || z <= transition->z1) return net.forward.force(z);
    return net.forward.force(transition->z1) + transition->force(z);
  }
  double moment(double z) const {
    if (!transition || z <= transition->z1) return net.forward.firstMoment(z);
    return net.forward.firstMoment(transition->z1) + transition->moment(z);
  }
};

}  // namespace

Equilibrium SolveEquilibrium(const NetPressure& net, Method method, double H, double anchorDepth) {
  Equilibrium eq;
  if (net.forward.empty()) return eq;
  const double tol = kDepthTolerance * net.bottom;
  const PiecewiseLinear& f = net.forward;
  // Moment about the tip (the bending moment there) or about the anchor of
  // the pressures above the tip: positive while they would overturn the wall.
  const Function aboutTip = [&](double zt) { return zt * f.force(zt) - f.firstMoment(zt); };
  const Function aboutAnchor = [&](double zt) {
    return f.firstMoment(zt) - anchorDepth * f.force(zt);
  };
  const Function& overturning = method == Method::FreeEarth ? aboutAnchor : aboutTip;

  double tip =
      overturning(H) <= 0.0 ? H : FirstCrossing(overturning, H, net.bottom, f.depths(), tol);
  if (std::isnan(tip)) return eq;
  eq.found = true;
  eq.tip = eq.pivot = tip;
  if (method == Method::FreeEarth) eq.anchorForce = f.force(tip);
  else if (tip > H) eq.counterForce = -f.force(tip);
  if (method != Method::FixedEarthFull || tip <= H) return eq;

  // Both equations: the point of rotation where the moment of all the
  // pressures, in balance of force, vanishes. It lies between the zero of
  // the forward resultant and the simplified solution's tip, where that
  // moment is positive.
  const Function residual = [&](double z1) {
    const double zt = BalancingTip(net, z1, tol);
    if (std::isnan(zt)) return 1.0;  // nothing balances yet: keep searching deeper
    return -(f.firstMoment(z1) + Transition{z1, zt, f.at(z1), net.reverse.at(zt)}.moment(zt));
  };
  const double pivot = FirstCrossing(residual, H, tip, f.depths(), tol);
  const double zt = std::isnan(pivot) ? std::nan("") : BalancingTip(net, pivot, tol);
  if (std::isnan(zt)) {
    eq.found = false;
    return eq;
  }
  eq.pivot = pivot;
  eq.tip = zt;
  eq.pivotPressure = f.at(pivot);
  eq.tipPressure = net.reverse.at(zt);
  eq.counterForce = Transition{pivot, zt, eq.pivotPressure, eq.tipPressure}.force(zt);
  return eq;
}

WallForces ForcesOnWall(const NetPressure& net, Method method, const Equilibrium& eq,
                        double anchorDepth) {
  Cumulative c{net, std::nullopt};
  if (method == Method::FixedEarthFull && eq.tip > eq.pivot)
    c.transition = Transition{eq.pivot, eq.tip, eq.pivotPressure, eq.tipPressure};
  const double T = method == Method::FreeEarth ? eq.anchorForce : 0.0;
  const Function shear = [&](double z) { return c.force(z) - (z > anchorDepth ? T : 0.0); };
  const Function moment = [&](double z) {
    return z * c.force(z) - c.moment(z) - T * std::max(0.0, z - anchorDepth);
  };
  const double tol = kDepthTolerance * net.bottom;

  WallForces w;
  double zeroShearMoment = 0.0;
  std::vector<double> depths = net.forward.depths();
  if (method == Method::FreeEarth) depths.push_back(anchorDepth);
  std::sort(depths.begin(), depths.end());
  double previous = 0.0, shearBefore = 0.0;
  for (double z : depths) {
    if (z > eq.tip) break;
    const double v = shear(z);
    // A change of sign of the shear between samples: its zero is a turning
    // point of the moment.
    if (z > previous && ((shearBefore > 0.0 && v < 0.0) || (shearBefore < 0.0 && v > 0.0))) {
      const bool rising = shearBefore < 0.0;
      double lo = previous, hi = z;
      while (hi - lo > tol) {
        const double mid = 0.5 * (lo + hi);
        ((shear(mid) < 0.0) == rising ? lo : hi) = mid;
      }
      const double at = 0.5 * (lo + hi), m = moment(at);
      if (std::fabs(m) > std::fabs(zeroShearMoment)) {
        zeroShearMoment = m;
        w.zeroShearDepth = at;
      }
      if (std::fabs(m) > std::fabs(w.maxMoment)) {
        w.maxMoment = m;
        w.maxMomentDepth = at;
      }
    }
    const double m = moment(z);
    if (std::fabs(m) > std::fabs(w.maxMoment)) {
      w.maxMoment = m;
      w.maxMomentDepth = z;
    }
    previous = z;
    shearBefore = v;
  }
  return w;
}

}  // namespace terraq::design
