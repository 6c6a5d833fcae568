#include "EngineModel.h"

namespace terraq::engine {

// resetProblem names every station array: one added must be added there.
static_assert(sizeof(StationArrays) >= 17 * sizeof(RealStations) + sizeof(StationArray<int>) &&
              sizeof(StationArrays) < 17 * sizeof(RealStations) + 2 * sizeof(StationArray<int>));

void EngineModel::resetProblem() {
  // Filled in place: a fresh StationArrays would be built and then copied,
  // twice the work of the largest part of the model.
  for (RealStations* a :
       {&st.F, &st.Q, &st.S, &st.T, &st.R, &st.P, &st.Qpoint, &st.Spoint, &st.Qskew, &st.Sskew,
        &st.Qw, &st.Sw, &st.w, &st.wEI, &st.A, &st.B, &st.C})
    a->fill(0.0);
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
  secants = false;
  zeroPivotStations.clear();
  partialStiffnessStations.clear();
  numericalFault.clear();
  soilEndsAbove = -1;
  beyondBuckling = false;
  atBuckling = false;
  sequential = SequentialStage{};
  subgrade.active = false;
  subgrade.springs.clear();
  seismicCoefficients.clear();
  seepageSolution.reset();
  hydraulicChecks.reset();
}

void EngineModel::resetRun() {
  control = ProblemControl{};
  results.clear();
  labels = UnitLabels{};
  resetProblem();
}

}  // namespace terraq::engine
