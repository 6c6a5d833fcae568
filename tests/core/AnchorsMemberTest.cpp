// The project's ground-anchor inputs: written and read back whole beside the
// data file, converted with the data file's units, and refused with the
// reason when malformed or written for the other units system.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "project/AnchorsMember.h"
#include "project/JsonText.h"
#include "project/ProjectMembers.h"

namespace terraq::ui {
namespace {

namespace fs = std::filesystem;

ProjectFile WithAnchors(std::string_view member) {
  std::string error;
  ProjectFile project;
  if (std::optional<JsonValue> value = ParseJson(member, error))
    project.set(kAnchorsMember, *value);
  return project;
}

TEST(AnchorsMember, RoundTripBesideTheDataFileAndInOtherUnits) {
  std::string error;
  const auto anchors = ReadAnchors(WithAnchors(R"({"units": {"length": "m", "force": "kN"},
      "transferRates": [120, 95], "fs": 2.5, "lockOffFactor": 0.8,
      "tendons": ["bar1035", "strand"], "spacing": 2.5})"),
                                   2, error);
  ASSERT_TRUE(anchors) << error;
  EXPECT_EQ(anchors->transferRates, (std::vector<double>{120, 95}));
  EXPECT_EQ(anchors->testFactor, 1.33);  // not given: the default
  EXPECT_EQ(anchors->tendons,
            (std::vector{design::TendonKind::Bar1035, design::TendonKind::Strand}));
  EXPECT_FALSE(anchors->inclination);

  const fs::path folder = fs::temp_directory_path() / ("terraq-am-" + std::to_string(getpid()));
  fs::create_directories(folder);
  const fs::path data = folder / "wall.tq4d";
  ProjectMembers members;
  members.anchors = anchors;
  EXPECT_TRUE(SaveProjectMembers(data, members, 2).empty());
  MembersFault fault;
  EXPECT_EQ(ReadProjectMembers(data, 2, fault).anchors, anchors) << fault.reason;
  // The same file read for an English data file is refused whole: 120 kN/m
  // must not be taken as 120 lb/in.
  const ProjectMembers english = ReadProjectMembers(data, 1, fault);
  EXPECT_FALSE(english.anchors);
  EXPECT_EQ(fault.part, MembersFault::Part::ProjectFile);
  EXPECT_NE(fault.reason.find("other units"), std::string::npos) << fault.reason;
  fs::remove_all(folder);

  // kN/m to lb/in: 1 kN/m = 1000 N/m / (4.448 N/lb) * 0.0254 m/in = 5.710 lb/in.
  const design::AnchorInputs converted = AnchorsInUnits(*anchors, 2, 1);
  EXPECT_NEAR(converted.transferRates[0], 120 * 1000 / 4.4482216152605 * 0.0254, 1e-6);
  EXPECT_NEAR(*converted.spacing, 2.5 / 0.0254, 1e-9);
  EXPECT_EQ(converted.bondSafetyFactor, 2.5);
}

TEST(AnchorsMember, RefusesWithTheReason) {
  const struct {
    std::string_view member, says;
  } malformed[] = {
      {R"({"fs": 2})", R"("transferRates" must be a list)"},
      {R"({"transferRates": [120, "x"]})", R"("transferRates" must hold numbers)"},
      {R"({"transferRates": [0]})", "a load-transfer rate must be above 0 kN/m, not 0"},
      {R"({"transferRates": [120], "fs": 0.8})", "factor of safety of the bond must be 1 or more"},
      {R"({"transferRates": [120], "testFactor": 1.2, "lockOffFactor": 1.3})",
       "lock-off load must be above 0 and not above the test load"},
      {R"({"transferRates": [120], "tendons": ["wire"]})",
       R"("tendons" must be a list of strand, bar1035, bar520 or bar550)"},
      {R"({"transferRates": [120], "tendons": []})", "no kind of tendon is allowed"},
      {R"({"transferRates": [120], "inclination": 60})", "from 0 to 45 degrees"},
      {R"({"transferRates": [120], "spacing": 2, "spacin": 2})", R"("spacin")"},
  };
  for (const auto& m : malformed) {
    std::string error;
    EXPECT_FALSE(ReadAnchors(WithAnchors(m.member), 2, error)) << m.member;
    EXPECT_NE(error.find(m.says), std::string::npos) << m.member << ": " << error;
  }
}

}  // namespace
}  // namespace terraq::ui
