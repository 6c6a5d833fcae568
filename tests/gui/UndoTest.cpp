// Undo and Redo in the main window, driven as a user drives them: the keys
// and the Edit menu after a table cell, a dialog, Apply in the Design
// window, the section chosen in Wall Properties and the construction
// sequence; the saved point and the title bar; a project opened starts anew.

#include <gtest/gtest.h>

#include <QAction>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "GuiTestSupport.h"
#include "design/TDesignForm.h"
#include "dialogs/TDialogWindows.h"
#include "mainwindow/TMainForm.h"
#include "mainwindow/TTableWindows.h"
#include "sequence/TSequenceForm.h"
#include "widgets/TGridView.h"
#include "widgets/TTableForm.h"

namespace terraq::test {
namespace {

namespace fs = std::filesystem;

class UndoTest : public ::testing::Test {
 protected:
  UndoTest() {
    ui::TUserPrompts p = answers.Make();
    // The section dialog, answered by the test and closed with OK.
    p.runDialog = [](QDialog& d) {
      d.show();
      ProcessEvents();
      Child<QLineEdit>(&d, "edSearch")->setText(QStringLiteral("AZ18"));
      auto* list = Child<QTreeWidget>(&d, "lstSections");
      const QList<QTreeWidgetItem*> found =
          list->findItems(QStringLiteral("AZ18"), Qt::MatchExactly);
      if (!found.isEmpty()) list->setCurrentItem(found.front());
      Child<QDialogButtonBox>(&d, "bbSection")->button(QDialogButtonBox::Ok)->click();
      if (d.isVisible()) d.reject();
      return d.result();
    };
    prompts = std::make_unique<ui::TPromptsOverride>(std::move(p));
  }
  void SetUp() override {
    form.show();
    form.activateWindow();
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    data = folder / "wall.tq4d";
    fs::copy_file(SourcePath("examples/cantilever-sand-generated.tq4d"), data);
    ASSERT_TRUE(form.OpenFile(QString::fromStdString(data.string()), 1));
  }
  void TearDown() override {
    form.Data().Modified = false;
    answers.answer = ui::TUserPrompts::Answer::No;
  }

  QAction* Action(const char* name) { return form.Action(QLatin1String(name)); }
  // The Edit menu as it opens: the current dialog stores its fields first.
  QString UndoCaption() {
    emit form.Menu(QStringLiteral("EditMenu"))->aboutToShow();
    return Action("EditUndo")->text();
  }
  void Key(QKeySequence::StandardKey key) {
    QTest::keySequence(QApplication::focusWidget() ? QApplication::focusWidget() : &form,
                       QKeySequence(key));
    ProcessEvents();
  }
  bool TitleSaysChanged() { return form.windowTitle().endsWith(QStringLiteral(" *")); }
  double Stiffness() {
    return static_cast<double>(form.Data().Tables().PileSect.Cell(3, 0).AsFloat());
  }

  TestPrompts answers;
  std::unique_ptr<ui::TPromptsOverride> prompts;
  ScratchFolder folder;
  fs::path data;
  ui::TMainForm form;
};

TEST_F(UndoTest, TableCellAndDialogAreUndoneByKeysAndMenuBackToTheSavedState) {
  EXPECT_FALSE(Action("EditUndo")->isEnabled());
  const double before = Stiffness();
  form.ShowTable(form.Data().Tables().PileSect);
  ui::TTableForm* table = form.TableWindows().FormFor(form.Data().Tables().PileSect);
  ASSERT_TRUE(table);
  ui::TGridView& grid = table->Grid();
  const QModelIndex cell = table->Model().index(0, 3);
  grid.setCurrentIndex(cell);
  grid.edit(cell);
  auto* editor = qobject_cast<QLineEdit*>(grid.OpenEditor());
  ASSERT_TRUE(editor);
  editor->setText(QStringLiteral("2.5e10"));
  QTest::keyClick(editor, Qt::Key_Return);
  ProcessEvents();
  EXPECT_DOUBLE_EQ(Stiffness(), 2.5e10);
  EXPECT_TRUE(TitleSaysChanged());
  EXPECT_TRUE(UndoCaption().startsWith(QStringLiteral("&Undo Edit ")))
      << UndoCaption().toStdString();

  grid.setFocus();
  Key(QKeySequence::Undo);
  EXPECT_DOUBLE_EQ(Stiffness(), before);
  EXPECT_EQ(table->Model().data(cell).toString().toDouble(), before);  // the window shows it
  EXPECT_FALSE(form.Data().IsModified());  // back at the state read from the file
  EXPECT_FALSE(TitleSaysChanged());
  grid.setFocus();
  QTest::keyClick(&grid, Qt::Key_Y, Qt::ControlModifier);
  ProcessEvents();
  EXPECT_DOUBLE_EQ(Stiffness(), 2.5e10);
  EXPECT_TRUE(TitleSaysChanged());

  // A dialog's field is stored as the menu opens, and is one step.
  form.Action(QStringLiteral("DataTitle"))->trigger();
  ProcessEvents();
  QWidget* title = form.DialogWindows().Dialog(ui::TDialogKind::Title);
  auto* memo = Child<QLineEdit>(title, "TitleMemo");
  const QString oldTitle = memo->text();
  memo->setFocus();
  memo->selectAll();
  QTest::keyClicks(memo, QStringLiteral("Quay wall"));
  EXPECT_EQ(UndoCaption(), QStringLiteral("&Undo Edit Project Title"));
  EXPECT_EQ(form.Data().ProjectTitle, "Quay wall");
  Action("EditUndo")->trigger();
  EXPECT_EQ(memo->text(), oldTitle);
  EXPECT_EQ(Action("EditRedo")->text(), QStringLiteral("&Redo Edit Project Title"));
  Action("EditUndo")->trigger();
  Action("EditRedo")->trigger();
  EXPECT_DOUBLE_EQ(Stiffness(), 2.5e10);
  EXPECT_NE(form.Data().ProjectTitle, "Quay wall");
}

TEST_F(UndoTest, ApplyInTheDesignWindowAndTheSectionAreUndone) {
  const int increments = form.Data().IncrementCount;
  const double length = form.Data().IncrementLength;
  form.Action(QStringLiteral("DesignWall"))->trigger();
  auto* window = form.findChild<QMdiSubWindow*>(QStringLiteral("DesignWindow"));
  ASSERT_TRUE(window);
  auto* design = qobject_cast<ui::TDesignForm*>(window->widget());
  design->Design();
  ASSERT_TRUE(design->Apply());
  const double appliedTip = form.Data().IncrementCount * form.Data().IncrementLength;
  ASSERT_NE(appliedTip, increments * length);
  EXPECT_EQ(UndoCaption(), QStringLiteral("&Undo Apply Wall Length"));
  Action("EditUndo")->trigger();
  EXPECT_EQ(form.Data().IncrementCount, increments);
  EXPECT_EQ(form.Data().IncrementLength, length);
  // The design record Apply kept goes with it, in the same step.
  EXPECT_FALSE(form.Project().Members().designRecord &&
               form.Project().Members().designRecord->appliedTip);
  Action("EditRedo")->trigger();
  EXPECT_DOUBLE_EQ(form.Data().IncrementCount * form.Data().IncrementLength, appliedTip);

  form.Action(QStringLiteral("DataProp"))->trigger();
  ProcessEvents();
  Child<QPushButton>(form.DialogWindows().Dialog(ui::TDialogKind::Prop), "btnLibrarySection")
      ->click();
  ASSERT_TRUE(form.ProjectWallSection());
  const double sectionStiffness = Stiffness();
  EXPECT_EQ(UndoCaption(), QStringLiteral("&Undo Choose Section"));
  Action("EditUndo")->trigger();
  EXPECT_FALSE(form.ProjectWallSection());
  EXPECT_NE(Stiffness(), sectionStiffness);
  EXPECT_DOUBLE_EQ(form.Data().IncrementCount * form.Data().IncrementLength, appliedTip);
}

TEST_F(UndoTest, SequenceIsUndoneSavingMovesTheSavedPointAndOpeningClearsTheHistory) {
  form.Action(QStringLiteral("OptConstructionSequence"))->trigger();
  ProcessEvents();
  auto* sequence = Child<ui::TSequenceForm>(&form, "frmSequence");
  Child<QPushButton>(sequence, "btnAddSupport")->click();
  ASSERT_TRUE(form.ProjectSequence());
  EXPECT_EQ(UndoCaption(), QStringLiteral("&Undo Edit Construction Sequence"));
  Action("EditUndo")->trigger();
  ProcessEvents();
  EXPECT_FALSE(form.ProjectSequence());
  EXPECT_EQ(form.findChild<ui::TSequenceForm*>(), nullptr);  // it showed the plan undone
  Action("EditRedo")->trigger();
  ASSERT_TRUE(form.ProjectSequence());

  // Saved here: undoing leaves the saved state, redoing comes back to it.
  ASSERT_TRUE(form.FileSave());
  EXPECT_FALSE(TitleSaysChanged());
  EXPECT_TRUE(Action("EditUndo")->isEnabled());
  Action("EditUndo")->trigger();
  EXPECT_TRUE(form.Data().IsModified());
  EXPECT_TRUE(TitleSaysChanged());
  Action("EditRedo")->trigger();
  EXPECT_FALSE(form.Data().IsModified());
  EXPECT_FALSE(TitleSaysChanged());

  ASSERT_TRUE(form.OpenFile(QString::fromStdString(data.string()), 1));
  EXPECT_FALSE(Action("EditUndo")->isEnabled());
  EXPECT_FALSE(Action("EditRedo")->isEnabled());
  EXPECT_EQ(Action("EditUndo")->text(), QStringLiteral("&Undo"));
}

}  // namespace
}  // namespace terraq::test
