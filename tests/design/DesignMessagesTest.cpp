// Designs that cannot be made say why, in words an engineer can act on, and
// keep what could be found.

#include <gtest/gtest.h>

#include "DesignCases.h"
#include "LimitEquilibrium.h"

namespace terraq::test {
namespace {

using design::DesignError;
using design::DesignResult;
using design::DesignWall;
using design::FsMethod;
using design::Method;

bool Says(const DesignResult& r, DesignError::Kind kind, const std::string& words) {
  return r.error && r.error->kind == kind && r.error->message.find(words) != std::string::npos;
}

TEST(DesignMessages, NoPassiveResistanceBelowTheExcavation) {
  SoilDescription soil = SiProblem(5.0);
  AddLayer(soil, 5.0, 18.0, 30.0);
  AddLayer(soil, 30.0, 17.0, 0.0, 0.0);  // slurry: neither friction nor cohesion
  const DesignResult r = DesignWall(soil, {});
  EXPECT_TRUE(Says(r, DesignError::Kind::NoPassiveResistance,
                   "No passive resistance below the excavation level"))
      << (r.error ? r.error->message : "no error");

  // A weak layer with strength below it: a note, and the design goes on.
  AddLayer(soil, 60.0, 19.0, 35.0);
  const DesignResult deeper = DesignWall(soil, {});
  ASSERT_FALSE(deeper.error) << deeper.error->message;
  ASSERT_EQ(deeper.notes.size(), 1u);
  EXPECT_NE(deeper.notes[0].find("Layer 2 (5 m to 30 m) has neither friction nor cohesion"),
            std::string::npos)
      << deeper.notes[0];
  EXPECT_GT(deeper.tipDepth, 30.0);
}

TEST(DesignMessages, AnchorMissingOrBelowTheExcavation) {
  SoilDescription soil = SiProblem(5.0);
  AddLayer(soil, 30.0, 18.0, 30.0);
  EXPECT_TRUE(Says(DesignWall(soil, {.method = Method::FreeEarth}), DesignError::Kind::NoAnchor,
                   "needs an anchor or prop"));
  const DesignResult r = DesignWall(soil, {.method = Method::FreeEarth, .anchorDepth = 6.0});
  EXPECT_TRUE(Says(r, DesignError::Kind::AnchorBelowExcavation,
                   "The anchor at 6 m lies below the excavation level at 5 m"))
      << r.error->message;
  EXPECT_FALSE(DesignWall(soil, {.method = Method::FreeEarth, .anchorDepth = 5.0}).error);
}

TEST(DesignMessages, ProfileTooShallow) {
  // Dry sand, phi 30, H 5 m: D0 = 4.63 m, 1.2 D0 = 5.56 m; at Kp/2, 7.77 m.
  SoilDescription soil = SiProblem(5.0);
  AddLayer(soil, 10.0, 18.0, 30.0);
  const DesignResult tip = DesignWall(soil, {});
  EXPECT_TRUE(Says(tip, DesignError::Kind::ProfileTooShort,
                   "The soil profile ends at 10 m, above the required tip at 10.56 m"))
      << tip.error->message;
  EXPECT_NEAR(tip.D0, 4.63, 0.005);  // what could be found is kept

  const DesignResult never = DesignWall(soil, {.fsMethod = FsMethod::Passive, .fs = 2.0});
  ASSERT_TRUE(never.error);
  EXPECT_EQ(never.error->kind, DesignError::Kind::Unsatisfiable);
  // At the bottom of the profile (d = 5 m): Kp/F = Ka (2)^3, F = 9/8 = 1.125.
  EXPECT_NE(
      never.error->message.find("No embedment within the soil profile gives a factor of safety "
                                "of 2 on the passive resistance: a wall down to the bottom of "
                                "the profile at 10 m has 1.125"),
      std::string::npos)
      << never.error->message;
}

TEST(DesignMessages, BadOptions) {
  SoilDescription soil = SiProblem(5.0);
  AddLayer(soil, 30.0, 18.0, 30.0);
  EXPECT_TRUE(Says(DesignWall(soil, {.fs = 0.8}), DesignError::Kind::BadOption, "1 or more"));
  EXPECT_TRUE(
      Says(DesignWall(soil, {.method = Method::FixedEarthFull, .fsMethod = FsMethod::NetPassive}),
           DesignError::Kind::BadOption, "full fixed-earth"));
  SoilDescription shallow = SiProblem(5.0);
  AddLayer(shallow, 5.0, 18.0, 30.0);
  EXPECT_TRUE(
      Says(DesignWall(shallow, {}), DesignError::Kind::NoSoil, "not below the excavation level"));
}

}  // namespace
}  // namespace terraq::test
