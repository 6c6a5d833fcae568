// Staged projects whose files are not what the program expects: a data file
// that bears a stage file's name, blocks that disagree with the declared
// count or do not read, stage files held by another window or not
// writable, and failures that must leave every file as it was.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "CliTestFiles.h"
#include "project/StageFiles.h"
#include "project/TProject.h"
#include "project/TWordReader.h"

using namespace terraq::ui;
using terraq::test::ReadFile;
using terraq::test::ScratchFolder;
namespace fs = std::filesystem;

namespace {

// The three-stage sample with one of its lines replaced.
fs::path writeVariant(const ScratchFolder& folder, const std::string& name, const std::string& from,
                      const std::string& to) {
  std::string text = ReadFile(terraq::test::TestData("fuzz-seeds/three-stages.tq4d"));
  const size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos);
  if (at != std::string::npos) text.replace(at, from.size(), to);
  std::ofstream(folder.path() / name, std::ios::binary) << text;
  return folder.path() / name;
}

double topLoad(TProject& p) { return p.Tables().ConcentratedLoads.Cell(3, 0).AsFloat(); }

TEST(StagedFileChecks, InconsistentFilesAreRefusedBeforeAnythingIsWritten) {
  ScratchFolder folder;
  // Declares three stages but holds two blocks.
  std::string text = ReadFile(terraq::test::TestData("fuzz-seeds/three-stages.tq4d"));
  text = text.substr(0, text.find(" Stage No : 3"));
  std::ofstream(folder.path() / "short.tq4d", std::ios::binary) << text;
  TProject project;
  try {
    project.Open(folder.path() / "short.tq4d", kLayoutCurrent);
    ADD_FAILURE() << "opened";
  } catch (const EReadError& e) {
    EXPECT_NE(std::string(e.what()).find("declares 3 construction stages but holds 2"), std::string::npos);
  }
  EXPECT_EQ(project.Data().StageCount, 1);

  // A bad value in stage 2 (line 12 of the file: the wall line of block 2).
  const fs::path bad = writeVariant(folder, "bad.tq4d", "Stage No : 2\n3 0\t1\t0\t0\t0 0 3 0\n8 1",
                                    "Stage No : 2\n3 0\t1\t0\t0\t0 0 3 0\n8 x");
  try {
    project.Open(bad, kLayoutCurrent);
    ADD_FAILURE() << "opened";
  } catch (const EReadError& e) {
    const std::string message = e.what();
    EXPECT_EQ(message.rfind("Stage 2 of bad.tq4d, from line 9: Error on Line 11 Item 2", 0), 0u) << message;
  }
  // Blocks that disagree on the count: opening and converting refuse them.
  const fs::path mixed =
      writeVariant(folder, "mixed.tq4d", "Stage No : 3\n3 0\t1\t0\t0\t0 0 3 0", "Stage No : 3\n3 0\t1\t0\t0\t0 0 2 0");
  EXPECT_THROW(project.Open(mixed, kLayoutCurrent), EReadError);
  EXPECT_THROW(ConvertDataFile(mixed, folder.path() / "out.tq4d", kLayoutCurrent), EReadError);
  EXPECT_FALSE(fs::exists(folder.path() / "out.tq4d"));
  for (const char* name : {"short", "bad", "mixed"})
    EXPECT_FALSE(fs::exists(folder.path() / (std::string(name) + ".st1"))) << name;
}

TEST(StagedFileChecks, DataFileNamedLikeAStageFileIsNeverWritten) {
  ScratchFolder folder;
  const fs::path file = folder.copy("fuzz-seeds/three-stages.tq4d", "wall.st3");
  const std::string before = ReadFile(file);
  TProject project;
  project.Open(file, kLayoutCurrent);
  EXPECT_TRUE(project.ReadOnly());
  project.SwitchStage(3);  // held in memory
  EXPECT_EQ(topLoad(project), 3);
  EXPECT_THROW(project.Save(), EInOutError);
  EXPECT_EQ(ReadFile(file), before);
  EXPECT_FALSE(fs::exists(folder.path() / "wall.st1"));
  EXPECT_THROW(project.SaveAs(folder.path() / "other.st2"), EInOutError);
  EXPECT_THROW(project.SaveAs(folder.path() / "wall.tq4d"), EInOutError);  // its wall.st3 is this file
  EXPECT_EQ(ReadFile(file), before);
  project.SaveAs(folder.path() / "dig.tq4d");
  EXPECT_FALSE(project.ReadOnly());
  EXPECT_EQ(SplitStageBlocks(ReadFile(folder.path() / "dig.tq4d")).size(), 3u);
  // Another name of the same base keeps the stage files and their lock.
  project.SaveAs(folder.path() / "dig.dat");
  TProject other;
  other.Open(folder.path() / "dig.tq4d", kLayoutCurrent);
  EXPECT_TRUE(other.ReadOnly());
}

TEST(StagedFileChecks, SecondWindowOpensReadOnlyAndLeavesTheFirstOnesStages) {
  ScratchFolder folder;
  const fs::path file = folder.copy("fuzz-seeds/three-stages.tq4d", "dig.tq4d");
  TProject first;
  first.Open(file, kLayoutCurrent);
  EXPECT_FALSE(first.ReadOnly());
  first.Tables().ConcentratedLoads.Cell(3, 0).SetFloat(11);
  first.SwitchStage(2);  // stage 1's edit is in its stage file only
  const std::string edited = ReadFile(StageFileName(file, 1));
  {
    TProject second;
    second.Open(file, kLayoutCurrent);
    EXPECT_TRUE(second.ReadOnly());
    EXPECT_EQ(topLoad(second), 1);
    second.SwitchStage(2);
    second.SetStageCount(4);
  }
  EXPECT_EQ(ReadFile(StageFileName(file, 1)), edited);
  EXPECT_FALSE(fs::exists(StageFileName(file, 4)));
  first.Save();
  first.SwitchStage(1);
  EXPECT_EQ(topLoad(first), 11);
  EXPECT_NE(ReadFile(file).find("\t11\t"), std::string::npos);
  // Closed, the lock is free for the next window.
  first.New();
  TProject third;
  third.Open(file, kLayoutCurrent);
  EXPECT_FALSE(third.ReadOnly());
}

TEST(StagedFileChecks, UnwritableStageFilesOpenReadOnly) {
  ScratchFolder folder;
  // A lock file that cannot be made stands for a folder that takes no files
  // (permissions do not stop the root user who may run the tests).
  const fs::path file = folder.copy("fuzz-seeds/three-stages.tq4d", "ro.tq4d");
  fs::create_directory(StageLockFileName(file));
  TProject project;
  project.Open(file, kLayoutCurrent);
  EXPECT_TRUE(project.ReadOnly());
  EXPECT_NE(project.ReadOnlyReason().find("cannot be written"), std::string::npos);
  EXPECT_EQ(project.Data().StageCount, 3);
  fs::remove(StageLockFileName(file));
  // A stage file that cannot be replaced likewise.
  fs::create_directory(StageFileName(file, 2));
  project.Open(file, kLayoutCurrent);
  EXPECT_TRUE(project.ReadOnly());
  project.SwitchStage(2);
  EXPECT_EQ(topLoad(project), 2);
  project.SaveAs(folder.path() / "copy.tq4d");
  EXPECT_EQ(SplitStageBlocks(ReadFile(folder.path() / "copy.tq4d")).size(), 3u);
  EXPECT_TRUE(fs::exists(folder.path() / "copy.st3"));
}

TEST(StagedFileChecks, FailedChangesLeaveEveryFileAsItWas) {
  ScratchFolder folder;
  const fs::path file = folder.copy("fuzz-seeds/three-stages.tq4d", "f.tq4d");
  TProject project;
  project.Open(file, kLayoutCurrent);
  project.SaveCurrentStage();  // the stage files are written
  project.Tables().ConcentratedLoads.Cell(3, 0).SetFloat(9);
  const std::string data = ReadFile(file);
  const std::string first = ReadFile(StageFileName(file, 1));

  // Stage 3's file does not read: the switch stops before writing stage 1.
  const std::string third = ReadFile(StageFileName(file, 3));
  std::ofstream(StageFileName(file, 3), std::ios::binary) << "Excavation\r\nthree\r\n";
  EXPECT_THROW(project.SwitchStage(3), EReadError);
  EXPECT_EQ(project.Data().CurrentStage, 1);
  EXPECT_EQ(topLoad(project), 9);
  EXPECT_EQ(ReadFile(StageFileName(file, 1)), first);
  std::ofstream(StageFileName(file, 3), std::ios::binary) << third;

  // Stage 5's file cannot be written: no stage file changes, nor the count.
  fs::create_directory(StageFileName(file, 5));
  EXPECT_THROW(project.SetStageCount(5), EInOutError);
  EXPECT_EQ(project.Data().StageCount, 3);
  EXPECT_EQ(ReadFile(StageFileName(file, 1)), first);
  EXPECT_FALSE(fs::exists(StageFileName(file, 4)));

  // Saving needs stage 2's file: neither the data file nor stage 1's changes.
  fs::remove(StageFileName(file, 2));
  EXPECT_THROW(project.Save(), EInOutError);
  EXPECT_EQ(ReadFile(file), data);
  EXPECT_EQ(ReadFile(StageFileName(file, 1)), first);
}

// Opening a staged project writes nothing (the stages are held until the
// first change is written), so a link put where a stage file goes is not
// written through by opening. A stage file that is the data file under
// another name makes the project read-only; a pipe is refused at once
// rather than waited on.
TEST(StagedFileChecks, OpeningWritesNothing) {
  ScratchFolder folder;
  const fs::path file = folder.copy("fuzz-seeds/three-stages.tq4d", "wall.tq4d");
  const std::string before = ReadFile(file);
  std::ofstream(folder.path() / "unrelated") << "unrelated\n";
  fs::create_symlink("unrelated", StageFileName(file, 2));
  TProject project;
  project.Open(file, kLayoutCurrent);
  EXPECT_FALSE(project.ReadOnly());
  EXPECT_EQ(ReadFile(folder.path() / "unrelated"), "unrelated\n");
  EXPECT_FALSE(fs::exists(StageFileName(file, 1)));
  project.SwitchStage(3);  // the first change: every stage goes to its file
  EXPECT_EQ(topLoad(project), 3);
  EXPECT_EQ(SplitStageBlocks(ReadFile(folder.path() / "unrelated")).size(),
            1u);  // the user's own link
  EXPECT_TRUE(fs::exists(StageFileName(file, 1)));
  project.New();

  fs::remove(StageFileName(file, 2));
  fs::create_hard_link(file, StageFileName(file, 2));
  project.Open(file, kLayoutCurrent);
  EXPECT_NE(project.ReadOnlyReason().find("it is the same file as " + file.string()),
            std::string::npos)
      << project.ReadOnlyReason();
  project.SwitchStage(2);
  EXPECT_THROW(project.Save(), EInOutError);
  EXPECT_EQ(ReadFile(file), before);

  ASSERT_EQ(::mkfifo((folder.path() / "pipe.tq4d").c_str(), 0600), 0);
  try {
    project.Open(folder.path() / "pipe.tq4d", kLayoutCurrent);
    ADD_FAILURE() << "opened";
  } catch (const EInOutError& e) {
    EXPECT_NE(std::string(e.what()).find("it is not a regular file"), std::string::npos)
        << e.what();
  }
}

}  // namespace
