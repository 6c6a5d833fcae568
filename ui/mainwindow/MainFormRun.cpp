// TMainForm: running the engine, showing files in the text editor, the
// Help menu and the editor option.

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStatusBar>
#include <QTimer>

#include <cerrno>
#include <cstring>
#include <fstream>

#include "dialogs/TDlgOptions.h"
#include "graphs/MeasuredGraph.h"
#include "graphs/MobilisedPressureGraph.h"
#include "graphs/PlotFileReader.h"
#include "mainwindow/CommandRules.h"
#include "mainwindow/TAboutBox.h"
#include "mainwindow/TMainForm.h"
#include "mainwindow/TTableWindows.h"
#include "platform/InstallPaths.h"
#include "plotwindow/TPlotWindows.h"
#include "project/EditorCommand.h"
#include "project/EngineRun.h"
#include "project/RunObstacles.h"
#include "project/RunOutcome.h"
#include "project/SequentialRun.h"
#include "project/TWordReader.h"
#include "widgets/FileNames.h"
#include "widgets/HelpDocuments.h"
#include "widgets/ReportViewer.h"
#include "widgets/TUserPrompts.h"

namespace terraq::ui {

namespace fs = std::filesystem;

namespace {

// The hourglass while the engine has the window thread.
class WaitCursor {
 public:
  WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { QApplication::restoreOverrideCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

// Marks a run as under way for as long as its library may be loaded.
class RunningFlag {
 public:
  explicit RunningFlag(bool& flag) : flag_(flag) { flag_ = true; }
  ~RunningFlag() { flag_ = false; }
  RunningFlag(const RunningFlag&) = delete;
  RunningFlag& operator=(const RunningFlag&) = delete;

 private:
  bool& flag_;
};

}  // namespace

void TMainForm::CompRun() {
  TUserPrompts& prompts = TUserPrompts::Current();
  // The project goes to its file first; a never-saved one asks for a name.
  if (!FileSave()) return;
  if (Data().DataFileName == kNewFileName) return;
  if (HasOutputExtension(Data().DataFileName)) {
    prompts.showError(this, tr("The data file %1 has the extension of a result file and would be overwritten by "
                               "the analysis. Please save the project as a .tq4d file.")
                                .arg(QString::fromStdString(Data().DataFileName)));
    return;
  }
  if (const std::string obstacle = FirstRunObstacle(Data()); !obstacle.empty()) {
    prompts.showError(this, QString::fromStdString(obstacle));
    return;
  }
  if (engineRunning_) {
    prompts.showError(this, tr("Attempt to reinitialize DLL"));
    return;
  }

  EngineRunResult run;
  {
    RunningFlag running(engineRunning_);
    WaitCursor wait;
    // Reads the data file, analyses it in memory with the engine library
    // (loaded at the first run and kept) and writes the outputs beside it;
    // the window waits for as long as the analysis takes.
    run = RunEngine(fs::path(Data().DataFileName), engineLibrary_);
  }
  // The entries the save stored are in the run: no live analysis follows.
  if (liveTimer_) liveTimer_->stop();
  if (!run.engineCalled) {
    prompts.showError(this, run.libraryFailed
                                ? tr("Attempt to initialize DLL failed")
                                : tr("The analysis could not be started: %1.").arg(QString::fromStdString(run.error)));
    UpdateMenuStates();
    return;
  }
  // What the run came to is judged from its results in memory, by the
  // rule the graphs and the command follow; a file it could not write, or
  // a data file it could not read, it tells its caller, and the earlier
  // outputs are then kept. A report that cannot be read back leaves nothing
  // to look at, and must not read as a run cut short.
  RunOutcome outcome =
      run.outputsReplaced
          ? DescribeRunOutcome(
                run.summary,
                QDir::toNativeSeparators(FileNameText(run.paths.reportFile.string())).toStdString(),
                run.engineMessages)
          : DescribeRunWithoutOutputs(run.error, run.engineMessages);
  errno = 0;
  if (std::ifstream report(run.paths.reportFile, std::ios::binary);
      run.outputsReplaced && !report) {
    outcome.stopped = true;
    outcome.message =
        tr("The analysis finished, but its report %1 cannot be read: %2.")
            .arg(QDir::toNativeSeparators(FileNameText(run.paths.reportFile.string())),
                 QString::fromLocal8Bit(std::strerror(errno ? errno : EIO)))
            .toStdString();
  }
  // A run whose results must not be used never reads as a success.
  const QString message = QString::fromStdString(outcome.message);
  if (outcome.stopped) prompts.showError(this, message);
  else if (!outcome.resultsValid) prompts.showWarning(this, message);
  else prompts.showInformation(this, message);
  // Without new outputs the earlier results, and the graphs read from them,
  // stand as they were. New outputs are read into the graphs; a run that
  // stopped has said so, and its plot file may end early, which would only
  // say it again.
  if (run.outputsReplaced) {
    if (GatherFileFacts(Data().DataFileName).plot) ReadPlotFile(run.paths.plotFile, !outcome.stopped);
    else emptyGraphs();
    updateAnalysisGraphs(&run.analysis);
    // The Side View labels a stage's supports with their forces.
    if (!run.summary.sequenceStages.empty() && ProjectSequence()) {
      sequenceForces_ = SequenceRunForces{*ProjectSequence(), {}};
      for (const ProblemSummary& stage : run.summary.problems)
        sequenceForces_->stages.push_back(stage.sequentialSupports);
    }
  }
  UpdateMenuStates();
}

void TMainForm::updateAnalysisGraphs(const engine::api::AnalysisResult* analysis,
                                     const std::string* analysedText) {
  // On opening, the project is analysed once, as its run analysed it (its
  // construction sequence and soil model), for both graphs.
  const ProjectMembers& members = project_.Members();
  const bool springs = members.soilModel && members.soilModel->subgrade;
  std::optional<engine::api::AnalysisResult> analysed;
  std::string error;
  const fs::path dataFile = DeriveRunPaths(Data().DataFileName).dataFile;
  if (!analysis && graphsLoaded_ && (members.section || springs)) try {
      analysed = AnalyseProjectInMemory(dataFile, ReadWholeFile(dataFile), error);
      if (analysed) analysis = &*analysed;
    } catch (const std::exception& e) {
      error = e.what();
    }
  updateUtilisation(analysis, analysedText);
  graphs_.pltMobilised.Lines.clear();
  mobilisedError_ = QString::fromStdString(error);
  if (!graphsLoaded_ || !error.empty()) return;
  try {
    if (!FillProjectMobilisedPressure(graphs_, dataFile, analysis, Data().LongTerm, error))
      mobilisedError_ = QString::fromStdString(error);
  } catch (const std::exception& e) {
    mobilisedError_ = QString::fromStdString(e.what());
  }
  plotWindows_->RepaintAll();
}

void TMainForm::showMeasuredReadings() {
  // The inclinometer's readings beside the stages they were taken at.
  if (graphsLoaded_ && project_.Members().measurements)
    AddMeasuredSeries(graphs_.pltDef, *project_.Members().measurements,
                      static_cast<int>(graphs_.pltDef.Lines.size()), Data().Units, Data().LongTerm);
}

bool TMainForm::ReadPlotFile(const fs::path& file, bool reportErrors) {
  std::string error;
  sequenceForces_.reset();
  graphsLoaded_ = ui::ReadPlotFile(file, PlotProjectFacts(Data()), graphs_, error);
  // The graphs are the files' again, whatever a live analysis drew.
  live_.ResultsFromFiles();
  showLiveMark();
  showMeasuredReadings();
  // An open plot window shows the new numbers within the ranges it was
  // built with.
  plotWindows_->RepaintAll();
  if (!graphsLoaded_ && reportErrors) {
    // The box says what the program has always said; the reason stays
    // readable in the status bar.
    statusBar()->showMessage(QString::fromStdString(error).replace(QLatin1Char('\n'), QLatin1Char(' ')));
    TUserPrompts::Current().showError(this, tr("An error occured in running the main program."));
  }
  return graphsLoaded_;
}

void TMainForm::ShowInEditor(const fs::path& file) {
  const QString path = QDir::toNativeSeparators(FileNameText(file.string()));
  const EditorCommand command = ParseEditorCommand(editorPath_.toStdString());
  QString problem;
  if (command.program.empty()) {
    problem = tr("The text editor setting \"%1\" cannot be used: %2.")
                  .arg(editorPath_, QString::fromStdString(command.error));
  } else {
    const QString program = QString::fromStdString(command.program);
    QStringList arguments;
    for (const std::string& argument : command.arguments) arguments << QString::fromStdString(argument);
    if (TUserPrompts::Current().startProcess(program, arguments << path)) return;
    problem = tr("The text editor \"%1\" could not be started.").arg(program);
  }
  // A report must be readable even without a working editor: Yes is the
  // answer offered first.
  if (TUserPrompts::Current().askChoice(
          this,
          problem + QStringLiteral("\n\n") +
              tr("Show %1 in a read-only window of this program instead?")
                  .arg(QFileInfo(path).fileName()),
          {tr("&Yes"), tr("&No")}, 0) == 0)
    ShowReportViewer(*mdiArea_, path);
}

QString TMainForm::DocumentPath(const QString& fileName) { return HelpDocumentPath(fileName); }

void TMainForm::showHelpDocument(const QString& document) { ShowHelpDocument(this, document); }

void TMainForm::showAbout() {
  TAboutBox box(this);
  box.exec();
}

void TMainForm::checkForUpdates() {
  // The program asks no server: new releases come the way it was installed.
  TUserPrompts::Current().showInformation(
      this,
      tr("Installed: TERRAQ %1, released %2.\n\n"
         "Updates arrive through the package manager that installed TERRAQ: its regular system "
         "update offers a new release when there is one. A copy built from its sources is updated by "
         "building the newer sources.")
          .arg(QLatin1String(kVersionText), QString::fromStdString(ReleaseDateMonthDayYear())));
}

void TMainForm::showEditorOptions() {
  if (!optionsWindow_) {
    auto* dialog = new TDlgOptions([this] { return editorPath_; }, [this](const QString& path) { editorPath_ = path; });
    optionsWindow_ = mdiArea_->addSubWindow(dialog);
    optionsWindow_->setAttribute(Qt::WA_DeleteOnClose);
    optionsWindow_->setWindowTitle(dialog->windowTitle());
    optionsWindow_->show();
    optionsWindow_->resize(optionsWindow_->sizeHint());
  }
  optionsWindow_->showNormal();
  mdiArea_->setActiveSubWindow(optionsWindow_);
}

}  // namespace terraq::ui
