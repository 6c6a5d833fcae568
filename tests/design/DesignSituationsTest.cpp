// Design situations against values worked here: the design friction angle
// arctan(tan φ'/γφ), the unplanned excavation of each stage, a linear wall
// whose effects scale exactly with the action factors, and the envelope as
// the worst of the single runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>

#include "DesignSituations.h"
#include "Parameters.h"
#include "api/Analysis.h"

namespace terraq::design {
namespace {

const double kPi = std::acos(-1.0);

std::string Example(const char* name) {
  std::ifstream in(std::string(TERRAQ_SOURCE_DIR) + "/examples/" + name, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

double ParameterOf(const std::string& text, const char* name) {
  std::string error;
  const std::optional<ParameterText> p = ParameterText::Parse(text, error);
  EXPECT_TRUE(p) << error;
  const Parameter* found = p ? p->find(name) : nullptr;
  return found ? found->value : std::nan("");
}

TEST(PartialFactors, RecommendedValuesAndRefusedFactors) {
  const std::optional<FactorSet> da12 = StandardFactorSet("da1-2");
  ASSERT_TRUE(da12);
  EXPECT_EQ(da12->gammaG, 1.0);
  EXPECT_EQ(da12->gammaQ, 1.3);
  EXPECT_EQ(da12->gammaPhi, 1.25);
  EXPECT_EQ(da12->gammaCu, 1.4);
  EXPECT_EQ(StandardFactorSet("DA2")->gammaRe, 1.4);
  EXPECT_EQ(StandardFactorSet("DA1-1")->gammaG, 1.35);
  EXPECT_NEAR(1 / StandardFactorSet("LRFD")->gammaRe, 0.75, 1e-15);
  EXPECT_FALSE(StandardFactorSet("DA4"));
  for (const FactorSet& set : StandardFactorSets()) EXPECT_EQ(FactorSetError(set), "") << set.name;

  FactorSet mine = *da12;
  mine.name = "mine";
  *FactorOf(mine, "gammaPhi") = 0;
  EXPECT_EQ(FactorSetError(mine), "mine: gammaPhi must be a number above 0, not 0");
  *FactorOf(mine, "gammaPhi") = std::nan("");
  EXPECT_NE(FactorSetError(mine).find("gammaPhi must be a number above 0"), std::string::npos);
  std::string error;
  EXPECT_FALSE(ApplyFactorSet(Example("cantilever-sand-generated.tq4d"), mine, {}, error));
  EXPECT_NE(error.find("gammaPhi"), std::string::npos) << error;
}

TEST(DesignSituations, DesignSoilAndUnplannedExcavation) {
  // Sand of φ' = 32°: DA1-2 gives arctan(tan 32° / 1.25) = 26.56°; the unit
  // weight stays (γγ = 1).
  const std::string sand = Example("cantilever-sand-generated.tq4d");
  std::string error;
  std::optional<FactoredData> da12 =
      ApplyFactorSet(sand, *StandardFactorSet("DA1-2"), {.unplannedExcavation = false}, error);
  ASSERT_TRUE(da12) << error;
  EXPECT_NEAR(ParameterOf(da12->text, "layer.1.phi"),
              std::atan(std::tan(32 * kPi / 180) / 1.25) * 180 / kPi, 1e-9);
  EXPECT_EQ(ParameterOf(da12->text, "layer.1.gamma"), ParameterOf(sand, "layer.1.gamma"));
  EXPECT_EQ(da12->excavationAdded, std::vector<double>{0});
  ASSERT_EQ(da12->soil.size(), 2u);  // the sand's unit weight and friction angle
  EXPECT_EQ(da12->soil[1].name, "phi");
  EXPECT_EQ(da12->soil[1].characteristic, 32);
  EXPECT_EQ(da12->soil[1].design, ParameterOf(da12->text, "layer.1.phi"));

  // The staged wall: 2 m dug as a cantilever (0.2 m more), then below a
  // tie-back at 1.5 m to 3.5, 5, 6 and 7 m: 10 % of 2, 3.5, 4.5 and 5.5 m
  // below the tie-back, at most 0.5 m.
  const std::string staged = Example("staged-excavation-tieback.tq4d");
  const std::optional<FactoredData> da11 =
      ApplyFactorSet(staged, *StandardFactorSet("DA1-1"), {}, error);
  ASSERT_TRUE(da11) << error;
  const std::vector<double> expected{0.2, 0.2, 0.35, 0.45, 0.5};
  ASSERT_EQ(da11->excavationAdded.size(), expected.size());
  for (size_t k = 0; k < expected.size(); ++k)
    EXPECT_NEAR(da11->excavationAdded[k], expected[k], 1e-12) << "stage " << k + 1;
  EXPECT_NEAR(ParameterOf(da11->text, "stage.5.excavation"), 7.5, 1e-12);
  // In inches: a cantilever of 120 in (10 ft) gets 12 in.
  const std::optional<FactoredData> inches =
      ApplyFactorSet(sand, *StandardFactorSet("DA2"), {}, error);
  ASSERT_TRUE(inches) << error;
  EXPECT_NEAR(inches->excavationAdded.at(0), 12.0, 1e-12);

  // Nothing for the soil factors to act on; a minimum surcharge needs
  // generated earth pressure.
  const std::string point = Example("cantilever-point-load.tq4d");
  const std::optional<FactoredData> none =
      ApplyFactorSet(point, *StandardFactorSet("DA3"), {}, error);
  ASSERT_TRUE(none) << error;
  ASSERT_EQ(none->notes.size(), 1u);
  EXPECT_NE(none->notes[0].find("the soil factors have nothing to act on"), std::string::npos);
  EXPECT_FALSE(ApplyFactorSet(point, *StandardFactorSet("SLS"), {.minimumSurcharge = 10.0}, error));
  EXPECT_NE(error.find("minimum surcharge needs generated earth pressure"), std::string::npos);
}

// A layer code no model has is analysed as soft clay: its undrained strength
// is divided by γcu as soft clay's is, not left at its characteristic value.
TEST(DesignSituations, AnUnknownLayerCodeIsFactoredAsTheSoftClayItIsAnalysedAs) {
  std::string text = Example("cantilever-soft-clay-generated.tq4d");
  const size_t clay = text.find("\n1 480 ");
  ASSERT_NE(clay, std::string::npos);
  text[clay + 1] = '9';
  std::string error;
  const std::optional<FactoredData> da12 =
      ApplyFactorSet(text, *StandardFactorSet("DA1-2"), {}, error);
  ASSERT_TRUE(da12) << error;
  const auto su = std::find_if(da12->soil.begin(), da12->soil.end(), [](const DesignSoilValue& v) {
    return v.layer == 2 && v.name == "su";
  });
  ASSERT_NE(su, da12->soil.end());
  EXPECT_NEAR(su->characteristic, 3.4722222, 1e-9);
  EXPECT_NEAR(su->design, 3.4722222 / 1.4, 1e-9);
}

TEST(DesignSituations, FactoredActivePressureOfACantileverByHand) {
  // Stage 1 of the staged wall, DA1-2 without the unplanned excavation:
  // sand of γ = 19 kN/m³ and φ'd = arctan(tan 32° / 1.25) under 10 kPa times
  // γQ = 1.3, dry above the water table at 4 m, 1 m of wall. Rankine's
  // p = Ka,d (1.3 q + γ z) with Ka,d = tan²(45° − φ'd / 2).
  std::string error;
  const std::optional<FactoredData> da12 =
      ApplyFactorSet(Example("staged-excavation-tieback.tq4d"), *StandardFactorSet("DA1-2"),
                     {.unplannedExcavation = false}, error);
  ASSERT_TRUE(da12) << error;
  const engine::api::AnalysisResult analysis = engine::api::Analyse(da12->text);
  ASSERT_FALSE(analysis.error);
  const double phi = std::atan(std::tan(32 * kPi / 180) / 1.25);
  const double ka = std::pow(std::tan(kPi / 4 - phi / 2), 2);
  size_t checked = 0;
  for (const engine::api::PressureRow& row : analysis.problems.at(0).earthPressure) {
    if (row.depth <= 0 || row.depth > 2.0) continue;
    // The engine turns degrees to radians with 57.2958: within a millionth.
    EXPECT_NEAR(row.total / (ka * (1.3 * 10 + 19 * row.depth)), 1.0, 1e-5) << row.depth;
    ++checked;
  }
  EXPECT_GT(checked, 70u);  // rows 25.4 mm apart over the 2 m dug
}

TEST(DesignSituations, LrfdFactorsTheActiveEarthPressureAndNotTheWater) {
  // The last stage of the staged wall (dug to 7 m, water 4 m below the top
  // behind the wall, 10 kPa) by LRFD: EH 1.5 on the active pressure of the
  // sand (γ = 19 kN/m³, φ' = 32°, effective below the water), LS 1.75 on the
  // surcharge's, WA 1.0 on the water, and effects not multiplied again.
  const FactorSet lrfd = *StandardFactorSet("LRFD");
  EXPECT_EQ(lrfd.gammaG, 1.0);
  std::string error;
  const std::optional<FactoredData> data =
      ApplyFactorSet(Example("staged-excavation-tieback.tq4d"), lrfd, {}, error);
  ASSERT_TRUE(data) << error;
  const engine::api::AnalysisResult analysis = engine::api::Analyse(data->text);
  ASSERT_FALSE(analysis.error);
  const double ka = std::pow(std::tan(kPi / 4 - 16 * kPi / 180), 2), gw = 9.81;
  size_t checked = 0;
  for (const engine::api::PressureRow& row : analysis.problems.at(4).earthPressure) {
    if (row.depth <= 0 || row.depth > 7.0) continue;
    const double water = gw * std::max(0.0, row.depth - 4.0);
    const double expected = 1.5 * ka * (19 * row.depth - water) + 1.75 * ka * 10 + water;
    EXPECT_NEAR(row.total / expected, 1.0, 1e-5) << row.depth;
    ++checked;
  }
  EXPECT_GT(checked, 250u);
}

TEST(DesignSituations, LinearWallScalesWithTheActionFactors) {
  // 1000 lb at the top of a linear cantilever: M = 480,000 lb·in at the
  // foot. Taken as variable, γQ = 1.5 with γG = 1 gives 1.5 M; γG = γQ =
  // 1.35 leaves the analysis as it is and multiplies its effects.
  const std::string point = Example("cantilever-point-load.tq4d");
  const FactorSet variable{.name = "Q", .gammaQ = 1.5};
  const FactorSet both{.name = "GQ", .gammaG = 1.35, .gammaQ = 1.35};
  const FactorSet sls{.name = "SLS", .serviceability = true};
  const std::vector<SituationResult> runs = RunDesignSituations(point, {variable, both, sls}, {});
  ASSERT_EQ(runs.size(), 3u);
  for (const SituationResult& r : runs) ASSERT_EQ(r.error, "") << r.set.name;
  EXPECT_NEAR(std::fabs(runs[0].problems.at(0).moment.value), 1.5 * 480000, 1e-6 * 480000);
  EXPECT_NEAR(std::fabs(runs[1].problems.at(0).moment.value), 1.35 * 480000, 1e-6 * 480000);
  EXPECT_NEAR(std::fabs(runs[1].problems[0].shear.value), 1.35 * 1000, 1e-6 * 1000);
  // Deflections are analysed, not factored: P L³ / 3EI = 36.864 in, to the
  // finite differences' 0.03 % over 40 increments.
  EXPECT_NEAR(std::fabs(runs[2].problems[0].topDeflection.value), 36.864, 0.02);
  EXPECT_EQ(runs[1].problems[0].topDeflection.value, runs[2].problems[0].topDeflection.value);

  const std::vector<EnvelopeProblem> envelope = EnvelopeOf(runs);
  ASSERT_EQ(envelope.size(), 1u);
  EXPECT_EQ(envelope[0].moment.set, "Q");
  EXPECT_EQ(envelope[0].moment.depth, 480);
  ASSERT_TRUE(envelope[0].topDeflection);
  EXPECT_EQ(envelope[0].topDeflection->set, "SLS");
}

TEST(DesignSituations, EnvelopeIsTheWorstOfTheSingleRuns) {
  const std::string staged = Example("staged-excavation-tieback.tq4d");
  const std::vector<SituationResult> runs =
      RunDesignSituations(staged, StandardFactorSets(), {.minimumSurcharge = 10.0});
  const std::vector<EnvelopeProblem> envelope = EnvelopeOf(runs);
  ASSERT_EQ(envelope.size(), 5u);
  for (size_t k = 0; k < envelope.size(); ++k) {
    double worst = 0;
    std::string governing;
    for (const SituationResult& r : runs) {
      ASSERT_EQ(r.error, "") << r.set.name;
      const SituationProblem& p = r.problems.at(k);
      EXPECT_TRUE(p.valid) << r.set.name << " stage " << k + 1 << ": " << p.fault;
      if (!r.set.serviceability && std::fabs(p.moment.value) > worst) {
        worst = std::fabs(p.moment.value);
        governing = r.set.name;
      }
    }
    EXPECT_TRUE(envelope[k].checked);
    EXPECT_EQ(std::fabs(envelope[k].moment.value), worst) << "stage " << k + 1;
    EXPECT_EQ(envelope[k].moment.set, governing);
    // Factored moments exceed the characteristic ones.
    EXPECT_GT(worst, std::fabs(runs[4].problems[k].moment.value)) << "stage " << k + 1;
  }
  // The tie-back of the last stage: one support, its largest design force.
  ASSERT_EQ(envelope[4].supports.size(), 1u);
  EXPECT_EQ(envelope[4].supports[0].depth, 1.5);
  EXPECT_TRUE(EnvelopeValid(envelope));
  EXPECT_TRUE(SetsLeftOut(envelope).empty());
}

// A set whose analysis fails may be the one that governs: the largest of the
// others must not pass for the envelope. The sand cantilever holds with
// tan φ' / 1.25 but not with tan φ' / 3 (the deflection passes the
// allowable), nor, as a serviceability set, with tan φ' / 5.
TEST(DesignSituations, EnvelopeWithAFailedUltimateSetIsNotValid) {
  const std::string sand = Example("cantilever-sand-generated.tq4d");
  const FactorSet holds{.name = "M1", .gammaPhi = 1.25};
  const FactorSet fails{.name = "M3", .gammaPhi = 3};
  const FactorSet sls{.name = "S5", .gammaPhi = 5, .serviceability = true};
  const std::vector<SituationResult> runs = RunDesignSituations(sand, {holds, fails, sls}, {});
  ASSERT_EQ(runs.size(), 3u);
  ASSERT_TRUE(runs[0].problems.at(0).valid) << runs[0].problems[0].fault;
  ASSERT_FALSE(runs[1].problems.at(0).valid);
  std::vector<EnvelopeProblem> envelope = EnvelopeOf(runs);
  ASSERT_EQ(envelope.size(), 1u);
  EXPECT_TRUE(envelope[0].checked);  // M1's numbers are there, but not as the envelope
  EXPECT_FALSE(envelope[0].valid);
  EXPECT_EQ(envelope[0].leftOut, std::vector<std::string>{"M3"});
  EXPECT_FALSE(EnvelopeValid(envelope));
  EXPECT_EQ(SetsLeftOut(envelope), std::vector<std::string>{"M3"});
  ASSERT_EQ(envelope[0].invalid.size(), 2u);  // the serviceability set is said too
  EXPECT_EQ(envelope[0].invalid[1].rfind("S5: ", 0), 0u) << envelope[0].invalid[1];

  // Without the failed ultimate set the failed serviceability set leaves the
  // ultimate envelope valid.
  envelope = EnvelopeOf({runs[0], runs[2]});
  EXPECT_TRUE(EnvelopeValid(envelope));
  EXPECT_EQ(envelope[0].invalid.size(), 1u);

  // A set that could not be analysed at all is left out of every problem.
  SituationResult notAnalysed;
  notAnalysed.set = fails;
  notAnalysed.error = "M3: cannot be applied";
  envelope = EnvelopeOf({runs[0], notAnalysed});
  EXPECT_FALSE(EnvelopeValid(envelope));
  EXPECT_EQ(envelope[0].leftOut, std::vector<std::string>{"M3"});
  EXPECT_FALSE(EnvelopeValid(EnvelopeOf({notAnalysed})));  // nothing analysed: no envelope
}

}  // namespace
}  // namespace terraq::design
