#include "EarthPressureReport.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "output/ReportMarks.h"
#include "textio/FixedFormat.h"

namespace terraq::engine {

namespace {

// Two empty lines, a framed title as the engine's other sections have it,
// and an empty line.
void WriteBox(TextOut& report, std::string_view title) {
  std::string inner(48, ' ');
  const size_t shown = std::min<size_t>(title.size(), 48);
  const size_t indent = shown <= 40 ? 8 : (48 - shown) / 2;
  inner.replace(indent, shown, title.substr(0, shown));
  WriteStarBox(report, "*" + inner + "*");
  report.line("");
}

// "LABEL ... = " value and unit, the label padded to the engine's echo width.
std::string ValueLine(std::string_view label, double value, std::string_view unit) {
  return Line().x(6).a(label, 51).a("= ").e(value, 10, 3).a(unit).str();
}

std::string PressureUnit(const UnitLabels& u) {
  return std::string(u.force()) + std::string(u.slash()) + std::string(u.shortLength()) +
         std::string(u.power()) + std::string(u.two());
}

std::string UnitWeightUnit(const UnitLabels& u) {
  return std::string(u.force()) + std::string(u.slash()) + std::string(u.shortLength()) +
         std::string(u.power()) + std::string(u.piece(18, 18));
}

// A column of ten, one blank before it: headings and units over E10.3 values.
Line& Column(Line& line, std::string_view text) { return line.x(1).a(text, 10); }

}  // namespace

void WriteWallInformation(TextOut& report, const WallRecord& wall, double gammaWater,
                          const UnitLabels& labels) {
  const std::string_view L = labels.length();
  WriteBox(report, "WALL INFORMATION");
  report.line(ValueLine("FREE HEIGHT OF WALL", wall.freeHeight, L));
  report.line(ValueLine("WIDTH FOR EARTH PRESSURE, WA", wall.widthActive, L));
  report.line(ValueLine("WIDTH FOR SOIL RESISTANCE, WP", wall.widthResistance, L));
  report.line(ValueLine("DEPTH TO THE WATER TABLE AT BACKFILL", wall.waterBackfill, L));
  report.line(ValueLine("DEPTH TO THE WATER TABLE AT EXCAVATION", wall.waterExcavation, L));
  report.line(ValueLine("UNIT WEIGHT OF WATER", gammaWater, UnitWeightUnit(labels)));
  report.line(ValueLine("SLOPE OF THE BACKFILL (deg.)", wall.backfillSlope, ""));
  report.line(ValueLine("MODIFICATION FOR ACTIVE EARTH PRESSURE", wall.activeFactor, ""));
}

void WriteSurchargeInformation(TextOut& report, const SoilData& soil, const UnitLabels& labels) {
  const std::string_view L = labels.length();
  WriteBox(report, "SURCHARGE INFORMATION");
  report.line(ValueLine("UNIFORM SURFACE PRESSURE", soil.surcharge.uniform, PressureUnit(labels)));
  for (size_t k = 0; k < soil.loads.size(); ++k) {
    const SurchargeLoad& load = soil.loads[k];
    report.line("");
    report.line(Line().x(6).a("SURCHARGE LOADING NO.").i(static_cast<long long>(k + 1), 3).str());
    switch (load.type) {
      case 1: report.line(ValueLine("POINT LOAD", load.magnitude, labels.force())); break;
      case 2: report.line(ValueLine("LINE LOAD", load.magnitude, labels.forcePerLength())); break;
      case 3:
        report.line(ValueLine("STRIP LOAD", load.magnitude, PressureUnit(labels)));
        report.line(ValueLine("WIDTH OF THE STRIP LOAD", load.width, L));
        break;
      default:
        report.line(Line().x(6).a("LOAD TYPE").i(load.type, 3).a(" IS NOT 1, 2 OR 3 -- IGNORED").str());
        break;
    }
    report.line(ValueLine("HORIZONTAL DISTANCE BETWEEN THE WALL AND SURCHARGE", load.distance, L));
  }
}

void WriteSoilInformation(TextOut& report, const LayerProfile& profile, const UnitLabels& labels) {
  WriteBox(report, "SOIL INFORMATION");
  Line head;
  head.x(6).a("LAYER");
  for (std::string_view t : {" THICKNESS", " COHESION", "   PHI", "  WEIGHT", " DRAINED", "   ZTOP"})
    Column(head, t);
  report.line(head.str());
  Line units;
  units.x(11);
  const std::string L(labels.length());
  for (const std::string& t : {"  " + L, PressureUnit(labels), std::string(" DEGREES"),
                               UnitWeightUnit(labels), std::string(), "  " + L})
    Column(units, t);
  report.line(units.str());
  report.line("");
  for (size_t k = 0; k < profile.layers.size(); ++k) {
    const GeneratorLayer& g = profile.layers[k];
    Line row;
    row.x(6).i(static_cast<long long>(k + 1), 5);
    row.x(1).e(g.thickness, 10, 3).x(1).e(g.cohesion, 10, 3).x(1).e(g.phi, 10, 3);
    row.x(1).e(g.gamma, 10, 3);
    Column(row, g.drained ? "   YES" : "   NO");
    row.x(1).e(g.top, 10, 3);
    report.line(row.str());
  }
}

void WriteSlopeWarning(TextOut& out) {
  out.line("");
  out.line(Line().x(6).a("**** WARNING ******").str());
  out.line(Line()
               .x(6)
               .a("THE BACKFILL SLOPE ANGLE SHOULD BE LESS THAN THE 'INTERNAL FRICTION ANGLE OF SAND.")
               .str());
}

void WriteCoefficients(TextOut& report, const std::vector<EarthPressureCoefficients>& k) {
  WriteBox(report, "ACTIVE AND PASSIVE EARTH PRESSURE COEFFICIENT");
  report.line(Line().x(6).a("LAYER").x(10).a("    KA    ").x(8).a("    KP    ").str());
  report.line("");
  for (size_t i = 0; i < k.size(); ++i)
    report.line(Line().x(10).i(static_cast<long long>(i + 1), 2).x(9).e(k[i].Ka, 10, 3).x(8)
                    .e(k[i].Kp, 10, 3).str());
}

void WriteTheoryLine(TextOut& report, const api::EarthPressureOptions& options) {
  std::string name(api::TheoryOf(options.backfill.method).name);
  for (char& ch : name) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  Line line;
  line.x(6)
      .a("BACKFILL BY " + name + ", WALL FRICTION DELTA/PHI =")
      .f(options.backfill.deltaRatio, 7, 3);
  if (std::any_of(options.layers.begin(), options.layers.end(),
                  [](const api::EarthPressureLayer& l) { return l.backfillDelta.has_value(); }))
    line.a(" EXCEPT LAYERS OF THEIR OWN DELTA");
  report.line("");
  report.line(line.str());
}

void WriteSeismicLine(TextOut& report, const api::SeismicOptions& seismic) {
  std::string name(api::SeismicMethodOf(seismic.method).name);
  for (char& ch : name) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  report.line("");
  report.line(Line()
                  .x(6)
                  .a("SEISMIC BY " + name + ", KH =")
                  .f(seismic.kh, 7, 3)
                  .a(", KV =")
                  .f(seismic.kv, 7, 3)
                  .str());
}

void WriteOverburden(TextOut& report, const LayerProfile& profile, const std::vector<double>& stress,
                     const UnitLabels& labels) {
  WriteBox(report, "EFFECTIVE OVERBURDEN STRESS");
  report.line(Line().x(6).a("LAYER").x(10).a(" DEPTH TOP").x(8).a("  STRESS  ").str());
  report.line(Line().x(21).a("   " + std::string(labels.length()), 10).x(8).a(PressureUnit(labels))
                  .str());
  report.line("");
  for (size_t i = 0; i < stress.size(); ++i)
    report.line(Line().x(10).i(static_cast<long long>(i + 1), 2).x(9).e(profile.layers[i].top, 10, 3)
                    .x(8).e(stress[i], 10, 3).str());
}

void WriteLayerResultants(TextOut& report, const std::vector<LayerResultants>& layers,
                          const UnitLabels& labels) {
  WriteBox(report, "ACTIVE EARTH PRESSURE OF EACH LAYER");
  Line head;
  head.x(6).a("LAYER");
  for (std::string_view t : {"    PA1", "    Z1", "    PA2", "    Z2", "    PA3", "    Z3", "    PA4"})
    Column(head, t);
  report.line(head.str());
  const std::string force = labels.forcePerLength();
  const std::string length = "  " + std::string(labels.length());
  Line units;
  units.x(11);
  for (const std::string* t : {&force, &length, &force, &length, &force, &length, &force})
    Column(units, *t);
  report.line(units.str());
  report.line("");
  for (size_t k = 0; k < layers.size(); ++k) {
    const LayerResultants& r = layers[k];
    Line row;
    row.x(6).i(static_cast<long long>(k + 1), 5);
    for (double v : {r.PA1, r.Z1, r.PA2, r.Z2, r.PA3, r.Z3, r.PA4}) row.x(1).e(v, 10, 3);
    report.line(row.str());
    if (r.tension) report.line(Line().x(12).a("Net active pressure is negative.").str());
  }
}

void WriteWaterResultants(TextOut& report, const std::vector<LayerResultants>& layers,
                          const UnitLabels& labels) {
  WriteBox(report, "ACTIVE WATER PRESSURE OF EACH LAYER");
  Line head;
  head.x(6).a("LAYER");
  for (std::string_view t : {"    PW1", "    Z1", "    PW2", "    Z2"}) Column(head, t);
  report.line(head.str());
  const std::string force = labels.forcePerLength();
  const std::string length = "  " + std::string(labels.length());
  Line units;
  units.x(11);
  for (const std::string* t : {&force, &length, &force, &length}) Column(units, *t);
  report.line(units.str());
  report.line("");
  for (size_t k = 0; k < layers.size(); ++k) {
    const LayerResultants& r = layers[k];
    Line row;
    row.x(6).i(static_cast<long long>(k + 1), 5);
    for (double v : {r.PW1, r.ZW1, r.PW2, r.ZW2}) row.x(1).e(v, 10, 3);
    report.line(row.str());
  }
}

}  // namespace terraq::engine
