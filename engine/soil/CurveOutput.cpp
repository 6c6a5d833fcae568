#include "CurveOutput.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <optional>

#include "Lookups.h"
#include "output/ReportMarks.h"
#include "textio/FixedFormat.h"

namespace terraq::engine {

namespace {

[[noreturn]] void StopForValueOutOfRange(double depth) {
  StopWithMessage(Line()
                      .a("ERROR STOP -- A GENERATED P-Y CURVE AT THE DEPTH")
                      .e(depth, 12, 4)
                      .a(" HAS A VALUE OUT OF RANGE; CHECK THE SOIL DATA")
                      .str());
}

// The curve rows are written in an E10.3 field, whose exponent holds two
// digits: a magnitude below 1E-99 is zero for every purpose of the curves,
// and one beyond 1E+99 (or a value that is not a number) can only come from
// absurd input. Inline, as it is called twice for every point of every
// station's curve; the message is built out of line.
inline double Writable(double value, double depth) {
  if (!std::isfinite(value) || std::fabs(value) >= 1.0e99) StopForValueOutOfRange(depth);
  return std::fabs(value) < 1.0e-99 ? 0.0 : value;
}

}  // namespace

void WriteCurveHeader(PyGeneration& g, double x) {
  GeneratedCurveRecord& record = g.curves.emplace_back();
  record.depth = g.settings.H + x;
  // The rows of the record the stations handed back, if any, keep their
  // storage for this one.
  record.rows.swap(g.spareRows);
  record.rows.clear();
  record.rows.reserve(kRecordPoints);
}

namespace {

// Adds the points of (a, b] to `out`, a and b given with their p.
void Subdivide(const SideCurve& curve, std::pair<double, double> a, std::pair<double, double> b,
               std::vector<std::pair<double, double>>& out) {
  if (b.first > kDenseRatio * a.first) {
    const double mid = std::sqrt(a.first * b.first);
    const double p = curve.at(mid);
    const double chord = a.second + (b.second - a.second) * (mid - a.first) / (b.first - a.first);
    if (std::fabs(chord - p) > kDenseTolerance * std::fabs(p)) {
      Subdivide(curve, a, {mid, p}, out);
      Subdivide(curve, {mid, p}, b, out);
      return;
    }
  }
  out.push_back(b);
}

// The factor s with b = s a for every point, when there is one: the curves
// of a layer in which the criterion's shape depends on y alone (soft clay,
// stiff clay above the water table) differ from station to station only by
// their ultimate resistance.
std::optional<double> Proportion(const SidePoints& a, const SidePoints& b) {
  size_t largest = 0;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::fabs(a[i]) > std::fabs(a[largest])) largest = i;
  if (!(std::fabs(a[largest]) > 0.0)) return std::nullopt;
  const double s = b[largest] / a[largest];
  for (size_t i = 0; i < a.size(); ++i)
    if (std::fabs(b[i] - s * a[i]) > 1.0e-12 * std::fabs(b[largest])) return std::nullopt;
  return s;
}

// The dense points of a side and the factor on their p: those of the
// previous station's side when its 17 points and kink say the curve is the
// same shape scaled, or new ones (tabulated into the previous side's
// storage).
std::pair<const std::vector<std::pair<double, double>>&, double> DenseSidePoints(
    PyGeneration& g, Side side, const SidePoints& y, const SidePoints& p, const SideCurve& curve) {
  PyGeneration::DenseSide& last = g.denseSides[side == Side::Excavation ? 0 : 1];
  if (last.valid && last.y == y && last.kink == curve.kink)
    if (const std::optional<double> s = Proportion(last.p, p)) return {last.points, *s};
  last.valid = true;
  last.y = y;
  last.p = p;
  last.kink = curve.kink;
  DenseCurve(y, p, curve, last.points);
  return {last.points, 1.0};
}

}  // namespace

void DenseCurve(const SidePoints& y, const SidePoints& p, const SideCurve& curve,
                std::vector<std::pair<double, double>>& out) {
  // The model's points come with their p; only the kink is evaluated here.
  // Equal deflections have equal p, so their order among themselves does
  // not matter. The models give their points in order: the kink is put in
  // its place, and only points out of order are sorted.
  std::array<std::pair<double, double>, kSidePoints + 1> points;
  size_t count = 0;
  for (size_t i = 0; i < y.size(); ++i) points[count++] = {y[i], p[i]};
  const auto begin = points.begin();
  const auto byY = [](const auto& a, const auto& b) { return a.first < b.first; };
  const bool ordered = std::is_sorted(begin, begin + kSidePoints, byY);
  if (curve.kink > 0.0 && curve.kink < y.back()) {
    const std::pair<double, double> kink{curve.kink, curve.at(curve.kink)};
    const auto at =
        ordered ? std::upper_bound(begin, begin + kSidePoints, kink, byY) : begin + kSidePoints;
    std::move_backward(at, begin + kSidePoints, begin + kSidePoints + 1);
    *at = kink;
    ++count;
  }
  if (!ordered) std::sort(begin, begin + static_cast<std::ptrdiff_t>(count), byY);
  out.clear();
  out.emplace_back(0.0, curve.at(0.0));
  for (size_t i = 0; i < count; ++i) {
    const std::pair<double, double> next = points[i];
    if (!(next.first > out.back().first)) continue;
    if (!(out.back().first > 0.0)) {
      const double from = 1.0e-2 * next.first;
      out.emplace_back(from, curve.at(from));
    }
    Subdivide(curve, out.back(), next, out);
  }
}

void WriteSideTitle(PyGeneration& g, Side side) {
  if (!g.report->wanted()) return;
  g.report->emptyLines(2);
  g.report->line(Line().x(9).a(side == Side::Excavation ? "AT THE EXCAVATION SIDE"
                                                         : "AT THE BACKFILL SIDE").str());
}

std::string AlignedRow(std::initializer_list<std::pair<int, std::string_view>> cells) {
  Line line;
  for (const auto& [end, text] : cells) {
    const int start = end - static_cast<int>(text.size());
    line.x(start - static_cast<int>(line.str().size()));
    line.a(text);
  }
  return line.str();
}

namespace {

void WritePoints(PyGeneration& g, double x, const SidePoints& y, const SidePoints& p,
                 const PointLayout& layout, const SmallDeflectionWarning& warning) {
  TextOut& report = *g.report;
  const double depth = g.settings.H + x;
  const bool reported = report.wanted() && !g.dense;
  if (reported) {
    report.line("");
    const std::string yLabel = "Y," + std::string(g.labels.length());
    const std::string pLabel = "P," + g.labels.forcePerLength();
    report.line(AlignedRow({{41, yLabel}, {61, pLabel}}));
  }
  for (int i = 0; i < kSidePoints; ++i) {
    const auto idx = static_cast<size_t>(i);
    const double yOut = Writable(y[idx], depth);
    const double pOut = Writable(p[idx], depth);
    // The analysis takes the points to ten significant digits, so that the
    // springs do not depend on the units the wall was entered in (the report
    // shows the rounded values).
    g.curves.back().rows.emplace_back(pOut, yOut);
    if (!reported) continue;
    report.line(Line().x(21).e(yOut, 20, 3).e(pOut, 20, 3).str());
    if (warning.enabled && i > 0 && yOut < kSmallDeflection) {
      report.line("");
      report.line(WarningMarkLine());
      report.line(Line().x(5).a("DEFLECTION IS LESS THAN 1.0E-14.  THE PROGRAM").str());
      report.line(Line().x(5).a("USED A SOIL MODULUS OF ").e(warning.modulus, 10, 3).str());
    }
  }
  if (!layout.multiplierLine || !reported) return;
  report.line("");
  report.line(Line().x(21).a(" P-Multiplier = ").e(PMultiplierAt(g.settings, depth), 10, 3)
                  .a(" Y-Multiplier = ").e(YMultiplierAt(g.settings, depth), 10, 3).str());
}

}  // namespace

void WriteSidePoints(PyGeneration& g, double x, Side side, const SidePoints& y, const SidePoints& p,
                     double pA, const SideCurve& curve, const SmallDeflectionWarning& warning,
                     const PointLayout& layout) {
  const double depth = g.settings.H + x;
  const double pm = PMultiplierAt(g.settings, depth);
  const double ym = YMultiplierAt(g.settings, depth);
  const double shift = side == Side::Excavation ? -pA : pA;
  if (g.dense && curve.at) {
    const auto [points, scale] = DenseSidePoints(g, side, y, p, curve);
    auto& rows = g.curves.back().rows;
    rows.reserve(rows.size() + points.size());
    for (const auto& [yi, pi] : points)
      rows.emplace_back(Writable(pm * scale * pi + shift, depth), Writable(ym * yi, depth));
    return;
  }
  SidePoints yOut{}, pOut{};
  for (size_t i = 0; i < y.size(); ++i) {
    yOut[i] = ym * y[i];
    pOut[i] = pm * p[i] + shift;
  }
  WritePoints(g, x, yOut, pOut, layout, warning);
}

void WriteTransformedPoints(PyGeneration& g, double x, const SidePoints& yOut,
                            const SidePoints& pOut, const PointLayout& layout) {
  WritePoints(g, x, yOut, pOut, layout, {});
}

}  // namespace terraq::engine
