#include "Lookups.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include <vector>
#include "output/ReportMarks.h"
#include "textio/FixedFormat.h"

namespace terraq::engine {

namespace {

// Single-precision constants of the spacing reduction (a fit to group
// tests of laterally loaded piles in a row).
const double kSpacingFactor = static_cast<double>(0.5292f);
const double kSpacingExponent = static_cast<double>(0.5659f);
const double kSpacingLimit = static_cast<double>(3.1f);

constexpr double kZeroValue = 1.0e-20;

enum class BoundaryRule { Lower, Mean, Following };

double AtBoundary(double upper, double lower, BoundaryRule rule) {
  if (rule == BoundaryRule::Following) return lower;
  // A zero on one side of a boundary means the column is not used by that
  // layer's model: take the other side's value.
  if (lower < kZeroValue) return upper;
  if (upper < kZeroValue) return lower;
  return rule == BoundaryRule::Lower ? lower : 0.5 * (upper + lower);
}

// Linear interpolation in a table of increasing depth; nullopt below its
// last depth. `depth(i)` and `value(i)` give the columns of point i
// (0-based).
template <typename Depth, typename Value>
std::optional<double> Interpolate(size_t n, Depth depth, Value value, double x, BoundaryRule rule) {
  if (n == 0 || x > depth(n - 1)) return std::nullopt;
  if (x == depth(n - 1)) return value(n - 1);
  for (size_t i = 1; i < n; ++i) {
    if (depth(i) < x) continue;
    if (x == depth(i)) {
      if (i + 1 < n && depth(i + 1) == depth(i)) return AtBoundary(value(i), value(i + 1), rule);
      return value(i);
    }
    const double span = depth(i) - depth(i - 1);
    if (span == 0.0) return value(i);
    return value(i - 1) + (value(i) - value(i - 1)) * (x - depth(i - 1)) / span;
  }
  return value(n - 1);
}

std::optional<double> StrengthValue(const SoilProfile& profile, double StrengthPoint::*column,
                                    double x, BoundaryRule rule) {
  const auto& t = profile.strength;
  return Interpolate(
      t.size(), [&](size_t i) { return t[i].depth; }, [&](size_t i) { return t[i].*column; }, x,
      rule);
}

// The warning of a depth below the strength table, told twice to the
// caller as the run stops.
std::vector<std::string> WarningBeyond(double x, const char* extentText, const char* curveText) {
  std::vector<std::string> lines;
  for (int twice = 0; twice < 2; ++twice) {
    lines.push_back("");
    lines.push_back(WarningMarkLine());
    lines.push_back(Line().x(5).a("THE VALUE OF X =").e(x, 12, 4).a(extentText).str());
    lines.push_back(Line().x(5).a(curveText).str());
  }
  return lines;
}

[[noreturn]] void StopBeyond(double x, const std::string& what, const std::string& stopText,
                             std::vector<std::string> warning = {}) {
  StopWithMessage(
      Line()
          .a("ERROR STOP -- THE DEPTH X =")
          .e(x, 12, 4)
          .a(" BELOW THE EXCAVATION LEVEL IS BEYOND THE EXTENT OF THE " + what + stopText)
          .str(),
      std::move(warning));
}

double ModificationValue(const std::vector<PyModificationRow>& rows,
                         double PyModificationRow::*column, double x) {
  if (x < rows.front().depth || x > rows.back().depth) return 1.0;
  const auto value = Interpolate(
      rows.size(), [&](size_t i) { return rows[i].depth; }, [&](size_t i) { return rows[i].*column; },
      x, BoundaryRule::Following);
  return value.value_or(1.0);
}

}  // namespace

double CohesionAt(const SoilProfile& profile, double x) {
  if (const auto c = StrengthValue(profile, &StrengthPoint::c, x, BoundaryRule::Lower)) return *c;
  StopBeyond(x, "INPUT STRENGTH CURVE", " (STOP 1)",
             WarningBeyond(x, "IS BEYOND THE EXTENT OF", "THE INPUT STRENGTH CURVE"));
}

double PhiAt(const SoilProfile& profile, double x) {
  if (const auto phi = StrengthValue(profile, &StrengthPoint::phi, x, BoundaryRule::Mean))
    return *phi;
  StopBeyond(x, "INPUT PHI CURVE", "",
             WarningBeyond(x, " IS BEYOND THE EXTENT OF", "THE INPUT PHI CURVE"));
}

double E50At(const SoilProfile& profile, double x) {
  const auto e50 = StrengthValue(profile, &StrengthPoint::e50, x, BoundaryRule::Mean);
  return e50 ? *e50 : profile.strength.back().e50;
}

double SixthValueAt(const SoilProfile& profile, double x) {
  const auto v = StrengthValue(profile, &StrengthPoint::sixth, x, BoundaryRule::Mean);
  return v ? *v : profile.strength.back().sixth;
}

double LayerAverageCohesion(const PyGeneration& g, double x, int j) {
  const ProfileLayer& layer = g.profile.layer(j);
  if (x - layer.top < 1.0e-5) return CohesionAt(g.profile, x);
  if (x > g.profile.strength.back().depth && g.report) {
    g.report->line("");
    g.report->line(WarningMarkLine());
    g.report->line(Line().x(5).a("THE VALUE OF X =").e(x, 12, 4)
                       .a(" IS BEYOND THE EXTENT OF THE/").x(5).a("INPUT CURVE FOR STRENGTH").str());
  }
  const size_t top = static_cast<size_t>(2 * j - 2);
  const double cTop = g.profile.strength[top].c;
  const double cBottom = g.profile.strength[top + 1].c;
  const double t = layer.bottom - layer.top;
  const double cx = cTop + (cBottom - cTop) * (x - layer.top) / t;
  return 0.5 * (cx + cTop);
}

double AverageUnitWeightAbove(const SoilProfile& profile, double x) {
  const auto& w = profile.weights;
  if (x < kSmallLength) {
    for (const WeightPoint& p : w)
      if (p.weight > 0.0) return p.weight;
    return w.back().weight;
  }
  if (x > w.back().depth + kSmallLength) StopBeyond(x, "UNIT WEIGHT DISTRIBUTION", " (STOP 4)");
  // Trapezoids over the piecewise linear table, which starts at the
  // excavation level; a step (two points of one depth, at the water table)
  // is a segment of no length.
  double sum = 0.0;
  for (size_t i = 1; i < w.size(); ++i) {
    const double d0 = w[i - 1].depth;
    if (d0 >= x) break;
    const double d1 = std::min(w[i].depth, x);
    const double length = d1 - d0;
    if (length < kSmallLength) continue;
    const double w1 = w[i - 1].weight +
                      (w[i].weight - w[i - 1].weight) * length / (w[i].depth - d0);
    sum += 0.5 * (w[i - 1].weight + w1) * length;
  }
  // Seepage changes the effective stress, not the soil: a quick condition
  // leaves the soil without weight, never with a negative one.
  if (profile.overburdenShift) return std::max(0.0, sum + profile.overburdenShift(x)) / x;
  return sum / x;
}

double ResistanceWidthAt(const PySettings& s, double /*x*/) { return s.WP; }

double PMultiplierAt(const PySettings& s, double x) {
  if (!s.modification.empty()) return ModificationValue(s.modification, &PyModificationRow::pFactor, x);
  // Closely spaced elements share the soil in front of them: below the
  // excavation level the resistance is reduced by the ratio of spacing to
  // width.
  const double r = s.WA / s.WP;
  if (r < kSpacingLimit && x >= s.H) return kSpacingFactor * std::pow(r, kSpacingExponent);
  return 1.0;
}

double YMultiplierAt(const PySettings& s, double x) {
  if (!s.modification.empty()) return ModificationValue(s.modification, &PyModificationRow::yFactor, x);
  return 1.0;
}

double TableValue(std::span<const double> xs, std::span<const double> ys, double x) {
  if (!(x > xs.front())) return ys.front();
  if (x >= xs.back()) return ys.back();
  size_t i = 1;
  while (xs[i] < x) ++i;
  const double r = (x - xs[i - 1]) / (xs[i] - xs[i - 1]);
  return ys[i - 1] + (ys[i] - ys[i - 1]) * r;
}

}  // namespace terraq::engine
