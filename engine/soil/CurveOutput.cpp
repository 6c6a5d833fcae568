#include "CurveOutput.h"

#include <algorithm>
#include <cmath>

#include "Lookups.h"
#include "output/ReportMarks.h"
#include "textio/FixedFormat.h"

namespace terraq::engine {

namespace {

// The curve rows are written in an E10.3 field, whose exponent holds two
// digits: a magnitude below 1E-99 is zero for every purpose of the curves,
// and one beyond 1E+99 (or a value that is not a number) can only come from
// absurd input.
double Writable(double value, double depth) {
  if (!std::isfinite(value) || std::fabs(value) >= 1.0e99)
    StopWithMessage(Line().a("ERROR STOP -- A GENERATED P-Y CURVE AT THE DEPTH").e(depth, 12, 4)
                        .a(" HAS A VALUE OUT OF RANGE; CHECK THE SOIL DATA").str());
  return std::fabs(value) < 1.0e-99 ? 0.0 : value;
}

}  // namespace

void WriteCurveHeader(PyGeneration& g, double x) {
  GeneratedCurveRecord& record = g.curves.emplace_back();
  record.depth = g.settings.H + x;
  record.rows.reserve(kRecordPoints);
}

std::vector<double> DenseDeflections(const SidePoints& y, const std::vector<double>& kinks) {
  std::vector<double> points(y.begin(), y.end());
  for (const double kink : kinks)
    if (kink > 0.0 && kink < y.back()) points.push_back(kink);
  std::sort(points.begin(), points.end());
  std::vector<double> out{0.0};
  double previous = 0.0;
  for (const double next : points) {
    if (!(next > previous)) continue;
    double from = previous;
    if (!(from > 0.0)) {
      from = 1.0e-3 * next;
      out.push_back(from);
    }
    const int steps = static_cast<int>(std::ceil(std::log(next / from) / std::log(kDenseRatio)));
    for (int i = 1; i < steps; ++i) out.push_back(from * std::pow(next / from, double(i) / steps));
    out.push_back(next);
    previous = next;
  }
  return out;
}

void WriteSideTitle(PyGeneration& g, Side side) {
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

void WriteSidePoints(PyGeneration& g, double x, Side side, const SidePoints& y,
                     const SidePoints& p, double pA, const SideCurve& curve,
                     const SmallDeflectionWarning& warning, const PointLayout& layout) {
  const double depth = g.settings.H + x;
  const double pm = PMultiplierAt(g.settings, depth);
  const double ym = YMultiplierAt(g.settings, depth);
  const double shift = side == Side::Excavation ? -pA : pA;
  if (g.dense && curve.at) {
    for (const double yi : DenseDeflections(y, curve.kinks))
      g.curves.back().rows.emplace_back(Writable(pm * curve.at(yi) + shift, depth),
                                        Writable(ym * yi, depth));
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
