// The project's files changed on disk behind the program's back, as an edit
// in the text editor of Edit Input Text changes them: the window notices,
// asks Reload or Keep Mine, and no save (Run Analysis's included) writes
// over the edit without asking. The title bar marks unsaved changes.

#include <gtest/gtest.h>

#include <QTest>

#include "MainFormFixture.h"
#include "project/StageFiles.h"

namespace terraq::test {
namespace {

namespace fs = std::filesystem;

// Replaces the file as most editors save: a new file renamed over it.
void SaveAsAnEditorDoes(const fs::path& file, const std::string& text) {
  const fs::path scratch = file.string() + ".new";
  WriteText(scratch, text);
  fs::rename(scratch, file);
}

// The data file with another first line, the project's title.
std::string Retitled(const std::string& text, const std::string& title) {
  size_t end = text.find('\n');
  if (end > 0 && text[end - 1] == '\r') --end;
  return title + text.substr(end);
}

TEST_F(MainFormTest, EditOutsideIsAskedAboutAndNeverSavedOverUnasked) {
  const auto file = CopySample("wall.tq4d");
  form.StartUp({QString::fromStdString(file.string())});
  EXPECT_EQ(form.windowTitle(), "TERRAQ 2013.4.7 - Wall.tq4d");
  form.Data().IncrementCount = 44;
  form.Data().Modified = true;
  form.UpdateMenuStates();
  EXPECT_EQ(form.windowTitle(), "TERRAQ 2013.4.7 - Wall.tq4d *");

  // The system's watcher brings the question, renamed file and all.
  const std::string edited = Retitled(ReadText(file), "Edited outside");
  SaveAsAnEditorDoes(file, edited);
  answers.choice = 1;  // Keep Mine
  for (int waited = 0; answers.questions.isEmpty() && waited < 5000; waited += 50) QTest::qWait(50);
  ASSERT_EQ(answers.questions.size(), 1);
  EXPECT_TRUE(
      answers.questions[0].startsWith("wall.tq4d has been changed on disk by another program"))
      << answers.questions[0].toStdString();
  EXPECT_EQ(answers.choiceButtons.back(), (QStringList{"&Reload", "&Keep Mine"}));
  EXPECT_EQ(answers.choiceDefaults.back(), 1);  // Enter keeps the changes made here
  form.CheckFilesOnDisk();                      // once per change
  EXPECT_EQ(answers.questions.size(), 1);
  EXPECT_EQ(form.Data().IncrementCount, 44);

  // Save, and the save that Run Analysis does first, ask before they
  // overwrite the edit: No keeps it.
  answers.yesNo = false;
  EXPECT_FALSE(form.FileSave());
  Trigger("CompRun");
  EXPECT_EQ(ReadText(file), edited);
  ASSERT_EQ(answers.questions.size(), 3);
  EXPECT_TRUE(
      answers.questions[1].startsWith("wall.tq4d has been changed on disk since TERRAQ read it"));
  answers.yesNo = true;
  ASSERT_TRUE(form.FileSave());
  EXPECT_NE(ReadText(file).find("Cantilever"), std::string::npos);
  EXPECT_EQ(form.windowTitle(), "TERRAQ 2013.4.7 - Wall.tq4d");
  ASSERT_TRUE(form.FileSave());  // what the program wrote itself needs no question
  EXPECT_EQ(answers.questions.size(), 4);

  // Reload reads the edit; the project is then as its file.
  SaveAsAnEditorDoes(file, edited);
  answers.choice = 0;
  form.CheckFilesOnDisk();
  EXPECT_EQ(answers.choiceDefaults.back(), 0);  // nothing unsaved: Reload first
  EXPECT_EQ(form.Data().ProjectTitle, "Edited outside");
  EXPECT_FALSE(form.Data().IsModified());
  EXPECT_TRUE(answers.errors.isEmpty()) << answers.errors.join("\n").toStdString();
}

// A stage file edited outside: Reload shows the stage as edited; the data
// file assembled by the next save carries it.
TEST_F(MainFormTest, StageFileEditedOutsideIsReloaded) {
  const auto file = CopySample("wall.tq4d");
  form.StartUp({QString::fromStdString(file.string())});
  answers.yesNo = true;
  form.Project().SetStageCount(2);
  ASSERT_TRUE(form.FileSave());
  const fs::path stage1 = ui::StageFileName(file, 1);
  std::string text = ReadText(stage1);
  SaveAsAnEditorDoes(stage1, Retitled(text, "Stage one edited"));
  answers.choice = 0;
  form.CheckFilesOnDisk();
  ASSERT_EQ(answers.questions.size(), 1);
  EXPECT_TRUE(answers.questions[0].startsWith("wall.st1 has been changed"))
      << answers.questions[0].toStdString();
  EXPECT_EQ(form.Data().ProjectTitle, "Stage one edited");
  EXPECT_EQ(form.Data().CurrentStage, 1);
  EXPECT_TRUE(form.Data().IsModified());
  ASSERT_TRUE(form.FileSave());
  EXPECT_EQ(answers.questions.size(), 1);
  EXPECT_NE(ReadText(file).find("Stage one edited"), std::string::npos);
  EXPECT_TRUE(answers.errors.isEmpty()) << answers.errors.join("\n").toStdString();
}

}  // namespace
}  // namespace terraq::test
