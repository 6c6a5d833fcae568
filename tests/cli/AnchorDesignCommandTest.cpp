// terraq design's ground anchors on the staged sample (anchor A1 at 1.5 m,
// 15° at 2.5 m centres, the cut dug to 6 m in sand of φ′ 32°): the lengths
// and tendon a hand calculation gives from the force the design reports, the
// same anchor from an English copy of the project, and the refusals with
// the exit status of a design left incomplete.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <regex>

#include "CliTestFiles.h"
#include "CommandRunner.h"
#include "project/ProjectMembers.h"
#include "project/TProgramData.h"
#include "project/TProjectTables.h"

using namespace terraq::test;

namespace {

const double kDeg = std::acos(-1.0) / 180;

// The first number of "key": in a JSON text; NaN when it is not there.
double Number(const std::string& json, const std::string& key) {
  std::smatch m;
  if (!std::regex_search(json, m, std::regex("\"" + key + "\": (-?[0-9.eE+-]+)")))
    return std::nan("");
  return std::stod(m[1]);
}

fs::path StagedSample(const ScratchFolder& work) {
  const fs::path examples = fs::path(TERRAQ_SOURCE_DIR) / "examples";
  const fs::path data = work.path() / "wall.tq4d";
  fs::copy_file(examples / "sequential-excavation-anchor.tq4d", data);
  fs::copy_file(examples / "sequential-excavation-anchor.terraq.json",
                work.path() / "wall.terraq.json");
  return data;
}

const char* kOptions =
    "design --json --anchor-rate 120 --anchor-fs 2.5 --anchor-test-factor 1.5 "
    "--anchor-lock-off 0.8 wall.tq4d";

// GEC-4 by hand from the reported force F (kN/m), the cut (H, φ′, z0) and
// the anchor at d = 1.5 m, α = 15°, s = 2.5 m; Qu 120 kN/m, FS 2.5.
struct Hand {
  double T, free, bond;
  int strands;
};
Hand ByHand(double F, double H, double phi, double z0) {
  const double alpha = 15 * kDeg, d = 1.5, T = F * 2.5 / std::cos(alpha);
  const double tanTheta = std::tan((45 + phi / 2) * kDeg), b = std::max(1.5, H / 5);
  const double plane = (z0 - d + b * tanTheta) / (std::cos(alpha) * tanTheta + std::sin(alpha));
  const double cover = (4.5 - d) / std::sin(alpha);
  // Strands of 260.7 kN: T ≤ 0.6, 1.5 T ≤ 0.8 and 0.8 T ≤ 0.7 of their strength.
  const double needed = std::max({T / 0.6, 1.5 * T / 0.8, 0.8 * T / 0.7}) / 260.7;
  return {T, std::max({4.5, plane, cover}), std::max(4.5, T * 2.5 / 120),
          static_cast<int>(std::ceil(needed))};
}

TEST(AnchorDesignCommand, StagedSampleByHandInSIAndEnglishUnits) {
  ScratchFolder work;
  const fs::path data = StagedSample(work);
  const Outcome si = runTerraq(kOptions, work.path());
  ASSERT_EQ(si.status, 0) << si.err << si.out;
  const std::string& j = si.out;
  // The cut: the last stage's 6 m excavation in the sand layer.
  EXPECT_DOUBLE_EQ(Number(j, "H"), 6);
  EXPECT_DOUBLE_EQ(Number(j, "frictionAngle"), 32);
  const double z0 = Number(j, "planeDepth");
  EXPECT_GE(z0, 6);
  const double F = Number(j, "force");
  EXPECT_NEAR(F, 102.6, 0.05);  // the largest force of A1 over the stages
  const Hand hand = ByHand(F, 6, 32, z0);
  EXPECT_NEAR(Number(j, "designLoad"), hand.T, 1e-9 * hand.T);
  EXPECT_NEAR(Number(j, "freeLength"), hand.free, 1e-6);
  EXPECT_NEAR(Number(j, "bondLength"), hand.bond, 1e-9);
  EXPECT_EQ(Number(j, "strands"), hand.strands);
  EXPECT_NEAR(Number(j, "testLoad"), 1.5 * hand.T, 1e-9 * hand.T);
  EXPECT_NEAR(Number(j, "verticalLoad"), hand.T * std::sin(15 * kDeg), 1e-9 * hand.T);
  EXPECT_TRUE(contains(j, "\"designLoad\": \"kN\"")) << j;

  const Outcome text = runTerraq(std::string(kOptions).replace(7, 7, ""), work.path());
  EXPECT_EQ(text.status, 0) << text.err;
  EXPECT_TRUE(contains(text.out, "anchor A1 at 1.5 m, 15 deg, every 2.5 m")) << text.out;
  EXPECT_TRUE(contains(text.out, "15.2 mm strands")) << text.out;

  // The same project in pounds and inches, its anchors' inputs converted.
  {
    terraq::ui::TProjectTables tables;
    terraq::ui::TProgramData wall(tables, data, terraq::ui::kLayoutCurrent);
    wall.SetUnits(1);
    wall.SaveAs(data);
  }
  terraq::ui::MembersFault fault;
  const terraq::ui::ProjectMembers members = terraq::ui::ReadProjectMembers(data, 2, fault);
  ASSERT_TRUE(terraq::ui::SaveProjectMembers(data, MembersInUnits(members, 2, 1), 1).empty());
  const double rate = 120 / 4.4482216152605 * 1000 * 0.0254;  // kN/m in lbs/in
  const Outcome english =
      runTerraq("design --json --anchor-rate " + std::to_string(rate) +
                    " --anchor-fs 2.5 --anchor-test-factor 1.5 --anchor-lock-off 0.8 wall.tq4d",
                work.path());
  ASSERT_EQ(english.status, 0) << english.err;
  const double kN = 4.4482216152605 / 1000;
  EXPECT_NEAR(Number(english.out, "designLoad") * kN, hand.T, 2e-3 * hand.T);
  EXPECT_NEAR(Number(english.out, "freeLength") * 0.0254, hand.free, 2e-3 * hand.free);
  EXPECT_NEAR(Number(english.out, "bondLength") * 0.0254, hand.bond, 2e-3 * hand.bond);
  EXPECT_EQ(Number(english.out, "strands"), hand.strands);
  EXPECT_TRUE(contains(english.out, "\"designLoad\": \"lbs\"")) << english.out;
}

TEST(AnchorDesignCommand, RefusalsSayWhyAndLeaveTheDesignIncomplete) {
  ScratchFolder work;
  StagedSample(work);
  // Lock-off above the test load: the inputs themselves.
  const Outcome lockOff =
      runTerraq("design --anchor-rate 120 --anchor-lock-off 1.5 wall.tq4d", work.path());
  EXPECT_EQ(lockOff.status, 1);
  EXPECT_TRUE(contains(lockOff.err, "the lock-off load must be above 0 and not above the test"))
      << lockOff.err;
  // Two rates for one anchor level; a rate that is not a number.
  EXPECT_EQ(runTerraq("design --anchor-rate 120,90 wall.tq4d", work.path()).status, 1);
  const Outcome word = runTerraq("design --anchor-rate 120,x wall.tq4d", work.path());
  EXPECT_EQ(word.status, 2);
  EXPECT_TRUE(contains(word.err, "--anchor-rate 120,x is refused")) << word.err;
  // The free-earth anchor row of a data file alone: no spacing to load it
  // with, and at 40 m centres (3.6 MN) no strand tendon holds it.
  fs::copy_file(fs::path(TERRAQ_SOURCE_DIR) / "examples" / "anchored-trapezoid.tq4d",
                work.path() / "plain.tq4d");
  const Outcome plain = runTerraq("design --anchor-rate 120 plain.tq4d", work.path());
  EXPECT_EQ(plain.status, 1);
  EXPECT_TRUE(contains(plain.err, "anchor 1 could not be designed: its horizontal spacing"))
      << plain.err;
  const Outcome far =
      runTerraq("design --anchor-rate 120 --spacing 40 --inclination 15 plain.tq4d", work.path());
  EXPECT_EQ(far.status, 1);
  EXPECT_TRUE(contains(far.out, "anchor 1 at 1.6 m: not designed: no allowed tendon holds"))
      << far.out;
  const Outcome near =
      runTerraq("design --anchor-rate 120 --spacing 2 --inclination 15 plain.tq4d", work.path());
  EXPECT_EQ(near.status, 0) << near.err;
  // Options of the anchor design without a rate.
  EXPECT_EQ(runTerraq("design --anchor-fs 2 wall.tq4d", work.path()).status, 2);
}

// The apparent-pressure supports: each anchor carries the larger of its
// loads by tributary area and by hinges, one rate per level.
TEST(AnchorDesignCommand, ApparentPressureSupportsTakeTheLargerLoad) {
  ScratchFolder work;
  fs::copy_file(fs::path(TERRAQ_SOURCE_DIR) / "examples" / "anchored-trapezoid.tq4d",
                work.path() / "wall.tq4d");
  const Outcome o = runTerraq(
      "design --method apparent-pressure --supports 1.5,4 --spacing 2 --inclination 15 "
      "--anchor-rate 120,100 --json wall.tq4d",
      work.path());
  ASSERT_EQ(o.status, 0) << o.err;
  const std::string anchors = o.out.substr(o.out.find("\"anchorDesign\""));
  const std::string second = anchors.substr(anchors.find("\"name\": \"support 2\""));
  for (const std::string* a : {&anchors, &second}) {
    const std::string& j = *a;
    const std::string support =
        o.out.substr(o.out.find("{\"depth\": " + std::string(a == &anchors ? "1.5" : "4")));
    const double F = std::max(Number(support, "tributary"), Number(support, "hinge"));
    EXPECT_DOUBLE_EQ(Number(j, "force"), F);
    EXPECT_NEAR(Number(j, "designLoad"), F * 2 / std::cos(15 * kDeg), 1e-9 * F);
    EXPECT_DOUBLE_EQ(Number(j, "transferRate"), a == &anchors ? 120 : 100);
  }
}

}  // namespace
