// The main window: its menus and tool bar as the user meets them, the menu
// states, the Help items and the Window menu. Its files: MainFormFileTest.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QUrl>
#include <QSettings>
#include <QToolBar>

#include "GuiTestSupport.h"
#include "MainFormFixture.h"
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
  // one down; opening writes no stage file.
  EXPECT_TRUE(form.Menu("StageMenu")->menuAction()->isVisible());
  EXPECT_TRUE(form.Action("SpeedButton14")->isChecked());
  EXPECT_TRUE(form.Action("SpeedButton16")->isEnabled());
  EXPECT_FALSE(form.Action("SpeedButton17")->isEnabled());
  EXPECT_FALSE(std::filesystem::exists(folder / "staged.st3"));
  Trigger("FileNew");
  EXPECT_EQ(form.StageStatusText(), "");
  EXPECT_TRUE(Enabled("OptionsLong"));
}

// A pipe named like a data file would hang the window until someone wrote
// into it: it is refused at once.
TEST_F(MainFormTest, PipeNamedLikeADataFileIsRefusedAtOpen) {
  const auto pipe = folder / "pipe.tq4d";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  EXPECT_FALSE(form.OpenFile(QString::fromStdString(pipe.string()), ui::kLayoutCurrent));
  ASSERT_EQ(answers.errors.size(), 1);
  EXPECT_TRUE(answers.errors[0].endsWith("pipe.tq4d: it is not a regular file")) << answers.errors[0].toStdString();
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
