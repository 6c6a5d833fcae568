#include "BasalHeave.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <iterator>

namespace terraq::design {

namespace {

// The square (and circular) cut's Nc against H/B, the curve of Skempton
// (1951) that Bjerrum and Eide (1956) take for the base of a cut, read at
// the values the design manuals tabulate; beyond H/B = 4 it stays at 9.
struct ChartPoint {
  double depthRatio, Nc;
};
constexpr std::array<ChartPoint, 10> kSquareCut{{{0.0, 6.2},
                                                 {0.25, 6.7},
                                                 {0.5, 7.1},
                                                 {0.75, 7.4},
                                                 {1.0, 7.7},
                                                 {1.5, 8.1},
                                                 {2.0, 8.4},
                                                 {2.5, 8.6},
                                                 {3.0, 8.8},
                                                 {4.0, 9.0}}};

// Nc cb over `loading` less `sideShear`, or empty when nothing is left to
// load the base.
std::optional<double> Factor(double resisting, double loading, double sideShear) {
  const double net = loading - sideShear;
  if (!(net > 0.0)) return std::nullopt;
  return resisting / net;
}

HeaveFactor Method(double Nc, const BasalHeaveInput& in, double sideShear) {
  HeaveFactor f;
  f.Nc = Nc;
  f.resisting = Nc * in.baseStrength;
  f.loading = in.unitWeight * in.depth + in.surcharge;
  f.sideShear = sideShear;
  f.factor = Factor(f.resisting, f.loading, sideShear);
  f.factorWithoutSideShear = Factor(f.resisting, f.loading, 0.0);
  if (!f.factorWithoutSideShear)
    f.note = "Nothing loads the excavation level beside the cut: its base cannot heave.";
  else if (!f.factor)
    f.note =
        "The shear on the soil column's side holds all its weight and the surcharge up: "
        "nothing is left to push the base up, which cannot heave.";
  return f;
}

}  // namespace

std::optional<std::string> BasalHeaveRefusal(const BasalHeaveInput& in) {
  const double values[] = {in.depth,
                           in.width,
                           in.length,
                           in.baseStrength,
                           in.unitWeight,
                           in.surcharge,
                           in.sideStrength.value_or(0.0),
                           in.firmStratumDepth.value_or(0.0)};
  for (double v : values)
    if (!std::isfinite(v)) return "The cut's dimensions, strengths and loads must be numbers.";
  if (!(in.depth > 0.0)) return "The cut's depth H must be above 0.";
  if (!(in.width > 0.0)) return "The cut's width B must be above 0.";
  if (in.length != 0.0 && !(in.length >= in.width))
    return "The cut's length L must be at least its width B (0 for a long cut).";
  if (!(in.baseStrength > 0.0))
    return "The undrained strength of the clay below the base must be above 0: heave is a failure "
           "of clay, a base of sand or of no strength has none.";
  if (in.sideStrength && *in.sideStrength < 0.0)
    return "The undrained strength beside the cut must not be negative.";
  if (in.unitWeight < 0.0 || in.surcharge < 0.0)
    return "The unit weight and the surcharge must not be negative.";
  if (in.firmStratumDepth && !(*in.firmStratumDepth > 0.0))
    return "The depth of the firm stratum below the base must be above 0.";
  return std::nullopt;
}

double BjerrumEideNc(double depthRatio, double planRatio) {
  const double r = std::max(depthRatio, 0.0);
  const auto above = std::find_if(kSquareCut.begin(), kSquareCut.end(),
                                  [r](const ChartPoint& p) { return p.depthRatio > r; });
  double square = kSquareCut.back().Nc;
  if (above != kSquareCut.end()) {
    const ChartPoint& hi = *above;
    const ChartPoint& lo = *std::prev(above);
    square = lo.Nc + (hi.Nc - lo.Nc) * (r - lo.depthRatio) / (hi.depthRatio - lo.depthRatio);
  }
  return (0.84 + 0.16 * std::clamp(planRatio, 0.0, 1.0)) * square;
}

BasalHeaveResult CheckBasalHeave(const BasalHeaveInput& in) {
  BasalHeaveResult r;
  if ((r.error = BasalHeaveRefusal(in))) return r;
  r.blockWidth = kTerzaghiBlockRatio * in.width;
  if (in.firmStratumDepth) r.blockWidth = std::min(r.blockWidth, *in.firmStratumDepth);
  const double sideShear = in.sideStrength.value_or(in.baseStrength) * in.depth / r.blockWidth;
  const double planRatio = in.length > 0.0 ? in.width / in.length : 0.0;
  r.terzaghi = Method(kTerzaghiNc, in, sideShear);
  r.bjerrumEide = Method(BjerrumEideNc(in.depth / in.width, planRatio), in, sideShear);
  return r;
}

}  // namespace terraq::design
