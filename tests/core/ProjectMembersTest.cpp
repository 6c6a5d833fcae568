// The project's members held by the one project object: read with the data
// file, changed, saved and read again; the command's reading of the same
// project file sees the same members and refuses the same faults.
#include "project/ProjectMembers.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "project/JsonText.h"
#include "project/ProjectDesignSituations.h"
#include "project/ProjectFile.h"
#include "project/SequentialRun.h"
#include "project/TProject.h"

namespace terraq::ui {
namespace {

namespace fs = std::filesystem;

// Every member, beside the example with a construction sequence (SI).
constexpr std::string_view kOtherMembers = R"({
  "section": {"name": "AZ18", "grade": "S355GP", "spacing": 2.4},
  "designSituations": {"sets": [{"name": "Own", "gammaPhi": 1.3, "gammaG": 1.2}],
                       "chosen": ["DA1-1", "Own"], "minimumSurcharge": 10},
  "design": {"approach": "Own", "appliedTip": 11.2, "engineer": "A. B."},
  "soilModel": {"model": "subgrade", "units": {"subgradeModulus": "kN/m^3"},
                "layers": [{"khTop": 12000, "khBottom": 30000, "k0": 0, "ocr": 1.5,
                            "reloadRatio": 3}]},
  "studies": [{"mode": "probabilistic", "random": [{"name": "layer.1.phi",
               "distribution": "normal", "values": "32, 2"}], "samples": 20, "seed": 7}],
  "later": {"kept": [1, 2.5e-300, "\u00e9"]}})";

class ProjectMembersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("terraq-members-" + std::to_string(::getpid()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    const fs::path examples = fs::path(TERRAQ_SOURCE_DIR) / "examples";
    fs::copy_file(examples / "sequential-excavation-anchor.tq4d", dataFile_);
    std::string error;
    std::optional<ProjectFile> file =
        ReadProjectFile(examples / "sequential-excavation-anchor.terraq.json", error);
    ASSERT_TRUE(file) << error;
    const std::optional<JsonValue> others = ParseJsonUtf8(kOtherMembers, error);
    ASSERT_TRUE(others) << error;
    for (const auto& [key, value] : others->members) file->set(key, value);
    ASSERT_TRUE(WriteProjectFile(ProjectFilePath(dataFile_), *file, error)) << error;
  }
  void TearDown() override { fs::remove_all(folder_); }

  std::string member(std::string_view key) const {
    std::string error;
    const std::optional<ProjectFile> file = ReadProjectFile(ProjectFilePath(dataFile_), error);
    const JsonValue* value = file ? file->find(key) : nullptr;
    return value ? FormatJson(*value) : error;
  }

  // Changes the member `key` of the project file (an empty object when it
  // has none) with `change`.
  void changeMember(std::string_view key, const std::function<void(JsonValue&)>& change) {
    std::string error;
    std::optional<ProjectFile> file = ReadProjectFile(ProjectFilePath(dataFile_), error);
    ASSERT_TRUE(file) << error;
    JsonValue value = file->find(key) ? *file->find(key) : JsonValue::Object();
    change(value);
    file->set(key, value);
    ASSERT_TRUE(WriteProjectFile(ProjectFilePath(dataFile_), *file, error)) << error;
  }

  std::string fileText() const {
    std::ifstream in(ProjectFilePath(dataFile_), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }

  fs::path folder_;
  fs::path dataFile_ =
      fs::temp_directory_path() / ("terraq-members-" + std::to_string(::getpid())) / "wall.tq4d";
};

void ExpectSameMembers(const ProjectMembers& a, const ProjectMembers& b) {
  EXPECT_EQ(a.section, b.section);
  EXPECT_EQ(a.designSituations, b.designSituations);
  EXPECT_EQ(a.sequence, b.sequence);
  EXPECT_EQ(a.soilModel, b.soilModel);
  ASSERT_EQ(a.designRecord.has_value(), b.designRecord.has_value());
  if (!a.designRecord) return;
  EXPECT_EQ(a.designRecord->approach, b.designRecord->approach);
  EXPECT_EQ(a.designRecord->appliedTip, b.designRecord->appliedTip);
  EXPECT_EQ(a.designRecord->engineer, b.designRecord->engineer);
}

TEST_F(ProjectMembersTest, RoundTripThroughTheProjectAsTheCommandSeesIt) {
  TProject program;
  program.Open(dataFile_, kLayoutCurrent);
  ASSERT_EQ(program.ProjectFileFault().part, MembersFault::Part::None)
      << program.ProjectFileFault().reason;
  const ProjectMembers& held = program.Members();
  ASSERT_TRUE(held.section && held.designSituations && held.sequence && held.designRecord &&
              held.soilModel);
  EXPECT_EQ(held.section->spacing, 2.4);
  EXPECT_EQ(held.sequence->supports.front().name, "A1");

  // The command reads the same file with the data text's units.
  const std::string text = program.DataText();
  MembersFault fault;
  ExpectSameMembers(ReadProjectMembers(
                        dataFile_, [&] { return DataTextUnits(text); }, fault),
                    held);
  std::string error;
  EXPECT_EQ(ReadSequencePlan(dataFile_, text, error), held.StagedSequence()) << error;
  const std::optional<design::FactorSet> own = FindProjectFactorSet(held, "Own", error);
  ASSERT_TRUE(own) << error;
  EXPECT_EQ(own->gammaPhi, 1.3);

  // One member changed and saved; the others, the studies and a later
  // version's member come back as they were.
  const std::string studies = member("studies"), later = member("later");
  program.Members().designRecord->engineer = "C. D.";
  program.Data().Modified = true;
  program.Save();
  EXPECT_TRUE(program.SaveMembers().empty());
  TProject reopened;
  reopened.Open(dataFile_, kLayoutCurrent);
  EXPECT_EQ(reopened.Members().designRecord->engineer, "C. D.");
  ExpectSameMembers(reopened.Members(), program.Members());
  EXPECT_EQ(member("studies"), studies);
  EXPECT_EQ(member("later"), later);

  // SI to English: 1 in = 0.0254 m, 1 lb/in² = 6.894757 kN/m², and
  // 1 lb/in³ = 4.4482216 N / (0.0254 m)³ = 271.4471375 kN/m³.
  const ProjectMembers english = MembersInUnits(held, 2, 1);
  EXPECT_NEAR(*english.section->spacing, 2.4 / 0.0254, 1e-9);
  EXPECT_NEAR(*english.designRecord->appliedTip, 11.2 / 0.0254, 1e-9);
  EXPECT_NEAR(*english.designSituations->options.minimumSurcharge, 10 / 6.894757, 1e-5);
  EXPECT_NEAR(english.sequence->supports.front().depth, 1.5 / 0.0254, 1e-9);
  EXPECT_NEAR(english.soilModel->layers.front().khTop, 12000 / 271.4471375, 1e-6);
  EXPECT_EQ(english.soilModel->layers.front().reloadRatio, 3);
}

// A member that cannot be read: the program opens without any member and
// says why, and the command refuses the project with the same words.
TEST_F(ProjectMembersTest, AFaultyMemberIsRefusedAlikeEverywhere) {
  changeMember("design", [](JsonValue& design) {
    design = JsonValue::Object();
    design.set("fs", JsonValue::Number(0.8));
  });

  TProject program;
  program.Open(dataFile_, kLayoutCurrent);
  const MembersFault& fault = program.ProjectFileFault();
  EXPECT_EQ(fault.part, MembersFault::Part::ProjectFile);
  EXPECT_NE(fault.reason.find("wall.terraq.json cannot be used: "), std::string::npos)
      << fault.reason;
  EXPECT_FALSE(program.Members().section || program.Members().sequence);
  std::string error;
  EXPECT_FALSE(ReadSequentialRun(dataFile_, program.DataText(), error));
  EXPECT_EQ(error, fault.reason);

  // Saving the project does not take the members it could not read for
  // members removed: the file stays byte for byte, and a member the
  // engineer sets is refused rather than written beside a faulty one.
  const std::string before = fileText();
  program.Data().Modified = true;
  program.Save();
  EXPECT_TRUE(program.SaveMembers().empty());
  EXPECT_EQ(fileText(), before);
  program.Members().section = WallSection{};
  program.Members().section->name = "AZ26";
  const std::vector<std::string> unsaved = program.SaveMembers();
  ASSERT_EQ(unsaved.size(), 1u);
  EXPECT_NE(unsaved.front().find("kept as it is and the wall's section is not saved"),
            std::string::npos)
      << unsaved.front();
  EXPECT_EQ(fileText(), before);
}

// A sequence in the other units system is the one member left out: a save
// keeps it as it is, and keeps saving the others.
TEST_F(ProjectMembersTest, ASequenceInTheOtherUnitsIsKeptBySaves) {
  changeMember("sequential", [](JsonValue& sequence) {
    std::string error;
    sequence.set("units", *ParseJsonUtf8(R"({"length": "in", "force": "lb", "modulus": "lb/in2",
                                             "area": "in2", "inclination": "deg"})",
                                         error));
  });

  TProject program;
  program.Open(dataFile_, kLayoutCurrent);
  ASSERT_EQ(program.ProjectFileFault().part, MembersFault::Part::Sequence);
  const std::string kept = member("sequential");
  program.Members().designRecord->engineer = "E. F.";
  EXPECT_TRUE(program.SaveMembers().empty());
  EXPECT_EQ(member("sequential"), kept);
  EXPECT_NE(member("design").find("E. F."), std::string::npos);
}

// A soil model in the other units would give moduli 271 times off: the
// project file is refused whole, by the program and the run alike.
TEST_F(ProjectMembersTest, ASoilModelInTheOtherUnitsRefusesTheProjectFile) {
  changeMember("soilModel", [](JsonValue& soil) {
    JsonValue units = JsonValue::Object();
    units.set("subgradeModulus", JsonValue::Text("lbs/in^3"));
    soil.set("units", units);
  });

  TProject program;
  program.Open(dataFile_, kLayoutCurrent);
  const MembersFault& fault = program.ProjectFileFault();
  EXPECT_EQ(fault.part, MembersFault::Part::ProjectFile);
  EXPECT_NE(fault.reason.find("soil model is in lbs/in^3 but the data file in kN/m3"),
            std::string::npos)
      << fault.reason;
  EXPECT_FALSE(program.Members().section || program.Members().soilModel);
  std::string error;
  EXPECT_FALSE(ReadProjectRun(dataFile_, program.DataText(), error));
  EXPECT_EQ(error, fault.reason);
}

}  // namespace
}  // namespace terraq::ui
