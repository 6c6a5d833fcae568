#pragma once
// terraq study --fit: the calibration of a wall against measured
// deflections (design/Calibration.h). The readings come from a CSV profile
// (project/MeasurementsCsv.h), taken into the data file's units and kept in
// the project file when asked, or from the project's measurements member;
// the report gives the fitted values, the residual, each parameter's
// sensitivity and standard error, and the readings beside the wall's
// deflections, as text or one JSON object.

#include <string>

#include "Calibration.h"
#include "StudyInterruption.h"
#include "StudyOptions.h"

namespace terraq::cli {

// Runs the fit of `request` on `text` (units code `units`, with a
// `sequence` analysed stage by stage) on `threads` analyses at a time;
// returns the exit status.
int FitStudy(const StudyRequest& request, const design::ParameterText& text, int units,
             const design::SequentialPlan* sequence, int threads, StudyInterruption& interruption);

struct FitReport {
  std::string dataFile;
  std::string measured;  // the CSV file, or the project file's member
  int unitsCode = 0;
};
std::string FitText(const FitReport& report, const design::FitResult& result);
std::string FitJson(const FitReport& report, const design::FitResult& result);

}  // namespace terraq::cli
