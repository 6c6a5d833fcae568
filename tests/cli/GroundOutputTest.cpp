// terraq run's seepage and shaking: each problem's seepage (its pore
// pressures on both faces, checked against the equal-path head loss worked
// by hand) and hydraulic checks with the project's factors, its seismic
// coefficients, in the JSON and the text; the project's shaking named, and
// a member out of range refused before anything runs.
#include <gtest/gtest.h>

#include "CliTestFiles.h"
#include "CommandRunner.h"
#include "SummaryOutput.h"
#include "api/Analysis.h"
#include "project/JsonReader.h"
#include "project/SequentialRun.h"

using namespace terraq::test;
namespace api = terraq::engine::api;

namespace {

// A 12 m wall dug to 6 m in one sand layer: water 1 m below the top behind
// it, at the excavation level in front.
api::SeepageProblem Dig() {
  api::SeepageProblem p;
  p.units = 2;
  p.excavationLevel = 6;
  p.retainedWater = 1;
  p.frontWater = 6;
  p.tip = 12;
  p.layers = {{.thickness = 30, .kx = 1e-5, .kz = 1e-5, .unitWeight = 20}};
  return p;
}

const terraq::ui::JsonValue& At(const terraq::ui::JsonValue& v, const char* key) {
  static const terraq::ui::JsonValue none;
  const terraq::ui::JsonValue* found = v.find(key);
  EXPECT_TRUE(found) << key;
  return found ? *found : none;
}

}  // namespace

TEST(GroundOutput, EachProblemGivesItsSeepageChecksAndSeismicCoefficients) {
  const api::SeepageProblem dig = Dig();
  api::SeepageOptions options;
  options.method = api::SeepageMethod::Linear;
  options.checks.requiredHeaveFactor = 2.5;
  api::AnalysisResult analysis;
  api::ProblemResult& problem = analysis.problems.emplace_back();
  problem.units = 2;
  problem.seepage = api::SolveSeepage(dig, api::SeepageMethod::Linear).solution;
  ASSERT_TRUE(problem.seepage);
  problem.hydraulicChecks = api::CheckHydraulicFailure(dig, *problem.seepage, options.checks);
  problem.seismic = api::SeismicOptions{api::SeismicMethod::MononobeOkabe, 0.15, 0};
  problem.seismicCoefficients = {{1, api::Side::Backfill, 8.53, 0.42, 4.1, 0.33, 3.0, ""}};
  terraq::ui::RunSummary summary = terraq::ui::SummarizeAnalysis(analysis, "");
  terraq::ui::ProjectRunInput project;
  project.seepage = options;
  project.seismic = problem.seismic;
  terraq::ui::AddProjectToSummary(project, summary);

  std::string error;
  const auto json = terraq::ui::ParseJson(terraq::cli::FormatSummaryJson(summary, {}), error);
  ASSERT_TRUE(json) << error;
  const terraq::ui::JsonValue& p = At(*json, "problems").items.at(0);
  const terraq::ui::JsonValue& seepage = At(p, "seepage");
  EXPECT_EQ(At(seepage, "method").string, "linear");
  // Equal path: 11 m down behind the wall, 6 m up in front, 5 m of head lost.
  EXPECT_NEAR(At(seepage, "exitGradient").number, 5.0 / 17, 1e-9);
  const double tip = 9.81 * (12 - 1 - 5.0 * 11 / 17);  // γw (h + z) at the tip, kN/m²
  for (const char* face : {"retainedFace", "frontFace"}) {
    const terraq::ui::JsonValue& last = At(seepage, face).items.back();
    EXPECT_NEAR(At(last, "depth").number, 12, 1e-9);
    EXPECT_NEAR(At(last, "porePressure").number, tip, 1e-6) << face;
  }
  EXPECT_EQ(At(At(seepage, "units"), "porePressure").string, "kN/m^2");
  const terraq::ui::JsonValue& checks = At(seepage, "checks");
  EXPECT_EQ(At(At(checks, "heave"), "required").number, 2.5);  // the project's, not 1.5
  EXPECT_EQ(At(At(checks, "piping"), "required").number, 1.5);
  EXPECT_EQ(At(checks, "uplift").type, terraq::ui::JsonValue::Type::Null);
  const terraq::ui::JsonValue& seismic = At(p, "seismic");
  EXPECT_EQ(At(seismic, "method").string, "mononobe-okabe");
  EXPECT_EQ(At(At(seismic, "coefficients").items.at(0), "staticKah").number, 0.33);

  const std::string text = terraq::cli::FormatSummaryText(summary, {});
  EXPECT_TRUE(
      contains(text, "\n   seepage  Linear (equal path): exit gradient 0.2941; heave factor "))
      << text;
  EXPECT_TRUE(contains(text,
                       "\n   seismic  Mononobe-Okabe with kh 0.15, kv 0: layer 1 backfill "
                       "Kah 0.42 (static 0.33)\n"))
      << text;
}

TEST(GroundOutput, TheProjectsShakingIsNamedAndOneOutOfRangeRefused) {
  ScratchFolder work;
  const fs::path data = work.path() / "wall.tq4d";
  fs::copy_file(fs::path(TERRAQ_SOURCE_DIR) / "examples" / "cantilever-sand-generated.tq4d", data);
  const auto project = [&](const std::string& member) {
    std::ofstream(work.path() / "wall.terraq.json")
        << R"({"format": "terraq-project", "version": 1, "seismic": )" << member << "}\n";
  };
  project(R"({"kh": 0.1})");
  const Outcome named = runTerraq("run " + quoted(data.string()), work.path());
  EXPECT_TRUE(contains(named.out,
                       "with the ground shaking by Mononobe-Okabe with kh 0.1, kv 0 "
                       "(the project's)\n"))
      << named.out << named.err;

  const std::string before = ReadFile(work.path() / "wall.tq4o");
  project(R"({"kh": 1.5})");
  const Outcome refused = runTerraq("run --json " + quoted(data.string()), work.path());
  EXPECT_NE(refused.status, 0);
  EXPECT_TRUE(contains(refused.err,
                       "the project's seismic coefficients: kh must be from 0 to "
                       "less than 1, not 1.5"))
      << refused.err;
  EXPECT_EQ(ReadFile(work.path() / "wall.tq4o"), before);
}
