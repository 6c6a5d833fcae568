// The figures of the ground around a wall: each paints without throwing
// and puts the failure surface where the check found it, the deep slip
// plane from the foot to the bond's middle worked out here, Terzaghi's
// surface a half circle of radius B1 about the wall at the excavation level
// (0.7 B, or the firm stratum's depth where that is less); checked on a few
// points of the painted image, not pixel by pixel (the slip circle's:
// SlipCircleFigureTest.cpp).

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "BasalHeavePainter.h"
#include "DeepSlipPainter.h"
#include "GroundFigureCheck.h"

namespace terraq::ui {
namespace {

using namespace ground_test;

TEST(GroundFigures, DeepSlipPlaneFromTheFootToTheBondsMiddle) {
  const design::DeepSeatedInput in{
      .footDepth = 11,
      .layers = {{.unitWeight = 18, .buoyantUnitWeight = 10, .frictionAngle = 32}},
      .anchors = {
          {.depth = 1.5, .inclination = 15, .freeLength = 8, .bondLength = 6, .force = 160}}};
  const DeepSlipFigure figure{in, design::CheckDeepSeatedStability(in), 7, 12, "m", "kN/m"};
  ASSERT_TRUE(figure.result.governing);
  QImage image = Blank();
  QPainter painter(&image);
  const QRectF area(0, 0, 900, 700);
  const DeepSlipLayout l = LayOutDeepSlip(painter, area, kDpi, figure);
  EXPECT_NO_THROW(PaintDeepSlip(painter, area, kDpi, figure));
  painter.end();
  Keep(image, "deep-slip-plane");
  const std::vector<QPointF>& plane = l.planes[*figure.result.governing];
  ASSERT_EQ(plane.size(), 2u);
  // The bond's middle 8 + 3 m along the tendon at 15° below the horizontal,
  // into the retained side (drawn to the left of the wall).
  const double a = 15 * std::numbers::pi / 180, s = 11;
  const QPointF foot = l.frame.At(0, -11),
                middle = l.frame.At(-s * std::cos(a), -1.5 - s * std::sin(a));
  EXPECT_NEAR(plane.front().x(), foot.x(), 1e-6);
  EXPECT_NEAR(plane.front().y(), foot.y(), 1e-6);
  EXPECT_NEAR(plane.back().x(), middle.x(), 1e-6);
  EXPECT_NEAR(plane.back().y(), middle.y(), 1e-6);
  EXPECT_TRUE(SlipColourNear(image, (plane.front() + plane.back()) / 2));
}

TEST(GroundFigures, TerzaghisSurfaceAHalfCircleOfTheBlocksWidth) {
  for (const double firm : {20.0, 5.0}) {  // beyond reach, then nearer than 0.7 B = 8.4 m
    const design::BasalHeaveInput in{.depth = 9,
                                     .width = 12,
                                     .length = 30,
                                     .baseStrength = 24,
                                     .unitWeight = 19,
                                     .surcharge = 15,
                                     .firmStratumDepth = firm};
    const BasalHeaveFigure figure{in, design::CheckBasalHeave(in), 14, "m", "kN/m²"};
    QImage image = Blank();
    QPainter painter(&image);
    const QRectF area(0, 0, 900, 700);
    const BasalHeaveLayout l = LayOutBasalHeave(painter, area, kDpi, figure);
    EXPECT_NO_THROW(PaintBasalHeave(painter, area, kDpi, figure));
    painter.end();
    Keep(image, firm < 8 ? "basal-heave-firm" : "basal-heave");
    const double B1 = std::min(0.7 * 12, firm);
    EXPECT_NEAR(l.surfaceRadius, B1 * l.frame.scale, 1e-9) << firm;
    const QPointF centre = l.frame.At(0, -9);
    EXPECT_NEAR(l.surfaceCentre.x(), centre.x(), 1e-9);
    EXPECT_NEAR(l.surfaceCentre.y(), centre.y(), 1e-9);
    // The surface's bottom under the wall, a point in the cut, nothing below.
    EXPECT_TRUE(SlipColourNear(image, centre + QPointF(0, l.surfaceRadius))) << firm;
    EXPECT_TRUE(SlipColourNear(image, l.frame.At(B1 * std::cos(0.3), -9 - B1 * std::sin(0.3))));
    EXPECT_FALSE(SlipColourNear(image, l.frame.At(B1 / 3, -9 - B1 - 1))) << firm;
  }
}

}  // namespace
}  // namespace terraq::ui
