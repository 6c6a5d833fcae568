// Measured deflections: the inclinometer CSV read in its units and taken
// into the data file's, its faults refused with the line and the reason,
// and the project's member written and read back beside the data file.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "project/JsonReader.h"
#include "project/MeasurementsCsv.h"
#include "project/ProjectMembers.h"

namespace terraq::ui {
namespace {

namespace fs = std::filesystem;

TEST(Measurements, ProfileReadInItsUnitsAndTakenIntoTheDataFiles) {
  std::string error;
  const auto metric = ParseMeasuredProfile(
      "\xEF\xBB\xBF# I-3, after the second excavation\r\n"
      "Depth_m,Deflection_mm\r\n"
      "\r\n"
      "0.0, 18.2\r\n"
      "2.5,-3  # below the dredge line\r\n",
      error);
  ASSERT_TRUE(metric) << error;
  EXPECT_EQ(metric->depthUnit, "m");
  EXPECT_EQ(metric->deflectionUnit, "mm");
  ASSERT_EQ(metric->readings.size(), 2u);
  // 2.5 m = 98.425 in; -3 mm = -0.11811 in.
  const auto inches = ReadingsInDataUnits(*metric, 1, error);
  ASSERT_TRUE(inches);
  EXPECT_NEAR((*inches)[1].depth, 98.4252, 1e-4);
  EXPECT_NEAR((*inches)[1].deflection, -0.118110, 1e-6);
  EXPECT_FALSE(ReadingsInDataUnits(*metric, 3, error));  // generic units name no length
  // A depth near the largest double is a number in metres but none in inches.
  const auto huge = ParseMeasuredProfile("depth_m,deflection_mm\n1.01e308,16.1\n", error);
  ASSERT_TRUE(huge) << error;
  EXPECT_FALSE(ReadingsInDataUnits(*huge, 1, error));
  EXPECT_NE(error.find("too large"), std::string::npos) << error;

  // Semicolons with decimal commas; feet and inches into metres.
  const auto english = ParseMeasuredProfile("depth_ft;deflection_in\n10;0,5\n", error);
  ASSERT_TRUE(english) << error;
  const auto metres = ReadingsInDataUnits(*english, 2, error);
  EXPECT_NEAR((*metres)[0].depth, 3.048, 1e-12);
  EXPECT_NEAR((*metres)[0].deflection, 0.0127, 1e-12);
}

TEST(Measurements, RefusesWithTheLineAndTheReason) {
  const std::pair<const char*, const char*> cases[] = {
      {"", "no header"},
      {"# only a comment\n", "no header"},
      {"depth_m,deflection_mm\n", "no readings"},
      {"depth_yd,deflection_mm\n0,1\n", "line 1: the header must name two columns"},
      {"deflection_mm,depth_m\n0,1\n", "line 1: the header must name"},
      {"depth_m,deflection_mm\n0,1\n1,2,3\n", "line 3: a reading is two values"},
      {"depth_m,deflection_mm\n0,nan\n", "line 2: the deflection \"nan\" is not a number"},
      {"depth_m,deflection_mm\n1e999,1\n", "line 2: the depth \"1e999\" is not a number"},
      {"depth_m,deflection_mm\n0,1,5\n", "line 2: a reading is two values"},
      {"depth_m,deflection_mm\n-1,1\n", "line 2: the depth is above the top"},
      {"depth_m,deflection_mm\n# gap\n2,1\n2,3\n", "line 4: the depth 2 was read on line 3"},
  };
  for (const auto& [text, why] : cases) {
    std::string error;
    EXPECT_FALSE(ParseMeasuredProfile(text, error)) << text;
    EXPECT_EQ(error.rfind(why, 0), 0u) << text << " gives " << error;
  }
}

TEST(Measurements, MemberRoundTripBesideTheDataFileAndRefusals) {
  const fs::path folder = fs::temp_directory_path() / ("terraq-meas-" + std::to_string(getpid()));
  fs::create_directories(folder);
  const fs::path data = folder / "wall.tq4d";
  Measurements m;
  m.stages.push_back({2, "I-3 stage 2.csv", {{0, 0.0182}, {0.5, -1.0 / 3}}});
  m.stages.push_back({1, "I-3 stage 1.csv", {{1.25, 0.004}}});
  ProjectMembers members;
  members.measurements = m;
  EXPECT_TRUE(SaveProjectMembers(data, members, 2).empty());
  MembersFault fault;
  const ProjectMembers read = ReadProjectMembers(data, 2, fault);
  EXPECT_EQ(read.measurements, m) << fault.reason;  // to the last bit
  // The same file read for a data file in inches is refused, with the reason.
  const ProjectMembers inches = ReadProjectMembers(data, 1, fault);
  EXPECT_FALSE(inches.measurements);
  EXPECT_NE(fault.reason.find("they are in m but the data file in in"), std::string::npos);
  fs::remove_all(folder);
  EXPECT_NEAR(MembersInUnits(read, 2, 1).measurements->stages[0].readings[1].depth, 0.5 / 0.0254,
              1e-12);

  const std::pair<const char*, const char*> bad[] = {
      {R"({"stages": [{"stage": 0, "readings": [[0, 1]]}]})", "\"stage\" must be a whole number"},
      {R"({"stages": [{"stage": 1, "readings": [[0, 1, 2]]}]})", "is not two numbers"},
      {R"({"stages": [{"stage": 1, "readings": [[0, 1], [0, 2]]}]})", "its depth comes twice"},
      {R"({"stages": [{"stage": 1, "readings": [[0, 1]]}, {"stage": 1, "readings": [[0, 1]]}]})",
       "stage 1 is measured twice"},
      {R"({"units": {"length": "ft"}})", "\"length\" must be \"in\" or \"m\""},
      {R"({"stages": [], "extra": 1})", "\"extra\" is not a key"},
  };
  for (const auto& [member, why] : bad) {
    std::string error;
    ProjectFile project;
    project.set(kMeasurementsMember, *ParseJson(member, error));
    EXPECT_FALSE(ReadMeasurements(project, 2, error)) << member;
    EXPECT_NE(error.find(why), std::string::npos) << member << " gives " << error;
  }
}

}  // namespace
}  // namespace terraq::ui
