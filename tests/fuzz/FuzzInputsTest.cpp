// Every input kept for the project-core fuzz targets goes through its
// target's check in the ordinary suite: the inputs that once found a fault
// (tests/data/fuzz-regressions/<target>/) and the seeds the fuzzing starts
// from, which must pass as well.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "DesignCheck.h"
#include "FuzzChecks.h"
#include "MeasurementsCheck.h"
#include "ProjectFileCheck.h"
#include "SectionsCheck.h"
#include "StudyPartCheck.h"
#include "StudyTextCheck.h"
#include "SubgradeCheck.h"

namespace fs = std::filesystem;
using namespace terraq::fuzz;

namespace {

const fs::path kSource = TERRAQ_SOURCE_DIR;

// The files of a folder (none when it is missing), READMEs left out; with
// an extension, only the files that have it.
std::vector<fs::path> filesIn(const fs::path& folder, const std::string& extension = "") {
  std::vector<fs::path> files;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    const std::string name = entry.path().filename().string();
    if (entry.is_regular_file() && name.rfind("README", 0) != 0 &&
        (extension.empty() || entry.path().extension() == extension))
      files.push_back(entry.path());
  }
  return files;
}

std::vector<fs::path> regressions(const std::string& target) {
  return filesIn(kSource / "tests/data/fuzz-regressions" / target);
}

// The data files the data-file targets start from.
std::vector<fs::path> dataFileSeeds() {
  std::vector<fs::path> files = filesIn(kSource / "tests/data/fuzz-seeds", ".tq4d");
  for (const char* folder : {"examples", "tests/data"})
    for (const fs::path& file : filesIn(kSource / folder, ".tq4d")) files.push_back(file);
  return files;
}

std::string bytesOf(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void expectEveryInputPasses(std::vector<fs::path> inputs, const std::vector<fs::path>& more,
                            const std::function<std::string(std::string_view)>& check) {
  inputs.insert(inputs.end(), more.begin(), more.end());
  ASSERT_FALSE(inputs.empty());
  for (const fs::path& input : inputs) EXPECT_EQ(check(bytesOf(input)), "") << input;
}

TEST(FuzzInputs, DataFileRoundTrip) {
  const WorkFolder folder;
  expectEveryInputPasses(regressions("datafile"), dataFileSeeds(),
                         [&](std::string_view bytes) { return CheckDataFileRoundTrip(bytes, folder); });
}

TEST(FuzzInputs, EntryEvaluation) {
  expectEveryInputPasses(regressions("evaluator"), filesIn(kSource / "tests/data/fuzz-seeds-evaluator"),
                         CheckEntryEvaluation);
}

TEST(FuzzInputs, ConvertTwice) {
  const WorkFolder folder;
  std::vector<fs::path> seeds = dataFileSeeds();
  for (const fs::path& file : filesIn(kSource / "tests/data/fuzz-seeds-older")) seeds.push_back(file);
  expectEveryInputPasses(regressions("convert"), seeds,
                         [&](std::string_view bytes) { return CheckConvertTwice(bytes, folder); });
}

TEST(FuzzInputs, StagedOpenSave) {
  const WorkFolder folder;
  std::vector<fs::path> seeds = dataFileSeeds();
  for (const fs::path& file : filesIn(kSource / "tests/data/fuzz-seeds-older")) seeds.push_back(file);
  expectEveryInputPasses(regressions("staged"), seeds,
                         [&](std::string_view bytes) { return CheckStagedOpenSave(bytes, folder); });
}

TEST(FuzzInputs, Design) {
  expectEveryInputPasses(regressions("design"), dataFileSeeds(), CheckDesign);
}

TEST(FuzzInputs, PlotFile) {
  std::vector<fs::path> seeds = filesIn(kSource / "tests/data", ".tq4p");
  for (const fs::path& file : filesIn(kSource / "examples", ".tq4p")) seeds.push_back(file);
  expectEveryInputPasses(regressions("plotfile"), seeds, CheckPlotFile);
}

TEST(FuzzInputs, StudyPart) {
  const WorkFolder folder;
  expectEveryInputPasses(
      regressions("studypart"), filesIn(kSource / "tests/data/fuzz-seeds-studypart"),
      [&](std::string_view bytes) { return CheckStudyPart(bytes, folder.Path()); });
}

TEST(FuzzInputs, ProjectFile) {
  const WorkFolder folder;
  std::vector<fs::path> seeds = filesIn(kSource / "tests/data/fuzz-seeds-projectfile");
  for (const char* folderName : {"examples", "tests/data"})
    for (const fs::path& file : filesIn(kSource / folderName, ".json")) seeds.push_back(file);
  expectEveryInputPasses(regressions("projectfile"), seeds,
                         [&](std::string_view bytes) { return CheckProjectFile(bytes, folder); });
}

TEST(FuzzInputs, StudyTexts) {
  expectEveryInputPasses(regressions("studytext"),
                         filesIn(kSource / "tests/data/fuzz-seeds-studytext"), CheckStudyTexts);
}

TEST(FuzzInputs, SectionLibrary) {
  std::vector<fs::path> seeds = filesIn(kSource / "tests/data/fuzz-seeds-sections");
  for (const fs::path& file : filesIn(kSource / "resources/sections")) seeds.push_back(file);
  expectEveryInputPasses(regressions("sections"), seeds, CheckSections);
}

TEST(FuzzInputs, Measurements) {
  expectEveryInputPasses(regressions("measurements"),
                         filesIn(kSource / "tests/data/fuzz-seeds-measurements"),
                         CheckMeasurements);
}

TEST(FuzzInputs, Subgrade) {
  expectEveryInputPasses(regressions("subgrade"), dataFileSeeds(), CheckSubgrade);
}

}  // namespace
