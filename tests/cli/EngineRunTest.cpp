// The engine library handle and one engine run through the loaded library,
// as the front ends make it: the data file read, analysed in memory, the
// outputs written beside it and summarised from the results.

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <vector>

#include "CliTestFiles.h"
#include "platform/TDynamicLibrary.h"
#include "project/EngineRun.h"
#include "project/RunOutcome.h"
#include "project/RunSummary.h"

using namespace terraq::ui;
using namespace terraq::test;

TEST(TDynamicLibrary, RaisesTheLibraryErrors) {
  ScratchFolder folder;
  TDynamicLibrary library((folder.path() / "absent.so").string());
  try {
    library.load();
    FAIL() << "an absent file loaded";
  } catch (const TLibraryError& e) {
    EXPECT_EQ(e.kind(), TLibraryError::Kind::NotLocated);
    EXPECT_STREQ(e.what(), "Library could not be located");
  }
  EXPECT_FALSE(library.isLoaded());
  try {
    library.lookup("_ITERRAQ");
    FAIL() << "lookup without a module";
  } catch (const TLibraryError& e) {
    EXPECT_STREQ(e.what(), "Library is not open");
  }

  std::ofstream(folder.path() / "broken.so") << "not a shared library\n";
  library.setFileName((folder.path() / "broken.so").string());
  try {
    library.load();
    FAIL() << "a text file loaded";
  } catch (const TLibraryError& e) {
    EXPECT_EQ(e.kind(), TLibraryError::Kind::FailedToInitialize);
    EXPECT_STREQ(e.what(), "Library failed to properly initialize");
  }
}

TEST(TDynamicLibrary, LoadsTheEngineAndFindsOnlyItsEntry) {
  TDynamicLibrary library(EngineLibrary().string());
  library.load();
  ASSERT_TRUE(library.isLoaded());
  EXPECT_NE(library.lookup("_ITERRAQ"), nullptr);
  EXPECT_NE(library.lookup("ITERRAQ"), nullptr);
  EXPECT_EQ(library.lookup("RunAnalysis"), nullptr);
  library.setFileName("elsewhere.so");  // naming another file unloads
  EXPECT_FALSE(library.isLoaded());
}

// A cantilever of length L = 480 in fixed at its tip (deflection and slope
// zero), EI = 1E9 lbs-in2, a point load P = 1000 lbs at the top. Beam theory:
// top deflection P L^3 / (3 EI), moment growing as P x to P L at the tip.
TEST(EngineRun, LeavesTheOutputsBesideTheDataAndNothingElsewhere) {
  ScratchFolder scratch;
  const fs::path data = scratch.copy("cli-cantilever.tq4d", "wall.tq4d");
  // Anything the run put in the temporary folder would land here.
  const fs::path tmp = scratch.path() / "tmp";
  fs::create_directory(tmp);
  const char* oldTmp = std::getenv("TMPDIR");
  const std::string savedTmp = oldTmp ? oldTmp : "";
  setenv("TMPDIR", tmp.c_str(), 1);
  const fs::path before = fs::current_path();
  fs::current_path(scratch.path());  // a relative data path must survive the change of folder

  const EngineRunResult run = RunEngine("wall.tq4d", EngineLibrary());

  fs::current_path(before);
  if (oldTmp) setenv("TMPDIR", savedTmp.c_str(), 1);
  else unsetenv("TMPDIR");

  EXPECT_TRUE(run.engineLoaded);
  EXPECT_TRUE(run.engineCalled);
  EXPECT_EQ(run.error, "");
  EXPECT_EQ(run.paths.dataFile, data);
  EXPECT_EQ(run.paths.reportFile, scratch.path() / "wall.tq4o");
  for (const char* name : {"wall.tq4o", "wall.tq4p", "wall.tq4r"})
    EXPECT_TRUE(fs::exists(scratch.path() / name)) << name;
  EXPECT_FALSE(fs::exists(scratch.path() / "names.dat"));
  EXPECT_TRUE(fs::is_empty(tmp)) << "the run left files in the temporary folder";

  const RunSummary s = ReadRunSummary(run.paths.reportFile, run.paths.plotFile);
  ASSERT_EQ(s.problems.size(), 1u);
  const ProblemSummary& p = s.problems[0];
  EXPECT_TRUE(p.closed());
  ASSERT_TRUE(p.deflection && p.moment);
  const double P = 1000.0, L = 480.0, EI = 1e9, h = 12.0;
  EXPECT_NEAR(p.deflection->value, P * L * L * L / (3.0 * EI), 0.005 * P * L * L * L / (3.0 * EI));
  EXPECT_DOUBLE_EQ(p.deflection->depth, 0.0);
  // The moment line reaches P L at the fixed tip; the difference scheme
  // shows it within one increment of the tip.
  EXPECT_GE(p.moment->value, P * (L - h) * 0.999);
  EXPECT_LE(p.moment->value, P * L * 1.001);
}

TEST(EngineRun, ReportsALibraryThatCannotBeLoaded) {
  ScratchFolder scratch;
  const fs::path data = scratch.copy("cli-cantilever.tq4d", "wall.tq4d");
  std::ofstream(scratch.path() / "wall.tq4o") << "earlier report\n";
  const EngineRunResult run = RunEngine(data, scratch.path() / "Terraq2013_DLL.so");
  EXPECT_FALSE(run.engineLoaded);
  EXPECT_FALSE(run.engineCalled);
  EXPECT_NE(run.error.find("Library could not be located"), std::string::npos) << run.error;
  EXPECT_NE(run.error.find((scratch.path() / "Terraq2013_DLL.so").string()), std::string::npos);
  // Nothing ran, so nothing of the earlier run was touched.
  EXPECT_EQ(ReadFile(scratch.path() / "wall.tq4o"), "earlier report\n");
  EXPECT_FALSE(fs::exists(scratch.path() / "names.dat"));
}

// Temporary outputs that a killed run of the data file left, however new,
// go with the next run of it (which holds the lock no other run could
// write them without); another file's stay.
TEST(EngineRun, RemovesTheTemporariesOfKilledRunsOfItsDataFile) {
  ScratchFolder scratch;
  const fs::path data = scratch.copy("cli-cantilever.tq4d", "wall.tq4d");
  const std::vector<std::string> killed = {".wall.tq4o.tmp1", ".wall.tq4p.tmp22",
                                           ".wall.tq4r.tmp333"};
  for (const std::string& name : killed) std::ofstream(scratch.path() / name) << "half";
  std::ofstream(scratch.path() / ".other.tq4o.tmp1") << "another run's";
  const EngineRunResult run = RunEngine(data, EngineLibrary());
  ASSERT_TRUE(run.outputsReplaced) << run.error;
  for (const std::string& name : killed) EXPECT_FALSE(fs::exists(scratch.path() / name)) << name;
  EXPECT_TRUE(fs::exists(scratch.path() / ".other.tq4o.tmp1"));
}

// No path is too long for a run: the engine is handed the data, not names.
TEST(EngineRun, RunsADataFileDeepInFolders) {
  ScratchFolder scratch;
  fs::path deep = scratch.path();
  while (deep.string().size() < 300) deep /= std::string(40, 'd');
  fs::create_directories(deep);
  const fs::path data = deep / "wall.tq4d";
  fs::copy_file(TestData("cli-cantilever.tq4d"), data);
  const EngineRunResult run = RunEngine(data, EngineLibrary());
  EXPECT_TRUE(run.outputsReplaced) << run.error;
  EXPECT_NE(ReadFile(deep / "wall.tq4o").find("END OF ANALYSIS"), std::string::npos);
}

// A weak rock without strength: the engine's warning and its progress note,
// which it once printed to a console nobody saw, come back with the run, and the run outcome the
// interactive program shows repeats it after the report's error stop.
TEST(EngineRun, TheEngineMessagesReachTheCaller) {
  ScratchFolder scratch;
  std::string text = ReadFile(fs::path(TERRAQ_SOURCE_DIR) / "examples" / "wall-socketed-weak-rock.tq4d");
  for (size_t at; (at = text.find("22 3000 ")) != std::string::npos;) text.replace(at, 8, "22 0 ");
  std::ofstream(scratch.path() / "rock.tq4d", std::ios::binary) << text;
  const EngineRunResult run = RunEngine(scratch.path() / "rock.tq4d", EngineLibrary());
  ASSERT_TRUE(run.outputsReplaced) << run.error;
  const std::string warning = "THE COHESIVE STRENGTH IS 0 FOR ROCK ACCORING TO THE INPUT";
  bool told = false;
  for (const std::string& line : run.engineMessages) told = told || line.find(warning) != std::string::npos;
  EXPECT_TRUE(told);
  // So does its progress note, which it once wrote on its host's console.
  ASSERT_FALSE(run.engineMessages.empty());
  EXPECT_EQ(run.engineMessages.front(), " READ SOIL DATA....");
  const RunOutcome outcome =
      DescribeRunOutcome(ReadRunSummary(run.paths.reportFile, run.paths.plotFile), "rock.tq4o", run.engineMessages);
  EXPECT_TRUE(outcome.stopped);
  EXPECT_NE(outcome.message.find("The engine says:\n"), std::string::npos) << outcome.message;
  EXPECT_NE(outcome.message.find("\n  " + warning), std::string::npos) << outcome.message;
  EXPECT_EQ(outcome.message.find("READ SOIL DATA"), std::string::npos)
      << outcome.message;  // a console's note
}

namespace {

// Every field of a summary, numbers to the last digit, for a readable diff.
std::string Describe(const RunSummary& s) {
  std::ostringstream out;
  out.precision(17);
  out << "complete " << s.complete << " stop " << s.errorStop.value_or("-") << "\n";
  for (const ProblemSummary& p : s.problems) {
    out << p.number << " " << int(p.kind) << " " << p.stage << " [" << p.title << "] [" << p.heading
        << "] it " << p.iterations << " off " << p.offCurves << " over " << p.overLimit << " "
        << p.stationsOverLimit << " notClosed " << p.notClosed << " fault [" << p.numericalFault
        << "] units " << p.unitsCode.value_or(-99) << "\n  pivots";
    for (int k : p.zeroPivotStations) out << " " << k;
    out << " weak";
    for (int k : p.partialStiffnessStations) out << " " << k;
    for (const SupportForce& f : p.supports)
      out << "\n  support " << f.station << " " << f.depth << " " << f.force << " " << f.shearAbove
          << " " << f.shearBelow;
    for (const auto* e : {&p.deflection, &p.moment, &p.shear, &p.shearEitherSide, &p.topDeflection,
                          &p.positiveMoment, &p.negativeMoment}) {
      if (*e) out << "\n  " << (*e)->value << " at " << (*e)->depth;
      else out << "\n  none";
    }
    out << "\n";
  }
  return out.str();
}

}  // namespace

// The summary a run makes from its results in memory is the one its files
// give when read back, for every sample and test data file (error stops,
// stages, long-term analyses, walls that do not close): the command, the
// graphs of results on disk and the program never disagree.
TEST(EngineRun, SummaryInMemoryIsTheSummaryOfTheFiles) {
  ScratchFolder scratch;
  const fs::path source(TERRAQ_SOURCE_DIR);
  int compared = 0;
  for (const fs::path& folder : {source / "examples", source / "tests" / "data",
                                 source / "tests" / "data" / "fuzz-regressions"}) {
    for (const auto& entry : fs::directory_iterator(folder)) {
      if (entry.path().extension() != ".tq4d") continue;
      const fs::path data = scratch.path() / entry.path().filename();
      fs::copy_file(entry.path(), data, fs::copy_options::overwrite_existing);
      const EngineRunResult run = RunEngine(data, EngineLibrary());
      ASSERT_TRUE(run.outputsReplaced) << data << ": " << run.error;
      EXPECT_EQ(Describe(run.summary),
                Describe(ReadRunSummary(run.paths.reportFile, run.paths.plotFile)))
          << entry.path();
      ++compared;
    }
  }
  EXPECT_GE(compared, 15);
}
