// Basal heave as a study's limit state, against the normal distribution by
// hand: the soft-clay cantilever (sand over clay, H = 96 in) excavated in a
// long cut 96 in wide has its clay's su random; Bjerrum and Eide's factor
// is then su times a constant, so P(F < limit) is that of su below a
// strength found by hand. Two nested limits check the system's count.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <memory>
#include <sstream>

#include "StudyForm.h"
#include "StudySampling.h"

namespace terraq::test {
namespace {

using namespace design;

std::string SoftClay() {
  std::ifstream in(std::string(TERRAQ_SOURCE_DIR) + "/examples/cantilever-soft-clay-generated.tq4d",
                   std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

double Phi(double z) { return 0.5 * std::erfc(-z / std::sqrt(2.0)); }

TEST(GroundLimitStudy, HeaveProbabilityIsTheNormalOneOfTheClayStrength) {
  std::string error;
  auto text = std::make_shared<const ParameterText>(*ParameterText::Parse(SoftClay(), error));
  ASSERT_EQ(text->find("excavation")->value, 96.0);
  auto plan = std::make_shared<const ExcavationPlan>(ExcavationPlan{.width = 96});
  const std::vector<std::string> names{"layer.2.su"};
  const std::optional<WallModel> wall = MakeWallModel(text, names, error, nullptr, plan);
  ASSERT_TRUE(wall) << error;
  const auto at = std::find(wall->outputs.begin(), wall->outputs.end(), "heave");
  ASSERT_NE(at, wall->outputs.end());
  const size_t heave = static_cast<size_t>(at - wall->outputs.begin());
  // Sand of 0.069444 lb/in3 over the whole 96 in (no side shear, no
  // surcharge); H/B = 1: Nc = 7.7 on the square cut's curve, times 0.84 for
  // a long cut.
  const double load = 0.069444444 * 96, Nc = 0.84 * 7.7;
  const auto model = wall->factory();
  for (const double su : {2.5, 4.0}) {
    const Evaluation e = model->evaluate({su});
    ASSERT_FALSE(e.error) << *e.error;
    EXPECT_NEAR(e.outputs[heave], Nc * su / load, 1e-6) << su;
  }
  // heave < 2.5 fails for su below 2.5 load / Nc: P = Phi((that - mean) / sd).
  const double mean = 3.4722222, sd = 0.6;
  const auto strength = [&](double limit) { return limit * load / Nc; };
  const double p25 = Phi((strength(2.5) - mean) / sd), p20 = Phi((strength(2.0) - mean) / sd);
  ASSERT_GT(p25, 0.05);
  std::vector<LimitState> states;
  for (const char* limit : {"heave<2.5", "heave<2"}) {
    std::optional<LimitState> s = ParseLimit(limit, wall->outputs, error);
    ASSERT_TRUE(s) << error;
    states.push_back(*s);
  }
  const std::vector<RandomParameter> random{{names[0], Distribution::Normal(mean, sd)}};
  SamplingOptions options;
  options.method = SamplingOptions::Method::LatinHypercube;
  options.samples = 400;  // one stratum each: the count is within one of 400 p
  options.threads = 2;
  const SamplingResult r =
      Sample(wall->factory, wall->outputs, random, wall->bounds, states, options);
  ASSERT_FALSE(r.error) << *r.error;
  EXPECT_NEAR(r.limitStates[0].probability, p25, 1.5 / 400);
  EXPECT_NEAR(r.limitStates[1].probability, p20, 1.5 / 400);
  // The second limit's failures are all among the first's: the system
  // fails exactly when the first does.
  ASSERT_TRUE(r.system);
  EXPECT_EQ(r.system->failures, r.limitStates[0].failures);
  EXPECT_GE(r.system->failures, r.limitStates[1].failures);

  // FORM on a limit state linear in a normal parameter is exact.
  const FormResult f = Form(wall->factory, random, wall->bounds, states[0], {});
  ASSERT_FALSE(f.error) << *f.error;
  EXPECT_NEAR(f.beta, (mean - strength(2.5)) / sd, 1e-4);
}

}  // namespace
}  // namespace terraq::test
