// A run over the outputs of an earlier run: the files are replaced whole
// (nothing of a longer old text is left) and stay the files they were (the
// same inode, the mode the user gave them), an output named through a
// symbolic link is written to the link's target, the link staying a link,
// and an output that cannot be written ends the run with a message.

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "EngineRun.h"
#include "driver/RunAnalysis.h"

namespace terraq::test {
namespace {

namespace fs = std::filesystem;

class RunFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "terraq-outputs-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
  }
  void TearDown() override { fs::remove_all(folder_); }

  // Runs the engine on `data` with the given output paths (relative to the
  // folder).
  engine::RunStatus run(const std::string& data, const std::string& report, const std::string& plot) {
    std::ofstream(folder_ / "wall.tq4d", std::ios::binary) << data;
    {
      std::ofstream names(folder_ / "names.dat", std::ios::binary);
      names << (folder_ / "wall.tq4d").string() << "\n"
            << (folder_ / report).string() << "\n"
            << (folder_ / plot).string() << "\n"
            << (folder_ / "wall.tq4r").string() << "\n";
    }
    const fs::path previous = fs::current_path();
    fs::current_path(folder_);
    const engine::RunStatus status = terraq::engine::RunAnalysis();
    fs::current_path(previous);
    return status;
  }

  std::string text(const std::string& name) { return ReadTextFile((folder_ / name).string()); }

  fs::path folder_;
};

const char* const kLongWall =
    "Long wall\n1 0\t1\t0\t0\t0 0 0 0\n60 12\t100\t0.0001\t0\n0\t60\t1\t1E9\n1\n1\t0\t0\t1000\t0\t0\n"
    "1\n0\t60\t1\t50\t0\n0\n";
const char* const kShortWall =
    "Short wall\n1 0\t1\t0\t0\t0 0 0 0\n10 12\t100\t0.0001\t0\n0\t10\t1\t1E9\n1\n1\t0\t0\t1000\t0\t0\n"
    "1\n0\t10\t1\t50\t0\n0\n";

TEST_F(RunFolder, OutputsOfAnEarlierRunAreReplacedWhole) {
  run(kShortWall, "fresh.tq4o", "fresh.tq4p");
  const std::string freshReport = text("fresh.tq4o"), freshPlot = text("fresh.tq4p");
  run(kLongWall, "wall.tq4o", "wall.tq4p");
  ASSERT_GT(text("wall.tq4o").size(), freshReport.size());
  run(kShortWall, "wall.tq4o", "wall.tq4p");
  EXPECT_EQ(text("wall.tq4o"), freshReport);
  EXPECT_EQ(text("wall.tq4p"), freshPlot);
}

TEST_F(RunFolder, OutputThroughASymbolicLinkReachesItsTarget) {
  fs::create_directory(folder_ / "results");
  std::ofstream(folder_ / "results" / "report.txt") << std::string(100000, 'x');
  fs::create_symlink(folder_ / "results" / "report.txt", folder_ / "wall.tq4o");
  run(kShortWall, "wall.tq4o", "wall.tq4p");
  EXPECT_TRUE(fs::is_symlink(folder_ / "wall.tq4o"));
  const std::string report = ReadTextFile((folder_ / "results" / "report.txt").string());
  EXPECT_NE(report.find("END OF ANALYSIS"), std::string::npos);
  EXPECT_LT(report.size(), 100000u);
}

TEST_F(RunFolder, OutputsKeepTheirInodeAndMode) {
  struct stat before[2], after[2];
  const std::pair<const char*, fs::perms> outputs[] = {
      {"wall.tq4o", fs::perms::owner_read | fs::perms::owner_write},
      {"wall.tq4p", fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                        fs::perms::group_write | fs::perms::others_read}};
  for (int k = 0; k < 2; ++k) {
    const fs::path path = folder_ / outputs[k].first;
    std::ofstream(path) << std::string(100000, 'x');
    fs::permissions(path, outputs[k].second);
    ASSERT_EQ(stat(path.c_str(), &before[k]), 0);
  }
  {
    // Held open, a file removed by the run keeps its inode number from
    // being given straight to a new file of the same name.
    std::ifstream holdReport(folder_ / "wall.tq4o"), holdPlot(folder_ / "wall.tq4p");
    run(kShortWall, "wall.tq4o", "wall.tq4p");
  }
  for (int k = 0; k < 2; ++k) {
    ASSERT_EQ(stat((folder_ / outputs[k].first).c_str(), &after[k]), 0);
    EXPECT_EQ(after[k].st_ino, before[k].st_ino) << outputs[k].first;
    EXPECT_EQ(after[k].st_mode & 07777, static_cast<mode_t>(outputs[k].second)) << outputs[k].first;
    EXPECT_LT(after[k].st_size, 100000) << outputs[k].first;
  }
  EXPECT_NE(text("wall.tq4o").find("END OF ANALYSIS"), std::string::npos);
}

TEST_F(RunFolder, AnOutputThatCannotBeWrittenEndsTheRunWithAMessage) {
  const auto runTold = [this] {
    fs::remove(folder_ / "messages.txt");
    run(kShortWall, "wall.tq4o", "wall.tq4p");
    return text("messages.txt");
  };
  const std::string report = (folder_ / "wall.tq4o").string();
  fs::create_directory(folder_ / "wall.tq4o");  // a folder where the report belongs
  EXPECT_EQ(runTold(), " CANNOT CREATE THE OUTPUT FILES OF THE ANALYSIS\nCANNOT WRITE " + report +
                           ": " + std::strerror(EISDIR) + "\n");
  fs::remove(folder_ / "wall.tq4o");
  // A report the user made read-only is refused, not replaced. Whoever may
  // write it all the same (the superuser) has it written in place.
  std::ofstream(folder_ / "wall.tq4o") << "kept";
  fs::permissions(folder_ / "wall.tq4o", fs::perms::owner_read);
  if (access((folder_ / "wall.tq4o").c_str(), W_OK) == 0) return;
  EXPECT_EQ(runTold(), " CANNOT CREATE THE OUTPUT FILES OF THE ANALYSIS\nCANNOT WRITE " + report +
                           ": " + std::strerror(EACCES) + "\n");
  EXPECT_EQ(text("wall.tq4o"), "kept");
}

// An output on a device that takes nothing (a full disk, as far as the
// engine can tell): the run ends and says which file and why, rather than
// pass a cut report off as the analysis.
TEST_F(RunFolder, AFailedWriteIsToldToTheCaller) {
  ASSERT_TRUE(fs::exists("/dev/full"));
  fs::create_symlink("/dev/full", folder_ / "full.tq4p");
  EXPECT_EQ(run(kLongWall, "wall.tq4o", "full.tq4p"), engine::RunStatus::OutputNotWritten);
  EXPECT_EQ(text("messages.txt"),
            "CANNOT WRITE " + (folder_ / "full.tq4p").string() + ": " + std::strerror(ENOSPC) + "\n");
}

}  // namespace
}  // namespace terraq::test
