// TMainForm: program start, New, Open, Save, Save As, the save query, the
// recent files, dropped files and closing.

#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMdiArea>
#include <QMenu>
#include <QMimeData>
#include <QStatusBar>
#include <QUrl>

#include "dialogs/TDialogWindows.h"
#include "mainwindow/CommandRules.h"
#include "mainwindow/TFileWatch.h"
#include "mainwindow/TMainForm.h"
#include "mainwindow/TSettings.h"
#include "mainwindow/TTableWindows.h"
#include "plotwindow/TPlotWindows.h"
#include "project/EngineRun.h"
#include "project/ProjectFile.h"
#include "project/StageFiles.h"
#include "widgets/FileNames.h"
#include "widgets/TUserPrompts.h"

namespace terraq::ui {

namespace fs = std::filesystem;

namespace {

QString fileNameOnly(const std::string& path) { return QFileInfo(FileNameText(path)).fileName(); }

}  // namespace

void TMainForm::StartUp(const QStringList& arguments) {
  const TProgramSettings settings = ReadProgramSettings();
  editorPath_ = settings.editorPath;
  recentFiles_.SetFiles(settings.recentFiles);
  live_.SetEnabled(settings.liveAnalysis);
  liveItem_->setChecked(settings.liveAnalysis);
  // The size and place the window had when it was last closed; Qt keeps
  // it on a screen that is there now.
  if (!settings.windowGeometry.isEmpty()) restoreGeometry(settings.windowGeometry);
  updateRecentFilesMenu();
  bool opened = false;
  if (!arguments.isEmpty() && !arguments.front().isEmpty()) {
    const QString file = FileNameText(CommandLineDataFile(FileNameBytes(arguments.front())));
    // A file named on the command line is read in the layout its extension
    // tells, as a dropped file is: the desktop opens older ".tqd" files by
    // double click this way, and reading one in the current layout would
    // misplace its values.
    if (QFileInfo(file).isFile()) {
      const QString path = QFileInfo(file).absoluteFilePath();
      opened = OpenFile(path, LayoutForFile(FileNameBytes(path)));
    }
  }
  if (!opened) {
    project_.New();
    afterProjectChange();
    resetHistory();
  }
}

void TMainForm::afterProjectChange() {
  recordProjectFiles();
  updateStageStatus();
  // A new project gets at once the choice the Earth-Pressure Options list
  // makes when it first opens, so that the Data menu agrees with it whichever
  // menu opens first. A project read from its file keeps what the file says:
  // opening and running it must leave the file as it was.
  if (Data().DataFileName == kNewFileName) chooseDefaultEarthPressure();
  else UpdateMenuStates();
}

void TMainForm::emptyGraphs() {
  graphs_.Empty();
  graphsLoaded_ = false;
  sequenceForces_.reset();
  live_.ProjectReplaced();
  showLiveMark();
  plotWindows_->RepaintAll();
}

bool TMainForm::SaveQuery() {
  if (!storeChildWindows()) return false;
  if (!Data().IsModified()) return true;
  switch (TUserPrompts::Current().askYesNoCancel(this, tr("Do you want to save any changes?"))) {
    case TUserPrompts::Answer::Cancel:
      return false;
    case TUserPrompts::Answer::No:
      return true;
    case TUserPrompts::Answer::Yes:
      // Only a project that really reached its file may be discarded.
      return FileSave() && Data().DataFileName != kNewFileName;
  }
  return false;
}

void TMainForm::FileNew() {
  if (!SaveQuery()) return;
  closeChildWindows();
  project_.New();
  emptyGraphs();
  statusBar()->clearMessage();
  afterProjectChange();
  resetHistory();
}

void TMainForm::FileOpen() {
  if (!SaveQuery()) return;
  int filterIndex = 0;
  const QString file = TUserPrompts::Current().openFileName(
      this, tr("Open"), QString::fromStdString(DialogFilter(kDataFileFilter)), filterIndex);
  if (file.isEmpty()) return;
  OpenFile(file, LayoutForFilterIndex(filterIndex));
}

bool TMainForm::OpenFile(const QString& path, int layout) {
  const QFileInfo info(path);
  const QString absolute = info.absoluteFilePath();
  // The file is read on its own first: one that cannot be read leaves the
  // project on screen, and its windows, as they were.
  try {
    CheckDataFile(fs::path(FileNameBytes(absolute)), layout);
  } catch (const std::exception& e) {
    TUserPrompts::Current().showError(
        this,
        tr("%1 cannot be opened as a TERRAQ data file:\n%2\n\nThe project open before stays as it was.")
            .arg(QDir::toNativeSeparators(absolute), QString::fromStdString(e.what())));
    return false;
  }
  // A project file that cannot be used is never passed over in silence: the
  // data file alone is another project (a staged wall without its stages).
  if (std::string unusable; !ReadProjectBeside(fs::path(FileNameBytes(absolute)), unusable) &&
                            !TUserPrompts::Current().askYesNo(
                                this, tr("%1\n\nOpen the data file alone? The construction "
                                         "sequence, wall section, design situations and studies "
                                         "kept in the project file are then not used, and the "
                                         "project cannot be run until the project file is "
                                         "repaired or removed; it is kept as it is.")
                                          .arg(QString::fromStdString(unusable))))
    return false;
  const TFileStamp asRead = StampOf(fs::path(FileNameBytes(absolute)));
  closeChildWindows();
  emptyGraphs();
  // Relative names in the project (and the recent list) are the folder's.
  QDir::setCurrent(info.absolutePath());
  try {
    project_.Open(fs::path(FileNameBytes(absolute)), layout);
  } catch (const std::exception& e) {
    // The project that was read so far is gone; a new one stands in.
    afterProjectChange();
    resetHistory();
    statusBar()->clearMessage();
    TUserPrompts::Current().showError(this, QString::fromStdString(e.what()));
    return false;
  }
  // The plot file of an earlier run: its results are shown as they are
  // (silently: a damaged one only leaves the Graphics menu disabled), once
  // a set of outputs that a killed run left mixed is put back.
  RecoverInterruptedOutputs(DeriveRunPaths(Data().DataFileName));
  if (GatherFileFacts(Data().DataFileName).plot) ReadPlotFile(DeriveRunPaths(Data().DataFileName).plotFile, false);
  putRecentFile(FileNameBytes(absolute));
  statusBar()->showMessage(tr("Data file: %1, has been read by %2").arg(absolute, QLatin1String(kApplicationTitle)));
  tellMembersFault();
  updateAnalysisGraphs(nullptr);
  afterProjectChange();
  resetHistory();
  fileWatch_->AcceptAsOf(fs::path(Data().DataFileName), asRead);
  if (project_.ReadOnly())
    TUserPrompts::Current().showInformation(
        this, tr("%1 is opened read-only: %2.\n\nSave As keeps your changes under another name.")
                  .arg(info.fileName(), QString::fromStdString(project_.ReadOnlyReason())));
  return true;
}

void TMainForm::OpenRecentFile(int number) {
  if (number < 1 || number > TRecentFiles::kSize) return;
  const std::string path = recentFiles_.File(number);
  if (path.empty() || !SaveQuery()) return;
  OpenFile(FileNameText(path), LayoutForFile(path));
}

bool TMainForm::FileSave() {
  if (!storeChildWindows()) return false;
  TProgramData& d = Data();
  // A project that was never saved, or an older ".tqd" file, needs a name
  // of the current layout first.
  // A staged project opened read-only keeps its own name's files as they are.
  if (d.DataFileName == kNewFileName || LayoutForFile(d.DataFileName) == kLayout30 || project_.ReadOnly())
    return FileSaveAs();
  if (!confirmOverwrite()) return false;
  try {
    project_.Save();
  } catch (const std::exception& e) {
    TUserPrompts::Current().showError(this, QString::fromStdString(e.what()));
    return false;
  }
  saveProjectMembers();
  recordProjectFiles();
  history_.MarkSaved(project_);
  // Saving tidies the tables (those of options that are off are emptied).
  tableWindows_->Refresh();
  UpdateMenuStates();
  return true;
}

bool TMainForm::FileSaveAs() {
  if (!storeChildWindows()) return false;
  const std::string current = Data().DataFileName;
  const QString suggested = FileNameText(SuggestedSaveName(current));
  const QString title = tr("Save %1 As").arg(fileNameOnly(current));
  const QString chosen = TUserPrompts::Current().saveFileName(this, title, suggested,
                                                              QString::fromStdString(DialogFilter(kDataFileFilter)));
  if (chosen.isEmpty()) return false;
  const std::string name = SaveAsName(FileNameBytes(QFileInfo(chosen).absoluteFilePath()));
  // The extension is only known now, so the dialog cannot have asked about
  // the file that is really written: the question is ours, every time.
  const QString shownName = QDir::toNativeSeparators(FileNameText(name));
  if (fs::exists(fs::path(name)) &&
      !TUserPrompts::Current().askYesNo(this, tr("%1 already exists.\nDo you want to replace it?").arg(shownName)))
    return false;
  try {
    project_.SaveAs(name);
  } catch (const std::exception& e) {
    TUserPrompts::Current().showError(this, QString::fromStdString(e.what()));
    return false;
  }
  saveProjectMembers();
  history_.MarkSaved(project_);
  putRecentFile(name);
  closeChildWindows();
  // The graphs describe the project just saved, but the menu shows them
  // only while a plot file stands beside its data file.
  graphsLoaded_ = graphsLoaded_ && GatherFileFacts(name).plot;
  afterProjectChange();
  return true;
}

void TMainForm::putRecentFile(const std::string& path) {
  if (recentFiles_.Add(path)) WriteRecentFiles(recentFiles_.Files());
  updateRecentFilesMenu();
}

void TMainForm::updateRecentFilesMenu() {
  const std::string folder = FileNameBytes(QDir::currentPath());
  for (int k = 1; k <= TRecentFiles::kSize; ++k) {
    QAction* action = recentActions_[static_cast<size_t>(k - 1)];
    const std::string& path = recentFiles_.File(k);
    QString caption = FileNameText(RecentFileCaption(k, FileNameBytes(QDir::toNativeSeparators(FileNameText(path))),
                                                     FileNameBytes(QDir::toNativeSeparators(FileNameText(folder)))));
    // An "&" of a path is text, not an access key.
    caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
    action->setText(caption);
    action->setVisible(!path.empty());
  }
  recentSeparator_->setVisible(recentFiles_.Count() > 0);
}

void TMainForm::writeSettings() {
  TProgramSettings settings;
  settings.editorPath = editorPath_;
  settings.recentFiles = recentFiles_.Files();
  settings.windowGeometry = saveGeometry();
  WriteProgramSettings(settings);
}

void TMainForm::closeEvent(QCloseEvent* event) {
  // The child windows give up what is being typed first; then the save
  // query decides.
  if (!SaveQuery()) {
    event->ignore();
    return;
  }
  writeSettings();
  closeChildWindows();
  event->accept();
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
  const QMimeData* mime = event->mimeData();
  if (mime->hasUrls() && !mime->urls().isEmpty() && mime->urls().front().isLocalFile()) event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (urls.isEmpty() || !urls.front().isLocalFile()) return;
  event->acceptProposedAction();
  // The boxes are modal: they wait until the drop has been handed back to
  // the windowing system, which some platforms require.
  const QString path = urls.front().toLocalFile();
  QMetaObject::invokeMethod(
      this,
      [this, path] {
        // A picture or a report is refused before anything is asked.
        const std::string refusal = DroppedFileRefusal(fs::path(FileNameBytes(path)));
        if (!refusal.empty()) {
          TUserPrompts::Current().showError(
              this,
              tr("%1 is not a TERRAQ data file: %2.\n\nOnly data files (.tq4d, .tqd) can be dropped here.")
                  .arg(QDir::toNativeSeparators(path), QString::fromStdString(refusal)));
          return;
        }
        if (!SaveQuery()) return;
        OpenFile(path, LayoutForFile(FileNameBytes(path)));
      },
      Qt::QueuedConnection);
}

}  // namespace terraq::ui
