#include "graphs/LiveAnalysis.h"

#include <chrono>
#include <cstdio>
#include <exception>
#include <optional>

#include "api/EngineRoute.h"
#include "project/RunOutcome.h"
#include "project/SequentialRun.h"

namespace terraq::ui {

namespace {

// The engine's stop as the status bar says it, with the line of the data
// text it met (the text Save would write, so the line is the file's).
std::string StopText(const engine::api::AnalysisError& stop) {
  std::string text = stop.message;
  if (stop.line > 0) text += " (line " + std::to_string(stop.line) + " of the data)";
  return text;
}

std::string Milliseconds(double ms) {
  char text[32];
  std::snprintf(text, sizeof text, "%.0f", ms);
  return text;
}

}  // namespace

LiveResult AnalyseLive(const LiveProject& project) {
  LiveResult result;
  if (!project.obstacle.empty()) {
    result.error = project.obstacle;
    return result;
  }
  try {
    std::optional<ProjectRunInput> run = ProjectRunOf(
        project.dataFile, *project.members, project.membersFault, project.dataText, result.error);
    if (!run || !engine::EngineAvailable(result.error)) return result;
    engine::api::AnalysisOptions options = ProjectAnalysisOptions(*run);
    options.plotText = true;
    result.text = run->sequence ? std::move(run->sequence->sequence.text) : project.dataText;
    const auto start = std::chrono::steady_clock::now();
    result.analysis = engine::Analyse(result.text, options);
    result.milliseconds =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    if (result.analysis.error) {
      result.error = StopText(*result.analysis.error);
      return result;
    }
    if (result.analysis.problems.empty()) {
      result.error = "the engine gave no results";
      return result;
    }
    result.summary = SummarizeAnalysis(result.analysis, {});
    // No report is made: an analysis without an error stop ran to its end,
    // which a run's summary reads from the report's last line.
    result.summary.complete = true;
    if (run->sequence) AddSequenceToSummary(run->sequence->sequence, result.summary);
    result.resultsMark = JudgeResults(result.summary).mark;
  } catch (const std::exception& e) {
    // The sequence's builder and the summary allocate; nothing else throws.
    result.error = e.what();
  }
  return result;
}

bool ShowLiveResult(const LiveResult& result, const TPlotProjectFacts& facts, TResultGraphs& graphs,
                    std::string& error) {
  const bool read = ReadPlotText(result.analysis.plot, facts, graphs, error);
  for (TGraphPlot* graph : graphs.All()) graph->ResultsMark = result.resultsMark;
  MarkLiveGraphs(graphs, read ? kLiveMark : kStaleMark);
  return read;
}

void MarkLiveGraphs(TResultGraphs& graphs, const std::string& mark) {
  for (TGraphPlot* graph : graphs.All()) graph->LiveMark = mark;
}

void TLiveAnalysis::ProjectReplaced() {
  timed_ = fellBack_ = false;
  shown_ = Shown::Files;
}

TLiveAnalysis::Verdict TLiveAnalysis::Take(const LiveResult& result) {
  if (!result.error.empty()) {
    shown_ = Shown::Stale;
    return {false, "Live analysis: " + result.error};
  }
  if (!timed_) {
    timed_ = true;
    if (result.milliseconds > limit_) {
      fellBack_ = true;
      return {false, "Live analysis is off for this project: it takes " +
                         Milliseconds(result.milliseconds) + " ms to analyse (more than " +
                         Milliseconds(limit_) + " ms). Use Run to see its results."};
    }
  }
  shown_ = Shown::Live;
  return {true, {}};
}

std::string TLiveAnalysis::Mark() const {
  switch (shown_) {
    case Shown::Files: return {};
    case Shown::Live: return kLiveMark;
    case Shown::Stale: return kStaleMark;
  }
  return {};
}

}  // namespace terraq::ui
