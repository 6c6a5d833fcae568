// terraq design, run as users run it: the design of the cantilever sample as
// JSON (every key, the units, the recommended embedment from D0 and the
// embedment factor), its text, and the refusals with their exit statuses.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <regex>

#include "CliTestFiles.h"
#include "CommandRunner.h"
#include "project/TProgramData.h"
#include "project/TProjectTables.h"

using namespace terraq::test;

namespace {

// The number (or null: NaN) of "key": in a JSON text; the test fails when
// the key is missing.
double JsonValue(const std::string& json, const std::string& key) {
  std::smatch m;
  const std::regex pattern("\"" + key + "\": (null|-?[0-9.eE+-]+)");
  if (!std::regex_search(json, m, pattern)) {
    ADD_FAILURE() << "no key " << key;
    return 0;
  }
  return m[1] == "null" ? std::nan("") : std::stod(m[1]);
}

// Every number (NaN for null) of "key": in a JSON text, in order.
std::vector<double> JsonValues(const std::string& json, const std::string& key) {
  std::vector<double> out;
  const std::regex pattern("\"" + key + "\": (null|-?[0-9.eE+-]+)");
  for (auto it = std::sregex_iterator(json.begin(), json.end(), pattern);
       it != std::sregex_iterator(); ++it)
    out.push_back((*it)[1] == "null" ? std::nan("") : std::stod((*it)[1]));
  return out;
}

fs::path Sample(const ScratchFolder& work, const char* name) {
  const fs::path data = work.path() / "wall.tq4d";
  fs::copy_file(fs::path(TERRAQ_SOURCE_DIR) / "examples" / name, data);
  return data;
}

TEST(DesignCommand, CantileverSampleAsJsonAndText) {
  ScratchFolder work;
  Sample(work, "cantilever-sand-generated.tq4d");
  // No display and a platform that does not exist: the command must not
  // need a window system.
  const std::string env = "QT_QPA_PLATFORM=no-such-platform DISPLAY= WAYLAND_DISPLAY=";
  const Outcome o = runTerraq("design --fs 1.5 --json wall.tq4d", work.path(), env);
  ASSERT_EQ(o.status, 0) << o.err;
  EXPECT_EQ(o.err, "");
  const std::string& j = o.out;
  const double H = 120.0;  // the sample's free height, inches
  const double D0 = JsonValue(j, "D0"), D = JsonValue(j, "D");
  EXPECT_GT(D0, 0.0);
  // Simplified fixed earth: the embedment for the factor, then 1.2 times it.
  EXPECT_GT(D, 1.2 * D0);
  EXPECT_NEAR(JsonValue(j, "tipDepth"), H + D, 1e-9 * D);
  EXPECT_NEAR(JsonValue(j, "embedmentFactor"), 1.2, 1e-12);
  EXPECT_NEAR(JsonValue(j, "fs"), 1.5, 1e-12);
  EXPECT_TRUE(std::isnan(JsonValue(j, "anchorForce")));
  for (const char* key : {"maxMoment", "maxMomentDepth", "zeroShearDepth", "wallFs"})
    EXPECT_FALSE(std::isnan(JsonValue(j, key))) << key;
  EXPECT_GT(JsonValue(j, "strengthReductionFactor"), 1.5);
  // The shortest wall holds at a strength reduction of 1.5: it lies below
  // the excavation level and within the 30 ft profile.
  const double shortest = JsonValue(j, "shortestTipDepth");
  EXPECT_GT(shortest, H);
  EXPECT_LE(shortest, 360.0);
  EXPECT_TRUE(contains(j, "\"fsMethod\": \"strength\"")) << j;
  EXPECT_TRUE(contains(j, "\"units\": {\"D0\": \"in\"")) << j;
  EXPECT_TRUE(contains(j, "\"maxMoment\": \"lbs-in/in\"")) << j;

  const Outcome text = runTerraq("design --fs 1.5 wall.tq4d", work.path(), env);
  ASSERT_EQ(text.status, 0) << text.err;
  EXPECT_TRUE(contains(text.out, "embedment for equilibrium D0")) << text.out;
  EXPECT_TRUE(contains(text.out, "spring model, strength-reduction factor")) << text.out;
  EXPECT_TRUE(contains(text.out,
                       "deflection criterion: the largest reduction at which the "
                       "analysis closes within the allowed deflection of 100 in"))
      << text.out;
  EXPECT_TRUE(contains(text.out, "shortest wall (spring model)   tip at")) << text.out;
  // The target factor's run is given beside the wall's own.
  EXPECT_TRUE(contains(text.out, "at the strength reduction 1.5")) << text.out;
  EXPECT_TRUE(contains(j, "\"failureCriterion\": \"deflection\"")) << j;
  EXPECT_FALSE(std::isnan(JsonValue(j, "targetDeflection")));

  const Outcome mechanism =
      runTerraq("design --failure-criterion mechanism --json wall.tq4d", work.path(), env);
  ASSERT_EQ(mechanism.status, 0) << mechanism.err;
  EXPECT_TRUE(contains(mechanism.out, "\"failureCriterion\": \"mechanism\"")) << mechanism.out;
}

TEST(DesignCommand, RefusalsSayWhy) {
  ScratchFolder work;
  Sample(work, "cantilever-point-load.tq4d");  // no soil layers
  const Outcome noSoil = runTerraq("design wall.tq4d", work.path());
  EXPECT_EQ(noSoil.status, 1);
  EXPECT_TRUE(contains(noSoil.out, "cannot design: The problem has no soil layers")) << noSoil.out;

  const struct {
    const char* args;
    const char* says;
  } usage[] = {{"design --fs 0.8 wall.tq4d",
                "--fs 0.8 is refused for design: a factor is a number of 1 or more"},
               {"design --method sideways wall.tq4d", "the method is fixed-earth"},
               {"design --tip-resolution -1 wall.tq4d", "a length is a number above 0"},
               {"design --fs", "--fs needs a value"},
               {"design --failure-criterion collapse wall.tq4d", "deflection or mechanism"},
               {"design", "design needs a data file"},
               {"design missing.tq4d", "missing.tq4d"}};
  for (const auto& u : usage) {
    const Outcome o = runTerraq(u.args, work.path());
    EXPECT_EQ(o.status, 2) << u.args;
    EXPECT_TRUE(contains(o.err, u.says)) << u.args << ": " << o.err;
  }
}

}  // namespace

TEST(DesignCommand, DesignApproachIsTheDesignOfTheHandFactoredWall) {
  // DA1-2 on the sand cantilever: φ'd = arctan(tan 32° / 1.25), the 10 ft
  // excavation 12 in deeper (10 % of it), the passive resistance divided by
  // 1.0. The same data factored by hand and designed at a factor of 1 on
  // passive must give the same embedment.
  ScratchFolder work;
  const fs::path data = Sample(work, "cantilever-sand-generated.tq4d");
  std::string text = ReadFile(data);
  char phi[40];
  std::snprintf(phi, sizeof phi, "%.17g", std::atan(std::tan(32 * M_PI / 180) / 1.25) * 180 / M_PI);
  for (const auto& [from, to] : std::vector<std::pair<std::string, std::string>>{
           {"0.0  32 0.0", std::string("0.0  ") + phi + " 0.0"},
           {"0.0001\t120", "0.0001\t132"},
           {"120\t72\t12", "132\t72\t12"}})
    for (size_t at; (at = text.find(from)) != std::string::npos;) text.replace(at, from.size(), to);
  const fs::path hand = work.path() / "hand.tq4d";
  std::ofstream(hand, std::ios::binary) << text;

  const Outcome approach =
      runTerraq("design --json --design-approach DA1-2 " + quoted(data.string()), work.path());
  const Outcome byHand =
      runTerraq("design --json --fs 1 --fs-method passive " + quoted(hand.string()), work.path());
  ASSERT_EQ(approach.status, 0) << approach.err;
  ASSERT_EQ(byHand.status, 0) << byHand.err;
  EXPECT_NEAR(JsonValue(approach.out, "D"), JsonValue(byHand.out, "D"), 1e-9);
  EXPECT_NEAR(JsonValue(approach.out, "maxMoment"), JsonValue(byHand.out, "maxMoment"), 1e-6);

  const Outcome both =
      runTerraq("design --design-approach DA2 --fs 1.5 " + quoted(data.string()), work.path());
  EXPECT_EQ(both.status, 2);
  EXPECT_TRUE(contains(both.err, "without --fs and --fs-method")) << both.err;
}

TEST(DesignCommand, DesignApproachGivesDesignForcesAndMomentsTimesGammaG) {
  // A set of the engineer's that acts on the effects and the passive
  // resistance only: gammaG = gammaQ = 1.35 (the surcharge stays as given),
  // gammaRe = 1.1, no unplanned excavation. Its walls are those of a factor
  // of 1.35 x 1.1 = 1.485 on passive; the anchor forces and moments they
  // have are characteristic, and their design values 1.35 times them.
  ScratchFolder work;
  const fs::path data = Sample(work, "staged-excavation-tieback.tq4d");
  std::ofstream(work.path() / "wall.terraq.json", std::ios::binary)
      << R"({"format": "terraq-project", "version": 1, "designSituations": {"sets": [)"
      << R"({"name": "EFFECTS", "gammaG": 1.35, "gammaQ": 1.35, "gammaRe": 1.1,)"
      << R"( "unplannedExcavation": false}]}})";
  const Outcome approach =
      runTerraq("design --json --design-approach EFFECTS " + quoted(data.string()), work.path());
  const Outcome byHand = runTerraq(
      "design --json --fs 1.485 --fs-method passive " + quoted(data.string()), work.path());
  ASSERT_EQ(approach.status, 0) << approach.err;
  ASSERT_EQ(byHand.status, 0) << byHand.err;
  const std::vector<double> force = JsonValues(byHand.out, "anchorForce");
  const std::vector<double> moment = JsonValues(byHand.out, "maxMoment");
  const std::vector<double> designForce = JsonValues(approach.out, "designAnchorForce");
  const std::vector<double> designMoment = JsonValues(approach.out, "designMoment");
  ASSERT_EQ(force.size(), 5u);  // the five stages, the first a cantilever
  ASSERT_EQ(designForce.size(), 5u);
  ASSERT_EQ(designMoment.size(), 5u);
  EXPECT_TRUE(std::isnan(designForce[0]));
  for (size_t k = 1; k < force.size(); ++k) {
    EXPECT_NEAR(designForce[k], 1.35 * force[k], 1e-6 * force[k]) << k;
    EXPECT_NEAR(designMoment[k], 1.35 * moment[k], 1e-6 * std::fabs(moment[k])) << k;
  }
  EXPECT_NEAR(JsonValues(approach.out, "anchorForce")[4], force[4], 1e-9 * force[4]);
  EXPECT_NEAR(JsonValue(approach.out, "gammaG"), 1.35, 0);
  // Without an approach there is no design value to give.
  EXPECT_TRUE(std::isnan(JsonValues(byHand.out, "designAnchorForce")[4]));

  // The text gives the design value with the characteristic one beside it.
  const Outcome text =
      runTerraq("design --design-approach EFFECTS " + quoted(data.string()), work.path());
  char expected[96];
  std::snprintf(expected, sizeof expected,
                "design anchor force            %.4g kN/m at 1.5 m (characteristic %.4g)",
                1.35 * force[4], force[4]);
  EXPECT_TRUE(contains(text.out, expected)) << expected << "\n" << text.out;
}

TEST(DesignCommand, DesignsWithTheProjectsRecordAndItsOptionsOverIt) {
  // The record asks for F = 1.5 on the passive pressure with an embedment
  // factor of 1.3: the same design as those options given, said so; an
  // option given replaces the record's choice it names, and only that one.
  ScratchFolder work;
  const fs::path data = Sample(work, "cantilever-sand-generated.tq4d");
  const fs::path project = work.path() / "wall.terraq.json";
  std::ofstream(project, std::ios::binary)
      << R"({"format": "terraq-project", "version": 1, "design": {"fsMethod": "passive",)"
      << R"( "fs": 1.5, "embedmentFactor": 1.3, "engineer": "R. Eng."}})";
  const Outcome recorded = runTerraq("design --json wall.tq4d", work.path());
  const Outcome given = runTerraq(
      "design --json --fs 1.5 --fs-method passive --embedment-factor 1.3 wall.tq4d", work.path());
  ASSERT_EQ(recorded.status, 0) << recorded.err;
  ASSERT_EQ(given.status, 0) << given.err;
  EXPECT_EQ(recorded.out, given.out);
  EXPECT_TRUE(
      contains(recorded.err, "design choices from the project file: the method from the project"))
      << recorded.err;
  EXPECT_TRUE(contains(recorded.err, "F = 1.5 on the passive pressure, embedment factor 1.3"));

  const Outcome over = runTerraq("design --fs 2 wall.tq4d", work.path());
  ASSERT_EQ(over.status, 0) << over.err;
  EXPECT_TRUE(contains(over.out, "; overridden here by --fs\n")) << over.out;
  const Outcome overJson = runTerraq("design --json --fs 2 wall.tq4d", work.path());
  EXPECT_NEAR(JsonValue(overJson.out, "fs"), 2.0, 0);
  EXPECT_EQ(overJson.out, runTerraq("design --json --fs 2 --fs-method passive "
                                    "--embedment-factor 1.3 wall.tq4d",
                                    work.path())
                              .out);

  // A misspelt key is a record the command cannot take.
  std::ofstream(project, std::ios::binary)
      << R"({"format": "terraq-project", "version": 1, "design": {"fs": 1.5, "factor": 2}})";
  const Outcome misspelt = runTerraq("design wall.tq4d", work.path());
  EXPECT_EQ(misspelt.status, 2);
  EXPECT_TRUE(contains(misspelt.err, "\"factor\" is not a key this version knows")) << misspelt.err;
}

// The apparent-pressure envelope of the anchored sample (a 6 m cut in sand,
// phi = 30 deg, gamma = 18 kN/m3, q = 10 kPa) on two supports given on the
// command line, by hand: Ka = 1/3, p = 0.65 Ka gamma H^2 / (H - H1/3 -
// Hn+1/3), the top support's share from the top to 2.75 m, along a tendon
// 2 m apart at 10 deg; a support below the cut is refused.
TEST(DesignCommand, ApparentPressureEnvelopeAndSupportLoads) {
  ScratchFolder work;
  Sample(work, "anchored-trapezoid.tq4d");
  const Outcome o = runTerraq(
      "design --method apparent-pressure --supports 1.5,4 --spacing 2 --inclination 10 --json "
      "wall.tq4d",
      work.path());
  ASSERT_EQ(o.status, 0) << o.err;
  const double Ka = 1.0 / 3, p = 0.65 * Ka * 18 * 36 / (6 - 1.5 / 3 - 2.0 / 3);
  EXPECT_NEAR(JsonValue(o.out, "ordinate"), p, 1e-9 * p);
  const double T1 = p * 1 / 2 + p * (2.75 - 1) + Ka * 10 * 2.75;
  EXPECT_NEAR(JsonValues(o.out, "tributary").at(0), T1, 1e-9 * T1);
  const double design = T1 * 2 / std::cos(10 * std::acos(-1.0) / 180);
  EXPECT_NEAR(JsonValues(o.out, "tributaryDesign").at(0), design, 1e-9 * design);
  EXPECT_TRUE(contains(o.out, "\"tributaryDesign\": \"kN\"")) << o.out;

  const Outcome below =
      runTerraq("design --method apparent-pressure --supports 1.5,7 wall.tq4d", work.path());
  EXPECT_EQ(below.status, 1);
  EXPECT_TRUE(contains(below.err, "support 2 at 7 is not above the excavation level 6"))
      << below.err;
}

// --write-pressure: the anchored sample with p-y curves generated and a
// width for earth pressure Wa = 2 gets the FHWA trapezoid (corners at
// 2/3 H1 = 1 and H - 2/3 Hn+1 = 4.667 m) plus Ka q as its specified earth
// pressure, times Wa, which the analysis then runs on. The sample as
// shipped (external p-y curves) would lose its soil layers: refused and the
// file left as it was.
TEST(DesignCommand, ApparentPressureWrittenAsTheEarthPressure) {
  ScratchFolder work;
  const fs::path data = Sample(work, "anchored-trapezoid.tq4d");
  const std::string shipped = ReadFile(data);
  const Outcome refused = runTerraq(
      "design --method apparent-pressure --supports 1.5,4 --write-pressure wall.tq4d", work.path());
  EXPECT_EQ(refused.status, 1);
  EXPECT_TRUE(contains(refused.err, "switch p-y generation on")) << refused.err;
  EXPECT_EQ(ReadFile(data), shipped);

  // Generated p-y curves in place of the external ones, which end the file.
  std::string text = shipped.substr(0, shipped.find("30\t3\t1\t1")) + "0\r\n";
  text.replace(text.find("3\t1 5 1 0"), 9, "3\t2 0 1 0");
  text.replace(text.find("6\t1\t1\t20"), 8, "6\t2\t1\t20");  // Wa = 2
  std::ofstream(data, std::ios::binary) << text;
  const Outcome o = runTerraq(
      "design --method apparent-pressure --supports 1.5,4 --write-pressure wall.tq4d", work.path());
  ASSERT_EQ(o.status, 0) << o.err;
  terraq::ui::TProjectTables tables;
  const terraq::ui::TProgramData written(tables, data, terraq::ui::kLayoutCurrent);
  EXPECT_TRUE(written.UserPressure);
  EXPECT_TRUE(written.GeneratePY);
  const double Ka = 1.0 / 3, q = Ka * 10, p = 0.65 * Ka * 18 * 36 / (6 - 1.5 / 3 - 2.0 / 3);
  const double rows[][2] = {{0, 2 * q}, {1, 2 * (p + q)}, {6 - 4.0 / 3, 2 * (p + q)}, {6, 2 * q}};
  ASSERT_EQ(tables.EarthPressure.RowCount(), 4);
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 2; ++c)
      EXPECT_NEAR(double(tables.EarthPressure.Cell(c, r).AsFloat()), rows[r][c], 1e-6) << r;
  const Outcome run = runTerraq("run wall.tq4d", work.path());
  EXPECT_EQ(run.status, 0) << run.err;
}

// Coulomb with wall friction delta = R phi' on both faces of the sand
// cantilever (phi' = 32 deg, level ground): the coefficients by the hand
// formula for a vertical wall, Kh = cos^2 phi / (1 +- sqrt(sin(phi + delta)
// sin phi / cos delta))^2, and a shallower tip than Rankine's smooth wall;
// the design record keeps the theories, and a theory that cannot take the
// wall friction is refused as a bad option.
TEST(DesignCommand, CoulombWallFrictionOnBothFaces) {
  ScratchFolder work;
  Sample(work, "cantilever-sand-generated.tq4d");
  const std::string coulomb =
      "--backfill-theory coulomb --excavation-theory coulomb --backfill-wall-friction 0.6 "
      "--excavation-wall-friction 0.6";
  const Outcome o = runTerraq("design --json " + coulomb + " wall.tq4d", work.path());
  ASSERT_EQ(o.status, 0) << o.err;
  const double pi = std::acos(-1.0), phi = 32 * pi / 180, delta = 0.6 * phi;
  const double r = std::sqrt(std::sin(phi + delta) * std::sin(phi) / std::cos(delta));
  const double Kah = std::pow(std::cos(phi) / (1 + r), 2),
               Kph = std::pow(std::cos(phi) / (1 - r), 2);
  // One layer, on the backfill face and then the excavation face.
  for (const std::vector<double>& K : {JsonValues(o.out, "Kah"), JsonValues(o.out, "Kph")})
    ASSERT_EQ(K.size(), 2u) << o.out;
  for (size_t face = 0; face < 2; ++face) {
    EXPECT_NEAR(JsonValues(o.out, "Kah")[face], Kah, 1e-9 * Kah);
    EXPECT_NEAR(JsonValues(o.out, "Kph")[face], Kph, 1e-9 * Kph);
  }
  EXPECT_TRUE(contains(o.out, "{\"layer\": 1, \"face\": \"excavation\", \"method\": \"coulomb\""))
      << o.out;
  // delta = 19.2 deg is above phi'/3: Coulomb's passive wedge is noted.
  EXPECT_TRUE(contains(o.out, "layer 1, excavation: Coulomb's plane wedge overestimates")) << o.out;
  const double rankineTip =
      JsonValue(runTerraq("design --json wall.tq4d", work.path()).out, "tipDepth");
  EXPECT_LT(JsonValue(o.out, "tipDepth"), rankineTip - 10);
  const Outcome text = runTerraq("design " + coulomb + " wall.tq4d", work.path());
  EXPECT_TRUE(contains(text.out,
                       "earth pressure: backfill Coulomb with delta/phi' 0.6, "
                       "excavation Coulomb with delta/phi' 0.6\n"))
      << text.out;

  // The record's theories design as the options do.
  std::ofstream(work.path() / "wall.terraq.json", std::ios::binary)
      << R"({"format": "terraq-project", "version": 1, "design": {"backfillTheory": "coulomb",)"
      << R"( "backfillWallFriction": 0.6, "excavationTheory": "coulomb",)"
      << R"( "excavationWallFriction": 0.6}})";
  EXPECT_EQ(runTerraq("design --json wall.tq4d", work.path()).out, o.out);

  const Outcome smooth = runTerraq(
      "design --backfill-theory rankine --backfill-wall-friction 0.5 wall.tq4d", work.path());
  EXPECT_EQ(smooth.status, 2);
  EXPECT_TRUE(contains(smooth.err, "Rankine's theory assumes a smooth wall")) << smooth.err;
  const Outcome tooRough =
      runTerraq("design --excavation-wall-friction 1.2 wall.tq4d", work.path());
  EXPECT_EQ(tooRough.status, 2);
  EXPECT_TRUE(contains(tooRough.err, "delta/phi' from 0 to 1")) << tooRough.err;
}

TEST(DesignCommand, SeismicLimitEquilibrium) {
  ScratchFolder work;
  Sample(work, "cantilever-sand-generated.tq4d");
  const Outcome o =
      runTerraq("design --json --seismic mononobe-okabe --kh 0.12 wall.tq4d", work.path());
  ASSERT_EQ(o.status, 0) << o.err;
  // Smooth faces, level ground: K_AE = cos²(φ − ψ) / (cos²ψ (1 + √(sin φ sin(φ − ψ) / cos ψ))²).
  const double pi = std::acos(-1.0), phi = 32 * pi / 180, psi = std::atan(0.12);
  const double r = std::sqrt(std::sin(phi) * std::sin(phi - psi) / std::cos(psi));
  const double Kah = std::pow(std::cos(phi - psi) / (std::cos(psi) * (1 + r)), 2);
  EXPECT_NEAR(JsonValues(o.out, "Kah").at(0), Kah, 1e-9 * Kah);
  EXPECT_TRUE(contains(o.out, "\"method\": \"mononobe-okabe\"")) << o.out;
  const double staticTip =
      JsonValue(runTerraq("design --json wall.tq4d", work.path()).out, "tipDepth");
  EXPECT_GT(JsonValue(o.out, "tipDepth"), staticTip + 10);
  const Outcome text = runTerraq("design --seismic en1998-5 --kh 0.12 wall.tq4d", work.path());
  EXPECT_TRUE(contains(text.out, "spring model: not used, its loads are static")) << text.out;
  const Outcome alone = runTerraq("design --kv 0.1 wall.tq4d", work.path());
  EXPECT_EQ(alone.status, 2);
  EXPECT_TRUE(contains(alone.err, "--kv is for --seismic")) << alone.err;
}

// A berm 30 in high on the sand cantilever (H = 120 in): the limit
// equilibrium starts the passive side 15 in higher and needs a shallower
// tip; the trial wedges' check is a line and a JSON member of its own, which
// the design without the option does not print. Bad berms are refused.
TEST(DesignCommand, BermRaisesTheExcavationLevel) {
  ScratchFolder work;
  Sample(work, "cantilever-sand-generated.tq4d");
  const Outcome plain = runTerraq("design --json wall.tq4d", work.path());
  const Outcome o = runTerraq("design --json --berm 30,60,2 wall.tq4d", work.path());
  ASSERT_EQ(o.status, 0) << o.err;
  EXPECT_FALSE(contains(plain.out, "berm"));
  EXPECT_LT(JsonValue(o.out, "tipDepth"), JsonValue(plain.out, "tipDepth") - 20);
  EXPECT_EQ(JsonValue(o.out, "excavationRaise"), 15);
  // A berm 5 ft wide falls short of the wedge a level ground 15 in higher
  // would mobilise: its resistance is less, and more than without a berm.
  EXPECT_LT(JsonValue(o.out, "wedgeResistance"), JsonValue(o.out, "raisedLevelResistance"));
  const Outcome text = runTerraq("design --berm 30,60,2 wall.tq4d", work.path());
  EXPECT_TRUE(contains(text.out,
                       "berm: 30 in high, 60 in wide at the top, side 2 horizontal per "
                       "vertical: the excavation level raised by 15 in; "))
      << text.out;
  for (const char* bad : {"130,60,2", "30,-1,2", "30,60,-1", "30,60"}) {
    const Outcome refused =
        runTerraq(std::string("design --berm ") + bad + " wall.tq4d", work.path());
    EXPECT_EQ(refused.status, 2) << bad;
    EXPECT_TRUE(contains(refused.err, "berm")) << refused.err;
  }
}
