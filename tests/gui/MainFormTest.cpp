// The main window: its menus and tool bar as the user meets them, the menu
// states, the Help items and the Window menu. Its files: MainFormFileTest.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <map>

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

TEST_F(MainFormTest, MenuBarHoldsTheMenusInOrder) {
  std::vector<Entry> top;
  for (QAction* a : form.menuBar()->actions()) top.push_back({a->menu()->objectName(), a->menu()->title(), {}});
  const std::vector<std::pair<QString, QString>> expected = {{"FileMenu", "&File"},
                                                             {"EditMenu", "&Edit"},
                                                             {"DataMenu", "Da&ta"},
                                                             {"OptionsMenu", "&Options"},
                                                             {"StageMenu", "&Stage Construction"},
                                                             {"CompMenu", "&Computation"},
                                                             {"GraphicsMenu", "&Graphics"},
                                                             {"DesignMenu", "&Design"},
                                                             {"ArrangeMenu", "&Window"},
                                                             {"HelpMenu", "&Help"}};
  ASSERT_EQ(top.size(), expected.size());
  for (size_t k = 0; k < expected.size(); ++k) {
    EXPECT_EQ(top[k].name, expected[k].first);
    EXPECT_EQ(top[k].caption, expected[k].second);
  }
}

// The access key of a caption ("&x"; "&&" is a literal ampersand), or 0.
QChar AccessKey(const QString& caption) {
  for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != u'&') continue;
    if (caption[i + 1] != u'&') return caption[i + 1].toLower();
    ++i;
  }
  return {};
}

// The rules every menu keeps, checked on the visible entries of each menu:
// a caption without blanks at either end or doubled inside, one access key
// at most, no two entries of one menu on the same key, and no shortcut on
// two items of the menu bar. Each entry has the object name that settings
// and scripts find it by.
void ExpectMenuRules(const QMenuBar* bar) {
  std::map<QString, QString> shortcuts;  // shortcut -> item
  std::vector<const QMenu*> menus;
  std::map<QChar, QString> barKeys;
  for (QAction* a : bar->actions()) {
    if (!a->menu() || !a->isVisible()) continue;
    menus.push_back(a->menu());
    const QChar key = AccessKey(a->menu()->title());
    EXPECT_FALSE(key.isNull()) << a->menu()->title().toStdString();
    EXPECT_TRUE(barKeys.emplace(key, a->menu()->title()).second)
        << a->menu()->title().toStdString();
  }
  for (size_t m = 0; m < menus.size(); ++m) {
    const QMenu* menu = menus[m];
    std::map<QChar, QString> keys;  // access key -> caption
    for (QAction* a : menu->actions()) {
      if (a->isSeparator() || !a->isVisible() ||
          a->objectName().startsWith(QLatin1String("RecentFile")))
        continue;
      if (a->menu()) menus.push_back(a->menu());
      const QString caption = a->menu() ? a->menu()->title() : a->text();
      const QString name = a->menu() ? a->menu()->objectName() : a->objectName();
      const std::string where =
          menu->objectName().toStdString() + ": \"" + caption.toStdString() + "\"";
      EXPECT_FALSE(name.isEmpty()) << where;
      EXPECT_FALSE(caption.isEmpty()) << where;
      EXPECT_EQ(caption, caption.trimmed()) << where;
      EXPECT_FALSE(caption.contains(QLatin1String("  "))) << where;
      EXPECT_LE(caption.count(u'&') - 2 * caption.count(QLatin1String("&&")), 1) << where;
      const QChar key = AccessKey(caption);
      if (!key.isNull()) {
        const auto [it, fresh] = keys.emplace(key, caption);
        EXPECT_TRUE(fresh) << where << " has the access key of \"" << it->second.toStdString()
                           << "\"";
      }
      const QString shortcut = a->shortcut().toString(QKeySequence::PortableText);
      if (!shortcut.isEmpty()) {
        const auto [it, fresh] = shortcuts.emplace(shortcut, name);
        EXPECT_TRUE(fresh) << where << " has the shortcut of " << it->second.toStdString();
      }
    }
  }
}

// The rules hold in both layouts of the Data menu: the plain one and the one
// of short- and long-term analyses, which shows other items.
TEST_F(MainFormTest, MenusKeepTheirRulesInEveryLayout) {
  form.StartUp({});
  ExpectMenuRules(form.menuBar());
  EXPECT_FALSE(AccessKey("Save &As...").isNull());
  EXPECT_TRUE(AccessKey("Fish && Chips").isNull());
  Trigger("OptionsLong");
  ASSERT_TRUE(form.Menu("SoilLayerDataMenu")->menuAction()->isVisible());
  ExpectMenuRules(form.menuBar());
}

// The standard keys of the File menu.
TEST_F(MainFormTest, FileItemsHaveTheStandardShortcuts) {
  const auto shortcut = [this](const char* name) {
    return form.Action(QLatin1String(name))->shortcut().toString(QKeySequence::PortableText);
  };
  EXPECT_EQ(shortcut("FileNew"), "Ctrl+N");
  EXPECT_EQ(shortcut("FileOpen"), "Ctrl+O");
  EXPECT_EQ(shortcut("FileSave"), "Ctrl+S");
  EXPECT_EQ(shortcut("FileExit"), "Ctrl+Q");
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
  EXPECT_NE(form.TableWindows().FormFor(form.Project().Tables().LongTermSoilLayers), nullptr);
  // Leaving long-term mode closes the long-term tables.
  Trigger("OptionsLong");
  EXPECT_TRUE(Visible("DataAxLoads"));
  EXPECT_EQ(form.TableWindows().FormFor(form.Project().Tables().LongTermSoilLayers), nullptr);
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
  EXPECT_TRUE(answers.errors[0].contains("pipe.tq4d: it is not a regular file"))
      << answers.errors[0].toStdString();
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

  // F1 opens the page of the window being worked in, at its heading when
  // the page has one of the window's name.
  QFile page(QDir(docs.path()).filePath("help/tables-and-dialogs.html"));
  ASSERT_TRUE(page.open(QIODevice::WriteOnly));
  page.write("<h2><a name=\"wall-properties\"></a>Wall Properties</h2>");
  page.close();
  Trigger("HelpActiveWindow");
  EXPECT_TRUE(answers.openedUrls.back().endsWith("/help/index.html"));  // no window: the contents
  form.show();
  Trigger("DataProp");
  ProcessEvents();
  EXPECT_EQ(form.Action("HelpActiveWindow")->shortcut(), QKeySequence(Qt::Key_F1));
  Trigger("HelpActiveWindow");
  EXPECT_TRUE(answers.openedUrls.back().endsWith("/help/tables-and-dialogs.html#wall-properties"))
      << answers.openedUrls.back().toStdString();
  Trigger("DataTitle");
  ProcessEvents();
  Trigger("HelpActiveWindow");
  EXPECT_TRUE(answers.openedUrls.back().endsWith("/help/tables-and-dialogs.html"));
  form.MdiArea().closeAllSubWindows();

  // A desktop without a viewer: the path is shown so the user can open it.
  answers.urlOpens = false;
  Trigger("HelpTechnicalManual");
  ASSERT_EQ(answers.errors.size(), 2);
  EXPECT_TRUE(answers.errors[1].contains("No viewer"));
  EXPECT_TRUE(answers.errors[1].contains(QDir(docs.path()).filePath("terraq-technical-manual.pdf")));
  qunsetenv("TERRAQ_DOC_DIR");
  answers.urlOpens = true;

  // No address is opened: the box names the version installed and the
  // way updates come.
  const auto opened = answers.openedUrls.size();
  Trigger("HelpUpdates");
  EXPECT_EQ(answers.openedUrls.size(), opened);
  ASSERT_EQ(answers.informations.size(), 1);
  EXPECT_TRUE(
      answers.informations.back().startsWith("Installed: TERRAQ 2013.4.7, released 04/07/13."));
  EXPECT_TRUE(answers.informations.back().contains("package manager"));
}

TEST_F(MainFormTest, WindowMenuListsTheOpenWindows) {
  form.StartUp({});
  Trigger("DataAxLoads");
  Trigger("OptionofTexeEditor1");
  OpenMenu("ArrangeMenu");
  QStringList items;
  for (QAction* a : form.Menu("ArrangeMenu")->actions())
    if (!a->isSeparator()) items << a->text();
  EXPECT_EQ(items,
            (QStringList{"&Cascade", "&Tile", "&Arrange Icons", "Soil Layers", "Control Options"}));
}

}  // namespace
}  // namespace terraq::test
