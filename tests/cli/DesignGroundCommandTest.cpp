// terraq design and the ground around the wall: basal heave of the soft-clay
// cantilever's cut by hand, the anchored sequence's deep slip plane with the
// anchor's largest force taken along its tendon, the project's member under
// the options, the overall stability below the designed tip, and the
// refusals. Without a plan nothing is printed.

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <regex>

#include "CliTestFiles.h"
#include "CommandRunner.h"
#include "OverallStability.h"
#include "api/EngineRoute.h"

using namespace terraq::test;

namespace {

// Every number (NaN for null) of "key": in a JSON text, in order.
std::vector<double> Values(const std::string& json, const std::string& key) {
  std::vector<double> out;
  const std::regex pattern("\"" + key + "\": (null|-?[0-9.eE+-]+)");
  for (auto it = std::sregex_iterator(json.begin(), json.end(), pattern);
       it != std::sregex_iterator(); ++it)
    out.push_back((*it)[1] == "null" ? std::nan("") : std::stod((*it)[1]));
  return out;
}

void Example(const ScratchFolder& work, const std::string& name, bool project) {
  const fs::path examples = fs::path(TERRAQ_SOURCE_DIR) / "examples";
  fs::copy_file(examples / (name + ".tq4d"), work.path() / "wall.tq4d");
  if (project) fs::copy_file(examples / (name + ".terraq.json"), work.path() / "wall.terraq.json");
}

}  // namespace

// Sand (0.069444 lb/in3) to the excavation level H = 96 in over soft clay
// of su = 3.4722 psi: a long cut B = 96 in has H/B = 1, Nc = 0.84 x 7.7 on
// Bjerrum and Eide's curve, 5.7 by Terzaghi; no side shear in sand.
TEST(DesignGroundCommand, BasalHeaveOfTheSoftClayCutByHand) {
  ScratchFolder work;
  Example(work, "cantilever-soft-clay-generated", false);
  const Outcome plain = runTerraq("design --json wall.tq4d", work.path());
  const Outcome o = runTerraq("design --json --excavation-width 96 wall.tq4d", work.path());
  ASSERT_EQ(o.status, 0) << o.err;
  EXPECT_FALSE(contains(plain.out, "basalHeave"));
  const double load = 0.069444444 * 96, su = 3.4722222;
  const std::string heave = o.out.substr(0, o.out.find("\"deepSeated\""));
  const std::vector<double> factors = Values(heave, "factor");
  ASSERT_EQ(factors.size(), 2u) << o.out;
  EXPECT_NEAR(factors[0], 5.7 * su / load, 1e-5);
  EXPECT_NEAR(factors[1], 0.84 * 7.7 * su / load, 1e-5);
  EXPECT_EQ(Values(o.out, "blockWidth"), std::vector<double>{0.7 * 96});
  EXPECT_TRUE(contains(o.out, "\"unitWeight\": \"lbs/in^3\"")) << o.out;
  EXPECT_TRUE(contains(o.out, "\"deepSeated\": {\"error\": \"no anchor holds the wall\"}"));
  const Outcome text = runTerraq("design --excavation-width 96 wall.tq4d", work.path());
  EXPECT_TRUE(contains(text.out, "Bjerrum & Eide (Nc = 6.468): F = 3.369 with side shear"))
      << text.out;
  for (const char* bad : {"--excavation-width 96 --excavation-length 50", "--anchor-bond 5,x",
                          "--excavation-width -3"}) {
    const Outcome refused = runTerraq(std::string("design ") + bad + " wall.tq4d", work.path());
    EXPECT_EQ(refused.status, 2) << bad;
    EXPECT_FALSE(refused.err.empty()) << bad;
  }
}

// The anchored sequence's anchor A1 (15 degrees, free length 8 m in the
// plan) with a bond of 6 m: its largest horizontal force over the stages,
// along the tendon, loads the one plane. Sand is no clay to heave.
TEST(DesignGroundCommand, DeepSlipPlaneOfTheAnchoredSequence) {
  ScratchFolder work;
  Example(work, "sequential-excavation-anchor", true);
  const Outcome o =
      runTerraq("design --json --anchor-bond 6 --excavation-width 10 wall.tq4d", work.path());
  ASSERT_EQ(o.status, 0) << o.err;
  EXPECT_TRUE(contains(o.out, "layer 1 below the excavation level is not a clay")) << o.out;
  // The design's largest force of A1, horizontal per metre of wall.
  const double force = Values(o.out.substr(o.out.find("\"supportForces\"")), "force").front();
  const std::string deep = o.out.substr(o.out.find("\"deepSeated\""));
  const std::vector<double> along = Values(deep.substr(0, deep.find("\"supportForces\"")), "force");
  ASSERT_EQ(along.size(), 1u) << o.out;
  EXPECT_NEAR(along[0], force / std::cos(15 * M_PI / 180), 1e-3);
  const std::string kranz = deep.substr(0, deep.find("\"overallStability\""));
  EXPECT_EQ(Values(kranz, "freeLength"), std::vector<double>{8});
  const std::vector<double> eta = Values(kranz, "factor");
  ASSERT_EQ(eta.size(), 1u);
  EXPECT_GT(eta[0], 1.0);
  EXPECT_EQ(Values(o.out, "governing"), std::vector<double>{1});
  // The same plan kept by the project.
  std::string project = ReadFile(work.path() / "wall.terraq.json");
  project.replace(project.rfind('}'), 1, R"(, "excavation": {"anchorBond": [6]}})");
  std::ofstream(work.path() / "wall.terraq.json") << project;
  const Outcome kept = runTerraq("design --json wall.tq4d", work.path());
  ASSERT_EQ(kept.status, 0) << kept.err;
  const std::string keptDeep = kept.out.substr(kept.out.find("\"deepSeated\""));
  EXPECT_EQ(Values(keptDeep.substr(0, keptDeep.find("\"overallStability\"")), "factor"), eta);
}

// The overall stability the command prints is the critical circle of the
// data file's soil below the designed tip (the design library's search, in
// the data file's inches), with no anchor in a cantilever.
TEST(DesignGroundCommand, OverallStabilityIsTheCriticalCircleBelowTheDesignedTip) {
  ScratchFolder work;
  Example(work, "cantilever-sand-generated", false);
  const Outcome o = runTerraq("design --json --excavation-width 96 wall.tq4d", work.path());
  ASSERT_EQ(o.status, 0) << o.err;
  const std::string overall = o.out.substr(o.out.find("\"overallStability\""));
  const std::vector<double> factor = Values(overall, "factor"), tip = Values(overall, "tipDepth");
  ASSERT_EQ(factor.size(), 1u) << o.out;
  EXPECT_NEAR(tip[0], Values(o.out, "tipDepth").front(), 1e-9);
  terraq::engine::api::SoilDescription soil =
      terraq::engine::ReadSoilDescriptions(ReadFile(work.path() / "wall.tq4d")).problems.at(0);
  soil.wallLength = tip[0];
  const terraq::design::OverallStability expected = terraq::design::CheckOverallStability(soil, {});
  ASSERT_TRUE(expected.search && !expected.search->error);
  EXPECT_NEAR(factor[0], expected.search->critical.factor, 1e-9);
  EXPECT_NEAR(Values(overall, "radius")[0], expected.search->critical.circle.radius, 1e-6);
  EXPECT_TRUE(contains(overall, "\"radius\": \"in\"")) << overall;
  const Outcome text = runTerraq("design --excavation-width 96 wall.tq4d", work.path());
  EXPECT_TRUE(contains(text.out, "overall stability (Bishop's critical circle below the tip"))
      << text.out;
}
