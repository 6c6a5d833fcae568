// terraq run --design-approach, as users run it: a linear cantilever whose
// design moment is worked by hand, the envelope naming its set, nothing
// written, and the mistakes a user makes.

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "CliTestFiles.h"
#include "CommandRunner.h"

using namespace terraq::test;

TEST(DesignSituationsCommand, DesignMomentOfALinearCantileverAndRefusedRequests) {
  ScratchFolder work;
  const fs::path data = work.path() / "point.tq4d";
  fs::copy_file(fs::path(TERRAQ_SOURCE_DIR) / "examples" / "cantilever-point-load.tq4d", data);
  // 1000 lb at the top, a variable action: DA1-1 analyses it times 1.5/1.35
  // and multiplies the effects by 1.35, so M = 1.5 P L = 720,000 lb·in.
  const Outcome run =
      runTerraq("run --json --design-approach DA1-1,SLS " + quoted(data.string()), work.path());
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string envelope = run.out.substr(run.out.find("\"envelope\""));
  const size_t at = envelope.find("\"designMoment\": {\"value\": ");
  ASSERT_NE(at, std::string::npos) << run.out;
  EXPECT_NEAR(std::fabs(std::stod(envelope.substr(at + 26))), 720000, 1);
  EXPECT_TRUE(contains(envelope, "\"depth\": 480, \"set\": \"DA1-1\"")) << envelope;
  EXPECT_TRUE(contains(envelope, "\"set\": \"SLS\"")) << envelope;  // the deflections
  EXPECT_TRUE(contains(run.out, "\"gammaG\": 1.35, \"gammaQ\": 1.5")) << run.out;
  EXPECT_EQ(std::distance(fs::directory_iterator(work.path()), fs::directory_iterator()), 1);

  const struct {
    std::string args;
    const char* says;
  } wrong[] = {{"--design-approach DA4", "no set of partial factors is named DA4"},
               {"--design-approach DA1-1, ", "needs set names"},
               {"--design-approach DA2 --factor gammaPhi=0", "--factor needs SYMBOL=VALUE"},
               {"--factor gammaG=1.2", "need --design-approach"},
               {"--design-approach DA1-1 --grade S355GP", "need --section"},
               {"--design-approach SLS --minimum-surcharge 1",
                "minimum surcharge needs generated earth pressure"}};
  for (const auto& c : wrong) {
    const Outcome o = runTerraq("run " + c.args + " " + quoted(data.string()), work.path());
    EXPECT_EQ(o.status, 2) << c.args;
    EXPECT_TRUE(contains(o.err, c.says)) << c.args << ": " << o.err;
  }
}

// A project's set the sand cantilever does not hold (tan φ' / 3): the
// envelope of the other set is marked not valid everywhere it is printed,
// and --strict makes that the command's failure.
TEST(DesignSituationsCommand, SetLeftOutMakesTheEnvelopeNotValid) {
  ScratchFolder work;
  const fs::path data = work.path() / "sand.tq4d";
  fs::copy_file(fs::path(TERRAQ_SOURCE_DIR) / "examples" / "cantilever-sand-generated.tq4d", data);
  std::ofstream(work.path() / "sand.terraq.json")
      << R"({"format": "terraq-project", "version": 1, "designSituations": {"sets": [)"
         R"({"name": "Weak", "gammaPhi": 3}]}})";
  const std::string args = "--design-approach DA1-2,Weak " + quoted(data.string());
  const Outcome text = runTerraq("run " + args, work.path());
  EXPECT_EQ(text.status, 0) << text.err;
  EXPECT_TRUE(contains(text.out, "NOT VALID: ultimate sets left out: Weak")) << text.out;
  EXPECT_TRUE(contains(text.err, "the envelope is not valid: ultimate sets left out: Weak"))
      << text.err;
  const Outcome json = runTerraq("run --json --strict " + args, work.path());
  EXPECT_EQ(json.status, 3) << json.err;
  EXPECT_TRUE(contains(json.out, "\"envelopeValid\": false, \"setsLeftOut\": [\"Weak\"]"))
      << json.out;
  EXPECT_TRUE(contains(json.out, "\"valid\": false, \"leftOut\": [\"Weak\"]")) << json.out;
  // The set that holds alone: a valid envelope, and --strict is content.
  const Outcome alone = runTerraq(
      "run --json --strict --design-approach DA1-2 " + quoted(data.string()), work.path());
  EXPECT_EQ(alone.status, 0) << alone.err;
  EXPECT_TRUE(contains(alone.out, "\"envelopeValid\": true")) << alone.out;
}

namespace {

// An anchored sheet pile 14 m long in a 6 m cut (kN, m): sand to 6 m over a
// clay whose curves are far stiffer at zero deflection than beyond (the
// quarter power of a stiff clay), water 2 m behind and 6 m in front, a
// surcharge, a tie-back at 1.5 m. Where the wall turns in the clay, the
// iteration once swung to and fro for ever and the set dropped out.
std::string LayeredAnchoredWall(const std::string& surcharge, const std::string& excavation) {
  return "Anchored wall in sand over clay\n2 0\t1\t0\t2\t2 0 1 0\n140 0.1\t0.5\t0.00001\t" +
         excavation + "\n0\t140\t1\t63000\n0\n1\n15\t15\t1\t5000\t0\n" + excavation +
         "\t1\t1\t2\t6\t1\t1\t0\n" + surcharge +
         "\t0\t0\t0\t0\t0\n0\n2\n4 6 \n19 0.0  32 0.0  20000 0.0  \n19 0.0  32 0.0  20000 0.0  \n"
         "3 14 \n19 25 0.0  0.007 135000 0.0  \n19 25 0.0  0.007 135000 0.0  \n0\n";
}

double Printed(const std::string& text, const std::string& before) {
  const size_t at = text.find(before);
  return at == std::string::npos ? NAN : std::stod(text.substr(at + before.size()));
}

}  // namespace

// Every set closes, and DA1-1's design moment is γG times that of the same
// wall factored by hand: surcharge × γQ/γG = 15 × 1.5/1.35, excavation 10 %
// of the 4.5 m below the anchor deeper.
TEST(DesignSituationsCommand, EverySetOfALayeredWallClosesAsFactoredByHand) {
  ScratchFolder work;
  const fs::path data = work.path() / "layered.tq4d", hand = work.path() / "hand.tq4d";
  std::ofstream(data) << LayeredAnchoredWall("15", "6");
  std::ofstream(hand) << LayeredAnchoredWall("16.666666666666667", "6.45");
  const Outcome all =
      runTerraq("run --strict --design-approach all " + quoted(data.string()), work.path());
  EXPECT_EQ(all.status, 0) << all.out << all.err;
  EXPECT_FALSE(contains(all.out, "did not close")) << all.out;
  const Outcome byHand = runTerraq("run " + quoted(hand.string()), work.path());
  ASSERT_EQ(byHand.status, 0) << byHand.err;
  const double characteristic = Printed(byHand.out, "max moment ");
  const double design = Printed(all.out.substr(all.out.find("DA1-1")), "moment ");
  EXPECT_NEAR(design, 1.35 * characteristic, 1e-3 * std::fabs(design)) << all.out << byHand.out;
}

// With a section the wall is analysed with it and checked with each ultimate
// set's design effects: the 10 m AZ18 cantilever with 30 kN across its head
// takes DA1-1's γQ·30 kN·10 m = 450 kN·m at its foot, by allowable stresses
// against Fb·Wel = 0.65·355 MPa·1800 cm³/m over its 1.5 m.
TEST(DesignSituationsCommand, ASectionIsCheckedWithTheGoverningSetsDesignMoment) {
  ScratchFolder work;
  const fs::path data = work.path() / "az18.tq4d";
  std::ofstream(data) << "AZ18 cantilever\n2 1 1 0 0 0 0 0 0\n20 0.5 100 0.00001 0\n3 20 0 0\n"
                         "0 20 1 1E5\n1\n1 0 0 30 0 0\n0\n0\n";
  const std::string args =
      "--design-approach DA1-1,DA1-2 --section AZ18 --spacing 1.5 "
      "--method allowable " +
      quoted(data.string());
  const Outcome json = runTerraq("run --json " + args, work.path());
  ASSERT_EQ(json.status, 0) << json.err;
  const std::string check = json.out.substr(json.out.find("\"sectionCheck\""));
  const std::string envelope = check.substr(check.find("\"envelope\""));
  const double expected = 450e3 / (0.65 * 355e6 * 1800e-6 * 1.5);
  EXPECT_NEAR(Printed(envelope, "\"utilisation\": "), expected, 5e-4) << envelope;
  EXPECT_TRUE(contains(envelope, "\"set\": \"DA1-1\"")) << envelope;
  EXPECT_NEAR(std::fabs(Printed(envelope, "{\"moment\": ")), 450, 1e-3) << envelope;
  EXPECT_TRUE(contains(json.out, "\"units\": {\"code\": 2, \"length\": \"m\"")) << json.out;
  const Outcome text = runTerraq("run " + args, work.path());
  ASSERT_EQ(text.status, 0) << text.err;
  EXPECT_TRUE(contains(text.out, "Section check, ultimate limit state: AZ18")) << text.out;
  EXPECT_TRUE(contains(text.out, "(bending; DA1-1): holds with")) << text.out;
}

// The sand cantilever whose project plans its cut: each set's ground checks
// follow the envelope. Sand without cohesion: a set with tan phi' / 1.25
// divides the overall factor by 1.25 (the section and the circle the same),
// and its gammaRSlip of 1.1 divides the ratio again; that set governs.
// Without the plan nothing is added.
TEST(DesignSituationsCommand, GroundChecksOfEachSetOnItsDesignValues) {
  ScratchFolder work;
  const fs::path data = work.path() / "sand.tq4d";
  fs::copy_file(fs::path(TERRAQ_SOURCE_DIR) / "examples" / "cantilever-sand-generated.tq4d", data);
  const std::string sets =
      R"({"format": "terraq-project", "version": 1, "designSituations": {"sets": [)"
      R"({"name": "K"}, {"name": "GEO", "gammaPhi": 1.25, "gammaRSlip": 1.1}]})";
  std::ofstream(work.path() / "sand.terraq.json") << sets << "}";
  const std::string args = "--design-approach K,GEO " + quoted(data.string());
  const Outcome plain = runTerraq("run --json " + args, work.path());
  ASSERT_EQ(plain.status, 0) << plain.err;
  EXPECT_FALSE(contains(plain.out, "groundChecks"));
  std::ofstream(work.path() / "sand.terraq.json")
      << sets << R"(, "excavation": {"units": {"length": "in"}, "width": 96}})";
  const Outcome json = runTerraq("run --json " + args, work.path());
  ASSERT_EQ(json.status, 0) << json.err;
  const std::string ground = json.out.substr(json.out.find("\"groundChecks\""));
  std::vector<double> overall;
  for (size_t at = ground.find("\"overall\": {\"factor\": "); at != std::string::npos;
       at = ground.find("\"overall\": {\"factor\": ", at + 1))
    overall.push_back(std::stod(ground.substr(at + 22)));
  ASSERT_EQ(overall.size(), 2u) << ground;
  EXPECT_NEAR(overall[0] / overall[1], 1.25, 1e-4);
  EXPECT_NEAR(Printed(ground, "\"overall\": {\"overDesign\": "), overall[1] / 1.1, 1e-6);
  EXPECT_TRUE(contains(ground, "\"set\": \"GEO\"}}}")) << ground;
  const Outcome text = runTerraq("run " + args, work.path());
  EXPECT_TRUE(contains(text.out, "Ground checks on each set's design values")) << text.out;
  EXPECT_TRUE(contains(text.out, "heave not checked (layer 1 below the excavation level is not"))
      << text.out;
}
