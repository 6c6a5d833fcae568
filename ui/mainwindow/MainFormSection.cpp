// TMainForm: the wall's steel section of the project. Chosen in Wall
// Properties ▸ Section..., kept in the project file beside the data file
// when the project is saved and read back when it is opened, and checked
// along the wall after every run: the utilisation graph.

#include <QStatusBar>

#include "api/EngineRoute.h"
#include "dialogs/TDialogWindows.h"
#include "graphs/UtilisationGraph.h"
#include "mainwindow/TMainForm.h"
#include "mainwindow/TTableWindows.h"
#include "plotwindow/TPlotWindows.h"
#include "project/EngineRun.h"
#include "project/ProjectSection.h"
#include "project/SequentialRun.h"
#include "project/TWordReader.h"

namespace terraq::ui {

namespace fs = std::filesystem;

void TMainForm::SetWallSection(const std::optional<WallSection>& section) {
  project_.Members().section = section;
  // The results on show were made with the earlier EI.
  graphs_.pltUtil.Lines.clear();
  utilisationError_.clear();
  plotWindows_->RepaintAll();
  tableWindows_->Refresh();
  dialogWindows_->ReloadAll();
  projectEdited(tr("Choose Section"));
}

QString TMainForm::UtilisationNote() const {
  const std::optional<WallSection>& section = project_.Members().section;
  if (!section)
    return tr(
        "Choose the wall's steel section in Wall Properties > Section... to see its "
        "utilisation along the wall.");
  const QString name = QString::fromStdString(section->name);
  if (!utilisationError_.isEmpty()) return tr("%1 is not checked: %2").arg(name, utilisationError_);
  if (!states_.graphEnabled[kGraphUtilisation])
    return tr("Run the analysis to see the utilisation of %1 along the wall.").arg(name);
  return {};
}

void TMainForm::updateUtilisation(const engine::api::AnalysisResult* analysis,
                                  const std::string* analysedText) {
  graphs_.pltUtil.Lines.clear();
  utilisationError_.clear();
  const std::optional<WallSection>& section = project_.Members().section;
  if (!section || !graphsLoaded_) return;
  std::string text, error;
  std::vector<std::string> notes;
  const std::filesystem::path dataFile = DeriveRunPaths(Data().DataFileName).dataFile;
  try {
    if (analysedText) text = *analysedText;
    else text = ReadWholeFile(dataFile);
  } catch (const std::exception& e) {
    error = e.what();
  }
  // A construction sequence is checked as the stages Run analyses.
  std::optional<engine::api::AnalysisResult> stages;
  if (error.empty() && !analysedText)
    if (std::optional<SequentialRunInput> sequence = ReadSequentialRun(dataFile, text, error)) {
      text = std::move(sequence->sequence.text);
      if (!analysis) {
        engine::api::AnalysisOptions options;
        options.sequential = std::move(sequence->options);
        stages = engine::Analyse(text, options);
        analysis = &*stages;
      }
    }
  if (error.empty() &&
      FillProjectUtilisation(graphs_, text, *section, analysis, Data().LongTerm, error, notes)) {
    QStringList said;
    for (const std::string& note : notes) said << QString::fromStdString(note);
    if (!said.isEmpty()) statusBar()->showMessage(said.join(QStringLiteral("; ")));
  } else {
    utilisationError_ = QString::fromStdString(error);
    statusBar()->showMessage(
        tr("%1 is not checked: %2").arg(QString::fromStdString(section->name), utilisationError_));
  }
  plotWindows_->RepaintAll();
}

}  // namespace terraq::ui
