// TMainForm: staged construction. The staged-construction dialog, the Stage
// menu and the stage buttons, switching stages, and the status-bar text.
// What happens to the project and its stage files is TProject's; here the
// child windows store what is typed in them first and show the stage
// afterwards, and a failure is shown with the system's message.

#include <QAction>
#include <QLabel>
#include <QStatusBar>

#include "dialogs/TDialogWindows.h"
#include "dialogs/TDlgStaged.h"
#include "mainwindow/CommandRules.h"
#include "mainwindow/TMainForm.h"
#include "mainwindow/TTableWindows.h"
#include "widgets/TUserPrompts.h"

namespace terraq::ui {

QString TMainForm::StageStatusText() const {
  const TProgramData& d = const_cast<TProject&>(project_).Data();  // read only
  return d.StageCount >= 2 ? tr("Construction Stage Number: %1").arg(d.CurrentStage) : QString();
}

void TMainForm::updateStageStatus() {
  stageLabel_->setText(StageStatusText());
  if (stagedDialog_ && stagedDialog_->isVisible()) stagedDialog_->Reload();
}

TDlgStaged* TMainForm::StagedDialog() const { return stagedDialog_.data(); }

void TMainForm::ShowStagedDialog(bool modal) {
  if (Data().LongTerm) return;  // the two kinds of analysis exclude each other
  if (!stagedDialog_) {
    TStagedContext context;
    context.stageCount = [this] { return Data().StageCount; };
    context.currentStage = [this] { return Data().CurrentStage; };
    context.update = [this](int count, int stage) {
      return confirmDroppedStages(count) &&
             changeStages([this, count, stage] { project_.UpdateStage(count, stage); });
    };
    context.apply = [this](int count) {
      return confirmDroppedStages(count) &&
             changeStages([this, count] { project_.SetStageCount(count); });
    };
    context.showSequence = [this] { ShowSequence(); };
    stagedDialog_ = new TDlgStaged(std::move(context), this);
    stagedDialog_->setAttribute(Qt::WA_DeleteOnClose);
    // The checkable menu item shows the project again, whatever the answer.
    connect(stagedDialog_, &QDialog::finished, this, &TMainForm::UpdateMenuStates);
  }
  // Modal from the menu, modeless from the tool bar; neither waits in a
  // loop of its own.
  stagedDialog_->setWindowModality(modal ? Qt::WindowModal : Qt::NonModal);
  stagedDialog_->show();
  stagedDialog_->raise();
  stagedDialog_->activateWindow();
}

bool TMainForm::changeStages(const std::function<void()>& change) {
  if (!storeChildWindows()) return false;
  bool done = true;
  try {
    change();
  } catch (const std::exception& e) {
    TUserPrompts::Current().showError(this, QString::fromStdString(e.what()));
    done = false;
  }
  // The stage files were written and the model may be another stage's: the
  // history starts from the project as it now is.
  resetHistory();
  watchStageFiles();
  afterStageChange();
  return done;
}

bool TMainForm::confirmDroppedStages(int count) {
  const std::vector<int> dropped = project_.StagesDroppedBy(count);
  if (dropped.empty()) return true;
  const QString stages = QString::fromStdString(StageListText(dropped));
  QString text =
      dropped.size() == 1
          ? tr("%1 will be removed from the project, with everything entered for it.").arg(stages)
          : tr("%1 will be removed from the project, with everything entered for them.")
                .arg(stages);
  if (count == 1)
    text = tr("Staged analysis ends: the project keeps Stage %1 as it is shown now.\n")
               .arg(Data().CurrentStage) +
           text;
  text +=
      tr("\n\nNothing is deleted on disk until the project is saved; closing it without saving keeps "
         "every stage.\n\nRemove %1?")
          .arg(stages);
  return TUserPrompts::Current().askYesNo(this, text);
}

void TMainForm::afterStageChange() {
  // Every open table window and dialog shows the stage now current.
  tableWindows_->Refresh();
  dialogWindows_->ReloadAll();
  updateStageStatus();
  checkSequenceWindow();
  UpdateMenuStates();
}

void TMainForm::switchStage(int stage) {
  if (stage == Data().CurrentStage) {
    UpdateMenuStates();  // the button pressed again stays down
    return;
  }
  changeStages([this, stage] { project_.SwitchStage(stage); });
}

void TMainForm::saveCurrentStage() {
  changeStages([this] { project_.SaveCurrentStage(); });
}

void TMainForm::copyPreviousStage() {
  const int k = Data().CurrentStage;
  if (k < 2 || !storeChildWindows()) return;
  if (!TUserPrompts::Current().askYesNo(
          this, tr("Do you want to copy all information from Stage %1 to Stage %2").arg(k - 1).arg(k)))
    return;
  changeStages([this] { project_.CopyPreviousStage(); });
}

}  // namespace terraq::ui
