// The project's soil model: written and read back whole in the data file's
// units, refused when malformed or in the other units (converted with them:
// ProjectMembersTest; another number of layers than the data file:
// SoilModelCommandTest).
#include "project/SoilModelMember.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "project/JsonText.h"

namespace terraq::ui {
namespace {

namespace fs = std::filesystem;

std::string TextOf(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

std::optional<SoilModelChoice> Read(std::string_view member, int unitsCode, std::string& error) {
  ProjectFile project;
  std::optional<JsonValue> value = ParseJson(member, error);
  if (!value) return std::nullopt;
  project.set(kSoilModelMember, *value);
  return ReadSoilModel(project, unitsCode, error);
}

TEST(SoilModelMember, RoundTripsStablyAndRefusesWhatItCannotAnalyse) {
  const SoilModelChoice choice{true, {{12000, 30000, 0, 1, 1}, {30000, 45000.5, 0.55, 2.5, 3}}};
  ProjectFile project;
  project.set("section", JsonValue::Object());
  SetSoilModel(project, choice, 2);
  std::string error;
  std::optional<SoilModelChoice> back = Read(FormatJson(*project.find(kSoilModelMember)), 2, error);
  ASSERT_TRUE(back) << error;
  EXPECT_EQ(*back, choice);
  EXPECT_NE(FormatJson(project.root).find(R"("subgradeModulus": "kN/m3")"), std::string::npos);

  // Saved twice beside a data file, the same bytes; a project without the
  // member writes nothing, and removing it keeps the other members.
  const fs::path folder = fs::temp_directory_path() / ("terraq-soil-" + std::to_string(getpid()));
  fs::create_directories(folder);
  const fs::path data = folder / "wall.tq4d";
  ASSERT_TRUE(SaveProjectSoilModel(data, std::nullopt, 2, error)) << error;
  EXPECT_FALSE(fs::exists(ProjectFilePath(data)));
  ASSERT_TRUE(SaveProjectSoilModel(data, choice, 2, error)) << error;
  const std::string once = TextOf(ProjectFilePath(data));
  ASSERT_TRUE(SaveProjectSoilModel(data, *back, 2, error)) << error;
  EXPECT_EQ(TextOf(ProjectFilePath(data)), once);

  fs::remove_all(folder);

  EXPECT_FALSE(Read(FormatJson(*project.find(kSoilModelMember)), 1, error));
  EXPECT_NE(error.find("is in kN/m3 but the data file in lb/in3"), std::string::npos) << error;
  const char* layer = R"("khTop": 1, "khBottom": 2, "k0": 0, "ocr": 1)";
  const struct {
    std::string member;
    const char* says;
  } malformed[] = {
      {R"({"model": "winkler"})", R"("model" is "subgrade" or "p-y")"},
      {R"({"model": "subgrade"})", "has no \"layers\""},
      {R"({"model": "p-y", "layer": []})", R"("layer" is not a key this version knows)"},
      {std::string(R"({"model": "p-y", "layers": [{)") + layer + "}]}",
       "layer 1 has no \"reloadRatio\""},
      {std::string(R"({"model": "p-y", "layers": [{)") + layer + R"(, "reloadRatio": "1"}]})",
       "layer 1: \"reloadRatio\" must be a number"},
      {std::string(R"({"model": "subgrade", "layers": [{)") + layer + R"(, "reloadRatio": 1},
        {"khTop": -3, "khBottom": 2, "k0": 0, "ocr": 1, "reloadRatio": 1}]})",
       "layer 2: the subgrade modulus at the layer's top must be > 0, not -3"},
      {std::string(R"({"model": "subgrade", "layers": [{)") + layer + R"(, "reloadRatio": 0.5}]})",
       "layer 1: the unloading-reloading stiffness ratio must be >= 1, not 0.5"},
      {R"({"model": "p-y", "units": {"subgradeModulus": 3}})", "must be a text"},
  };
  for (const auto& m : malformed) {
    EXPECT_FALSE(Read(m.member, 2, error)) << m.member;
    EXPECT_NE(error.find("the project's soil model"), std::string::npos) << error;
    EXPECT_NE(error.find(m.says), std::string::npos) << error;
  }
  EXPECT_TRUE(Read(R"({"model": "p-y"})", 1, error)) << error;
  // A modulus not entered yet (0) is kept as the program left it: the run
  // asks for it.
  EXPECT_TRUE(Read(std::string(R"({"model": "subgrade", "layers": [{"khTop": 0, "khBottom": 0,)") +
                       R"( "k0": 0, "ocr": 1, "reloadRatio": 1}]})",
                   2, error))
      << error;
  EXPECT_FALSE(ReadSoilModel(ProjectFile{}, 2, error));
  EXPECT_EQ(error, "");
}

}  // namespace
}  // namespace terraq::ui
