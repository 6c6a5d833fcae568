// TMainForm: live analysis. Each accepted entry restarts a short pause;
// when it ends, the project as edited is analysed in memory
// (graphs/LiveAnalysis.h) and the graphs, the graphs made from the analysis
// (utilisation, mobilised pressure) and the side view show its results.
// Nothing is written: the files keep the last run's results, and the
// graphs say they are not those until the project is saved and run.

#include <QAction>
#include <QMdiSubWindow>
#include <QStatusBar>
#include <QTimer>

#include "mainwindow/TMainForm.h"
#include "mainwindow/TSettings.h"
#include "plotwindow/TPlotWindows.h"
#include "project/RunObstacles.h"
#include "sideview/TDlgSideView.h"

namespace terraq::ui {

namespace {

// Long enough for the cursor to move on to the next cell and for a
// remembered value to be typed into it, short enough to feel immediate.
constexpr int kLivePauseMilliseconds = 150;

}  // namespace

void TMainForm::SetLiveAnalysis(bool on) {
  live_.SetEnabled(on);
  if (liveItem_) liveItem_->setChecked(on);
  WriteLiveAnalysisSetting(on);
  if (on) analyseLiveSoon();
  else liveTimer_->stop();
}

void TMainForm::analyseLiveSoon() {
  if (live_.Wanted() && !engineRunning_) liveTimer_->start(kLivePauseMilliseconds);
}

void TMainForm::analyseLive() {
  if (!live_.Wanted() || engineRunning_) return;
  LiveProject project;
  project.dataFile = Data().DataFileName;
  project.dataText = WholeDataText();
  project.members = &project_.Members();
  project.membersFault = project_.ProjectFileFault();
  project.obstacle = FirstRunObstacle(Data());
  if (project.dataText.empty() && project.obstacle.empty())
    project.obstacle = "a stage of the project cannot be read";
  const LiveResult result = AnalyseLive(project);
  const TLiveAnalysis::Verdict verdict = live_.Take(result);
  if (verdict.show) {
    std::string error;
    graphsLoaded_ = ShowLiveResult(result, PlotProjectFacts(Data()), graphs_, error);
    if (!graphsLoaded_) live_.MarkStale();
    showMeasuredReadings();
    sequenceForces_.reset();
    if (!result.summary.sequenceStages.empty() && ProjectSequence()) {
      sequenceForces_ = SequenceRunForces{*ProjectSequence(), {}};
      for (const ProblemSummary& stage : result.summary.problems)
        sequenceForces_->stages.push_back(stage.sequentialSupports);
    }
    // The section check and the mobilised pressure follow the same
    // analysis; their notes may take the status bar, the live note goes.
    if (liveStatusShown_) statusBar()->clearMessage();
    liveStatusShown_ = false;
    updateAnalysisGraphs(&result.analysis, &result.text);
    plotWindows_->RefitAll();
    if (!error.empty()) {
      statusBar()->showMessage(tr("Live analysis: %1").arg(QString::fromStdString(error)));
      liveStatusShown_ = true;
    }
  } else if (!verdict.status.empty()) {
    statusBar()->showMessage(QString::fromStdString(verdict.status));
    liveStatusShown_ = true;
  }
  showLiveMark();
  UpdateMenuStates();
}

void TMainForm::showLiveMark() {
  const std::string mark = live_.Mark();
  // Graphs of no run at all carry no mark: there is nothing to mistake.
  MarkLiveGraphs(graphs_, graphsLoaded_ ? mark : std::string());
  plotWindows_->RepaintAll();
  if (sideViewWindow_)
    if (auto* view = qobject_cast<TDlgSideView*>(sideViewWindow_->widget()))
      view->SetResultsNote(QString::fromStdString(mark));
}

}  // namespace terraq::ui
