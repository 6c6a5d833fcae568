// The windows at their default size and what the keyboard does in them:
// the main window's size and place and the file dialogs' folders kept in
// the settings, table windows sized to their content, Wall Properties
// filled by typing and Tab, Escape closing a data window, Window > Tile,
// and the report viewer's Find, Print and Ctrl+Home/End. Setting
// TERRAQ_DIALOG_SHOTS to a folder saves pictures of these windows there.

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTimer>

#include "MainFormFixture.h"
#include "dialogs/TDataEdit.h"
#include "dialogs/TDialogWindows.h"
#include "dialogs/TDlgProp.h"
#include "mainwindow/TTableWindows.h"
#include "widgets/DialogFolders.h"
#include "widgets/ReportViewer.h"
#include "widgets/TGridView.h"

namespace terraq::test {
namespace {

namespace fs = std::filesystem;
using ui::TReportViewer;

// Puts the window on screen with the keyboard focus, as a user has it.
void ShowActive(QWidget& window) {
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
}

TEST_F(MainFormTest, SizeAndPlaceAreKeptForTheNextStart) {
  form.StartUp({});
  form.show();
  form.setGeometry(60, 50, 900, 640);
  ProcessEvents();
  const QRect placed = form.geometry();
  ASSERT_TRUE(form.close());
  FormUnderTest next;
  next.StartUp({});
  next.show();
  EXPECT_EQ(next.geometry(), placed);
}

// The standard dialogs start where the user last chose a file: Open in its
// folder, Save As (for a project without one) in its own.
TEST(FileDialogsTest, DialogsStartInTheFolderLastChosen) {
  QSettings("Orvane", "TERRAQ").clear();
  ScratchFolder opened, saved;
  WriteText(opened / "wall.tq4d", "");
  const ui::TUserPrompts standard = ui::TUserPrompts::Standard();
  QString seen;
  // Answers the dialog once it is up: accepts `choose`, or with "" notes
  // the folder shown and cancels.
  const auto answer = [&](const QString& choose) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [&seen, choose, poll] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      if (!dialog) return;
      poll->deleteLater();
      poll->stop();
      seen = dialog->selectedFiles().value(0);
      if (choose.isEmpty()) {
        seen = dialog->directory().absolutePath();
        dialog->reject();
        return;
      }
      auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
      ASSERT_NE(name, nullptr);
      name->setText(choose);
      QTest::keyClick(name, Qt::Key_Return);
    });
    poll->start(50);
  };
  int filter = 0;
  answer(opened.File("wall.tq4d"));
  EXPECT_EQ(standard.openFileName(nullptr, "Open", "Data (*.tq4d)", filter),
            opened.File("wall.tq4d"));
  answer("");
  standard.openFileName(nullptr, "Open", "Data (*.tq4d)", filter);
  EXPECT_EQ(seen, QString::fromStdString(opened.Path().string()));

  answer(saved.File("pier.tq4d"));
  EXPECT_EQ(standard.saveFileName(nullptr, "Save", "NewWall.tq4d", "Data (*.tq4d)"),
            saved.File("pier.tq4d"));
  answer(saved.File("again.tq4d"));
  standard.saveFileName(nullptr, "Save", "NewWall.tq4d", "Data (*.tq4d)");
  EXPECT_EQ(seen, saved.File("NewWall.tq4d"));  // a bare name goes to the folder last saved in
  EXPECT_EQ(ui::ReadDialogFolder(ui::TDialogFolder::Picture), "");
  QSettings("Orvane", "TERRAQ").clear();
}

// The values of Wall Properties typed in the manual's order, each field
// taking the focus with its text selected, so that typing replaces it.
TEST_F(MainFormTest, WallPropertiesFillByTypingAndTab) {
  form.StartUp({});
  ShowActive(form);
  Trigger("DataProp");
  ProcessEvents();
  auto* prop = form.findChild<ui::TDlgProp*>();
  ASSERT_NE(prop, nullptr);
  // A click into a field selects its text as Tab does.
  for (ui::TDataEdit* field : {Field(prop, "DeFH"), Field(prop, "deNI")}) {
    QTest::mouseClick(field, Qt::LeftButton, Qt::NoModifier, QPoint(2, 5));
    ProcessEvents();
    ASSERT_TRUE(field->hasFocus());
    EXPECT_EQ(field->selectedText(), field->text());
  }
  const std::vector<std::pair<ui::TDataEdit*, const char*>> typed = {
      {Field(prop, "deNI"), "60"},
      {Field(prop, "deXGS"), "0.25"},
      {Field(prop, "DeFH"), "12"},
      {Field(prop, "deXLN"), "2"},
      {Field(prop, "deSlope"), "0.001"}};
  for (const auto& [field, text] : typed) {
    ASSERT_EQ(QApplication::focusWidget(), field) << field->objectName().toStdString();
    EXPECT_EQ(field->selectedText(), field->text());
    QTest::keyClicks(field, text);
    QTest::keyClick(field, Qt::Key_Tab);
  }
  EXPECT_EQ(QApplication::focusWidget(),
            Child<QPushButton>(prop, "btnSect"));  // the table's button comes last
  ASSERT_TRUE(prop->Store());
  EXPECT_EQ(form.Data().IncrementCount, 60);
  EXPECT_DOUBLE_EQ(form.Data().IncrementLength, 0.25);
  EXPECT_DOUBLE_EQ(form.Data().DeflectionTolerance, 0.001);
}

// Escape closes a data window after the check of its entries: a refused
// entry keeps it open. Window > Tile lays the windows side by side.
TEST_F(MainFormTest, EscapeClosesADataWindowAndTileLaysThemOut) {
  form.StartUp({});
  ShowActive(form);
  Trigger("DataProp");
  ProcessEvents();
  auto* prop = form.findChild<ui::TDlgProp*>();
  ASSERT_NE(prop, nullptr);
  Field(prop, "DeFH")->setFocus();
  Field(prop, "DeFH")->selectAll();
  QTest::keyClicks(Field(prop, "DeFH"), "abc");
  QTest::keyClick(Field(prop, "DeFH"), Qt::Key_Escape);
  ProcessEvents();
  EXPECT_EQ(answers.errors.size(), 1);
  EXPECT_EQ(form.DialogWindows().Count(), 1);
  Field(prop, "DeFH")->selectAll();
  QTest::keyClicks(Field(prop, "DeFH"), "15");
  QTest::keyClick(Field(prop, "DeFH"), Qt::Key_Escape);
  ProcessEvents();
  EXPECT_EQ(form.DialogWindows().Count(), 0);
  EXPECT_DOUBLE_EQ(form.Data().FreeHeight, 15 * 12.0);  // stored in inches

  ui::TTableForm* table = form.TableWindows().Show(form.Project().Tables().Restraints);
  ProcessEvents();
  ASSERT_NE(table, nullptr);
  QWidget* grid = table->findChild<ui::TGridView*>();
  grid->setFocus();
  QTest::keyClick(grid, Qt::Key_Escape);
  ProcessEvents();
  EXPECT_EQ(form.TableWindows().Count(), 0);

  Trigger("DataTitle");
  Trigger("DataProp");
  Trigger("WindowTile");
  ProcessEvents();
  const QList<QMdiSubWindow*> windows = form.MdiArea().subWindowList();
  ASSERT_EQ(windows.size(), 2);
  EXPECT_FALSE(windows[0]->geometry().intersects(windows[1]->geometry()));
}

// A long report in the viewer: Find goes from match to match and round from
// the other end, says when there is none; Ctrl+Home and Ctrl+End; Print.
TEST(ReportViewerTest, FindPrintAndTheEndsOfTheReport) {
  ScratchFolder folder;
  std::string report;
  for (int k = 1; k <= 200; ++k)
    report += "  NODE " + std::to_string(k) + (k % 50 == 0 ? "  MAXIMUM\r\n" : "\r\n");
  WriteText(folder / "wall.tq4o", report);
  TReportViewer viewer;
  ASSERT_TRUE(viewer.Load(folder.File("wall.tq4o")));
  EXPECT_EQ(viewer.windowTitle(), "wall.tq4o");
  EXPECT_FALSE(Child<QPlainTextEdit>(&viewer, "ReadOnlyText")->toPlainText().contains('\r'));
  ShowActive(viewer);

  QTest::keyClick(Child<QPlainTextEdit>(&viewer, "ReadOnlyText"), Qt::Key_F, Qt::ControlModifier);
  EXPECT_TRUE(Child<QLineEdit>(&viewer, "FindField")->hasFocus());
  QTest::keyClicks(Child<QLineEdit>(&viewer, "FindField"), "maximum");
  const auto line = [&] {
    return Child<QPlainTextEdit>(&viewer, "ReadOnlyText")->textCursor().blockNumber() + 1;
  };
  QTest::keyClick(Child<QLineEdit>(&viewer, "FindField"), Qt::Key_Return);
  EXPECT_EQ(line(), 50);
  QTest::keyClick(Child<QLineEdit>(&viewer, "FindField"), Qt::Key_F3);
  EXPECT_EQ(line(), 100);
  QTest::keyClick(Child<QLineEdit>(&viewer, "FindField"), Qt::Key_Return, Qt::ShiftModifier);
  EXPECT_EQ(line(), 50);
  QTest::keyClick(Child<QLineEdit>(&viewer, "FindField"), Qt::Key_F3);
  QTest::keyClick(Child<QLineEdit>(&viewer, "FindField"), Qt::Key_F3, Qt::ShiftModifier);
  EXPECT_EQ(line(), 50);
  EXPECT_TRUE(viewer.FindPrevious());  // round from the end
  EXPECT_EQ(line(), 200);
  EXPECT_EQ(Child<QLabel>(&viewer, "FindStatus")->text(), "Continued from the end");
  Child<QLineEdit>(&viewer, "FindField")->setText("ABSENT");
  EXPECT_FALSE(viewer.FindNext());
  EXPECT_EQ(line(), 200);
  EXPECT_EQ(Child<QLabel>(&viewer, "FindStatus")->text(), "\"ABSENT\" not found");

  Child<QPlainTextEdit>(&viewer, "ReadOnlyText")->setFocus();
  QTest::keyClick(Child<QPlainTextEdit>(&viewer, "ReadOnlyText"), Qt::Key_Home,
                  Qt::ControlModifier);
  EXPECT_EQ(Child<QPlainTextEdit>(&viewer, "ReadOnlyText")->textCursor().position(), 0);
  QTest::keyClick(Child<QPlainTextEdit>(&viewer, "ReadOnlyText"), Qt::Key_End, Qt::ControlModifier);
  EXPECT_TRUE(Child<QPlainTextEdit>(&viewer, "ReadOnlyText")->textCursor().atEnd());

  TestPrompts answers;
  ui::TUserPrompts prompts = answers.Make();
  const QString pdf = folder.File("report.pdf");
  prompts.printDialog = [&](QWidget*, QPrinter& printer) {
    printer.setOutputFileName(pdf);
    return true;
  };
  ui::TPromptsOverride using_{std::move(prompts)};
  QTest::keyClick(Child<QPlainTextEdit>(&viewer, "ReadOnlyText"), Qt::Key_P, Qt::ControlModifier);
  EXPECT_GT(QFileInfo(pdf).size(), 1000);
}

TEST_F(MainFormTest, Screenshots) {
  const QString shots = qEnvironmentVariable("TERRAQ_DIALOG_SHOTS");
  if (shots.isEmpty()) GTEST_SKIP() << "set TERRAQ_DIALOG_SHOTS to a folder to save pictures";
  form.StartUp({QString::fromStdString(CopySample("wall.tq4d").string())});
  form.show();
  Trigger("OptionsLateralSpring");
  form.ShowTable(form.Project().Tables().Springs);
  ProcessEvents();
  EXPECT_TRUE(form.grab().save(shots + "/spring-table.png"));
  form.MdiArea().closeAllSubWindows();
  Trigger("DataProp");
  ProcessEvents();
  EXPECT_TRUE(form.grab().save(shots + "/wall-properties.png"));
  form.MdiArea().closeAllSubWindows();
  std::string report;
  for (int k = 1; k <= 80; ++k)
    report += "   " + std::to_string(k) + "   0.125   -1234.5   STA " + std::to_string(k) + "\r\n";
  WriteText(folder / "wall.tq4o", report);
  form.UpdateMenuStates();
  answers.processStarts = false;
  answers.choice = 0;
  Trigger("CompOutput");
  ProcessEvents();
  auto* viewer = form.findChild<TReportViewer*>();
  ASSERT_NE(viewer, nullptr);
  Child<QLineEdit>(viewer, "FindField")->setText("STA 40");
  viewer->FindNext();
  ProcessEvents();
  EXPECT_TRUE(form.grab().save(shots + "/report-viewer.png"));

  // The question of a file changed on disk, as the standard box asks it.
  QTimer::singleShot(300, [&shots] {
    QWidget* box = QApplication::activeModalWidget();
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->grab().save(shots + "/changed-on-disk.png"));
    QTest::keyClick(box, Qt::Key_Escape);
  });
  const int chosen = ui::TUserPrompts::Standard().askChoice(
      &form, "wall.tq4d has been changed on disk by another program since TERRAQ read it.",
      {"&Reload", "&Keep Mine"}, 1);
  EXPECT_EQ(chosen, 1);  // closed without a choice: the last button
}

}  // namespace
}  // namespace terraq::test
