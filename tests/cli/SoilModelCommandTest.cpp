// terraq run on a project whose project file chooses the subgrade-reaction
// soil model: the plain, staged, sequential and sectioned runs hand it to
// the engine and say so, and layers that do not fit the data file stop the
// run with the earlier outputs kept.

#include <gtest/gtest.h>

#include <cmath>

#include "CliTestFiles.h"
#include "CommandRunner.h"

using namespace terraq::test;

namespace {

const fs::path kExamples = fs::path(TERRAQ_SOURCE_DIR) / "examples";

// A project file choosing the subgrade-reaction model for `layers` soil
// layers, kh from `khTop` kN/m3 to three times that.
std::string SoilModelProject(int layers, double khTop) {
  std::string text = R"({"format": "terraq-project", "version": 1, "soilModel": {
    "model": "subgrade", "units": {"subgradeModulus": "kN/m3"}, "layers": [)";
  for (int k = 0; k < layers; ++k)
    text += std::string(k ? ", " : "") + R"({"khTop": )" + std::to_string(khTop) +
            R"(, "khBottom": )" + std::to_string(3 * khTop) +
            R"(, "k0": 0, "ocr": 1, "reloadRatio": 2})";
  return text + "]}}\n";
}

void Write(const fs::path& file, const std::string& text) {
  std::ofstream(file, std::ios::binary) << text;
}

}  // namespace

TEST(SoilModelCommand, TheProjectsSoilModelReachesTheEngineInEveryRun) {
  // The anchored example generates its earth pressure from its one layer:
  // without its sequence, a plain run.
  ScratchFolder work;
  const fs::path data = work.path() / "wall.tq4d";
  fs::copy_file(kExamples / "sequential-excavation-anchor.tq4d", data);
  const Outcome py = runTerraq("run --json " + quoted(data.string()), work.path());
  ASSERT_EQ(py.status, 0) << py.err;
  EXPECT_FALSE(contains(py.out, "soilModel")) << py.out;
  const std::string pyReport = ReadFile(work.path() / "wall.tq4o");
  // The p-y model named, its layers kept for later: the same outputs.
  std::string pyProject = SoilModelProject(1, 12000);
  pyProject.replace(pyProject.find("subgrade\""), 9, "p-y\"");
  Write(work.path() / "wall.terraq.json", pyProject);
  const Outcome named = runTerraq("run --json " + quoted(data.string()), work.path());
  EXPECT_TRUE(contains(named.out, "\"soilModel\": \"p-y\"")) << named.out << named.err;
  EXPECT_TRUE(ReadFile(work.path() / "wall.tq4o") == pyReport);

  Write(work.path() / "wall.terraq.json", SoilModelProject(1, 12000));
  const Outcome subgrade = runTerraq("run --json " + quoted(data.string()), work.path());
  EXPECT_TRUE(contains(subgrade.out, "\"soilModel\": \"subgrade\"")) << subgrade.out;
  EXPECT_EQ(subgrade.status, 0) << subgrade.err;
  EXPECT_TRUE(ReadFile(work.path() / "wall.tq4o") != pyReport) << subgrade.err;
  const Outcome text = runTerraq("run " + quoted(data.string()), work.path());
  EXPECT_TRUE(contains(text.out, "with the soil as subgrade-reaction springs")) << text.out;

  // Two layers for the data file's one: refused, the outputs as they were.
  const std::string before = ReadFile(work.path() / "wall.tq4o");
  Write(work.path() / "wall.terraq.json", SoilModelProject(2, 12000));
  const Outcome refused = runTerraq("run " + quoted(data.string()), work.path());
  EXPECT_NE(refused.status, 0);
  EXPECT_TRUE(contains(refused.err,
                       "the project's soil model: the subgrade-reaction model gives "
                       "2 layers, the data file has 1"))
      << refused.err;
  EXPECT_TRUE(ReadFile(work.path() / "wall.tq4o") == before);

  // A staged data file, a construction sequence and a run with a section
  // named on the command line take the same member.
  const fs::path staged = work.path() / "staged.tq4d";
  fs::copy_file(kExamples / "staged-excavation-tieback.tq4d", staged);
  Write(work.path() / "staged.terraq.json", SoilModelProject(1, 12000));
  const fs::path sequence = work.path() / "sequence.tq4d";
  fs::copy_file(kExamples / "sequential-excavation-anchor.tq4d", sequence);
  std::string project = ReadFile(kExamples / "sequential-excavation-anchor.terraq.json");
  project.insert(project.rfind('}'), R"(, "soilModel": {"model": "subgrade", "layers": [
    {"khTop": 12000, "khBottom": 36000, "k0": 0, "ocr": 1, "reloadRatio": 2}]})");
  Write(work.path() / "sequence.terraq.json", project);
  for (const std::string& args :
       {"run --json " + quoted(staged.string()), "run --json " + quoted(sequence.string()),
        "run --json --section AZ18 " + quoted(staged.string())}) {
    const Outcome run = runTerraq(args, work.path());
    EXPECT_EQ(run.status, 0) << args << "\n" << run.err;
    EXPECT_TRUE(contains(run.out, "\"soilModel\": \"subgrade\"")) << args << "\n"
                                                                  << run.out << run.err;
  }
}

// The design and study commands analyse on the project's springs: the
// design says so and finds another factor than on the p-y curves, the study
// lists and varies the springs' parameters in their unit, and layers that do
// not fit are refused before any design.
TEST(SoilModelCommand, DesignAndStudyStandOnTheProjectsSprings) {
  ScratchFolder work;
  const fs::path data = work.path() / "wall.tq4d";
  fs::copy_file(kExamples / "sequential-excavation-anchor.tq4d", data);
  const std::string design = "design --json " + quoted(data.string());
  const Outcome py = runTerraq(design, work.path());
  EXPECT_FALSE(contains(py.out, "soilModel")) << py.out;
  const Outcome pyVary =
      runTerraq("study " + quoted(data.string()) + " --vary layer.1.khTop=1e4,2e4", work.path());
  EXPECT_NE(pyVary.status, 0);
  EXPECT_TRUE(contains(pyVary.err, "the p-y model")) << pyVary.err;

  Write(work.path() / "wall.terraq.json", SoilModelProject(1, 12000));
  const Outcome springs = runTerraq(design, work.path());
  EXPECT_TRUE(contains(springs.out, "\"soilModel\": \"subgrade\"")) << springs.out << springs.err;
  const auto factor = [](const std::string& out) {
    const size_t at = out.find("\"strengthReductionFactor\": ");
    return at == std::string::npos ? std::string() : out.substr(at + 27, 8);
  };
  EXPECT_NE(factor(springs.out), factor(py.out)) << springs.out;
  const Outcome list = runTerraq("study --list " + quoted(data.string()), work.path());
  EXPECT_TRUE(contains(list.out, "layer.1.khBottom")) << list.out << list.err;
  EXPECT_TRUE(contains(list.out, "kN/m^3")) << list.out;
  const Outcome vary =
      runTerraq("study " + quoted(data.string()) + " --vary layer.1.khTop=6000,24000", work.path());
  EXPECT_EQ(vary.status, 0) << vary.err;

  Write(work.path() / "wall.terraq.json", SoilModelProject(2, 12000));
  const Outcome refused = runTerraq(design, work.path());
  EXPECT_NE(refused.status, 0);
  EXPECT_TRUE(contains(refused.err, "2 layers, the data file has 1")) << refused.err;
}

// The project's earth-pressure theories: the run says so and gives each
// layer's coefficients, Coulomb's behind the wall by its closed form
// (φ' = 32°, δ = φ'/2, level ground); without the member the output is as
// it was.
TEST(SoilModelCommand, TheProjectsEarthPressureTheoriesReachTheRun) {
  ScratchFolder work;
  const fs::path data = work.path() / "wall.tq4d";
  fs::copy_file(kExamples / "sequential-excavation-anchor.tq4d", data);
  const Outcome rankine = runTerraq("run --json " + quoted(data.string()), work.path());
  ASSERT_EQ(rankine.status, 0) << rankine.err;
  EXPECT_FALSE(contains(rankine.out, "earthPressure")) << rankine.out;
  const std::string rankineReport = ReadFile(work.path() / "wall.tq4o");

  Write(work.path() / "wall.terraq.json", R"({"format": "terraq-project", "version": 1,
    "earthPressure": {"backfill": {"theory": "coulomb", "wallFriction": 0.5},
                      "excavation": {"theory": "log-spiral", "wallFriction": 0.5}}})");
  const Outcome rough = runTerraq("run --json " + quoted(data.string()), work.path());
  ASSERT_EQ(rough.status, 0) << rough.err;
  const double pi = std::acos(-1.0), phi = 32 * pi / 180, delta = phi / 2;
  const double r = std::sqrt(std::sin(phi + delta) * std::sin(phi) / std::cos(delta));
  const double Kah = std::pow(std::cos(phi) / (1 + r), 2);
  const std::string backfill =
      R"({"layer": 1, "face": "backfill", "method": "coulomb", "delta": 16, "Kah": )";
  const size_t at = rough.out.find(backfill);
  ASSERT_NE(at, std::string::npos) << rough.out;
  EXPECT_NEAR(std::stod(rough.out.substr(at + backfill.size())), Kah, 1e-9);
  EXPECT_TRUE(contains(
      rough.out, R"({"layer": 1, "face": "excavation", "method": "log-spiral", "delta": 16,)"))
      << rough.out;
  EXPECT_TRUE(ReadFile(work.path() / "wall.tq4o") != rankineReport);
  const Outcome text = runTerraq("run " + quoted(data.string()), work.path());
  EXPECT_TRUE(contains(text.out,
                       "with the earth-pressure theories backfill Coulomb with delta/phi' "
                       "0.5, excavation Log-spiral with delta/phi' 0.5 (the project's)"))
      << text.out;
}
