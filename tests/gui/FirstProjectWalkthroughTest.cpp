// The user's manual walks a new user through a first project: a cantilevered
// sheet pile holding a 12 ft cut in sand, with generated earth pressure and
// generated p-y curves. This test takes the same steps in the main window
// with the same values (menu items, dialog fields typed into, table cells,
// Run Analysis, the graphs, the side view, Save) and checks the numbers that
// the page tells the user to look for in the report, so that the page stays
// true when the program changes.
//
// TERRAQ_WALKTHROUGH_SHOTS=folder also saves a picture of every window at
// the step the page shows (run under a real display server for the
// program's fonts; scripts/make-doc-screenshots.sh does).

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <optional>
#include <sstream>
#include <vector>

#include "GuiTestSupport.h"
#include "dialogs/TDataEdit.h"
#include "dialogs/TDialogWindows.h"
#include "dialogs/TDlgProp.h"
#include "dialogs/TDlgWallConfig.h"
#include "dialogs/TdlgTitle.h"
#include "mainwindow/CommandRules.h"
#include "mainwindow/TMainForm.h"
#include "mainwindow/TTableWindows.h"
#include "plotwindow/TPlotForm.h"
#include "widgets/TGridView.h"
#include "widgets/TTableForm.h"

namespace terraq::test {
namespace {

namespace fs = std::filesystem;
using ui::TDataEdit;
using ui::TTableForm;

// One line of the report's results table.
struct ResultLine {
  int station = 0;
  double x = 0, deflection = 0, moment = 0;
};

// The results table of the last iteration in the report: the lines under
// the "STA I      X" heading, up to the first line that is not a station.
std::vector<ResultLine> LastResultsTable(const std::string& report) {
  std::vector<ResultLine> rows;
  std::istringstream lines(report);
  std::string line;
  bool inTable = false;
  while (std::getline(lines, line)) {
    if (line.find("STA I      X") != std::string::npos) {
      rows.clear();
      inTable = true;
      continue;
    }
    if (!inTable) continue;
    std::istringstream fields(line);
    ResultLine row;
    double slope = 0;
    if (fields >> row.station >> row.x >> row.deflection >> slope >> row.moment) rows.push_back(row);
    else if (!rows.empty()) inTable = false;
  }
  return rows;
}

class FirstProjectWalkthrough : public ::testing::Test {
 protected:
  void SetUp() override {
    QSettings("Orvane", "TERRAQ").clear();
    // Message boxes as the program shows them, pictured when asked for.
    TUserPrompts prompts = answers.Make();
    prompts.showInformation = [this](QWidget* parent, const QString& text) {
      answers.informations << text;
      QMessageBox box(QMessageBox::Information, QLatin1String(ui::kApplicationTitle), text, QMessageBox::Ok, parent);
      box.show();
      ProcessEvents();
      Shot(box.grab(), "run-outcome");
    };
    override_.emplace(prompts);
    form.resize(1024, 720);
    form.show();
    QApplication::setActiveWindow(&form);
    form.StartUp({});
    QDir::setCurrent(folder.File(""));
  }

  void Shot(const QPixmap& picture, const char* name) {
    if (shots.isEmpty()) return;
    EXPECT_TRUE(picture.save(shots + "/" + QLatin1String(name) + ".png")) << name;
  }
  // A child window with its title bar, as it sits in the main window.
  void ShotOf(QWidget* child, const char* name) {
    ProcessEvents();
    for (QWidget* w = child; w; w = w->parentWidget())
      if (auto* sub = qobject_cast<QMdiSubWindow*>(w)) return Shot(sub->grab(), name);
    Shot(child->grab(), name);
  }
  // A window's top left with a menu dropped down from its menu bar, and one
  // of the menu's submenus opened beside it when given.
  void ShotOfMenu(QWidget& window, QMenuBar& bar, QMenu& menu, QMenu* submenu, const char* name) {
    menu.popup(bar.mapToGlobal(bar.actionGeometry(menu.menuAction()).bottomLeft()));
    ProcessEvents();
    std::vector<QMenu*> shown{&menu};
    if (submenu) {
      submenu->popup(menu.mapToGlobal(menu.actionGeometry(submenu->menuAction()).topRight()));
      ProcessEvents();
      shown.push_back(submenu);
    }
    if (!shots.isEmpty()) {
      QPixmap picture = window.grab();
      QRect covered;
      {
        QPainter painter(&picture);
        for (QMenu* m : shown) {
          const QRect at(window.mapFromGlobal(m->pos()), m->size());
          painter.drawPixmap(at.topLeft(), m->grab());
          covered |= at;
        }
      }
      Shot(picture.copy(0, 0, std::min(picture.width(), std::max(covered.right() + 60, 520)),
                        std::min(picture.height(), covered.bottom() + 30)),
           name);
    }
    for (auto m = shown.rbegin(); m != shown.rend(); ++m) (*m)->hide();
    ProcessEvents();
  }
  void ShotOfMenu(const char* menuName, const char* name, const char* submenuName = nullptr) {
    ShotOfMenu(form, *form.menuBar(), *form.Menu(QLatin1String(menuName)),
               submenuName ? form.Menu(QLatin1String(submenuName)) : nullptr, name);
  }

  void OpenMenu(const char* name) { emit form.Menu(QLatin1String(name))->aboutToShow(); }
  void Trigger(const char* name) {
    QAction* action = form.Action(QLatin1String(name));
    ASSERT_TRUE(action->isEnabled()) << name;
    action->trigger();
    ProcessEvents();
  }
  template <typename Dialog>
  Dialog* OpenDialog(const char* item, ui::TDialogKind kind) {
    Trigger(item);
    return qobject_cast<Dialog*>(form.DialogWindows().Dialog(kind));
  }
  // Types into a field as the user does, then leaves it with Tab.
  static void Type(TDataEdit* field, const QString& text) {
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, text);
    QTest::keyClick(field, Qt::Key_Tab);
    ProcessEvents();
  }
  static QModelIndex Cell(TTableForm& table, int row, int column) { return table.Model().index(row, column); }
  // Types into a cell and presses Enter.
  static void TypeInCell(TTableForm& table, int row, int column, const QString& text) {
    ui::TGridView& grid = table.Grid();
    grid.setCurrentIndex(Cell(table, row, column));
    grid.edit(Cell(table, row, column));
    auto* editor = qobject_cast<QLineEdit*>(grid.OpenEditor());
    ASSERT_NE(editor, nullptr) << "row " << row << " column " << column;
    editor->setText(text);
    QTest::keyClick(editor, Qt::Key_Return);
    ProcessEvents();
  }
  // Double-clicks a cell of choices and picks one from its list.
  static void ChooseInCell(TTableForm& table, int row, int column, const QString& item) {
    ui::TGridView& grid = table.Grid();
    const QPoint at = grid.visualRect(Cell(table, row, column)).center();
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, at);
    ProcessEvents();
    auto* list = qobject_cast<QComboBox*>(grid.OpenEditor());
    ASSERT_NE(list, nullptr);
    list->setCurrentIndex(list->findText(item));
    QTest::keyClick(list, Qt::Key_Return);
    ProcessEvents();
  }
  static void ClickCell(TTableForm& table, int row, int column) {
    ui::TGridView& grid = table.Grid();
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.visualRect(Cell(table, row, column)).center());
    ProcessEvents();
  }
  TTableForm* ActiveTable() {
    QMdiSubWindow* active = form.MdiArea().activeSubWindow();
    return active ? qobject_cast<TTableForm*>(active->widget()) : nullptr;
  }

  TestPrompts answers;
  std::optional<ui::TPromptsOverride> override_;
  ScratchFolder folder;
  ui::TMainForm form;
  const QString shots = qEnvironmentVariable("TERRAQ_WALKTHROUGH_SHOTS");
};

TEST_F(FirstProjectWalkthrough, CantileverSheetPileInSandFromNothingToGraphs) {
  ui::TProgramData& data = form.Data();
  // 1. A new project.
  EXPECT_EQ(form.windowTitle(), "TERRAQ 2013.4.7 - NewWall.tq4d");
  Shot(form.grab(), "main-window");

  // 2. Units and options: English units (already chosen in a new project),
  // generated triangular earth pressure, generated p-y curves (already on).
  OpenMenu("OptionsMenu");
  EXPECT_TRUE(form.Action("UnitsEnglish")->isChecked());
  Trigger("UnitsEnglish");
  Trigger("PressureTriangular");
  EXPECT_TRUE(form.Action("OptionsKPYOP")->isChecked());
  ShotOfMenu("OptionsMenu", "menu-earth-pressure", "OptionsKoutpt");
  EXPECT_EQ(data.Units, 1);
  EXPECT_EQ(data.EarthPressureOption, 2);
  EXPECT_TRUE(data.GeneratePY);

  // 3. Title.
  ShotOfMenu("DataMenu", "menu-data");
  auto* title = OpenDialog<ui::TdlgTitle>("DataTitle", ui::TDialogKind::Title);
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(Child<QLineEdit>(title, "TitleMemo")->text(), "New Wall");
  Child<QLineEdit>(title, "TitleMemo")->setFocus();
  Child<QLineEdit>(title, "TitleMemo")->selectAll();
  QTest::keyClicks(Child<QLineEdit>(title, "TitleMemo"), "Sheet pile in sand, 12 ft cut");
  ShotOf(title, "title");
  title->parentWidget()->close();
  ProcessEvents();
  EXPECT_EQ(data.ProjectTitle, "Sheet pile in sand, 12 ft cut");

  // 4. Wall properties, with the wall's stiffness table.
  auto* prop = OpenDialog<ui::TDlgProp>("DataProp", ui::TDialogKind::Prop);
  ASSERT_NE(prop, nullptr);
  Type(Field(prop, "deNI"), "60");
  Type(Field(prop, "deXGS"), "6");
  Type(Field(prop, "DeFH"), "12");
  Type(Field(prop, "deXLN"), "36");
  Type(Field(prop, "deSlope"), "0.00001");
  ShotOf(prop, "wall-properties");
  QTest::mouseClick(Child<QPushButton>(prop, "btnSect"), Qt::LeftButton);
  ProcessEvents();
  TTableForm* stiffness = ActiveTable();
  ASSERT_NE(stiffness, nullptr);
  EXPECT_EQ(stiffness->SubWindow()->windowTitle(), "Wall Stiffness");
  TypeInCell(*stiffness, 0, 0, "0");
  TypeInCell(*stiffness, 0, 1, "60");
  EXPECT_EQ(stiffness->Model().data(Cell(*stiffness, 0, 2)).toString(),
            "Use Constant Value for all Nodes on this Line");
  TypeInCell(*stiffness, 0, 3, "2.45E9");
  ShotOf(stiffness, "wall-stiffness");
  stiffness->SubWindow()->close();
  prop->parentWidget()->close();
  ProcessEvents();
  EXPECT_EQ(data.IncrementCount, 60);
  EXPECT_EQ(data.IncrementLength, 6);
  EXPECT_EQ(data.FreeHeight, 144);  // 12 ft
  EXPECT_EQ(data.MaxDeflection, 36);
  EXPECT_DOUBLE_EQ(form.Project().Tables().PileSect.Cell(3, 0).AsFloat(), 2.45e9);

  // 5. Wall configuration: the free height is already there.
  auto* wallConfig = OpenDialog<ui::TDlgWallConfig>("DataCSD", ui::TDialogKind::WallConfig);
  ASSERT_NE(wallConfig, nullptr);
  EXPECT_EQ(Field(wallConfig, "deHL")->text(), "12");
  Type(Field(wallConfig, "deWidth"), "12");
  Type(Field(wallConfig, "deWp"), "12");
  Type(Field(wallConfig, "deHW"), "50");
  Type(Field(wallConfig, "DeHW2"), "50");
  Type(Field(wallConfig, "deGw"), "1");
  Type(Field(wallConfig, "beta"), "0");
  Type(Field(wallConfig, "deSP"), "100");
  ShotOf(wallConfig, "wall-configuration");
  wallConfig->parentWidget()->close();
  ProcessEvents();
  EXPECT_EQ(data.ActiveWidth, 12);
  EXPECT_EQ(data.ResistanceWidth, 12);
  EXPECT_EQ(data.WaterDepthBackfill, 600);
  EXPECT_EQ(data.WaterDepthExcavation, 600);
  EXPECT_DOUBLE_EQ(data.SurchargePressure, 100.0 / 144.0);

  // 6. One layer of sand, 40 ft deep, and its parameters at its top and
  // bottom.
  Trigger("DataAxLoads");
  TTableForm* layers = ActiveTable();
  ASSERT_NE(layers, nullptr);
  EXPECT_EQ(layers->Model().data(Cell(*layers, 0, 0)).toString(), "Soft Clay");
  ChooseInCell(*layers, 0, 0, "Sand");
  EXPECT_EQ(layers->Model().data(Cell(*layers, 0, 2), Qt::UserRole).toString(), "1: Sand");
  TypeInCell(*layers, 0, 1, "40");
  ShotOf(layers, "soil-layers");
  ClickCell(*layers, 0, 2);
  TTableForm* sand = ActiveTable();
  ASSERT_NE(sand, nullptr);
  ASSERT_NE(sand, layers);
  EXPECT_EQ(sand->SubWindow()->windowTitle(), "Layer 1 Sand");
  for (int row = 0; row < 2; ++row) {
    TypeInCell(*sand, row, 0, "120");
    TypeInCell(*sand, row, 1, "32");
    TypeInCell(*sand, row, 2, "90");
  }
  ShotOf(sand, "sand-parameters");
  sand->SubWindow()->close();
  layers->SubWindow()->close();
  ProcessEvents();
  EXPECT_TRUE(answers.errors.isEmpty()) << answers.errors.join("\n").toStdString();

  // 7. and 8. Save As, then Run Analysis.
  answers.saveName = folder.File("sheet-pile-sand");  // the program adds ".tq4d"
  Trigger("FileSaveAs");
  ASSERT_TRUE(fs::exists(folder / "sheet-pile-sand.tq4d"));
  EXPECT_EQ(form.windowTitle(), "TERRAQ 2013.4.7 - Sheet-pile-sand.tq4d");
  ShotOfMenu("CompMenu", "menu-computation");
  Trigger("CompRun");
  ASSERT_TRUE(answers.errors.isEmpty()) << answers.errors.join("\n").toStdString();
  ASSERT_EQ(answers.informations.size(), 1);
  EXPECT_EQ(answers.informations.front(),
            "Computations are completed. Please, check output file for results or error messages.");

  // 9. The report: the top deflection and the largest moment, read as the
  // page tells (the numbers as the report prints them, to its 3 digits).
  Trigger("CompOutput");
  ASSERT_FALSE(answers.started.empty());
  EXPECT_TRUE(answers.started.back().back().endsWith("sheet-pile-sand.tq4o"));
  const std::string report = ReadText(folder / "sheet-pile-sand.tq4o");
  EXPECT_NE(report.find("Sheet pile in sand, 12 ft cut"), std::string::npos);
  const std::vector<ResultLine> rows = LastResultsTable(report);
  ASSERT_EQ(rows.size(), 61u);
  EXPECT_EQ(rows.front().station, 0);
  const auto largest = std::max_element(rows.begin(), rows.end(), [](const ResultLine& a, const ResultLine& b) {
    return std::fabs(a.moment) < std::fabs(b.moment);
  });
  // The page quotes lines of the results table as they stand in the report.
  std::istringstream page(ReadText(SourcePath("docs/users/first-project.md")));
  int quoted = 0;
  for (std::string line; std::getline(page, line);) {
    if (line.rfind("    ", 0) != 0 || line.find("E+") == std::string::npos) continue;
    ++quoted;
    EXPECT_NE(report.find(line.substr(4)), std::string::npos) << "not in the report: " << line;
  }
  EXPECT_GE(quoted, 2);
  EXPECT_NEAR(rows.front().deflection, 1.90, 0.005);  // in, "0.190E+01"
  EXPECT_NEAR(largest->moment, 235000, 500);          // lbs-in, "0.235E+06"
  EXPECT_EQ(largest->station, 31);
  EXPECT_EQ(largest->x, 186);  // in: 15.5 ft below the top of the wall

  // 10. and 11. The graphs and the side view.
  ShotOfMenu("GraphicsMenu", "menu-graphics");
  Trigger("GraphDeflectionMomentShear");
  auto* plot = qobject_cast<ui::TPlotForm*>(form.MdiArea().activeSubWindow()->widget());
  ASSERT_NE(plot, nullptr);
  plot->parentWidget()->resize(800, 560);
  ShotOf(plot, "deflection-moment-shear");
  ShotOfMenu(*plot->parentWidget(), *plot->MenuBar(), *plot->PlotMenu(), nullptr, "plot-menu");
  Trigger("CompLayers");
  QMdiSubWindow* side = form.MdiArea().activeSubWindow();
  ASSERT_NE(side, nullptr);
  EXPECT_EQ(side->objectName(), "SideViewWindow");
  side->resize(420, 600);
  ShotOf(side->widget(), "side-view");
  // Both side by side in the main window.
  plot->parentWidget()->setGeometry(0, 0, 640, 600);
  side->setGeometry(645, 0, 370, 600);
  ProcessEvents();
  Shot(form.grab(), "main-window-results");

  // 12. Save: the project as it was run.
  const std::string saved = ReadText(folder / "sheet-pile-sand.tq4d");
  Trigger("FileSave");
  EXPECT_TRUE(answers.errors.isEmpty()) << answers.errors.join("\n").toStdString();
  EXPECT_EQ(ReadText(folder / "sheet-pile-sand.tq4d"), saved);
}

}  // namespace
}  // namespace terraq::test
