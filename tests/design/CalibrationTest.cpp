// Calibration against measured deflections: the fit finds the multipliers
// a synthetic measurement was made with, refuses what it cannot fit, and
// the envelope of observed movements is read as its table says.

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "Calibration.h"
#include "CalibrationEnvelope.h"
#include "api/Analysis.h"

namespace terraq::test {
namespace {

using namespace design;

std::string Example(const char* name) {
  std::ifstream in(std::string(TERRAQ_SOURCE_DIR) + "/examples/" + name, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// The sand cantilever (lb, in: 360 in long, 120 in excavated, k 90 lb/in³,
// EI 1.1397e10 lb-in²).
ParameterText Sand() {
  std::string error;
  const auto text = ParameterText::Parse(Example("cantilever-sand-generated.tq4d"), error);
  EXPECT_TRUE(text) << error;
  return *text;
}

// The wall's deflections every 12 in down to 240 in with all.k and ei set,
// with normal noise of `noise` times the largest deflection, fixed seed.
MeasuredStage Measured(const ParameterText& text, double allK, double ei, double noise) {
  const auto applied = text.apply({{"all.k", allK}, {"ei", ei}});
  EXPECT_FALSE(applied.error);
  const engine::api::AnalysisResult r = engine::api::Analyse(applied.text);
  EXPECT_FALSE(r.error);
  std::vector<std::pair<double, double>> stations;
  for (const auto& s : r.problems.at(0).stations) stations.push_back({s.depth, s.deflection});
  std::vector<double> depths, w;
  for (int k = 0; k <= 20; ++k) depths.push_back(12.0 * k);
  EXPECT_TRUE(DeflectionsAt(stations, depths, w));
  std::mt19937_64 random(20261211);
  std::normal_distribution<double> normal(0, noise * std::fabs(w.front()));
  MeasuredStage stage;
  for (size_t k = 0; k < depths.size(); ++k)
    stage.readings.push_back({depths[k], w[k] + normal(random)});
  return stage;
}

TEST(Calibration, RecoversTheStiffnessMultiplierAndTheWallsRigidity) {
  const ParameterText text = Sand();
  const double ei0 = text.find("ei")->value;
  // all.k = 2.5 is the layer's k set to 2.5 x 90 by hand.
  EXPECT_EQ(text.apply({{"all.k", 2.5}}).text, text.apply({{"layer.1.k", 225}}).text);
  EXPECT_EQ(text.find("all.su"), nullptr) << "a sand has no su to multiply";

  const MeasuredStage measured = Measured(text, 2.5, 0.8 * ei0, 0.0002);
  const std::vector<FitParameter> vary{{"all.k", 0.5, 5}, {"ei", 0.3 * ei0, 3 * ei0}};
  FitOptions options;
  const FitResult one = Fit(text, vary, {measured}, options);
  ASSERT_FALSE(one.error) << *one.error;
  EXPECT_TRUE(one.converged) << one.stopReason;
  EXPECT_NEAR(one.parameters[0].value, 2.5, 0.1);
  EXPECT_NEAR(one.parameters[1].value / ei0, 0.8, 0.03);
  EXPECT_LT(one.rms, 0.02 * one.startRms);
  EXPECT_LT(one.rms, 0.01 * std::fabs(measured.readings[0].deflection));
  for (const FittedParameter& p : one.parameters) {
    ASSERT_TRUE(p.standardError);
    // The truth within three standard errors of the fit.
    const double truth = p.name == "ei" ? 0.8 * ei0 : 2.5;
    EXPECT_LT(std::fabs(p.value - truth), 3 * *p.standardError + 1e-3 * truth) << p.name;
    EXPECT_GT(p.sensitivity, 0);
  }
  // No dependence on the number of threads, to the last digit.
  options.threads = 2;
  const FitResult two = Fit(text, vary, {measured}, options);
  ASSERT_FALSE(two.error);
  EXPECT_EQ(two.parameters[0].value, one.parameters[0].value);
  EXPECT_EQ(two.parameters[1].value, one.parameters[1].value);
  EXPECT_EQ(two.iterations, one.iterations);
}

TEST(Calibration, RefusesWhatItCannotFit) {
  const ParameterText text = Sand();
  MeasuredStage two;
  two.readings = {{0, 0.5}, {60, 0.2}};
  auto refusal = [&](const std::vector<FitParameter>& vary, const MeasuredStage& m) {
    const FitResult r = Fit(text, vary, {m}, {});
    return r.error ? *r.error : std::string("fitted");
  };
  EXPECT_EQ(refusal({{"all.k", 0.5, 5}, {"ei", 1e9, 1e11}, {"excavation", 100, 140}}, two),
            "3 parameters cannot be fitted to 2 readings");
  EXPECT_NE(refusal({{"all.k", 5, 0.5}}, two).find("not an interval"), std::string::npos);
  // The water table stays below the 360 in wall whatever its depth.
  EXPECT_EQ(refusal({{"water.back", 400, 600}}, two),
            "no parameter moves the deflections at the measured depths");
  MeasuredStage deep;
  deep.readings = {{400, 0}};
  EXPECT_NE(refusal({{"all.k", 0.5, 5}}, deep).find("off the wall"), std::string::npos);
  deep.stage = 2;
  deep.readings = {{10, 0}};
  EXPECT_NE(refusal({{"all.k", 0.5, 5}}, deep).find("there is no stage 2"), std::string::npos);
}

TEST(Calibration, EnvelopeOfObservedMovements) {
  // On the table's nodes, and halfway in log stiffness and in FS between them.
  EXPECT_DOUBLE_EQ(MovementEnvelope(100, 1.4).ratio, 0.70);
  const double between = MovementEnvelope(std::sqrt(100.0 * 300.0), 1.25).ratio;
  EXPECT_NEAR(between, 0.25 * (1.15 + 0.80 + 0.70 + 0.50), 1e-12);
  EXPECT_FALSE(MovementEnvelope(2000, 2.5).outside);
  EXPECT_TRUE(MovementEnvelope(5, 1.4).outside);
  EXPECT_DOUBLE_EQ(MovementEnvelope(5, 1.4).ratio, 1.20);
  // A sheet pile of EI 50 000 kN m² per m, supports 3 m apart: 50 000 /
  // (9.81 x 81) = 62.9; 60 mm over a 10 m excavation is 0.6 %.
  const EnvelopePoint p = EnvelopePointOf(5e4, 9.81, 3, 10, -0.06, 2.0);
  EXPECT_NEAR(p.stiffness, 62.924, 1e-3);
  EXPECT_NEAR(p.ratio, 0.6, 1e-12);
  const double f = (std::log10(p.stiffness) - std::log10(30.0)) / (2 - std::log10(30.0));
  EXPECT_NEAR(p.envelope.ratio, 0.55 + f * (0.42 - 0.55), 1e-12);
}

}  // namespace
}  // namespace terraq::test
