#include "RunProblems.h"

#include <cstring>
#include <new>

#include "SequenceState.h"
#include "api/DataRecords.h"
#include "earthpressure/SeismicStage.h"
#include "input/ReadProblem.h"
#include "output/PlotFile.h"
#include "output/Report.h"
#include "output/SubgradeReport.h"
#include "seepage/ProblemSeepage.h"
#include "solver/Solver.h"
#include "subgrade/SubgradeSequence.h"
#include "textio/FixedFormat.h"

namespace terraq::engine {

namespace {

// The offending word as the report shows it: at most 20 characters, with
// anything unprintable (a stray CR, a binary byte) shown as "?", so that one
// bad line cannot flood or garble the report.
std::string ShownToken(const std::string& token) {
  constexpr size_t kShown = 20;
  std::string shown;
  for (size_t k = 0; k < token.size() && k < kShown; ++k) {
    const auto ch = static_cast<unsigned char>(token[k]);
    shown += ch >= 0x20 && ch < 0x7f ? static_cast<char>(ch) : '?';
  }
  if (token.size() > kShown) shown += "...";
  return shown;
}

std::string InputErrorMessage(const InputError& e) {
  const std::string line = FormatI(e.line(), 0);
  switch (e.kind()) {
    case InputError::Kind::BadInteger:
      return "ERROR STOP -- LINE " + line + " OF THE DATA FILE: \"" + ShownToken(e.token()) +
             "\" IS NOT AN INTEGER";
    case InputError::Kind::BadNumber:
      return "ERROR STOP -- LINE " + line + " OF THE DATA FILE: \"" + ShownToken(e.token()) +
             "\" IS NOT A NUMBER";
    case InputError::Kind::EndOfFile:
    case InputError::Kind::ReadFailed: break;
  }
  return "ERROR STOP -- THE DATA FILE ENDS TOO EARLY (LINE " + line + ")";
}

void Solve(RunFiles& files, EngineModel& model,
           const std::function<void(const EngineModel&)>& solved,
           const api::SequentialOptions* sequential, const api::SubgradeOptions* subgrade) {
  ProblemControl& c = model.control;
  std::optional<SequenceState> sequence;
  if (sequential) sequence.emplace(*sequential);
  std::optional<SubgradeSequence> subgradeSprings;
  if (subgrade) subgradeSprings.emplace(*subgrade, sequential != nullptr);
  for (;;) {
    // The end code of the problem before is cleared before its successor's
    // title is read: a data file that announces a further problem and then
    // ends is an error stop like any other, and the plot file still gets its
    // final result block.
    c.NEXT = 0;
    std::string title = files.data->readLine();
    if (title.size() > 70) title.resize(70);
    c.title = title;
    ++c.problemCount;
    if (c.problemCount == 1) c.firstTitle = title;

    c.plotUnits = 1;
    model.resetProblem();
    model.seismic = ProblemSeismic(model.runSeismic, sequential, c.problemCount);
    model.seepage = ProblemSeepageOptions(model.runSeepage, sequential, c.problemCount);

    ReadProblem(files, model);
    // A stage of a construction sequence starts from where the stage before
    // left the wall, its soil and its supports.
    if (sequence) sequence->beginStage(model);
    if (subgradeSprings) subgradeSprings->beginStage(model);

    WriteHeading(files.report, c);
    WriteMonitorHeading(files.monitor);
    IterateSolution(files, model);
    if (sequence) sequence->endStage(model);
    if (subgradeSprings) subgradeSprings->endStage(model);
    WriteResults(files.report, model);
    WriteSubgradePressures(files.report, model);
    // A run that can no longer write its outputs ends here rather than
    // solve problems nobody will see.
    for (const TextOut* out : {&files.report, &files.plot, &files.monitor})
      ThrowIfWriteFailed(*out);
    if (solved) solved(model);

    files.data->read(api::ValueCount(api::RecordKind::EndCode)).assign(0, c.NEXT);
    if (api::EndsRun(c.NEXT, c.KSTAGE)) {
      c.NEXT = 0;
      return;
    }
    c.PLOTCODE = c.NEXT == 9 ? 2 : c.KSTAGE;
    WriteResultBlock(files.plot, c.PLOTCODE, c.plotUnits, model.results);
  }
}

// The message of a stop's report lines: the first that is not empty,
// without its indent.
std::string MessageOf(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) {
    const size_t start = line.find_first_not_of(' ');
    if (start != std::string::npos) return line.substr(start);
  }
  return {};
}

}  // namespace

std::optional<RunStop> RunProblems(RunFiles& files, EngineModel& model,
                                   const std::function<void(const EngineModel&)>& solved,
                                   const std::string& stopBeforeReading,
                                   const api::SequentialOptions* sequential,
                                   const api::SubgradeOptions* subgrade) {
  model.resetRun();
  model.subgradeModel = subgrade != nullptr;
  SetUnitLabels(model.labels, 0);
  ProblemControl& c = model.control;
  c.PLOTCODE = 1;
  c.problemCount = 0;

  std::optional<RunStop> stop;
  const auto stopWith = [&](RunStop::Kind kind, const std::vector<std::string>& lines, int line) {
    for (const std::string& text : lines) files.report.line(text);
    stop = RunStop{kind, MessageOf(lines), line};
  };
  const auto lastLine = [&] { return files.data ? files.data->lineNumber() : 0; };
  try {
    if (!stopBeforeReading.empty()) StopWithMessage(stopBeforeReading);
    Solve(files, model, solved, sequential, subgrade);
  } catch (const ErrorStop& e) {
    files.messages.insert(files.messages.end(), e.callerLines().begin(), e.callerLines().end());
    const bool tooMuch = MessageOf(e.reportLines()) == "TOO MUCH DATA FOR AVAILABLE STORAGE";
    stopWith(tooMuch ? RunStop::Kind::TooMuchData : RunStop::Kind::Stop, e.reportLines(),
             lastLine());
  } catch (const InputError& e) {
    stopWith(RunStop::Kind::Input, {"", "", "     " + InputErrorMessage(e)}, e.line());
  } catch (const OutputWriteError& e) {
    stopWith(
        RunStop::Kind::Internal,
        {"", "", "     ERROR STOP -- CANNOT WRITE " + e.path() + ": " + std::strerror(e.error())},
        lastLine());
  } catch (const InternalIndexError&) {
    stopWith(RunStop::Kind::Stop,
             {"", "", "     ERROR STOP -- A STATION OF THE INPUT LIES OUTSIDE THE STORAGE"},
             lastLine());
  } catch (const std::bad_alloc&) {
    stopWith(RunStop::Kind::TooMuchData,
             {"", "", "     ERROR STOP -- NOT ENOUGH MEMORY FOR THE DATA"}, lastLine());
  } catch (const std::exception&) {
    // Nothing else is expected; the report must still close properly.
    stopWith(RunStop::Kind::Internal, {"", "", "     ERROR STOP -- INTERNAL ERROR OF THE ANALYSIS"},
             lastLine());
  }

  WriteEndOfAnalysis(files.report);
  if (c.NEXT == 0) WriteResultBlock(files.plot, c.PLOTCODE, c.plotUnits, model.results);
  return stop;
}

}  // namespace terraq::engine
