// Run Analysis from the main window: the engine library beside the test
// program analyses a saved project; the program answers a missing library
// with its message and keeps running.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QSettings>

#include "GuiTestSupport.h"
#include "mainwindow/TMainForm.h"

namespace terraq::test {
namespace {

namespace fs = std::filesystem;
using terraq::ui::TMainForm;

const QString kCompleted = "Computations are completed. Please, check output file for results or error messages.";

class RunTest : public ::testing::Test {
 protected:
  // Anything a run put in the temporary folder would land in one of this
  // test's own.
  void SetUp() override {
    QSettings("Orvane", "TERRAQ").clear();
    fs::create_directory(runTemp);
    savedTemp = qgetenv("TMPDIR");
    qputenv("TMPDIR", QByteArray::fromStdString(runTemp.string()));
  }
  void TearDown() override {
    if (savedTemp.isEmpty()) qunsetenv("TMPDIR");
    else qputenv("TMPDIR", savedTemp);
  }

  TestPrompts answers;
  ui::TPromptsOverride prompts{answers.Make()};
  ScratchFolder folder;
  TMainForm form;
  fs::path runTemp = folder / "temp";
  QByteArray savedTemp;

  fs::path Sample(const std::string& name) {
    const fs::path target = folder / name;
    fs::copy_file(SourcePath("examples/cantilever-point-load.tq4d"), target);
    return target;
  }
};

TEST_F(RunTest, WholeRunLeavesReportPlotAndNotesAndNoNamesFile) {
  const fs::path data = Sample("wall.tq4d");
  form.StartUp({QString::fromStdString(data.string())});
  ASSERT_FALSE(form.ResultsAvailable());

  form.Action("CompRun")->trigger();

  EXPECT_TRUE(answers.errors.isEmpty()) << answers.errors.join("\n").toStdString();
  EXPECT_EQ(answers.informations, QStringList{kCompleted});
  EXPECT_TRUE(answers.warnings.isEmpty());
  for (const char* extension : {".tq4o", ".tq4p", ".tq4r"})
    EXPECT_TRUE(fs::exists(fs::path(data).replace_extension(extension))) << extension;
  EXPECT_NE(ReadText(fs::path(data).replace_extension(".tq4o")).find("END OF ANALYSIS"), std::string::npos);
  // The analysis went through memory: no names file beside the data file
  // or the program, nothing in the temporary folder.
  EXPECT_FALSE(fs::exists(folder / "names.dat"));
  EXPECT_FALSE(fs::exists(fs::path(TERRAQ_BIN_DIR) / "names.dat"));
  EXPECT_TRUE(fs::is_empty(runTemp));
  EXPECT_EQ(QDir::currentPath().toStdString(), folder.Path().string());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  EXPECT_TRUE(form.ResultsAvailable());
  EXPECT_TRUE(form.Action("CompOutput")->isEnabled());
  EXPECT_TRUE(form.Action("ToolViewOutput")->isEnabled());
  EXPECT_TRUE(form.Action("CompKernel")->isEnabled());
  // The plot file was read into the graphs: one curve of the wall's 41 stations.
  EXPECT_TRUE(form.GraphsLoaded());
  EXPECT_EQ(form.Graph(ui::kGraphDeflection).Lines.at(0).PointCount(), 41);
  EXPECT_EQ(form.Graph(ui::kGraphDeflection).ResultsMark, "");
  EXPECT_TRUE(form.Action("GraphDeflection")->isEnabled());
}

TEST_F(RunTest, ModifiedProjectIsSavedBeforeTheRun) {
  const fs::path data = Sample("wall.tq4d");
  form.StartUp({QString::fromStdString(data.string())});
  form.Data().ProjectTitle = "Saved by the run";
  form.Data().Modified = true;
  form.CompRun();
  EXPECT_EQ(ReadText(data).rfind("Saved by the run\r\n", 0), 0u);
  EXPECT_FALSE(form.Data().IsModified());
  EXPECT_NE(ReadText(fs::path(data).replace_extension(".tq4o")).find("Saved by the run"), std::string::npos);
}

TEST_F(RunTest, AbsentEngineLibraryIsReportedAndTheProgramKeepsRunning) {
  const fs::path data = Sample("wall.tq4d");
  form.StartUp({QString::fromStdString(data.string())});
  form.SetEngineLibrary(folder / "Terraq2013_DLL.so");  // not there
  form.CompRun();
  EXPECT_EQ(answers.errors, QStringList{"Attempt to initialize DLL failed"});
  EXPECT_TRUE(answers.informations.isEmpty());
  EXPECT_FALSE(fs::exists(fs::path(data).replace_extension(".tq4o")));
  EXPECT_FALSE(form.ResultsAvailable());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  // A library without the entry is refused the same way.
  WriteText(folder / "not-an-engine.so", "this is no library");
  form.SetEngineLibrary(folder / "not-an-engine.so");
  form.CompRun();
  EXPECT_EQ(answers.errors.size(), 2);
  EXPECT_EQ(answers.errors.back(), "Attempt to initialize DLL failed");

  // With the engine back in place the next run goes through.
  form.SetEngineLibrary(fs::path(TERRAQ_BIN_DIR) / "Terraq2013_DLL.so");
  form.CompRun();
  EXPECT_EQ(answers.informations, QStringList{kCompleted});
  EXPECT_TRUE(fs::exists(fs::path(data).replace_extension(".tq4o")));
}

TEST_F(RunTest, StagedProjectIsAssembledFromItsStagesAndRun) {
  const fs::path data = folder / "staged.tq4d";
  fs::copy_file(SourcePath("tests/data/fuzz-seeds/three-stages.tq4d"), data);
  form.StartUp({QString::fromStdString(data.string())});
  ASSERT_EQ(form.Data().StageCount, 3);
  form.CompRun();
  EXPECT_TRUE(answers.errors.isEmpty()) << answers.errors.join("\n").toStdString();
  // Nothing holds this wall's foot: the run completes, and a warning headed
  // by its verdict says that the results of every stage are not valid; the
  // graphs carry the verdict.
  EXPECT_TRUE(answers.informations.isEmpty());
  ASSERT_EQ(answers.warnings.size(), 1);
  EXPECT_TRUE(
      answers.warnings.front().startsWith("RESULTS NOT VALID: singular equations in stages 1-3.\n"))
      << answers.warnings.front().toStdString();
  EXPECT_EQ(answers.warnings.front().count("RESULTS NOT VALID"), 4);
  EXPECT_EQ(form.Graph(ui::kGraphDeflection).ResultsMark,
            "RESULTS NOT VALID: singular equations in stages 1-3");
  const std::string text = ReadText(data);
  EXPECT_NE(text.find(" Stage No : 2"), std::string::npos);
  EXPECT_NE(text.find(" Stage No : 3"), std::string::npos);
  EXPECT_NE(ReadText(fs::path(data).replace_extension(".tq4o")).find("END OF ANALYSIS"), std::string::npos);
}

TEST_F(RunTest, NeverSavedProjectAsksForANameAndCancelledRunsNothing) {
  form.StartUp({});
  QDir::setCurrent(QString::fromStdString(folder.Path().string()));
  answers.saveName.clear();
  form.CompRun();
  EXPECT_EQ(answers.saveTitles, QStringList{"Save NewWall.tq4d As"});
  EXPECT_TRUE(answers.informations.isEmpty());
  EXPECT_TRUE(answers.errors.isEmpty());
  EXPECT_TRUE(fs::is_empty(runTemp));
  fs::remove(runTemp);
  EXPECT_TRUE(fs::is_empty(folder.Path()));
}

TEST_F(RunTest, DefaultsThatStopTheEngineAreRefusedNamingWhatToFix) {
  // A new project holds what its dialog shows (1 increment) but no wall yet.
  form.StartUp({});
  EXPECT_EQ(form.Data().IncrementCount, 1);
  answers.saveName = QString::fromStdString((folder / "new.tq4d").string());
  form.CompRun();
  EXPECT_EQ(answers.errors, QStringList{"Wall Properties: the increment length must be greater than zero."});
  EXPECT_FALSE(fs::exists(folder / "new.tq4o"));

  // A generated pressure chosen while the soil layers cannot be entered
  // would run the wall without any earth pressure.
  form.Data().IncrementLength = 6;
  form.Action("PressureTriangular")->trigger();
  form.Action("OptionsKPYOP")->trigger();  // p-y generation off
  ASSERT_FALSE(form.Data().GeneratePY);
  form.CompRun();
  EXPECT_TRUE(answers.errors.back().startsWith("Earth-Pressure Options: a generated earth pressure"));
  EXPECT_FALSE(fs::exists(folder / "new.tq4o"));

  // The one-point curve created when the option is ticked.
  const fs::path data = Sample("wall.tq4d");
  form.StartUp({QString::fromStdString(data.string())});
  form.Action("OptionsEICurves")->trigger();
  form.CompRun();
  EXPECT_EQ(answers.errors.back(),
            "Nonlinear Moment vs EI Curves, row 1: the curve needs at least 2 points of moment and EI.");
  EXPECT_FALSE(fs::exists(fs::path(data).replace_extension(".tq4o")));
  EXPECT_TRUE(answers.informations.isEmpty());
}

}  // namespace
}  // namespace terraq::test
