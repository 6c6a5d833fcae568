// Where the programs look for what ships with them: beside themselves first
// (the build tree), then in the folders the install rules fill.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "CliTestFiles.h"
#include "platform/InstallPaths.h"

namespace fs = std::filesystem;
using namespace terraq::ui;
using terraq::test::ScratchFolder;

namespace {

void Touch(const fs::path& file) {
  fs::create_directories(file.parent_path());
  std::ofstream(file) << "x";
}

}  // namespace

// The lookup must agree with the install rules' destinations, under any prefix.
TEST(InstallPaths, InstalledFoldersAreTheInstallDestinations) {
  const fs::path prefix = "/opt/somewhere";
  EXPECT_EQ(InstalledLibraryFolder(prefix / "bin"), prefix / TERRAQ_TEST_ENGINE_DIR);
  EXPECT_EQ(InstalledDataFolder(prefix / "bin"), prefix / TERRAQ_TEST_DATA_DIR);
}

TEST(InstallPaths, BesideTheProgramComesFirstThenTheInstalledFolder) {
  ScratchFolder scratch;
  const fs::path bin = scratch.path() / "bin";
  const fs::path installed = scratch.path() / TERRAQ_TEST_DATA_DIR / "doc/index.html";
  EXPECT_TRUE(FindProgramFile("doc/index.html", bin).empty());
  Touch(installed);
  EXPECT_EQ(FindProgramFile("doc/index.html", bin), installed);
  Touch(bin / "doc/index.html");
  EXPECT_EQ(FindProgramFile("doc/index.html", bin), bin / "doc/index.html");

  const fs::path engine = scratch.path() / TERRAQ_TEST_ENGINE_DIR / "engine.so";
  Touch(engine);
  EXPECT_EQ(FindIn(LibraryFolders(bin), "engine.so"), engine);
}
