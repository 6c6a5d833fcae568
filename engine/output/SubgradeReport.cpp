#include "SubgradeReport.h"

#include "subgrade/SubgradeSprings.h"
#include "textio/FixedFormat.h"

namespace terraq::engine {

namespace {

// Three columns of one face: its pressure and limits, or blanks where that
// face has no soil.
void Face(Line& line, const api::MobilisedPressure& face) {
  if (!face.present) {
    line.x(36);
    return;
  }
  line.e(face.pressure, 12, 3).e(face.active, 12, 3).e(face.passive, 12, 3);
}

}  // namespace

void WriteSubgradePressures(TextOut& report, const EngineModel& model) {
  if (!report.wanted() || !model.subgrade.active) return;
  const std::string stress = model.labels.stress();
  report.emptyLines(2);
  report.line("     SUBGRADE-REACTION MODEL -- MOBILISED EARTH PRESSURE");
  report.line("     ---------------------------------------------------");
  report.line("     (THE SOIL IS MODELLED BY SPRINGS FROM AT REST ON BOTH FACES; THE EARTH");
  report.line("     PRESSURE TABLE AND P-Y CURVES ABOVE ARE NOT APPLIED. PRESSURES IN " + stress +
              ",");
  report.line("     EFFECTIVE IN DRAINED LAYERS, THE WATER PRESSURE APART.)");
  report.line("");
  report.line(
      "   STA I      X        RETAINED     ACTIVE      PASSIVE      FRONT       ACTIVE      PASSIVE");
  report.line(Line().x(12).a(model.labels.length()).str());
  report.line(
      "   ------    ----      --------     ------      -------      -----       ------      -------");
  const std::vector<api::SubgradeStation> stations = MobilisedPressures(model);
  for (size_t k = 0; k < stations.size(); ++k) {
    Line line;
    line.x(2).i(static_cast<long long>(k), 4).x(2).e(stations[k].depth, 10, 3);
    Face(line, stations[k].retained);
    // No trailing blanks where the excavation has no soil in front.
    if (stations[k].front.present) Face(line, stations[k].front);
    report.line(line.str());
  }
}

}  // namespace terraq::engine
