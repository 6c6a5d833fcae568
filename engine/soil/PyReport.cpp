#include "PyReport.h"

#include <string>

#include "CurveOutput.h"
#include "SoilModels.h"
#include "output/ReportMarks.h"
#include "textio/FixedFormat.h"

namespace terraq::engine {

namespace {

void WriteBox(TextOut& report, const char* title) {
  WriteStarBox(report, title);
  report.line("");
}

int Digits(int n) { return static_cast<int>(FormatI(n, 0).size()); }

void WriteLayers(const PyGeneration& g) {
  TextOut& report = *g.report;
  report.line(Line().x(6).a("X AT THE SURFACE OF EXCAVATION SIDE     = ").f(g.settings.H, 10, 3)
                  .a(g.labels.length()).str());
  report.line("");
  const int nl = g.profile.layerCount();
  report.line(Line().x(6).i(nl, Digits(nl)).a(" LAYER(S) OF SOIL").str());
  report.line("");
  for (int j = 1; j <= nl; ++j) {
    const char* model = SoilModelRecordOf(g.profile.layer(j).model).reportLine;
    report.line(Line().x(6).a("LAYER").i(j, 3).x(3).a(model).str());
  }
}

void WriteWeights(const PyGeneration& g) {
  TextOut& report = *g.report;
  const double H = g.settings.H;
  report.emptyLines(2);
  report.line(Line().x(6).a("DISTRIBUTION OF EFFECTIVE UNIT WEIGHT WITH DEPTH").str());
  report.line("");
  report.line(Line().x(6).i(static_cast<long long>(g.profile.weights.size()), 3).a(" POINTS").str());
  report.line("");
  report.line(AlignedRow({{20, "X," + std::string(g.labels.length())},
                          {40, "WEIGHT," + g.labels.unitWeight()}}));
  for (const WeightPoint& p : g.profile.weights)
    report.line(Line().x(6).e(H + p.depth, 14, 4).e(p.weight, 20, 4).str());
  for (double depth : g.profile.clampedWeightDepths) {
    report.line("");
    report.line(WarningMarkLine());
    report.line(Line().x(5).a("THE EFFECTIVE UNIT WEIGHT AT X =").e(H + depth, 12, 4)
                    .a(" IS NEGATIVE; ZERO IS USED").str());
  }
}

void WriteStrength(const PyGeneration& g) {
  TextOut& report = *g.report;
  const double H = g.settings.H;
  const double toDegrees = 180.0 / static_cast<double>(3.1416f);
  report.emptyLines(2);
  report.line(Line().x(6).a("DISTRIBUTION OF STRENGTH PARAMETERS WITH DEPTH").str());
  report.line("");
  report.line(Line().x(6).i(static_cast<long long>(g.profile.strength.size()), 3).a(" POINTS").str());
  report.line("");
  report.line(AlignedRow({{20, "X," + std::string(g.labels.length())},
                          {36, "S," + g.labels.stress()},
                          {50, "PHI,DEGREES"},
                          {64, "E50"}}));
  for (const StrengthPoint& p : g.profile.strength) {
    Line line;
    line.x(6).e(H + p.depth, 14, 4).e(p.c, 16, 4).f(p.phi * toDegrees, 14, 3);
    // E50 is not a property of every model; a zero means "not used".
    if (p.e50 <= 1.0e-6) line.x(9).a("-----");
    else line.e(p.e50, 14, 4);
    report.line(line.str());
  }
}

void WriteModification(const PyGeneration& g) {
  if (g.settings.modification.empty()) return;
  TextOut& report = *g.report;
  report.emptyLines(2);
  report.line(Line().x(6).a("REDUCTION FACTORS FOR CLOSELY-SPACED WALL ELEMENTS").str());
  report.line("");
  report.line("      DEPTH     P-FACTOR     Y-FACTOR        ");
  for (const PyModificationRow& row : g.settings.modification)
    report.line(Line().f(row.depth, 11, 2).f(row.pFactor, 13, 3).f(row.yFactor, 13, 3).str());
}

}  // namespace

void WriteSoilProfileReport(const PyGeneration& g) {
  WriteBox(*g.report, "*        SOIL LAYERS AND STRENGTH DATA           *");
  WriteLayers(g);
  WriteWeights(g);
  WriteStrength(g);
  WriteModification(g);
  WriteBox(*g.report, "*        P-Y CURVES DATA                         *");
}

}  // namespace terraq::engine
