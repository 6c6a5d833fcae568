// The Side View as a user sees it: the wall bar, the ground and the layer
// lines where the project puts them, the window following the project, the
// depth under the pointer, and the printout.

#include <gtest/gtest.h>

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPrinter>
#include <QTest>

#include "GuiTestSupport.h"
#include "mainwindow/TMainForm.h"
#include "sideview/TDlgSideView.h"

namespace terraq::test {
namespace {

using ui::TDlgSideView;
using ui::TProgramData;

class SideViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // 40 increments of 6 in, excavated 120 in: the wall from 24 to 264 in.
    data.IncrementCount = 40;
    data.IncrementLength = 6;
    data.FreeHeight = 120;
    data.GeneratePY = false;
    data.EarthPressureOption = 0;
  }

  // The sketch as the window paints it, and a pixel's darkness.
  QImage Rendered(TDlgSideView& view) {
    view.resize(400, 700);
    view.show();
    QCoreApplication::processEvents();
    image = view.PaintBox()->grab().toImage();
    canvas = view.Canvas();
    return image;
  }
  bool Ink(double fx, long double depth) const {
    const QPoint at(static_cast<int>(fx * image.width()), ui::ProfileY(canvas, depth));
    EXPECT_TRUE(image.rect().contains(at)) << "depth " << double(depth) << " lies outside the sketch";
    return image.rect().contains(at) && qGray(image.pixel(at)) < 100;
  }

  ui::TProjectTables tables;
  TProgramData data{tables};
  QImage image;
  ui::TProfileCanvas canvas;
};

TEST_F(SideViewTest, DrawsWallGroundAndLayersWhereTheProjectPutsThem) {
  data.GeneratePY = true;
  tables.SoilLayers.SetRowCount(2);
  tables.SoilLayers.Cell(0, 0).SetInteger(4);
  tables.SoilLayers.Cell(1, 0).SetFloat(
      5);  // sand to 5 ft (84 in in the sketch): above the excavation
  tables.SoilLayers.Cell(0, 1).SetInteger(1);
  tables.SoilLayers.Cell(1, 1).SetFloat(15);  // clay to 15 ft (204 in): below it
  TDlgSideView view([this]() -> const TProgramData& { return data; }, [] { return false; });
  Rendered(view);

  EXPECT_TRUE(Ink(0.5, 100)) << "the wall bar";
  EXPECT_TRUE(Ink(0.5, 260));
  EXPECT_FALSE(Ink(0.5, 10)) << "nothing above the wall top";
  EXPECT_TRUE(Ink(0.25, 24)) << "retained ground at the wall top";
  EXPECT_FALSE(Ink(0.75, 24));
  EXPECT_TRUE(Ink(0.75, 144)) << "excavation ground";
  EXPECT_FALSE(Ink(0.25, 144));
  EXPECT_TRUE(Ink(0.45, 84)) << "a layer above the excavation: retained side only";
  EXPECT_FALSE(Ink(0.8, 84));
  EXPECT_TRUE(Ink(0.45, 204) && Ink(0.8, 204)) << "a layer below the excavation: across";
  if (const QString shot = qEnvironmentVariable("TERRAQ_SIDEVIEW_SHOT"); !shot.isEmpty()) image.save(shot);

  // Without anything generated from the layers, only the wall and the ground.
  data.GeneratePY = false;
  view.FormActivate();
  Rendered(view);
  EXPECT_FALSE(Ink(0.45, 84));
  EXPECT_TRUE(Ink(0.75, 144));
}

TEST_F(SideViewTest, TieBackWaterSurchargeAndDepthScaleWithNoTextAcrossTheWall) {
  data.GeneratePY = true;
  data.WaterDepthBackfill = 60;          // 5 ft below the wall top: world 84
  data.SurchargePressure = 250.0 / 144;  // 250 lb/ft^2
  tables.SoilLayers.SetRowCount(1);
  tables.SoilLayers.Cell(0, 0).SetInteger(3);
  tables.SoilLayers.Cell(1, 0).SetFloat(20);
  data.UseSprings = true;
  tables.Springs.SetRowCount(1);
  tables.Springs.Cell(1, 0).SetInteger(4);  // node 4: 24 in down, world 48
  TDlgSideView view([this]() -> const TProgramData& { return data; }, [] { return false; });
  EXPECT_EQ(view.Profile().surcharge, "q = 250 lbs/ft^2");
  Rendered(view);
  const int spring = ui::ProfileY(canvas, 48), width = image.width();
  const auto inkIn = [&](int x0, int x1, int y0, int y1, auto test) {
    for (int y = std::max(0, y0); y <= std::min(image.height() - 1, y1); ++y)
      for (int x = std::max(0, x0); x <= std::min(width - 1, x1); ++x)
        if (test(image.pixelColor(x, y))) return true;
    return false;
  };
  const auto dark = [](QColor c) { return qGray(c.rgb()) < 100; };
  // The tie-back leaves the wall into the retained soil, sloping down.
  EXPECT_TRUE(inkIn(width * 35 / 100, width * 40 / 100, spring + 4, spring + 40, dark))
      << "tie-back on the retained side";
  EXPECT_FALSE(inkIn(width * 55 / 100, width * 70 / 100, spring - 3, spring + 3, dark))
      << "nothing on the excavated side";
  // The water table on the retained side, in blue.
  const int water = ui::ProfileY(canvas, 84);
  EXPECT_TRUE(inkIn(width / 10, width * 45 / 100, water - 1, water + 1,
                    [](QColor c) { return c == QColor(30, 110, 230); }));
  // Surcharge arrows above the retained surface; the depth scale at the edge
  // ("0 ft" at the wall top).
  const int top = ui::ProfileY(canvas, 24);
  EXPECT_TRUE(inkIn(width / 10, width * 45 / 100, top - 12, top - 4, dark)) << "surcharge";
  EXPECT_TRUE(inkIn(width * 85 / 100, width - 1, top - 6, top + 6, dark)) << "depth scale";

  // A window too narrow for the layer's texts shortens them before the wall.
  view.resize(240, 700);
  QCoreApplication::processEvents();
  image = view.PaintBox()->grab().toImage();
  canvas = view.Canvas();
  const int layerTop = ui::ProfileY(canvas, 24);
  const ui::TProfileRect& v = canvas.view;
  const int face =
      static_cast<int>(image.width() * (view.Profile().wall[1].X - v.XMin) / (v.XMax - v.XMin));
  EXPECT_FALSE(inkIn(face + 2, image.width() * 80 / 100, layerTop + 2, layerTop + 28, dark))
      << "text across the wall";
  if (const QString shot = qEnvironmentVariable("TERRAQ_SIDEVIEW_SHOT"); !shot.isEmpty())
    image.save(shot);
}

TEST_F(SideViewTest, PrintsALandscapePdfAndSaysWhenItCannot) {
  ScratchFolder folder;
  TDlgSideView view([this]() -> const TProgramData& { return data; }, [] { return false; });
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  const std::filesystem::path pdf = folder / "profile.pdf";
  printer.setOutputFileName(QString::fromStdString(pdf.string()));
  ASSERT_TRUE(view.PrintTo(printer));
  EXPECT_EQ(printer.docName(), "Soil-Pile Profile");
  EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);
  EXPECT_EQ(ReadText(pdf).substr(0, 5), "%PDF-");

  printer.setOutputFileName(QString::fromStdString((folder / "missing" / "profile.pdf").string()));
  EXPECT_FALSE(view.PrintTo(printer));
}

TEST_F(SideViewTest, OpensFromTheMainWindowFollowsTheProjectAndReadsOutDepth) {
  TestPrompts answers;
  ui::TPromptsOverride prompts{answers.Make()};
  ui::TMainForm form;
  form.Data().IncrementCount = 40;
  form.Data().IncrementLength = 6;
  form.Data().FreeHeight = 120;
  form.Action("CompLayers")->trigger();
  form.Action("ToolSoilProfile")->trigger();  // raises the same window
  ASSERT_EQ(form.MdiArea().subWindowList().size(), 1);
  QMdiSubWindow* window = form.MdiArea().subWindowList().front();
  auto* view = qobject_cast<TDlgSideView*>(window->widget());
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(window->windowTitle(), "Side View");
  EXPECT_GE(window->width(), 600) << "opens wide enough for the texts beside the wall";
  EXPECT_DOUBLE_EQ(double(view->Profile().excavation), 144);

  form.Data().FreeHeight = 180;  // as a dialog would store it
  QTRY_COMPARE_WITH_TIMEOUT(double(view->Profile().excavation), 204.0, 2000);

  window->resize(400, 700);
  QCoreApplication::processEvents();
  const ui::TProfileCanvas c = view->Canvas();
  const int top = ui::ProfileY(c, view->Profile().top);
  QMouseEvent move(QEvent::MouseMove, QPointF(50, top), view->PaintBox()->mapToGlobal(QPointF(50, top)),
                   Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(view->PaintBox(), &move);
  ASSERT_TRUE(window->windowTitle().startsWith("  Depth: ")) << window->windowTitle().toStdString();
  // Within half a pixel of the wall top.
  const double pixel = double(c.view.YMax - c.view.YMin) / c.area.height();
  EXPECT_LE(std::abs(window->windowTitle().mid(9).toDouble()), pixel / 2 + 0.05);
}

// Pictures and printouts of every sample's side view, to be looked at:
// TERRAQ_SIDEVIEW_SHOTS=folder test_gui --gtest_filter='*SampleShots*'.
TEST(SideViewSampleShots, Screenshots) {
  const QString folder = qEnvironmentVariable("TERRAQ_SIDEVIEW_SHOTS");
  if (folder.isEmpty()) GTEST_SKIP() << "no folder for the pictures";
  TestPrompts answers;
  ui::TPromptsOverride prompts{answers.Make()};
  for (const auto& sample : std::filesystem::directory_iterator(SourcePath("examples"))) {
    if (sample.path().extension() != ".tq4d") continue;
    ui::TMainForm form;
    form.resize(900, 800);
    form.show();
    ASSERT_TRUE(form.OpenFile(QString::fromStdString(sample.path().string()), ui::kLayoutCurrent));
    form.ShowSideView();
    QMdiSubWindow* window = form.MdiArea().subWindowList().front();
    window->resize(520, 700);
    ProcessEvents();
    const QString stem = folder + "/" + QString::fromStdString(sample.path().stem().string());
    window->grab().save(stem + ".png");
    window->resize(260, 320);  // and as a small window
    ProcessEvents();
    window->grab().save(stem + "-small.png");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(stem + ".pdf");
    EXPECT_TRUE(qobject_cast<TDlgSideView*>(window->widget())->PrintTo(printer));
  }
}

}  // namespace
}  // namespace terraq::test
