// The construction sequence a project keeps beside its data file: saved
// and read again, never written over an unreadable project file, nothing
// written for a project without one, and converted with the units system.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "project/ProjectFile.h"
#include "project/ProjectSequence.h"

namespace terraq::ui {
namespace {

namespace fs = std::filesystem;

design::SequentialPlan AnchoredExcavation() {
  design::SequentialPlan plan;
  plan.supports.push_back({.name = "A1",
                           .depth = 1.5,
                           .modulus = 2.0e8,
                           .area = 8e-4,
                           .freeLength = 8,
                           .inclination = 15,
                           .spacing = 2.5,
                           .prestress = 150,
                           .yieldForce = 600});
  plan.stages = {
      {.name = "Excavate to 2 m", .values = {{"excavation", 2.0}}},
      {.name = "Anchor", .install = {"A1"}},
      {.name = "Excavate to 5 m",
       .values = {{"excavation", 5.0}, {"water.front", 5.5}, {"surcharge", 10}, {"load.1", 20}}}};
  return plan;
}

std::string FileText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class ProjectSequenceFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("terraq-sequence-" +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    dataFile_ = dir_ / "wall.dat";
  }
  void TearDown() override { fs::remove_all(dir_); }

  fs::path dir_, dataFile_;
};

TEST_F(ProjectSequenceFiles, SavedPlanIsReadAgainAndRemovedWhenGone) {
  std::string error;
  // No sequence, no project file: nothing written.
  EXPECT_TRUE(SaveProjectSequence(dataFile_, std::nullopt, 2, error));
  EXPECT_TRUE(SaveProjectSequence(dataFile_, design::SequentialPlan{}, 2, error));
  EXPECT_FALSE(fs::exists(ProjectFilePath(dataFile_)));
  EXPECT_FALSE(ReadProjectSequence(dataFile_, 2, error));
  EXPECT_EQ(error, "");

  const design::SequentialPlan plan = AnchoredExcavation();
  ASSERT_TRUE(SaveProjectSequence(dataFile_, plan, 2, error)) << error;
  EXPECT_EQ(ReadProjectSequence(dataFile_, 2, error), plan) << error;
  // Written for SI, refused for an English data file rather than misread.
  EXPECT_FALSE(ReadProjectSequence(dataFile_, 1, error));
  EXPECT_NE(error, "");

  // The sequence dropped: the member goes, the file's other members stay.
  ASSERT_TRUE(SaveProjectSequence(dataFile_, std::nullopt, 2, error)) << error;
  EXPECT_EQ(FileText(ProjectFilePath(dataFile_)).find("sequential"), std::string::npos);
  EXPECT_FALSE(ReadProjectSequence(dataFile_, 2, error));
  EXPECT_EQ(error, "");
}

TEST_F(ProjectSequenceFiles, UnreadableProjectFileIsNeverWrittenOver) {
  const std::string foreign = "{\"format\": \"something else\"}";
  std::ofstream(ProjectFilePath(dataFile_), std::ios::binary) << foreign;
  std::string error;
  EXPECT_FALSE(SaveProjectSequence(dataFile_, AnchoredExcavation(), 2, error));
  EXPECT_NE(error.find("cannot be read"), std::string::npos) << error;
  EXPECT_EQ(FileText(ProjectFilePath(dataFile_)), foreign);
  error.clear();
  EXPECT_FALSE(ReadProjectSequence(dataFile_, 2, error));
  EXPECT_NE(error, "");
}

TEST(ProjectSequenceUnits, EnglishAndSiConvertEachQuantityByItsOwnFactor) {
  const double metre = 1 / 0.0254;                         // inches
  const double kilonewton = 1000 / 4.4482216152605;        // pounds
  const double kilopascal = kilonewton / (metre * metre);  // lb/in²
  const design::SequentialPlan si = AnchoredExcavation();
  const design::SequentialPlan english = PlanInUnits(si, 2, 1);

  const design::StagedSupport& a = english.supports[0];
  EXPECT_NEAR(a.depth, 1.5 * metre, 1e-9);
  EXPECT_NEAR(a.freeLength, 8 * metre, 1e-9);
  EXPECT_NEAR(a.spacing, 2.5 * metre, 1e-9);
  EXPECT_NEAR(a.modulus, 2.0e8 * kilopascal, 1e-3);  // about 29 000 000 lb/in²
  EXPECT_NEAR(a.area, 8e-4 * metre * metre, 1e-9);   // about 1.24 in²
  EXPECT_NEAR(a.prestress, 150 * kilonewton, 1e-9);
  EXPECT_NEAR(*a.yieldForce, 600 * kilonewton, 1e-9);
  EXPECT_EQ(a.inclination, 15);

  const auto& values = english.stages[2].values;
  EXPECT_NEAR(values[0].second, 5 * metre, 1e-9);         // excavation
  EXPECT_NEAR(values[1].second, 5.5 * metre, 1e-9);       // water.front
  EXPECT_NEAR(values[2].second, 10 * kilopascal, 1e-12);  // surcharge
  EXPECT_NEAR(values[3].second, 20 * kilonewton, 1e-9);   // load.1
  EXPECT_EQ(english.stages[1].install, si.stages[1].install);

  // Back again, and no conversion to or from generic units.
  const design::SequentialPlan back = PlanInUnits(english, 1, 2);
  EXPECT_NEAR(back.supports[0].modulus, 2.0e8, 1e-3);
  EXPECT_NEAR(back.stages[2].values[3].second, 20, 1e-12);
  EXPECT_EQ(PlanInUnits(si, 2, 3), si);
}

}  // namespace
}  // namespace terraq::ui
