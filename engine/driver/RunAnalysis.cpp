// The file adapter of the exported entry: the names file and the data file
// in the current directory in, the report, plot and monitor files and the
// caller's messages out, the analysis itself in memory (api/Analysis.h,
// with the texts streamed to the files as they are made).

#include "RunAnalysis.h"

#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "RunMessages.h"
#include "api/ModelAnalysis.h"
#include "soil/GeneratePyCurves.h"
#include "textio/TextOut.h"

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

// The whole data file; false when it cannot be opened.
bool ReadDataFile(const std::string& name, std::string& text) {
  std::ifstream in(name, std::ios::in | std::ios::binary);
  if (!in.is_open()) return false;
  std::ostringstream whole;
  whole << in.rdbuf();
  text = std::move(whole).str();
  return true;
}

}  // namespace

RunStatus RunAnalysis() {
  ClearRunMessages();

  std::string names[4];
  if (!ReadNamesFile(names)) {
    TellCaller(" PLEASE CREATE AN INPUT DATA FILE AND SAVE IT");
    TellCaller(" BEFORE COMPUTATION.  TRY IT AGAIN!");
    return RunStatus::Completed;
  }

  // All three outputs are opened before the analysis, even when one fails,
  // in the order of the names: a run that could not write its outputs is
  // not started.
  RunFiles files;
  TextOut* const outputs[] = {&files.report, &files.plot, &files.monitor};
  bool opened = true;
  for (int k = 0; k < 3; ++k) opened = outputs[k]->open(names[k + 1]) && opened;
  if (!opened) {
    TellCaller(" CANNOT CREATE THE OUTPUT FILES OF THE ANALYSIS");
    for (const TextOut* out : outputs)
      if (out->error() != 0) TellWriteFailure(out->path(), out->error());
    return RunStatus::OutputNotWritten;
  }

  api::AnalysisOptions options;
  std::string data;
  if (!ReadDataFile(names[0], data))
    options.stopBeforeReading = "ERROR STOP -- CANNOT OPEN THE DATA FILE " + names[0];
  // The texts go to the files as they are made: a run that can no longer
  // write them stops at the end of its problem, its report saying so.
  const auto model = std::make_unique<EngineModel>();
  const api::AnalysisResult result = api::AnalyseInto(data, options, files, *model);
  // The generation's progress note is for a console, if there is one, as
  // it has always been; the rest is for the caller.
  for (const std::string& line : result.messages) {
    if (line != kReadSoilDataNote) {
      TellCaller(line);
    } else {
      std::puts(kReadSoilDataNote);
      std::fflush(stdout);
    }
  }

  // The first failure is the one to fix; a full disk usually fails all.
  RunStatus status = RunStatus::Completed;
  for (TextOut* out : outputs) {
    out->close();
    if (out->error() == 0 || status != RunStatus::Completed) continue;
    TellWriteFailure(out->path(), out->error());
    status = RunStatus::OutputNotWritten;
  }
  return status;
}

}  // namespace terraq::engine
