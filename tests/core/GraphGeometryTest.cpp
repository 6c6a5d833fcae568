// The windowless geometry of the plot windows: axis ranges, ticks, layout,
// the world-pixel mapping, markers, zoom and the soil-layer strip.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "graphs/GraphLayout.h"
#include "graphs/GraphRanges.h"
#include "graphs/GraphTicks.h"
#include "graphs/GraphZoom.h"
#include "graphs/LayerStrip.h"

using namespace terraq::ui;

namespace {

TLineList OneCurve(std::vector<TFloatPoint> points) {
  TLineList lines(1);
  lines[0].Points = std::move(points);
  return lines;
}

TEST(GraphRanges, RangesIncludeZeroAndRoundOutwards) {
  // All points at one place: 0 joins the range, which never collapses.
  EXPECT_EQ(PanelWorldRect(OneCurve({{5, 5}, {5, 5}})), (TWorldRect{0, 5, 0, 5}));
  // Leading digits below 3 round to a tenth of the decade, above to the decade.
  EXPECT_EQ(RoundAxisRange(0, 250).Step, 10);
  EXPECT_EQ(RoundAxisRange(0, 243).Max, 250);
  EXPECT_EQ(RoundAxisRange(0, 500).Step, 100);
  EXPECT_EQ(RoundAxisRange(0, 431).Max, 500);
  EXPECT_EQ(RoundAxisRange(-37, 0).Min, -40);
  // A graph of zeros (or no curves) still gets a window 0.02 wide.
  const TWorldRect zero = PanelWorldRect({});
  EXPECT_NEAR(static_cast<double>(zero.XMin), -0.01, 1e-12);
  EXPECT_NEAR(static_cast<double>(zero.YMax), 0.01, 1e-12);
  // Values that cannot be drawn do not spoil the range.
  const TWorldRect r = PanelWorldRect(OneCurve({{2, 3}, {std::numeric_limits<long double>::infinity(), 1}}));
  EXPECT_EQ(r, (TWorldRect{0, 2, 0, 3}));
  // Widths beyond the number range stay finite and get no ticks.
  const TWorldRect huge = PanelWorldRect(OneCurve({{-1.1e4932L, 1}, {1.1e4932L, 2}}));
  EXPECT_TRUE(std::isfinite(huge.XMin) && std::isfinite(huge.XMax));
  EXPECT_FALSE(AxisTicks(huge.XMin, huge.XMax, 600, 78).Any);
}

TEST(GraphRanges, CurvesCarriedOnFlatAreRangedToWhereTheyBend) {
  // A generated p-y curve: ultimate p reached at 0.6 in, carried on to 36 in.
  TLineList curves = OneCurve({{-36, 100},
                               {-24, 100},
                               {-0.6, 100},
                               {-0.3, 50},
                               {0, 0},
                               {0.3, -50},
                               {0.6, -100},
                               {24, -100},
                               {36, -100}});
  EXPECT_EQ(PanelWorldRectOfShape(curves), (TWorldRect{-1.2L, 1.2L, -100, 100}));
  // The curve that bends furthest out sets the range; never beyond the points.
  curves.push_back(OneCurve({{0, 0}, {0.4, -10}, {0.8, -20}, {1, -20}}).front());
  EXPECT_EQ(PanelWorldRectOfShape(curves), (TWorldRect{-1.2L, 1.6L, -100, 100}));
  // A curve without resistance (at the excavation level) does not widen it.
  curves.push_back(OneCurve({{-1, 0}, {0, 0}, {1, 0}}).front());
  EXPECT_EQ(PanelWorldRectOfShape(curves), (TWorldRect{-1.2L, 1.6L, -100, 100}));
  EXPECT_EQ(PanelWorldRectOfShape(OneCurve({{-1, 0}, {0, 0}, {1, 0}})),
            PanelWorldRect(OneCurve({{-1, 0}, {1, 0}})));
  const TLineList bending = OneCurve({{-2, 5}, {0, 0}, {3, -7}});
  EXPECT_EQ(PanelWorldRectOfShape(bending), PanelWorldRect(bending));
}

TEST(GraphTicks, StepsOfOneTwoFiveAndEveryFifthLabelled) {
  // 0..100 over 600 pixels at 78 pixels an interval: 7 intervals of 14.3,
  // labels every 10 (minor ticks every 2), ends included.
  const TAxisTicks t = AxisTicks(0, 100, 600, 78);
  ASSERT_TRUE(t.Any);
  EXPECT_DOUBLE_EQ(static_cast<double>(t.Major), 10);
  EXPECT_DOUBLE_EQ(static_cast<double>(t.Minor), 2);
  EXPECT_EQ(t.First, 0);
  EXPECT_EQ(t.Last, 50);
  // 0..250: 35.7 an interval rounds to 20; -0.3..0.7 in 3 intervals to 0.2.
  EXPECT_DOUBLE_EQ(static_cast<double>(AxisTicks(0, 250, 600, 78).Major), 20);
  const TAxisTicks small = AxisTicks(-0.3L, 0.7L, 300, 78);
  EXPECT_DOUBLE_EQ(static_cast<double>(small.Major), 0.2);
  EXPECT_EQ(small.First, -7);  // -0.28 is the first minor tick inside
  EXPECT_EQ(small.Last, 17);
  // Shorter than one interval: no ticks.
  EXPECT_FALSE(AxisTicks(0, 100, 70, 78).Any);
}

TEST(GraphLayout, SinglePanelAtScreenResolution) {
  TLayoutInput in;
  in.AreaWidth = 1600;
  in.AreaHeight = 1000;
  in.TextHeight = 13;
  const TGraphLayout depth = LayoutGraph(in);
  // Left: two text heights, an eighth inch and an eighth text height.
  EXPECT_EQ(depth.Plot, (TPixelRect{39, 39, 1570, 970}));
  EXPECT_FALSE(depth.TooSmall);

  in.XOnTop = false;
  in.Title = TitlePlace::Bottom;
  const TGraphLayout up = LayoutGraph(in);
  EXPECT_EQ(up.Plot.Top, 30);
  EXPECT_EQ(up.Plot.Bottom, 1000 - 39 - 13);

  in.XOnTop = true;
  in.Title = TitlePlace::Top;
  EXPECT_EQ(LayoutGraph(in).Plot.Top, 39 + 14);
}

TEST(GraphLayout, ThreePanelsAndLayerStrip) {
  TLayoutInput in;
  in.AreaWidth = 1600;
  in.AreaHeight = 1000;
  in.TextHeight = 13;
  in.ShowThree = true;
  in.ShowLayers = true;
  const TGraphLayout l = LayoutGraph(in);
  // The strip takes an inch from the plot and leaves a fifth of it as gap.
  EXPECT_EQ(l.Plot.Right, 1570 - 96);
  EXPECT_EQ(l.Strip, (TPixelRect{1570 - 96 + 19, 39, 1570, 970}));
  ASSERT_EQ(l.PanelCount, 3);
  EXPECT_EQ(l.Panels[0].Left, l.Plot.Left);
  EXPECT_EQ(l.Panels[2].Right, l.Plot.Right);
  EXPECT_EQ(l.Panels[0].Width(), l.Panels[1].Width());
  for (int k = 1; k < 3; ++k) {
    EXPECT_EQ(l.Panels[k].Left - l.Panels[k - 1].Right, 2 * 13 + 24);  // room for labels and caption
    EXPECT_EQ(l.Panels[k].Top, l.Plot.Top);
  }
}

// A page at 600 dpi runs the plot to the area's right edge and to the edge
// opposite the X axis; a title takes a quarter inch at the top or half an
// inch at the bottom. An image keeps the window's rules with a strip half
// an inch wide (less the fifth-inch gap).
TEST(GraphLayout, PrintAndExportVariants) {
  TGraphPlot g;
  const TLayoutInput page = GraphLayoutInput(g, 6000, 4000, 600, 600, TLayoutTarget::Print);
  const TGraphLayout depth = LayoutGraph(page);
  const int h = page.TextHeight;  // 10 points at 600 dpi
  EXPECT_EQ(h, 83);
  EXPECT_EQ(depth.Plot, (TPixelRect{2 * h + 75 + 10, 2 * h + 75 + 10, 6000, 4000}));
  g.Title = "Wall";
  EXPECT_EQ(LayoutGraph(GraphLayoutInput(g, 6000, 4000, 600, 600, TLayoutTarget::Print)).Plot.Top,
            depth.Plot.Top + 150);
  g.XOnTop = false;
  g.TitleOnTop = false;
  const TGraphLayout up = LayoutGraph(GraphLayoutInput(g, 6000, 4000, 600, 600, TLayoutTarget::Print));
  EXPECT_EQ(up.Plot.Top, 0);
  EXPECT_EQ(up.Plot.Bottom, 4000 - (2 * h + 75 + 10) - 300);

  TGraphPlot layered;
  layered.ShowLayers = true;
  const TGraphLayout screen = LayoutGraph(GraphLayoutInput(layered, 576, 384, 96, 96));
  const TGraphLayout image = LayoutGraph(GraphLayoutInput(layered, 576, 384, 96, 96, TLayoutTarget::Export));
  EXPECT_EQ(image.Strip.Right, screen.Strip.Right);
  EXPECT_EQ(image.Strip.Width(), 48 - 19);
  EXPECT_EQ(image.Plot.Right, screen.Plot.Right + 48);
  EXPECT_EQ(image.Plot.Top, screen.Plot.Top);
}

TEST(GraphLayout, UnderAnInchOrWithoutRoomIsTooSmall) {
  TLayoutInput in;
  in.TextHeight = 13;
  in.AreaWidth = 95;
  in.AreaHeight = 500;
  EXPECT_TRUE(LayoutGraph(in).TooSmall);
  in.AreaWidth = 500;
  in.AreaHeight = 95;
  EXPECT_TRUE(LayoutGraph(in).TooSmall);
  in.AreaHeight = 96;
  EXPECT_FALSE(LayoutGraph(in).TooSmall);
  // Big text in a small window leaves no plot: nothing is drawn.
  in.AreaHeight = 150;
  in.TextHeight = 60;
  EXPECT_TRUE(LayoutGraph(in).TooSmall);
}

TEST(GraphLayout, WorldToPixelAndBack) {
  const TWorldRect world{0, 10, 0, 20};
  const TPixelRect pixels{100, 50, 200, 250};
  const TPanelMap depth(world, pixels, true);
  EXPECT_EQ(depth.ToPixelX(2.5), 125);
  EXPECT_EQ(depth.ToPixelY(5), 100);  // depths grow downwards
  const TPanelMap up(world, pixels, false);
  EXPECT_EQ(up.ToPixelY(5), 200);
  const TFloatPoint back = up.ToWorld(150, 150);
  EXPECT_DOUBLE_EQ(static_cast<double>(back.X), 5);
  EXPECT_DOUBLE_EQ(static_cast<double>(back.Y), 10);
  const TFloatPoint outside = up.ToWorld(99, 150);
  EXPECT_EQ(outside.X, 0);
  EXPECT_EQ(outside.Y, 0);
  // A value far beyond a zoomed window still maps to a sane pixel.
  EXPECT_GT(depth.ToPixelX(1e30L), 200);
}

TEST(GraphLayout, MarkerShapes) {
  // Radius 3 pixels at 96 dpi. Triangle pointing down.
  EXPECT_EQ(MarkerCorners(0, 50, 50, 96, 96), (std::vector<TPixelPoint>{{50, 53}, {47, 48}, {53, 48}}));
  // Square with axis-parallel sides.
  EXPECT_EQ(MarkerCorners(1, 50, 50, 96, 96), (std::vector<TPixelPoint>{{52, 48}, {52, 52}, {48, 52}, {48, 48}}));
  // Curve 4: a pentagon, first corner straight up.
  const auto pentagon = MarkerCorners(4, 50, 50, 96, 96);
  ASSERT_EQ(pentagon.size(), 5u);
  EXPECT_EQ(pentagon[0], (TPixelPoint{50, 47}));
  EXPECT_TRUE(HasMarker(0, 5) && HasMarker(10, 5) && !HasMarker(3, 5) && !HasMarker(0, 0));
}

TEST(GraphZoom, RubberBandAndItsLimit) {
  const TWorldRect full{0, 100, 0, 100};
  // Corners in any order become min..max.
  EXPECT_EQ(RubberBandZoom({60, 70}, {20, 10}, full), (TWorldRect{20, 60, 10, 70}));
  // A band 2 wide (under 1/20 of 100) gives exactly 5, centred on it.
  const TWorldRect narrow = RubberBandZoom({10, 10}, {12, 60}, full);
  EXPECT_DOUBLE_EQ(static_cast<double>(narrow.XMin), 8.5);
  EXPECT_DOUBLE_EQ(static_cast<double>(narrow.XMax), 13.5);
  EXPECT_EQ(narrow.YMax, 60);
  // At the edge the 1/20 window is shifted back inside.
  const TWorldRect edge = RubberBandZoom({99, 0}, {100, 50}, full);
  EXPECT_DOUBLE_EQ(static_cast<double>(edge.XMin), 95);
  EXPECT_DOUBLE_EQ(static_cast<double>(edge.XMax), 100);
}

TEST(GraphZoom, ZoomOutDoublesAroundThePointerInsideTheFullRange) {
  const TWorldRect full{0, 100, -50, 50};
  const TWorldRect out = ZoomOut({40, 50, 0, 10}, full, {45, 5});
  EXPECT_EQ(out, (TWorldRect{35, 55, -5, 15}));
  // Near an edge the window stays inside; never wider than the full range.
  EXPECT_EQ(ZoomOut({0, 10, 0, 10}, full, {2, 2}), (TWorldRect{0, 20, -8, 12}));
  EXPECT_EQ(ZoomOut({0, 80, -50, 50}, full, {2, 2}), full);
}

TEST(LayerStrip, BandsWithAndWithoutTheWall) {
  TGraphPlot graph;
  SetLineCount(graph.LayerLines, 4);
  graph.LayerLines[0].Points = {{kLayerClay, 10}};
  graph.LayerLines[0].Name = " CLAY ";
  graph.LayerLines[1].Points = {{kLayerSand, 30}};
  graph.LayerLines[2].Points = {{0, 25}};  // wall bottom
  graph.LayerLines[3].Points = {{0, 8}};   // excavation level
  graph.WallLineCount = 2;
  // 10 pixels a foot of depth, strip 100 pixels wide.
  const TPixelRect strip{0, 0, 100, 400};
  const TPanelMap depths({0, 1, 0, 40}, strip, true);

  TLayerStripShapes plain = LayerStripShapes(graph, strip, depths);
  ASSERT_EQ(plain.Bands.size(), 2u);
  EXPECT_EQ(plain.Bands[0].Rect, (TPixelRect{0, 0, 100, 100}));
  EXPECT_EQ(plain.Bands[1].Rect, (TPixelRect{0, 100, 100, 300}));
  EXPECT_EQ(plain.Bands[1].Code, kLayerSand);
  ASSERT_EQ(plain.Labels.size(), 2u);
  EXPECT_EQ(plain.Labels[0].Text, " CLAY ");
  EXPECT_FALSE(plain.HasWall);

  graph.ShowWall = true;
  TLayerStripShapes wall = LayerStripShapes(graph, strip, depths);
  // Clay straddles the excavation: the retained side over its height, the
  // front below the excavation; sand lies wholly below: full width.
  ASSERT_EQ(wall.Bands.size(), 3u);
  EXPECT_EQ(wall.Bands[0].Rect, (TPixelRect{0, 0, 40, 100}));
  EXPECT_EQ(wall.Bands[1].Rect, (TPixelRect{60, 80, 100, 100}));
  EXPECT_EQ(wall.Bands[2].Rect, (TPixelRect{0, 100, 100, 300}));
  ASSERT_TRUE(wall.HasWall);
  EXPECT_EQ(wall.Wall, (TPixelRect{40, 0, 60, 250}));
}

TEST(GraphLayout, LegendSizeFollowsEntriesAndFont) {
  const TLegendSize s = LegendSize(11, 10, 4, 80, 96);
  EXPECT_EQ(s.FontSize, 11);
  EXPECT_EQ(s.ItemHeight, 16);
  EXPECT_EQ(s.Height, 4 * 16 + 3);
  EXPECT_EQ(s.Width, 80 + 24);
  EXPECT_EQ(LegendSize(11, 20, 4, 80, 96).FontSize, 22);  // "2 * Default"
  // A box larger than the window keeps its top-left corner in view.
  EXPECT_EQ(KeepInside({500, -5}, 100, 50, 400, 300), (TPixelPoint{300, 0}));
  EXPECT_EQ(KeepInside({10, 10}, 500, 50, 400, 300), (TPixelPoint{0, 10}));
}

}  // namespace
