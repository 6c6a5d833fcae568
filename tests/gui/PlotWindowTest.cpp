// The plot window as a person sees it: the graph painted into an image
// (background, curves in their colours, markers, frame, panels, soil strip)
// and the window's legend, pointer read-out and mouse zoom.
//
// Setting TERRAQ_PLOT_SHOTS to a folder makes the Screenshots test save
// pictures of typical graphs at a large and a small window size.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPainter>

#include "GraphPainter.h"
#include "GuiTestSupport.h"
#include "HatchBrushes.h"
#include "PlotFixtures.h"
#include "graphs/GraphRanges.h"
#include "plotwindow/TPlotForm.h"
#include "plotwindow/TPlotLegend.h"
#include "plotwindow/TPlotWindows.h"

using namespace terraq::ui;
using namespace terraq::test;

namespace {

struct Rendered {
  QImage image;
  TGraphLayout layout;
  std::array<TWorldRect, 3> world;
  TPanelMap Map(const TGraphPlot& g, int panel = 0) const { return TPanelMap(world[panel], layout.Panels[panel], g.XOnTop); }
};

// Paints the graph at 96 dpi over an image filled with green, so that any
// pixel the routine leaves alone shows.
Rendered Render(const TGraphPlot& g, int width, int height, const std::array<TWorldRect, 3>* world = nullptr) {
  Rendered r;
  r.image = QImage(width, height, QImage::Format_RGB32);
  r.image.fill(Qt::green);
  r.world = world ? *world
                  : std::array<TWorldRect, 3>{PanelWorldRect(g.Lines), PanelWorldRect(g.Lines2), PanelWorldRect(g.Lines3)};
  r.layout = LayoutGraph(GraphLayoutInput(g, width, height, 96, 96));
  QPainter p(&r.image);
  TPaintOutput out;
  PaintGraph(p, g, r.world, r.layout, out);
  return r;
}

QColor At(const Rendered& r, int x, int y) { return r.image.pixelColor(x, y); }
QColor Colour(int k) {
  const TRgb c = LineColour(k);
  return QColor(c.r, c.g, c.b);
}

TEST(PlotPaint, CurvesInTheirColoursClippedToAFramedPanelOnWhite) {
  TGraphPlot g;
  g.Markers = 0;
  SetLineCount(g.Lines, 3);
  g.Lines[0].Visible = false;  // counts for the colours, not drawn
  g.Lines[1].Points = {{0, 0}, {4, 3}, {10, 3}};
  g.Lines[2].Points = {{0, 6}, {3, 7}, {16, 7}};  // runs beyond a window 0..10
  const std::array<TWorldRect, 3> world{TWorldRect{0, 10, 0, 10}, {}, {}};
  const Rendered r = Render(g, 800, 600, &world);
  const TPanelMap map = r.Map(g);
  const TPixelRect& panel = r.layout.Panels[0];

  EXPECT_EQ(At(r, map.ToPixelX(4), map.ToPixelY(3)), Colour(1));
  EXPECT_EQ(At(r, map.ToPixelX(3), map.ToPixelY(7)), Colour(2));
  // Clipped at the frame: the margin to its right stays white.
  EXPECT_EQ(At(r, panel.Right + 3, map.ToPixelY(7)), QColor(Qt::white));
  // The frame, and white everywhere the graph does not draw.
  EXPECT_EQ(At(r, (panel.Left + panel.Right) / 2, panel.Bottom), QColor(Qt::black));
  EXPECT_EQ(At(r, panel.Right, (panel.Top + panel.Bottom) / 2), QColor(Qt::black));
  EXPECT_EQ(At(r, 799, 599), QColor(Qt::white));
  EXPECT_EQ(At(r, map.ToPixelX(7.3L), map.ToPixelY(1.3L)), QColor(Qt::white));
}

TEST(PlotPaint, UnderAnInchOnlyTheBackground) {
  TGraphPlot g;
  DepthGraph(g);
  for (const QSize size : {QSize(90, 400), QSize(400, 90)}) {
    const Rendered r = Render(g, size.width(), size.height());
    for (int y = 0; y < size.height(); ++y)
      for (int x = 0; x < size.width(); ++x) ASSERT_EQ(At(r, x, y), QColor(Qt::white)) << x << "," << y;
  }
}

TEST(PlotPaint, MarkersEveryFifthPoint) {
  TGraphPlot g;
  g.Markers = 5;
  SetLineCount(g.Lines, 2);
  g.Lines[0].Visible = false;
  for (int j = 0; j <= 20; ++j) g.Lines[1].Points.push_back({j + 0.37L, 4.37L});
  const Rendered r = Render(g, 900, 600);
  const TPanelMap map = r.Map(g);
  // Curve 1's marker is a square 2 pixels around the point at 96 dpi: its
  // lower side lies 2 rows under the line.
  for (int j = 0; j <= 20; ++j) {
    const QColor below = At(r, map.ToPixelX(j + 0.37L), map.ToPixelY(4.37L) + 2);
    if (j % 5 == 0)
      EXPECT_EQ(below, Colour(1)) << "point " << j;
    else
      EXPECT_NE(below, Colour(1)) << "point " << j;
  }
}

TEST(PlotPaint, ThreePanelsWithTheLayerStripAndWall) {
  TGraphPlot g;
  CombinedGraph(g);
  const Rendered r = Render(g, 1600, 1000);
  ASSERT_EQ(r.layout.PanelCount, 3);
  ASSERT_TRUE(r.layout.HasStrip);
  // Each panel draws its own list in the colours of the first.
  const TLineList* lists[] = {&g.Lines, &g.Lines2, &g.Lines3};
  for (int k = 0; k < 3; ++k) {
    const TFloatPoint p = (*lists[k])[1].Points[20];
    const TPanelMap map = r.Map(g, k);
    EXPECT_EQ(At(r, map.ToPixelX(p.X), map.ToPixelY(p.Y)), Colour(1)) << "panel " << k;
  }
  // The wall: a grey bar in the strip's middle fifth down to 36 ft.
  const TPixelRect& strip = r.layout.Strip;
  const int middle = (strip.Left + strip.Right) / 2;
  const TPanelMap depth = r.Map(g);
  EXPECT_EQ(At(r, middle, depth.ToPixelY(30)), QColor(128, 128, 128));
  EXPECT_NE(At(r, middle, depth.ToPixelY(38)), QColor(128, 128, 128));
  // Hatched layers: black and white pixels in the retained side of the
  // clay layer (9..16 ft), away from its label.
  int black = 0, white = 0;
  for (int y = depth.ToPixelY(9); y < depth.ToPixelY(16); ++y)
    for (int x = strip.Left + 2; x < strip.Left + strip.Width() * 2 / 5 - 1; ++x) {
      const QColor c = At(r, x, y);
      black += c == QColor(Qt::black);
      white += c == QColor(Qt::white);
    }
  EXPECT_GT(black, 20);
  EXPECT_GT(white, 4 * black);
}

TEST(PlotPaint, EveryHatchTileShipsInBothVersions) {
  for (int code : {kLayerClay, kLayerSand, kLayerSilt, kLayerStrongRock, kLayerWeakRock, kLayerGravel, kLayerFill})
    for (bool print : {false, true}) {
      const QBrush brush = LayerBrush(code, print);
      ASSERT_EQ(brush.style(), Qt::TexturePattern) << code;
      const QImage tile = brush.textureImage();
      EXPECT_EQ(tile.width(), print ? 64 : 16) << code;
    }
  EXPECT_EQ(LayerBrush(kLayerCross, false).style(), Qt::CrossPattern);
  EXPECT_EQ(LayerBrush(kLayerNone, false).style(), Qt::NoBrush);
}

void SendMouse(QWidget& w, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons) {
  QMouseEvent event(type, QPointF(pos), w.mapToGlobal(QPointF(pos)), button, buttons, Qt::NoModifier);
  QApplication::sendEvent(&w, &event);
}

TEST(PlotForm, AtMostTwentyCurvesInTheLegend) {
  TGraphPlot g;
  SetLineCount(g.Lines, 25);
  for (TLine& line : g.Lines) line.Points = {{0, 0}, {line.Value, 1}};
  g.onGetCaption = [](int index, std::string& label) {
    if (index == 2) label = "Third";
  };
  TPlotForm form(g);
  const auto& entries = form.Legend()->Entries();
  ASSERT_EQ(entries.size(), 20u);
  EXPECT_EQ(entries[0].Label, "Curve #1");
  EXPECT_EQ(entries[2].Label, "Third");
  EXPECT_TRUE(g.Lines[19].Active);
  EXPECT_FALSE(g.Lines[20].Active);
  // The legend sits in the window, its corner at the plot's.
  EXPECT_EQ(form.Legend()->geometry().bottomRight() + QPoint(1, 1),
            QPoint(form.Layout().Plot.Right, form.Layout().Plot.Bottom));
}

TEST(PlotForm, DoubleClickOnTheLegendHidesAndShowsACurve) {
  TGraphPlot g;
  DepthGraph(g);
  TPlotForm form(g);
  TPlotLegend& legend = *form.Legend();
  EXPECT_EQ(TPlotLegend::ShownText(legend.Entries()[1]), "Stage: 2 *");
  const QPoint second(5, 1 + legend.ItemHeight() + legend.ItemHeight() / 2);
  SendMouse(legend, QEvent::MouseButtonDblClick, second, Qt::LeftButton, Qt::LeftButton);
  EXPECT_FALSE(g.Lines[1].Visible);
  EXPECT_EQ(TPlotLegend::ShownText(legend.Entries()[1]), "Stage: 2");
  SendMouse(legend, QEvent::MouseButtonDblClick, second, Qt::LeftButton, Qt::LeftButton);
  EXPECT_TRUE(g.Lines[1].Visible);
}

TEST(PlotForm, ReadOutAndZoomByMouse) {
  TGraphPlot g;
  DepthGraph(g);
  TPlotForm form(g);
  form.resize(800, 600);
  form.show();
  EXPECT_EQ(form.windowTitle(), QString::fromStdString(g.Caption));
  const TPixelRect plot = form.Layout().Plot;
  const QPoint probe(plot.Left + plot.Width() / 4, plot.Top + plot.Height() / 4);
  SendMouse(form, QEvent::MouseMove, probe, Qt::NoButton, Qt::NoButton);
  const QString before = form.windowTitle();
  EXPECT_TRUE(before.startsWith("Deflection vs Depth X: ")) << before.toStdString();
  EXPECT_EQ(before, form.PointerReadout(probe));

  // A band over the upper left quarter.
  const QPoint start(plot.Left + 10, plot.Top + 10);
  const QPoint end(plot.Left + plot.Width() / 2, plot.Top + plot.Height() / 2);
  SendMouse(form, QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
  SendMouse(form, QEvent::MouseMove, end, Qt::NoButton, Qt::LeftButton);
  SendMouse(form, QEvent::MouseButtonRelease, end, Qt::LeftButton, Qt::NoButton);
  EXPECT_LT(form.World()[0].Width(), form.FullWorld()[0].Width() / 2);
  SendMouse(form, QEvent::MouseMove, probe, Qt::NoButton, Qt::NoButton);
  EXPECT_NE(form.windowTitle(), before);

  // Zooming out enough times brings back the full window.
  for (int k = 0; k < 4; ++k) SendMouse(form, QEvent::MouseButtonPress, probe, Qt::RightButton, Qt::RightButton);
  EXPECT_EQ(form.World()[0], form.FullWorld()[0]);
}

TEST(PlotWindows, OneWindowPerGraphBuiltAnewAfterClose) {
  QMdiArea area;
  area.resize(1000, 800);
  area.show();
  TPlotWindows windows(area);
  TGraphPlot g;
  DepthGraph(g);
  TPlotForm* form = windows.Show(g);
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(windows.Show(g), form);
  EXPECT_EQ(windows.FormFor(g), form);
  // The read-out shows in the sub-window's caption.
  const TPixelRect plot = form->Layout().Plot;
  SendMouse(*form, QEvent::MouseMove, QPoint(plot.Left + 5, plot.Top + 5), Qt::NoButton, Qt::NoButton);
  ASSERT_NE(form->parentWidget(), nullptr);
  EXPECT_EQ(form->parentWidget()->windowTitle(), form->windowTitle());
  EXPECT_GE(form->width(), 400);
  windows.CloseAll();
  ProcessEvents();
  EXPECT_EQ(windows.FormFor(g), nullptr);
  EXPECT_NE(windows.Show(g), nullptr);
}

TEST(PlotWindows, Screenshots) {
  const QString folder = qEnvironmentVariable("TERRAQ_PLOT_SHOTS");
  if (folder.isEmpty()) GTEST_SKIP() << "set TERRAQ_PLOT_SHOTS to a folder to save pictures of the plot windows";
  QDir().mkpath(folder);
  const struct {
    const char* name;
    void (*fill)(TGraphPlot&);
  } graphs[] = {{"depth", DepthGraph}, {"combined", CombinedGraph}, {"py", PyGraph}};
  // The same kinds of graph from a plot file the engine wrote.
  TGraphPlot realPy, realCombined;
  ASSERT_TRUE(ReadLayeredClayGraphs(SourcePath("tests/data/plot-layered-clay.tq4p").string(), realPy, realCombined));
  for (TGraphPlot* g : {&realPy, &realCombined}) {
    TPlotForm form(*g);
    form.resize(1600, 1000);
    form.show();
    form.Relayout(true);
    const QString file = QStringLiteral("%1/plot-layered-clay-%2.png").arg(folder, g == &realPy ? "py" : "combined");
    EXPECT_TRUE(form.grab().save(file)) << file.toStdString();
  }
  // A title above and text twice the default size.
  {
    TGraphPlot g;
    CombinedGraph(g);
    g.Title = "Section A-A, final excavation";
    g.SizeFont = 20;
    TPlotForm form(g);
    form.resize(1600, 1000);
    form.show();
    form.Relayout(true);
    EXPECT_TRUE(form.grab().save(folder + "/plot-combined-title-large-text.png"));
  }
  // As a printer would get it: 300 dpi, print tiles, a page 10 x 6.5 in.
  {
    TGraphPlot g;
    CombinedGraph(g);
    QImage page(3000, 1950, QImage::Format_RGB32);
    const std::array<TWorldRect, 3> world{PanelWorldRect(g.Lines), PanelWorldRect(g.Lines2), PanelWorldRect(g.Lines3)};
    TPaintOutput out;
    out.DpiX = out.DpiY = 300;
    out.Printing = true;
    QPainter p(&page);
    PaintGraph(p, g, world, LayoutGraph(GraphLayoutInput(g, page.width(), page.height(), 300, 300)), out);
    p.end();
    EXPECT_TRUE(page.save(folder + "/plot-combined-300dpi.png"));
  }
  for (const auto& shot : graphs) {
    for (const QSize size : {QSize(1600, 1000), QSize(480, 340)}) {
      TGraphPlot g;
      shot.fill(g);
      TPlotForm form(g);
      form.resize(size);
      form.show();
      form.Relayout(true);
      const QString file = QStringLiteral("%1/plot-%2-%3x%4.png").arg(folder, shot.name).arg(size.width()).arg(size.height());
      EXPECT_TRUE(form.grab().save(file)) << file.toStdString();
    }
  }
}

}  // namespace
