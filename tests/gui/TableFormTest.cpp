// The table window: typed entries checked when the cell is left, Enter
// navigation, the row buttons, sub-table windows and the grid's height.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

#include "GuiTestSupport.h"
#include "mainwindow/TTableWindows.h"
#include "project/TProjectTables.h"
#include "widgets/TGridView.h"

namespace terraq::test {
namespace {

using terraq::ui::TGridTable;
using terraq::ui::TGridView;
using terraq::ui::TTableForm;

class TableFormTest : public ::testing::Test {
 protected:
  TableFormTest() {
    area.resize(1200, 900);
    area.show();
  }

  TestPrompts answers;
  ui::TPromptsOverride prompts{answers.Make()};
  ui::TProjectTables tables;
  QMdiArea area;
  ui::TTableWindows windows{area};

  static QModelIndex Cell(TTableForm& form, int row, int column) { return form.Model().index(row, column); }

  // Types a text into a cell's editor and presses Enter.
  static void TypeAndEnter(TTableForm& form, int row, int column, const QString& text) {
    TGridView& grid = form.Grid();
    grid.setCurrentIndex(Cell(form, row, column));
    if (!grid.OpenEditor()) grid.edit(Cell(form, row, column));
    auto* editor = qobject_cast<QLineEdit*>(grid.OpenEditor());
    ASSERT_NE(editor, nullptr);
    editor->setText(text);
    QTest::keyClick(editor, Qt::Key_Return);
    ProcessEvents();
  }

  static QString EditorText(TTableForm& form) {
    auto* editor = qobject_cast<QLineEdit*>(form.Grid().OpenEditor());
    return editor ? editor->text() : QString("<no editor>");
  }
};

TEST_F(TableFormTest, InvalidEntriesAreRefusedAndKeepTheCell) {
  TGridTable& sections = tables.PileSect;  // from node, to node, mode, EI
  TTableForm* form = windows.Show(sections);
  ASSERT_NE(form, nullptr);

  TypeAndEnter(*form, 0, 0, "2.5");
  EXPECT_EQ(answers.errors, QStringList{"Entry must be an integer."});
  EXPECT_EQ(form->Grid().currentIndex(), Cell(*form, 0, 0));
  EXPECT_EQ(EditorText(*form), "2.5");
  EXPECT_EQ(sections.Cell(0, 0).AsInteger(), 0);
  EXPECT_TRUE(form->HasInvalidEntry());

  // The window cannot be closed while the cell holds a refused entry.
  EXPECT_FALSE(form->SubWindow()->close());
  EXPECT_EQ(answers.errors.size(), 2);

  TypeAndEnter(*form, 0, 0, "-1");
  EXPECT_EQ(answers.errors.back(), "Entry must be between 0 and 2147483600.");
  TypeAndEnter(*form, 0, 0, "12/4");
  EXPECT_EQ(sections.Cell(0, 0).AsInteger(), 3);
  EXPECT_FALSE(form->HasInvalidEntry());
  // One row: Enter goes on to the first row of the next column.
  EXPECT_EQ(form->Grid().currentIndex(), Cell(*form, 0, 1));
  EXPECT_TRUE(sections.Changed());
}

TEST_F(TableFormTest, LeavingACellByClickingElsewhereChecksItToo) {
  TGridTable& modifiers = tables.PYMod;  // depth, p-multiplier, y-multiplier
  TTableForm* form = windows.Show(modifiers);
  TGridView& grid = form->Grid();
  grid.setCurrentIndex(Cell(*form, 1, 1));
  grid.edit(Cell(*form, 1, 1));
  qobject_cast<QLineEdit*>(grid.OpenEditor())->setText("abc");
  grid.setCurrentIndex(Cell(*form, 0, 2));  // the user clicks another cell
  ProcessEvents();
  EXPECT_EQ(answers.errors, QStringList{"abc is not a valid number."});
  EXPECT_EQ(grid.currentIndex(), Cell(*form, 1, 1));
  EXPECT_EQ(EditorText(*form), "abc");
  EXPECT_EQ(modifiers.Cell(1, 1).AsFloat(), 1);  // the default stays

  // Escape takes the entry back; the window may then be closed.
  QTest::keyClick(grid.OpenEditor(), Qt::Key_Escape);
  ProcessEvents();
  EXPECT_FALSE(form->HasInvalidEntry());
  EXPECT_EQ(modifiers.Cell(1, 1).AsFloat(), 1);
  EXPECT_TRUE(form->SubWindow()->close());
  ProcessEvents();
  EXPECT_EQ(windows.FormFor(modifiers), nullptr);
}

TEST_F(TableFormTest, StoringBeforeACommandReportsARefusedEntry) {
  TTableForm* form = windows.Show(tables.PYMod);
  TGridView& grid = form->Grid();
  grid.setCurrentIndex(Cell(*form, 0, 0));
  grid.edit(Cell(*form, 0, 0));
  qobject_cast<QLineEdit*>(grid.OpenEditor())->setText("");
  EXPECT_FALSE(windows.StoreAll());
  EXPECT_EQ(answers.errors, QStringList{"Entry cannot be blank."});
  qobject_cast<QLineEdit*>(grid.OpenEditor())->setText("3*4");
  EXPECT_TRUE(windows.StoreAll());
  EXPECT_EQ(tables.PYMod.Cell(0, 0).AsFloat(), 12);
}

TEST_F(TableFormTest, CellsRefuseWhatTheDataFileCannotHold) {
  TTableForm* form = windows.Show(tables.PileSect);
  TypeAndEnter(*form, 0, 3, "1e400");
  EXPECT_EQ(answers.errors, QStringList{"Entry must be between -1E300 and 1E300."});
  EXPECT_EQ(tables.PileSect.Cell(3, 0).AsFloat(), 0);
  TypeAndEnter(*form, 0, 3, "1e300");
  EXPECT_EQ(answers.errors.size(), 1);
  EXPECT_EQ(form->Model().data(Cell(*form, 0, 3), Qt::DisplayRole).toString(), "1E300");
}

TEST_F(TableFormTest, EnterWalksDownEachColumnAndWrapsToTheStart) {
  TTableForm* form = windows.Show(tables.PYMod);  // 2 rows, 3 columns
  TGridView& grid = form->Grid();
  grid.setCurrentIndex(Cell(*form, 0, 0));
  std::vector<std::pair<int, int>> visited;
  for (int k = 0; k < 6; ++k) {
    QTest::keyClick(&grid, Qt::Key_Return);
    visited.emplace_back(grid.currentIndex().row(), grid.currentIndex().column());
  }
  EXPECT_EQ(visited, (std::vector<std::pair<int, int>>{{1, 0}, {0, 1}, {1, 1}, {0, 2}, {1, 2}, {0, 0}}));
}

TEST_F(TableFormTest, HeadingsShowCaptionsUnitsAndRowNumbers) {
  TTableForm* form = windows.Show(tables.EarthPressure);
  const auto heading = [&](int column) {
    return form->Model().headerData(column, Qt::Horizontal).toString();
  };
  EXPECT_EQ(heading(0), "Depth Measured\nfrom Top of Wall (ft)");
  EXPECT_EQ(heading(1), "Lateral Distributed\nLine Load (lbs/ft)");
  EXPECT_EQ(form->Model().headerData(1, Qt::Vertical).toString(), "2");
  EXPECT_EQ(form->Grid().TopLeftText(), "Point");
  tables.SetUnits(2);
  windows.Refresh();
  EXPECT_EQ(heading(0), "Depth Measured\nfrom Top of Wall (m)");
  EXPECT_EQ(heading(1), "Lateral Distributed\nLine Load (kN/m)");
}

TEST_F(TableFormTest, RowButtonsStandInOrderAndWorkOnTheCurrentRow) {
  TGridTable& loads = tables.ConcentratedLoads;  // 1 to 20 rows
  TTableForm* form = windows.Show(loads);
  auto* add = form->findChild<QPushButton*>("AddRow");
  auto* insert = form->findChild<QPushButton*>("InsertRow");
  auto* remove = form->findChild<QPushButton*>("DeleteRow");
  ASSERT_TRUE(add && insert && remove);
  EXPECT_EQ(add->text(), "&Add Row");
  EXPECT_EQ(insert->text(), "&Insert Row");
  EXPECT_EQ(remove->text(), "&Delete Row");
  EXPECT_LT(add->x(), insert->x());
  EXPECT_LT(insert->x(), remove->x());
  EXPECT_NE(form->findChild<QLabel*>("Comments"), nullptr);

  loads.Cell(3, 0).SetFloat(1500);
  add->click();
  ASSERT_EQ(loads.RowCount(), 2);
  EXPECT_EQ(form->Grid().currentIndex().row(), 1);
  form->Grid().setCurrentIndex(Cell(*form, 0, 3));
  insert->click();
  ASSERT_EQ(loads.RowCount(), 3);
  EXPECT_EQ(loads.Cell(3, 0).AsFloat(), 0);     // the new row
  EXPECT_EQ(loads.Cell(3, 1).AsFloat(), 1500);  // moved down
  form->Grid().setCurrentIndex(Cell(*form, 1, 3));
  remove->click();
  EXPECT_EQ(loads.RowCount(), 2);
  EXPECT_EQ(loads.Cell(3, 0).AsFloat(), 0);

  // Without a current row the table says so.
  form->Grid().setCurrentIndex(QModelIndex());
  remove->click();
  EXPECT_EQ(answers.errors, QStringList{"Grid.Row not in valid range"});
  EXPECT_EQ(loads.RowCount(), 2);

  while (loads.RowCount() < loads.MaxRows()) add->click();
  EXPECT_FALSE(add->isEnabled());
  EXPECT_FALSE(insert->isEnabled());
}

TEST_F(TableFormTest, AnEmptiedTableIsShownWithItsMinimumRows) {
  tables.PYCurves.SetRowCount(0);  // as saving does while its option is off
  TTableForm* form = windows.Show(tables.PYCurves);
  EXPECT_EQ(tables.PYCurves.RowCount(), 2);
  EXPECT_EQ(form->Model().rowCount(), 2);
  EXPECT_EQ(form->Model().data(Cell(*form, 1, 1), Qt::UserRole).toString(), "2: External p-y Curve");
}

TEST_F(TableFormTest, GridShowsAtMostTenRows) {
  TGridTable& modifiers = tables.PYMod;
  TTableForm* form = windows.Show(modifiers);
  TGridView& grid = form->Grid();
  const auto heightFor = [&](int rows) {
    return 2 * grid.frameWidth() + grid.horizontalHeader()->sizeHint().height() +
           rows * grid.verticalHeader()->defaultSectionSize();
  };
  EXPECT_EQ(grid.sizeHint().height(), heightFor(2));
  auto* add = form->findChild<QPushButton*>("AddRow");
  for (int k = 0; k < 4; ++k) add->click();
  EXPECT_EQ(grid.sizeHint().height(), heightFor(6));
  for (int k = 0; k < 8; ++k) add->click();
  EXPECT_EQ(modifiers.RowCount(), 14);
  EXPECT_EQ(grid.sizeHint().height(), heightFor(10));
  // The new row is scrolled into view.
  EXPECT_EQ(grid.currentIndex().row(), 13);
  EXPECT_TRUE(grid.viewport()->rect().intersects(grid.visualRect(grid.currentIndex())));
}

TEST_F(TableFormTest, AddRowLeavesTheKeyboardInTheNewRowsFirstCell) {
  TTableForm* form = windows.Show(tables.PileSect);
  TGridView& grid = form->Grid();
  grid.setCurrentIndex(Cell(*form, 0, 2));
  auto* add = form->findChild<QPushButton*>("AddRow");
  add->setFocus();
  add->click();
  EXPECT_EQ(grid.currentIndex(), Cell(*form, tables.PileSect.RowCount() - 1, 0));
  EXPECT_EQ(form->focusWidget(), &grid);
}

TEST_F(TableFormTest, WindowsOpenInsideTheMainWindowAndScrollWhatDoesNotFit) {
  area.resize(640, 420);
  ProcessEvents();
  const QRect visible = area.viewport()->rect();
  // The spring table is wide (columns and picture); the modifiers grow a
  // row at a time.
  TTableForm* springs = windows.Show(tables.Springs);
  TTableForm* modifiers = windows.Show(tables.PYMod);
  for (int k = 0; k < 12; ++k) modifiers->findChild<QPushButton*>("AddRow")->click();
  ProcessEvents();
  for (TTableForm* form : {springs, modifiers}) {
    SCOPED_TRACE(form->windowTitle().toStdString());
    EXPECT_TRUE(visible.contains(form->SubWindow()->geometry()));
  }
  EXPECT_GT(springs->sizeHint().width(), springs->width());
  // What is cut off is reached with the scroll bar.
  auto* scroll = springs->findChild<QScrollArea*>();
  ASSERT_NE(scroll, nullptr);
  EXPECT_GT(scroll->horizontalScrollBar()->maximum(), 0);
}

TEST_F(TableFormTest, EnumeratedCellsShowTheirItemsAndListThem) {
  TTableForm* form = windows.Show(tables.SoilLayers);
  EXPECT_EQ(form->Model().data(Cell(*form, 0, 0)).toString(), "Soft Clay");
  EXPECT_EQ(form->Model().ItemsOf(0).size(), 7);
  TGridView& grid = form->Grid();
  grid.setCurrentIndex(Cell(*form, 0, 0));
  grid.edit(Cell(*form, 0, 0));
  auto* list = qobject_cast<QComboBox*>(grid.OpenEditor());
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->maxVisibleItems(), 11);
  EXPECT_EQ(list->itemText(3), "Sand");
  list->setCurrentIndex(3);
  QTest::keyClick(list, Qt::Key_Return);
  ProcessEvents();
  EXPECT_EQ(tables.SoilLayers.Cell(0, 0).AsInteger(), 4);
  EXPECT_EQ(tables.SoilLayers.Cell(2, 0).SubTable()->Caption(), "Sand");
}

TEST_F(TableFormTest, SubTableWindowsFollowTheirRows) {
  TGridTable& soil = tables.SoilLayers;
  soil.SetRowCount(2);
  TTableForm* layers = windows.Show(soil);
  EXPECT_EQ(layers->Model().data(Cell(*layers, 1, 2), Qt::UserRole).toString(), "2: Clay");

  TTableForm* clay = windows.ShowSubTable(*layers, 2, 1);
  ASSERT_NE(clay, nullptr);
  EXPECT_EQ(clay->SubWindow()->windowTitle(), "Layer 2 Clay");
  EXPECT_EQ(clay->Table(), soil.Cell(2, 1).SubTable());
  EXPECT_EQ(clay->Table()->RowCount(), 2);  // top and bottom of the layer

  // A row inserted above moves the layer down: its window follows.
  layers->Grid().setCurrentIndex(Cell(*layers, 0, 0));
  layers->findChild<QPushButton*>("InsertRow")->click();
  ProcessEvents();
  ASSERT_NE(windows.FormFor(*soil.Cell(2, 2).SubTable()), nullptr);
  EXPECT_EQ(clay->SubWindow()->windowTitle(), "Layer 3 Clay");

  // Another soil type gives the row a new table: the old window goes.
  layers->Model().setData(Cell(*layers, 2, 0), 4);
  ProcessEvents();
  EXPECT_EQ(windows.Count(), 1);
  TTableForm* sand = windows.ShowSubTable(*layers, 2, 2);
  ASSERT_NE(sand, nullptr);
  EXPECT_EQ(sand->SubWindow()->windowTitle(), "Layer 3 Sand");

  // Deleting the row takes its window along; closing the parent's window
  // closes the windows of its sub-tables.
  layers->Grid().setCurrentIndex(Cell(*layers, 2, 1));
  layers->findChild<QPushButton*>("DeleteRow")->click();
  ProcessEvents();
  EXPECT_EQ(windows.Count(), 1);
  ASSERT_NE(windows.ShowSubTable(*layers, 2, 0), nullptr);
  EXPECT_EQ(windows.Count(), 2);
  windows.Close(soil);
  EXPECT_EQ(windows.Count(), 0);
}

TEST_F(TableFormTest, PictureAreaOnlyForAShippedPicture) {
  // Tables without a picture never show the area.
  TTableForm* form = windows.Show(tables.PYMod);
  EXPECT_EQ(form->findChild<QLabel*>("HelpPicture"), nullptr);
  // A table naming a picture shows it exactly when the resource exists.
  TTableForm* spring = windows.Show(tables.Springs);
  const bool shipped = QFile::exists(TTableForm::PictureResource("SoilStrength.jpg"));
  EXPECT_EQ(spring->findChild<QLabel*>("HelpPicture") != nullptr, shipped);
  // Every picture of the source tree is compiled in.
  EXPECT_EQ(shipped, std::filesystem::exists(SourcePath("resources/pictures/SoilStrength.jpg")));
}

}  // namespace
}  // namespace terraq::test
