// Structural checks of a wall section against the code formulas worked by
// hand in each test (EN 1993-5:2007 5.2 for sheet piles, EN 1993-1-1:2005
// 6.2 for I shapes and pipes), and the allowable-stress check.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "SectionCheck.h"

namespace terraq::design {
namespace {

const double kRoot3 = std::sqrt(3.0);
const double kPi = std::acos(-1.0);

// A section from its dimensions (m) and properties (m², m³); 0 leaves one out.
Section Make(const char* name, SectionFamily family, double b, double h, double tf, double tw,
             double area, double wel, double wpl) {
  Section s;
  s.name = name;
  s.family = family;
  const auto set = [](std::optional<double>& field, double v) {
    if (v > 0) field = v;
  };
  set(s.width, b);
  set(s.height, h);
  set(s.flangeThickness, tf);
  set(s.webThickness, tw);
  set(s.area, area);
  set(s.elasticModulus, wel);
  set(s.plasticModulus, wpl);
  return s;
}

// A Z sheet pile of 630 mm system width, per metre of wall (cm → m).
Section ZPile() {
  Section s = Make("Z630", SectionFamily::SheetPileZ, 0.630, 0.380, 0.0095, 0.0095, 150.4e-4,
                   1800e-6, 2104e-6);
  s.webAngle = 55.0;
  return s;
}

SteelGrade Grade(double fyMPa) {
  SteelGrade g;
  g.name = "S" + std::to_string(static_cast<int>(fyMPa));
  g.yieldStrength = fyMPa * 1e6;
  g.elasticModulus = 210e9;
  return g;
}

StationEffect At(double depth, double m, double v, double n = 0) {
  StationEffect e;
  e.depth = depth;
  e.moment = m;
  e.shear = v;
  e.axial = n;
  return e;
}

TEST(SectionCheck, EurocodeZPileResistancesAndInteractions) {
  // 630/9.5/ε = 81.5 > 66 with ε = √(235/355): class 4 from the system width,
  // so the engineer gives the catalogue's class 2.
  CheckSettings settings;
  const auto noClass = CheckWall(ZPile(), Grade(355), settings, 1.0, {At(1, 1e5, 0)});
  ASSERT_TRUE(noClass.error.empty()) << noClass.error;
  EXPECT_EQ(noClass.sectionClass, 4);
  EXPECT_GE(noClass.notes.size(), 2u);  // the system width bound, the class-4 section

  settings.sectionClass = 2;
  const double unit = 2.0;  // effects per 2 m of wall
  const double fy = 355e6;
  const double mc = 2104e-6 * fy;                    // 746.9 kN·m/m
  const double webArea = 0.0095 * (0.380 - 0.0095);  // one web per pile
  const double vpl = webArea / 0.630 * fy / kRoot3;  // 1145 kN/m
  // High shear: V = 0.8 Vpl gives ρ = (1.6 − 1)² = 0.36 and
  // Mv = (Wpl − ρ Av²/(4 tw sin α)/b)·fy.
  const double sinA = std::sin(55.0 * kPi / 180);
  const double mv = (2104e-6 - 0.36 * webArea * webArea / (4 * 0.0095 * sinA) / 0.630) * fy;
  // Axial force n = 0.3 > 0.1: MN = 1.11 Mc (1 − n) = 0.777 Mc.
  const double npl = 150.4e-4 * fy;

  const auto check = CheckWall(
      ZPile(), Grade(355), settings, unit,
      {At(1, unit * 0.5 * mc, unit * 0.2 * vpl), At(2, unit * 0.5 * mc, unit * 0.8 * vpl),
       At(3, unit * 0.5 * mc, 0, unit * 0.3 * npl), At(4, unit * 0.9 * mc, 0, unit * 0.05 * npl)});
  ASSERT_TRUE(check.error.empty()) << check.error;
  EXPECT_EQ(check.sectionClass, 2);
  EXPECT_NEAR(check.momentResistance, unit * mc, 1.0);
  EXPECT_NEAR(check.shearResistance, unit * vpl, 1.0);
  ASSERT_EQ(check.stations.size(), 4u);
  EXPECT_NEAR(check.stations[0].bending, 0.5, 1e-9);
  EXPECT_NEAR(check.stations[0].shear, 0.2, 1e-9);
  EXPECT_NEAR(check.stations[0].combined, 0.5, 1e-9);  // low shear: no reduction
  EXPECT_NEAR(check.stations[1].combined, 0.5 * mc / mv, 1e-9);
  EXPECT_EQ(check.stations[1].governing, GoverningCheck::Shear);
  EXPECT_NEAR(check.stations[2].combined, 0.5 / (1.11 * 0.7), 1e-9);
  EXPECT_EQ(check.stations[2].governing, GoverningCheck::Combined);
  EXPECT_NEAR(check.stations[3].combined, 0.9, 1e-9);  // n ≤ 0.1: axial force ignored
  EXPECT_NEAR(check.utilisation, 0.9, 1e-9);
  EXPECT_DOUBLE_EQ(check.utilisationDepth, 4);
  EXPECT_EQ(check.governing, GoverningCheck::Bending);
}

TEST(SectionCheck, EurocodeUPileClassThreeWithoutWebAngle) {
  // A U pile of 600 mm width and 14 mm flange in S240: ε = 0.9895,
  // b/tf/ε = 43.3, between 37 and 49: class 3, elastic with βB.
  Section u =
      Make("U600", SectionFamily::SheetPileU, 0.600, 0.400, 0.014, 0.010, 200e-4, 2000e-6, 0);
  CheckSettings settings;
  settings.betaB = 0.8;
  const double fy = 240e6;
  const double mc = 0.8 * 2000e-6 * fy;
  const double vpl = 0.010 * (0.400 - 0.014) / 0.600 * fy / kRoot3;
  const double npl = 200e-4 * fy;
  const auto check = CheckWall(u, Grade(240), settings, 1.0,
                               {At(0, 0.4 * mc, 0.9 * vpl), At(1, 0.4 * mc, 0, 0.3 * npl)});
  ASSERT_TRUE(check.error.empty()) << check.error;
  EXPECT_EQ(check.sectionClass, 3);
  EXPECT_NEAR(check.momentResistance, mc, 1.0);
  // Without α the high-shear resistance is (1 − ρ) Mc with ρ = 0.64, and the
  // engineer is told.
  EXPECT_NEAR(check.stations[0].combined, 0.4 / (1 - 0.64), 1e-9);
  bool toldAngle = false;
  for (const auto& note : check.notes)
    toldAngle = toldAngle || note.find("web angle") != std::string::npos;
  EXPECT_TRUE(toldAngle);
  // Class 3 with axial force: N/Npl + M/Mc.
  EXPECT_NEAR(check.stations[1].combined, 0.7, 1e-9);
  // A Z pile of the same geometry ignores βB.
  u.family = SectionFamily::SheetPileZ;
  settings.sectionClass = 3;
  EXPECT_NEAR(CheckWall(u, Grade(240), settings, 1.0, {}).momentResistance, 2000e-6 * fy, 1.0);
}

TEST(SectionCheck, SheetPileClassFromTheCatalogueFlangeWidth) {
  // The shipped piles by EN 1993-5 Table 5-1, worked by hand from the
  // catalogue's bf and tf: ε = √(235/355) = 0.8136 (S355GP), √(235/240) =
  // 0.9895 (S240GP); Z class 2 to 45, 3 to 66; U class 2 to 37, 3 to 49.
  const struct {
    const char* name;
    double bf, tf;  // mm, as the catalogue publishes them
    double fy;      // MPa
    int expected;
  } cases[] = {
      {"AZ18", 348, 9.5, 355, 3},      // 36.63/0.8136 = 45.02, just over 45
      {"AZ18", 348, 9.5, 240, 2},      // 36.63/0.9895 = 37.02
      {"AZ26", 347, 13.0, 355, 2},     // 26.69/0.8136 = 32.81
      {"AZ12-770", 346, 8.5, 355, 3},  // 40.71/0.8136 = 50.03
      {"AZ12-770", 346, 8.5, 240, 2},  // 41.14
      {"PU12", 258, 9.8, 355, 2},      // 26.33/0.8136 = 32.36
      {"GU8N", 248, 7.5, 355, 3},      // 33.07/0.8136 = 40.64, over 37
      {"GU8N", 248, 7.5, 240, 2},      // 33.42
  };
  std::string error;
  const auto lib = LoadSectionLibrary(
      std::string(TERRAQ_SOURCE_DIR) + "/resources/sections/sections.txt", "", error);
  ASSERT_TRUE(lib) << error;
  for (const auto& c : cases) {
    const Section* pile = lib->findSection(c.name);
    ASSERT_TRUE(pile && pile->flangeWidth) << c.name;
    EXPECT_NEAR(*pile->flangeWidth, c.bf * 1e-3, 1e-12) << c.name;
    EXPECT_NEAR(*pile->flangeThickness, c.tf * 1e-3, 1e-12) << c.name;
    const auto check = CheckWall(*pile, Grade(c.fy), CheckSettings{}, 1.0, {At(1, 1e5, 0)});
    ASSERT_TRUE(check.error.empty()) << check.error;
    EXPECT_EQ(check.sectionClass, c.expected) << c.name << " fy " << c.fy;
    for (const auto& note : check.notes)  // the system-width bound is not used
      EXPECT_EQ(note.find("system width"), std::string::npos) << c.name << ": " << note;
  }
}

TEST(SectionCheck, EurocodeIShapeAndPipe) {
  // A 300×300 H shape (tf 19, tw 11 mm) in S355: outstand (300 − 11)/2/19 =
  // 7.61 between 9ε = 7.32 and 10ε = 8.14, class 2; web 262/11 = 23.8, class 1.
  const Section h =
      Make("H300", SectionFamily::HPile, 0.300, 0.300, 0.019, 0.011, 149.1e-4, 1678e-6, 1869e-6);
  const double fy = 355e6;
  const double mpl = 1869e-6 * fy;
  const double aw = (0.300 - 2 * 0.019) * 0.011;  // hw·tw
  const double vpl = aw * fy / kRoot3;
  const double npl = 149.1e-4 * fy;
  const double a = (149.1e-4 - 2 * 0.300 * 0.019) / 149.1e-4;
  CheckSettings settings;
  // The unit width does not scale a pile's resistances.
  const auto check = CheckWall(h, Grade(355), settings, 2.5,
                               {At(0, 0.5 * mpl, 0.75 * vpl), At(1, 0.5 * mpl, 0, 0.4 * npl),
                                At(2, 0.5 * mpl, 0, 0.2 * npl)});
  ASSERT_TRUE(check.error.empty()) << check.error;
  EXPECT_EQ(check.sectionClass, 2);
  EXPECT_NEAR(check.momentResistance, mpl, 1.0);
  EXPECT_NEAR(check.shearResistance, vpl, 1.0);
  // ρ = 0.25: My,V,Rd = (Wpl − ρ Aw²/(4 tw)) fy (6.2.8(5)).
  EXPECT_NEAR(check.stations[0].combined,
              0.5 * mpl / ((1869e-6 - 0.25 * aw * aw / (4 * 0.011)) * fy), 1e-9);
  // n = 0.4 > 0.25: MN = Mpl (1 − n)/(1 − 0.5a) (6.2.9.1(5)).
  EXPECT_NEAR(check.stations[1].combined, 0.5 * (1 - 0.5 * a) / 0.6, 1e-9);
  // n = 0.2 ≤ 0.25 but N = 0.2·Npl = 1058 kN > 0.5 hw tw fy = 511 kN: reduced too.
  EXPECT_NEAR(check.stations[2].combined, 0.5 * (1 - 0.5 * a) / 0.8, 1e-9);

  // A 610 × 12.7 mm pipe in S235: d/t = 48 ≤ 50ε², class 1.
  const double d = 0.610, t = 0.0127, di = d - 2 * t;
  const Section p = Make("PIPE610x12.7", SectionFamily::Pipe, 0, d, 0, t,
                         kPi * (d * d - di * di) / 4, 0, (d * d * d - di * di * di) / 6);
  const double pMpl = *p.plasticModulus * 235e6;
  const double pNpl = *p.area * 235e6;
  const auto pipe = CheckWall(p, Grade(235), settings, 1.0, {At(0, 0.5 * pMpl, 0, 0.5 * pNpl)});
  ASSERT_TRUE(pipe.error.empty()) << pipe.error;
  EXPECT_EQ(pipe.sectionClass, 1);
  EXPECT_NEAR(pipe.shearResistance, 2 * *p.area / kPi * 235e6 / kRoot3, 1.0);
  // MN = Mpl (1 − n^1.7) (6.2.9.1(6)).
  EXPECT_NEAR(pipe.stations[0].combined, 0.5 / (1 - std::pow(0.5, 1.7)), 1e-9);
}

TEST(SectionCheck, AllowableStresses) {
  // The Z pile with fb = M/Wel against 0.65 fy, fv = V/Av against 0.40 fy,
  // fa = N/A against 0.60 fy. M = 200 kN·m/m: fb = 200e3/1800e-6 = 111.1 MPa.
  CheckSettings settings;
  settings.method = CheckMethod::Allowable;
  const double fy = 355e6;
  const double av = 0.0095 * (0.380 - 0.0095) / 0.630;
  const auto check =
      CheckWall(ZPile(), Grade(355), settings, 1.0, {At(0, 200e3, 150e3, 300e3), At(1, -500e3, 0)});
  ASSERT_TRUE(check.error.empty()) << check.error;
  EXPECT_EQ(check.sectionClass, 0);
  const double fb = 200e3 / 1800e-6, fv = 150e3 / av, fa = 300e3 / 150.4e-4;
  EXPECT_NEAR(check.stations[0].bending, fb / (0.65 * fy), 1e-9);
  EXPECT_NEAR(check.stations[0].shear, fv / (0.40 * fy), 1e-9);
  EXPECT_NEAR(check.stations[0].combined, fa / (0.60 * fy) + fb / (0.65 * fy), 1e-9);
  // A hogging moment of 500 kN·m/m: 277.8 MPa against 230.75 MPa, reported
  // unclipped as 1.204.
  EXPECT_NEAR(check.utilisation, 500e3 / 1800e-6 / (0.65 * fy), 1e-9);
  EXPECT_TRUE(check.exceeded());
  EXPECT_EQ(CheckWord(check.governing), "bending");
  EXPECT_DOUBLE_EQ(check.utilisationDepth, 1);
  // Equal utilisations: the shallowest depth; no stations: nothing governs.
  const auto ties = CheckWall(ZPile(), Grade(355), settings, 1.0, {At(5, 3e5, 0), At(2, -3e5, 0)});
  EXPECT_DOUBLE_EQ(ties.utilisationDepth, 2);
  EXPECT_EQ(CheckWall(ZPile(), Grade(355), settings, 1.0, {}).governing, GoverningCheck::None);
}

TEST(SectionCheck, Errors) {
  CheckSettings settings;
  const std::vector<StationEffect> effects{At(0, 1e5, 1e4)};
  Section noWpl = ZPile();
  noWpl.plasticModulus.reset();
  settings.sectionClass = 2;
  auto check = CheckWall(noWpl, Grade(355), settings, 1.0, effects);
  EXPECT_NE(check.error.find("Z630 has no plastic section modulus Wpl"), std::string::npos)
      << check.error;
  EXPECT_TRUE(check.stations.empty());

  Section noTw = ZPile();
  noTw.webThickness.reset();
  EXPECT_NE(CheckWall(noTw, Grade(355), settings, 1.0, effects).error.find("web thickness tw"),
            std::string::npos);
  Section noArea = ZPile();
  noArea.area.reset();
  EXPECT_TRUE(CheckWall(noArea, Grade(355), settings, 1.0, effects).error.empty());
  EXPECT_NE(CheckWall(noArea, Grade(355), settings, 1.0, {At(0, 1e5, 0, 1e4)}).error.find("area A"),
            std::string::npos);

  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  for (const auto& bad : {At(0, nan, 0), At(0, 0, inf), At(nan, 0, 0)})
    EXPECT_NE(CheckWall(ZPile(), Grade(355), settings, 1.0, {bad}).error.find("not finite"),
              std::string::npos);
  EXPECT_NE(CheckWall(ZPile(), Grade(0), settings, 1.0, effects).error.find("yield strength"),
            std::string::npos);
  EXPECT_NE(CheckWall(ZPile(), Grade(355), settings, 0.0, effects).error.find("width"),
            std::string::npos);
  for (double CheckSettings::*factor :
       {&CheckSettings::gammaM0, &CheckSettings::betaB, &CheckSettings::bendingFraction}) {
    CheckSettings bad = settings;
    bad.*factor = 0;
    EXPECT_NE(CheckWall(ZPile(), Grade(355), bad, 1.0, effects).error.find("must be above 0"),
              std::string::npos);
  }
}

}  // namespace
}  // namespace terraq::design
