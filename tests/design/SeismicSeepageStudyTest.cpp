// The shaking and the seepage where the design library hands them on: a
// study varies seismic.kh and seismic.kv (by Mononobe-Okabe where the
// project's ground is still), a construction stage that sets them shakes
// alone, and the limit equilibrium's soil takes the project's seepage.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "Parameters.h"
#include "SeepageSoil.h"
#include "SequenceAnalysis.h"
#include "SequentialStaging.h"
#include "WallText.h"
#include "api/EngineRoute.h"

namespace terraq::design {
namespace {

namespace api = engine::api;

std::string Example(const char* name) {
  std::ifstream in(std::string(TERRAQ_SOURCE_DIR) + "/examples/" + name, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(SeismicSeepageStudy, StudiesVaryTheSeismicCoefficients) {
  const std::string text = Example("cantilever-sand-generated.tq4d");
  std::string error;
  const auto still = ParameterText::Parse(text, error);
  ASSERT_TRUE(still) << error;
  // Still ground: the names are known, not listed, and kh takes Mononobe-Okabe.
  ASSERT_NE(still->find("seismic.kh"), nullptr);
  EXPECT_EQ(still->validNames().find("seismic"), std::string::npos);
  const auto shaken = still->apply({{"seismic.kh", 0.15}});
  ASSERT_FALSE(shaken.error) << *shaken.error;
  EXPECT_EQ(shaken.soil.seismic, (api::SeismicOptions{api::SeismicMethod::MononobeOkabe, 0.15, 0}));
  EXPECT_EQ(shaken.text, still->apply({}).text);  // the data text is not touched
  const auto tooStrong = still->apply({{"seismic.kh", 1.0}});
  ASSERT_TRUE(tooStrong.error);
  EXPECT_EQ(*tooStrong.error, "seismic.kh: kh must be from 0 to less than 1, not 1");

  // The project's shaking: listed with its values; a study keeps its method.
  SoilModel soil;
  soil.seismic = api::SeismicOptions{api::SeismicMethod::Eurocode8, 0.1, -0.05};
  const auto project = ParameterText::Parse(text, error, soil);
  ASSERT_TRUE(project) << error;
  EXPECT_EQ(project->find("seismic.kv")->value, -0.05);
  EXPECT_NE(project->validNames().find("seismic.kh"), std::string::npos);
  const auto varied = project->apply({{"seismic.kv", 0.05}});
  EXPECT_EQ(varied.soil.seismic, (api::SeismicOptions{api::SeismicMethod::Eurocode8, 0.1, 0.05}));
}

TEST(SeismicSeepageStudy, AStageThatShakesTakesItsOwnCoefficients) {
  std::string error;
  std::optional<WallText> first =
      WallText::Parse(Example("staged-excavation-tieback.tq4d"), 0, error);
  ASSERT_TRUE(first) << error;
  first->setStage(1, 1);
  SequentialPlan plan;
  plan.stages = {{"Dig", {{"excavation", 2.0}}, {}, {}},
                 {"Quake", {{"seismic.kh", 0.2}}, {}, {}},
                 {"Aftershock", {{"seismic.kv", -0.05}}, {}, {}}};
  const std::optional<SequenceData> s = BuildSequence(first->text(), plan, error);
  ASSERT_TRUE(s) << error;
  EXPECT_EQ(s->stageTexts[0], s->stageTexts[1]);  // no value of the data text
  // The project's method and kv, the stage's kh; the coefficients hold on.
  const api::SeismicOptions project{api::SeismicMethod::Eurocode8, 0.1, 0.02};
  const api::SequentialOptions own = SequenceEngineSupports(*s, plan, project);
  ASSERT_EQ(own.stageSeismic.size(), 3u);
  EXPECT_FALSE(own.stageSeismic[0]);
  EXPECT_EQ(own.stageSeismic[1], (api::SeismicOptions{api::SeismicMethod::Eurocode8, 0.2, 0.02}));
  EXPECT_EQ(own.stageSeismic[2], (api::SeismicOptions{api::SeismicMethod::Eurocode8, 0.2, -0.05}));
  const api::SequentialOptions still = SequenceEngineSupports(*s, plan);
  EXPECT_EQ(still.stageSeismic[1],
            (api::SeismicOptions{api::SeismicMethod::MononobeOkabe, 0.2, 0}));

  plan.stages[1].values = {{"seismic.kh", -0.1}};
  EXPECT_FALSE(BuildSequence(first->text(), plan, error));
  EXPECT_EQ(error, "stage 2 (Quake): kh must be from 0 to less than 1, not -0.1");
}

// A stage's seepage method is its own: it takes the project's flow net
// (base, widths, permeabilities) with its method, and the stage after it
// the project's seepage again.
TEST(SeismicSeepageStudy, AStageTakesItsOwnSeepageMethod) {
  std::string error;
  std::optional<WallText> first =
      WallText::Parse(Example("staged-excavation-tieback.tq4d"), 0, error);
  ASSERT_TRUE(first) << error;
  first->setStage(1, 1);
  SequentialPlan plan;
  plan.stages = {{"Dig", {{"excavation", 2.0}}}, {"Dewater"}, {"Dig on", {{"excavation", 3.0}}}};
  const std::optional<SequenceData> s = BuildSequence(first->text(), plan, error);
  ASSERT_TRUE(s) << error;
  api::SeepageOptions project;
  project.method = api::SeepageMethod::FlowNet;
  project.base = 20;
  project.layers = {{1e-5, 2e-6}};
  EXPECT_TRUE(SequenceEngineSupports(*s, plan, std::nullopt, project).stageSeepage.empty());

  plan.stages[1].seepage = api::SeepageMethod::Linear;
  const api::SequentialOptions own = SequenceEngineSupports(*s, plan, std::nullopt, project);
  ASSERT_EQ(own.stageSeepage.size(), 3u);
  EXPECT_FALSE(own.stageSeepage[0] || own.stageSeepage[2]);
  api::SeepageOptions linear = project;
  linear.method = api::SeepageMethod::Linear;
  EXPECT_EQ(own.stageSeepage[1], linear);
  // Without the project's seepage the stage's method alone.
  EXPECT_EQ(SequenceEngineSupports(*s, plan).stageSeepage[1]->method, api::SeepageMethod::Linear);
}

TEST(SeismicSeepageStudy, TheLimitEquilibriumSoilTakesTheSeepage) {
  // The staged sample's first stage: dug to 2 m, water 4 m down in front.
  std::string error;
  std::optional<WallText> first =
      WallText::Parse(Example("staged-excavation-tieback.tq4d"), 0, error);
  ASSERT_TRUE(first) << error;
  first->setStage(1, 1);
  const std::string text = first->text();
  const api::SoilDescriptions read = engine::ReadSoilDescriptions(text);
  ASSERT_FALSE(read.problems.empty());
  const size_t layers = SoilLayerCounts(text).front();
  SoilModel soil;
  soil.seepage.emplace().method = api::SeepageMethod::Linear;
  soil.seepage->layers.assign(layers, {1e-5, 1e-5});
  api::SoilDescriptions soils = read;
  ASSERT_EQ(TakeSeepage(text, soil, soils), "");
  ASSERT_TRUE(soils.problems[0].seepage);
  const api::SeepageResult solved = api::SolveSeepage(
      api::SeepageProblemOf(read.problems[0], *soil.seepage), api::SeepageMethod::Linear);
  ASSERT_TRUE(solved.solution) << solved.message;
  EXPECT_EQ(soils.problems[0].seepage->exitGradient, solved.solution->exitGradient);

  // Permeabilities for another number of layers: said, the soil untouched.
  soil.seepage->layers.assign(layers + 1, {1e-5, 1e-5});
  soils = read;
  EXPECT_EQ(TakeSeepage(text, soil, soils),
            "problem 1: the seepage gives the permeabilities of " + std::to_string(layers + 1) +
                " layers, the data file has " + std::to_string(layers));
  EXPECT_FALSE(soils.problems[0].seepage);
}

}  // namespace
}  // namespace terraq::design
