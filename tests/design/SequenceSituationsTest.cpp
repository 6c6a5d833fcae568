// Design situations and studies of a construction sequence: a set factors
// the soil, the stages' surcharge and every stage's excavation level as the
// data file's own (the same stages written by hand with the design values
// give the same results), the anchor's lock-off force is not an action, the
// envelope is the worst of the stages and sets, and a study's points do not
// depend on the threads.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

#include "DesignSituations.h"
#include "SequenceAnalysis.h"
#include "StudyRun.h"

namespace terraq::design {
namespace {

// The shipped example: a 14 m wall in sand (φ' = 32°, γ = 19 kN/m³) under
// a 10 kPa surcharge, dug in four stages with anchor A1 at 1.5 m locked off
// at 150 kN.
std::string Before() {
  std::ifstream in(std::string(TERRAQ_SOURCE_DIR) + "/examples/sequential-excavation-anchor.tq4d",
                   std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

SequentialPlan Plan(double excavation1, double excavation2, double excavation3, double excavation4,
                    double surcharge3) {
  StagedSupport a{.name = "A1",
                  .depth = 1.5,
                  .modulus = 2e8,
                  .area = 8.4e-4,
                  .freeLength = 8,
                  .inclination = 15,
                  .spacing = 2.5,
                  .prestress = 150,
                  .yieldForce = 700};
  SequentialPlan plan;
  plan.supports = {a};
  plan.stages = {{"Dig to 2 m", {{"excavation", excavation1}}, {}, {}},
                 {"Anchor", {}, {"A1"}, {}},
                 {"Dig to 5 m", {{"excavation", excavation3}, {"surcharge", surcharge3}}, {}, {}},
                 {"Dig to 6 m", {{"excavation", excavation4}, {"water.front", 6.5}}, {}, {}}};
  if (excavation2 > 0) plan.stages[1].values = {{"excavation", excavation2}};
  return plan;
}

std::string Replaced(std::string text, const std::string& what, const std::string& with) {
  for (size_t at = 0; (at = text.find(what, at)) != std::string::npos; at += with.size())
    text.replace(at, what.size(), with);
  return text;
}

TEST(SequenceSituations, EveryStageSeesTheDesignValues) {
  const SequentialPlan plan = Plan(2, 0, 5, 6, 20);
  const FactorSet da12 = *StandardFactorSet("DA1-2");  // γφ 1.25, γQ 1.3, γG 1
  const std::vector<SituationResult> runs = RunDesignSituations(Before(), {da12}, {}, &plan);
  ASSERT_EQ(runs.at(0).error, "");
  // Unplanned excavation: 10 % of the height dug below the lowest support,
  // at most 0.5 m: 0.2 m at 2 m; at 5 m and 6 m, 0.35 m and 0.45 m below
  // the anchor. The anchor installed at 2 m does not fill the 0.2 m back.
  const std::vector<double> added{0.2, 0.2, 0.35, 0.45};
  ASSERT_EQ(runs[0].data.excavationAdded.size(), 4u);
  // Exactly, as the reports print them: 0.2, not 0.20000000000000018.
  for (size_t k = 0; k < 4; ++k) EXPECT_EQ(runs[0].data.excavationAdded[k], added[k]);

  // The same sequence written with the design values: tan φ'd = tan 32° /
  // 1.25, the surcharges times 1.3 (the data file's 10 kPa, stage 3's 20).
  const double phi = std::atan(std::tan(32 * std::acos(-1.0) / 180) / 1.25) * 180 / std::acos(-1.0);
  std::ostringstream phiText;
  phiText.precision(12);
  phiText << "19 0.0  " << phi << " 0.0";
  const std::string byHand = Replaced(Replaced(Before(), "19 0.0  32 0.0", phiText.str()),
                                      "10\t0\t0\t0\t0\t0", "13\t0\t0\t0\t0\t0");
  ASSERT_NE(byHand, Before());
  std::string error;
  const std::optional<SequenceAnalysis> hand =
      AnalyseStages(byHand, Plan(2.2, 2.2, 5.35, 6.45, 26), error);
  ASSERT_TRUE(hand && !hand->analysis.error) << error;
  ASSERT_EQ(runs[0].problems.size(), 4u);
  for (size_t k = 0; k < 4; ++k) {
    const SituationProblem& p = runs[0].problems[k];
    double moment = 0;
    for (const auto& s : hand->analysis.problems[k].stations)
      if (std::fabs(s.moment) > std::fabs(moment)) moment = s.moment;
    EXPECT_NEAR(p.moment.value, moment, 1e-6 * std::fabs(moment)) << "stage " << k + 1;
    ASSERT_EQ(p.sequenceSupports.size(), hand->supportForces[k].size());
    if (k > 0) {
      EXPECT_NEAR(p.sequenceSupports[0].force, hand->supportForces[k][0].forceAlong, 1e-6 * 150);
    }
  }

  // DA1-1 multiplies the effects by γG = 1.35; the lock-off force is the
  // jack's, not an action: in its stage the anchor holds 1.35 × 150 kN.
  const std::vector<SituationResult> da11 =
      RunDesignSituations(Before(), {*StandardFactorSet("DA1-1")}, {}, &plan);
  ASSERT_EQ(da11.at(0).problems.at(1).sequenceSupports.size(), 1u);
  EXPECT_NEAR(da11[0].problems[1].sequenceSupports[0].force, 1.35 * 150, 1e-9);

  // A stage dug to 0.05 m above the tip (14 m): its unplanned excavation
  // would reach below it.
  std::vector<double> unused;
  EXPECT_FALSE(FactorSequence(Plan(2, 0, 5, 13.95, 20), Before(), da12, {}, unused, error));
  EXPECT_NE(error.find("stage 4 (Dig to 6 m): the unplanned excavation of 0.5 takes the "
                       "excavation from 13.95 to 14.45, below the wall's tip at 14"),
            std::string::npos)
      << error;
}

TEST(SequenceSituations, EnvelopeIsTheWorstStageOfTheWorstSet) {
  const SequentialPlan plan = Plan(2, 0, 5, 6, 20);
  const std::vector<FactorSet> sets{*StandardFactorSet("DA1-1"), *StandardFactorSet("DA1-2"),
                                    *StandardFactorSet("SLS")};
  const std::vector<SituationResult> runs = RunDesignSituations(Before(), sets, {}, &plan);
  const std::vector<EnvelopeProblem> envelope = EnvelopeOf(runs);
  const std::vector<NamedSupportEffect> anchors = SupportEnvelopeOf(runs);
  // Each set run alone, its stages compared by hand.
  double moment = 0, anchor = 0;
  std::string momentSet, anchorSet;
  int anchorStage = 0;
  for (const FactorSet& set : sets) {
    const SituationResult alone = RunDesignSituations(Before(), {set}, {}, &plan).at(0);
    ASSERT_EQ(alone.error, "") << set.name;
    if (set.serviceability) continue;
    for (size_t k = 0; k < alone.problems.size(); ++k) {
      const SituationProblem& p = alone.problems[k];
      ASSERT_TRUE(p.valid) << set.name << " stage " << k + 1;
      if (std::fabs(p.moment.value) > std::fabs(moment)) {
        moment = p.moment.value;
        momentSet = set.name;
      }
      for (const NamedSupportEffect& s : p.sequenceSupports)
        if (std::fabs(s.force) > std::fabs(anchor)) {
          anchor = s.force;
          anchorSet = set.name;
          anchorStage = static_cast<int>(k + 1);
        }
    }
  }
  const std::optional<size_t> worst = GoverningProblem(envelope, runs, DesignEffect::Moment);
  ASSERT_TRUE(worst);
  EXPECT_EQ(envelope[*worst].moment.value, moment);
  EXPECT_EQ(envelope[*worst].moment.set, momentSet);
  ASSERT_EQ(anchors.size(), 1u);
  EXPECT_EQ(anchors[0].name, "A1");
  EXPECT_EQ(anchors[0].force, anchor);
  EXPECT_EQ(anchors[0].set, anchorSet);
  EXPECT_EQ(anchors[0].stage, anchorStage);
  EXPECT_GT(anchor, 150);  // the last excavation stretches it beyond its lock-off
}

TEST(SequenceStudy, PointsAreTheWorstStageOnAnyThreadCount) {
  std::string error;
  const std::optional<ParameterText> text = ParameterText::Parse(Before(), error);
  ASSERT_TRUE(text) << error;
  const SequentialPlan plan = Plan(2, 0, 5, 6, 20);
  const std::vector<Vary> vary{*Vary::Parse("layer.1.phi", "28:36:5", error),
                               *Vary::Parse("surcharge", "5,15", error)};
  const SweepResult one = Sweep(*text, vary, 1, {}, &plan);
  const SweepResult three = Sweep(*text, vary, 3, {}, &plan);
  ASSERT_EQ(one.points.size(), 10u);
  for (size_t k = 0; k < one.points.size(); ++k) {
    ASSERT_FALSE(one.points[k].error) << *one.points[k].error;
    ASSERT_EQ(one.points[k].problems.size(), 1u);  // the worst of the four stages
    const ProblemOutputs& a = one.points[k].problems[0];
    const ProblemOutputs& b = three.points[k].problems[0];
    EXPECT_EQ(a.moment, b.moment);
    EXPECT_EQ(a.topDeflection, b.topDeflection);
    ASSERT_EQ(a.supports.size(), 1u);
    EXPECT_EQ(SupportOutputName(a.supports, 0), "supportForce.A1");
    EXPECT_EQ(a.supports[0].force, b.supports[0].force);
  }
  // Point 3 (φ' 30°, 5 kPa) is the sequence of that data text, its
  // outputs the largest over the stages.
  const std::string changed = text->apply({{"layer.1.phi", 30}, {"surcharge", 5}}).text;
  const std::optional<SequenceAnalysis> alone = AnalyseStages(changed, plan, error);
  ASSERT_TRUE(alone) << error;
  double moment = 0, anchor = 0;
  for (size_t k = 0; k < alone->analysis.problems.size(); ++k) {
    for (const auto& s : alone->analysis.problems[k].stations)
      if (std::fabs(s.moment) > std::fabs(moment)) moment = s.moment;
    for (const StageSupportForce& f : alone->supportForces[k])
      anchor = std::max(anchor, f.forceAlong);
  }
  EXPECT_EQ(one.points[2].values, (std::vector<double>{30, 5}));
  EXPECT_EQ(one.points[2].problems[0].moment, moment);
  EXPECT_EQ(one.points[2].problems[0].supports[0].force, anchor);

  // The excavation is set from the first stage on: no stage would see the
  // data file's, and the study says so rather than give equal points.
  const SweepResult hidden = Sweep(*text, {*Vary::Parse("excavation", "1,3", error)}, 1, {}, &plan);
  ASSERT_TRUE(hidden.error);
  EXPECT_NE(hidden.error->find("excavation is set by the construction sequence from its first"),
            std::string::npos)
      << *hidden.error;
  EXPECT_FALSE(MakeWallModel(std::make_shared<const ParameterText>(*text), {"excavation"}, error,
                             std::make_shared<const SequentialPlan>(plan)));
}

}  // namespace
}  // namespace terraq::design
