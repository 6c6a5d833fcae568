#include "CalibrationEnvelope.h"

#include <algorithm>
#include <cmath>

namespace terraq::design {

namespace {

// δmax / H in percent, one row per factor of safety of kEnvelopeSafety, one
// column per stiffness of kEnvelopeStiffness: the curves of Clough and
// O'Rourke (1990), approximate readings of their figure (after Clough,
// Smith and Sweeney 1989): an order of magnitude to compare with.
constexpr double kRatio[6][6] = {
    {3.00, 2.50, 1.90, 1.35, 0.90, 0.65},  // FS 0.9
    {2.40, 2.00, 1.50, 1.05, 0.70, 0.50},  // FS 1.0
    {2.00, 1.60, 1.15, 0.80, 0.55, 0.40},  // FS 1.1
    {1.20, 0.95, 0.70, 0.50, 0.35, 0.28},  // FS 1.4
    {0.70, 0.55, 0.42, 0.32, 0.25, 0.21},  // FS 2.0
    {0.50, 0.40, 0.30, 0.25, 0.20, 0.18},  // FS 3.0
};

// The cell `value` falls in along `axis` and the fraction across it,
// clamped to the axis's ends (`outside` set when clamped).
template <typename Axis>
size_t Cell(const Axis& axis, double value, double& fraction, bool& outside) {
  if (!(value > axis.front())) {
    outside = outside || value < axis.front() || !std::isfinite(value);
    fraction = 0;
    return 0;
  }
  if (value >= axis.back()) {
    outside = outside || value > axis.back();
    fraction = 1;
    return axis.size() - 2;
  }
  size_t k = 0;
  while (value > axis[k + 1]) ++k;
  fraction = (value - axis[k]) / (axis[k + 1] - axis[k]);
  return k;
}

}  // namespace

double SystemStiffness(double ei, double gammaW, double h) {
  if (!(ei > 0 && gammaW > 0 && h > 0)) return 0;
  return ei / (gammaW * h * h * h * h);
}

EnvelopeValue MovementEnvelope(double stiffness, double safety) {
  EnvelopeValue out;
  std::array<double, 6> logStiffness{};
  for (size_t k = 0; k < logStiffness.size(); ++k)
    logStiffness[k] = std::log10(kEnvelopeStiffness[k]);
  double fs = 0, fk = 0;
  const double x = stiffness > 0 ? std::log10(stiffness) : -HUGE_VAL;
  const size_t k = Cell(logStiffness, x, fk, out.outside);
  const size_t s = Cell(kEnvelopeSafety, safety, fs, out.outside);
  auto at = [&](size_t row) { return kRatio[row][k] + fk * (kRatio[row][k + 1] - kRatio[row][k]); };
  out.ratio = at(s) + fs * (at(s + 1) - at(s));
  return out;
}

EnvelopePoint EnvelopePointOf(double ei, double gammaW, double h, double height, double deflection,
                              double safety) {
  EnvelopePoint p;
  p.stiffness = SystemStiffness(ei, gammaW, h);
  p.ratio = height > 0 ? 100 * std::fabs(deflection) / height : 0;
  p.envelope = MovementEnvelope(p.stiffness, safety);
  return p;
}

}  // namespace terraq::design
