#include "EngineRun.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <map>
#include <mutex>
#include <system_error>
#include <vector>

#include "api/AnalysisEntry.h"
#include "platform/InstallPaths.h"
#include "project/AtomicFile.h"
#include "project/EarthPressureMember.h"
#include "project/EngineLibrary.h"
#include "project/ProjectInputs.h"
#include "project/ReplacementSet.h"
#include "project/ReportLock.h"
#include "project/SequentialRun.h"

#if !defined(_WIN32)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace terraq::ui {

namespace {

// The analysis entry of the run's library; null, with the error in
// `result`, when there is none.
engine::api::AnalyseEntry LoadEngine(EngineRunResult& result) {
  return reinterpret_cast<engine::api::AnalyseEntry>(
      EngineLibrarySymbol(result.library, engine::api::kAnalyseEntryName, result.error));
}

// The whole data file, or the system's reason why it cannot be read (a
// disk that fails a read is told as such, never as data that ends early).
std::string readDataFile(const fs::path& file, std::string& text) {
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::strerror(errno);
  char chunk[65536];
  for (;;) {
    const ssize_t got = ::read(fd, chunk, sizeof chunk);
    if (got == 0) break;
    if (got < 0) {
      if (errno == EINTR) continue;
      const int error = errno;
      ::close(fd);
      return std::strerror(error);
    }
    text.append(chunk, static_cast<size_t>(got));
  }
  ::close(fd);
  return {};
}

// Writes the whole text to `fd`; the errno of a write that failed, else 0.
int writeAll(int fd, std::string_view text) {
  while (!text.empty()) {
    const ssize_t put = ::write(fd, text.data(), std::min<size_t>(text.size(), size_t{1} << 30));
    if (put < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    text.remove_prefix(static_cast<size_t>(put));
  }
  return 0;
}

// One output of the run: the file the user knows and where the engine
// writes it. A plain file (or a new one) is written to a temporary file that
// replaces it at the end; anything else the user pointed the output at (a
// device, a pipe) cannot be replaced and is written as it stands.
struct RunOutput {
  const fs::path* path = nullptr;
  std::unique_ptr<ReplacementFile> replacement;  // null when written directly
  const fs::path& writtenAs() const { return replacement ? replacement->temporary() : *path; }
};

bool writtenDirectly(const fs::path& output) {
  std::error_code ec;
  const fs::file_status status = fs::status(output, ec);
  return !ec && fs::exists(status) && !fs::is_regular_file(status) && !fs::is_directory(status);
}

// Writes one output's text where the run writes it: its temporary file, or
// the device the user pointed it at. Empty, or why it failed.
std::string writeOutput(const RunOutput& output, std::string_view text) {
  int error = 0;
  if (output.replacement) {
    error = writeAll(output.replacement->descriptor(), text);
  } else {
    const int fd = ::open(output.path->c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0) return std::strerror(errno);
    error = writeAll(fd, text);
    if (::close(fd) != 0 && error == 0) error = errno;
  }
  return error == 0 ? std::string() : std::strerror(error);
}

}  // namespace

RunPaths DeriveRunPaths(const fs::path& dataFile) {
  std::error_code ec;
  fs::path data = fs::absolute(dataFile, ec);
  if (ec) data = dataFile;
  data = data.lexically_normal();
  RunPaths paths;
  paths.dataFile = data;
  paths.reportFile = fs::path(data).replace_extension(".tq4o");
  paths.plotFile = fs::path(data).replace_extension(".tq4p");
  paths.monitorFile = fs::path(data).replace_extension(".tq4r");
  return paths;
}

std::string UnusableDataFile(const fs::path& file) {
  std::error_code ec;
  const fs::file_status status = fs::status(file, ec);
  if (!fs::exists(status)) return "cannot find the data file " + file.string();
  if (!fs::is_regular_file(status))
    return "cannot read the data file " + file.string() + ": it is not a regular file";
  return {};
}

std::string RecoverInterruptedOutputs(const RunPaths& paths) {
  if (!InterruptedSetPending(paths.reportFile)) return {};
  try {
    // With the lock, no run is replacing the set meanwhile: a journal
    // still there then is one a kill left.
    ReportLock lock;
    if (const std::error_code locked = lock.acquire(ResolveForWriting(paths.reportFile), nullptr))
      return "cannot put back the earlier outputs of " + paths.dataFile.string() + ": " +
             paths.reportFile.string() + ": " + locked.message();
    RecoverInterruptedSet(paths.reportFile);
  } catch (const EFileWriteError& e) {
    return "cannot put back the earlier outputs of " + paths.dataFile.string() + ": " + e.what();
  }
  return {};
}

namespace {

// An output that is an input of the project (the data file, the project
// file, ...), or another output, under a second name (a link of either
// kind) would be written over it; an output that is a link planted by
// someone else is not followed. Empty, or why the run cannot write; the
// report's file (the end of its links) in `reportTarget`.
std::string RefuseUnsafeOutputs(const RunPaths& paths, fs::path& reportTarget) {
  try {
    RefuseProjectInputs({{paths.reportFile, "the report"},
                         {paths.plotFile, "the plot file"},
                         {paths.monitorFile, "the monitor file"}},
                        paths.dataFile);
    for (const fs::path* p : {&paths.reportFile, &paths.plotFile, &paths.monitorFile})
      ResolveForWriting(*p);
    reportTarget = ResolveForWriting(paths.reportFile);
  } catch (const EFileWriteError& e) {
    return "cannot write " + e.path().string() + ": " + e.reason();
  }
  return {};
}

// A report made only for the lock to sit on goes again with a run that
// ends without outputs.
struct MadeReport {
  const fs::path* report = nullptr;
  ~MadeReport() {
    std::error_code ignored;
    if (report && fs::is_empty(*report, ignored)) fs::remove(*report, ignored);
  }
};

// Takes the outputs' lock on the report. A run killed while it put its
// outputs in place left a mixed set: the earlier outputs are restored first
// (with the lock held, no other run is replacing them), and the lock then
// taken on the report now in place. Empty, or why not.
std::string LockOutputs(const RunPaths& paths, const fs::path& reportTarget, ReportLock& lock,
                        RunObserver* observer, bool reportExisted, MadeReport& madeReport) {
  std::error_code ec;
  if (const std::error_code locked = lock.acquire(reportTarget, observer)) {
    if (!reportExisted) fs::remove(paths.reportFile, ec);
    return "cannot write " + paths.reportFile.string() + ": " + locked.message();
  }
  if (!reportExisted) madeReport.report = &paths.reportFile;
  try {
    RecoverInterruptedSet(paths.reportFile);
  } catch (const EFileWriteError& e) {
    return "cannot write " + e.path().string() + ": " + e.reason();
  }
  if (const std::error_code locked = lock.acquire(reportTarget, observer))
    return "cannot write " + paths.reportFile.string() + ": " + locked.message();
  return {};
}

// Every output is checked and given its temporary file before the
// analysis: one that cannot be written (read-only, a folder of that name,
// a link into a missing folder) stops the run before it. Temporary files
// left by a killed run of this data file go first: with the lock held, no
// other run of it can be writing them. Empty, or why not.
std::string MakeRunOutputs(const RunPaths& paths, bool reportExisted, RunObserver* observer,
                           std::vector<RunOutput>& outputs) {
  std::vector<fs::path> unfinished;
  if (!reportExisted) unfinished.push_back(paths.reportFile);
  std::vector<fs::path> replaced;
  for (const fs::path* p : {&paths.reportFile, &paths.plotFile, &paths.monitorFile})
    if (!writtenDirectly(*p)) replaced.push_back(*p);
  try {
    RemoveStaleTemporaries(replaced, std::chrono::seconds(0));
  } catch (const EFileWriteError& e) {
    return "cannot write " + e.path().string() + ": " + e.reason();
  }
  std::string error;
  const auto makeOutputs = [&] {
    for (const fs::path* p : {&paths.reportFile, &paths.plotFile, &paths.monitorFile}) {
      RunOutput output{p, nullptr};
      if (!writtenDirectly(*p)) {
        try {
          output.replacement = std::make_unique<ReplacementFile>(
              *p, ReplacementFile::StaleTemporaries::AlreadyRemoved);
        } catch (const EFileWriteError& e) {
          error = "cannot write " + p->string() + ": " + e.reason();
          break;
        }
        unfinished.push_back(output.replacement->temporary());
      }
      outputs.push_back(std::move(output));
    }
    if (observer) observer->OutputsBegun(unfinished);
  };
  if (observer) observer->MakeOutputs(makeOutputs);
  else makeOutputs();
  return error;
}

// Reads the data file and analyses it, a project with a construction
// sequence in its stages, each from the one before (the data file holds the
// wall and soil before construction), with the soil model the project file
// chose. Empty, or why there is no analysis.
std::string Analyse(const RunPaths& paths, engine::api::AnalyseEntry analyse,
                    engine::api::AnalysisResult& analysis, std::optional<ProjectRunInput>& project,
                    std::vector<engine::api::LayerCoefficients>& coefficients) {
  std::string data;
  if (const std::string unread = readDataFile(paths.dataFile, data); !unread.empty())
    return "cannot read " + paths.dataFile.string() + ": " + unread;
  std::string projectError;
  project = ReadProjectRun(paths.dataFile, data, projectError);
  if (!project) return projectError;
  engine::api::AnalysisOptions options = ProjectAnalysisOptions(*project);
  options.reportText = options.plotText = options.monitorText = true;
  if (project->sequence) data = std::move(project->sequence->sequence.text);
  analyse(data.data(), data.size(), &options, &analysis);
  if (!analysis.error) coefficients = RunCoefficients(data, options.earthPressure);
  return {};
}

// Puts the run's outputs in place as one set: the summary is the run's only
// once they all are.
void ReplaceOutputs(std::vector<RunOutput>& outputs, MadeReport& madeReport,
                    const RunSummary& summary, EngineRunResult& result) {
  try {
    std::vector<ReplacementFile*> set;
    for (RunOutput& output : outputs)
      if (output.replacement) set.push_back(output.replacement.get());
    ReplaceAsOneSet(set);
    madeReport.report = nullptr;
    result.outputsReplaced = true;
    result.summary = summary;
  } catch (const EFileWriteError& e) {
    result.error = "cannot write " + e.path().string() + ": " + e.reason();
  }
}

}  // namespace

EngineRunResult RunEngine(const fs::path& dataFile, const fs::path& library,
                          RunObserver* observer) {
  EngineRunResult result;
  result.paths = DeriveRunPaths(dataFile);
  std::error_code ec;
  result.library = fs::absolute(library, ec);
  if (ec) result.library = library;
  const RunPaths& paths = result.paths;

  result.error = UnusableDataFile(paths.dataFile);
  if (!result.error.empty()) return result;
  // A save of the data file that a kill interrupted is completed before it
  // is read; one that is not ours to complete is read as it stands.
  try {
    CompleteInterruptedRewrite(paths.dataFile);
  } catch (const EFileWriteError&) {}
  fs::path reportTarget;
  result.error = RefuseUnsafeOutputs(paths, reportTarget);
  if (!result.error.empty()) return result;

  const engine::api::AnalyseEntry analyse = LoadEngine(result);
  if (!analyse) {
    result.libraryFailed = true;
    return result;
  }
  result.engineLoaded = true;

  const bool reportExisted = fs::exists(fs::symlink_status(paths.reportFile, ec));
  auto lock = std::make_shared<ReportLock>();
  result.outputLock = lock;
  MadeReport madeReport;
  result.error = LockOutputs(paths, reportTarget, *lock, observer, reportExisted, madeReport);
  if (!result.error.empty()) return result;
  std::vector<RunOutput> outputs;
  result.error = MakeRunOutputs(paths, reportExisted, observer, outputs);
  if (!result.error.empty()) return result;
  if (outputs.front().replacement) lock->alsoHold(outputs.front().writtenAs());

  // As the engine always did, the data is read once the outputs are ready.
  result.engineCalled = true;
  std::optional<ProjectRunInput> project;
  std::vector<engine::api::LayerCoefficients> coefficients;
  result.error = Analyse(paths, analyse, result.analysis, project, coefficients);
  if (!result.error.empty()) return result;
  engine::api::AnalysisResult& analysis = result.analysis;
  result.engineMessages = std::move(analysis.messages);
  analysis.messages.clear();
  // The analysis always reports, if only its stop; a report without a
  // line is no result of this run.
  if (analysis.report.empty()) {
    result.error = "the engine wrote no report";
    return result;
  }
  const std::string* texts[] = {&analysis.report, &analysis.plot, &analysis.monitor};
  for (size_t k = 0; k < outputs.size(); ++k)
    if (const std::string failed = writeOutput(outputs[k], *texts[k]); !failed.empty()) {
      result.error = "cannot write " + outputs[k].path->string() + ": " + failed;
      return result;
    }
  RunSummary summary = SummarizeAnalysis(analysis, analysis.report);
  if (project->sequence) AddSequenceToSummary(project->sequence->sequence, summary);
  AddProjectToSummary(*project, summary);
  summary.earthPressureCoefficients = std::move(coefficients);
  // The texts are on the disk now; a large run's need not stay in memory.
  for (std::string* text : {&analysis.report, &analysis.plot, &analysis.monitor})
    std::string().swap(*text);

  const auto replace = [&] { ReplaceOutputs(outputs, madeReport, summary, result); };
  if (observer) observer->ReplaceOutputs(replace);
  else replace();
  return result;
}

}  // namespace terraq::ui
