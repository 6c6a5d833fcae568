// TMainForm: construction of the window, its menus and its tool bar.

#include "mainwindow/TMainForm.h"

#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include "dialogs/TDialogWindows.h"
#include "mainwindow/CommandRules.h"
#include "mainwindow/TFileWatch.h"
#include "mainwindow/TTableWindows.h"
#include "mainwindow/ToolIcons.h"
#include "plotwindow/TPlotWindows.h"
#include "project/EngineRun.h"
#include "project/StageFiles.h"
#include "widgets/FileNames.h"
#include "widgets/TUserPrompts.h"

namespace terraq::ui {

TMainForm::TMainForm(QWidget* parent)
    : QMainWindow(parent),
      mdiArea_(new QMdiArea(this)),
      tableWindows_(new TTableWindows(*mdiArea_, this)),
      plotWindows_(new TPlotWindows(*mdiArea_, this)),
      dialogWindows_(new TDialogWindows(
          *mdiArea_,
          {&project_, [this](TGridTable& table) { ShowTable(table); },
           [this](const TGridTable& table) { tableWindows_->Close(table); },
           [this] { return project_.Members().section; },
           [this](const std::optional<WallSection>& section) { SetWallSection(section); }},
          this)),
      engineLibrary_(DefaultEngineLibrary()),
      fileWatch_(new TFileWatch(this)) {
  setObjectName(QStringLiteral("MainForm"));
  mdiArea_->setObjectName(QStringLiteral("MdiArea"));
  mdiArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  mdiArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setCentralWidget(mdiArea_);
  createMenus();
  createToolBar();
  stageLabel_ = new QLabel(this);
  stageLabel_->setObjectName(QStringLiteral("StageStatus"));
  statusBar()->addPermanentWidget(stageLabel_);
  setAcceptDrops(true);
  setWindowTitle(FileNameText(MainCaption(Data().DataFileName)));
  resize(1024, 720);
  UpdateMenuStates();
  resetHistory();
  // Every accepted edit in a table window or data dialog is one step of Undo.
  connect(tableWindows_, &TTableWindows::edited, this, &TMainForm::projectEdited);
  connect(dialogWindows_, &TDialogWindows::edited, this, &TMainForm::projectEdited);
  connect(fileWatch_, &TFileWatch::filesTouched, this, &TMainForm::CheckFilesOnDisk);
  connect(plotWindows_, &TPlotWindows::curvesShown, this, &TMainForm::followGraphStage);
  liveTimer_ = new QTimer(this);
  liveTimer_->setSingleShot(true);
  connect(liveTimer_, &QTimer::timeout, this, &TMainForm::analyseLive);
  // Every step of the history, an edit or its undo, is analysed live.
  connect(this, &TMainForm::projectChanged, this, &TMainForm::analyseLiveSoon);
  // Edits in the windows change the project without a command: the "*" of
  // the title bar follows them by a glance now and then.
  auto* titleTimer = new QTimer(this);
  connect(titleTimer, &QTimer::timeout, this, &TMainForm::updateTitle);
  titleTimer->start(400);
}

TMainForm::~TMainForm() {
  // The child windows look at the project's tables: they go first, without
  // storing what may still be typed in them.
  closeChildWindows();
  delete mdiArea_;
  mdiArea_ = nullptr;
}

QAction* TMainForm::Action(const QString& name) const { return findChild<QAction*>(name); }
QMenu* TMainForm::Menu(const QString& name) const { return findChild<QMenu*>(name); }

QAction* TMainForm::addItem(QMenu* menu, const QString& name, const QString& caption) {
  QAction* action = menu->addAction(caption);
  action->setObjectName(name);
  return action;
}

QAction* TMainForm::addOption(QMenu* menu, const QString& name, const QString& caption,
                              bool TProgramData::* option, TGridTable* table) {
  QAction* action = addItem(menu, name, caption);
  action->setCheckable(true);
  connect(action, &QAction::triggered, this, [this, option, table, caption] {
    toggleOption(option, table);
    projectEdited(tr("Switch %1").arg(QString(caption).remove(QLatin1Char('&'))));
  });
  return action;
}

void TMainForm::createMenus() {
  createFileMenu();
  createEditMenu();
  createDataMenu();
  createOptionsMenu();
  createStageMenu();
  createComputationMenu();
  createGraphicsMenu();
  createDesignMenu();
  createWindowMenu();
  createHelpMenu();
  // Menu states are computed as each menu opens, after the current data
  // dialog stored its fields. A dialog that refuses an entry keeps the
  // focus: the menu closes again rather than act on the project without it.
  for (QMenu* menu : menuBar()->findChildren<QMenu*>())
    connect(menu, &QMenu::aboutToShow, this, [this, menu] {
      if (!dialogWindows_->StoreCurrent()) QTimer::singleShot(0, menu, &QMenu::close);
      UpdateMenuStates();
    });
}

void TMainForm::createFileMenu() {
  fileMenu_ = menuBar()->addMenu(tr("&File"));
  fileMenu_->setObjectName(QStringLiteral("FileMenu"));
  QAction* a = addItem(fileMenu_, QStringLiteral("FileNew"), tr("&New"));
  a->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
  connect(a, &QAction::triggered, this, &TMainForm::FileNew);
  a = addItem(fileMenu_, QStringLiteral("FileOpen"), tr("&Open..."));
  a->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  connect(a, &QAction::triggered, this, &TMainForm::FileOpen);
  a = addItem(fileMenu_, QStringLiteral("FileSave"), tr("&Save"));
  a->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  connect(a, &QAction::triggered, this, [this] { FileSave(); });
  a = addItem(fileMenu_, QStringLiteral("FileSaveAs"), tr("Save &As..."));
  connect(a, &QAction::triggered, this, [this] { FileSaveAs(); });
  fileMenu_->addSeparator();
  a = addItem(fileMenu_, QStringLiteral("FileExportReport"), tr("Export Calculation &Report..."));
  connect(a, &QAction::triggered, this, &TMainForm::FileExportReport);
  recentSeparator_ = fileMenu_->addSeparator();
  for (int k = 1; k <= TRecentFiles::kSize; ++k) {
    QAction* recent = addItem(fileMenu_, QStringLiteral("RecentFile%1").arg(k), QString());
    recent->setVisible(false);
    connect(recent, &QAction::triggered, this, [this, k] { OpenRecentFile(k); });
    recentActions_[static_cast<size_t>(k - 1)] = recent;
  }
  fileMenu_->addSeparator();
  a = addItem(fileMenu_, QStringLiteral("FileExit"), tr("E&xit"));
  a->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
  connect(a, &QAction::triggered, this, &QWidget::close);
}

void TMainForm::createStageMenu() {
  stageMenu_ = menuBar()->addMenu(tr("&Stage Construction"));
  stageMenu_->setObjectName(QStringLiteral("StageMenu"));
  stageItems_ = new QActionGroup(this);
  for (int k = 1; k <= kMaxStages; ++k) {
    QAction* a = addItem(stageMenu_, QStringLiteral("Stage%1Menu").arg(k), tr("Stage &%1").arg(k));
    a->setCheckable(true);
    stageItems_->addAction(a);
    connect(a, &QAction::triggered, this, [this, k] { switchStage(k); });
  }
  stageMenu_->addSeparator();
  QAction* a = addItem(stageMenu_, QStringLiteral("SaveCurrentStage"), tr("Update &Current Stage"));
  enableBy(a, &TMenuStates::staged);
  connect(a, &QAction::triggered, this, &TMainForm::saveCurrentStage);
  a = addItem(stageMenu_, QStringLiteral("CopyPreviousStage"), tr("Copy &Previous Stage"));
  enableBy(a, &TMenuStates::copyPreviousEnabled);
  connect(a, &QAction::triggered, this, &TMainForm::copyPreviousStage);
  stageMenu_->menuAction()->setVisible(false);
}

void TMainForm::createComputationMenu() {
  QMenu* comp = menuBar()->addMenu(tr("&Computation"));
  comp->setObjectName(QStringLiteral("CompMenu"));
  QAction* a = addItem(comp, QStringLiteral("CompRun"), tr("&Run Analysis"));
  connect(a, &QAction::triggered, this, &TMainForm::CompRun);
  liveItem_ = addItem(comp, QStringLiteral("CompLive"), tr("&Live Analysis"));
  liveItem_->setCheckable(true);
  liveItem_->setChecked(live_.Enabled());
  liveItem_->setToolTip(
      tr("Analyse the project in memory after each entry and redraw the open "
         "graphs (nothing is saved)"));
  connect(liveItem_, &QAction::triggered, this, &TMainForm::SetLiveAnalysis);
  comp->addSeparator();
  a = addItem(comp, QStringLiteral("CompInput"), tr("Edit I&nput Text"));
  connect(a, &QAction::triggered, this, [this] { ShowInEditor(DeriveRunPaths(Data().DataFileName).dataFile); });
  enableBy(a, &TMenuStates::inputEnabled);
  a = addItem(comp, QStringLiteral("CompKernel"), tr("Edit &Processor-Run Notes"));
  connect(a, &QAction::triggered, this, [this] { ShowInEditor(DeriveRunPaths(Data().DataFileName).monitorFile); });
  enableBy(a, &TMenuStates::runNotesEnabled);
  a = addItem(comp, QStringLiteral("CompOutput"), tr("Edit &Output Text"));
  connect(a, &QAction::triggered, this, [this] { ShowInEditor(DeriveRunPaths(Data().DataFileName).reportFile); });
  enableBy(a, &TMenuStates::outputEnabled);
  comp->addSeparator();
  a = addItem(comp, QStringLiteral("CompLayers"), tr("&View Wall Geometry"));
  connect(a, &QAction::triggered, this, &TMainForm::ShowSideView);
  addStudyItem(comp);
  addDesignSituationsItem(comp);
  comp->setToolTipsVisible(true);
}

void TMainForm::createGraphicsMenu() {
  QMenu* graphics = menuBar()->addMenu(tr("&Graphics"));
  graphics->setObjectName(QStringLiteral("GraphicsMenu"));
  const QString captions[kGraphCount] = {tr("p-&y Curves"),
                                         tr("&Deflection vs Depth"),
                                         tr("&Moment vs Depth"),
                                         tr("&Shear vs Depth"),
                                         tr("&Reaction vs Depth"),
                                         tr("Deflection, Moment &and Shear"),
                                         tr("Earth &Pressure Distribution"),
                                         tr("Earth Pressure Combined"),
                                         tr("&Utilisation of the Section"),
                                         tr("M&obilised Earth Pressure")};
  const QString names[kGraphCount] = {
      QStringLiteral("GraphPYCurves"),    QStringLiteral("GraphDeflection"),
      QStringLiteral("GraphMoment"),      QStringLiteral("GraphShear"),
      QStringLiteral("GraphReaction"),    QStringLiteral("GraphDeflectionMomentShear"),
      QStringLiteral("GraphPressure"),    QStringLiteral("GraphPressureCombined"),
      QStringLiteral("GraphUtilisation"), QStringLiteral("GraphMobilisedPressure")};
  // Enabled while the graphs read from the plot file have something to draw
  // (ComputeMenuStates); each shows its graph (Graph(kind)) in a plot window.
  for (int k = 0; k < kGraphCount; ++k) {
    graphItems_[k] = addItem(graphics, names[k], captions[k]);
    connect(graphItems_[k], &QAction::triggered, this, [this, k] { ShowGraph(static_cast<GraphKind>(k)); });
  }
  // The utilisation item says why it is disabled (UtilisationNote).
  graphics->setToolTipsVisible(true);
}

void TMainForm::createWindowMenu() {
  windowMenu_ = menuBar()->addMenu(tr("&Window"));
  windowMenu_->setObjectName(QStringLiteral("ArrangeMenu"));
  QAction* a = addItem(windowMenu_, QStringLiteral("WindowCascade"), tr("&Cascade"));
  connect(a, &QAction::triggered, mdiArea_, &QMdiArea::cascadeSubWindows);
  a = addItem(windowMenu_, QStringLiteral("WindowTile"), tr("&Tile"));
  connect(a, &QAction::triggered, mdiArea_, &QMdiArea::tileSubWindows);
  a = addItem(windowMenu_, QStringLiteral("WindowArrangeIcons"), tr("&Arrange Icons"));
  connect(a, &QAction::triggered, this, &TMainForm::arrangeIcons);
  connect(windowMenu_, &QMenu::aboutToShow, this, &TMainForm::fillWindowMenu);
}

void TMainForm::createHelpMenu() {
  QMenu* help = menuBar()->addMenu(tr("&Help"));
  help->setObjectName(QStringLiteral("HelpMenu"));
  QAction* a = addItem(help, QStringLiteral("HelpContents"), tr("&Contents"));
  connect(a, &QAction::triggered, this, [this] { showHelpDocument(QStringLiteral("help/index.html")); });
  a = addItem(help, QStringLiteral("HelpUsersManual"), tr("&User's Manual"));
  connect(a, &QAction::triggered, this, [this] { showHelpDocument(QStringLiteral("terraq-users-manual.pdf")); });
  a = addItem(help, QStringLiteral("HelpTechnicalManual"), tr("&Technical Manual"));
  connect(a, &QAction::triggered, this, [this] { showHelpDocument(QStringLiteral("terraq-technical-manual.pdf")); });
  help->addSeparator();
  a = addItem(help, QStringLiteral("HelpAbout"), tr("&About..."));
  connect(a, &QAction::triggered, this, &TMainForm::showAbout);
  a = addItem(help, QStringLiteral("HelpUpdates"), tr("Check for Up&dates"));
  connect(a, &QAction::triggered, this, &TMainForm::checkForUpdates);
  // F1: the help page of the window being worked in. A window's action, not
  // a menu item: the Help menu would have to name every window.
  a = new QAction(tr("Help on the Active Window"), this);
  a->setObjectName(QStringLiteral("HelpActiveWindow"));
  a->setShortcut(QKeySequence::HelpContents);
  a->setShortcutContext(Qt::WindowShortcut);
  addAction(a);
  connect(a, &QAction::triggered, this, [this] { showHelpDocument(ActiveWindowHelpPage()); });
}

void TMainForm::createToolBar() {
  toolBar_ = addToolBar(tr("Tools"));
  toolBar_->setObjectName(QStringLiteral("ToolBar"));
  toolBar_->setMovable(false);
  toolBar_->setIconSize(QSize(24, 24));
  auto button = [this](const QString& name, ToolIconKind icon, const QString& hint) {
    QAction* a = toolBar_->addAction(ToolIcon(icon), hint);
    a->setObjectName(name);
    a->setToolTip(hint);
    a->setStatusTip(hint);
    return a;
  };
  connect(button(QStringLiteral("ToolNew"), ToolIconKind::New, tr("New Data File")), &QAction::triggered, this,
          &TMainForm::FileNew);
  connect(button(QStringLiteral("ToolOpen"), ToolIconKind::Open, tr("Open Data File")), &QAction::triggered, this,
          &TMainForm::FileOpen);
  connect(button(QStringLiteral("ToolSave"), ToolIconKind::Save, tr("Save Data File")), &QAction::triggered, this,
          [this] { FileSave(); });
  toolBar_->addSeparator();
  connect(button(QStringLiteral("ToolRun"), ToolIconKind::Run, tr("Run Analysis")), &QAction::triggered, this,
          &TMainForm::CompRun);
  QAction* staged = button(QStringLiteral("ToolStaged"), ToolIconKind::StageOption, tr("Stage Construction Option"));
  connect(staged, &QAction::triggered, this, [this] { ShowStagedDialog(false); });
  enableBy(staged, &TMenuStates::stagedEnabled);
  QAction* viewOutput = button(QStringLiteral("ToolViewOutput"), ToolIconKind::ViewOutput, tr("View Output File"));
  connect(viewOutput, &QAction::triggered, this,
          [this] { ShowInEditor(DeriveRunPaths(Data().DataFileName).reportFile); });
  enableBy(viewOutput, &TMenuStates::outputEnabled);
  connect(button(QStringLiteral("ToolSoilProfile"), ToolIconKind::SoilProfile, tr("View Soil Profile")),
          &QAction::triggered, this, &TMainForm::ShowSideView);
  toolBar_->addSeparator();
  graphButtons_[kGraphPYCurves] = button(QStringLiteral("ToolPYCurves"), ToolIconKind::PYCurves, tr("View p-y Curves"));
  graphButtons_[kGraphDeflection] =
      button(QStringLiteral("ToolDeflection"), ToolIconKind::Deflection, tr("Deflection Diagram"));
  graphButtons_[kGraphMoment] = button(QStringLiteral("ToolMoment"), ToolIconKind::Moment, tr("Moment Diagram"));
  graphButtons_[kGraphShear] = button(QStringLiteral("ToolShear"), ToolIconKind::Shear, tr("LShear Diagram"));
  graphButtons_[kGraphReaction] =
      button(QStringLiteral("ToolReaction"), ToolIconKind::SoilReaction, tr("Soil-Reaction Diagram"));
  graphButtons_[kGraphDeflectionMomentShear] = button(QStringLiteral("ToolDeflectionMomentShear"),
                                                      ToolIconKind::DeflectionMomentShear, tr("Soil-Reaction Diagram"));
  graphButtons_[kGraphPressure] = button(QStringLiteral("ToolPressure"), ToolIconKind::Pressure, tr("Pressure Diagram"));
  for (int k = 0; k < kGraphCount; ++k)
    if (graphButtons_[k])
      connect(graphButtons_[k], &QAction::triggered, this, [this, k] { ShowGraph(static_cast<GraphKind>(k)); });

  // The stage buttons: one group, one down at a time; shown for staged
  // projects.
  stageButtons_ = new QActionGroup(this);
  stageButtons_->setExclusive(true);
  for (int k = 1; k <= kMaxStages; ++k) {
    QAction* a = toolBar_->addAction(StageIcon(k), tr("Stage Const. %1").arg(k));
    a->setObjectName(QStringLiteral("SpeedButton%1").arg(13 + k));
    a->setToolTip(tr("Stage Const. %1").arg(k));
    a->setCheckable(true);
    a->setVisible(false);
    stageButtons_->addAction(a);
    connect(a, &QAction::triggered, this, [this, k] { switchStage(k); });
  }
}

}  // namespace terraq::ui
