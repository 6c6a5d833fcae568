// The designs and studies on subgrade-reaction springs: the factor of safety
// of a cantilever in the rigid-plastic limit against the textbook's
// limit-equilibrium embedment, alone and as a construction sequence; the
// at-rest state a sequence starts from; the springs' parameters as study
// names, varied in the analysis options.
#include <gtest/gtest.h>

#include <cmath>

#include "../engine/analysis/SoilWallText.h"
#include "Parameters.h"
#include "SequenceAnalysis.h"
#include "SpringModel.h"
#include "StudyRun.h"

namespace terraq::test {
namespace {

namespace api = engine::api;

design::SoilModel Springs(double kh, double ocr = 1) {
  return {api::SubgradeOptions{{{kh, kh, 0, ocr, 1}}}, {}, {}, {}};
}

// Das, Principles of Foundation Engineering, Example 14.2: a cantilever
// sheet pile in dry sand, H = 5 m, gamma = 15.9 kN/m3, phi' = 32 deg, whose
// theoretical embedment is D = 4.53 m. Springs far stiffer than the wall
// reach their limits as soon as it moves: the strength reduction that fails
// the wall at that embedment is the limit equilibrium's, 1. The wall is
// 1.5 m wide, which the factor must not see.
SoilWall DasCantilever(double excavation) {
  SoilWall wall;
  wall.width = 1.5;
  wall.NI = 200;
  wall.h = (5.0 + 4.53) / wall.NI;
  wall.EI = 1.5e5;
  wall.WMAX = 0.5;
  wall.excavation = excavation;
  wall.layers = {{4, 30, 15.9, 0, 32}};
  return wall;
}

TEST(SubgradeDesign, FactorOfSafetyOfTheTextbookCantileverIsOne) {
  const design::SoilModel soil = Springs(2e5);
  const design::SpringFactor alone = design::SpringFactorOfSafety(
      DasCantilever(5).text(), 0, nullptr, design::FailureCriterion::Deflection, soil);
  ASSERT_FALSE(alone.error) << *alone.error;
  ASSERT_TRUE(alone.factor) << alone.failure;
  EXPECT_NEAR(*alone.factor, 1.0, 0.02);

  // Excavated in two stages from the soil at rest: the same limit.
  design::SequentialPlan plan;
  plan.stages = {{"Half", {{"excavation", 2.5}}, {}, {}}, {"Full", {{"excavation", 5}}, {}, {}}};
  const design::SpringFactor staged = design::SpringFactorOfSafety(
      DasCantilever(0).text(), 0, &plan, design::FailureCriterion::Deflection, soil);
  ASSERT_TRUE(staged.factor) << staged.failure << staged.error.value_or("");
  EXPECT_NEAR(*staged.factor, 1.0, 0.02);

  // The shortest wall held at the soil's own strength is the textbook's.
  design::WallCriteria criteria;
  criteria.resolution = 0.05;
  const design::ShortestWall shortest =
      design::FindShortestWall(DasCantilever(5).text(), 0, {5, 30}, criteria, nullptr, soil);
  ASSERT_TRUE(shortest.tipDepth) << shortest.failure;
  EXPECT_NEAR(*shortest.tipDepth, 5 + 4.53, 0.15);
}

// Before the excavation the wall stands between soil at rest: the pressure
// on it is K0 gamma z, K0 = (1 - sin 30) 2^sin 30 = 0.7071 at an OCR of 2.
TEST(SubgradeDesign, SequenceStartsFromTheSoilAtRest) {
  SoilWall wall = DasCantilever(0);
  wall.layers = {{4, 30, 18, 0, 30}};
  design::SequentialPlan plan;
  plan.stages = {{"At rest", {}, {}, {}}, {"Dug", {{"excavation", 3}}, {}, {}}};
  std::string error;
  const auto run = design::AnalyseStages(wall.text(), plan, error, nullptr, 1.0, Springs(2e4, 2));
  ASSERT_TRUE(run) << error;
  ASSERT_FALSE(run->analysis.error) << run->analysis.error->message;
  const api::ProblemResult& atRest = run->analysis.problems.at(0);
  const api::SubgradeStation& s = atRest.subgrade.at(40);
  EXPECT_NEAR(s.retained.pressure, 0.5 * std::sqrt(2.0) * 18 * s.depth, 1e-3 * 18 * s.depth);
  EXPECT_NEAR(s.front.pressure, s.retained.pressure, 1e-6);
}

TEST(SubgradeDesign, StudiesVaryTheSpringsInTheOptions) {
  const std::string text = DasCantilever(5).text();
  std::string error;
  const auto springs = design::ParameterText::Parse(text, error, Springs(3e4));
  ASSERT_TRUE(springs) << error;
  const design::Parameter* kh = springs->find("layer.1.khTop");
  ASSERT_NE(kh, nullptr);
  EXPECT_EQ(kh->value, 3e4);
  EXPECT_EQ(kh->lower, 0);
  const design::ParameterText::Applied applied =
      springs->apply({{"layer.1.khBottom", 9e4}, {"layer.1.ocr", 1.5}});
  ASSERT_FALSE(applied.error) << *applied.error;
  EXPECT_EQ(applied.text, springs->apply({}).text);  // the data text is not touched
  const api::SubgradeLayer& layer = applied.soil.subgrade->layers.at(0);
  EXPECT_EQ(layer.khTop, 3e4);
  EXPECT_EQ(layer.khBottom, 9e4);
  EXPECT_EQ(layer.ocr, 1.5);
  EXPECT_EQ(springs->find("stage.1.layer.1.khTop"), nullptr);

  // A stiffer subgrade holds the wall with less deflection.
  const design::SweepResult sweep = design::Sweep(*springs, {{"layer.1.khTop", {1e4, 8e4}}}, 2);
  ASSERT_FALSE(sweep.error) << *sweep.error;
  ASSERT_EQ(sweep.points.size(), 2u);
  ASSERT_FALSE(sweep.points[0].error) << *sweep.points[0].error;
  EXPECT_GT(std::fabs(sweep.points[0].problems[0].topDeflection),
            1.2 * std::fabs(sweep.points[1].problems[0].topDeflection));
}

// A study varies the wall friction of the project's theories in the
// analysis options: more friction in front holds the wall with less
// deflection; a project without theories has no such name.
TEST(SubgradeDesign, StudiesVaryTheWallFriction) {
  const std::string text = DasCantilever(5).text();
  design::SoilModel soil = Springs(3e4);
  soil.earthPressure = api::EarthPressureOptions{
      {api::EarthPressureMethod::Coulomb, 0.5}, {api::EarthPressureMethod::LogSpiral, 0.2}, {}};
  std::string error;
  const auto study = design::ParameterText::Parse(text, error, soil);
  ASSERT_TRUE(study) << error;
  ASSERT_NE(study->find("delta.front"), nullptr);
  EXPECT_EQ(study->find("delta.front")->value, 0.2);
  EXPECT_EQ(study->find("delta.back")->upper, 1);
  const auto applied = study->apply({{"delta.back", 0.3}});
  ASSERT_FALSE(applied.error) << *applied.error;
  EXPECT_EQ(applied.soil.earthPressure->backfill.deltaRatio, 0.3);
  EXPECT_EQ(applied.soil.earthPressure->excavation.deltaRatio, 0.2);

  const design::SweepResult sweep = design::Sweep(*study, {{"delta.front", {0.0, 0.6}}}, 2);
  ASSERT_FALSE(sweep.error) << *sweep.error;
  ASSERT_FALSE(sweep.points[0].error || sweep.points[1].error);
  EXPECT_GT(std::fabs(sweep.points[0].problems[0].topDeflection),
            1.1 * std::fabs(sweep.points[1].problems[0].topDeflection));

  const auto smooth = design::ParameterText::Parse(text, error, Springs(3e4));
  EXPECT_NE(smooth->unknown("delta.back").find("chose none"), std::string::npos);
}

}  // namespace
}  // namespace terraq::test
