// The project's excavation member: read, saved beside the data file with
// the other members and read back whole, converted with the data file's
// units, and refused with the reason when malformed or in the other units.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "project/ExcavationMember.h"
#include "project/JsonText.h"
#include "project/ProjectMembers.h"

namespace terraq::ui {
namespace {

namespace fs = std::filesystem;

ProjectFile WithExcavation(std::string_view member) {
  std::string error;
  ProjectFile project;
  if (std::optional<JsonValue> value = ParseJson(member, error))
    project.set(kExcavationMember, *value);
  EXPECT_TRUE(error.empty()) << error;
  return project;
}

TEST(ExcavationMember, RoundTripBesideTheDataFileAndInOtherUnits) {
  std::string error;
  const auto plan = ReadExcavation(WithExcavation(R"({"units": {"length": "m"}, "width": 4.5,
      "length": 14, "firmStratumDepth": 3, "anchorFree": [6, 5.5], "anchorBond": [5, 4]})"),
                                   2, error);
  ASSERT_TRUE(plan) << error;
  EXPECT_EQ(plan->length, 14);
  EXPECT_EQ(plan->firmStratumDepth, 3);
  EXPECT_EQ(plan->anchorBond, (std::vector<double>{5, 4}));

  const fs::path folder = fs::temp_directory_path() / ("terraq-ex-" + std::to_string(getpid()));
  fs::create_directories(folder);
  const fs::path data = folder / "wall.tq4d";
  ProjectMembers members;
  members.excavation = plan;
  members.seismic = engine::api::SeismicOptions{};
  EXPECT_TRUE(SaveProjectMembers(data, members, 2).empty());
  MembersFault fault;
  const ProjectMembers read = ReadProjectMembers(data, 2, fault);
  EXPECT_EQ(read.excavation, plan) << fault.reason;
  EXPECT_EQ(read.seismic, members.seismic);
  // Written in metres, it is refused for a data file in inches, whole.
  const ProjectMembers english = ReadProjectMembers(data, 1, fault);
  EXPECT_FALSE(english.excavation || english.seismic);
  EXPECT_NE(fault.reason.find("it is in m but the data file in in"), std::string::npos)
      << fault.reason;
  fs::remove_all(folder);

  // Metres to inches: every value a length.
  const design::ExcavationPlan inches = ExcavationInUnits(*plan, 2, 1);
  EXPECT_NEAR(inches.width, 4.5 / 0.0254, 1e-9);
  EXPECT_NEAR(*inches.firmStratumDepth, 3 / 0.0254, 1e-9);
  EXPECT_NEAR(inches.anchorFree[1], 5.5 / 0.0254, 1e-9);
}

TEST(ExcavationMember, RefusesWithTheReason) {
  const struct {
    std::string_view member, says;
  } malformed[] = {
      {R"({"width": 10, "length": 8})", "length must be 0 (a long cut) or at least its width"},
      {R"({"width": -1})", "width must be a number of 0 or more"},
      {R"({"firmStratumDepth": 0})", "firm stratum's depth below the excavation level"},
      {R"({"anchorBond": [5, 0]})", "bond lengths must be numbers above 0"},
      {R"({"anchorFree": [5, "x"]})", R"("anchorFree" must be a list of numbers)"},
      {R"({"units": {"length": "ft"}})", "it is in ft but the data file in m"},
      {R"({"depth": 3})", R"("depth" is not a key this version knows)"},
  };
  for (const auto& m : malformed) {
    std::string error;
    EXPECT_FALSE(ReadExcavation(WithExcavation(m.member), 2, error)) << m.member;
    EXPECT_NE(error.find(m.says), std::string::npos) << error;
  }
}

}  // namespace
}  // namespace terraq::ui
