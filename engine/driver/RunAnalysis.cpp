#include "RunAnalysis.h"

#include <cstring>
#include <fstream>
#include <optional>
#include <string>

#include "EngineModel.h"
#include "RunFiles.h"
#include "RunMessages.h"
#include "input/ReadProblem.h"
#include "output/PlotFile.h"
#include "output/Report.h"
#include "solver/Solver.h"
#include "textio/FixedFormat.h"

namespace terraq::engine {

namespace {

constexpr size_t kMaxNameLength = 255;

// The four lines of the names file: data, report, plot and monitor files.
// The file is looked for as "NAMES.dat" and then "names.dat", since file
// names are case-sensitive here.
bool ReadNamesFile(std::string (&names)[4]) {
  std::ifstream in("NAMES.dat");
  if (!in) in.open("names.dat");
  if (!in) return false;
  for (std::string& name : names) {
    if (!std::getline(in, name)) return false;
    if (!name.empty() && name.back() == '\r') name.pop_back();
    if (name.size() > kMaxNameLength) name.resize(kMaxNameLength);
    const size_t end = name.find_last_not_of(' ');
    name.erase(end == std::string::npos ? 0 : end + 1);
  }
  return true;
}

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

void WriteStop(RunFiles& files, const std::vector<std::string>& lines) {
  for (const std::string& line : lines) files.report.line(line);
}

void RunProblems(RunFiles& files, EngineModel& model) {
  ProblemControl& c = model.control;
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

    ReadProblem(files, model);

    WriteHeading(files.report, c);
    WriteMonitorHeading(files.monitor);
    IterateSolution(files, model);
    WriteResults(files.report, model);
    // A run that can no longer write its outputs ends here rather than
    // solve problems nobody will see.
    for (const TextOut* out : {&files.report, &files.plot, &files.monitor}) ThrowIfWriteFailed(*out);

    files.data->read(1).assign(0, c.NEXT);
    if (c.NEXT == c.KSTAGE) c.NEXT = 0;
    if (c.NEXT == 0) return;
    c.PLOTCODE = c.NEXT == 9 ? 2 : c.KSTAGE;
    WriteResultBlock(files.plot, c.PLOTCODE, c.plotUnits, model.results);
  }
}

}  // namespace

RunStatus RunAnalysis() {
  EngineModel& model = GlobalEngineModel();
  model = EngineModel{};
  SetUnitLabels(model.labels, 0);
  ClearRunMessages();

  std::string names[4];
  if (!ReadNamesFile(names)) {
    TellCaller(" PLEASE CREATE AN INPUT DATA FILE AND SAVE IT");
    TellCaller(" BEFORE COMPUTATION.  TRY IT AGAIN!");
    return RunStatus::Completed;
  }

  RunFiles files;
  files.dataStream.open(names[0], std::ios::in | std::ios::binary);
  // All three are opened even when one fails, in the order of the names.
  const bool reportOpen = files.report.open(names[1]);
  const bool plotOpen = files.plot.open(names[2]);
  const bool monitorOpen = files.monitor.open(names[3]);
  if (!(reportOpen && plotOpen && monitorOpen)) {
    TellCaller(" CANNOT CREATE THE OUTPUT FILES OF THE ANALYSIS");
    for (const TextOut* out : {&files.report, &files.plot, &files.monitor})
      if (out->error() != 0) TellWriteFailure(out->path(), out->error());
    return RunStatus::OutputNotWritten;
  }
  files.data.emplace(files.dataStream);

  ProblemControl& c = model.control;
  c.PLOTCODE = 1;
  c.problemCount = 0;
  std::optional<OutputWriteError> writeFailure;
  std::optional<std::string> readFailure;
  try {
    if (!files.dataStream.is_open())
      StopWithMessage("ERROR STOP -- CANNOT OPEN THE DATA FILE " + names[0]);
    RunProblems(files, model);
  } catch (const ErrorStop& e) {
    WriteStop(files, e.reportLines());
  } catch (const InputError& e) {
    if (e.kind() == InputError::Kind::ReadFailed) {
      // The disk, not the data: the caller keeps the outputs it has.
      readFailure = e.token();
      WriteStop(
          files,
          {"", "", "     ERROR STOP -- CANNOT READ THE DATA FILE " + names[0] + ": " + e.token()});
    } else {
      WriteStop(files, {"", "", "     " + InputErrorMessage(e)});
    }
  } catch (const OutputWriteError& e) {
    // A file the disk refused is no fault of the data: the report (if it
    // can still take a line) says what happened, the caller is told below.
    writeFailure = e;
    WriteStop(files, {"", "", "     ERROR STOP -- CANNOT WRITE " + e.path() + ": " + std::strerror(e.error())});
  } catch (const InternalIndexError&) {
    WriteStop(files, {"", "", "     ERROR STOP -- A STATION OF THE INPUT LIES OUTSIDE THE STORAGE"});
  } catch (const std::bad_alloc&) {
    WriteStop(files, {"", "", "     ERROR STOP -- NOT ENOUGH MEMORY FOR THE DATA"});
  } catch (const std::exception&) {
    // Nothing else is expected; the report must still close properly.
    WriteStop(files, {"", "", "     ERROR STOP -- INTERNAL ERROR OF THE ANALYSIS"});
  }

  WriteEndOfAnalysis(files.report);
  if (c.NEXT == 0) WriteResultBlock(files.plot, c.PLOTCODE, c.plotUnits, model.results);
  files.report.close();
  files.dataStream.close();
  files.plot.close();
  files.monitor.close();

  if (readFailure) {
    TellReadFailure(names[0], *readFailure);
    return RunStatus::InputNotRead;
  }
  // The first failure is the one to fix; a full disk usually fails all.
  if (writeFailure) {
    TellWriteFailure(writeFailure->path(), writeFailure->error());
    return RunStatus::OutputNotWritten;
  }
  for (const TextOut* out : {&files.report, &files.plot, &files.monitor}) {
    if (out->error() == 0) continue;
    TellWriteFailure(out->path(), out->error());
    return RunStatus::OutputNotWritten;
  }
  return RunStatus::Completed;
}

}  // namespace terraq::engine
