// The terraq program under injected faults: files it cannot read or write,
// a file-size limit, a full disk, a full standard output and a run
// interrupted by a signal. Each must end with a message and the documented
// status, leave the outputs of the run before as they were, and leave
// nothing that could be taken for results.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
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

// Outputs of an earlier run, each with its own text.
void writeOldOutputs(const fs::path& folder, const std::string& stem) {
  for (const char* ext : {".tq4o", ".tq4p", ".tq4r"})
    std::ofstream(folder / (stem + ext), std::ios::binary) << "old " << ext << "\n";
}

void expectOldOutputs(const fs::path& folder, const std::string& stem, const std::string& context) {
  for (const char* ext : {".tq4o", ".tq4p", ".tq4r"})
    EXPECT_EQ(ReadFile(folder / (stem + ext)), std::string("old ") + ext + "\n") << ext << " " << context;
}

// The arguments of unshare that give a shell script a mount namespace of
// its own, where it may mount a small file system; empty when this machine
// allows none (no user namespaces for an ordinary user).
std::string privateMountArguments() {
  const std::string arguments = geteuid() == 0 ? "-m" : "-r -m";
  const std::string probe = "unshare " + arguments + " sh -c 'mount -t tmpfs -o size=4k tmpfs /mnt' >/dev/null 2>&1";
  return std::system(probe.c_str()) == 0 ? arguments : "";
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
  EXPECT_TRUE(contains(o.err, "cannot write " + (work.path() / "wall.tq4p").string() + ": ")) << o.err;
  EXPECT_TRUE(contains(o.err, ": No such file or directory\n")) << o.err;
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

// A disk that fills while the engine writes: a 64 KiB file system, filled up
// after the data file and the outputs of an earlier run went in. The run
// says which output it could not write and why, and the earlier outputs are
// still there, byte for byte.
TEST(RunFaults, FullDiskKeepsTheEarlierOutputs) {
  const std::string unshare = privateMountArguments();
  if (unshare.empty()) GTEST_SKIP() << "no private mount namespace on this machine (unshare -m refused)";
  ScratchFolder work;
  const fs::path seed = work.path() / "seed", disk = work.path() / "disk", after = work.path() / "after";
  fs::create_directories(seed);
  fs::create_directories(disk);
  fs::copy_file(TestData("cli-cantilever.tq4d"), seed / "wall.tq4d");
  writeOldOutputs(seed, "wall");
  for (const char* args : {"run", "run --json"}) {
    fs::remove_all(after);
    // What happens on the small disk is copied out before the namespace,
    // and the disk with it, goes.
    std::ofstream(work.path() / "full.sh")
        << "mount -t tmpfs -o size=64k tmpfs disk || exit 90\n"
        << "cp seed/* disk/ && (cat /dev/zero >disk/filler 2>/dev/null; true)\n"
        << quoted((BinDir() / "terraq").string()) << " " << args << " " << quoted((disk / "wall.tq4d").string())
        << " >out.txt 2>err.txt\nstatus=$?\nrm disk/filler\ncp -a disk after\nexit $status\n";
    const Outcome o = runProgram("unshare", unshare + " sh full.sh", work.path());
    const std::string message = ReadFile(work.path() / "err.txt");
    ASSERT_NE(o.status, 90) << "the small file system could not be mounted";
    EXPECT_EQ(o.status, 2) << args << message;
    EXPECT_EQ(ReadFile(work.path() / "out.txt"), "") << args;
    EXPECT_TRUE(contains(message, "cannot write " + (disk / "wall.tq4").string())) << args << message;
    EXPECT_TRUE(contains(message, ": No space left on device\n")) << args << message;
    EXPECT_FALSE(contains(message, "ERROR STOP")) << args << message;
    expectOldOutputs(after, "wall", args);
    EXPECT_EQ(entries(after), 4u) << args << ": a temporary file was left";
  }
}

// An output the user pointed at a device that takes nothing (/dev/full):
// the run fails naming it, and the other outputs of the earlier run stay.
TEST(RunFaults, OutputThatCannotBeWrittenKeepsTheEarlierOutputs) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full on this machine";
  ScratchFolder work;
  work.copy("cli-cantilever.tq4d", "wall.tq4d");
  writeOldOutputs(work.path(), "wall");
  fs::remove(work.path() / "wall.tq4p");
  fs::create_symlink("/dev/full", work.path() / "wall.tq4p");
  const Outcome o = runTerraq("run wall.tq4d", work.path());
  EXPECT_EQ(o.status, 2);
  EXPECT_TRUE(contains(o.err, "cannot write " + (work.path() / "wall.tq4p").string() +
                                  ": No space left on device\n"))
      << o.err;
  EXPECT_EQ(ReadFile(work.path() / "wall.tq4o"), "old .tq4o\n");
  EXPECT_EQ(ReadFile(work.path() / "wall.tq4r"), "old .tq4r\n");
  EXPECT_EQ(entries(work.path()), 4u);
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

// SIGINT, SIGTERM or SIGHUP while the run is under way: the outputs it had
// begun are removed, nothing goes to the temporary folder, the outputs of the run
// before stay, and the status is the shell's 128 + signal.
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
  writeOldOutputs(data.path(), "many");
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
    // Wait for the run to have begun its new report (a hidden file, written
    // once the analysis is done).
    const auto writing = [&] {
      std::error_code ec;
      for (const auto& entry : fs::directory_iterator(data.path(), ec))
        if (entry.path().filename().string().rfind(".many.tq4o.tmp", 0) == 0) return true;
      return false;
    };
    for (int k = 0; k < 2000 && !writing(); ++k) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    kill(child, signal);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << signal;
    EXPECT_EQ(WEXITSTATUS(status), 128 + signal);
    EXPECT_EQ(entries(data.path()), 4u) << signal;
    expectOldOutputs(data.path(), "many", std::to_string(signal));
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

namespace {

// The command as another user would run it: as root, the user nobody (via
// runuser); otherwise this user. Empty when root has no runuser.
std::string asAnotherUser() {
  if (geteuid() != 0) return " ";
  return std::system("command -v runuser >/dev/null 2>&1") == 0 ? "runuser -u nobody --" : "";
}

bool killedOrSignalled(int status) { return status == -1 || status == 128 + SIGKILL; }

}  // namespace

// An output that is the data file, or another output, under a second name
// (a symbolic or a hard link) is refused before anything is written: the
// message names both files, and the data file stays as it was. Conversions
// and pictures likewise never replace the file they are made from.
TEST(RunFaults, OutputThatIsTheDataFileByAnotherNameIsRefused) {
  const std::string original = ReadFile(TestData("cli-cantilever.tq4d"));
  struct Variant {
    const char* output;
    bool hard;
    const char* to;
  };
  for (const Variant v :
       {Variant{"wall.tq4o", false, "wall.tq4d"}, Variant{"wall.tq4o", true, "wall.tq4d"},
        Variant{"wall.tq4p", false, "wall.tq4d"}, Variant{"wall.tq4r", true, "wall.tq4d"},
        Variant{"wall.tq4r", true, "wall.tq4o"}}) {
    ScratchFolder work;
    const fs::path data = work.copy("cli-cantilever.tq4d", "wall.tq4d");
    if (std::string(v.output) != "wall.tq4o")
      std::ofstream(work.path() / "wall.tq4o") << "old report\n";
    if (v.hard) fs::create_hard_link(work.path() / v.to, work.path() / v.output);
    else fs::create_symlink(v.to, work.path() / v.output);
    const Outcome o = runTerraq("run wall.tq4d", work.path());
    const std::string context = std::string(v.output) + (v.hard ? " = " : " -> ") + v.to;
    EXPECT_EQ(o.status, 2) << context;
    EXPECT_TRUE(contains(o.err, "cannot write " + (work.path() / v.output).string() +
                                    ": it is the same file as " + (work.path() / v.to).string()))
        << context << o.err;
    EXPECT_EQ(ReadFile(data), original) << context;
  }
  ScratchFolder work;
  const fs::path data = work.copy("cli-cantilever.tq4d", "wall.tq4d");
  fs::create_symlink("wall.tq4d", work.path() / "out.tq4d");
  fs::create_hard_link(data, work.path() / "picture.svg");
  for (const char* args :
       {"convert wall.tq4d out.tq4d", "plot --graph moment --out picture.svg wall.tq4d"}) {
    const Outcome o = runTerraq(args, work.path());
    EXPECT_EQ(o.status, 2) << args;
    EXPECT_TRUE(contains(o.err, "it is the same file as wall.tq4d")) << args << o.err;
    EXPECT_EQ(ReadFile(data), original) << args;
  }
}

// A data file the disk cannot read (/proc/self/mem answers every read at
// its start with an input/output error) is reported as such, not as a data
// file that ends too early, and the earlier outputs stay. A pipe or a
// device is refused as not a regular file rather than read (or waited on).
TEST(RunFaults, DataFileThatCannotBeReadKeepsTheEarlierOutputs) {
  ScratchFolder work;
  fs::create_symlink("/proc/self/mem", work.path() / "wall.tq4d");
  writeOldOutputs(work.path(), "wall");
  const Outcome o = runTerraq("run wall.tq4d", work.path());
  EXPECT_EQ(o.status, 2);
  EXPECT_TRUE(contains(o.err, "terraq: cannot read " + (work.path() / "wall.tq4d").string() +
                                  ": Input/output error\n"))
      << o.err;
  EXPECT_FALSE(contains(o.err, "ENDS TOO EARLY")) << o.err;
  expectOldOutputs(work.path(), "wall", "after a read error");
  EXPECT_EQ(entries(work.path()), 4u);

  ASSERT_EQ(mkfifo((work.path() / "pipe.tq4d").c_str(), 0600), 0);
  for (const char* args : {"run pipe.tq4d", "convert pipe.tq4d out.tq4d"}) {
    const Outcome refused = runTerraq(args, work.path());
    EXPECT_EQ(refused.status, 2) << args;
    EXPECT_EQ(refused.err,
              "terraq: cannot read the data file pipe.tq4d: it is not a regular file\n")
        << args;
  }
}

// A finished run whose report cannot be read back (a report the user made
// write-only) says so, not that the analysis did not finish.
TEST(RunFaults, ReportThatCannotBeReadAfterTheRunIsToldAsSuch) {
  const std::string user = asAnotherUser();
  if (user.empty()) GTEST_SKIP() << "root needs runuser to run as a user whom permissions bind";
  ScratchFolder work;
  work.copy("cli-cantilever.tq4d", "wall.tq4d");
  std::ofstream(work.path() / "wall.tq4o") << "old\n";
  fs::permissions(work.path() / "wall.tq4o", fs::perms::owner_write);
  if (geteuid() == 0) {
    ASSERT_EQ(std::system(
                  ("chown -R nobody:\"$(id -gn nobody)\" " + quoted(work.path().string())).c_str()),
              0);
  }
  const Outcome o = runTerraq("run wall.tq4d", work.path(), user);
  EXPECT_EQ(o.status, 2);
  EXPECT_TRUE(contains(o.err, "the analysis finished, but its report " +
                                  (work.path() / "wall.tq4o").string() +
                                  " cannot be read: Permission denied"))
      << o.err;
  EXPECT_FALSE(contains(o.err, "did not finish")) << o.err;
}

// In a shared sticky folder, a report link planted by another user is not
// followed: root's file elsewhere keeps its text.
TEST(RunFaults, LinkPlantedByAnotherUserIsNotFollowed) {
  if (geteuid() != 0 || std::system("command -v runuser >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "needs a second user: run as root, with runuser";
  ScratchFolder work;
  fs::permissions(work.path(),
                  fs::perms::all & ~(fs::perms::group_write | fs::perms::others_write));
  const fs::path shared = work.path() / "shared";
  fs::create_directory(shared);
  fs::permissions(shared, fs::perms::all | fs::perms::sticky_bit);
  fs::copy_file(TestData("cli-cantilever.tq4d"), shared / "wall.tq4d");
  std::ofstream(work.path() / "secret") << "root's own\n";
  fs::permissions(work.path() / "secret", fs::perms::owner_read | fs::perms::owner_write);
  ASSERT_EQ(std::system(("runuser -u nobody -- ln -s " + quoted((work.path() / "secret").string()) +
                         " " + quoted((shared / "wall.tq4o").string()))
                            .c_str()),
            0);
  const Outcome o = runTerraq("run wall.tq4d", shared);
  EXPECT_EQ(o.status, 2);
  EXPECT_TRUE(contains(o.err, "belongs to another user of the shared folder")) << o.err;
  EXPECT_EQ(ReadFile(work.path() / "secret"), "root's own\n");
  EXPECT_FALSE(fs::exists(shared / "wall.tq4p"));
}

// A run that fails between the renames of its outputs puts the earlier set
// back at once. One killed there leaves a new report beside the old plot
// file, with the journal that says so; the next run restores the set and
// completes. A run killed while it rewrote a report of
// two names in place leaves it torn for no longer than the next run.
TEST(RunFaults, KilledReplacementOfTheOutputsIsRecoveredByTheNextRun) {
  ScratchFolder work, tmp;
  work.copy("cli-cantilever.tq4d", "wall.tq4d");
  writeOldOutputs(work.path(), "wall");
  const std::string tmpdir = "TMPDIR=" + quoted(tmp.path().string());
  const Outcome failed =
      runTerraq("run wall.tq4d", work.path(), tmpdir + " TERRAQ_TEST_FAIL_AT=between-renames");
  EXPECT_EQ(failed.status, 2);
  EXPECT_TRUE(contains(
      failed.err, "cannot write " + (work.path() / "wall.tq4p").string() + ": Input/output error"))
      << failed.err;
  expectOldOutputs(work.path(), "wall", "after a failed replacement");
  EXPECT_EQ(entries(work.path()), 4u);
  const Outcome killed =
      runTerraq("run wall.tq4d", work.path(), tmpdir + " TERRAQ_TEST_KILL_AT=between-renames");
  ASSERT_TRUE(killedOrSignalled(killed.status)) << killed.status << killed.err;
  EXPECT_TRUE(contains(ReadFile(work.path() / "wall.tq4o"), "END OF ANALYSIS"));
  EXPECT_EQ(ReadFile(work.path() / "wall.tq4p"), "old .tq4p\n");
  EXPECT_TRUE(fs::exists(work.path() / ".wall.tq4o.set"));
  Outcome again = runTerraq("run wall.tq4d", work.path());
  EXPECT_EQ(again.status, 0) << again.err;
  EXPECT_NE(ReadFile(work.path() / "wall.tq4p"), "old .tq4p\n");
  EXPECT_EQ(entries(work.path()), 4u);

  fs::create_hard_link(work.path() / "wall.tq4o", work.path() / "kept.tq4o");
  std::ofstream(work.path() / "wall.tq4o", std::ios::app)
      << std::string(5000, '#');  // the tail a tear keeps
  const Outcome torn =
      runTerraq("run wall.tq4d", work.path(), tmpdir + " TERRAQ_TEST_KILL_AT=in-place-rewrite");
  ASSERT_TRUE(killedOrSignalled(torn.status)) << torn.status << torn.err;
  again = runTerraq("run wall.tq4d", work.path());
  EXPECT_EQ(again.status, 0) << again.err;
  const std::string report = ReadFile(work.path() / "kept.tq4o");
  EXPECT_EQ(report.find('#'), std::string::npos);
  EXPECT_TRUE(contains(report, "END OF ANALYSIS"));
  EXPECT_EQ(report, ReadFile(work.path() / "wall.tq4o"));
  EXPECT_EQ(entries(work.path()), 5u);
}
