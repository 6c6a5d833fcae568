// The main window: its menus and tool bar as the user meets them, the menu
// states, the recent-file list in the settings, and the save query.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QTimer>
#include <QTreeView>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QDropEvent>
#include <QUrl>
#include <QSettings>
#include <QToolBar>

#include "GuiTestSupport.h"
#include "mainwindow/TMainForm.h"
#include "mainwindow/TTableWindows.h"

namespace terraq::test {
namespace {

using terraq::ui::TMainForm;

struct Entry {
  QString name;     // component name
  QString caption;  // with its access key
  QString shortcut; // portable text, "" for none
};

// The visible entries of a menu in order: items and submenus, without
// separators and recent files.
std::vector<Entry> EntriesOf(const QMenu* menu) {
  std::vector<Entry> entries;
  for (QAction* a : menu->actions()) {
    if (a->isSeparator() || a->objectName().startsWith(QLatin1String("RecentFile"))) continue;
    if (a->menu()) entries.push_back({a->menu()->objectName(), a->menu()->title(), QString()});
    else entries.push_back({a->objectName(), a->text(), a->shortcut().toString(QKeySequence::PortableText)});
  }
  return entries;
}

void ExpectEntries(const QMenu* menu, const std::vector<Entry>& expected) {
  ASSERT_NE(menu, nullptr);
  const std::vector<Entry> actual = EntriesOf(menu);
  ASSERT_EQ(actual.size(), expected.size()) << menu->title().toStdString();
  for (size_t k = 0; k < expected.size(); ++k) {
    EXPECT_EQ(actual[k].name, expected[k].name) << k;
    EXPECT_EQ(actual[k].caption, expected[k].caption) << expected[k].name.toStdString();
    EXPECT_EQ(actual[k].shortcut, expected[k].shortcut) << expected[k].name.toStdString();
  }
}

// The window with its drag-and-drop handlers within reach of the tests.
class FormUnderTest : public TMainForm {
 public:
  using TMainForm::dragEnterEvent;
  using TMainForm::dropEvent;
};

class MainFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Each test starts with empty settings.
    QSettings("Orvane", "TERRAQ").clear();
  }

  TestPrompts answers;
  ui::TPromptsOverride prompts{answers.Make()};
  ScratchFolder folder;
  FormUnderTest form;

  std::filesystem::path CopySample(const std::string& name, const std::string& source = "tests/data/cli-cantilever.tq4d") {
    const std::filesystem::path target = folder / name;
    std::filesystem::copy_file(SourcePath(source), target);
    return target;
  }
  bool Enabled(const char* name) { return form.Action(QLatin1String(name))->isEnabled(); }
  bool Visible(const char* name) { return form.Action(QLatin1String(name))->isVisible(); }
  void Trigger(const char* name) { form.Action(QLatin1String(name))->trigger(); }
  void OpenMenu(const char* name) {
    emit form.Menu(QLatin1String(name))->aboutToShow();
  }
};

TEST_F(MainFormTest, MenuBarHoldsTheMenusInOrder) {
  std::vector<Entry> top;
  for (QAction* a : form.menuBar()->actions()) top.push_back({a->menu()->objectName(), a->menu()->title(), {}});
  const std::vector<std::pair<QString, QString>> expected = {
      {"FileMenu", "&File"},   {"DataMenu", "Da&ta"},         {"OptionsMenu", "&Options"},
      {"StageMenu", "&Stage Construction"}, {"CompMenu", "&Computation"}, {"GraphicsMenu", "&Graphics"},
      {"ArrangeMenu", "&Window"}, {"HelpMenu", "&Help"}};
  ASSERT_EQ(top.size(), expected.size());
  for (size_t k = 0; k < expected.size(); ++k) {
    EXPECT_EQ(top[k].name, expected[k].first);
    EXPECT_EQ(top[k].caption, expected[k].second);
  }
}

TEST_F(MainFormTest, EveryMenuItemHasItsCaptionAccessKeyAndShortcut) {
  ExpectEntries(form.Menu("FileMenu"), {{"FileNew", "&New", "Ctrl+N"},
                                        {"FileOpen", "&Open...", "Ctrl+O"},
                                        {"FileSave", "&Save", "Ctrl+S"},
                                        {"FileSaveAs", "Save &As...", ""},
                                        {"FileExit", "E&xit", "Ctrl+Q"}});
  ExpectEntries(form.Menu("DataMenu"),
                {{"DataTitle", "&Title", ""},
                 {"DataProp", "Wall &Properties", ""},
                 {"DataCSD", "&Wall Configuration", ""},
                 {"DataAxLoads", "&Soil Layer Data", ""},
                 {"SoilLayerDataMenu", "&Soil Layer Data", ""},
                 {"DistributedActiveEarthPressureMenu", "&Distributed Active Earth Pressure", ""},
                 {"DataLoading", "&Distributed Active Earth Pressure", ""},
                 {"DataRebar", "&Additional Surcharge Loads", ""},
                 {"DataBoundCond", "&Concentrated Loads on the Wall", ""},
                 {"DataSoilLayer", "&Boundary Condition on Deflection or Slope", ""},
                 {"DataPYMod", "Modification &Factors for p-y Curves", ""},
                 {"DataPYCurves", "Sets of &External p-y Curves", ""},
                 {"DataSoilSpring", "&Lateral Springs and Rotational Restraints", ""},
                 {"DataEICurves", "Sets of Nonlinear Moment vs EI Curves", ""}});
  ExpectEntries(form.Menu("SoilLayerDataMenu"), {{"ShortTerm2", "Short-Term", ""}, {"LongTerm2", "Long-Term", ""}});
  ExpectEntries(form.Menu("DataLoading"), {{"ShortTerm1", "Short-Term", ""}, {"LongTerm1", "Long-Term", ""}});
  ExpectEntries(form.Menu("OptionsMenu"),
                {{"OptionsUnits", "&Units", ""},
                 {"OptionsKoutpt", "Earth-Pressure Options", ""},
                 {"OptionsKPYOP", "Generate &p-y Curves", ""},
                 {"OptionsConcentrate", "Apply &Concentrated Loads", ""},
                 {"OptionsTipRes", "Apply &Restraints on Deflection or Slope", ""},
                 {"OptionsPYCurves", "Apply User Specified p-y Curves (&External)", ""},
                 {"OptionsLateralSpring", "Apply &Lateral Springs and Rotation Restraints", ""},
                 {"OptionsPYMod", "Apply External p-y &Modification Factors ", ""},
                 {"OptionsSurcharge", "Apply Additional Surcharge Loads", ""},
                 {"OptionsEICurves", "Apply Nonlinear Moment vs EI Curves", ""},
                 {"OptionsLong", "Conduct Short-Term and Long-Term &Analyses", ""},
                 {"OptionsStaged", "Conduct &Staged-Construction Analysis...", ""},
                 {"OptionofTexeEditor1", "&Option of Text Editor...", ""}});
  ExpectEntries(form.Menu("OptionsUnits"), {{"UnitsEnglish", "&English Units (lbs, in)", ""},
                                            {"UnitsSI", "&SI Units (kN, m)", ""},
                                            {"UnitsOther", "&Other Units (F, L)", ""}});
  ExpectEntries(form.Menu("OptionsKoutpt"),
                {{"PressureUser", "Earth-Pressure Specified by User", ""},
                 {"PressureTriangular", "Generate Triangular-Distribution Earth-Pressure", ""},
                 {"PressureTrapezoidal", "Generate Trapezoidal-Distribution Pressure (Anchored Walls)", ""}});
  ExpectEntries(form.Menu("StageMenu"), {{"Stage1Menu", "Stage &1", ""},
                                         {"Stage2Menu", "Stage &2", ""},
                                         {"Stage3Menu", "Stage &3", ""},
                                         {"Stage4Menu", "Stage &4", ""},
                                         {"Stage5Menu", "Stage &5", ""},
                                         {"SaveCurrentStage", "Update &Current Stage", ""},
                                         {"CopyPreviousStage", "Copy &Previous Stage", ""}});
  ExpectEntries(form.Menu("CompMenu"), {{"CompRun", "&Run Analysis", ""},
                                        {"CompInput", "Edit I&nput Text", ""},
                                        {"CompKernel", "Edit &Processor-Run Notes", ""},
                                        {"CompOutput", "Edit &Output Text", ""},
                                        {"CompLayers", "&View Wall Geometry", ""}});
  ExpectEntries(form.Menu("GraphicsMenu"), {{"GraphPYCurves", "p-&y Curves", ""},
                                            {"GraphDeflection", "&Deflection vs Depth", ""},
                                            {"GraphMoment", "&Moment vs Depth", ""},
                                            {"GraphShear", "&Shear vs Depth", ""},
                                            {"GraphReaction", "&Reaction vs Depth", ""},
                                            {"GraphDeflectionMomentShear", "&Deflection, Moment and Shear", ""},
                                            {"GraphPressure", "Earth &Pressure Distribution", ""},
                                            {"GraphPressureCombined", "Earth Pressure Combined", ""}});
  ExpectEntries(form.Menu("ArrangeMenu"), {{"WindowCascade", "&Cascade", ""}, {"WindowArrangeIcons", "&Arrange Icons", ""}});
  ExpectEntries(form.Menu("HelpMenu"), {{"HelpContents", "&Contents", ""},
                                        {"HelpUsersManual", "&User's Manual", ""},
                                        {"HelpTechnicalManual", "&Technical Manual", ""},
                                        {"HelpAbout", "&About...", ""},
                                        {"HelpUpdates", "Check for &Updates", ""}});
}

TEST_F(MainFormTest, ToolBarButtonsCarryTheirHints) {
  const QToolBar* bar = form.findChild<QToolBar*>();
  ASSERT_NE(bar, nullptr);
  QStringList hints;
  for (QAction* a : bar->actions())
    if (!a->isSeparator()) hints << a->toolTip();
  EXPECT_EQ(hints, (QStringList{"New Data File", "Open Data File", "Save Data File", "Run Analysis",
                                "Stage Construction Option", "View Output File", "View Soil Profile",
                                "View p-y Curves", "Deflection Diagram", "Moment Diagram", "LShear Diagram",
                                "Soil-Reaction Diagram", "Soil-Reaction Diagram", "Pressure Diagram",
                                "Stage Const. 1", "Stage Const. 2", "Stage Const. 3", "Stage Const. 4",
                                "Stage Const. 5"}));
  for (QAction* a : bar->actions()) {
    if (a->isSeparator()) continue;
    EXPECT_FALSE(a->icon().isNull()) << a->toolTip().toStdString();
  }
}

TEST_F(MainFormTest, UnitsAndEarthPressureAreRadioGroups) {
  form.StartUp({});
  Trigger("UnitsSI");
  EXPECT_EQ(form.Data().Units, 2);
  EXPECT_TRUE(form.Action("UnitsSI")->isChecked());
  EXPECT_FALSE(form.Action("UnitsEnglish")->isChecked());
  EXPECT_TRUE(form.Data().IsModified());
  // MaxDeflection 100 in becomes 2.54 m.
  EXPECT_NEAR(form.Data().MaxDeflection, 2.54, 1e-12);

  // A new project has the user's pressure chosen from the start: the Data
  // menu offers its table whether or not the Options list was opened.
  OpenMenu("DataMenu");
  EXPECT_TRUE(Enabled("DistributedActiveEarthPressureMenu"));
  OpenMenu("OptionsKoutpt");
  EXPECT_EQ(form.Data().EarthPressureOption, 1);
  EXPECT_TRUE(form.Data().UserPressure);
  EXPECT_TRUE(form.Action("PressureUser")->isChecked());
  EXPECT_TRUE(Enabled("DistributedActiveEarthPressureMenu"));
  Trigger("PressureTrapezoidal");
  EXPECT_EQ(form.Data().EarthPressureOption, 3);
  EXPECT_FALSE(form.Data().UserPressure);
  EXPECT_FALSE(Enabled("DistributedActiveEarthPressureMenu"));
}

TEST_F(MainFormTest, OptionsEnableTheirDataItemsAndCloseTheirTablesWhenSwitchedOff) {
  form.StartUp({});
  EXPECT_FALSE(Enabled("DataPYMod"));
  Trigger("OptionsPYMod");
  EXPECT_TRUE(form.Data().UsePYMod);
  EXPECT_TRUE(form.Action("OptionsPYMod")->isChecked());
  EXPECT_TRUE(Enabled("DataPYMod"));
  Trigger("DataPYMod");
  EXPECT_NE(form.TableWindows().FormFor(form.Project().Tables().PYMod), nullptr);
  Trigger("OptionsPYMod");
  EXPECT_FALSE(Enabled("DataPYMod"));
  EXPECT_EQ(form.TableWindows().FormFor(form.Project().Tables().PYMod), nullptr);

  // Soil layers follow p-y generation.
  EXPECT_TRUE(Enabled("DataAxLoads"));
  Trigger("OptionsKPYOP");
  EXPECT_FALSE(Enabled("DataAxLoads"));
  // Dialog items follow their options too.
  EXPECT_FALSE(Enabled("DataBoundCond"));
  Trigger("OptionsConcentrate");
  EXPECT_TRUE(Enabled("DataBoundCond"));
}

TEST_F(MainFormTest, LongTermModeLaysOutTheDataMenuAndExcludesStaging) {
  form.StartUp({});
  EXPECT_TRUE(Visible("DataAxLoads"));
  EXPECT_FALSE(form.Menu("SoilLayerDataMenu")->menuAction()->isVisible());
  Trigger("OptionsLong");
  EXPECT_TRUE(form.Data().LongTerm);
  EXPECT_FALSE(Visible("DataAxLoads"));
  EXPECT_FALSE(Visible("DistributedActiveEarthPressureMenu"));
  EXPECT_TRUE(form.Menu("SoilLayerDataMenu")->menuAction()->isVisible());
  EXPECT_TRUE(form.Menu("DataLoading")->menuAction()->isVisible());
  EXPECT_TRUE(Visible("LongTerm2"));
  EXPECT_FALSE(Enabled("OptionsStaged"));
  EXPECT_FALSE(Enabled("ToolStaged"));
  Trigger("LongTerm2");
  EXPECT_NE(form.TableWindows().FormFor(form.Project().Tables().LongSoil), nullptr);
  // Leaving long-term mode closes the long-term tables.
  Trigger("OptionsLong");
  EXPECT_TRUE(Visible("DataAxLoads"));
  EXPECT_EQ(form.TableWindows().FormFor(form.Project().Tables().LongSoil), nullptr);
}

TEST_F(MainFormTest, StagedFileOpensAtStageOneWithoutTheLongTermCommand) {
  const auto file = CopySample("staged.tq4d", "tests/data/fuzz-seeds/three-stages.tq4d");
  form.StartUp({QString::fromStdString(file.string())});
  ASSERT_TRUE(answers.errors.isEmpty()) << answers.errors.join("\n").toStdString();
  EXPECT_EQ(form.Data().StageCount, 3);
  EXPECT_EQ(form.Data().CurrentStage, 1);
  EXPECT_EQ(form.StageStatusText(), "Construction Stage Number: 1");
  EXPECT_FALSE(Enabled("OptionsLong"));
  EXPECT_TRUE(form.Action("OptionsStaged")->isChecked());
  // The Stage menu and the stage buttons show the three stages, the first
  // one down; the files are split.
  EXPECT_TRUE(form.Menu("StageMenu")->menuAction()->isVisible());
  EXPECT_TRUE(form.Action("SpeedButton14")->isChecked());
  EXPECT_TRUE(form.Action("SpeedButton16")->isEnabled());
  EXPECT_FALSE(form.Action("SpeedButton17")->isEnabled());
  EXPECT_TRUE(std::filesystem::exists(folder / "staged.st3"));
  Trigger("FileNew");
  EXPECT_EQ(form.StageStatusText(), "");
  EXPECT_TRUE(Enabled("OptionsLong"));
}

TEST_F(MainFormTest, ComputationItemsFollowTheFilesBesideTheDataFile) {
  form.StartUp({});
  EXPECT_FALSE(Enabled("CompInput"));
  answers.saveName = folder.File("wall");
  ASSERT_TRUE(form.FileSaveAs());
  EXPECT_EQ(form.Data().DataFileName, (folder / "wall.tq4d").string());
  OpenMenu("CompMenu");
  EXPECT_TRUE(Enabled("CompInput"));
  EXPECT_FALSE(Enabled("CompOutput"));
  EXPECT_FALSE(Enabled("ToolViewOutput"));
  EXPECT_FALSE(Enabled("CompKernel"));
  WriteText(folder / "wall.tq4o", "report");
  WriteText(folder / "wall.tq4r", "notes");
  OpenMenu("CompMenu");
  EXPECT_TRUE(Enabled("CompOutput"));
  EXPECT_TRUE(Enabled("ToolViewOutput"));
  EXPECT_TRUE(Enabled("CompKernel"));

  // The viewing commands start the editor on those files.
  form.SetEditorPath("my-editor");
  Trigger("CompOutput");
  ASSERT_EQ(answers.started.size(), 1u);
  EXPECT_EQ(answers.started[0], (QStringList{"my-editor", folder.File("wall.tq4o")}));
  answers.processStarts = false;
  Trigger("CompKernel");
  ASSERT_EQ(answers.questions.size(), 1);
  EXPECT_TRUE(answers.questions.front().startsWith("The text editor \"my-editor\" could not be started."));
}

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

TEST_F(MainFormTest, UnreadableFileLeavesANewProject) {
  WriteText(folder / "broken.tq4d", "Title only\r\n1 1 x\r\n");
  form.StartUp({});
  EXPECT_FALSE(form.OpenFile(folder.File("broken.tq4d"), 1));
  ASSERT_EQ(answers.errors.size(), 1);
  EXPECT_EQ(form.Data().DataFileName, "NewWall.tq4d");
  EXPECT_EQ(form.windowTitle(), "TERRAQ 2013.4.7 - NewWall.tq4d");
}

TEST_F(MainFormTest, HelpOpensTheDocumentsOrSaysWhereTheyShouldBe) {
  QTemporaryDir docs;
  qputenv("TERRAQ_DOC_DIR", docs.path().toLocal8Bit());
  form.StartUp({});
  Trigger("HelpContents");
  ASSERT_EQ(answers.errors.size(), 1);
  EXPECT_TRUE(answers.errors[0].contains(QDir(docs.path()).filePath("help/index.html"))) << answers.errors[0].toStdString();
  EXPECT_TRUE(answers.openedUrls.isEmpty());

  QDir(docs.path()).mkpath("help");
  for (const char* name : {"help/index.html", "terraq-users-manual.pdf", "terraq-technical-manual.pdf"})
    QFile(QDir(docs.path()).filePath(name)).open(QIODevice::WriteOnly);
  Trigger("HelpContents");
  Trigger("HelpUsersManual");
  Trigger("HelpTechnicalManual");
  ASSERT_EQ(answers.openedUrls.size(), 3);
  EXPECT_EQ(QUrl(answers.openedUrls[0]).toLocalFile(), QDir(docs.path()).filePath("help/index.html"));
  EXPECT_TRUE(answers.openedUrls[1].endsWith("/terraq-users-manual.pdf"));
  EXPECT_TRUE(answers.openedUrls[2].endsWith("/terraq-technical-manual.pdf"));
  EXPECT_EQ(answers.errors.size(), 1);

  // A desktop without a viewer: the path is shown so the user can open it.
  answers.urlOpens = false;
  Trigger("HelpTechnicalManual");
  ASSERT_EQ(answers.errors.size(), 2);
  EXPECT_TRUE(answers.errors[1].contains("No viewer"));
  EXPECT_TRUE(answers.errors[1].contains(QDir(docs.path()).filePath("terraq-technical-manual.pdf")));
  qunsetenv("TERRAQ_DOC_DIR");
  answers.urlOpens = true;

  Trigger("HelpUpdates");
  ASSERT_EQ(answers.openedUrls.size(), 5);
  EXPECT_TRUE(answers.openedUrls.back().endsWith("checkupdates/check/check.php?TERRAQ;2013.4.7;04/07/13"));
}

TEST_F(MainFormTest, WindowMenuListsTheOpenWindows) {
  form.StartUp({});
  Trigger("DataAxLoads");
  Trigger("OptionofTexeEditor1");
  OpenMenu("ArrangeMenu");
  QStringList items;
  for (QAction* a : form.Menu("ArrangeMenu")->actions())
    if (!a->isSeparator()) items << a->text();
  EXPECT_EQ(items, (QStringList{"&Cascade", "&Arrange Icons", "Soil Layers", "Control Options"}));
}

}  // namespace
}  // namespace terraq::test

namespace terraq::test {
namespace {

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
  const auto inspect = [&] {
    QTimer::singleShot(200, [&] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      auto* list = dialog->findChild<QTreeView*>();
      nameWidth = list->header()->sectionSize(0);
      needed = list->fontMetrics().horizontalAdvance(QString::fromStdString(name)) + list->iconSize().width() + 16;
      dialog->reject();
    });
  };
  int filter = 0;
  inspect();
  EXPECT_EQ(standard.openFileName(nullptr, "Open", "Terraq 2013 (*.tq4d)", filter), "");
  EXPECT_GE(nameWidth, needed);
  nameWidth = 0;
  inspect();
  EXPECT_EQ(standard.saveFileName(nullptr, "Save", "wall.tq4d", "Terraq 2013 (*.tq4d)"), "");
  EXPECT_GE(nameWidth, needed);
  QDir::setCurrent(saved);
}

}  // namespace
}  // namespace terraq::test
