// TMainForm: the project's files on disk. Edits made to them outside the
// program (in the text editor of Edit Input Text, by another program or
// window) are noticed, and the user chooses between them and the project
// as it is here; no save writes over such an edit without asking. The title
// bar says whether the project has unsaved changes and whether it is
// read-only.

#include <QApplication>
#include <QFileInfo>
#include <QTimer>
#include <algorithm>

#include "dialogs/TDialogWindows.h"
#include "mainwindow/CommandRules.h"
#include "mainwindow/TFileWatch.h"
#include "mainwindow/TMainForm.h"
#include "mainwindow/TTableWindows.h"
#include "project/StageFiles.h"
#include "widgets/FileNames.h"
#include "widgets/TUserPrompts.h"

namespace terraq::ui {

namespace fs = std::filesystem;

namespace {

QString namesOf(const std::vector<fs::path>& files) {
  QStringList names;
  for (const fs::path& file : files) names << QFileInfo(FileNameText(file.string())).fileName();
  return names.join(QStringLiteral(", "));
}

bool sameFile(const fs::path& a, const fs::path& b) {
  return fs::absolute(a).lexically_normal() == fs::absolute(b).lexically_normal();
}

}  // namespace

void TMainForm::recordProjectFiles() {
  fileWatch_->Record(project_.Files());
  const QFileInfo dataFile(FileNameText(Data().DataFileName));
  fileReadOnly_ = project_.ReadOnly() || (dataFile.exists() && !dataFile.isWritable());
  updateTitle();
}

void TMainForm::watchStageFiles() {
  // The program has just written stage files: they are taken as they are
  // now, the data file keeps its record.
  std::vector<fs::path> files = project_.Files();
  fileWatch_->Watch(files);
  for (size_t k = 1; k < files.size(); ++k) fileWatch_->Accept(files[k]);
}

void TMainForm::updateTitle() {
  QString title = FileNameText(MainCaption(Data().DataFileName));
  if (fileReadOnly_) title += tr(" [read-only]");
  if (Data().IsModified()) title += QStringLiteral(" *");
  if (title != windowTitle()) setWindowTitle(title);
}

bool TMainForm::confirmOverwrite() {
  // Save writes the data file and, in a staged project, the current stage's
  // file; the other stage files it reads, edits made to them included.
  std::vector<fs::path> overwritten;
  const fs::path dataFile(Data().DataFileName);
  const fs::path stage =
      Data().StageCount >= 2 ? StageFileName(Data().DataFileName, Data().CurrentStage) : fs::path();
  for (const fs::path& file : fileWatch_->Changed()) {
    std::error_code ec;
    // A file that is gone loses nothing when it is written again.
    if (!fs::exists(file, ec)) continue;
    if (sameFile(file, dataFile) || (!stage.empty() && sameFile(file, stage)))
      overwritten.push_back(file);
  }
  if (overwritten.empty()) return true;
  return TUserPrompts::Current().askYesNo(
      this,
      tr("%1 has been changed on disk since TERRAQ read it (by another program or window).\n\n"
         "Save over it, replacing those changes with the project as it is here?")
          .arg(namesOf(overwritten)));
}

void TMainForm::CheckFilesOnDisk() {
  // One question at a time, and none over another modal box: the check
  // comes back once that box has closed.
  if (askingAboutFiles_) return;
  if (QApplication::activeModalWidget()) {
    QTimer::singleShot(500, this, &TMainForm::CheckFilesOnDisk);
    return;
  }
  const std::vector<fs::path> changed = fileWatch_->TakeUnreported();
  if (changed.empty()) return;
  std::vector<fs::path> gone, edited;
  for (const fs::path& file : changed) {
    std::error_code ec;
    (fs::exists(file, ec) ? edited : gone).push_back(file);
  }
  askingAboutFiles_ = true;
  TUserPrompts& prompts = TUserPrompts::Current();
  if (!gone.empty())
    prompts.showInformation(
        this, tr("%1 has been deleted or moved by another program. The project stays open "
                 "here; Save writes it again.")
                  .arg(namesOf(gone)));
  if (!edited.empty()) {
    const int answer = prompts.askChoice(
        this,
        tr("%1 has been changed on disk by another program since TERRAQ read it.\n\n"
           "Reload: read it again, dropping the changes not saved here.\n"
           "Keep Mine: keep the project as it is here; a save will ask before it overwrites the file.")
            .arg(namesOf(edited)),
        // Enter keeps changes made here; with none, reading the file loses nothing.
        {tr("&Reload"), tr("&Keep Mine")}, Data().IsModified() ? 1 : 0);
    if (answer == 0) reloadFromDisk(edited);
  }
  askingAboutFiles_ = false;
}

void TMainForm::reloadFromDisk(const std::vector<fs::path>& changed) {
  const fs::path dataFile(Data().DataFileName);
  const bool dataChanged = std::any_of(changed.begin(), changed.end(), [&](const fs::path& file) {
    return sameFile(file, dataFile);
  });
  if (dataChanged) {
    // The whole project again, as Open reads it; a file that cannot be read
    // leaves the project here as it was (OpenFile says why).
    const QString path = FileNameText(Data().DataFileName);
    OpenFile(path, LayoutForFile(Data().DataFileName));
    return;
  }
  // A stage file: the one on show is loaded again, the others are read
  // when their stage is switched to.
  const fs::path current = StageFileName(Data().DataFileName, Data().CurrentStage);
  const bool currentChanged =
      std::any_of(changed.begin(), changed.end(),
                  [&](const fs::path& file) { return sameFile(file, current); });
  if (currentChanged) changeStages([this] { project_.ReloadCurrentStage(); });
  for (const fs::path& file : changed) fileWatch_->Accept(file);
}

}  // namespace terraq::ui
