#pragma once
// TMainForm: the program's one top-level window. A multiple-document frame
// whose child windows are the table windows, the data dialogs and (later)
// the graph windows and the wall view; it owns the project and the result
// graphs read from the project's plot file, carries the menus and the tool bar, keeps the settings (editor, recent files), and
// drives New, Open, Save, Save As and the analysis run.
//
// Menu items and tool-bar buttons are QActions named after their
// components (FileNew, DataPYMod, CompRun, ...). Their states follow the
// rules of TMenuStates, applied whenever a menu opens and after every
// command that changes the project or its files; each action is bound to
// its flag when it is made, so applying the states looks nothing up.
//
// Everything that asks the user goes through TUserPrompts, so that tests
// answer in the user's place.

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

#include "SequentialStaging.h"
#include "graphs/LiveAnalysis.h"
#include "mainwindow/MenuStates.h"
#include "mainwindow/TRecentFiles.h"
#include "project/DesignRecord.h"
#include "project/EditHistory.h"
#include "project/FactorSetsMember.h"
#include "project/RunSummary.h"
#include "project/TProject.h"
#include "project/WallSection.h"

class QAction;
class QActionGroup;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QTimer;
class QToolBar;

namespace terraq::ui {

class TDialogWindows;
class TDesignForm;
class TDlgStaged;
class TFileWatch;
class TPlotWindows;
class TTableForm;
class TTableWindows;

class TMainForm : public QMainWindow {
  Q_OBJECT

 public:
  explicit TMainForm(QWidget* parent = nullptr);
  ~TMainForm() override;

  // Program start: reads the settings, then opens the data file named by
  // the first argument (".tq4d" added when it has no extension) when it
  // exists, or starts a new project.
  void StartUp(const QStringList& arguments);

  // Where a help page or manual is: in the folder named by the environment
  // variable TERRAQ_DOC_DIR when set, else in "doc" beside the executable or
  // in the installed data folder; where the build tree would keep it when it
  // is in neither.
  static QString DocumentPath(const QString& fileName);

  TProject& Project() { return project_; }
  TProgramData& Data() { return project_.Data(); }
  TTableWindows& TableWindows() { return *tableWindows_; }
  TDialogWindows& DialogWindows() { return *dialogWindows_; }
  QMdiArea& MdiArea() const { return *mdiArea_; }
  const TRecentFiles& RecentFiles() const { return recentFiles_; }
  const QString& EditorPath() const { return editorPath_; }
  void SetEditorPath(const QString& path) { editorPath_ = path; }
  // The engine library a run loads (by default the one beside the program).
  void SetEngineLibrary(const std::filesystem::path& library) { engineLibrary_ = library; }
  // The result graphs, read from the project's plot file after opening it
  // and after every run; a plot window refers to its graph for as long as
  // the main window lives.
  TResultGraphs& Graphs() { return graphs_; }
  // The graph a Graphics-menu item or tool-bar button shows.
  TGraphPlot& Graph(GraphKind kind) { return graphs_.Graph(kind); }
  TPlotWindows& PlotWindows() { return *plotWindows_; }
  // Shows a result graph in its plot window.
  void ShowGraph(GraphKind kind);
  // The last reading of the plot file succeeded: the graphs hold the
  // project's results ("results available").
  bool GraphsLoaded() const { return graphsLoaded_; }
  bool ResultsAvailable() const { return graphsLoaded_; }
  // The wall's steel section the project remembers (nullopt: none), kept
  // in the project file beside the data file when the project is saved
  // (MainFormSection.cpp).
  const std::optional<WallSection>& ProjectWallSection() const {
    return project_.Members().section;
  }
  // Takes a section chosen in Wall Properties (its EI already in the
  // project): the utilisation of the earlier one is forgotten until the
  // next run, the stiffness table and the dialogs show the project anew.
  void SetWallSection(const std::optional<WallSection>& section);
  // The sets of partial factors the project is designed with (nullopt:
  // none chosen), kept in the project file beside the data file when the
  // project is saved (MainFormDesignSituations.cpp).
  const std::optional<DesignSituationsChoice>& ProjectDesignSituations() const {
    return project_.Members().designSituations;
  }
  // Takes the choice of the Design Situations window; the project is then
  // modified.
  void SetDesignSituations(const DesignSituationsChoice& choice);
  // The construction sequence of the project (nullopt: none), kept in the
  // project file beside the data file when the project is saved, in the
  // data file's units (MainFormSequence.cpp).
  const std::optional<design::SequentialPlan>& ProjectSequence() const {
    return project_.Members().sequence;
  }
  // Takes the plan of the Construction Sequence window (one without stages
  // and supports: none); the project is then modified.
  void SetSequence(const design::SequentialPlan& plan);
  // Why the utilisation graph cannot be shown ("" when it can): the tool
  // tip of its disabled menu item.
  QString UtilisationNote() const;
  // The stage text of the status bar ("" for a project of one stage).
  QString StageStatusText() const;
  const TMenuStates& MenuStates() const { return states_; }

  // Live analysis (MainFormLive.cpp): after each accepted entry the project
  // as edited is analysed in memory and the open graphs and the side view
  // show its results, marked "live — not saved" until the project is saved
  // and run. The option is the Computation menu's "Live Analysis", kept in
  // the settings.
  const TLiveAnalysis& LiveAnalysis() const { return live_; }
  void SetLiveAnalysis(bool on);
  // The limit of a project's first live analysis (ms), for tests.
  void SetLiveLimit(double milliseconds) { live_.SetLimit(milliseconds); }

  // A menu item or tool-bar button by component name (a search: for tests
  // and rare use, never on the path of a menu opening).
  QAction* Action(const QString& name) const;
  QMenu* Menu(const QString& name) const;

  // --- commands (menu items and tool-bar buttons call these)

  // Asks whether to save a modified project. False when the command that
  // asked must stop: Cancel, or Yes and the project was not saved.
  bool SaveQuery();
  void FileNew();
  void FileOpen();
  // Reads a data file in a layout and makes it the project; false (after an
  // error box naming the file and its fault) when it cannot be read, the
  // open project staying as it was.
  bool OpenFile(const QString& path, int layout);
  // Asks about the project's files that changed on disk since the program
  // read or wrote them: Reload or Keep Mine. The file watcher calls it.
  void CheckFilesOnDisk();
  // Opens recent file `number` (1..10) after the save query.
  void OpenRecentFile(int number);
  bool FileSave();
  bool FileSaveAs();
  void CompRun();
  // Reads a plot file into the graphs and keeps the outcome as
  // GraphsLoaded. With `reportErrors` a file that cannot be read is reported
  // in a message box. The caller updates the menu states.
  bool ReadPlotFile(const std::filesystem::path& file, bool reportErrors);
  // Shows a file in the text editor.
  void ShowInEditor(const std::filesystem::path& file);
  void SetUnits(int units);
  void SetEarthPressureOption(int option);
  // Opens the window of a project table.
  void ShowTable(TGridTable& table);
  // Opens the side view of the wall and soil profile (or raises it).
  void ShowSideView();
  // The stage (from 1) of the construction sequence whose results a graph
  // shows: the one curve it draws of a curve per stage, after a run of the
  // sequence; 0 when it shows no one stage. The Side View follows it.
  int GraphStage(const TGraphPlot& graph) const;
  // Opens the Design window (or raises it): MainFormDesign.cpp.
  void ShowDesign();
  // Opens the Study window (or raises it): MainFormStudy.cpp.
  void ShowStudy();
  // Opens the Design Situations window (or raises it).
  void ShowDesignSituations();
  // Opens the Construction Sequence window (or raises it).
  void ShowSequence();
  // File > Export Calculation Report: saves the project, makes the
  // package of its data file and opens its preview, from which it is saved.
  void FileExportReport();
  // The staged-construction dialog: modal from the Options menu, modeless
  // from the tool bar. Not while long-term analyses are on.
  void ShowStagedDialog(bool modal);
  TDlgStaged* StagedDialog() const;

  // The help page of the active child window ("help/page.html#heading",
  // relative to the doc folder); the contents when none is active.
  QString ActiveWindowHelpPage() const;

  // Recomputes the menu and tool-bar states and applies them.
  void UpdateMenuStates();

  // --- the edit history (MainFormEdit.cpp)

  // The one place an accepted edit of the project goes (a table's cell or
  // rows, a dialog's fields, a window's member, an option, Apply): records
  // the project as it now stands for Undo under `name` ("Edit Wall
  // Stiffness") and announces it by projectChanged; nothing when the project
  // did not change.
  void projectEdited(const QString& name);
  // Edit > Undo and Redo: what is typed in the windows is stored first, then
  // the project is put back as it was before the last edit (after the next
  // one) and every open window shows it. Nothing is written to a file.
  void EditUndo();
  void EditRedo();
  const EditHistory& History() const { return history_; }

 signals:
  // The project changed by an edit, an undo or a redo (`name` says which).
  void projectChanged(const QString& name);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // Construction (TMainForm.cpp).
  void createMenus();
  void createFileMenu();
  void createEditMenu();                          // MainFormEdit.cpp
  void createDataMenu();                          // MainFormMenus.cpp
  void createOptionsMenu();                       // MainFormMenus.cpp
  void addUnitsAndPressureMenus(QMenu* options);  // the Options menu's two lists
  void createStageMenu();
  void createComputationMenu();
  void createGraphicsMenu();
  void createDesignMenu();
  void addStudyItem(QMenu* menu);  // Computation > Study...
  void addDesignSituationsItem(QMenu* menu);  // Computation > Design Situations...
  void createWindowMenu();
  void createHelpMenu();
  void createToolBar();
  QAction* addItem(QMenu* menu, const QString& name, const QString& caption);
  QAction* addOption(QMenu* menu, const QString& name, const QString& caption, bool TProgramData::* option,
                     TGridTable* table);
  // Binds an action's enabled or checked state to a flag of TMenuStates.
  void enableBy(QAction* action, bool TMenuStates::* flag) { enabledBy_.push_back({action, flag}); }
  void checkBy(QAction* action, bool TMenuStates::* flag) { checkedBy_.push_back({action, flag}); }
  // Closes every child window without storing what is typed in them.
  void closeChildWindows();

  // The edit history (MainFormEdit.cpp): starts anew from the project as it
  // stands (opened, new, its stages replaced).
  void resetHistory();
  void updateUndoActions();
  void stepHistory(bool back);

  // Files (MainFormFile.cpp).
  void afterProjectChange();
  // The results of the project are gone: graphs emptied, not loaded.
  void emptyGraphs();
  void putRecentFile(const std::string& path);
  void updateRecentFilesMenu();
  void writeSettings();

  // The project's files on disk and the title bar (MainFormDisk.cpp).
  // Takes the project's files as they are now (just read or written).
  void recordProjectFiles();
  // Takes the stage files as they are now, after the program wrote them.
  void watchStageFiles();
  void updateTitle();
  // Before a save: true when it writes over no file changed on disk since
  // it was read, or the user agreed to replace that change.
  bool confirmOverwrite();
  void reloadFromDisk(const std::vector<std::filesystem::path>& changed);

  // States and the Window menu (MainFormStates.cpp).
  void applyMenuStates();
  // The child windows store what is being edited in them: the current data
  // dialog, then the table windows. False when one refused its entry (it
  // then keeps the focus, and the command that asked stops).
  bool storeChildWindows();
  // The data text of the whole project, every stage of a staged one, as the
  // windows that analyse it in memory take it; a stage file that cannot be
  // read is said in the status bar and gives an empty text (nothing to
  // analyse), never a part of the project taken for the whole.
  std::string WholeDataText();
  void toggleOption(bool TProgramData::* option, TGridTable* table);
  void toggleLongTerm();
  void updateStageStatus();

  // Stages (MainFormStages.cpp).
  void switchStage(int stage);
  void saveCurrentStage();
  void copyPreviousStage();
  // Runs a change of the stages after the child windows stored their
  // entries; shows its failure. The windows then show the current stage.
  bool changeStages(const std::function<void()>& change);
  // Asks before a new count of stages drops stages from the project, naming
  // them; true to go on (nothing to drop, or Yes).
  bool confirmDroppedStages(int count);
  void afterStageChange();
  void fillWindowMenu();
  void arrangeIcons();
  void chooseDefaultEarthPressure();

  // The project's members (MainFormMembers.cpp): the members the project
  // was opened without, told in the status bar.
  void tellMembersFault();
  // The construction sequence's Options menu item (MainFormSequence.cpp).
  void addSequenceItem(QMenu* menu);
  // Why the project cannot have a construction sequence ("" when it can).
  QString sequenceUnavailable();
  // Closes the Construction Sequence window when the project's staging or
  // long-term analysis changed whether it can have a sequence.
  void checkSequenceWindow();
  // Keeps the members in the project file beside the data file just saved;
  // says so, once, when it cannot (MainFormMembers.cpp).
  void saveProjectMembers();
  // The members follow a change of the units system; the windows that show
  // them in the earlier units close.
  void membersToUnits(int before);
  // The project's soil model as the design, study and design-situations
  // windows ask for it at each run.
  design::SoilModelSource soilModelSource();
  // The Design window's envelope as the wall's earth pressure, and its Undo;
  // `showProjectChanged` refreshes the windows after either.
  void connectEnvelopePressure(TDesignForm* form, const std::function<void()>& showProjectChanged);
  // The soil-model panel of a Soil Layers window (MainFormSoilModel.cpp).
  void addSoilModelPanel(TTableForm& form);
  // The utilisation graph of the project's results: `analysis` is the run
  // just made, or nullptr to analyse the data file in memory.
  // `analysedText` is the text `analysis` analysed when it is not the data
  // file's (a live analysis of the project as edited).
  void updateUtilisation(const engine::api::AnalysisResult* analysis,
                         const std::string* analysedText = nullptr);
  // The graphs made from the analysis rather than the plot file, after a
  // run (its `analysis`) or on opening (analysed in memory): the section's
  // utilisation and the mobilised earth pressure, empty on the p-y model.
  void updateAnalysisGraphs(const engine::api::AnalysisResult* analysis,
                            const std::string* analysedText = nullptr);

  // The Side View shows the stage a graph shows (GraphStage), if open.
  void followGraphStage(const TGraphPlot& graph);

  // Live analysis (MainFormLive.cpp). The one hook of an accepted entry (a
  // cell committed, a dialog's values stored, an option switched, Apply in
  // the Design window): the project is analysed once the entries stop
  // coming for a moment, so that fast typing queues no analyses.
  void analyseLiveSoon();
  // The project's measured deflections added to the deflection graph just read.
  void showMeasuredReadings();
  void analyseLive();
  // The graphs' and the side view's mark after the graphs changed.
  void showLiveMark();

  // Running and showing (MainFormRun.cpp).
  // Opens a document of the doc folder (help pages, manuals; a help page
  // may name a heading after "#") in the desktop's viewer; says so, with the
  // path, when it is missing or no viewer starts.
  void showHelpDocument(const QString& fileName);
  void showAbout();
  void checkForUpdates();
  void showEditorOptions();

  TProject project_;
  QMdiArea* mdiArea_;
  TTableWindows* tableWindows_;
  TPlotWindows* plotWindows_;
  TDialogWindows* dialogWindows_;
  QString editorPath_;
  TRecentFiles recentFiles_;
  std::filesystem::path engineLibrary_;
  TResultGraphs graphs_;
  bool graphsLoaded_ = false;
  // The last run of the construction sequence: the plan it ran and each
  // stage's support forces. A result, not project data: the files keep
  // none, so it is known after a run only and stays with the window that
  // shows it, never in the project.
  struct SequenceRunForces {
    design::SequentialPlan plan;
    std::vector<std::vector<SequentialSupportSummary>> stages;
  };
  std::optional<SequenceRunForces> sequenceForces_;
  QString utilisationError_;    // why the section was not checked after the last run
  QString mobilisedError_;      // why there is no mobilised earth pressure to show
  bool engineRunning_ = false;  // a run is under way
  TLiveAnalysis live_;
  QTimer* liveTimer_ = nullptr;   // the pause after the last accepted entry
  QAction* liveItem_ = nullptr;   // Computation > Live Analysis
  bool liveStatusShown_ = false;  // the status bar says what live analysis met
  TFileWatch* fileWatch_;
  bool askingAboutFiles_ = false;
  bool fileReadOnly_ = false;  // the project cannot be saved under its name
  TMenuStates states_;
  EditHistory history_;
  bool steppingHistory_ = false;  // an undo or redo is putting the project back
  QAction* undoAction_ = nullptr;
  QAction* redoAction_ = nullptr;

  struct TStateBinding {
    QAction* action;
    bool TMenuStates::* flag;
  };
  std::vector<TStateBinding> enabledBy_, checkedBy_;
  // Actions whose states follow more than one flag.
  QAction* plainSoilItem_ = nullptr;      // "Soil Layer Data" outside long-term mode
  QAction* plainPressureItem_ = nullptr;  // "Distributed Active Earth Pressure" likewise
  QMenu* soilTermMenu_ = nullptr;         // their long-term submenus
  QMenu* pressureTermMenu_ = nullptr;
  std::array<QAction*, 4> termItems_{};  // the submenus' Short-Term and Long-Term items
  std::array<QAction*, kGraphCount> graphItems_{}, graphButtons_{};
  QActionGroup* stageItems_ = nullptr;

  QMenu* fileMenu_ = nullptr;
  QAction* recentSeparator_ = nullptr;
  std::array<QAction*, TRecentFiles::kSize> recentActions_{};
  QMenu* stageMenu_ = nullptr;
  QMenu* windowMenu_ = nullptr;
  QActionGroup* unitsGroup_ = nullptr;
  QActionGroup* pressureGroup_ = nullptr;
  QActionGroup* stageButtons_ = nullptr;
  QToolBar* toolBar_ = nullptr;
  QLabel* stageLabel_ = nullptr;
  QPointer<QMdiSubWindow> optionsWindow_;  // the Control Options dialog, while open
  QPointer<QMdiSubWindow> sideViewWindow_;  // the Side View, while open
  QPointer<QMdiSubWindow> designWindow_;    // the Design window, while open
  QPointer<QMdiSubWindow> studyWindow_;     // the Study window, while open
  QPointer<QMdiSubWindow> situationsWindow_;  // the Design Situations window, while open
  QPointer<QMdiSubWindow> sequenceWindow_;    // the Construction Sequence window, while open
  QPointer<TDlgStaged> stagedDialog_;       // the staged-construction dialog, while open
};

}  // namespace terraq::ui
