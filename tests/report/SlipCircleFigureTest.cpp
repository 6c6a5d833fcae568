// The overall stability's figure and subsection (apart from the other
// ground figures: the slip circle's section and the deep slip plane's each
// have a SlipPoint). The critical circle paints round its centre, below the
// wall's tip, checked on a few points of the image; the subsection gives
// the circle's factor and figure, or says why there is none.

#include <gtest/gtest.h>

#include <QPainter>
#include <cstdio>

#include "GroundFigureCheck.h"
#include "PackageGroundOverall.h"
#include "SlipCircle.h"
#include "SlipCirclePainter.h"

namespace terraq::ui {
namespace {

using namespace ground_test;

const design::SlipGround kGround{
    .surface = {{-30, 0}, {0, 0}, {0, -6}, {30, -6}},
    .layers = {{.unitWeight = 18, .saturatedUnitWeight = 20, .cohesion = 2, .frictionAngle = 30}},
    .phreatic = {{-30, -3}, {0, -3}, {0, -6}, {30, -6}},
    .wall = design::SlipWall{.x = 0, .top = 0, .tip = -12},
    .anchors = {
        {.head = {0, -1.5}, .inclination = 15, .freeLength = 9, .bondLength = 6, .capacity = 200}}};

TEST(SlipCircleFigure, RoundItsCentreBelowTheWallsTip) {
  const SlipCircleFigure figure{kGround, design::CriticalSlipCircle(kGround)};
  ASSERT_FALSE(figure.search.error);
  QImage image = Blank();
  QPainter painter(&image);
  const QRectF area(0, 0, 900, 700);
  const SlipCircleLayout l = LayOutSlipCircle(painter, area, kDpi, figure);
  EXPECT_NO_THROW(PaintSlipCircle(painter, area, kDpi, figure));
  painter.end();
  const design::SlipCircleGeometry& c = figure.search.critical.circle;
  Keep(image, "slip-circle");
  EXPECT_NEAR(l.radius, c.radius * l.frame.scale, 1e-9);
  // The circle's lowest point, drawn in the slip's colour, not above the
  // tip (the critical circle just passes it).
  const QPointF lowest = l.centre + QPointF(0, l.radius);
  EXPECT_TRUE(l.section.contains(lowest));
  EXPECT_GE(lowest.y(), l.frame.At(0, -12).y() - 1e-6);
  EXPECT_TRUE(SlipColourNear(image, lowest));
  EXPECT_TRUE(SlipColourNear(image, l.centre));  // the centre's cross
  // Nothing painted for a search that found no circle.
  QImage none = Blank();
  QPainter other(&none);
  PaintSlipCircle(other, area, kDpi, {kGround, {.error = "no circle"}});
  other.end();
  EXPECT_EQ(none, Blank());
}

TEST(SlipCircleFigure, OverallSubsectionOfACircleOrWhyNone) {
  namespace report = terraq::report;
  const design::SlipSearchResult s = design::CriticalSlipCircle(kGround);
  std::vector<report::Block> blocks;
  report::detail::AppendOverallStability(&s, &kGround, "", blocks);
  const report::KeyValues* values = nullptr;
  for (const report::Block& b : blocks)
    if (const auto* k = std::get_if<report::KeyValues>(&b)) values = k;
  ASSERT_NE(values, nullptr);
  char factor[32];
  std::snprintf(factor, sizeof factor, "%.4g", s.critical.factor);
  EXPECT_EQ(values->entries[0].value, factor);
  EXPECT_TRUE(std::holds_alternative<report::Figure>(blocks.back()));

  blocks.clear();
  report::detail::AppendOverallStability(nullptr, nullptr, "the wall was not designed", blocks);
  ASSERT_EQ(blocks.size(), 2u);
  EXPECT_EQ(std::get<report::Paragraph>(blocks[1]).text,
            "The overall stability was not checked: the wall was not designed.");
}

}  // namespace
}  // namespace terraq::ui
