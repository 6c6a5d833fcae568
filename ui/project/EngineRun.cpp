#include "EngineRun.h"

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <system_error>
#include <vector>

#include "platform/InstallPaths.h"
#include "platform/TDynamicLibrary.h"
#include "project/AtomicFile.h"
#include "project/ReplacementSet.h"
#include "project/RunFolder.h"

#if defined(_WIN32)
#include <windows.h>
#define TERRAQ_ENGINE_CALL __stdcall
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#define TERRAQ_ENGINE_CALL
#endif

namespace fs = std::filesystem;

namespace terraq::ui {

namespace {

using EngineEntry = int32_t(TERRAQ_ENGINE_CALL*)(int32_t);

// The engine reads each line of the names file as at most 255 characters and
// drops trailing blanks; a path it would shorten must not reach it, or the
// run would read or write some other file.
constexpr size_t kMaxNamesLine = 255;

std::string checkNamesLine(const fs::path& path) {
  const std::string text = path.string();
  if (text.size() > kMaxNamesLine)
    return "the path " + text + " is longer than the " + std::to_string(kMaxNamesLine) +
           " characters the engine accepts";
  if (text.find_first_of("\r\n") != std::string::npos)
    return "the path " + text + " contains a line break";
  if (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
    return "the path \"" + text + "\" ends with a blank";
  return {};
}

// Runs of one data file take turns: two at once (two windows, a batch
// script) would write the same outputs. The lock is held on the report, not
// on the data file, which every save replaces without taking the lock. A run
// replaces the report too, so it also locks its new report before putting it
// in place, and a run that waited checks that its lock sits on the report
// the path now names, taking the new one otherwise. Held until the caller
// has read the outputs; closing the files releases it, also when the
// process dies.
class ReportLock {
 public:
  ReportLock() = default;
  ~ReportLock() {
#if !defined(_WIN32)
    for (int fd : held_) ::close(fd);
#endif
  }
  ReportLock(const ReportLock&) = delete;
  ReportLock& operator=(const ReportLock&) = delete;

  // Opens the report (creating it) and takes the lock, telling the observer
  // first when another run holds it. `report` is the end of its links (a
  // link planted there since is not followed). An error when the report
  // cannot be opened or locked.
  std::error_code acquire(const fs::path& report, RunObserver* observer) {
#if !defined(_WIN32)
    // Taken again after the report was put back: a lock this object holds
    // on the file the name still leads to is kept (a second one on it would
    // wait for the first for ever).
    if (!held_.empty() && holdsNamed(held_.back(), report)) return {};
    bool told = false;
    for (;;) {
      // Opened for writing only: a lock needs no more, and a report the
      // user made write-only is still the run's to replace.
      const int fd = ::open(report.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
      if (fd < 0) return {errno, std::generic_category()};
      held_.push_back(fd);
      if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK) return {errno, std::generic_category()};
        if (observer && !told) observer->WaitingForAnotherRun();
        told = true;
        while (::flock(fd, LOCK_EX) != 0)
          if (errno != EINTR) return {errno, std::generic_category()};
      }
      if (holdsNamed(fd, report)) return {};
      held_.pop_back();
      ::close(fd);
    }
#else
    (void)report;
    (void)observer;
    return {};
#endif
  }

  // Locks a new report before it replaces the locked one (it is new: no
  // other run can hold it).
  void alsoHold(const fs::path& newReport) {
#if !defined(_WIN32)
    const int fd = ::open(newReport.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return;
    held_.push_back(fd);
    ::flock(fd, LOCK_EX | LOCK_NB);
#else
    (void)newReport;
#endif
  }

 private:
#if !defined(_WIN32)
  // The open file `fd` is the one `report` now names.
  static bool holdsNamed(int fd, const fs::path& report) {
    struct stat locked {
    }, named{};
    return ::fstat(fd, &locked) == 0 && ::stat(report.c_str(), &named) == 0 &&
           locked.st_dev == named.st_dev && locked.st_ino == named.st_ino;
  }
#endif
  std::vector<int> held_;
};

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

// The engine's messages, and the failed write or read among them: "CANNOT
// WRITE <path>: <reason>" or "CANNOT READ <path>: <reason>", where no reason
// contains ": ". The path is told as the user knows it.
void readEngineMessages(const std::vector<RunOutput>& outputs, EngineRunResult& result) {
  std::ifstream in(kEngineMessagesFile, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const size_t colon = line.rfind(": ");
    std::string marker;
    for (const char* failure : {"CANNOT WRITE ", "CANNOT READ "})
      if (line.rfind(failure, 0) == 0 && colon != std::string::npos &&
          colon >= std::string(failure).size())
        marker = failure;
    if (marker.empty()) {
      result.engineMessages.push_back(line);
      continue;
    }
    fs::path file = line.substr(marker.size(), colon - marker.size());
    for (const RunOutput& output : outputs)
      if (file == output.writtenAs()) file = *output.path;
    const std::string verb = marker == "CANNOT READ " ? "cannot read " : "cannot write ";
    if (result.error.empty()) result.error = verb + file.string() + line.substr(colon);
  }
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

fs::path DefaultEngineLibrary() {
  const std::vector<fs::path> folders = LibraryFolders(ExecutableFolder());
  const fs::path found = FindIn(folders, kEngineLibraryName);
  // Missing everywhere: name the place beside the program, where a build
  // puts it, so that the loader's message points there.
  return found.empty() ? folders.front() / kEngineLibraryName : found;
}

std::string UnusableDataFile(const fs::path& file) {
  std::error_code ec;
  const fs::file_status status = fs::status(file, ec);
  if (!fs::exists(status)) return "cannot find the data file " + file.string();
  if (!fs::is_regular_file(status))
    return "cannot read the data file " + file.string() + ": it is not a regular file";
  return {};
}

EngineRunResult RunEngine(const fs::path& dataFile, const fs::path& library, RunObserver* observer) {
  EngineRunResult result;
  result.paths = DeriveRunPaths(dataFile);
  std::error_code ec;
  result.library = fs::absolute(library, ec);
  if (ec) result.library = library;
  const RunPaths& paths = result.paths;

  result.error = UnusableDataFile(paths.dataFile);
  if (!result.error.empty()) return result;
  for (const fs::path* p : {&paths.dataFile, &paths.reportFile, &paths.plotFile, &paths.monitorFile}) {
    result.error = checkNamesLine(*p);
    if (!result.error.empty()) return result;
  }
  // A save of the data file that a kill interrupted is completed before it
  // is read; one that is not ours to complete is read as it stands.
  try {
    CompleteInterruptedRewrite(paths.dataFile);
  } catch (const EFileWriteError&) {}
  // An output that is the data file, or another output, under a second
  // name (a link of either kind) would be written over it; an output that
  // is a link planted by someone else is not followed.
  fs::path reportTarget;
  try {
    RefuseSameFiles({{paths.reportFile, "the report"},
                     {paths.plotFile, "the plot file"},
                     {paths.monitorFile, "the monitor file"}},
                    {{paths.dataFile, "the data file"}});
    for (const fs::path* p : {&paths.reportFile, &paths.plotFile, &paths.monitorFile})
      ResolveForWriting(*p);
    reportTarget = ResolveForWriting(paths.reportFile);
  } catch (const EFileWriteError& e) {
    result.error = "cannot write " + e.path().string() + ": " + e.reason();
    return result;
  }

  const fs::path previous = fs::current_path(ec);
  if (ec) {
    result.error = "cannot determine the current directory: " + ec.message();
    return result;
  }
  const fs::path folder = MakePrivateTempFolder(ec);
  if (ec) {
    result.error = "cannot create a temporary folder for the run: " + ec.message();
    return result;
  }
  RunFolder guard(previous, folder);
  if (observer) observer->FolderMade(folder);
  fs::current_path(folder, ec);
  if (ec) {
    result.error = "cannot enter the temporary folder " + folder.string() + ": " + ec.message();
    return result;
  }

  TDynamicLibrary engine(result.library.string());
  EngineEntry entry = nullptr;
  try {
    engine.load();
    entry = reinterpret_cast<EngineEntry>(engine.lookup(kEngineEntryName));
  } catch (const TLibraryError& e) {
    result.error = std::string(e.what()) + ": " + result.library.string();
    if (e.kind() == TLibraryError::Kind::FailedToInitialize && !e.detail().empty())
      result.error += " (" + e.detail() + ")";
    result.libraryFailed = true;
    return result;
  }
  if (!entry) {
    result.error = std::string("the engine library ") + result.library.string() + " has no entry " +
                   kEngineEntryName;
    result.libraryFailed = true;
    return result;
  }
  result.engineLoaded = true;

  // The lock needs a report to sit on; one made for it goes again with any
  // run that ends without outputs.
  const bool reportExisted = fs::exists(fs::symlink_status(paths.reportFile, ec));
  auto lock = std::make_shared<ReportLock>();
  result.outputLock = lock;
  struct MadeReport {
    const fs::path* report = nullptr;
    ~MadeReport() {
      std::error_code ignored;
      if (report && fs::is_empty(*report, ignored)) fs::remove(*report, ignored);
    }
  } madeReport;
  if (const std::error_code locked = lock->acquire(reportTarget, observer)) {
    result.error = "cannot write " + paths.reportFile.string() + ": " + locked.message();
    if (!reportExisted) fs::remove(paths.reportFile, ec);
    return result;
  }
  if (!reportExisted) madeReport.report = &paths.reportFile;
  // A run killed while it put its outputs in place left a mixed set: the
  // earlier outputs are restored first (with the lock held, no other run is
  // replacing them), and the lock then taken on the report now in place.
  try {
    RecoverInterruptedSet(paths.reportFile);
  } catch (const EFileWriteError& e) {
    result.error = "cannot write " + e.path().string() + ": " + e.reason();
    return result;
  }
  if (const std::error_code locked = lock->acquire(reportTarget, observer)) {
    result.error = "cannot write " + paths.reportFile.string() + ": " + locked.message();
    return result;
  }

  // Every output is checked and given its temporary file before the engine
  // starts: one that cannot be written (read-only, a folder of that name, a
  // link into a missing folder) stops the run without a word from the
  // engine. Temporary files left by a killed run of this data file go first:
  // with the lock held, no other run of it can be writing them.
  std::vector<RunOutput> outputs;
  std::vector<fs::path> unfinished;
  if (!reportExisted) unfinished.push_back(paths.reportFile);
  for (const fs::path* p : {&paths.reportFile, &paths.plotFile, &paths.monitorFile}) {
    RunOutput output{p, nullptr};
    if (!writtenDirectly(*p)) {
      try {
        RemoveStaleTemporaries(*p, std::chrono::seconds(0));
        output.replacement = std::make_unique<ReplacementFile>(*p);
      } catch (const EFileWriteError& e) {
        result.error = "cannot write " + p->string() + ": " + e.reason();
        return result;
      }
      unfinished.push_back(output.replacement->temporary());
      if (const std::string tooLong = checkNamesLine(output.writtenAs()); !tooLong.empty()) {
        result.error = "cannot write " + p->string() + ": " + tooLong;
        return result;
      }
    }
    outputs.push_back(std::move(output));
  }
  if (outputs.front().replacement) lock->alsoHold(outputs.front().writtenAs());

  {
    const fs::path namesFile = folder / "names.dat";
    errno = 0;
    std::ofstream names(namesFile, std::ios::binary);
    names << paths.dataFile.string() << '\n';
    for (const RunOutput& output : outputs) names << output.writtenAs().string() << '\n';
    names.close();
    if (!names) {
      result.error = "cannot write " + namesFile.string() + ": " + std::strerror(errno ? errno : EIO);
      return result;
    }
  }

#if defined(__linux__)
  // Room for the engine's messages is taken now: the disk of the run's
  // folder may fill during the run, and the message that says so must
  // still fit.
  if (const int fd = ::open(kEngineMessagesFile, O_WRONLY | O_CREAT | O_CLOEXEC, 0600); fd >= 0) {
    ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, 4096);
    ::close(fd);
  }
#endif
  if (observer) observer->OutputsBegun(unfinished);
  const int status = entry(kEngineRunCode);
  result.engineCalled = true;
  engine.unload();
  readEngineMessages(outputs, result);
  if (status == kEngineInputNotRead) {
    if (result.error.empty()) result.error = "cannot read " + paths.dataFile.string();
    return result;
  }
  if (status == kEngineOutputNotWritten) {
    // Its message could not be written either (the run's folder is full);
    // the engine then puts it on the console.
    if (result.error.empty())
      result.error = "the engine could not write one of its files; the run's folder " + folder.string() +
                     " may be full";
    return result;
  }
  result.error.clear();
  // The engine returns normally when it could not even read its names; an
  // empty report is then no result of this run.
  const fs::path& newReport = outputs.front().writtenAs();
  if (!fs::is_regular_file(newReport, ec) || fs::file_size(newReport, ec) == 0 || ec) {
    result.error = "the engine wrote no report";
    return result;
  }

  const auto replace = [&] {
    try {
      std::vector<ReplacementFile*> set;
      for (RunOutput& output : outputs)
        if (output.replacement) set.push_back(output.replacement.get());
      ReplaceAsOneSet(set);
      madeReport.report = nullptr;
      result.outputsReplaced = true;
    } catch (const EFileWriteError& e) {
      result.error = "cannot write " + e.path().string() + ": " + e.reason();
    }
  };
  if (observer) observer->ReplaceOutputs(replace);
  else replace();
  return result;
}

}  // namespace terraq::ui
