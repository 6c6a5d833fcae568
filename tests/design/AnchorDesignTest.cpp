// Ground-anchor design against hand calculations: the anchors of the FHWA
// sand example (GEC-4's 10 m cut), a deeper anchor whose free length the
// critical plane governs and whose tendon the test load governs, a critical
// surface of the caller's that bulges back at depth, the tendon table
// against the product standards, and the refusals.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

#include "AnchorDesign.h"

using namespace terraq::design;

namespace {

double Rad(double degrees) { return degrees * std::numbers::pi / 180.0; }

AnchorDesign Design(const AnchorLevel& level, const AnchoredCut& cut, const AnchorRules& rules) {
  std::string error;
  const std::optional<AnchorDesign> d = DesignAnchor(level, cut, rules, error);
  EXPECT_TRUE(d) << error;
  return d.value_or(AnchorDesign{});
}

}  // namespace

// GEC-4 (FHWA-IF-99-015), Design Example 1: H = 10 m, phi' = 33 deg, the
// upper anchor at 2.5 m, 2.5 m apart, inclined 15 deg, 168 kN/m (the example's
// design load 435 kN). Its bond zone must have 4.5 m of cover, which governs
// the free length; 3 strands carry it at 0.60 GUTS.
TEST(AnchorDesign, UpperAnchorOfTheFhwaSandExample) {
  const double F = 168, s = 2.5, a = Rad(15), d = 2.5, rate = 120;
  const AnchorRules rules{.lockOffFactor = 0.8};
  const AnchorDesign r =
      Design({"A1", d, 15, s, F, rate}, {.height = 10, .frictionAngle = 33}, rules);
  const double T = F * s / std::cos(a);
  EXPECT_NEAR(T, 435, 0.5);
  EXPECT_NEAR(r.designLoad, T, 1e-9 * T);
  EXPECT_NEAR(r.verticalLoad, T * std::sin(a), 1e-9 * T);
  EXPECT_NEAR(r.verticalPerLength, F * std::tan(a), 1e-9 * F);
  // The plane at 45 + 33/2 deg from the excavation level, 2 m (H/5) beyond it.
  const double tanT = std::tan(Rad(61.5));
  EXPECT_NEAR(r.surfaceDistance, (10 - d) / (std::sin(a) + std::cos(a) * tanT), 1e-6);
  EXPECT_EQ(r.freeRule, FreeLengthRule::Cover);
  EXPECT_NEAR(r.freeLength, (4.5 - d) / std::sin(a), 1e-9);
  EXPECT_NEAR(r.bondTop, 4.5, 1e-9);
  EXPECT_NEAR(r.bondLength, T * 2.0 / rate, 1e-9);
  EXPECT_NEAR(r.totalLength, r.freeLength + r.bondLength, 1e-12);
  EXPECT_EQ(r.tendon.kind, TendonKind::Strand);
  EXPECT_EQ(r.tendon.strands, 3);  // 435 / (0.6 x 260.7) = 2.78
  EXPECT_NEAR(r.testLoad, 1.33 * T, 1e-9 * T);
  EXPECT_NEAR(r.lockOffLoad, 0.8 * T, 1e-9 * T);
  EXPECT_NEAR(r.utilisation, T / (0.6 * 3 * 260.7), 1e-9);
  EXPECT_TRUE(r.notes.empty());

  // A stronger ground: the minimum bond length; every kind of tendon
  // allowed: a 36 mm grade 550 bar holds 0.60 GUTS (437.6 kN) but yields
  // (553.3 kN) below the test load (578 kN), so 3 strands (782 kN GUTS)
  // remain the weakest that holds.
  AnchorRules all = rules;
  all.tendons = {TendonKind::Strand, TendonKind::Bar1035, TendonKind::Bar520, TendonKind::Bar550};
  const AnchorDesign b = Design({"A1", d, 15, s, F, 300}, {.height = 10, .frictionAngle = 33}, all);
  EXPECT_NEAR(b.bondLength, 4.5, 1e-12);
  EXPECT_EQ(b.tendon.name, r.tendon.name);
}

// An anchor below the cover depth, where the plane from the point of zero
// net pressure (1 m below the 12 m excavation level) governs the free length
// and the test load of 1.5 T governs the tendon.
TEST(AnchorDesign, PlaneGovernsFreeLengthAndTestLoadGovernsTendon) {
  const double F = 230, s = 3, a = Rad(20), d = 5, rate = 180, H = 12, z0 = 13;
  const AnchorRules rules{.bondSafetyFactor = 2.5, .testFactor = 1.5, .lockOffFactor = 0.9};
  const AnchorDesign r = Design({"A2", d, 20, s, F, rate},
                                {.height = H, .frictionAngle = 30, .planeDepth = z0}, rules);
  const double T = F * s / std::cos(a), b = H / 5, tanT = std::tan(Rad(60));
  // The anchor's point s cos a behind the face at depth d + s sin a lies b
  // behind the plane x = (z0 - z) / tan(theta) where
  // s (cos a tan(theta) + sin a) = z0 - d + b tan(theta).
  const double free = (z0 - d + b * tanT) / (std::cos(a) * tanT + std::sin(a));
  EXPECT_EQ(r.freeRule, FreeLengthRule::BeyondSurface);
  EXPECT_NEAR(r.clearance, 2.4, 1e-12);
  EXPECT_NEAR(r.freeLength, free, 1e-6);
  EXPECT_NEAR(r.bondLength, T * 2.5 / rate, 1e-9);
  // 0.60 GUTS needs T / 156.42 = 4.7 strands, 0.80 GUTS at 1.5 T 5.3.
  EXPECT_EQ(r.tendon.strands, 6);
  EXPECT_NEAR(r.utilisation, 1.5 * T / (0.8 * 6 * 260.7), 1e-9);
  EXPECT_NEAR(r.lockOffLoad, 0.9 * T, 1e-9 * T);
  // The bond would be longer than 12 m on a weak ground: noted.
  const AnchorDesign weak = Design({"A2", d, 20, s, F, 60}, {.height = H, .planeDepth = z0}, rules);
  ASSERT_EQ(weak.notes.size(), 1u);
  EXPECT_NE(weak.notes[0].find("stops growing"), std::string::npos) << weak.notes[0];
}

// A caller's surface: 1 m behind the face down to 6 m, 14 m behind it from
// 6 m to 10 m. The bond zone must begin beyond the deeper part, not where
// the anchor first clears the shallow one.
TEST(AnchorDesign, CallersSurfaceIsClearedAlongTheWholeBond) {
  const double inf = std::numeric_limits<double>::infinity();
  const AnchoredCut cut{.height = 10, .surface = [inf](double z) {
                          return z < 6 ? 1.0 : z <= 10 ? 14.0 : -inf;
                        }};
  const AnchorDesign r = Design({"A1", 2.5, 15, 2, 100, 150}, cut, {});
  EXPECT_NEAR(r.freeLength, (14 + 2) / std::cos(Rad(15)), 1e-6);
  EXPECT_EQ(r.freeRule, FreeLengthRule::BeyondSurface);
}

// The table against ASTM A416 (15.2 mm strand 260.7 kN, yield 90 %), A722
// (grade 1035 bars, yield 80 %) and A615 (grade 520: 690 MPa, grade 550:
// 725 MPa), weakest first.
TEST(AnchorDesign, TendonTableAgainstTheStandards) {
  const std::vector<Tendon>& table = TendonTable();
  int strands = 0;
  for (size_t k = 0; k < table.size(); ++k) {
    const Tendon& t = table[k];
    if (k > 0) {
      EXPECT_LE(table[k - 1].ultimate, t.ultimate);
    }
    if (t.kind == TendonKind::Strand) {
      ++strands;
      EXPECT_NEAR(t.ultimate, 260.7 * t.strands, 1e-9);
      EXPECT_NEAR(t.yield, 0.9 * 260.7 * t.strands, 1e-9);
    }
    if (t.kind == TendonKind::Bar1035 && t.diameter == 32) {
      EXPECT_NEAR(t.ultimate, 834.2, 0.1);
      EXPECT_NEAR(t.yield, 0.8 * t.ultimate, 1e-9);
    }
    if (t.kind == TendonKind::Bar520 && t.diameter == 36) {
      EXPECT_NEAR(t.ultimate, 694.1, 0.1);
      EXPECT_NEAR(t.yield, 523.1, 0.1);
    }
  }
  EXPECT_GE(strands, 12);
}

// Bad input is refused with what is wrong, and nothing comes out as NaN.
TEST(AnchorDesign, RefusesBadInput) {
  const AnchoredCut cut{.height = 10, .frictionAngle = 33};
  const AnchorLevel good{"A1", 2.5, 15, 2.5, 168, 120};
  const auto refused = [&](void (*change)(AnchorLevel&), const char* why) {
    AnchorLevel level = good;
    level.name = "A2";
    change(level);
    std::string error;
    EXPECT_FALSE(DesignAnchors({good, level}, cut, {}, error)) << why;
    EXPECT_NE(error.find("anchor A2: "), std::string::npos) << error;
    EXPECT_NE(error.find(why), std::string::npos) << error;
  };
  refused([](AnchorLevel& l) { l.inclination = 50; }, "inclination");
  refused([](AnchorLevel& l) { l.inclination = -5; }, "inclination");
  refused([](AnchorLevel& l) { l.transferRate = 0; }, "load-transfer rate");
  refused([](AnchorLevel& l) { l.force = -3; }, "force");
  refused([](AnchorLevel& l) { l.depth = std::nan(""); }, "depth");
  refused([](AnchorLevel& l) { l.depth = 10; }, "excavation level");
  refused([](AnchorLevel& l) { l.spacing = 0; }, "spacing");
  refused([](AnchorLevel& l) { l.force = 5000; }, "no allowed tendon");

  const auto refusedSetup = [&](const AnchoredCut& c, const AnchorRules& rules, const char* why) {
    std::string error;
    EXPECT_FALSE(DesignAnchor(good, c, rules, error)) << why;
    EXPECT_NE(error.find(why), std::string::npos) << error;
  };
  const double nan = std::numeric_limits<double>::quiet_NaN();
  refusedSetup(cut, {.testFactor = 0.9}, "test load");
  refusedSetup({.height = 10, .frictionAngle = 33, .planeDepth = 8}, {}, "critical plane");
  refusedSetup({.height = 10, .surface = [nan](double) { return nan; }}, {}, "NaN");
  refusedSetup({.height = 10, .surface = [](double) { return 1e6; }}, {}, "does not get beyond");

  // A data file in pounds and inches reads its refusals in its own units:
  // 10 m is 393.7 in, and 5000 kN/m at 2.5 m spacing and 15 degrees is an
  // anchor load of 12,940 kN = 2,909,000 lb.
  std::string error;
  AnchorLevel level = good;
  level.depth = 10;
  EXPECT_FALSE(DesignAnchor(level, cut, {.messageUnits = 1}, error));
  EXPECT_NE(error.find("(393.7 in), not 393.7 in"), std::string::npos) << error;
  level = good;
  level.force = 5000;
  EXPECT_FALSE(DesignAnchor(level, cut, {.messageUnits = 1}, error));
  EXPECT_NE(error.find("design load of 2.909e+06 lb"), std::string::npos) << error;
}
