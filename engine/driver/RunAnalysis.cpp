// The file adapter of the exported entry: the names file and the data file
// in the current directory in, the report, plot and monitor files and the
// caller's messages out, the analysis itself in memory (api/Analysis.h,
// with the texts streamed to the files as they are made).

#include "RunAnalysis.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>

#include "RunMessages.h"
#include "api/ModelAnalysis.h"
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

// How reading the data file went: read whole, not opened, or a failed read
// of the disk (the system's text for it in `reason`).
enum class DataRead { Whole, NotOpened, Failed };

DataRead ReadDataFile(const std::string& name, std::string& text, std::string& reason) {
  std::FILE* file = std::fopen(name.c_str(), "rb");
  if (file == nullptr) return DataRead::NotOpened;
  char chunk[65536];
  size_t got = 0;
  errno = 0;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) text.append(chunk, got);
  // A read the disk refused is no end of the data: it is told as such, so
  // that nobody looks for a fault in the file.
  const bool failed = std::ferror(file) != 0;
  if (failed) reason = std::strerror(errno != 0 ? errno : EIO);
  std::fclose(file);
  return failed ? DataRead::Failed : DataRead::Whole;
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
  std::string data, readFailure;
  switch (ReadDataFile(names[0], data, readFailure)) {
    case DataRead::Whole: break;
    case DataRead::NotOpened:
      options.stopBeforeReading = "ERROR STOP -- CANNOT OPEN THE DATA FILE " + names[0];
      break;
    case DataRead::Failed:
      // The disk, not the data: the caller keeps the outputs it has.
      options.stopBeforeReading =
          "ERROR STOP -- CANNOT READ THE DATA FILE " + names[0] + ": " + readFailure;
      break;
  }
  // The texts go to the files as they are made: a run that can no longer
  // write them stops at the end of its problem, its report saying so.
  const auto model = std::make_unique<EngineModel>();
  const api::AnalysisResult result = api::AnalyseInto(data, options, files, *model);
  // Every note goes to the caller, the generation's progress note too: a
  // library may not write on its host's console.
  for (const std::string& line : result.messages) TellCaller(line);

  for (TextOut* out : outputs) out->close();
  if (!readFailure.empty()) {
    TellReadFailure(names[0], readFailure);
    return RunStatus::InputNotRead;
  }
  // The first failure is the one to fix; a full disk usually fails all.
  RunStatus status = RunStatus::Completed;
  for (TextOut* out : outputs) {
    if (out->error() == 0 || status != RunStatus::Completed) continue;
    TellWriteFailure(out->path(), out->error());
    status = RunStatus::OutputNotWritten;
  }
  return status;
}

}  // namespace terraq::engine
