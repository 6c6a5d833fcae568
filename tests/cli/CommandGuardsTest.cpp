// The commands' guards, run as users run them: no output replaces an input of
// the project under any name, no input that is a pipe or a folder is waited
// on or passed over, a set of outputs that a killed run left mixed is put
// back by whoever reads it, and a failure ends the command with its reason
// on standard error and a status that says so (not an abort).

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <fstream>

#include "CliTestFiles.h"
#include "CommandRunner.h"

using namespace terraq::test;

namespace {

constexpr const char* kProjectFile = "{\"format\": \"terraq-project\", \"version\": 1}\n";

void WriteFile(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

ino_t InodeOf(const fs::path& file) {
  struct stat st {};
  return ::stat(file.c_str(), &st) == 0 ? st.st_ino : 0;
}

}  // namespace

// Each output the user names (a study's CSV and part file, a package, a
// picture) and each output of a run is refused when it is an input of the
// project (data file, project file, stage file, the user's sections) by its
// own name, a symbolic link or a hard link, or is named as another project's
// input; the input is left as it was.
TEST(CommandGuards, NoOutputReplacesAnInputOfTheProject) {
  ScratchFolder work;
  work.copy("cli-cantilever.tq4d", "wall.tq4d");
  WriteFile(work.path() / "wall.terraq.json", kProjectFile);
  const fs::path config = work.path() / "config";
  fs::create_directories(config / "terraq");
  WriteFile(config / "terraq" / "sections.txt", "# mine\n");
  const std::string data = ReadFile(work.path() / "wall.tq4d");
  fs::create_symlink("wall.terraq.json", work.path() / "project-link.csv");
  fs::create_hard_link(work.path() / "wall.terraq.json", work.path() / "project-hard.html");
  fs::create_hard_link(work.path() / "wall.terraq.json", work.path() / "project-hard.png");
  fs::create_symlink(config / "terraq" / "sections.txt", work.path() / "sections-link.pdf");
  const std::string sweep = "study wall.tq4d --vary tip=300,320 ";
  const struct {
    std::string args;
    const char* says;
  } cases[] = {
      {sweep + "--csv wall.tq4d", "it is the same file as wall.tq4d (the data file)"},
      {sweep + "--csv project-link.csv", "(the project file)"},
      {sweep + "--csv other.tq4d", "it is named as a data file of a project"},
      {sweep + "--csv s.png --plot s.png", "it is the same file as s.png (the CSV file)"},
      {"study wall.tq4d --random 'tip=normal(320,5)' --samples 4 --shard 1/2 --out "
       "other.terraq.json",
       "it is named as a project file"},
      {"report --out project-hard.html wall.tq4d", "(the project file)"},
      {"report --out sections-link.pdf wall.tq4d", "(the user's section library)"},
      {"plot --graph moment --out project-hard.png wall.tq4d", "(the project file)"},
  };
  const std::string env = "XDG_CONFIG_HOME=" + quoted(config.string());
  for (const auto& c : cases) {
    const Outcome o = runTerraq(c.args, work.path(), env);
    EXPECT_EQ(o.status, 2) << c.args << "\n" << o.err;
    EXPECT_TRUE(contains(o.err, c.says)) << c.args << "\n" << o.err;
  }
  // A run whose report is linked to the project file.
  fs::create_symlink("wall.terraq.json", work.path() / "wall.tq4o");
  const Outcome run = runTerraq("run wall.tq4d", work.path(), env);
  EXPECT_EQ(run.status, 2);
  EXPECT_TRUE(contains(run.err, "(the project file)")) << run.err;

  EXPECT_EQ(ReadFile(work.path() / "wall.tq4d"), data);
  EXPECT_EQ(ReadFile(work.path() / "wall.terraq.json"), kProjectFile);
  EXPECT_EQ(ReadFile(config / "terraq" / "sections.txt"), "# mine\n");
  EXPECT_FALSE(fs::exists(work.path() / "other.tq4d"));
  EXPECT_FALSE(fs::exists(work.path() / "s.png"));
}

// A pipe as the user's sections file or as a part to merge is refused at
// once (it would be waited on for ever); a folder there is an error, not an
// empty library.
TEST(CommandGuards, PipesAndFoldersAsInputsAreRefusedNotWaitedOn) {
  ScratchFolder work;
  const fs::path config = work.path() / "config";
  fs::create_directories(config / "terraq");
  const fs::path sections = config / "terraq" / "sections.txt";
  const std::string env = "XDG_CONFIG_HOME=" + quoted(config.string()) + " timeout 60";
  ASSERT_EQ(::mkfifo(sections.c_str(), 0600), 0);
  Outcome o = runTerraq("sections", work.path(), env);
  EXPECT_EQ(o.status, 2);
  EXPECT_TRUE(contains(o.err, sections.string() + ": it is not a regular file")) << o.err;
  fs::remove(sections);
  fs::create_directory(sections);
  o = runTerraq("sections", work.path(), env);
  EXPECT_EQ(o.status, 2);
  EXPECT_TRUE(contains(o.err, sections.string() + ": it is a folder")) << o.err;

  ASSERT_EQ(::mkfifo((work.path() / "part.json").c_str(), 0600), 0);
  o = runTerraq("study merge part.json", work.path(), env);
  EXPECT_EQ(o.status, 2);
  EXPECT_TRUE(contains(o.err, "part.json: it is not a regular file")) << o.err;
}

// A run killed between the renames of its outputs leaves a new report beside
// the old plot file; `plot`, `report` (whose outputs then look fresh) and the
// next run alike put the earlier set back before they read it.
TEST(CommandGuards, ReadersPutBackTheOutputsAKilledRunLeftMixed) {
  ScratchFolder work, tmp;
  work.copy("cli-cantilever.tq4d", "wall.tq4d");
  ASSERT_EQ(runTerraq("run wall.tq4d", work.path()).status, 0);
  const ino_t earlier = InodeOf(work.path() / "wall.tq4o");
  const std::string kill =
      "TMPDIR=" + quoted(tmp.path().string()) + " TERRAQ_TEST_KILL_AT=between-renames";
  for (const std::string reader :
       {"plot --graph moment --out m.png wall.tq4d", "report --out calc.html wall.tq4d"}) {
    const Outcome killed = runTerraq("run wall.tq4d", work.path(), kill);
    ASSERT_TRUE(killed.status == -1 || killed.status == 128 + SIGKILL) << killed.status;
    ASSERT_NE(InodeOf(work.path() / "wall.tq4o"), earlier);
    const Outcome o = runTerraq(reader, work.path());
    EXPECT_EQ(o.status, 0) << reader << "\n" << o.err;
    EXPECT_EQ(InodeOf(work.path() / "wall.tq4o"), earlier) << reader;
    EXPECT_FALSE(fs::exists(work.path() / ".wall.tq4o.set")) << reader;
  }
}

// Failures that used to end in success or in an abort: a package whose
// outputs beside the data file could not be refreshed; a design that could
// not be done (its reason only on standard output); a painting platform
// that cannot be loaded; no thread to spare for a study or a batch.
TEST(CommandGuards, FailuresEndWithTheirReasonAndStatus) {
  ScratchFolder work;
  work.copy("cli-cantilever.tq4d", "wall.tq4d");
  fs::create_directory(work.path() / "wall.tq4p");  // the run cannot write it
  Outcome o = runTerraq("report --out calc.html wall.tq4d", work.path());
  EXPECT_EQ(o.status, 2);
  EXPECT_TRUE(contains(o.err, "were not brought up to date: cannot write")) << o.err;
  EXPECT_TRUE(fs::exists(work.path() / "calc.html"));
  fs::remove(work.path() / "wall.tq4p");

  o = runTerraq("report --out calc.pdf wall.tq4d", work.path(), "QT_QPA_PLATFORM=nonexistent");
  EXPECT_EQ(o.status, 2) << o.err;
  EXPECT_TRUE(contains(o.err, "QT_QPA_PLATFORM")) << o.err;
  EXPECT_FALSE(fs::exists(work.path() / "calc.pdf"));

  ScratchFolder other;
  fs::copy_file(fs::path(TERRAQ_SOURCE_DIR) / "examples" / "cantilever-point-load.tq4d",
                other.path() / "wall.tq4d");  // no soil layers
  o = runTerraq("design wall.tq4d", other.path());
  EXPECT_EQ(o.status, 1);
  EXPECT_TRUE(contains(o.err, "could not be designed: The problem has no soil layers")) << o.err;

  // One process, no thread: the limit on this user's processes (root is not
  // bound by it, so the user nobody stands in).
  if (std::system("command -v prlimit >/dev/null 2>&1") != 0 ||
      (::geteuid() == 0 && std::system("command -v runuser >/dev/null 2>&1") != 0))
    GTEST_SKIP() << "needs prlimit, and runuser as root, to run bound by a process limit";
  ScratchFolder threads;
  fs::permissions(threads.path(), fs::perms::all);
  threads.copy("cli-cantilever.tq4d", "one.tq4d");
  threads.copy("cli-cantilever.tq4d", "two.tq4d");
  // (A leak checker, in the sanitizer build, needs a thread of its own at
  // exit, which the limit denies: it is off for these runs.)
  const std::string oneProcess = std::string(::geteuid() == 0 ? "runuser -u nobody -- " : "") +
                                 "prlimit --nproc=1:1 env ASAN_OPTIONS=detect_leaks=0";
  for (const char* args :
       {"study one.tq4d --vary tip=300,320 --jobs 2", "run --jobs 2 one.tq4d two.tq4d"}) {
    o = runTerraq(args, threads.path(), oneProcess);
    EXPECT_EQ(o.status, 0) << args << "\n" << o.err;
  }
}
