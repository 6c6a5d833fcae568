// A construction sequence made into the stages the engine reads: each
// stage's values in force until a later stage changes them, the supports'
// stiffness and forces per wall unit worked by hand, and the sequences that
// cannot be built said so.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

#include "Parameters.h"
#include "SequentialStaging.h"
#include "WallText.h"
#include "api/Analysis.h"

namespace terraq::design {
namespace {

// The staged sample's first stage alone: a 14 m wall (140 increments of
// 0.1 m) in sand, Wa = 1 m, excavated to 2 m.
std::string Base() {
  std::ifstream in(std::string(TERRAQ_SOURCE_DIR) + "/examples/staged-excavation-tieback.tq4d",
                   std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  std::string error;
  std::optional<WallText> first = WallText::Parse(text.str(), 0, error);
  EXPECT_TRUE(first) << error;
  first->setStage(1, 1);
  return first->text();
}

StagedSupport Anchor() {
  StagedSupport a;
  a.name = "A1";
  a.depth = 1.5;
  a.modulus = 2.0e8;  // kPa
  a.area = 8.0e-4;    // m²
  a.freeLength = 8;
  a.inclination = 15;
  a.spacing = 2.5;
  a.prestress = 100;  // kN per anchor
  a.yieldForce = 600;
  return a;
}

SequentialPlan Plan() {
  SequentialPlan plan;
  plan.supports = {Anchor()};
  plan.stages = {{"Excavate to 2 m", {{"excavation", 2.0}}, {}, {}},
                 {"Anchor", {{"water.front", 6.0}}, {"A1"}, {}},
                 {"Excavate to 5 m", {{"excavation", 5.0}}, {}, {}}};
  return plan;
}

TEST(SequentialStaging, StagesKeepTheirValuesAndSupportsArePerWallUnit) {
  std::string error;
  const std::optional<SequenceData> s = BuildSequence(Base(), Plan(), error);
  ASSERT_TRUE(s) << error;
  const std::optional<std::vector<WallText>> stages = WallText::ParseAll(s->text, error);
  ASSERT_TRUE(stages) << error;
  ASSERT_EQ(stages->size(), 3u);
  for (int k = 0; k < 3; ++k) EXPECT_EQ((*stages)[size_t(k)].endCode(), k + 1);
  const std::optional<ParameterText> p = ParameterText::Parse(s->text, error);
  ASSERT_TRUE(p);
  // Stage 2 keeps stage 1's excavation; stage 3 keeps stage 2's water.
  EXPECT_EQ(p->find("stage.2.excavation")->value, 2.0);
  EXPECT_EQ(p->find("stage.3.excavation")->value, 5.0);
  EXPECT_EQ(p->find("stage.1.water.front")->value, 4.0);
  EXPECT_EQ(p->find("stage.3.water.front")->value, 6.0);
  EXPECT_EQ(s->excavation, (std::vector<double>{2, 2, 5}));
  const engine::api::AnalysisResult run = engine::api::Analyse(s->text);
  EXPECT_FALSE(run.error) << run.error->message;
  EXPECT_EQ(run.problems.size(), 3u);

  // E·A/L·cos²α per anchor, times Wa/s = 1/2.5 per wall unit.
  ASSERT_EQ(s->supports.size(), 1u);
  const ModelSupport& a = s->supports[0];
  const double c = std::cos(15 * std::acos(-1.0) / 180);
  EXPECT_NEAR(a.stiffness, 2.0e8 * 8.0e-4 / 8 * c * c / 2.5, 1e-9);  // 7464.1 kN/m
  EXPECT_NEAR(a.prestress, 100 * c / 2.5, 1e-12);
  EXPECT_NEAR(*a.yieldForce, 600 * c / 2.5, 1e-12);
  EXPECT_NEAR(a.verticalPerHorizontal, std::tan(15 * std::acos(-1.0) / 180), 1e-15);
  EXPECT_NEAR(a.prestress * a.perSupport, 100, 1e-12);
  EXPECT_EQ(a.installStage, 2);
  EXPECT_EQ(a.removeStage, 0);
}

TEST(SequentialStaging, SequencesThatCannotBeBuiltSayWhy) {
  auto refused = [](SequentialPlan plan) {
    std::string error;
    EXPECT_FALSE(BuildSequence(Base(), plan, error));
    return error;
  };
  SequentialPlan deep = Plan();
  deep.stages[1].values = {};
  deep.supports[0].depth = 3;  // below the 2 m excavation when installed
  EXPECT_NE(refused(deep).find("below the excavation level 2"), std::string::npos);
  SequentialPlan soft = Plan();
  soft.supports[0].area = 0;
  EXPECT_NE(refused(soft).find("without stiffness"), std::string::npos);
  SequentialPlan many = Plan();
  many.stages.resize(21);
  EXPECT_NE(refused(many).find("1 to 20 stages"), std::string::npos);
  SequentialPlan belowTip = Plan();
  belowTip.stages[2].values = {{"excavation", 15}};
  EXPECT_NE(refused(belowTip).find("its tip is at 14"), std::string::npos);
  SequentialPlan early = Plan();
  early.stages[0].remove = {"A1"};
  EXPECT_NE(refused(early).find("is not installed"), std::string::npos);
  SequentialPlan soil = Plan();
  soil.stages[0].values = {{"layer.1.phi", 30}};
  EXPECT_NE(refused(soil).find("not layer.1.phi"), std::string::npos);
  SequentialPlan noLoad = Plan();
  noLoad.stages[0].values = {{"load.3", 10}};
  EXPECT_NE(refused(noLoad).find("no parameter \"load.3\""), std::string::npos);
}

}  // namespace
}  // namespace terraq::design
