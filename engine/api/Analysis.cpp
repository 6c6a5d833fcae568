#include "Analysis.h"

#include <algorithm>
#include <istream>
#include <memory>
#include <new>
#include <streambuf>

#include "EarthPressureFaces.h"
#include "ModelAnalysis.h"
#include "analysis/RunProblems.h"
#include "solver/Solver.h"
#include "subgrade/SubgradeSprings.h"
#include "textio/TextBuffer.h"

namespace terraq::engine::api {

namespace {

ProblemResult ResultOf(const EngineModel& model) {
  const ProblemControl& c = model.control;
  ProblemResult r;
  r.title = c.title;
  r.units = c.KUNITS;
  r.increments = c.NI;
  r.incrementLength = c.h;
  r.stations.reserve(model.results.size());
  for (size_t k = 0; k < model.results.size(); ++k) {
    const ResultRow& row = model.results[k];
    const int j = Pos(static_cast<int>(k));
    r.stations.push_back({row.x, row.deflection, row.slope, row.moment, row.shear, row.reaction,
                          row.EI, model.st.Q[j], model.st.S[j] * model.st.w[j], row.shearAbove,
                          row.shearBelow, row.concentrated, model.st.P[j]});
    const auto& stageSupports = model.sequential.supports;
    const bool stageSupport =
        std::any_of(stageSupports.begin(), stageSupports.end(),
                    [j](const StageSupport& support) { return support.j == j; });
    if (IsSupported(model.st, j) || stageSupport)
      r.supports.push_back(
          {static_cast<int>(k), row.x, row.supportForce, row.shearAbove, row.shearBelow});
  }
  const ShearPeak peak = LargestShear(model.results);
  r.largestShear = peak.shear;
  r.largestShearStation = peak.station;
  r.iterations = model.iteration;
  r.closed = model.notClosed == 0;
  r.offCurves = model.offCurve;
  r.stationsOverLimit = model.overLimit;
  r.notValidStations = model.zeroPivotStations;
  r.numericalFault = model.numericalFault;
  r.weakenedStations = model.partialStiffnessStations;
  r.earthPressure.reserve(model.earthPressure.size());
  for (const EarthPressureRow& e : model.earthPressure)
    r.earthPressure.push_back({e.depth, e.total, e.soil, e.surcharge});
  r.pyCurves.reserve(model.curves.size());
  for (const Curve& curve : model.curves) {
    PyCurve& out = r.pyCurves.emplace_back();
    out.generated = curve.generated;
    out.station = curve.station;
    out.depth = curve.generated ? curve.depth : curve.station * c.h;
    const auto n = static_cast<size_t>(std::max(curve.n, 0));
    out.y.assign(curve.y.begin() + 1, curve.y.begin() + 1 + n);
    out.p.assign(curve.pPlot.begin() + 1, curve.pPlot.begin() + 1 + n);
  }
  r.sequentialSupports = model.sequential.supportResults;
  if (model.subgrade.active) r.subgrade = MobilisedPressures(model);
  r.seismic = model.seismic;
  r.seismicCoefficients = model.seismicCoefficients;
  r.seepage = model.seepageSolution;
  r.hydraulicChecks = model.hydraulicChecks;
  return r;
}

AnalysisError::Kind KindOf(RunStop::Kind kind) {
  switch (kind) {
    case RunStop::Kind::Input: return AnalysisError::Kind::Input;
    case RunStop::Kind::Stop: return AnalysisError::Kind::Stop;
    case RunStop::Kind::TooMuchData: return AnalysisError::Kind::TooMuchData;
    case RunStop::Kind::Internal: break;
  }
  return AnalysisError::Kind::Internal;
}

}  // namespace

AnalysisResult AnalyseInto(std::string_view dataText, const AnalysisOptions& options,
                           RunFiles& files, EngineModel& model) {
  AnalysisResult result;
  TextBuffer buffer(dataText);
  std::istream data(&buffer);
  files.data.emplace(data);
  model.strengthReductionFactor = options.strengthReductionFactor;
  model.theories.reset();
  if (options.earthPressure)
    model.theories = ReducedWallFriction(*options.earthPressure, options.strengthReductionFactor);
  model.runSeismic = options.seismic;
  model.runSeepage = options.seepage;
  const std::optional<RunStop> stop = RunProblems(
      files, model, [&](const EngineModel& m) { result.problems.push_back(ResultOf(m)); },
      options.stopBeforeReading, options.sequential ? &*options.sequential : nullptr,
      options.subgrade ? &*options.subgrade : nullptr);
  files.data.reset();
  if (stop) result.error = AnalysisError{KindOf(stop->kind), stop->message, stop->line};
  result.messages = std::move(files.messages);
  return result;
}

AnalysisResult Analyse(std::string_view dataText, const AnalysisOptions& options,
                       EngineModel& model) {
  RunFiles files;
  if (options.reportText) files.report.keepInMemory();
  if (options.plotText) files.plot.keepInMemory();
  if (options.monitorText) files.monitor.keepInMemory();
  AnalysisResult result = AnalyseInto(dataText, options, files, model);
  result.report = files.report.takeText();
  result.plot = files.plot.takeText();
  result.monitor = files.monitor.takeText();
  return result;
}

Analyser::Analyser() = default;
Analyser::~Analyser() = default;

AnalysisResult Analyser::analyse(std::string_view dataText,
                                 const AnalysisOptions& options) noexcept {
  try {
    // The model is large (tens of kilobytes of station arrays): it lives on
    // the heap, and the run clears it before it starts.
    if (!model_) model_ = std::make_unique<EngineModel>();
    return Analyse(dataText, options, *model_);
  } catch (...) {
    // Only an allocation can fail here: memory ran out outside the run's
    // own guard (the model, the results).
    AnalysisResult result;
    result.error = AnalysisError{AnalysisError::Kind::TooMuchData,
                                 "ERROR STOP -- NOT ENOUGH MEMORY FOR THE DATA", 0};
    return result;
  }
}

AnalysisResult Analyse(std::string_view dataText, const AnalysisOptions& options) noexcept {
  return Analyser().analyse(dataText, options);
}

}  // namespace terraq::engine::api
