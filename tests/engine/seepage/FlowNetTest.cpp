// Seepage round a wall against solutions worked independently: Harr's
// closed form for a sheet pile in a homogeneous half-space, the equal-path
// method by hand, and the transformed section of an anisotropic soil.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "api/Seepage.h"

namespace terraq::engine::api {
namespace {

constexpr double kGammaW = 9.81;  // SI

// A sheet pile of penetration d in level ground, water H above the ground
// behind it and at the ground in front; the base and the far boundaries
// 25 d away stand for the half-space.
SeepageProblem HarrCase(double d, double H) {
  SeepageProblem p;
  p.retainedWater = -H;
  p.tip = d;
  p.base = 25 * d;
  p.retainedWidth = p.frontWidth = 25 * d;
  p.layers = {{.thickness = 25 * d, .kx = 3e-5, .kz = 3e-5}};
  return p;
}

TEST(FlowNet, SheetPileInAHalfSpaceMatchesHarr) {
  const double d = 8, H = 3;
  const SeepageResult r = SolveSeepage(HarrCase(d, H), SeepageMethod::FlowNet);
  ASSERT_TRUE(r.solution) << r.message;
  for (double y : {0.5, 2.0, 4.0, 6.0, 7.5}) {
    const double swing = H / std::numbers::pi * std::acos(y / d);
    const double back = kGammaW * (H / 2 + swing + y), front = kGammaW * (H / 2 - swing + y);
    EXPECT_NEAR(PorePressureOnFace(*r.solution, WallFace::Retained, y), back, 0.02 * kGammaW * H)
        << "depth " << y;
    EXPECT_NEAR(PorePressureOnFace(*r.solution, WallFace::Front, y), front, 0.02 * kGammaW * H)
        << "depth " << y;
  }
  const double exit = H / (std::numbers::pi * d);
  EXPECT_NEAR(r.solution->exitGradient, exit, 0.02 * exit);
  // Standing water above the ground behind presses hydrostatically.
  EXPECT_NEAR(PorePressureOnFace(*r.solution, WallFace::Retained, -1.0), kGammaW * 2, 1e-9);
  // The stream function: nothing along the far boundary, the flow rate on the wall.
  const FlowNet& net = *r.solution->flowNet;
  ASSERT_TRUE(r.solution->flowRate);
  EXPECT_GT(*r.solution->flowRate, 0);
  EXPECT_EQ(net.stream[0], 0.0);
  size_t wall = 0;
  while (net.x[wall] < 0) ++wall;
  EXPECT_NEAR(net.stream[wall], *r.solution->flowRate, 1e-6 * *r.solution->flowRate);
}

// Behind: table 1.5 below the surface; in front: excavated to 4, dewatered
// to 5; tip at 10. The path runs 8.5 down and 5 up, so the head lost is
// spread over 13.5: u = γw (z - zw)(1 - Δh/L) behind, (1 + Δh/L) in front.
TEST(LinearSeepage, PorePressuresAsWorkedByHand) {
  SeepageProblem p;
  p.retainedWater = 1.5;
  p.excavationLevel = 4;
  p.frontWater = 5;
  p.tip = 10;
  const SeepageResult r = SolveSeepage(p, SeepageMethod::Linear);
  ASSERT_TRUE(r.solution) << r.message;
  const double drop = 3.5 / 13.5;
  EXPECT_NEAR(PorePressureOnFace(*r.solution, WallFace::Retained, 7), kGammaW * 5.5 * (1 - drop),
              1e-9);
  EXPECT_NEAR(PorePressureOnFace(*r.solution, WallFace::Front, 7), kGammaW * 2 * (1 + drop), 1e-9);
  EXPECT_NEAR(PorePressureOnFace(*r.solution, WallFace::Front, 10), kGammaW * 8.5 * (1 - drop),
              1e-9);
  EXPECT_EQ(PorePressureOnFace(*r.solution, WallFace::Front, 4.5), 0.0);  // above the table
  EXPECT_NEAR(r.solution->exitGradient, drop, 1e-12);
  EXPECT_FALSE(r.solution->flowRate);

  const SeepageResult still = SolveSeepage(p, SeepageMethod::Hydrostatic);
  ASSERT_TRUE(still.solution);
  EXPECT_NEAR(PorePressureOnFace(*still.solution, WallFace::Retained, 7), kGammaW * 5.5, 1e-9);
  EXPECT_EQ(still.solution->exitGradient, 0.0);
}

// Two sections that carry the same flow: the same pressures on the faces
// above the tip (within `tolerance`), flow rates and exit gradients within 1 %.
void ExpectTheSameFlow(const SeepageProblem& one, const SeepageProblem& other, double tolerance) {
  const SeepageResult a = SolveSeepage(one, SeepageMethod::FlowNet);
  const SeepageResult b = SolveSeepage(other, SeepageMethod::FlowNet);
  ASSERT_TRUE(a.solution && b.solution) << a.message << b.message;
  for (double share : {0.2, 0.6, 0.9})
    for (WallFace face : {WallFace::Retained, WallFace::Front}) {
      const double y = share * one.tip;
      EXPECT_NEAR(PorePressureOnFace(*a.solution, face, y),
                  PorePressureOnFace(*b.solution, face, y), tolerance)
          << "depth " << y;
    }
  EXPECT_NEAR(*a.solution->flowRate, *b.solution->flowRate, 0.01 * *b.solution->flowRate);
  EXPECT_NEAR(a.solution->exitGradient, b.solution->exitGradient, 0.01 * b.solution->exitGradient);
}

// kx = 4 kz is the isotropic soil of k = sqrt(kx kz) with every horizontal
// distance halved: the same heads on the faces, the same flow.
TEST(FlowNet, AnisotropicSoilIsItsTransformedSection) {
  SeepageProblem anisotropic = HarrCase(6, 2.5);
  anisotropic.excavationLevel = 2;
  anisotropic.frontWater = 2;
  anisotropic.base = 18;
  anisotropic.retainedWidth = 40;
  anisotropic.frontWidth = 24;
  anisotropic.layers = {{.thickness = 18, .kx = 4e-5, .kz = 1e-5}};
  SeepageProblem transformed = anisotropic;
  transformed.retainedWidth = 20;
  transformed.frontWidth = 12;
  transformed.layers = {{.thickness = 18, .kx = 2e-5, .kz = 2e-5}};
  ExpectTheSameFlow(anisotropic, transformed, 0.01 * kGammaW * 2.5);
}

// A layer (kx, kz) of thickness t carries the flow of one (kx / c, kz c)
// of thickness c t: both fluxes match across its faces. With c = 4, a layer
// below the tip of kx = 4k, kz = k/4 is the soil above it four times as thick.
TEST(FlowNet, LayerBelowTheTipIsItsStretchedSection) {
  SeepageProblem layered = HarrCase(5, 2);
  layered.excavationLevel = layered.frontWater = 1.5;
  layered.base = 13;
  layered.retainedWidth = layered.frontWidth = 30;
  layered.layers = {{.thickness = 7, .kx = 1e-5, .kz = 1e-5},
                    {.thickness = 6, .kx = 4e-5, .kz = 0.25e-5}};
  SeepageProblem stretched = layered;
  stretched.base = 31;
  stretched.layers = {{.thickness = 31, .kx = 1e-5, .kz = 1e-5}};
  ExpectTheSameFlow(layered, stretched, 0.005 * kGammaW * 3.5);
}

TEST(SeepageInput, RefusedWithTheReason) {
  auto fault = [](auto change) {
    SeepageProblem p = HarrCase(8, 3);
    p.excavationLevel = 2;
    change(p);
    const SeepageResult r = SolveSeepage(p, SeepageMethod::FlowNet);
    EXPECT_FALSE(r.solution);
    return r.message;
  };
  EXPECT_EQ(fault([](SeepageProblem& p) { p.layers[0].kz = -1e-5; }),
            "layer 1: the vertical permeability kz must be > 0, not -1e-05");
  EXPECT_EQ(fault([](SeepageProblem& p) { p.tip = 1.5; }),
            "the wall's tip (1.5) must lie below the excavation level (2)");
  EXPECT_EQ(fault([](SeepageProblem& p) { p.base = 6; }),
            "the impermeable base (6) must lie below the wall's tip (8)");
  EXPECT_EQ(fault([](SeepageProblem& p) { p.layers.insert(p.layers.begin(), SeepageLayer{}); }),
            "layer 1: the thickness must be > 0, not 0");
  EXPECT_EQ(fault([](SeepageProblem& p) { p.frontWater = 9; }),
            "both water tables must lie above the wall's tip for water to flow round it");
  EXPECT_EQ(fault([](SeepageProblem& p) { p.frontWidth = NAN; }),
            "every depth and width must be a finite number");
}

}  // namespace
}  // namespace terraq::engine::api
