// terraq study, run as users run it: a sweep and a sampling study (text,
// JSON, CSV), the list of parameters, the refusals of bad input, four
// shards merged into exactly what one run prints (and parts of an edited
// data file refused; the documented GNU parallel commands), a study stopped by
// Ctrl-C reporting what it did, and a CSV that cannot be written leaving
// the earlier one.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <fstream>
#include <regex>
#include <thread>

#include "CliTestFiles.h"
#include "CommandRunner.h"

using namespace terraq::test;

namespace {

fs::path Wall(const ScratchFolder& work) {
  const fs::path data = work.path() / "wall.tq4d";
  fs::copy_file(fs::path(TERRAQ_SOURCE_DIR) / "examples" / "cantilever-sand-generated.tq4d", data);
  return data;
}

size_t Lines(const std::string& text) { return std::count(text.begin(), text.end(), '\n'); }

// The phi of the sample's sand layer, varied and drawn in these tests.
const std::string kRandom =
    "--random 'layer.1.phi=normal(32,2)' --random 'layer.1.gamma=normal(0.069,cov=0.05)'";

TEST(StudyCommand, SweepAndListAsTextJsonAndCsv) {
  ScratchFolder work;
  Wall(work);
  const Outcome list = runTerraq("study wall.tq4d --list", work.path());
  ASSERT_EQ(list.status, 0) << list.err;
  EXPECT_TRUE(std::regex_search(list.out, std::regex("\n  tip +[0-9.]+ +in\n"))) << list.out;
  EXPECT_TRUE(std::regex_search(list.out, std::regex("\n  layer.1.phi +[0-9.]+ +deg\n")))
      << list.out;

  const Outcome json =
      runTerraq("study wall.tq4d --vary tip=300:360:3 --vary layer.1.phi=30,34 --json --csv s.csv",
                work.path());
  ASSERT_EQ(json.status, 0) << json.err;
  // Six points, the first parameter varying slowest, in the file's units.
  EXPECT_TRUE(contains(json.out, "\"pointsDone\": 6, \"interrupted\": false")) << json.out;
  EXPECT_TRUE(contains(json.out, "{\"values\": [300, 30]")) << json.out;
  EXPECT_TRUE(contains(json.out, "{\"values\": [360, 34]")) << json.out;
  EXPECT_TRUE(contains(json.out, "\"units\": {\"code\": 1, \"length\": \"in\"")) << json.out;
  const std::string csv = ReadFile(work.path() / "s.csv");
  EXPECT_EQ(Lines(csv), 7u) << csv;
  EXPECT_EQ(csv.rfind("tip,layer.1.phi,top,deflection,deflection.depth,moment,", 0), 0u) << csv;

  // A stronger sand deflects the wall less: the text table has it.
  const Outcome text = runTerraq("study wall.tq4d --vary layer.1.phi=28,38", work.path());
  ASSERT_EQ(text.status, 0) << text.err;
  std::smatch a, b;
  ASSERT_TRUE(std::regex_search(text.out, a, std::regex("\n28 +(-?[0-9.e+-]+) "))) << text.out;
  ASSERT_TRUE(std::regex_search(text.out, b, std::regex("\n38 +(-?[0-9.e+-]+) "))) << text.out;
  EXPECT_GT(std::fabs(std::stod(a[1])), std::fabs(std::stod(b[1])));

  // Drawn by the plotting helper: a curve per value of the second parameter.
  const Outcome plot = runTerraq(
      "study wall.tq4d --vary tip=300:360:3 --vary layer.1.phi=30,34 --plot-output moment --plot s.svg",
      work.path());
  ASSERT_EQ(plot.status, 0) << plot.err;
  const std::string svg = ReadFile(work.path() / "s.svg");
  EXPECT_TRUE(contains(svg, "<title>moment vs tip</title>")) << svg.substr(0, 400);
  EXPECT_TRUE(contains(svg, "layer.1.phi = 34"));
  const Outcome none = runTerraq(
      "study wall.tq4d --vary tip=300,360 --plot-output rotation --plot s.png", work.path());
  EXPECT_EQ(none.status, 1);
  EXPECT_TRUE(contains(none.err, "the study has no rotation to draw")) << none.err;
}

TEST(StudyCommand, SamplingIsTheSameOnAnyThreadCount) {
  ScratchFolder work;
  Wall(work);
  const std::string study = "study wall.tq4d " + kRandom +
                            " --samples 64 --seed 7 --limit 'top>0.5' --limit not-held --json";
  const Outcome one = runTerraq(study + " --jobs 1", work.path());
  const Outcome two = runTerraq(study + " --jobs 2 --csv samples.csv", work.path());
  ASSERT_EQ(one.status, 0) << one.err;
  EXPECT_EQ(one.out, two.out);
  EXPECT_TRUE(contains(one.out, "\"samplesDone\": 64")) << one.out;
  EXPECT_TRUE(contains(one.out, "{\"name\": \"top>0.5\", \"failures\": ")) << one.out;
  EXPECT_TRUE(contains(one.out, "\"rankCorrelation\": {\"layer.1.phi\": ")) << one.out;
  EXPECT_EQ(Lines(ReadFile(work.path() / "samples.csv")), 65u);
  // Two limit states: the system's too, and whether each sample fails each.
  EXPECT_TRUE(contains(one.out, "\"system\": {\"name\": \"system\", \"failures\": ")) << one.out;
  EXPECT_TRUE(contains(ReadFile(work.path() / "samples.csv"),
                       "held,error,fails:top>0.5,fails:not-held,fails:system\n"));

  const Outcome text =
      runTerraq("study wall.tq4d " + kRandom + " --samples 64 --method lhs", work.path());
  ASSERT_EQ(text.status, 0) << text.err;
  EXPECT_TRUE(contains(text.out, "Latin hypercube, 64 samples, seed 1")) << text.out;
  EXPECT_TRUE(contains(text.out, "rank correlation  layer.1.phi  layer.1.gamma")) << text.out;
}

TEST(StudyCommand, BadInputIsRefusedWithWhatIsValid) {
  ScratchFolder work;
  Wall(work);
  const struct {
    std::string args, message;
  } cases[] = {
      {"--vary tip=1:2:1", "is not a range FROM:TO:COUNT (COUNT a whole number from 2)"},
      {"--vary tip=300:400:1001 --vary ei=1:2:1000", "points is too large: at most 1000000"},
      {"--vary length=1:2:3", "the data file has no parameter \"length\"; it has tip, "},
      {"--random 'layer.1.phi=normal(32)'", "is not one of normal(MEAN,SD)"},
      {"--random 'layer.9.phi=normal(32,2)'", "has no parameter \"layer.9.phi\""},
      {"--random 'layer.1.phi=normal(32,2)' --limit 'rotation>1'",
       "names no output of the data file; it has top, deflection, moment, shear"},
      {"--random 'layer.1.phi=normal(32,2)' --method form", "--method form needs a --limit"},
      {"--vary tip=300,310 --random 'layer.1.phi=normal(32,2)'", "do not go together"},
      {"--random 'layer.1.phi=normal(32,2)' --shard 5/4 --out p", "give I/N"},
  };
  for (const auto& c : cases) {
    const Outcome o = runTerraq("study wall.tq4d " + c.args, work.path());
    EXPECT_EQ(o.status, 2) << c.args;
    EXPECT_TRUE(contains(o.err, c.message)) << c.args << "\n" << o.err;
    EXPECT_EQ(o.out, "") << c.args;
  }
}

TEST(StudyCommand, FourShardsMergeIntoExactlyOneRun) {
  ScratchFolder work;
  Wall(work);
  // Latin hypercube: the strata of a shard are those of the whole study.
  const std::string study = "study wall.tq4d " + kRandom +
                            " --method lhs --samples 203 --seed 11 --limit 'moment>40000' --jobs 2";
  const Outcome whole = runTerraq(study, work.path());
  const Outcome wholeJson = runTerraq(study + " --json", work.path());
  ASSERT_EQ(whole.status, 0) << whole.err;
  for (int shard = 1; shard <= 4; ++shard) {
    const Outcome part = runTerraq(study + " --shard " + std::to_string(shard) + "/4 --out part" +
                                       std::to_string(shard) + ".json",
                                   work.path());
    ASSERT_EQ(part.status, 0) << part.err;
  }
  const Outcome merged =
      runTerraq("study merge part3.json part1.json part4.json part2.json", work.path());
  ASSERT_EQ(merged.status, 0) << merged.err;
  EXPECT_EQ(merged.out, whole.out);
  const Outcome mergedJson =
      runTerraq("study merge --json part1.json part2.json part3.json part4.json", work.path());
  EXPECT_EQ(mergedJson.out, wholeJson.out);

  const Outcome missing = runTerraq("study merge part1.json part2.json part4.json", work.path());
  EXPECT_EQ(missing.status, 2);
  EXPECT_TRUE(contains(missing.err, "shard 3/4 is missing")) << missing.err;
  const Outcome twice =
      runTerraq("study merge part1.json part2.json part2.json part3.json part4.json", work.path());
  EXPECT_TRUE(contains(twice.err, "shard 2/4 is given twice")) << twice.err;
  ASSERT_EQ(runTerraq(study + " --seed 12 --shard 3/4 --out other.json", work.path()).status, 0);
  const Outcome seeds =
      runTerraq("study merge part1.json part2.json other.json part4.json", work.path());
  EXPECT_TRUE(contains(seeds.err, "has seed 12 and part1.json seed 11")) << seeds.err;
}

// The data file or the project's construction sequence edited while the
// shards of one study run (a job array waiting in a queue): the parts are of
// two walls under one definition, and merged they gave a probability of
// neither, with success.
TEST(StudyCommand, PartsOfAnEditedProjectAreNotMerged) {
  const struct {
    const char *data, *edited, *from, *to, *refusal;
  } cases[] = {
      {"cantilever-sand-generated.tq4d", "cantilever-sand-generated.tq4d", "1.1397E10", "0.5E10",
       "different contents of the data file cantilever-sand-generated.tq4d"},
      {"sequential-excavation-anchor.tq4d", "sequential-excavation-anchor.terraq.json",
       "\"depth\": 1.5", "\"depth\": 1.6", "different construction sequences of the project"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.edited);
    ScratchFolder work;
    for (const fs::path file : {c.data, c.edited})
      fs::copy_file(fs::path(TERRAQ_SOURCE_DIR) / "examples" / file, work.path() / file,
                    fs::copy_options::skip_existing);
    const std::string study = "study " + std::string(c.data) +
                              " --random 'layer.1.phi=normal(32,2)' --samples 6 --limit 'top>1.5' ";
    ASSERT_EQ(runTerraq(study + "--shard 1/2 --out part1.json", work.path()).status, 0);
    std::string text = ReadFile(work.path() / c.edited);
    text.replace(text.find(c.from), std::strlen(c.from), c.to);
    std::ofstream(work.path() / c.edited, std::ios::binary) << text;
    ASSERT_EQ(runTerraq(study + "--shard 2/2 --out part2.json", work.path()).status, 0);
    const Outcome mixed = runTerraq("study merge part1.json part2.json", work.path());
    EXPECT_EQ(mixed.status, 2);
    EXPECT_EQ(mixed.out, "");
    EXPECT_TRUE(contains(mixed.err,
                         "part1.json (shard 1/2) and part2.json (shard 2/2) were "
                         "computed from " +
                             std::string(c.refusal)))
        << mixed.err;

    // Parts written before the digests were recorded still merge, with a warning.
    for (const char* name : {"part1.json", "part2.json"}) {
      std::string part = ReadFile(work.path() / name);
      const size_t at = part.find(",\n  \"dataSha256\"");
      ASSERT_NE(at, std::string::npos) << part;
      part.erase(at, part.find('}', at) - at);
      std::ofstream(work.path() / name, std::ios::binary) << part;
    }
    const Outcome old = runTerraq("study merge part1.json part2.json", work.path());
    EXPECT_EQ(old.status, 0) << old.err;
    EXPECT_TRUE(contains(old.err, "part1.json, part2.json record no digest")) << old.err;
  }
}

// The GNU parallel examples of the README and the user's manual, run as
// written but for fewer samples: parallel hands the joined line to a shell,
// which without -q lost the quotes around normal(32,2) (every shard a syntax
// error) and made top>1.5 a redirect.
TEST(StudyCommand, TheDocumentedParallelShardsMerge) {
  if (std::system("parallel --version >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "GNU parallel is not installed (scripts/install-deps.sh installs it)";
  for (const char* doc : {"README.md", "docs/users/running-studies.md"}) {
    SCOPED_TRACE(doc);
    ScratchFolder work;
    Wall(work);
    const std::string text = ReadFile(fs::path(TERRAQ_SOURCE_DIR) / doc);
    std::smatch block;
    ASSERT_TRUE(std::regex_search(text, block, std::regex("\n```(sh)?\n(parallel [^`]*)```")));
    std::string commands =
        std::regex_replace(block[2].str(), std::regex("build/bin/terraq"), "terraq");
    commands = std::regex_replace(commands, std::regex("--samples [0-9]+"), "--samples 48");
    const Outcome run =
        runProgram("/bin/sh", "-c " + terraq::test::quoted(commands), work.path(),
                   "PATH=" + terraq::test::quoted(BinDir().string()) + ":\"$PATH\" ");
    ASSERT_EQ(run.status, 0) << commands << run.err;
    const std::string study = ReadFile(work.path() / "study.json");
    EXPECT_TRUE(contains(study, "\"samplesDone\": 48")) << study;
    EXPECT_TRUE(contains(study, "\"distribution\": \"normal(32,2)\"")) << study;
    if (contains(commands, "top>1.5")) {
      EXPECT_TRUE(contains(study, "{\"name\": \"top>1.5\"")) << study;
      EXPECT_FALSE(fs::exists(work.path() / "1.5"));
    }
  }
}

TEST(StudyCommand, CtrlCReportsTheSamplesDone) {
  ScratchFolder work;
  Wall(work);
  const fs::path out = work.path() / "out.json";
  const pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    chdir(work.path().c_str());
    const int fd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(fd, 1);
    const std::string program = (BinDir() / "terraq").string();
    execl(program.c_str(), program.c_str(), "study", "wall.tq4d", "--random",
          "layer.1.phi=normal(32,2)", "--samples", "1000000", "--csv", "rows.csv", "--json",
          static_cast<char*>(nullptr));
    _exit(127);
  }
  // Interrupted once samples are being written (the CSV grows under a
  // temporary name beside rows.csv), however fast or slow the machine.
  const auto writing = [&] {
    for (const auto& entry : fs::directory_iterator(work.path()))
      if (entry.path().filename().string().find("rows.csv") != std::string::npos &&
          entry.is_regular_file() && entry.file_size() > 0)
        return true;
    return false;
  };
  for (int k = 0; k < 6000 && !writing(); ++k)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  kill(pid, SIGINT);
  int status = 0;
  waitpid(pid, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 128 + SIGINT);
  const std::string json = ReadFile(out);
  EXPECT_TRUE(contains(json, "\"interrupted\": true")) << json;
  std::smatch done;
  ASSERT_TRUE(std::regex_search(json, done, std::regex("\"samplesDone\": ([0-9]+)"))) << json;
  const size_t samples = std::stoul(done[1]);
  EXPECT_GT(samples, 0u);
  EXPECT_LT(samples, 1000000u);
  // The CSV holds the samples done, one row each.
  EXPECT_EQ(Lines(ReadFile(work.path() / "rows.csv")), samples + 1);
}

TEST(StudyCommand, CsvThatCannotBeWrittenKeepsTheEarlierFile) {
  ScratchFolder work;
  Wall(work);
  const Outcome noFolder =
      runTerraq("study wall.tq4d --vary tip=300,320 --csv no-such-folder/s.csv", work.path());
  EXPECT_EQ(noFolder.status, 2);
  EXPECT_TRUE(contains(noFolder.err, "cannot write no-such-folder/s.csv")) << noFolder.err;
  EXPECT_EQ(noFolder.out, "");  // refused before anything ran

  // A full disk (a file-size limit of 512 bytes) while the rows are written.
  const std::string earlier(100, 'x');
  { std::ofstream(work.path() / "s.csv") << earlier; }
  const Outcome full =
      runTerraq("study wall.tq4d --vary tip=300:400:12 --csv s.csv", work.path(), "ulimit -f 1;");
  EXPECT_EQ(full.status, 2);
  EXPECT_TRUE(contains(full.err, "cannot write s.csv")) << full.err;
  EXPECT_EQ(ReadFile(work.path() / "s.csv"), earlier);
}

}  // namespace
