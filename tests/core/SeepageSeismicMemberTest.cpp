// The project's seepage and seismic members: written and read back whole,
// refused with the reason when malformed, kept by a save of every member and
// converted with the data file's units.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "api/EngineRoute.h"
#include "project/JsonText.h"
#include "project/ProjectMembers.h"
#include "project/SeepageMember.h"
#include "project/SeismicMember.h"
#include "project/SequentialRun.h"
#include "project/TProject.h"

namespace terraq::ui {
namespace {

namespace fs = std::filesystem;
namespace api = engine::api;

ProjectFile WithMember(std::string_view key, std::string_view member, std::string& error) {
  ProjectFile project;
  if (std::optional<JsonValue> value = ParseJson(member, error)) project.set(key, *value);
  return project;
}

TEST(SeepageSeismicMembers, RoundTripBesideTheDataFileAndInOtherUnits) {
  std::string error;
  const auto seepage = ReadSeepage(WithMember(kSeepageMember, R"({"method": "flow-net",
      "base": 30, "retainedWidth": 40, "frontWidth": 25, "meshRefinement": 2,
      "layers": [{"kx": 1e-5, "kz": 2e-6}, {"kx": 3e-4, "kz": 3e-4}],
      "checks": {"hydDestabilising": 1.4, "pipingFactor": 2, "upliftLayer": 2}})",
                                              error),
                                   2, error);
  ASSERT_TRUE(seepage) << error;
  EXPECT_EQ(seepage->method, api::SeepageMethod::FlowNet);
  EXPECT_EQ(seepage->frontWidth, 25);
  EXPECT_EQ(seepage->layers[0].kz, 2e-6);
  EXPECT_EQ(seepage->checks.hydDestabilising, 1.4);
  EXPECT_EQ(seepage->checks.hydStabilising, 0.9);  // the recommended value, not given
  EXPECT_EQ(seepage->checks.requiredPipingFactor, 2);
  EXPECT_EQ(seepage->checks.upliftLayer, 1u);  // held from 0
  const auto seismic = ReadSeismic(
      WithMember(kSeismicMember, R"({"method": "en1998-5", "kh": 0.15, "kv": -0.05})", error),
      error);
  ASSERT_TRUE(seismic) << error;
  EXPECT_EQ(SeismicWords(seismic), "EN 1998-5 Annex E with kh 0.15, kv -0.05");

  const fs::path folder = fs::temp_directory_path() / ("terraq-ss-" + std::to_string(getpid()));
  fs::create_directories(folder);
  const fs::path data = folder / "wall.tq4d";
  ProjectMembers members;
  members.seepage = seepage;
  members.seismic = seismic;
  EXPECT_TRUE(SaveProjectMembers(data, members, 2).empty());
  MembersFault fault;
  const ProjectMembers read = ReadProjectMembers(data, 2, fault);
  EXPECT_EQ(read.seepage, seepage) << fault.reason;
  EXPECT_EQ(read.seismic, seismic);

  // Metres to inches: lengths and permeabilities by 39.37; kh, kv, factors stay.
  const ProjectMembers english = MembersInUnits(read, 2, 1);
  EXPECT_NEAR(english.seepage->base, 30 / 0.0254, 1e-9);
  EXPECT_NEAR(english.seepage->layers[1].kx, 3e-4 / 0.0254, 1e-15);
  EXPECT_EQ(english.seepage->checks, seepage->checks);
  EXPECT_EQ(english.seismic, seismic);

  // Saved for an English data file, it names its units and reads back only
  // for one: an SI data file refuses the whole project file.
  EXPECT_TRUE(SaveProjectMembers(data, english, 1).empty());
  EXPECT_EQ(ReadProjectMembers(data, 1, fault).seepage, english.seepage) << fault.reason;
  const std::optional<ProjectFile> file = ReadProjectFile(ProjectFilePath(data), error);
  ASSERT_TRUE(file) << error;
  EXPECT_EQ(FormatJson(*file->find(kSeepageMember)->find("units")),
            FormatJson(*ParseJson(R"({"length": "in", "permeability": "in/s"})", error)));
  const ProjectMembers refused = ReadProjectMembers(data, 2, fault);
  EXPECT_FALSE(refused.seepage || refused.seismic);
  EXPECT_EQ(fault.part, MembersFault::Part::ProjectFile);
  EXPECT_NE(fault.reason.find("the project's seepage is in in but the data file in m: its values "
                              "would be taken in the wrong units"),
            std::string::npos)
      << fault.reason;
  fs::remove_all(folder);
}

// The seepage of a project analysed as its run analyses it.
std::optional<api::ProblemResult> FirstProblem(const fs::path& data) {
  std::ifstream in(data, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  std::string error;
  const std::optional<ProjectRunInput> run = ReadProjectRun(data, text.str(), error);
  EXPECT_TRUE(run) << error;
  if (!run) return std::nullopt;
  api::AnalysisResult r = engine::Analyse(text.str(), ProjectAnalysisOptions(*run));
  EXPECT_FALSE(r.error) << r.error->message;
  if (r.error || r.problems.empty()) return std::nullopt;
  return r.problems.front();
}

// The flow-net example and the same wall in English units, converted as the
// program converts a project (its data file and every member) and saved:
// the same flow in inches. Each units system has its own unit weight of
// water (9.81 kN/m³, 62.4 lb/ft³, 0.08 % apart), so the faces' pore
// pressures compare as the pressure heads u / γw they give.
TEST(SeepageSeismicMembers, TheSameWallInEnglishUnitsSeepsAlike) {
  const fs::path examples = fs::path(TERRAQ_SOURCE_DIR) / "examples";
  const fs::path folder = fs::temp_directory_path() / ("terraq-se-" + std::to_string(getpid()));
  fs::create_directories(folder);
  for (const char* name : {"si", "english"}) {
    const fs::path data = folder / (std::string(name) + ".tq4d");
    fs::copy_file(examples / "cantilever-seepage-seismic.tq4d", data,
                  fs::copy_options::overwrite_existing);
    fs::copy_file(examples / "cantilever-seepage-seismic.terraq.json", ProjectFilePath(data),
                  fs::copy_options::overwrite_existing);
  }
  {
    TProject project;
    project.Open(folder / "english.tq4d", kLayoutCurrent);
    ASSERT_EQ(project.Data().Units, 2);
    project.Data().SetUnits(1);
    project.Members() = MembersInUnits(project.Members(), 2, 1);
    project.Save();
    ASSERT_TRUE(project.SaveMembers().empty());
  }
  const std::optional<api::ProblemResult> si = FirstProblem(folder / "si.tq4d");
  const std::optional<api::ProblemResult> en = FirstProblem(folder / "english.tq4d");
  fs::remove_all(folder);
  ASSERT_TRUE(si && en && si->seepage && en->seepage);
  ASSERT_EQ(en->units, 1);
  const api::SeepageSolution &a = *si->seepage, &b = *en->seepage;
  EXPECT_NEAR(b.exitGradient, a.exitGradient, 1e-6 * a.exitGradient);
  ASSERT_TRUE(a.flowRate && b.flowRate);
  EXPECT_NEAR(*b.flowRate * 0.0254 * 0.0254, *a.flowRate, 1e-6 * *a.flowRate);
  for (const double depth : {6.0, 11.0})
    for (const api::WallFace face : {api::WallFace::Retained, api::WallFace::Front}) {
      const double metres = api::PorePressureOnFace(a, face, depth) / a.unitWeightOfWater;
      const double inches = api::PorePressureOnFace(b, face, depth / 0.0254) / b.unitWeightOfWater;
      EXPECT_NEAR(inches * 0.0254, metres, 1e-6 * metres) << depth;
    }
}

TEST(SeepageSeismicMembers, RefuseWithTheReason) {
  const struct {
    std::string_view key, member, says;
  } malformed[] = {
      {kSeepageMember, R"({"method": "darcy"})",
       R"("method" must be one of "hydrostatic", "linear", "flow-net")"},
      {kSeepageMember, R"({"base": -3})", R"("base" must be a number above 0, not -3)"},
      {kSeepageMember, R"({"frontWidth": 0})", R"("frontWidth" must be a number above 0, not 0)"},
      {kSeepageMember, R"({"layers": [{"kx": 1e-5, "kz": 0}]})",
       R"(layer 1: "kz" must be a number above 0, not 0)"},
      {kSeepageMember, R"({"layers": [{"kx": 1e-5}]})", R"(layer 1: "kz" is missing)"},
      {kSeepageMember, R"({"layers": [{"kx": 1e-5, "kz": 1e-5, "ky": 1}]})",
       R"("ky" is not a key this version knows)"},
      {kSeepageMember, R"({"checks": {"upliftLayer": 0}})",
       R"("upliftLayer" must be the number of a soil layer, from 1)"},
      {kSeepageMember, R"({"checks": {"heaveFactor": -1.5}})", R"("heaveFactor" must be a number)"},
      {kSeepageMember, R"({"meshRefinement": 9})", R"("meshRefinement" must be at most 8, not 9)"},
      {kSeepageMember, R"({"flow": 1})", R"("flow" is not a key this version knows)"},
      {kSeismicMember, R"({"method": "rankine"})", R"("method" must be one of "mononobe-okabe")"},
      {kSeismicMember, R"({"kh": 1})", "kh must be from 0 to less than 1, not 1"},
      {kSeismicMember, R"({"kh": -0.1})", "kh must be from 0 to less than 1, not -0.1"},
      {kSeismicMember, R"({"kv": -1})", "kv must lie between -1 and 1, not -1"},
      {kSeismicMember, R"({"kv": "up"})", R"("kv" must be a number)"},
  };
  for (const auto& m : malformed) {
    std::string error;
    const ProjectFile project = WithMember(m.key, m.member, error);
    ASSERT_TRUE(error.empty()) << error;
    const bool read = m.key == kSeepageMember ? ReadSeepage(project, 0, error).has_value()
                                              : ReadSeismic(project, error).has_value();
    EXPECT_FALSE(read) << m.member;
    EXPECT_NE(error.find(m.says), std::string::npos) << error;
    // The whole project file is refused with it, as for every member.
    EXPECT_EQ(MemberFault(project), error);
  }
}

TEST(SeepageSeismicMembers, EveryRunTakesThemAndAStageShakesAlone) {
  // The anchored example's construction sequence, a stage made to shake.
  const fs::path examples = fs::path(TERRAQ_SOURCE_DIR) / "examples";
  const fs::path folder = fs::temp_directory_path() / ("terraq-sr-" + std::to_string(getpid()));
  fs::create_directories(folder);
  const fs::path data = folder / "wall.tq4d";
  fs::copy_file(examples / "sequential-excavation-anchor.tq4d", data,
                fs::copy_options::overwrite_existing);
  std::ifstream in(examples / "sequential-excavation-anchor.terraq.json");
  std::stringstream bytes;
  bytes << in.rdbuf();
  std::string project = bytes.str();
  project.replace(project.find(R"("excavation": 5)"), 15, R"("excavation": 5, "seismic.kh": 0.25)");
  project.replace(project.find(R"("install": ["A1"])"), 17,
                  R"("install": ["A1"], "seepage": "hydrostatic")");
  project.replace(project.rfind('}'), 1,
                  R"(, "seepage": {"method": "linear", "checks": {"heaveFactor": 2}},
      "seismic": {"method": "en1998-5", "kh": 0.1, "kv": 0.05}})");
  std::ofstream(ProjectFilePath(data)) << project;

  std::ifstream dataIn(data);
  std::stringstream text;
  text << dataIn.rdbuf();
  std::string error;
  const std::optional<ProjectRunInput> run = ReadProjectRun(data, text.str(), error);
  ASSERT_TRUE(run) << error;
  const api::AnalysisOptions options = ProjectAnalysisOptions(*run);
  ASSERT_TRUE(options.seepage);
  EXPECT_EQ(options.seepage->method, api::SeepageMethod::Linear);
  EXPECT_EQ(options.seepage->checks.requiredHeaveFactor, 2);
  const api::SeismicOptions member{api::SeismicMethod::Eurocode8, 0.1, 0.05};
  EXPECT_EQ(options.seismic, member);
  ASSERT_TRUE(options.sequential);
  const auto& shaking = options.sequential->stageSeismic;
  ASSERT_EQ(shaking.size(), 4u);
  EXPECT_FALSE(shaking[0] || shaking[1]);
  EXPECT_EQ(shaking[2], (api::SeismicOptions{api::SeismicMethod::Eurocode8, 0.25, 0.05}));
  EXPECT_EQ(shaking[3], shaking[2]);  // held until a stage sets another
  // The second stage keeps its water still; the others seep with the run.
  const auto& seepage = options.sequential->stageSeepage;
  ASSERT_EQ(seepage.size(), 4u);
  EXPECT_FALSE(seepage[0] || seepage[2] || seepage[3]);
  ASSERT_TRUE(seepage[1]);
  EXPECT_EQ(seepage[1]->method, api::SeepageMethod::Hydrostatic);
  EXPECT_EQ(seepage[1]->checks.requiredHeaveFactor, 2);

  // The design library's soil model of the project carries both.
  MembersFault fault;
  const std::optional<design::SoilModel> soil =
      DesignSoilModel(data, ReadProjectMembers(data, 2, fault), text.str(), error);
  ASSERT_TRUE(soil) << error;
  EXPECT_EQ(soil->seismic, member);
  EXPECT_EQ(soil->seepage, options.seepage);
  fs::remove_all(folder);
}

}  // namespace
}  // namespace terraq::ui
