// The main window's files as the user meets them: the caption, names on
// the command line, the recent-file list in the settings, folders with
// non-ASCII names, the save query, older layouts, dropped files and the
// standard file dialogs.

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QHeaderView>
#include <QMimeData>
#include <QSettings>
#include <QTimer>
#include <QTreeView>
#include <QUrl>

#include "GuiTestSupport.h"
#include "MainFormFixture.h"
#include "mainwindow/TMainForm.h"

namespace terraq::test {
namespace {

using terraq::ui::TMainForm;

TEST_F(MainFormTest, CaptionFollowsTheDataFile) {
  form.StartUp({});
  EXPECT_EQ(form.windowTitle(), "TERRAQ 2013.4.7 - NewWall.tq4d");
  answers.saveName = folder.File("pier.tq4d");
  ASSERT_TRUE(form.FileSaveAs());
  EXPECT_EQ(form.windowTitle(), "TERRAQ 2013.4.7 - Pier.tq4d");
  EXPECT_EQ(answers.saveTitles, QStringList{"Save NewWall.tq4d As"});
}

TEST_F(MainFormTest, CommandLineNameWithoutExtensionOpensTheDataFile) {
  CopySample("wall.tq4d");
  form.StartUp({folder.File("wall")});
  EXPECT_EQ(form.Data().DataFileName, (folder / "wall.tq4d").string());
  EXPECT_EQ(form.Data().ProjectTitle, "Cantilever with a point load at the top");
  EXPECT_FALSE(form.Data().IsModified());

  TMainForm other;
  other.StartUp({folder.File("absent")});
  EXPECT_EQ(other.Data().DataFileName, "NewWall.tq4d");
}

TEST_F(MainFormTest, RecentFilesAreKeptInTheSettingsMostRecentFirst) {
  form.StartUp({});
  std::vector<std::filesystem::path> files;
  for (int k = 1; k <= 11; ++k) files.push_back(CopySample("wall" + std::to_string(k) + ".tq4d"));
  answers.openName = QString::fromStdString(files[0].string());
  Trigger("FileOpen");
  Trigger("FileOpen");  // the same file again: kept once
  EXPECT_EQ(form.RecentFiles().Count(), 1);
  for (int k = 1; k < 11; ++k) ASSERT_TRUE(form.OpenFile(QString::fromStdString(files[k].string()), 1));
  EXPECT_EQ(form.RecentFiles().Count(), 10);
  EXPECT_EQ(form.RecentFiles().File(1), files[10].string());
  EXPECT_EQ(form.RecentFiles().File(10), files[1].string());  // the first fell off

  QSettings settings("Orvane", "TERRAQ");
  settings.beginGroup("2013.4.7");
  EXPECT_EQ(settings.value("File1").toString().toStdString(), files[10].string());
  EXPECT_EQ(settings.value("File10").toString().toStdString(), files[1].string());

  // The menu lists them by number, relative to the current folder.
  const QAction* first = form.Action("RecentFile1");
  EXPECT_TRUE(first->isVisible());
  EXPECT_EQ(first->text(), "1 wall11.tq4d");
  // Choosing one opens it (after the save query).
  form.Action("RecentFile3")->trigger();
  EXPECT_EQ(form.Data().DataFileName, files[8].string());
  EXPECT_EQ(form.RecentFiles().File(1), files[8].string());
}

TEST_F(MainFormTest, EditorPathAndRecentFilesSurviveARestart) {
  {
    TMainForm first;
    first.StartUp({});
    EXPECT_FALSE(first.EditorPath().isEmpty());  // the default editor
    first.SetEditorPath("/opt/editor/bin/edit");
    const auto file = CopySample("kept.tq4d");
    first.OpenFile(QString::fromStdString(file.string()), 1);
    EXPECT_TRUE(first.close());
  }
  TMainForm second;
  second.StartUp({});
  EXPECT_EQ(second.EditorPath(), "/opt/editor/bin/edit");
  EXPECT_EQ(second.RecentFiles().File(1), (folder / "kept.tq4d").string());
}

TEST_F(MainFormTest, ProjectsInFoldersWithNonAsciiNamesOpenAndSave) {
  // The names as the file system holds them (UTF-8 bytes) and as typed.
  const std::string folderName = "St\xc3\xbctzwand \xc3\x98 Nord";
  const std::filesystem::path wall = folder / folderName / "b\xc3\xb6schung.tq4d";
  std::filesystem::create_directory(folder / folderName);
  std::filesystem::copy_file(SourcePath("tests/data/cli-cantilever.tq4d"), wall);
  form.StartUp({QString::fromUtf8(wall.string())});
  ASSERT_TRUE(answers.errors.isEmpty()) << answers.errors.join("\n").toStdString();
  EXPECT_EQ(form.Data().DataFileName, wall.string());
  EXPECT_TRUE(form.windowTitle().endsWith(QString::fromUtf8("B\xc3\xb6schung.tq4d")));
  EXPECT_TRUE(form.Action("RecentFile1")->text().contains(QString::fromUtf8("b\xc3\xb6schung.tq4d")));

  form.Data().ProjectTitle = "Quay wall";
  form.Data().Modified = true;
  ASSERT_TRUE(form.FileSave());
  EXPECT_NE(ReadText(wall).find("Quay wall"), std::string::npos);

  answers.saveName = QString::fromUtf8((folder / folderName / "caf\xc3\xa9").string());
  ASSERT_TRUE(form.FileSaveAs());
  const std::filesystem::path copy = folder / folderName / "caf\xc3\xa9.tq4d";
  EXPECT_EQ(form.Data().DataFileName, copy.string());
  EXPECT_NE(ReadText(copy).find("Quay wall"), std::string::npos);
  EXPECT_EQ(form.RecentFiles().File(1), copy.string());
}

TEST_F(MainFormTest, SaveQueryCancelStopsAndNoGoesOn) {
  form.StartUp({});
  form.Data().ProjectTitle = "Edited";
  form.Data().Modified = true;
  answers.answer = TUserPrompts::Answer::Cancel;
  Trigger("FileNew");
  EXPECT_EQ(answers.questions, QStringList{"Do you want to save any changes?"});
  EXPECT_EQ(form.Data().ProjectTitle, "Edited");
  EXPECT_FALSE(form.close());

  answers.answer = TUserPrompts::Answer::No;
  Trigger("FileNew");
  EXPECT_EQ(form.Data().ProjectTitle, "New Wall");
  EXPECT_FALSE(form.Data().IsModified());
  // An unmodified project is discarded without a question.
  answers.questions.clear();
  Trigger("FileNew");
  EXPECT_TRUE(answers.questions.isEmpty());
}

TEST_F(MainFormTest, SaveQueryYesOnANeverSavedProjectNeedsAName) {
  form.StartUp({});
  form.Data().ProjectTitle = "Edited";
  form.Data().Modified = true;
  answers.answer = TUserPrompts::Answer::Yes;
  answers.saveName.clear();  // Save As cancelled: New is cancelled too
  Trigger("FileNew");
  EXPECT_EQ(form.Data().ProjectTitle, "Edited");
  EXPECT_EQ(answers.saveTitles, QStringList{"Save NewWall.tq4d As"});

  answers.saveName = folder.File("named");
  Trigger("FileNew");
  EXPECT_EQ(form.Data().ProjectTitle, "New Wall");
  ASSERT_TRUE(std::filesystem::exists(folder / "named.tq4d"));
  EXPECT_EQ(ReadText(folder / "named.tq4d").rfind("Edited\r\n", 0), 0u);
}

TEST_F(MainFormTest, SaveQueryYesSavesANamedProjectInPlace) {
  const auto file = CopySample("wall.tq4d");
  form.StartUp({QString::fromStdString(file.string())});
  form.Data().ProjectTitle = "Changed title";
  form.Data().Modified = true;
  answers.answer = TUserPrompts::Answer::Yes;
  EXPECT_TRUE(form.close());
  EXPECT_TRUE(answers.saveTitles.isEmpty());
  EXPECT_EQ(ReadText(file).rfind("Changed title\r\n", 0), 0u);
}

// A file of the 3.0 layout.
constexpr const char* kOlderLayoutWall =
    "Old wall\r\n2 0\t1\t0\t2\t2 1 1\r\n20 0.5\t1\t0.001\t4\r\n0\t20\t1\t5E4\r\n0\r\n0\r\n"
    "4\t1\t1\t0\t0\t1\t1\t0\r\n10\t3\t100\t20\t5\t2\r\n"
    "1\r\n4 12 \r\n18 0.0  30 0.0  10 0.0  \r\n19 0.0  32 0.0  20 0.0  \r\n"
    "10\t3\r\n-0.1\t50\r\n0\t0\r\n0.1\t-50\r\n0\r\n";

TEST_F(MainFormTest, OlderFilesAreNeverOverwritten) {
  const auto file = folder / "old.tqd";
  WriteText(file, kOlderLayoutWall);
  const std::string before = ReadText(file);
  ASSERT_TRUE(form.OpenFile(QString::fromStdString(file.string()), 2));
  answers.saveName.clear();
  EXPECT_FALSE(form.FileSave());  // Save turns into Save As, which is cancelled
  EXPECT_EQ(answers.saveSuggestions, QStringList{QString::fromStdString((folder / "old.tq4d").string())});
  EXPECT_EQ(ReadText(file), before);
  // Even a .tqd name typed into Save As is written as .tq4d.
  answers.saveName = folder.File("copy.tqd");
  EXPECT_TRUE(form.FileSaveAs());
  EXPECT_EQ(form.Data().DataFileName, (folder / "copy.tq4d").string());
  EXPECT_FALSE(std::filesystem::exists(folder / "copy.tqd"));
}

// The desktop opens a data file by double click by naming it on the command
// line: an older file must be read in its own layout there too.
TEST_F(MainFormTest, OlderFileNamedOnTheCommandLineIsReadInItsLayout) {
  const auto file = folder / "old.tqd";
  WriteText(file, kOlderLayoutWall);
  FormUnderTest reference;
  ASSERT_TRUE(reference.OpenFile(QString::fromStdString(file.string()), ui::kLayout30));
  form.StartUp({QString::fromStdString(file.string())});
  EXPECT_TRUE(answers.errors.empty());
  EXPECT_EQ(form.Data().DataFileName, file.string());
  EXPECT_EQ(form.Data().DataFileText(), reference.Data().DataFileText());
}

// A file that cannot be read, by Open or dropped, leaves the open project
// as it was, unsaved changes included; the message names the file and its
// fault. Pictures and reports are refused as such, before any question.
TEST_F(MainFormTest, FailedOpenOrDropKeepsTheOpenProject) {
  const auto wall = CopySample("wall.tq4d");
  WriteText(folder / "broken.tq4d", "Title only\r\n1 1 x\r\n");
  WriteText(folder / "graph.png", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
  WriteText(folder / "wall.tq4o", "REPORT\r\n");
  WriteText(folder / "notes.txt", "Some notes\r\nnot a wall\r\n");
  form.StartUp({QString::fromStdString(wall.string())});
  form.Data().IncrementCount = 77;
  form.Data().Modified = true;
  const auto kept = [&] {
    EXPECT_EQ(form.Data().DataFileName, wall.string());
    EXPECT_EQ(form.Data().IncrementCount, 77);
    EXPECT_TRUE(form.Data().IsModified());
  };

  answers.answer = TUserPrompts::Answer::No;
  answers.openName = folder.File("broken.tq4d");
  Trigger("FileOpen");
  ASSERT_EQ(answers.errors.size(), 1);
  EXPECT_TRUE(answers.errors[0].startsWith(folder.File("broken.tq4d") +
                                           " cannot be opened as a TERRAQ data file:"))
      << answers.errors[0].toStdString();
  EXPECT_TRUE(answers.errors[0].endsWith("The project open before stays as it was."));
  kept();

  QMimeData mime;
  const auto drop = [&](const std::string& name) {
    answers.questions.clear();
    mime.setUrls({QUrl::fromLocalFile(folder.File(name))});
    QDropEvent event(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    form.dropEvent(&event);
    ProcessEvents();
  };
  drop("graph.png");
  ASSERT_EQ(answers.errors.size(), 2);
  EXPECT_TRUE(answers.errors[1].contains(
      "graph.png is not a TERRAQ data file: it is a picture or a document (.png)"))
      << answers.errors[1].toStdString();
  EXPECT_TRUE(answers.questions.isEmpty());  // refused before the save query
  drop("wall.tq4o");
  ASSERT_EQ(answers.errors.size(), 3);
  EXPECT_TRUE(answers.errors[2].contains("it is a result file of a run"))
      << answers.errors[2].toStdString();
  ASSERT_EQ(::mkfifo((folder / "pipe.tq4d").c_str(), 0600), 0);
  drop("pipe.tq4d");  // looking into it would wait for a writer
  ASSERT_EQ(answers.errors.size(), 4);
  EXPECT_TRUE(
      answers.errors[3].contains("pipe.tq4d is not a TERRAQ data file: it is not a regular file"))
      << answers.errors[3].toStdString();
  drop("notes.txt");  // text: the reader says where it fails
  ASSERT_EQ(answers.errors.size(), 5);
  EXPECT_TRUE(answers.errors[4].startsWith(folder.File("notes.txt") + " cannot be opened"));
  EXPECT_EQ(answers.questions.size(), 1);  // the save query came first
  kept();
  form.UpdateMenuStates();
  EXPECT_EQ(form.windowTitle(), "TERRAQ 2013.4.7 - Wall.tq4d *");
}

TEST_F(MainFormTest, DroppedFileOpensAfterTheSaveQuery) {
  form.StartUp({});
  const auto file = CopySample("dropped.tq4d");
  form.Data().Modified = true;
  QMimeData mime;
  mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(file.string()))});
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  enter.ignore();
  form.dragEnterEvent(&enter);
  EXPECT_TRUE(enter.isAccepted());
  auto drop = [&] {
    QDropEvent event(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    form.dropEvent(&event);
    // Nothing is asked before the drop handler has returned.
    EXPECT_TRUE(answers.questions.isEmpty());
    ProcessEvents();
    EXPECT_EQ(answers.questions.size(), 1);
    answers.questions.clear();
  };
  answers.answer = TUserPrompts::Answer::Cancel;
  drop();
  EXPECT_EQ(form.Data().DataFileName, "NewWall.tq4d");
  answers.answer = TUserPrompts::Answer::No;
  drop();
  EXPECT_EQ(form.Data().DataFileName, file.string());
  EXPECT_EQ(form.RecentFiles().File(1), file.string());
}

// The standard Open and Save dialogs show a data file's whole name beside
// its size, type and date.
TEST(FileDialogsTest, OpenAndSaveDialogsShowWholeNames) {
  ScratchFolder folder;
  const std::string name = "retaining wall at the north ramp, stage two.tq4d";
  WriteText(folder / name, "");
  const QString saved = QDir::currentPath();
  QDir::setCurrent(folder.File(""));
  const ui::TUserPrompts standard = ui::TUserPrompts::Standard();
  int nameWidth = 0, needed = 0;
  // The dialog is awaited by condition, not for a fixed time: polled until
  // its name column is wide enough or a deadline passes, then closed, so
  // that a late dialog is still measured and a faulty one fails the test
  // rather than leaving it blocked in the dialog.
  const auto inspect = [&] {
    nameWidth = 0;
    needed = 1;  // a dialog never measured fails
    auto* poll = new QTimer(qApp);
    QElapsedTimer clock;
    clock.start();
    QObject::connect(poll, &QTimer::timeout, [&, poll, clock] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      auto* list = dialog ? dialog->findChild<QTreeView*>() : nullptr;
      if (list) {
        nameWidth = list->header()->sectionSize(0);
        needed = list->fontMetrics().horizontalAdvance(QString::fromStdString(name)) +
                 list->iconSize().width() + 16;
      }
      if (!(list && nameWidth >= needed) && !clock.hasExpired(10000)) return;
      poll->stop();
      poll->deleteLater();
      if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget())) modal->reject();
    });
    poll->start(10);
  };
  int filter = 0;
  inspect();
  EXPECT_EQ(standard.openFileName(nullptr, "Open", "Terraq 2013 (*.tq4d)", filter), "");
  EXPECT_GE(nameWidth, needed);
  inspect();
  EXPECT_EQ(standard.saveFileName(nullptr, "Save", "wall.tq4d", "Terraq 2013 (*.tq4d)"), "");
  EXPECT_GE(nameWidth, needed);
  QDir::setCurrent(saved);
}

}  // namespace
}  // namespace terraq::test
