// What the user entered or asked for is never lost or misreported: files are
// replaced only after a question, loads are never entered where they cannot
// be kept, a shipped sample stays as it is when run, a stopped analysis says
// so, and a report can always be read.

#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QSettings>

#include "GuiTestSupport.h"
#include "mainwindow/TMainForm.h"

namespace terraq::test {
namespace {

using terraq::ui::TMainForm;

class KeepUserDataTest : public ::testing::Test {
 protected:
  void SetUp() override { QSettings("Orvane", "TERRAQ").clear(); }

  TestPrompts answers;
  ui::TPromptsOverride prompts{answers.Make()};
  ScratchFolder folder;
  TMainForm form;

  std::filesystem::path CopySample(const std::string& name,
                                   const std::string& source = "tests/data/cli-cantilever.tq4d") {
    const std::filesystem::path target = folder / name;
    std::filesystem::copy_file(SourcePath(source), target);
    return target;
  }
  void Trigger(const char* name) { form.Action(QLatin1String(name))->trigger(); }
  bool Enabled(const char* name) { return form.Action(QLatin1String(name))->isEnabled(); }
};

TEST_F(KeepUserDataTest, SaveAsAsksBeforeReplacingAFileWhetherOrNotTheExtensionWasTyped) {
  const auto existing = CopySample("rock-copy.tq4d");
  const std::string before = ReadText(existing);
  form.StartUp({});
  form.Data().ProjectTitle = "Other wall";
  for (const char* typed : {"rock-copy", "rock-copy.tq4d"}) {
    answers.questions.clear();
    answers.saveName = folder.File(typed);
    answers.yesNo = false;  // keep the existing file
    EXPECT_FALSE(form.FileSaveAs()) << typed;
    ASSERT_EQ(answers.questions.size(), 1) << typed;
    EXPECT_TRUE(answers.questions.front().contains("rock-copy.tq4d")) << typed;
    EXPECT_EQ(ReadText(existing), before) << typed;
  }
  answers.yesNo = true;
  EXPECT_TRUE(form.FileSaveAs());
  EXPECT_EQ(ReadText(existing).rfind("Other wall\r\n", 0), 0u);
  // A new name needs no question.
  answers.questions.clear();
  answers.saveName = folder.File("fresh");
  EXPECT_TRUE(form.FileSaveAs());
  EXPECT_TRUE(answers.questions.isEmpty());
}

TEST_F(KeepUserDataTest, SurchargeLoadsAreOfferedOnlyWhereKeptAndNeverDroppedUnasked) {
  // Generated earth pressure and generated p-y curves.
  const auto data = CopySample("rock.tq4d", "examples/wall-socketed-weak-rock.tq4d");
  form.StartUp({QString::fromStdString(data.string())});
  ASSERT_EQ(form.Data().EarthPressureOption, 2);
  if (!form.Data().UseSurcharge) Trigger("OptionsSurcharge");
  ui::TGridTable& loads = form.Data().Tables().SurchargeTable;
  loads.SetRowCount(2);
  for (int row = 0; row < 2; ++row) {
    loads.Cell(0, row).SetInteger(row + 1);
    loads.Cell(1, row).SetFloat(10);
    loads.Cell(2, row).SetFloat(1500);
  }
  // The generated pressure alone still keeps the loads.
  Trigger("OptionsKPYOP");
  EXPECT_TRUE(answers.questions.isEmpty());
  EXPECT_TRUE(Enabled("OptionsSurcharge"));

  // Pressure specified by the user would drop them: No keeps everything.
  answers.yesNo = false;
  Trigger("PressureUser");
  ASSERT_EQ(answers.questions.size(), 1);
  EXPECT_TRUE(answers.questions.front().endsWith("Discard the 2 surcharge loads entered?"));
  EXPECT_EQ(form.Data().EarthPressureOption, 2);
  EXPECT_TRUE(form.Action("PressureTriangular")->isChecked());
  ASSERT_TRUE(form.FileSave());
  ASSERT_TRUE(form.OpenFile(QString::fromStdString(data.string()), 1));
  EXPECT_TRUE(form.Data().UseSurcharge);
  EXPECT_EQ(form.Data().Tables().SurchargeTable.RowCount(), 2);

  // Yes (p-y generation is still off): the loads go, and nothing offers to
  // enter them again.
  EXPECT_FALSE(form.Data().GeneratePY);
  answers.yesNo = true;
  Trigger("PressureUser");
  EXPECT_EQ(form.Data().EarthPressureOption, 1);
  EXPECT_FALSE(form.Data().UseSurcharge);
  EXPECT_FALSE(Enabled("OptionsSurcharge"));
  EXPECT_FALSE(Enabled("DataRebar"));
}

TEST_F(KeepUserDataTest, RunningAShippedSampleLeavesItsFileAsItWas) {
  int samples = 0;
  for (const auto& entry : std::filesystem::directory_iterator(SourcePath("examples"))) {
    if (entry.path().extension() != ".tq4d") continue;
    ++samples;
    const auto copy = folder / entry.path().filename().string();
    std::filesystem::copy_file(entry.path(), copy);
    ASSERT_TRUE(form.OpenFile(QString::fromStdString(copy.string()), 1));
    Trigger("CompRun");
    EXPECT_EQ(ReadText(copy), ReadText(entry.path())) << entry.path().filename();
  }
  EXPECT_TRUE(answers.errors.isEmpty()) << answers.errors.join("\n").toStdString();
  EXPECT_EQ(answers.informations.size(), samples);
}

TEST_F(KeepUserDataTest, RunThatStopsOnAnErrorSaysSoWithTheEnginesMessage) {
  const auto data = CopySample("big.tq4d", "tests/data/cli-too-much-data.tq4d");
  form.StartUp({QString::fromStdString(data.string())});
  Trigger("CompRun");
  EXPECT_TRUE(answers.informations.isEmpty()) << answers.informations.join("\n").toStdString();
  ASSERT_EQ(answers.errors.size(), 1);
  EXPECT_TRUE(answers.errors.front().startsWith("The analysis stopped:\nTOO MUCH DATA FOR AVAILABLE STORAGE"))
      << answers.errors.front().toStdString();
}

TEST_F(KeepUserDataTest, EditorIsACommandAndAReportCanAlwaysBeRead) {
  const auto data = CopySample("wall.tq4d");
  WriteText(folder / "wall.tq4o", "REPORT\r\n   STA   DEFL\r\n");
  form.StartUp({QString::fromStdString(data.string())});
  form.SetEditorPath("xterm -e 'less -R'");
  Trigger("CompOutput");
  ASSERT_EQ(answers.started.size(), 1u);
  EXPECT_EQ(answers.started[0], (QStringList{"xterm", "-e", "less -R", folder.File("wall.tq4o")}));

  // No editor starts: the question names it and offers the program's own
  // read-only window, Yes first.
  answers.processStarts = false;
  answers.choice = 0;
  Trigger("CompOutput");
  ASSERT_EQ(answers.questions.size(), 1);
  EXPECT_TRUE(answers.questions.front().startsWith("The text editor \"xterm\" could not be started."));
  EXPECT_EQ(answers.choiceButtons.back(), (QStringList{"&Yes", "&No"}));
  EXPECT_EQ(answers.choiceDefaults.back(), 0);
  auto* view = form.findChild<QPlainTextEdit*>("ReadOnlyText");
  ASSERT_NE(view, nullptr);
  EXPECT_TRUE(view->isReadOnly());
  EXPECT_EQ(view->toPlainText(), "REPORT\n   STA   DEFL\n");

  // A setting that cannot be split names what is wrong.
  form.SetEditorPath("'unclosed");
  answers.choice = 1;
  Trigger("CompOutput");
  ASSERT_EQ(answers.questions.size(), 2);
  EXPECT_TRUE(answers.questions.back().startsWith(
      "The text editor setting \"'unclosed\" cannot be used: a single quote is not closed."));
}

}  // namespace
}  // namespace terraq::test
