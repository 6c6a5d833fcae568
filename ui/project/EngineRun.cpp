#include "EngineRun.h"

#include <cerrno>
#include <cstdint>
#include <fstream>
#include <random>
#include <system_error>
#include <vector>

#include "platform/TDynamicLibrary.h"

#if defined(_WIN32)
#include <windows.h>
#define TERRAQ_ENGINE_CALL __stdcall
#else
#include <fcntl.h>
#include <stdlib.h>
#include <sys/file.h>
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

// A new, empty folder that no other run can be using.
fs::path makePrivateTempFolder(std::error_code& ec) {
  const fs::path base = fs::temp_directory_path(ec);
  if (ec) return {};
#if defined(_WIN32)
  std::random_device seed;
  std::mt19937_64 random(seed());
  for (int attempt = 0; attempt < 100; ++attempt) {
    const fs::path folder = base / ("terraq-run-" + std::to_string(random() % 1000000000ULL));
    if (fs::create_directory(folder, ec)) return folder;
    if (ec) return {};
  }
  ec = std::make_error_code(std::errc::file_exists);
  return {};
#else
  std::string pattern = (base / "terraq-run-XXXXXX").string();
  if (!mkdtemp(pattern.data())) {
    ec = std::error_code(errno, std::generic_category());
    return {};
  }
  return pattern;
#endif
}

// Restores the current directory and removes the run's folder when the run
// leaves scope, on every path out of it.
class RunFolder {
 public:
  RunFolder(fs::path previous, fs::path folder) : previous_(std::move(previous)), folder_(std::move(folder)) {}
  ~RunFolder() {
    std::error_code ec;
    fs::current_path(previous_, ec);
    fs::remove_all(folder_, ec);
  }
  RunFolder(const RunFolder&) = delete;
  RunFolder& operator=(const RunFolder&) = delete;

 private:
  fs::path previous_;
  fs::path folder_;
};

// Runs of one data file take turns: two at once (two windows, a batch
// script) would write the same outputs. The lock is held on the report,
// which keeps its identity from run to run (it is emptied, never replaced),
// not on the data file, which every save replaces by a new file. It is held
// until the caller has read the outputs; closing the report releases it,
// also when the process dies.
class ReportLock {
 public:
  ReportLock() = default;
  ~ReportLock() {
#if !defined(_WIN32)
    if (fd_ >= 0) ::close(fd_);
#endif
  }
  ReportLock(const ReportLock&) = delete;
  ReportLock& operator=(const ReportLock&) = delete;

  // Opens the report (creating it) and takes the lock, telling the observer
  // first when another run holds it. An error when the report cannot be
  // opened or locked.
  std::error_code acquire(const fs::path& report, RunObserver* observer) {
#if !defined(_WIN32)
    fd_ = ::open(report.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd_ < 0) return {errno, std::generic_category()};
    if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) return {};
    if (errno != EWOULDBLOCK) return {errno, std::generic_category()};
    if (observer) observer->WaitingForAnotherRun();
    while (::flock(fd_, LOCK_EX) != 0)
      if (errno != EINTR) return {errno, std::generic_category()};
#else
    (void)report;
    (void)observer;
#endif
    return {};
  }

 private:
  int fd_ = -1;
};

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

fs::path ExecutableFolder() {
  std::error_code ec;
#if defined(_WIN32)
  std::wstring buffer(32768, L'\0');
  const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
  if (n > 0 && n < buffer.size()) return fs::path(buffer.substr(0, n)).parent_path();
#else
  const fs::path self = fs::read_symlink("/proc/self/exe", ec);
  if (!ec) return self.parent_path();
#endif
  return fs::current_path(ec);
}

fs::path DefaultEngineLibrary() { return ExecutableFolder() / kEngineLibraryName; }

EngineRunResult RunEngine(const fs::path& dataFile, const fs::path& library, RunObserver* observer) {
  EngineRunResult result;
  result.paths = DeriveRunPaths(dataFile);
  std::error_code ec;
  result.library = fs::absolute(library, ec);
  if (ec) result.library = library;
  const RunPaths& paths = result.paths;

  if (!fs::is_regular_file(paths.dataFile, ec)) {
    result.error = "cannot find the data file " + paths.dataFile.string();
    return result;
  }
  for (const fs::path* p : {&paths.dataFile, &paths.reportFile, &paths.plotFile, &paths.monitorFile}) {
    result.error = checkNamesLine(*p);
    if (!result.error.empty()) return result;
  }

  const fs::path previous = fs::current_path(ec);
  if (ec) {
    result.error = "cannot determine the current directory: " + ec.message();
    return result;
  }
  const fs::path folder = makePrivateTempFolder(ec);
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

  {
    std::ofstream names("names.dat", std::ios::binary);
    for (const fs::path* p : {&paths.dataFile, &paths.reportFile, &paths.plotFile, &paths.monitorFile})
      names << p->string() << '\n';
    names.close();
    if (!names) {
      result.error = "cannot write the names file in " + folder.string();
      return result;
    }
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

  // Earlier outputs are emptied, not removed: the engine writes the new ones
  // in place, so each file keeps its identity, mode, group and links, and a
  // run that writes nothing leaves nothing that could pass for its results.
  // Missing outputs are created here, so that every output is known to be
  // writable before the engine starts: one that cannot be written (read-only,
  // a folder of that name, a link into a missing folder) stops the run
  // without a word from the engine, and without the files made so far.
  std::vector<fs::path> created;
  const bool reportExisted = fs::exists(paths.reportFile, ec);
  auto lock = std::make_shared<ReportLock>();
  result.outputLock = lock;
  if (const std::error_code locked = lock->acquire(paths.reportFile, observer)) {
    result.error = "cannot write " + paths.reportFile.string() + ": " + locked.message();
    if (!reportExisted) fs::remove(paths.reportFile, ec);
    return result;
  }
  for (const fs::path* p : {&paths.reportFile, &paths.plotFile, &paths.monitorFile}) {
    const bool existed = p == &paths.reportFile ? reportExisted : fs::exists(*p, ec);
    errno = 0;
    std::ofstream open(*p, std::ios::binary | std::ios::app);
    if (open) {
      open.close();
      fs::resize_file(*p, 0, ec);
    } else {
      ec = std::error_code(errno ? errno : EACCES, std::generic_category());
    }
    if (ec) {
      result.error = "cannot write " + p->string() + ": " + ec.message();
      for (const fs::path& made : created) fs::remove(made, ec);
      return result;
    }
    if (!existed) created.push_back(*p);
  }
  if (observer) observer->OutputsBegun();
  entry(kEngineRunCode);
  result.engineCalled = true;
  engine.unload();
  return result;
}

}  // namespace terraq::ui
