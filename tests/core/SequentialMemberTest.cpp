// The project's construction sequence: written and read back whole in the
// data file's units, refused in the other units system or malformed.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "project/JsonText.h"
#include "project/SequentialMember.h"

namespace terraq::ui {
namespace {

TEST(SequentialMember, RoundTripsAndRefusesOtherUnitsAndMalformedMembers) {
  design::SequentialPlan plan;
  plan.supports = {{.name = "A1", .depth = 1.5, .modulus = 2e8, .area = 8e-4, .freeLength = 8,
                    .inclination = 15, .spacing = 2.5, .prestress = 100, .yieldForce = 600},
                   {.name = "S1", .strut = true, .depth = 0.5, .modulus = 2.1e8, .area = 0.01,
                    .freeLength = 6, .spacing = 4}};
  plan.stages = {{"Excavate", {{"excavation", 2.0}, {"load.1", 0}}, {}, {}},
                 {"Anchor", {}, {"A1", "S1"}, {}, engine::api::SeepageMethod::Linear},
                 {"", {{"water.back", 3.5}}, {}, {"S1"}}};
  ProjectFile project;
  project.set("section", JsonValue::Object());
  SetSequentialPlan(project, plan, 2);
  std::string error;
  const std::optional<JsonValue> back = ParseJson(FormatJson(project.root), error);
  ASSERT_TRUE(back) << error;
  const std::optional<design::SequentialPlan> read = ReadSequentialPlan({*back}, 2, error);
  ASSERT_TRUE(read) << error;
  EXPECT_EQ(*read, plan);
  EXPECT_TRUE(back->find("section"));

  EXPECT_FALSE(ReadSequentialPlan({*back}, 1, error));
  EXPECT_NE(error.find("is in m but the data file in in"), std::string::npos) << error;

  const struct {
    const char* member;
    const char* says;
  } malformed[] = {
      {R"({"supports": [{"name": "A1", "depth": 1}]})", "support A1 has no \"modulus\""},
      {R"({"supports": [{"name": "A1", "kind": "tie"}]})", "\"kind\" is \"anchor\" or \"strut\""},
      {R"({"stages": [{"set": {"excavation": "deep"}}]})", "stage 1: excavation must be a number"},
      {R"({"stages": [{"install": "A1"}]})", "a list of support names"},
      {R"({"stages": {}})", "must be lists"},
      {R"({"stages": [{}, {"name": "Dewater", "seepage": "pumped"}]})",
       R"(stage 2 (Dewater) of the project's construction sequence: "seepage" must be one of )"
       R"("hydrostatic", "linear", "flow-net")"},
  };
  for (const auto& m : malformed) {
    ProjectFile bad;
    bad.set("sequential", *ParseJson(m.member, error));
    EXPECT_FALSE(ReadSequentialPlan(bad, 2, error)) << m.member;
    EXPECT_NE(error.find(m.says), std::string::npos) << error;
  }
  ProjectFile none;
  EXPECT_FALSE(ReadSequentialPlan(none, 2, error));
  EXPECT_EQ(error, "");
  SetSequentialPlan(project, {}, 2);
  EXPECT_FALSE(project.find("sequential"));
}

// The shipped example's project file is as the program writes it: its
// sequence read and written back gives the same bytes.
TEST(SequentialMember, TheExampleIsWrittenAsTheProgramWritesIt) {
  const std::filesystem::path example = std::filesystem::path(TERRAQ_SOURCE_DIR) /
                                        "examples/sequential-excavation-anchor.terraq.json";
  std::string error;
  const std::optional<ProjectFile> project = ReadProjectFile(example, error);
  ASSERT_TRUE(project) << error;
  const std::optional<design::SequentialPlan> plan = ReadSequentialPlan(*project, 2, error);
  ASSERT_TRUE(plan) << error;
  ProjectFile written;
  SetSequentialPlan(written, *plan, 2);
  const std::filesystem::path copy =
      std::filesystem::temp_directory_path() / "terraq-sequence-example.terraq.json";
  ASSERT_TRUE(WriteProjectFile(copy, written, error)) << error;
  std::ifstream a(example, std::ios::binary), b(copy, std::ios::binary);
  const std::string expected{std::istreambuf_iterator<char>(a), {}};
  const std::string got{std::istreambuf_iterator<char>(b), {}};
  std::filesystem::remove(copy);
  EXPECT_EQ(got, expected);
}

}  // namespace
}  // namespace terraq::ui
