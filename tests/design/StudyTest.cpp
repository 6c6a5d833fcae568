// Studies against what is known exactly: a limit state linear in normal
// parameters, whose reliability index is the mean of the margin over its
// standard deviation, for Monte Carlo, Latin hypercube and FORM, with and
// without correlation; the same samples on any number of threads; a sweep
// point against the wall rewritten independently; and the refusals.

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>

#include "StudyForm.h"
#include "StudySampling.h"
#include "WallText.h"
#include "api/Analysis.h"

namespace terraq::test {
namespace {

using namespace design;

std::string Sample() {
  std::ifstream in(std::string(TERRAQ_SOURCE_DIR) + "/examples/cantilever-sand-generated.tq4d",
                   std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// y = a0 + sum a_i x_i: the margin g = L - y is normal when the x_i are.
class Linear : public PointModel {
 public:
  explicit Linear(std::vector<double> a) : a_(std::move(a)) {}
  Evaluation evaluate(const std::vector<double>& x) override {
    double y = a_[0];
    for (size_t i = 0; i < x.size(); ++i) y += a_[i + 1] * x[i];
    return {{y}, true, std::nullopt};
  }

 private:
  std::vector<double> a_;
};

struct LinearCase {
  std::vector<double> a{2.0, 1.5, -0.8, 0.6};
  std::vector<double> mean{10.0, 4.0, 20.0}, sd{2.0, 1.5, 3.0};
  std::vector<double> correlation;  // empty: independent
  double limit = 31.0;

  std::vector<RandomParameter> parameters() const {
    std::vector<RandomParameter> p;
    for (size_t i = 0; i < mean.size(); ++i)
      p.push_back({"x" + std::to_string(i + 1), Distribution::Normal(mean[i], sd[i])});
    return p;
  }
  ModelFactory factory() const {
    return [a = a] { return std::make_unique<Linear>(a); };
  }
  double exactBeta() const {
    double mu = a[0], var = 0;
    for (size_t i = 0; i < mean.size(); ++i) {
      mu += a[i + 1] * mean[i];
      for (size_t j = 0; j < mean.size(); ++j) {
        const double r = correlation.empty() ? (i == j) : correlation[i * mean.size() + j];
        var += a[i + 1] * a[j + 1] * r * sd[i] * sd[j];
      }
    }
    return (limit - mu) / std::sqrt(var);
  }
};

void ExpectExact(const LinearCase& c) {
  const double beta = c.exactBeta(), p = NormalCdf(-beta);
  const LimitState state{"y above its limit", 0, c.limit, false};
  for (auto method :
       {SamplingOptions::Method::MonteCarlo, SamplingOptions::Method::LatinHypercube}) {
    SamplingOptions options;
    options.method = method;
    options.samples = 20000;
    options.seed = 7;
    options.threads = 2;
    options.correlation = c.correlation;
    const SamplingResult r = Sample(c.factory(), {"y"}, c.parameters(), {}, {state}, options);
    ASSERT_FALSE(r.error) << *r.error;
    const LimitStateResult& l = r.limitStates[0];
    EXPECT_LE(l.lower, p);
    EXPECT_GE(l.upper, p);
    EXPECT_NEAR(l.beta, -NormalQuantile(l.probability), 1e-12);
  }
  FormOptions form;
  form.correlation = c.correlation;
  const FormResult f = Form(c.factory(), c.parameters(), {}, state, form);
  ASSERT_FALSE(f.error) << *f.error;
  EXPECT_TRUE(f.converged);
  EXPECT_NEAR(f.beta, beta, 1e-6);
  EXPECT_NEAR(f.probability, p, 1e-6 * p);
  double sum = 0;
  for (double a2 : f.importance) sum += a2;
  EXPECT_NEAR(sum, 1.0, 1e-12);
  if (c.correlation.empty()) {
    // alpha_i^2 = (a_i sd_i)^2 / var(y)
    const double sigma = (c.limit - 2.0 - 1.5 * 10 + 0.8 * 4 - 0.6 * 20) / beta;
    EXPECT_NEAR(f.importance[1], std::pow(0.8 * 1.5 / sigma, 2), 1e-9);
  }
}

TEST(Study, LinearLimitStateIndependentAndCorrelated) {
  LinearCase c;
  ASSERT_GT(c.exactBeta(), 1.0);  // a probability sampling sees, but not a trivial one
  ExpectExact(c);
  c.correlation = {1, 0.5, -0.3, 0.5, 1, 0.2, -0.3, 0.2, 1};
  ExpectExact(c);
}

// Cancel set during the tenth analysis (the second block of 2n + 1 = 7):
// nothing more is analysed and no index is given; progress came per block.
TEST(Study, CancelledFormGivesNoIndex) {
  const LinearCase c;
  std::atomic<bool> stop{false};
  auto calls = std::make_shared<std::atomic<int>>(0);
  ModelFactory stopping = [&stop, calls, a = c.a] {
    struct Stopping : Linear {
      Stopping(std::vector<double> a, std::atomic<bool>& s, std::shared_ptr<std::atomic<int>> n)
          : Linear(std::move(a)), stop(s), count(std::move(n)) {}
      Evaluation evaluate(const std::vector<double>& x) override {
        if (++*count == 10) stop = true;
        return Linear::evaluate(x);
      }
      std::atomic<bool>& stop;
      std::shared_ptr<std::atomic<int>> count;
    };
    return std::make_unique<Stopping>(a, stop, calls);
  };
  std::vector<size_t> progress;
  FormOptions options;
  options.control = {[&](size_t done) { progress.push_back(done); }, &stop};
  const FormResult f =
      Form(stopping, c.parameters(), {}, {"y above", 0, c.limit, false, false}, options);
  EXPECT_FALSE(f.error);
  EXPECT_TRUE(f.interrupted);
  EXPECT_FALSE(f.converged);
  EXPECT_TRUE(std::isnan(f.beta) && std::isnan(f.probability));
  EXPECT_TRUE(f.designPoint.empty() && f.importance.empty());
  EXPECT_EQ(calls->load(), 10);
  EXPECT_EQ(f.evaluations, 10u);
  EXPECT_EQ(progress, std::vector<size_t>{7});
}

TEST(Study, NormalQuantileWilsonIntervalAndLatinStrata) {
  double lower = 0, upper = 0;
  WilsonInterval(5, 10, lower, upper);  // the textbook case
  EXPECT_NEAR(lower, 0.2366, 5e-5);
  EXPECT_NEAR(upper, 0.7634, 5e-5);
  WilsonInterval(0, 10, lower, upper);  // no failure still bounds the probability
  EXPECT_EQ(lower, 0.0);
  EXPECT_NEAR(upper, 0.2775, 5e-5);

  EXPECT_NEAR(NormalQuantile(0.975), 1.959963984540054, 1e-14);
  for (double x : {-8.0, -3.0, -0.5, 0.0, 1.0, 2.5})
    EXPECT_NEAR(NormalQuantile(NormalCdf(x)), x, 1e-9 * (1 + std::fabs(x))) << x;
  std::set<std::uint64_t> strata;
  for (std::uint64_t i = 0; i < 1000; ++i) strata.insert(PermutedIndex(i, 1000, 42));
  EXPECT_EQ(strata.size(), 1000u);
  EXPECT_EQ(*strata.rbegin(), 999u);
}

TEST(Study, RefusesImpossibleInputAndTruncatesPhysicalRanges) {
  LinearCase c;
  SamplingOptions options;
  options.samples = 10;
  options.correlation = {1, 0.9, 0.9, 0.9, 1, -0.9, 0.9, -0.9, 1};
  SamplingResult r = Sample(c.factory(), {"y"}, c.parameters(), {}, {}, options);
  ASSERT_TRUE(r.error);
  EXPECT_NE(r.error->find("not positive definite"), std::string::npos);

  options.correlation.clear();
  options.samples = 2000;
  // x1 as a unit weight: no sample below 0, and the study says so.
  std::vector<RandomParameter> p = c.parameters();
  p[0].distribution = Distribution::Normal(1.0, 1.0);
  r = Sample(c.factory(), {"y"}, p, {{0.0, 1e300}}, {}, options);
  ASSERT_FALSE(r.error);
  ASSERT_EQ(r.notes.size(), 1u);
  EXPECT_NE(r.notes[0].find("x1 could be below 0"), std::string::npos);
  EXPECT_GT(r.outputs[0].min, 2.0 + 1.5 * 0 - 0.8 * 1e3);  // finite
  std::string error;
  EXPECT_FALSE(Distribution::Parse("normal(5,-1)", error));
  EXPECT_TRUE(Distribution::Parse("lognormal(5,cov=0.2)", error));
  // As the Study window's Add writes a row: spaces around the values.
  const auto spaced = Distribution::Parse("normal( 63000 , cov=0.1 )", error);
  ASSERT_TRUE(spaced) << error;
  EXPECT_DOUBLE_EQ(spaced->b, 6300);
}

// The wall itself: the same seed gives the same numbers on one thread and
// on two, and a failed point keeps its reason.
TEST(Study, WallSamplesAreTheSameOnAnyThreadCount) {
  std::string error;
  auto text = std::make_shared<const ParameterText>(*ParameterText::Parse(Sample(), error));
  const std::vector<std::string> names{"layer.1.phi", "layer.1.gamma", "tip"};
  const std::optional<WallModel> wall = MakeWallModel(text, names, error);
  ASSERT_TRUE(wall) << error;
  EXPECT_EQ(wall->outputs, (std::vector<std::string>{"top", "deflection", "moment", "shear",
                                                     "shear.max", "shear.min"}));
  std::vector<RandomParameter> p{{names[0], Distribution::Normal(32, 3)},
                                 {names[1], Distribution::Lognormal(0.06655, 0.005)},
                                 {names[2], Distribution::Uniform(-50, 400)}};  // some fail
  const auto& bounds = wall->bounds;
  const std::vector<LimitState> states{{"top", 0, 2.0}, {"not held", 0, 0, true, true}};
  SamplingOptions options;
  options.method = SamplingOptions::Method::LatinHypercube;
  options.samples = 48;
  options.seed = 2024;
  const SamplingResult one = Sample(wall->factory, wall->outputs, p, bounds, states, options);
  options.threads = 2;
  const SamplingResult two = Sample(wall->factory, wall->outputs, p, bounds, states, options);
  ASSERT_FALSE(one.error || two.error);
  EXPECT_GT(one.failedSamples, 0u);
  ASSERT_EQ(one.notes.size(), 1u);  // a tip above the top
  EXPECT_NE(one.notes[0].find("tip could be below 0"), std::string::npos);
  EXPECT_EQ(one.failedSamples, two.failedSamples);
  EXPECT_EQ(one.failureReasons, two.failureReasons);
  ASSERT_FALSE(one.failureReasons.empty());
  EXPECT_NE(one.failureReasons[0].find("ERROR STOP"), std::string::npos) << one.failureReasons[0];
  for (size_t o = 0; o < one.outputs.size(); ++o) {
    EXPECT_EQ(one.outputs[o].mean, two.outputs[o].mean);
    EXPECT_EQ(one.outputs[o].sd, two.outputs[o].sd);
    EXPECT_EQ(one.outputs[o].percentiles, two.outputs[o].percentiles);
    EXPECT_EQ(one.outputs[o].rankCorrelation, two.outputs[o].rankCorrelation);
  }
  EXPECT_EQ(one.limitStates[0].failures, two.limitStates[0].failures);
  // A sample without results is not a wall shown held.
  EXPECT_GE(one.limitStates[1].failures, one.failedSamples);
  EXPECT_EQ(one.outputs[0].count + one.failedSamples, options.samples);
  // A deeper wall deflects less at the top; a stronger sand too.
  EXPECT_LT(one.outputs[0].rankCorrelation[0], 0);
}

// Near 38 degrees the cantilever's shear at the excavation level and the
// opposite one lower down are about equal: the signed shear of largest magnitude
// jumps from one end to the other between points, so a study's "shear" is
// the magnitude, with each signed end an output of its own.
TEST(Study, ShearIsItsMagnitudeWithEachEndSigned) {
  std::string error;
  const ParameterText p = *ParameterText::Parse(Sample(), error);
  const SweepResult sweep = Sweep(p, {*Vary::Parse("layer.1.phi", "34:42:9", error)}, 2);
  ASSERT_FALSE(sweep.error);
  bool positiveLarger = false, negativeLarger = false;
  for (const PointResult& point : sweep.points) {
    ASSERT_FALSE(point.error) << *point.error;
    const ProblemOutputs& o = point.problems[0];
    EXPECT_EQ(o.shear, std::max(o.shearMax, -o.shearMin));
    EXPECT_GT(o.shearMax, 0);
    EXPECT_LT(o.shearMin, 0);
    EXPECT_EQ(o.shearDepth, o.shearMax > -o.shearMin ? o.shearMaxDepth : o.shearMinDepth);
    (o.shearMax > -o.shearMin ? positiveLarger : negativeLarger) = true;
  }
  EXPECT_TRUE(positiveLarger && negativeLarger);  // the flip the magnitude removes
}

TEST(Study, SweepPointIsTheWallRewrittenAlone) {
  const std::string text = Sample();
  std::string error;
  const ParameterText p = *ParameterText::Parse(text, error);
  std::vector<Vary> vary{*Vary::Parse("tip", "-10,240,300", error),
                         *Vary::Parse("layer.1.phi", "30:34:3", error)};
  ASSERT_EQ(vary[1].values, (std::vector<double>{30, 32, 34}));
  const SweepResult sweep = Sweep(p, vary, 2);
  ASSERT_FALSE(sweep.error);
  ASSERT_EQ(sweep.points.size(), 9u);
  for (size_t k = 0; k < 3; ++k) EXPECT_TRUE(sweep.points[k].error);  // no wall at -10
  EXPECT_FALSE(sweep.points[3].error);

  // tip 300, phi 32: the sample's wall of 60 increments of 5 in.
  const PointResult& point = sweep.points[7];
  EXPECT_EQ(point.values, (std::vector<double>{300, 32}));
  const auto alone = engine::api::Analyse(WallText::Parse(text, 0, error)->withWall(60, 5));
  ASSERT_FALSE(alone.error || point.error);
  const ProblemOutputs expected = OutputsOf(alone.problems[0]);
  const ProblemOutputs& got = point.problems[0];
  EXPECT_EQ(got.topDeflection, expected.topDeflection);
  EXPECT_EQ(got.moment, expected.moment);
  EXPECT_EQ(got.momentDepth, expected.momentDepth);
  EXPECT_EQ(got.shear, expected.shear);
  EXPECT_TRUE(got.held);

  EXPECT_FALSE(Vary::Parse("tip", "30:45", error));
  EXPECT_TRUE(Sweep(p, {{"layer.2.phi", {1}}}, 1).error);
}

}  // namespace
}  // namespace terraq::test
