// The embedment design of a construction sequence: a two-stage excavation in
// dry sand whose first stage (a cantilever) is designed as the data file of
// that geometry alone is, whose last stage (one anchor) meets the
// free-earth-support hand calculation done here, the deeper one governing;
// the spring model's factor of the sequence against that of its first stage
// alone (a sequence is held only when every stage is) and a trial wall that
// cannot carry the sequence said so.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

#include "DesignCases.h"
#include "DesignReport.h"
#include "SequenceAnalysis.h"
#include "SequenceDesign.h"
#include "WallText.h"

namespace terraq::test {
namespace {

using design::Method;

constexpr double kGamma = 19, kPhi = 32, kAnchor = 1.5, kH1 = 3, kH2 = 6;

// The shipped anchored example's wall (14 m, sand gamma 19, phi 32 to
// 20 m) made dry (water tables at the bottom of the profile, no water
// pressure) and without its surcharge, excavated to `H`.
std::string DrySand(double H) {
  std::ifstream in(std::string(TERRAQ_SOURCE_DIR) + "/examples/sequential-excavation-anchor.tq4d",
                   std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  std::string s = text.str();
  const auto replace = [&](const std::string& from, const std::string& to) {
    const size_t at = s.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) s.replace(at, from.size(), to);
  };
  replace("2\t1\t1\t4\t4\t1\t1\t0", std::to_string(H) + " 1 1 20 20 1 0 0");
  replace("\n10\t0\t0\t0\t0\t0", "\n0 0 0 0 0 0");  // the uniform surcharge
  return s;
}

// The embedment of free earth support about the anchor, by the moments of
// the Rankine pressures about it: Ka g T^2/2 (2T/3 - a) = Kp g D^2/2
// (H + 2D/3 - a), T = H + D.
double FreeEarthEmbedment(double Ka, double H) {
  const double Kp = 1 / Ka;
  return Bisect(
      [&](double e) {
        const double t = H + e;
        return Kp * e * e / 2 * (H + 2 * e / 3 - kAnchor) - Ka * t * t / 2 * (2 * t / 3 - kAnchor);
      },
      0.01, 10.0);
}

design::SequentialPlan TwoStages(double firstLevel) {
  design::StagedSupport a;
  a.name = "A1";
  a.depth = kAnchor;
  a.modulus = 2.0e8;
  a.area = 8.4e-4;
  a.freeLength = 8;
  a.spacing = 2.5;
  a.prestress = 150;
  design::SequentialPlan plan;
  plan.supports = {a};
  plan.stages = {{"Cantilever", {{"excavation", firstLevel}}, {}, {}},
                 {"Anchored", {{"excavation", kH2}}, {"A1"}, {}}};
  return plan;
}

TEST(SequenceDesign, StagesAreDesignedAsWallsOfTheirOwnAndTheDeepestGoverns) {
  const design::ProblemDesign d = design::DesignSequence(DrySand(0), TwoStages(kH1), {});
  ASSERT_EQ(d.stages.size(), 2u);
  ASSERT_TRUE(d.errorMessage().empty()) << d.errorMessage();

  // Stage 1: the data file excavated to 3 m, designed alone.
  const auto alone = engine::api::ReadSoilDescriptions(DrySand(kH1));
  ASSERT_EQ(alone.problems.size(), 1u);
  const design::DesignResult cantilever =
      design::DesignWall(alone.problems.front(), {.method = Method::FixedEarth});
  ASSERT_FALSE(cantilever.error);
  const design::DesignResult& first = d.stages[0].le;
  EXPECT_EQ(first.method, Method::FixedEarth);
  EXPECT_TRUE(d.stages[0].supports.empty());
  EXPECT_NEAR(first.D0, cantilever.D0, 1e-9);
  EXPECT_NEAR(first.tipDepth, cantilever.tipDepth, 1e-9);

  // Stage 2, about the anchor; the anchor takes what the passive
  // resistance does not.
  const double Ka = RankineKa(kPhi), Kp = 1 / Ka;
  const double D = FreeEarthEmbedment(Ka, kH2);
  const double T = kH2 + D, force = kGamma * (Ka * T * T - Kp * D * D) / 2;
  const design::DesignResult& last = d.stages[1].le;
  ASSERT_EQ(last.method, Method::FreeEarth);
  EXPECT_EQ(d.stages[1].supports, std::vector<std::string>{"A1"});
  EXPECT_NEAR(last.D0, D, 1e-3);
  EXPECT_NEAR(last.anchorDepth, kAnchor, 1e-12);
  EXPECT_NEAR(last.anchorForce, force, 1e-3 * force);

  // The deeper tip governs; the anchor's force is the one stage's.
  const size_t deeper = last.tipDepth > first.tipDepth ? 1 : 0;
  EXPECT_EQ(d.governingStage, deeper);
  EXPECT_EQ(d.le.tipDepth, d.stages[deeper].le.tipDepth);
  ASSERT_EQ(d.supportForces.size(), 1u);
  EXPECT_EQ(d.supportForces[0].stage, 1u);
  EXPECT_NEAR(d.supportForces[0].force, last.anchorForce, 1e-9);
  EXPECT_NE(design::DesignText(d, 1).find("governing stage " + std::to_string(deeper + 1)),
            std::string::npos);
}

TEST(SequenceDesign, SpringFactorOfASequenceIsNoMoreThanThatOfItsFirstStage) {
  // The first stage of a sequence is analysed from the undeflected wall as
  // the data file excavated to its level is; the sequence is held only when
  // every stage is, so its factor cannot exceed its first stage's.
  const std::string base = DrySand(0);
  design::SequentialPlan firstOnly = TwoStages(kH1);
  firstOnly.stages.pop_back();
  const design::SpringFactor one = design::SpringFactorOfSafety(base, 0, &firstOnly);
  const design::SpringFactor alone = design::SpringFactorOfSafety(DrySand(kH1), 0);
  ASSERT_TRUE(one.factor && alone.factor) << one.failure << alone.failure;
  EXPECT_NEAR(*one.factor, *alone.factor, 1e-9 * *alone.factor);

  const design::SequentialPlan plan = TwoStages(kH1);
  const design::SpringFactor both = design::SpringFactorOfSafety(base, 0, &plan);
  ASSERT_TRUE(both.factor) << both.failure;
  EXPECT_LE(*both.factor, *one.factor);
  // Beyond it, the stage that fails first is named.
  ASSERT_GE(both.failedStage, 1);
  EXPECT_EQ(both.failure.rfind("stage " + std::to_string(both.failedStage), 0), 0u) << both.failure;

  // A 5 m wall cannot be excavated to 6 m: not held, and why.
  engine::Analyser analyser;
  std::string error;
  const auto wall = design::WallText::Parse(base, 0, error);
  ASSERT_TRUE(wall) << error;
  const design::SequenceTrial shortWall =
      design::AnalyseSequence(analyser, wall->withWall(50, 0.1), plan, 1.0, {});
  ASSERT_TRUE(shortWall.failure);
  EXPECT_NE(shortWall.failure->find("not on the wall"), std::string::npos) << *shortWall.failure;
}

// DA1-2 on the sequence: the design friction angle in every stage and each
// stage's excavation deepened by its own unplanned excavation (10 % of the
// height retained below the lowest support in place), so that the anchored
// stage meets the same free-earth hand calculation at the design values.
TEST(SequenceDesign, DesignApproachFactorsEveryStage) {
  const design::SequentialPlan plan = TwoStages(kH1);
  std::string error;
  const auto prepared = design::PrepareApproachDesign(
      DrySand(0), *design::StandardFactorSet("DA1-2"), {}, error, &plan);
  ASSERT_TRUE(prepared && prepared->plan) << error;
  const double first = kH1 + 0.1 * kH1, last = kH2 + 0.1 * (kH2 - kAnchor);
  EXPECT_EQ(prepared->plan->stages[0].values,
            (std::vector<std::pair<std::string, double>>{{"excavation", first}}));
  EXPECT_NEAR(prepared->plan->stages[1].values[0].second, last, 1e-12);
  EXPECT_NE(prepared->note.find("stage 2: the excavation deepened by 0.45"), std::string::npos)
      << prepared->note;

  const design::ProblemDesign d =
      design::DesignSequence(prepared->text, *prepared->plan, prepared->request);
  ASSERT_EQ(d.stages.size(), 2u);
  const double phi = std::atan(std::tan(kPhi * M_PI / 180) / 1.25) * 180 / M_PI;
  EXPECT_NEAR(d.stages[1].le.D0, FreeEarthEmbedment(RankineKa(phi), last), 1e-3);
}

}  // namespace
}  // namespace terraq::test
