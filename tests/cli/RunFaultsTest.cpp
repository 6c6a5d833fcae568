// The terraq program under injected faults: files it cannot read or write,
// a file-size limit, a full standard output and a run interrupted by a
// signal. Each must end with a message and the documented status, and leave
// nothing that could be taken for results.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <thread>

#include "CliTestFiles.h"
#include "CommandRunner.h"

using namespace terraq::test;

namespace {

size_t entries(const fs::path& folder) {
  return static_cast<size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

}  // namespace

TEST(RunFaults, UnreadableDataFileExitsWithTwo) {
  ScratchFolder work;
  const fs::path data = work.copy("cli-cantilever.tq4d", "wall.tq4d");
  fs::permissions(data, fs::perms::none);
  if (access(data.c_str(), R_OK) == 0) GTEST_SKIP() << "the superuser may read any file";
  const Outcome o = runTerraq("run wall.tq4d", work.path());
  EXPECT_EQ(o.status, 2);
  EXPECT_TRUE(contains(o.err, "cannot read the data file wall.tq4d: Permission denied")) << o.err;
  EXPECT_EQ(entries(work.path()), 1u);
}

// A data file over the 16 MB limit (sparse: no byte is written) is refused
// by run and convert alike, before it is read.
TEST(RunFaults, DataFileOverTheSizeLimitIsRefused) {
  ScratchFolder work;
  std::ofstream(work.path() / "huge.tq4d").close();
  fs::resize_file(work.path() / "huge.tq4d", 20u * 1024 * 1024);
  for (const char* args : {"run huge.tq4d", "convert huge.tq4d out.tq4d"}) {
    const Outcome o = runTerraq(args, work.path());
    EXPECT_EQ(o.status, 2) << args;
    EXPECT_TRUE(contains(o.err, "huge.tq4d is 20.0 MB; a data file may hold at most 16 MB")) << args << o.err;
  }
  EXPECT_EQ(entries(work.path()), 1u);
}

// A plot file linked into a folder that does not exist: nothing is run and
// no empty report is left behind.
TEST(RunFaults, OutputThatCannotBeCreatedStopsTheRunBeforeTheEngine) {
  ScratchFolder work;
  work.copy("cli-cantilever.tq4d", "wall.tq4d");
  fs::create_symlink(work.path() / "missing" / "wall.tq4p", work.path() / "wall.tq4p");
  const Outcome o = runTerraq("run wall.tq4d", work.path());
  EXPECT_EQ(o.status, 2);
  EXPECT_TRUE(contains(o.err, "cannot write " + (work.path() / "wall.tq4p").string() + ": No such file or directory"))
      << o.err;
  EXPECT_EQ(o.out, "");
  EXPECT_FALSE(fs::exists(work.path() / "wall.tq4o"));
  EXPECT_FALSE(fs::exists(work.path() / "wall.tq4r"));
}

// Under a 1 KiB file-size limit neither the report nor a data file with a
// 1500-character title can be written whole.
TEST(RunFaults, FileSizeLimitIsReportedAndLeavesNothing) {
  ScratchFolder work, data, tmp;
  data.copy("cli-cantilever.tq4d", "wall.tq4d");
  const std::string limit = "ulimit -f 2; TMPDIR=" + quoted(tmp.path().string());
  const Outcome run = runTerraq("run " + quoted((data.path() / "wall.tq4d").string()), work.path(), limit);
  EXPECT_EQ(run.status, 2);
  EXPECT_TRUE(contains(run.err, "File too large")) << run.err;
  EXPECT_EQ(entries(data.path()), 1u);
  EXPECT_TRUE(fs::is_empty(tmp.path()));

  const std::string text = ReadFile(TestData("cli-cantilever.tq4d"));
  std::ofstream(work.path() / "long.tq4d", std::ios::binary)
      << std::string(1500, 'x') << text.substr(text.find('\n'));
  const Outcome convert = runTerraq("convert long.tq4d out.tq4d", work.path(), limit);
  EXPECT_EQ(convert.status, 2);
  EXPECT_TRUE(contains(convert.err, "File too large")) << convert.err;
  EXPECT_EQ(entries(work.path()), 1u);
}

TEST(RunFaults, FullStandardOutputExitsWithTwo) {
  ScratchFolder work;
  work.copy("cli-cantilever.tq4d", "wall.tq4d");
  for (const char* args : {"run wall.tq4d", "run --json wall.tq4d", "--help", "--version"}) {
    const Outcome o = runTerraq(std::string(args) + " >/dev/full", work.path());
    EXPECT_EQ(o.status, 2) << args;
    EXPECT_TRUE(contains(o.err, "cannot write to standard output: No space left on device")) << args << o.err;
  }
}

// SIGINT, SIGTERM or SIGHUP while the engine writes: the private run folder
// and the outputs the run had begun are removed, and the status is the
// shell's 128 + signal.
TEST(RunFaults, InterruptedRunLeavesNothingBehind) {
  ScratchFolder data, tmp;
  // Enough problems to keep the engine busy for seconds.
  const std::string text = ReadFile(TestData("cli-cantilever.tq4d"));
  const std::string problem = text.substr(0, text.rfind("0\n"));
  {
    std::ofstream many(data.path() / "many.tq4d", std::ios::binary);
    for (int k = 0; k < 20000; ++k) many << problem << "9\n";
    many << problem << "0\n";
  }
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      setenv("TMPDIR", tmp.path().c_str(), 1);
      if (!freopen("/dev/null", "w", stdout) || !freopen("/dev/null", "w", stderr)) _exit(99);
      const std::string program = (BinDir() / "terraq").string();
      const std::string file = (data.path() / "many.tq4d").string();
      execl(program.c_str(), program.c_str(), "run", file.c_str(), static_cast<char*>(nullptr));
      _exit(98);
    }
    // Wait for the engine to be writing the report.
    std::error_code ec;
    const fs::path report = data.path() / "many.tq4o";
    for (int k = 0; k < 2000 && !(fs::file_size(report, ec) > 0 && !ec); ++k)
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    kill(child, signal);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << signal;
    EXPECT_EQ(WEXITSTATUS(status), 128 + signal);
    EXPECT_EQ(entries(data.path()), 1u) << signal;
    EXPECT_TRUE(fs::is_empty(tmp.path())) << signal;
  }
}

// Two runs of one data file at once (two windows, a batch script) take
// turns: a run waits, saying so, while another holds the outputs, and then
// completes with whole outputs.
TEST(RunFaults, RunsOfOneDataFileTakeTurns) {
  ScratchFolder data, work;
  data.copy("cli-cantilever.tq4d", "wall.tq4d");
  const fs::path report = data.path() / "wall.tq4o";
  // Another run's hold (not passed on to the programs the test starts).
  const int held = open(report.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  ASSERT_GE(held, 0);
  ASSERT_EQ(flock(held, LOCK_EX), 0);
  std::atomic<bool> done = false;
  Outcome waiting;
  std::thread run([&] {
    waiting = runTerraq("run " + quoted((data.path() / "wall.tq4d").string()), work.path());
    done = true;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(400));
  EXPECT_FALSE(done);
  close(held);
  run.join();
  EXPECT_EQ(waiting.status, 0) << waiting.err;
  EXPECT_TRUE(contains(waiting.err, "waiting for another run of")) << waiting.err;
  EXPECT_NE(ReadFile(report).find("END OF ANALYSIS"), std::string::npos);

  // And two real runs at once both succeed.
  Outcome first, second;
  const std::string args = "run " + quoted((data.path() / "wall.tq4d").string());
  std::thread other([&] { first = runTerraq(args, work.path()); });
  second = runTerraq(args, work.path());
  other.join();
  EXPECT_EQ(first.status, 0) << first.err;
  EXPECT_EQ(second.status, 0) << second.err;
}
