#include "ApparentPressure.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace terraq::design {

namespace {

using S = EnvelopeSource;
using Soil = EnvelopeSoil;

constexpr EnvelopeDeclaration kDeclarations[] = {
    {S::TerzaghiPeck, Soil::Sand, "Terzaghi & Peck, sand", "p = 0.65 Ka gamma H, uniform over H",
     "Terzaghi, K. & Peck, R.B. (1967), Soil Mechanics in Engineering Practice, 2nd ed., "
     "Wiley; as summarised by Peck, R.B. (1969), Deep excavations and tunnelling in soft "
     "ground, 7th ICSMFE, State-of-the-Art volume, 225-290",
     "H > 0, gamma > 0, 0 < Ka <= 1"},
    {S::TerzaghiPeck, Soil::SoftClay, "Terzaghi & Peck, soft to medium clay",
     "p = gamma H - 4 m su (m = 1; 0.4 where the cut is underlain by deep soft normally "
     "consolidated clay), not less than 0.3 gamma H; rising from 0 at the top to p at 0.25 H, "
     "uniform below",
     "Terzaghi & Peck (1967); Peck (1969), as above",
     "H > 0, gamma > 0, su > 0; for N = gamma H / su > 4"},
    {S::TerzaghiPeck, Soil::StiffClay, "Terzaghi & Peck, stiff fissured clay",
     "p = K gamma H with K = 0.2 to 0.4; trapezoid rising over the top 0.25 H, uniform over "
     "the middle 0.5 H, falling to 0 over the lowest 0.25 H",
     "Terzaghi & Peck (1967); Peck (1969), as above",
     "H > 0, gamma > 0, 0.2 <= K <= 0.4; for N = gamma H / su <= 4"},
    {S::Fhwa, Soil::Sand, "FHWA, sand",
     "total load 0.65 Ka gamma H^2 as a trapezoid: p = load / (H - H1/3 - Hn+1/3), rising "
     "from 0 at the top to p at 2/3 H1, uniform, falling to 0 over the lowest 2/3 Hn+1",
     "Sabatini, P.J., Pass, D.G. & Bachus, R.C. (1999), Ground Anchors and Anchored Systems, "
     "Geotechnical Engineering Circular No. 4, FHWA-IF-99-015, Federal Highway Administration",
     "H > 0, gamma > 0, 0 < Ka <= 1, at least one support above H"},
    {S::Fhwa, Soil::SoftClay, "FHWA, soft to medium clay (Henkel)",
     "Ka = 1 - 4 su/(gamma H) + 2 sqrt(2) (d/H) (1 - 5.14 sub/(gamma H)), not less than 0.25; "
     "p = Ka gamma H rising from 0 at the top to p at 2/3 H1, uniform below",
     "Sabatini, Pass & Bachus (1999), FHWA-IF-99-015, as above; Henkel, D.J. (1971), The "
     "calculation of earth pressures in open cuts in soft clays, The Arup Journal 6(4), 14-15",
     "H > 0, gamma > 0, su > 0, sub >= 0, d >= 0, at least one support above H; "
     "for N = gamma H / su > 4"},
    {S::Fhwa, Soil::StiffClay, "FHWA, stiff to hard fissured clay",
     "total load K gamma H^2 with K = 0.2 to 0.4, as the sand's trapezoid",
     "Sabatini, Pass & Bachus (1999), FHWA-IF-99-015, as above",
     "H > 0, gamma > 0, 0.2 <= K <= 0.4, at least one support above H; "
     "for N = gamma H / su <= 4"},
};

std::string Three(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3g", value);
  return text;
}

// The points of a trapezoid from 0 at the top to p at `rise` and from p at
// H - `fall` to 0 at H (`fall` 0: p down to H).
std::vector<std::array<double, 2>> Trapezoid(double H, double p, double rise, double fall) {
  std::vector<std::array<double, 2>> points{{0, 0}, {rise, p}, {H - fall, p}};
  points.push_back({H, fall > 0 ? 0 : p});
  return points;
}

// The Terzaghi & Peck envelopes: their shapes are fixed fractions of H.
void TerzaghiPeck(const EnvelopeInput& in, PressureEnvelope& e) {
  const double H = in.height, gammaH = in.unitWeight * H;
  if (in.soil == Soil::Sand) {
    e.ordinate = 0.65 * in.Ka * gammaH;
    e.coefficient = in.Ka;
    e.points = {{0, e.ordinate}, {H, e.ordinate}};
  } else if (in.soil == Soil::SoftClay) {
    const double m = in.softBase ? 0.4 : 1.0;
    e.ordinate = gammaH - 4 * m * in.su;
    if (e.ordinate < 0.3 * gammaH) {
      e.notes.push_back("gamma H - 4 m su = " + Three(e.ordinate) +
                        " is below 0.3 gamma H: the envelope takes 0.3 gamma H");
      e.ordinate = 0.3 * gammaH;
    }
    e.coefficient = e.ordinate / gammaH;
    e.points = Trapezoid(H, e.ordinate, 0.25 * H, 0);
  } else {
    e.ordinate = in.clayFactor * gammaH;
    e.coefficient = in.clayFactor;
    e.points = Trapezoid(H, e.ordinate, 0.25 * H, 0.25 * H);
  }
}

// The FHWA envelopes: drawn from the top support (H1) and the lowest one
// (Hn+1 below it to the excavation level).
void Fhwa(const EnvelopeInput& in, PressureEnvelope& e) {
  const double H = in.height, gammaH = in.unitWeight * H;
  const double H1 = in.supports.front(), Hn1 = H - in.supports.back();
  if (in.soil == Soil::SoftClay) {
    const double sub = in.baseSu > 0 ? in.baseSu : in.su;
    double Ka = 1 - 4 * in.su / gammaH +
                2 * std::sqrt(2.0) * in.failureDepth / H * (1 - 5.14 * sub / gammaH);
    if (gammaH / sub >= 5.14)
      e.notes.push_back("gamma H / sub = " + Three(gammaH / sub) +
                        " reaches 5.14: the base of the cut is at the bearing capacity of the clay "
                        "below it; check basal heave");
    if (Ka < 0.25) {
      e.notes.push_back("Henkel's Ka = " + Three(Ka) + " is below 0.25: the envelope takes 0.25");
      Ka = 0.25;
    }
    e.coefficient = Ka;
    e.ordinate = Ka * gammaH;
    e.points = Trapezoid(H, e.ordinate, 2.0 / 3.0 * H1, 0);
    return;
  }
  const double K = in.soil == Soil::Sand ? 0.65 * in.Ka : in.clayFactor;
  e.coefficient = in.soil == Soil::Sand ? in.Ka : in.clayFactor;
  e.ordinate = K * gammaH * H / (H - H1 / 3 - Hn1 / 3);
  e.points = Trapezoid(H, e.ordinate, 2.0 / 3.0 * H1, 2.0 / 3.0 * Hn1);
}

std::string RefuseInput(const EnvelopeInput& in) {
  auto bad = [](double v) { return !std::isfinite(v) || v <= 0; };
  if (bad(in.height)) return "the excavation depth H must be above 0";
  if (bad(in.unitWeight)) return "the unit weight gamma must be above 0";
  if (!std::isfinite(in.surcharge) || in.surcharge < 0) return "the surcharge q must be 0 or more";
  if (in.soil == Soil::Sand && (bad(in.Ka) || in.Ka > 1))
    return "the active coefficient Ka must be above 0 and at most 1";
  if (in.soil != Soil::Sand && bad(in.su))
    return "the undrained strength su of the clay must be above 0";
  if (in.soil == Soil::StiffClay &&
      !(in.clayFactor >= kLeastClayFactor && in.clayFactor <= kMostClayFactor))
    return "the stiff clay's factor K (p = K gamma H) must be 0.2 to 0.4";
  if (!(in.baseSu >= 0) || !(in.failureDepth >= 0) || !std::isfinite(in.failureDepth))
    return "the strength below the excavation level and the depth d must be 0 or more";
  if (std::string why = RefuseSupports(in.supports, in.height); !why.empty()) return why;
  const bool needsSupports = in.source == S::Fhwa;
  if (needsSupports && in.supports.empty())
    return "the FHWA envelopes are drawn from the support levels: give at least one";
  return {};
}

// Where the published rule says another envelope suits the clay.
void NoteStability(const EnvelopeInput& in, PressureEnvelope& e) {
  if (in.soil == Soil::Sand) return;
  e.stabilityNumber = in.unitWeight * in.height / in.su;
  const bool stiff = e.stabilityNumber <= kStiffClayNumber;
  if (stiff != (in.soil == Soil::StiffClay))
    e.notes.push_back("N = gamma H / su = " + Three(e.stabilityNumber) + (stiff ? " <= " : " > ") +
                      "4: the published rule takes the clay as " +
                      (stiff ? "stiff" : "soft to medium"));
}

// Simpson's rule is exact for the products of two linear functions.
double MomentOfLinear(double u, double v, double pu, double pv, double about) {
  const double m = 0.5 * (u + v);
  return (v - u) / 6 * (pu * (u - about) + 2 * (pu + pv) * (m - about) + pv * (v - about));
}

}  // namespace

std::span<const EnvelopeDeclaration> EnvelopeDeclarations() { return kDeclarations; }

const EnvelopeDeclaration& DeclarationOf(EnvelopeSource source, EnvelopeSoil soil) {
  for (const EnvelopeDeclaration& d : kDeclarations)
    if (d.source == source && d.soil == soil) return d;
  return kDeclarations[0];
}

const char* SourceKey(EnvelopeSource source) {
  return source == S::Fhwa ? "fhwa" : "terzaghi-peck";
}

const char* SoilKey(EnvelopeSoil soil) {
  return soil == Soil::Sand ? "sand" : soil == Soil::SoftClay ? "soft-clay" : "stiff-clay";
}

std::string RefuseSupports(const std::vector<double>& supports, double height) {
  for (size_t k = 0; k < supports.size(); ++k) {
    const std::string which = "support " + std::to_string(k + 1) + " at " + Three(supports[k]);
    if (!std::isfinite(supports[k]) || supports[k] < 0)
      return which + " is above the top of the wall";
    if (supports[k] >= height) return which + " is not above the excavation level " + Three(height);
    if (k > 0 && supports[k] <= supports[k - 1])
      return which + " is not deeper than support " + std::to_string(k);
  }
  return {};
}

std::optional<PressureEnvelope> ApparentEnvelope(const EnvelopeInput& in, std::string& error) {
  error = RefuseInput(in);
  if (!error.empty()) return std::nullopt;
  PressureEnvelope e;
  e.height = in.height;
  if (in.source == S::TerzaghiPeck) TerzaghiPeck(in, e);
  else Fhwa(in, e);
  e.surchargePressure = e.coefficient * in.surcharge;
  NoteStability(in, e);
  return e;
}

double PressureEnvelope::PressureAt(double depth) const {
  for (size_t k = 1; k < points.size(); ++k) {
    const auto& [z0, p0] = points[k - 1];
    const auto& [z1, p1] = points[k];
    if (depth <= z1 && z1 > z0)
      return surchargePressure + p0 + (p1 - p0) * (std::max(depth, z0) - z0) / (z1 - z0);
  }
  return surchargePressure + (points.empty() ? 0 : points.back()[1]);
}

double PressureEnvelope::Load(double from, double to) const {
  double load = 0;
  for (size_t k = 1; k < points.size(); ++k) {
    const double u = std::max(from, points[k - 1][0]), v = std::min(to, points[k][0]);
    if (v > u) load += (v - u) * 0.5 * (PressureAt(u) + PressureAt(v));
  }
  return load;
}

double PressureEnvelope::MomentAbout(double from, double to, double about) const {
  double moment = 0;
  for (size_t k = 1; k < points.size(); ++k) {
    const double u = std::max(from, points[k - 1][0]), v = std::min(to, points[k][0]);
    if (v > u) moment += MomentOfLinear(u, v, PressureAt(u), PressureAt(v), about);
  }
  return moment;
}

}  // namespace terraq::design
