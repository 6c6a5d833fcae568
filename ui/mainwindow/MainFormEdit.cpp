// TMainForm: the Edit menu, Undo and Redo of every edit of the project.
// The history itself is the project library's (core/project/EditHistory.h);
// here the windows tell projectEdited what they changed, and after an undo
// or redo every open window shows the project again, as after a reload.

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

#include "design/TDesignForm.h"
#include "dialogs/TDialogWindows.h"
#include "mainwindow/TMainForm.h"
#include "mainwindow/TTableWindows.h"
#include "plotwindow/TPlotForm.h"
#include "widgets/TUserPrompts.h"

namespace terraq::ui {

namespace {

// An edit's name as a menu caption shows it: "&" is text there.
QString menuText(const QString& command, const std::string& name) {
  QString edit = QString::fromStdString(name);
  edit.replace(QLatin1Char('&'), QStringLiteral("&&"));
  return edit.isEmpty() ? command : command + QLatin1Char(' ') + edit;
}

}  // namespace

void TMainForm::createEditMenu() {
  QMenu* menu = menuBar()->addMenu(tr("&Edit"));
  menu->setObjectName(QStringLiteral("EditMenu"));
  undoAction_ = addItem(menu, QStringLiteral("EditUndo"), tr("&Undo"));
  undoAction_->setShortcuts(QKeySequence::Undo);
  connect(undoAction_, &QAction::triggered, this, &TMainForm::EditUndo);
  // A plot window opens its own menu by Ctrl+Z: there the key is its alone
  // (two actions on one key would leave both silent).
  connect(mdiArea_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* window) {
    const bool plot = window && qobject_cast<TPlotForm*>(window->widget());
    undoAction_->setShortcuts(plot ? QList<QKeySequence>()
                                   : QKeySequence::keyBindings(QKeySequence::Undo));
  });
  redoAction_ = addItem(menu, QStringLiteral("EditRedo"), tr("&Redo"));
  // Ctrl+Y and Ctrl+Shift+Z on every platform, whichever the platform's own.
  QList<QKeySequence> redoKeys = QKeySequence::keyBindings(QKeySequence::Redo);
  for (const QKeySequence& key :
       {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)})
    if (!redoKeys.contains(key)) redoKeys << key;
  redoAction_->setShortcuts(redoKeys);
  connect(redoAction_, &QAction::triggered, this, &TMainForm::EditRedo);
}

void TMainForm::projectEdited(const QString& name) {
  // Windows shown again by an undo or redo may say they changed: that is
  // the step being taken, not an edit.
  if (steppingHistory_) return;
  if (history_.Record(name.toStdString(), project_)) emit projectChanged(name);
  UpdateMenuStates();
}

void TMainForm::resetHistory() {
  history_.Reset(project_);
  updateUndoActions();
}

void TMainForm::updateUndoActions() {
  if (!undoAction_) return;
  undoAction_->setText(menuText(tr("&Undo"), history_.UndoName()));
  undoAction_->setEnabled(history_.CanUndo());
  redoAction_->setText(menuText(tr("&Redo"), history_.RedoName()));
  redoAction_->setEnabled(history_.CanRedo());
}

void TMainForm::EditUndo() { stepHistory(true); }
void TMainForm::EditRedo() { stepHistory(false); }

void TMainForm::stepHistory(bool back) {
  // An entry still being typed is an edit of its own, undone first.
  if (!storeChildWindows()) return;
  const QString name = QString::fromStdString(back ? history_.UndoName() : history_.RedoName());
  const int units = Data().Units;
  const ProjectMembers before = project_.Members();
  steppingHistory_ = true;
  if (!(back ? history_.Undo(project_) : history_.Redo(project_))) {
    steppingHistory_ = false;
    return;
  }
  // The Study window's ranges are numbers in the units it was opened with,
  // as for a switch of units by the menu.
  if (studyWindow_ && Data().Units != units) {
    back ? history_.Redo(project_) : history_.Undo(project_);
    steppingHistory_ = false;
    TUserPrompts::Current().showError(
        this, tr("Close the Study window first: this step switches the units, and its ranges, "
                 "distributions and limits are in the units it was opened with."));
    UpdateMenuStates();
    return;
  }
  // The windows that hold a member of their own show it from the start.
  const ProjectMembers& now = project_.Members();
  if (sequenceWindow_ && now.sequence != before.sequence) sequenceWindow_->close();
  if (situationsWindow_ && !(now.designSituations == before.designSituations))
    situationsWindow_->close();
  if (designWindow_)
    if (auto* design = qobject_cast<TDesignForm*>(designWindow_->widget()))
      design->SetFactorSets(now.FactorSets());
  tableWindows_->Refresh();
  dialogWindows_->ReloadAll();
  checkSequenceWindow();
  steppingHistory_ = false;
  UpdateMenuStates();
  statusBar()->showMessage(back ? tr("Undone: %1").arg(name) : tr("Redone: %1").arg(name));
  emit projectChanged(back ? tr("Undo %1").arg(name) : tr("Redo %1").arg(name));
}

}  // namespace terraq::ui
