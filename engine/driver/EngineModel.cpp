#include "EngineModel.h"

namespace terraq::engine {

void EngineModel::resetProblem() {
  st = StationArrays{};
  st.code.fill(1);
  spec = SpecifiedConditions{};
  curves.clear();
  generatedSprings.clear();
  earthPressure.clear();
  sections.clear();
  pyModification.clear();
  soil = SoilData{};
  springRows = SpringRowSummary{};
  iteration = 0;
  offCurve = false;
  overLimit = 0;
  notClosed = 0;
  zeroPivotStations.clear();
  partialStiffnessStations.clear();
}

}  // namespace terraq::engine
