#include "ApparentPressureLoads.h"

#include <cmath>

#include "AnchorDesign.h"

namespace terraq::design {

namespace {

void Tributary(const PressureEnvelope& e, const std::vector<double>& z, SupportLoads& out) {
  double from = 0;
  for (size_t k = 0; k < z.size(); ++k) {
    const double below = k + 1 < z.size() ? z[k + 1] : e.height;
    const double to = 0.5 * (z[k] + below);
    out.supports[k].tributary = e.Load(from, to);
    from = to;
  }
  out.tributaryBase = e.Load(from, e.height);
}

// The beam from the top to the second support (or the excavation level),
// held at the top support and at its lower end, then the simple spans.
void Hinges(const PressureEnvelope& e, const std::vector<double>& z, SupportLoads& out) {
  const double H = e.height;
  auto end = [&](size_t k) { return k + 1 < z.size() ? z[k + 1] : H; };
  const double first = end(0);
  // Moments about the lower end of the upper beam (MomentAbout is negative
  // about a point below the loads): the top support takes what the hinge
  // there cannot.
  double topShare = -e.MomentAbout(0, first, first) / (first - z[0]);
  double carried = e.Load(0, first) - topShare;  // to the hinge or the base
  out.supports[0].hinge = topShare;
  for (size_t k = 1; k < z.size(); ++k) {
    const double a = z[k], b = end(k);
    const double upper = -e.MomentAbout(a, b, b) / (b - a);
    out.supports[k].hinge = carried + upper;
    carried = e.Load(a, b) - upper;
  }
  out.hingeBase = carried;
}

// The moment at `depth` of the wall held by the hinge method's loads: the
// envelope above it less the supports above it.
double HingeMoment(const PressureEnvelope& e, const SupportLoads& loads, double depth) {
  double moment = -e.MomentAbout(0, depth, depth);
  for (const SupportLoad& s : loads.supports)
    if (s.depth < depth) moment -= s.hinge * (depth - s.depth);
  return moment;
}

void Moments(const PressureEnvelope& e, SupportLoads& out) {
  out.cantileverMoment = HingeMoment(e, out, out.supports.front().depth);
  out.maxMoment = out.cantileverMoment;
  out.maxMomentDepth = out.supports.front().depth;
  // The moment is a cubic between the envelope's corners and the supports:
  // a fine sampling finds its peaks to far better than the envelope's own
  // accuracy.
  constexpr int kSamples = 4000;
  for (int k = 1; k < kSamples; ++k) {
    const double depth = e.height * k / kSamples;
    const double m = HingeMoment(e, out, depth);
    if (std::abs(m) > std::abs(out.maxMoment)) {
      out.maxMoment = m;
      out.maxMomentDepth = depth;
    }
  }
}

}  // namespace

std::optional<SupportLoads> SupportLoadsOf(const PressureEnvelope& envelope,
                                           const std::vector<double>& depths,
                                           const AnchorLayout& layout, std::string& error) {
  error = RefuseSupports(depths, envelope.height);
  if (error.empty() && depths.empty()) error = "support loads need at least one support";
  if (error.empty() && layout.spacing && !(*layout.spacing > 0 && std::isfinite(*layout.spacing)))
    error = "the horizontal spacing of the anchors must be above 0";
  if (error.empty() && !(layout.inclination >= 0 && layout.inclination < 90))
    error = "the inclination of the anchors must be 0 or more and below 90 degrees";
  if (!error.empty()) return std::nullopt;
  SupportLoads out;
  out.supports.resize(depths.size());
  for (size_t k = 0; k < depths.size(); ++k) out.supports[k].depth = depths[k];
  Tributary(envelope, depths, out);
  Hinges(envelope, depths, out);
  Moments(envelope, out);
  if (layout.spacing) {
    for (SupportLoad& s : out.supports) {
      s.tributaryDesign = AnchorLoadAlong(s.tributary, *layout.spacing, layout.inclination);
      s.hingeDesign = AnchorLoadAlong(s.hinge, *layout.spacing, layout.inclination);
    }
  }
  return out;
}

}  // namespace terraq::design
