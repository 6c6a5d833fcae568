// The Plot menu of a plot window, used as a person would: items triggered,
// dialogs answered (through TUserPrompts::runDialog, which hands the test
// the dialog to fill in and close), files written and read back.
//
// Setting TERRAQ_DIALOG_SHOTS to a folder makes the Screenshots test save
// pictures of the menu and of its dialogs there.

#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QGroupBox>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "GuiTestSupport.h"
#include "PlotFixtures.h"
#include "dialogs/TDataEdit.h"
#include "plotwindow/TPlotForm.h"
#include "plotwindow/TPlotLegend.h"
#include "plotwindow/TPlotWindows.h"
#include "plotwindow/TdlgFormat.h"

using namespace terraq::ui;

namespace terraq::test {
namespace {

QColor Colour(int k) {
  const TRgb c = LineColour(k);
  return QColor(c.r, c.g, c.b);
}

// Answers for the plot window's dialogs: `dialog` fills in and closes each
// modal dialog in turn.
class PlotMenuTest : public ::testing::Test {
 protected:
  PlotMenuTest() {
    TUserPrompts p = answers.Make();
    p.runDialog = [this](QDialog& d) {
      d.show();
      ProcessEvents();
      if (dialog) dialog(d);
      if (d.isVisible()) d.reject();  // left open: closed as with Cancel
      return d.result();
    };
    p.saveFileNameOfType = [this](QWidget*, const QString&, const QString& suggested,
                                  const QString&, int& filterIndex) {
      offered = suggested;
      offeredFilter = filterIndex;
      filterIndex = saveFilter;
      return saveAs;
    };
    p.printDialog = [this](QWidget*, QPrinter& printer) {
      printer.setOutputFileName(printTo);
      return !printTo.isEmpty();
    };
    p.pageSetupDialog = [this](QWidget*, QPrinter& printer) {
      return printer.setPageMargins(QMarginsF(0.5, 0.75, 0.5, 0.75), QPageLayout::Inch);
    };
    prompts = std::make_unique<TPromptsOverride>(std::move(p));
  }

  static QAction* Item(TPlotForm& form, const char* name) {
    return form.PlotMenu()->findChild<QAction*>(QLatin1String(name));
  }
  // Opens and closes the menu, as a look at it does.
  static void OpenMenu(TPlotForm& form) {
    form.PlotMenu()->popup(QPoint(0, 0));
    ProcessEvents();
    form.PlotMenu()->hide();
  }
  template <typename T>
  static T* Child(QDialog& d, const char* name) {
    T* child = d.findChild<T*>(QLatin1String(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
  }
  static void Type(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    if (text.isEmpty()) QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
  }

  TestPrompts answers;
  std::unique_ptr<TPromptsOverride> prompts;
  std::function<void(QDialog&)> dialog;
  QString saveAs;
  int saveFilter = 0;
  QString offered;         // the name the save dialog was offered
  int offeredFilter = -1;  // and the type it was offered first
  QString printTo;
  ScratchFolder scratch;
};

// Four horizontal curves at depths 1 to 4 over x 0..10.
void FourCurves(TGraphPlot& g) {
  g.Markers = 0;
  SetLineCount(g.Lines, 4);
  for (int i = 0; i < 4; ++i) g.Lines[i].Points = {{0, i + 1.0L}, {10, i + 1.0L}};
}

TEST_F(PlotMenuTest, FixedItemsAndTheWallItemDisabledWithoutTheStrip) {
  TGraphPlot g;
  CombinedGraph(g);
  g.ShowLayers = false;
  TPlotForm form(g);
  OpenMenu(form);
  QStringList names;
  for (QAction* a : form.PlotMenu()->actions()) names << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
  EXPECT_EQ(names.join(' '),
            "PlotLegend PlotSoilLayer ShowWallGeometry PlotMarkers FontSize LineWidth PlotCaption mLineName "
            "ActiveGraphs - PlotPrint PlotPage PlotSave PlotCopy -  ");
  QAction* wall = Item(form, "ShowWallGeometry");
  EXPECT_TRUE(wall->isVisible());
  EXPECT_FALSE(wall->isEnabled());
  EXPECT_TRUE(Item(form, "PlotSoilLayer")->isVisible());
  EXPECT_FALSE(Item(form, "PlotSoilLayer")->isChecked());

  Item(form, "PlotSoilLayer")->trigger();
  EXPECT_TRUE(g.ShowLayers);
  EXPECT_TRUE(form.Layout().HasStrip);
  OpenMenu(form);
  EXPECT_TRUE(wall->isEnabled());
  // A graph without layers offers neither item.
  TGraphPlot plain;
  FourCurves(plain);
  TPlotForm other(plain);
  OpenMenu(other);
  EXPECT_FALSE(Item(other, "PlotSoilLayer")->isVisible());
  EXPECT_FALSE(Item(other, "ShowWallGeometry")->isVisible());
  EXPECT_TRUE(Item(other, "PlotPrint")->isEnabled());
}

TEST_F(PlotMenuTest, DeactivatingACurveRebuildsLegendAndItemsInCurveOrder) {
  TGraphPlot g;
  FourCurves(g);
  TPlotForm form(g);
  form.resize(800, 600);
  form.show();
  dialog = [](QDialog& d) {
    auto* list = Child<QListWidget>(d, "lbLines");
    list->setCurrentRow(1);
    Child<QPushButton>(d, "ActivateDesactivateButton")->click();
    EXPECT_TRUE(list->item(1)->text().startsWith(" no  :    Curve #2")) << list->item(1)->text().toStdString();
    EXPECT_TRUE(list->item(2)->text().startsWith(" yes :    Curve #3"));
    Child<QPushButton>(d, "btnOK")->click();
  };
  Item(form, "ActiveGraphs")->trigger();
  EXPECT_FALSE(g.Lines[1].Active);

  const auto& entries = form.Legend()->Entries();
  ASSERT_EQ(entries.size(), 3u);
  ASSERT_EQ(form.CurveItems().size(), 3u);
  const char* labels[] = {"Curve #1", "Curve #3", "Curve #4"};
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(entries[k].Label, labels[k]);
    EXPECT_EQ(form.CurveItems()[k]->text(), labels[k]);
    EXPECT_EQ(form.CurveItems()[k]->data().toInt(), entries[k].Curve);
  }
  // Curve 3 now takes the second colour in the window, as in the legend.
  const QImage shot = form.grab().toImage();
  const TPanelMap map(form.World()[0], form.Layout().Panels[0], g.XOnTop);
  EXPECT_EQ(shot.pixelColor(map.ToPixelX(3.3L), map.ToPixelY(3)), Colour(1));
  EXPECT_EQ(shot.pixelColor(map.ToPixelX(3.3L), map.ToPixelY(2)), QColor(Qt::white));
  // Its item hides the curve, and the legend says so.
  form.CurveItems()[1]->trigger();
  EXPECT_FALSE(g.Lines[2].Visible);
  EXPECT_FALSE(entries[1].Visible);
}

TEST_F(PlotMenuTest, DoubleTextSizeDoublesTheLegendFontAndRelaysOut) {
  TGraphPlot g;
  DepthGraph(g);
  TPlotForm form(g);
  form.resize(900, 700);
  form.show();
  const int fontBefore = form.Legend()->font().pointSize();
  const TPixelRect plotBefore = form.Layout().Plot;
  Item(form, "Size2")->trigger();
  EXPECT_EQ(g.SizeFont, 20);
  EXPECT_EQ(form.Legend()->font().pointSize(), 2 * fontBefore);
  EXPECT_GT(form.Layout().Plot.Left, plotBefore.Left);
  // The legend is placed anew at the plot's corner.
  EXPECT_EQ(form.Legend()->geometry().bottomRight() + QPoint(1, 1),
            QPoint(form.Layout().Plot.Right, form.Layout().Plot.Bottom));
}

TEST_F(PlotMenuTest, LegendDialogRefusesAnEmptyNameAndRenamesOnOk) {
  TGraphPlot g;
  DepthGraph(g);
  TPlotForm form(g);
  dialog = [this](QDialog& d) {
    auto* list = Child<QListWidget>(d, "lbLines");
    auto* edit = Child<QLineEdit>(d, "edLine");
    list->setCurrentRow(1);
    EXPECT_EQ(edit->text(), "Stage: 2");
    EXPECT_EQ(edit->palette().color(QPalette::Text), Colour(1));
    Type(edit, "");
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(answers.errors, QStringList{"The line must have a name!"});
    EXPECT_EQ(edit->text(), "Stage: 2");
    Type(edit, "Final excavation");
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_TRUE(d.isVisible());  // Enter writes, it does not close
    EXPECT_EQ(list->item(1)->text(), "Final excavation");
    Child<QPushButton>(d, "btnOK")->click();
  };
  Item(form, "mLineName")->trigger();
  EXPECT_EQ(g.Lines[1].Name, "Final excavation");
  EXPECT_EQ(form.Legend()->Entries()[1].Label, "Final excavation");
  EXPECT_EQ(form.CurveItems()[1]->text(), "Final excavation");
  EXPECT_EQ(answers.errors.size(), 1);
}

TEST_F(PlotMenuTest, GraphTitleAboveOrBelowChangesTheLayout) {
  TGraphPlot g;
  DepthGraph(g);
  TPlotForm form(g);
  form.resize(900, 700);
  form.show();
  const TPixelRect none = form.Layout().Plot;
  bool top = true;
  dialog = [&top](QDialog& d) {
    Type(Child<QLineEdit>(d, "edtCaption"), "Section A-A");
    Child<QRadioButton>(d, top ? "rbTop" : "rbBottom")->setChecked(true);
    Child<QPushButton>(d, "btnOK")->click();
  };
  Item(form, "PlotCaption")->trigger();
  EXPECT_EQ(g.Title, "Section A-A");
  EXPECT_TRUE(g.TitleOnTop);
  EXPECT_GT(form.Layout().Plot.Top, none.Top);
  EXPECT_EQ(form.Layout().Plot.Bottom, none.Bottom);
  top = false;
  Item(form, "PlotCaption")->trigger();
  EXPECT_FALSE(g.TitleOnTop);
  EXPECT_EQ(form.Layout().Plot.Top, none.Top);
  EXPECT_LT(form.Layout().Plot.Bottom, none.Bottom);
}

TEST_F(PlotMenuTest, SaveToDiskAsksTheSizeAndWritesTheFile) {
  TGraphPlot g;
  DepthGraph(g);
  TPlotForm form(g);

  // The dialog offers a PNG picture first, of 6 x 4 inches at 150 pixels
  // per inch in true colour; the extension of the type chosen is added to
  // the name typed.
  saveAs = scratch.File("plot");
  dialog = [](QDialog& d) {
    EXPECT_TRUE(Child<QRadioButton>(d, "rbTrueColor")->isChecked());
    EXPECT_EQ(Child<TDataEdit>(d, "edPixels")->text(), "150");
    Child<QPushButton>(d, "btnOK")->click();
  };
  Item(form, "PlotSave")->trigger();
  EXPECT_EQ(offeredFilter, 1);
  EXPECT_TRUE(offered.endsWith(".png"));
  const QImage first(scratch.File("plot.bmp"));
  EXPECT_EQ(first.size(), QSize(900, 600));
  EXPECT_GE(first.depth(), 24);

  // A typed extension wins over the type selected; the size and colours
  // chosen reach the file.
  saveAs = scratch.File("graph.png");
  dialog = [](QDialog& d) {
    Type(Child<TDataEdit>(d, "edWidth"), "5");
    Type(Child<TDataEdit>(d, "edHeight"), "3");
    Type(Child<TDataEdit>(d, "edPixels"), "100");
    Child<QRadioButton>(d, "rbBlackWhite")->setChecked(true);
    Child<QPushButton>(d, "btnOK")->click();
  };
  Item(form, "PlotSave")->trigger();
  const QImage png(scratch.File("graph.png"), "PNG");
  EXPECT_EQ(png.size(), QSize(500, 300));
  EXPECT_EQ(png.depth(), 1);

  // Replacing needs a yes; a vector picture has no colour depth; a size no
  // bitmap can hold is refused with the message.
  saveAs = scratch.File("graph.png");
  answers.yesNo = false;
  int dialogs = 0;
  dialog = [&dialogs](QDialog&) { ++dialogs; };
  Item(form, "PlotSave")->trigger();
  EXPECT_EQ(answers.questions.size(), 1);
  EXPECT_EQ(dialogs, 0);

  saveAs = scratch.File("vector");
  saveFilter = 2;
  dialog = [](QDialog& d) {
    EXPECT_FALSE(Child<QGroupBox>(d, "gbColors")->isEnabled());
    Type(Child<TDataEdit>(d, "edWidth"), "10000");
    Child<QPushButton>(d, "btnOK")->click();
  };
  Item(form, "PlotSave")->trigger();
  EXPECT_EQ(answers.errors, QStringList{"There is not enough memory to complete this task."});
  EXPECT_FALSE(QFileInfo::exists(scratch.File("vector.svg")));
}

TEST_F(PlotMenuTest, PageSetupKeepsTheMarginsAndPrintWritesThePage) {
  TGraphPlot g;
  DepthGraph(g);
  TPlotForm form(g);
  EXPECT_EQ(form.PageMargins().Left, 1000);
  Item(form, "PlotPage")->trigger();
  EXPECT_EQ(form.PageMargins().Left, 500);
  EXPECT_EQ(form.PageMargins().Top, 750);
  printTo = scratch.File("page.pdf");
  Item(form, "PlotPrint")->trigger();
  EXPECT_GT(QFileInfo(printTo).size(), 0);
  EXPECT_TRUE(answers.errors.isEmpty());
}

TEST_F(PlotMenuTest, SettingsOutliveTheWindow) {
  QMdiArea area;
  area.resize(1000, 800);
  area.show();
  TPlotWindows windows(area);
  TGraphPlot g;
  DepthGraph(g);
  TPlotForm* form = windows.Show(g);
  // The menu bar stands in the sub-window, above the drawing.
  auto* window = qobject_cast<QMdiSubWindow*>(form->parentWidget());
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(form->MenuBar()->parentWidget(), window);
  EXPECT_TRUE(form->MenuBar()->isVisible());
  EXPECT_GE(form->y(), form->MenuBar()->geometry().bottom());

  Item(*form, "PlotLegend")->trigger();
  Item(*form, "Mark5")->trigger();
  Item(*form, "Size15")->trigger();
  Item(*form, "Width4")->trigger();
  windows.CloseAll();
  ProcessEvents();

  form = windows.Show(g);
  EXPECT_FALSE(form->Legend()->isVisible());
  EXPECT_EQ(g.SizeFont, 15);
  EXPECT_EQ(g.WidthLine, 4);
  QMenu* markers = form->PlotMenu()->findChild<QMenu*>("PlotMarkers");
  markers->popup(QPoint(0, 0));
  ProcessEvents();
  markers->hide();
  EXPECT_TRUE(Item(*form, "Mark5")->isChecked());
  EXPECT_FALSE(Item(*form, "Mark1")->isChecked());
  OpenMenu(*form);
  EXPECT_FALSE(Item(*form, "PlotLegend")->isChecked());
}

TEST_F(PlotMenuTest, Screenshots) {
  const QString folder = qEnvironmentVariable("TERRAQ_DIALOG_SHOTS");
  if (folder.isEmpty()) GTEST_SKIP() << "set TERRAQ_DIALOG_SHOTS to a folder to save pictures of the plot menu";
  QDir().mkpath(folder);
  TGraphPlot g;
  CombinedGraph(g);
  QMdiArea area;
  area.resize(1200, 900);
  area.show();
  TPlotWindows windows(area);
  TPlotForm* form = windows.Show(g);
  form->parentWidget()->resize(1000, 700);
  ProcessEvents();
  EXPECT_TRUE(form->parentWidget()->grab().save(folder + "/plot-window.png"));
  form->PlotMenu()->popup(QPoint(0, 0));
  ProcessEvents();
  EXPECT_TRUE(form->PlotMenu()->grab().save(folder + "/plot-menu.png"));
  form->PlotMenu()->hide();

  const auto shoot = [&folder](const char* name) {
    return [&folder, name](QDialog& d) {
      ProcessEvents();
      EXPECT_TRUE(d.grab().save(folder + QStringLiteral("/%1.png").arg(QLatin1String(name))));
    };
  };
  dialog = shoot("graph-caption");
  Item(*form, "PlotCaption")->trigger();
  dialog = shoot("legend");
  Item(*form, "mLineName")->trigger();
  dialog = shoot("active-curves");
  Item(*form, "ActiveGraphs")->trigger();
  dialog = shoot("save-attributes");
  saveAs = scratch.File("shot");
  Item(*form, "PlotSave")->trigger();
}

}  // namespace
}  // namespace terraq::test
