#include "CurveOutput.h"

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

void WriteCurveHeader(PyGeneration& g, int k) {
  GeneratedCurveRecord& record = g.curves.emplace_back();
  record.depth = g.settings.H + g.profile.xc(k);
  record.rows.reserve(kRecordPoints);
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

void WritePoints(PyGeneration& g, int k, const SidePoints& y, const SidePoints& p,
                 const PointLayout& layout, const SmallDeflectionWarning& warning) {
  TextOut& report = *g.report;
  const double depth = g.settings.H + g.profile.xc(k);
  const bool reported = report.wanted();
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

void WriteSidePoints(PyGeneration& g, int k, Side side, const SidePoints& y, const SidePoints& p,
                     double pA, const SmallDeflectionWarning& warning, const PointLayout& layout) {
  const double depth = g.settings.H + g.profile.xc(k);
  const double pm = PMultiplierAt(g.settings, depth);
  const double ym = YMultiplierAt(g.settings, depth);
  const double shift = side == Side::Excavation ? -pA : pA;
  SidePoints yOut{}, pOut{};
  for (size_t i = 0; i < y.size(); ++i) {
    yOut[i] = ym * y[i];
    pOut[i] = pm * p[i] + shift;
  }
  WritePoints(g, k, yOut, pOut, layout, warning);
}

void WriteTransformedPoints(PyGeneration& g, int k, const SidePoints& yOut, const SidePoints& pOut,
                            const PointLayout& layout) {
  WritePoints(g, k, yOut, pOut, layout, {});
}

}  // namespace terraq::engine
