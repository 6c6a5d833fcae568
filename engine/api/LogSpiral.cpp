#include "LogSpiral.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>

namespace terraq::engine::api {

namespace {

// A point of the section through the wall: x into the retained soil plus i z
// downwards, the top of the wall at 0, its toe at i (H = 1, γ = 1).
using Point = std::complex<double>;

constexpr double kPi = 3.14159265358979323846;
constexpr double kNoMechanism = std::numeric_limits<double>::infinity();
constexpr int kSpiralChords = 96;  // the zone's area to about 1e-5 of itself
constexpr double kSlack = 1e-9;    // of the unit wall height

double Cross(Point a, Point b) { return a.real() * b.imag() - a.imag() * b.real(); }
double Dot(Point a, Point b) { return a.real() * b.real() + a.imag() * b.imag(); }

// Rankine's limit state under ground sloping at beta: the stress per unit
// depth below the ground (compression positive) is the one whose traction on
// planes parallel to the ground is the vertical weight above them, on the
// active or passive Mohr circle; its slip lines lead from a point up to the
// ground away from the wall (the exit) and towards it (the conjugate).
struct RankineZone {
  double sxx = 0, sxz = 0, szz = 0;
  Point exit, conjugate;
};

RankineZone ZoneOf(bool passive, double phi, double beta) {
  RankineZone z;
  const double cb = std::cos(beta), cp = std::cos(phi), tb = std::tan(beta);
  const double r = std::sqrt(std::max(0.0, cb * cb - cp * cp));
  const double centre = cb * (cb + (passive ? r : -r)) / (cp * cp);  // of the Mohr circle
  z.sxx = (2.0 * centre - 1.0) * cb * cb;
  z.sxz = -z.sxx * tb;
  z.szz = 1.0 + z.sxx * tb * tb;
  // The slip lines lie at 45° - φ/2 either side of the major principal stress.
  const double major = 0.5 * std::atan2(2.0 * z.sxz, z.sxx - z.szz);
  // Each is taken in the sense that leads up to the ground.
  const auto towardsGround = [tb](Point d) { return d.imag() + d.real() * tb < 0 ? d : -d; };
  const Point a = towardsGround(std::polar(1.0, major + 0.25 * kPi - 0.5 * phi));
  const Point b = towardsGround(std::polar(1.0, major - 0.25 * kPi + 0.5 * phi));
  z.exit = a.real() > b.real() ? a : b;
  z.conjugate = a.real() > b.real() ? b : a;
  return z;
}

struct Mechanisms {
  bool passive;
  double tanBeta;
  RankineZone zone;
  Point growth;    // d(ln(P - O))/dθ: the radius grows by tan φ (passive) per radian turned
  Point thrust;    // unit direction of the wall's force on the soil
  Point thrustAt;  // a third of the wall's height above its toe

  double Depth(Point q) const { return q.imag() + q.real() * tanBeta; }

  // The coefficient of the spiral that turns by `sweep` from the toe to the
  // Rankine zone; infinite when the spiral leaves the soil.
  double Coefficient(double sweep) const;
};

// Area-weighted centroid of a simple polygon.
struct Area {
  double area;
  Point centroid;
};
Area AreaOf(const Point* p, int n) {
  double twice = 0;
  Point moment = 0;
  for (int k = 0; k < n; ++k) {
    const Point a = p[k], b = p[(k + 1) % n];
    const double c = Cross(a, b);
    twice += c;
    moment += (a + b) * c;
  }
  return {0.5 * std::fabs(twice), moment / (3.0 * twice)};
}

double Mechanisms::Coefficient(double sweep) const {
  const Point top{0, 0}, toe{0, 1};
  // The tangent turns upwards (θ decreasing in x + iz) to meet the exit slip
  // line at the end of the sweep; the pole lies on the Rankine zone's inner
  // slip line, which passes through the top of the wall (Terzaghi).
  const Point toPole = std::polar(1.0, std::arg(zone.exit) + sweep - std::arg(growth));
  const Point up = zone.conjugate;
  const double det = Cross(up, toPole);
  if (std::fabs(det) < kSlack) return kNoMechanism;
  const double radius = Cross(up, toe - top) / det;
  if (!(radius > kSlack)) return kNoMechanism;
  const Point pole = toe - radius * toPole;
  Point outline[kSpiralChords + 3];
  outline[0] = 0;
  outline[1] = toe;
  // Each chord turns the radius by the same factor.
  const Point turn = std::exp(growth * (sweep / kSpiralChords));
  Point radial = toe - pole;
  for (int k = 1; k <= kSpiralChords; ++k) {
    radial *= turn;
    const Point q = pole + radial;
    if (q.real() < -kSlack || Depth(q) < -kSlack) return kNoMechanism;
    outline[k + 1] = q;
  }
  const Point junction = outline[kSpiralChords + 1];
  const double rise = up.imag() + up.real() * tanBeta;  // depth lost per unit length
  if (!(Depth(junction) > kSlack) || !(rise < 0)) return kNoMechanism;
  const double length = -Depth(junction) / rise;
  const Point ground = junction + up * length;
  if (ground.real() < -kSlack) return kNoMechanism;
  outline[kSpiralChords + 2] = ground;
  const Area soil = AreaOf(outline, kSpiralChords + 3);

  // The Rankine zone's push across the face from the junction to the ground:
  // its stress grows from nothing at the ground, so the push acts a third of
  // the way up from the junction.
  Point normal{-up.imag(), up.real()};
  if (Dot(normal, zone.exit) < 0) normal = -normal;
  const Point perDepth{-(zone.sxx * normal.real() + zone.sxz * normal.imag()),
                       -(zone.sxz * normal.real() + zone.szz * normal.imag())};
  const Point push = perDepth * (0.5 * Depth(junction) * length);
  const Point pushAt = junction + up * (length / 3.0);

  // About the pole the reaction of the spiral, inclined at φ to its normal,
  // has no moment.
  const double others =
      Cross(soil.centroid - pole, Point{0, soil.area}) + Cross(pushAt - pole, push);
  // The pole lies above the thrust's line of action: a pole below it would
  // turn the thrust against the weight and the Rankine zone, and a pole on it
  // would make any thrust balance.
  const double arm = Cross(thrustAt - pole, thrust);
  if (arm > -kSlack) return kNoMechanism;
  const double force = -others / arm;
  return force > 0 ? 2.0 * force : kNoMechanism;
}

// The objective made smallest: K passive, -K active.
double Objective(const Mechanisms& m, double sweep) {
  const double K = m.Coefficient(sweep);
  if (!std::isfinite(K)) return kNoMechanism;
  return m.passive ? K : -K;
}

}  // namespace

std::optional<double> LogSpiralCoefficient(bool passive, double phi, double delta, double beta) {
  Mechanisms m{passive,
               std::tan(beta),
               ZoneOf(passive, phi, beta),
               Point{passive ? std::tan(phi) : -std::tan(phi), -1.0},
               Point{std::cos(delta), passive ? std::sin(delta) : -std::sin(delta)},
               Point{0, 2.0 / 3.0}};
  // A scan of the sweeps, then a golden-section search about the best.
  constexpr int kSweeps = 180;
  constexpr double kMaxSweep = 0.75 * kPi, kStep = kMaxSweep / kSweeps;
  double best = kNoMechanism, sweep = 0;
  for (int i = 1; i <= kSweeps; ++i) {
    const double f = Objective(m, kStep * i);
    if (f < best) best = f, sweep = kStep * i;
  }
  if (!std::isfinite(best)) return std::nullopt;
  const double golden = 0.5 * (std::sqrt(5.0) - 1.0);
  double a = std::max(0.0, sweep - kStep), b = sweep + kStep;
  double x1 = b - golden * (b - a), x2 = a + golden * (b - a);
  double f1 = Objective(m, x1), f2 = Objective(m, x2);
  while (b - a > 1e-9) {
    if (f1 < f2) {
      b = x2, x2 = x1, f2 = f1;
      x1 = b - golden * (b - a), f1 = Objective(m, x1);
    } else {
      a = x1, x1 = x2, f1 = f2;
      x2 = a + golden * (b - a), f2 = Objective(m, x2);
    }
  }
  best = std::min({best, f1, f2});
  return passive ? best : -best;
}

}  // namespace terraq::engine::api
