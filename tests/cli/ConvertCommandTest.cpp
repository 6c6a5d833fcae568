// terraq convert: older data files to the current layout, run as users run
// it; the converted file is then analysed by terraq run.

#include <gtest/gtest.h>

#include <fstream>

#include "CliTestFiles.h"
#include "CommandRunner.h"

using namespace terraq::test;

namespace {

// A cantilever in sand with generated p-y curves, in the 3.0 layout: eight
// control values, a legacy surcharge and no surcharge table.
const char* const kLayout30 =
    "Sand cantilever\r\n1 0\t1\t0\t0\t2 0 1\r\n40 6\t10\t0.0001\t0\r\n0\t40\t1\t2E9\r\n1\r\n1\t0\t0\t2000\t0\t0\r\n"
    "0\r\n0\t12\t12\t0\t0\t1\t1\t0\r\n0\t24\t500\t0\t0\t0\r\n1\r\n4 480 \r\n"
    "0.069 0.0  32 0.0  90 0.0  \r\n0.069 0.0  32 0.0  90 0.0  \r\n0\r\n";

// The same wall in the 2.0 layout: seven control values, the layer's
// thickness and one line of five soil values, taken as they are (feet,
// lb/ft^3), and no end flag.
const char* const kLayout20 =
    "Sand cantilever\n1 0 1 0 0 2 0\n40 6 10 0.0001 0\n0 40 1 2E9\n1\n1 0 0 2000 0 0\n0\n"
    "0 12 12 0 0 1 1 0\n0 0 0 0 0 0\n1\n4 40\n115 0 32 0 90\n";

void write(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

TEST(ConvertCommand, OlderLayoutByExtensionThenRun) {
  ScratchFolder work;
  write(work.path() / "old.tqd", kLayout30);
  const Outcome o = runTerraq("convert old.tqd new.tq4d", work.path());
  ASSERT_EQ(o.status, 0) << o.err;
  EXPECT_TRUE(contains(o.out, "Converted old.tqd to new.tq4d"));
  const std::string text = ReadFile(work.path() / "new.tq4d");
  EXPECT_EQ(text.rfind("Sand cantilever\r\n1 0\t1\t0\t0\t2 0 1 0\r\n", 0), 0u);
  // The legacy surcharge became three loads of the surcharge table.
  EXPECT_NE(text.find("\r\n3\r\n1\t500\t24\t0\r\n2\t0\t24\t0\r\n3\t0\t24\t0\r\n"), std::string::npos);
  EXPECT_EQ(ReadFile(work.path() / "old.tqd"), kLayout30);

  const Outcome run = runTerraq("run new.tq4d", work.path());
  EXPECT_EQ(run.status, 0) << run.err;
}

TEST(ConvertCommand, SILegacySurchargeDistanceAndWidthBecomeMillimetres) {
  // The wall above in SI: its single surcharge, a 20 kN/m^2 strip 1.5 m wide
  // centred 2.5 m behind the wall, is given in metres like every length.
  ScratchFolder work;
  write(work.path() / "si.tqd",
        "Sand cantilever SI\r\n2 0\t1\t0\t0\t2 0 1\r\n40 0.15\t0.25\t0.000003\t0\r\n0\t40\t1\t5700\r\n"
        "1\r\n1\t0\t0\t225\t0\t0\r\n0\r\n0\t0.3\t0.3\t0\t0\t1\t1\t0\r\n"
        "0\t2.5\t0\t0\t20\t1.5\r\n1\r\n4 12 \r\n18.7 0.0  32 0.0  24400 0.0  \r\n18.7 0.0  32 0.0  24400 0.0  \r\n"
        "0\r\n");
  const Outcome o = runTerraq("convert si.tqd si.tq4d", work.path());
  ASSERT_EQ(o.status, 0) << o.err;
  const std::string text = ReadFile(work.path() / "si.tq4d");
  EXPECT_NE(text.find("\r\n3\r\n1\t0\t2500\t1500\r\n2\t0\t2500\t1500\r\n3\t20\t2500\t1500\r\n"), std::string::npos)
      << text;
}

TEST(ConvertCommand, NamedLayoutAndStagedFiles) {
  ScratchFolder work;
  write(work.path() / "older.tqd", kLayout20);
  const Outcome o = runTerraq("convert --layout 2.0 older.tqd older.tq4d", work.path());
  ASSERT_EQ(o.status, 0) << o.err;
  EXPECT_EQ(runTerraq("run older.tq4d", work.path()).status, 0);
  EXPECT_NE(ReadFile(work.path() / "older.tq4d").find("\r\n1\r\n4 480 \r\n0.066550926 0.0  32 0.0  90 0.0  \r\n"),
            std::string::npos);

  // A staged file keeps its stages, each in the current layout.
  work.copy("fuzz-seeds/three-stages.tq4d", "staged.tq4d");
  const Outcome staged = runTerraq("convert staged.tq4d -- staged-new.tq4d", work.path());
  ASSERT_EQ(staged.status, 0) << staged.err;
  const std::string text = ReadFile(work.path() / "staged-new.tq4d");
  EXPECT_NE(text.find("\r\n Stage No : 2\r\n3 0\t1\t0\t0\t0 0 3 0\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\n Stage No : 3\r\n"), std::string::npos);
  EXPECT_EQ(text.substr(text.size() - 3), "3\r\n");
  EXPECT_EQ(runTerraq("run staged-new.tq4d", work.path()).status, 0);
}

TEST(ConvertCommand, MalformedFileExitsWithOne) {
  ScratchFolder work;
  write(work.path() / "bad.tqd", "Bad\n1 0 1 0 0 0 0 1\n40 six 10 0.0001 0\n");
  const Outcome o = runTerraq("convert bad.tqd out.tq4d", work.path());
  EXPECT_EQ(o.status, 1);
  EXPECT_TRUE(contains(o.err, "bad.tqd is not a valid data file of the 3.0 layout: Error on Line 3 Item 2 "
                              "A floating point number was expected but not found."))
      << o.err;
  EXPECT_FALSE(fs::exists(work.path() / "out.tq4d"));
}

TEST(ConvertCommand, UsageErrorsExitWithTwo) {
  ScratchFolder work;
  write(work.path() / "old.tqd", kLayout30);
  const struct {
    const char* args;
    const char* message;
  } cases[] = {
      {"convert old.tqd", "convert takes a data file to read and one to write"},
      {"convert old.tqd new.tqd", "the older .tqd layout is never written"},
      {"convert --layout 4.0 old.tqd new.tq4d",
       "--layout 4.0 is refused for convert: current, 3.0 or 2.0"},
      {"convert old.tqd new.tq4d --layout",
       "--layout needs a value for convert: current, 3.0 or 2.0"},
      {"convert --fast old.tqd new.tq4d", "unknown option '--fast' for convert"},
      {"convert missing.tqd new.tq4d", "cannot find the data file missing.tqd"},
      {"convert old.tqd no-such-folder/new.tq4d", "Cannot write no-such-folder/new.tq4d"},
  };
  for (const auto& c : cases) {
    const Outcome o = runTerraq(c.args, work.path());
    EXPECT_EQ(o.status, 2) << c.args;
    EXPECT_TRUE(contains(o.err, c.message)) << c.args << ": " << o.err;
  }
  const Outcome help = runTerraq("convert --help", work.path());
  EXPECT_EQ(help.status, 0);
  EXPECT_TRUE(contains(help.out, "terraq convert [--layout current|3.0|2.0]"));
}

}  // namespace

namespace {

// A staged file whose last block declares one stage fewer than the first:
// converted as it was, the stage count read back from the output would drop
// a stage on the next conversion. It is refused, and nothing is written.
TEST(ConvertCommand, StagedFileWhoseBlocksDisagreeIsRefused) {
  ScratchFolder work;
  std::string text = ReadFile(TestData("fuzz-seeds/three-stages.tq4d"));
  const std::string last = " Stage No : 3\n3 0\t1\t0\t0\t0 0 3 0";
  text.replace(text.find(last), last.size(), " Stage No : 3\n3 0\t1\t0\t0\t0 0 2 0");
  write(work.path() / "mixed.tq4d", text);
  const Outcome o = runTerraq("convert mixed.tq4d out.tq4d", work.path());
  EXPECT_NE(o.status, 0);
  EXPECT_TRUE(contains(o.err, "Stage 3 of mixed.tq4d")) << o.err;
  EXPECT_FALSE(fs::exists(work.path() / "out.tq4d"));
}

// A file of three chained problems runs whole; converting it would keep two.
TEST(ConvertCommand, AFileHoldingMoreThanAProjectIsRefusedAndNothingWritten) {
  ScratchFolder work;
  std::string text;
  for (const char* end : {"9", "9", "0"})
    text +=
        std::string(
            "Wall\r\n1 0 1 0 0 0 0 1 0\r\n10 1 1 0.001 0\r\n0 10 1 1E9\r\n1\r\n1 0 0 1000 0 0\r\n0\r\n") +
        end + "\r\n";
  write(work.path() / "three.tq4d", text);
  const Outcome o = runTerraq("convert three.tq4d out.tq4d", work.path());
  EXPECT_EQ(o.status, 1);
  EXPECT_TRUE(contains(
      o.err, "terraq: three.tq4d holds more than a project can. The end code 9 on line 16"))
      << o.err;
  EXPECT_FALSE(fs::exists(work.path() / "out.tq4d"));
}

}  // namespace
