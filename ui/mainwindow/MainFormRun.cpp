// TMainForm: running the engine, showing files in the text editor, the
// Help menu and the editor option.

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QUrl>

#include "dialogs/TDlgOptions.h"
#include "mainwindow/CommandRules.h"
#include "mainwindow/TAboutBox.h"
#include "mainwindow/TMainForm.h"
#include "mainwindow/TTableWindows.h"
#include "project/EngineRun.h"
#include "project/RunObstacles.h"
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
    // Loads the library for this run only, calls its entry with the names
    // file in a private folder, and unloads it again.
    run = RunEngine(fs::path(Data().DataFileName), engineLibrary_);
  }
  if (!run.engineCalled) {
    prompts.showError(this, run.libraryFailed
                                ? tr("Attempt to initialize DLL failed")
                                : tr("The analysis could not be started: %1.").arg(QString::fromStdString(run.error)));
    UpdateMenuStates();
    return;
  }
  prompts.showInformation(
      this, tr("Computations are completed. Please, check output file for results or error messages."));
  // Without a new plot file the earlier results stand (their graph
  // buttons follow the file, which is gone).
  if (GatherFileFacts(Data().DataFileName).plot) resultsAvailable_ = true;
  UpdateMenuStates();
}

void TMainForm::ShowInEditor(const fs::path& file) {
  const QString path = QString::fromStdString(file.string());
  if (!TUserPrompts::Current().startProcess(editorPath_, {QDir::toNativeSeparators(path)}))
    TUserPrompts::Current().showError(this, tr("An error occurred in running the Word Processor"));
}

void TMainForm::showHelpDocument(const QString& fileName) {
  const QString folder = QString::fromStdString(ExecutableFolder().string());
  const QString path = QDir(folder).filePath(fileName);
  if (!QFileInfo(path).isFile()) {
    TUserPrompts::Current().showError(
        this, tr("The document \"%1\" is not installed in the program's folder %2.")
                  .arg(fileName, QDir::toNativeSeparators(folder)));
    return;
  }
  if (!TUserPrompts::Current().openUrl(QUrl::fromLocalFile(path)))
    TUserPrompts::Current().showError(this, tr("The document \"%1\" could not be opened.")
                                                .arg(QDir::toNativeSeparators(path)));
}

void TMainForm::showAbout() {
  TAboutBox box(this);
  box.exec();
}

void TMainForm::checkForUpdates() {
  const QUrl address(QString::fromStdString(UpdateCheckAddress()));
  if (!TUserPrompts::Current().openUrl(address))
    TUserPrompts::Current().showError(this, tr("The web browser could not be started to open %1.")
                                                .arg(address.toString()));
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
