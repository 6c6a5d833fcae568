// TMainForm: the states of menus and tool bar, the Options commands, the
// Data menu's tables, the stage controls' states and the Window menu.

#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QStatusBar>
#include <functional>

#include "controls/UnitsCode.h"
#include "dialogs/TDialogWindows.h"
#include "mainwindow/TMainForm.h"
#include "mainwindow/TTableWindows.h"
#include "project/ProjectDesignSituations.h"
#include "project/ProjectSection.h"
#include "project/ProjectSequence.h"
#include "project/StageFiles.h"
#include "widgets/TUserPrompts.h"

namespace terraq::ui {

namespace {

// At most this many child windows are listed in the Window menu.
constexpr int kMaxWindowItems = 50;

// Not every graph has a tool-bar button.
void enableIfPresent(QAction* action, bool enabled) {
  if (action) action->setEnabled(enabled);
}

// A change of options that leaves the data file without its soil records
// drops the surcharge loads entered: the user is asked first. True when the
// change may go ahead; the loads are then switched off, their table window
// closed and the open dialogs shown again.
bool acceptSurchargeLoss(QWidget* parent, TProgramData& d, TTableWindows& tables, TDialogWindows& dialogs,
                         const std::function<void(TProgramData&)>& change) {
  TProgramData after = d;
  change(after);
  const int lost = SurchargeLoadsLostBy(d, after);
  if (lost == 0) return true;
  if (!TUserPrompts::Current().askYesNo(
          parent, QObject::tr("Surcharge loads act only with generated earth pressure or generated p-y curves, and "
                              "the data file cannot keep them otherwise.\n\nDiscard %1?")
                      .arg(lost == 1 ? QObject::tr("the surcharge load entered")
                                     : QObject::tr("the %1 surcharge loads entered").arg(lost))))
    return false;
  d.UseSurcharge = false;
  d.Modified = true;
  tables.Close(d.Tables().SurchargeTable);
  dialogs.ReloadAll();
  return true;
}

}  // namespace

void TMainForm::UpdateMenuStates() {
  states_ = ComputeMenuStates(Data(), GatherFileFacts(Data().DataFileName), graphsLoaded_, graphs_.HoldsData());
  applyMenuStates();
  updateTitle();
}

void TMainForm::applyMenuStates() {
  const TMenuStates& s = states_;
  for (const TStateBinding& b : enabledBy_) b.action->setEnabled(s.*b.flag);
  for (const TStateBinding& b : checkedBy_) b.action->setChecked(s.*b.flag);
  for (QAction* a : unitsGroup_->actions()) a->setChecked(a->data().toInt() == s.units);
  for (QAction* a : pressureGroup_->actions()) a->setChecked(a->data().toInt() == s.earthPressureOption);

  // Data: in long-term mode the submenus stand in place of the plain items.
  plainSoilItem_->setVisible(!s.longTermLayout);
  plainPressureItem_->setVisible(!s.longTermLayout);
  soilTermMenu_->menuAction()->setVisible(s.longTermLayout);
  pressureTermMenu_->menuAction()->setVisible(s.longTermLayout);
  for (QAction* a : termItems_) a->setVisible(s.termItemsVisible);

  // Stages: the menu items and the tool-bar buttons, in the same order.
  stageMenu_->menuAction()->setVisible(s.staged);
  for (const QActionGroup* group : {stageItems_, stageButtons_}) {
    const QList<QAction*> stages = group->actions();
    for (int k = 1; k <= stages.size(); ++k) {
      stages[k - 1]->setEnabled(k <= s.stageCount);
      stages[k - 1]->setChecked(k == s.currentStage);
    }
  }
  for (QAction* a : stageButtons_->actions()) a->setVisible(s.staged);

  for (int k = 0; k < kGraphCount; ++k) {
    enableIfPresent(graphItems_[k], s.graphEnabled[k]);
    enableIfPresent(graphButtons_[k], s.graphEnabled[k]);
  }
  graphItems_[kGraphUtilisation]->setToolTip(UtilisationNote());
  // Only a subgrade-reaction analysis has a mobilised earth pressure.
  graphItems_[kGraphMobilisedPressure]->setToolTip(
      s.graphEnabled[kGraphMobilisedPressure] ? QString()
      : mobilisedError_.isEmpty()
          ? tr("Run a project on the subgrade-reaction soil model to see its mobilised earth "
               "pressure.")
          : mobilisedError_);
}

bool TMainForm::storeChildWindows() { return dialogWindows_->StoreCurrent() && tableWindows_->StoreAll(); }

std::string TMainForm::WholeDataText() {
  try {
    return project_.DataText();
  } catch (const std::exception& e) {
    statusBar()->showMessage(QString::fromStdString(e.what()));
    return {};
  }
}

void TMainForm::closeChildWindows() {
  // The dialogs and table windows look at the project's tables: they go
  // first, dropping what may still be typed in them.
  dialogWindows_->DiscardAll();
  tableWindows_->CloseAll();
  mdiArea_->closeAllSubWindows();
}

void TMainForm::toggleOption(bool TProgramData::* option, TGridTable* table) {
  if (!storeChildWindows()) {
    UpdateMenuStates();
    return;
  }
  TProgramData& d = Data();
  const auto toggle = [option](TProgramData& p) { p.*option = !(p.*option); };
  if (!acceptSurchargeLoss(this, d, *tableWindows_, *dialogWindows_, toggle)) {
    UpdateMenuStates();
    return;
  }
  d.*option = !(d.*option);
  d.Modified = true;
  // A table whose option is off is not part of the project: its window goes.
  if (!(d.*option) && table) tableWindows_->Close(*table);
  // An open dialog shows the option's switch.
  dialogWindows_->ReloadAll();
  analyseLiveSoon();
  UpdateMenuStates();
}

void TMainForm::toggleLongTerm() {
  TProgramData& d = Data();
  if (d.StageCount >= 2 || !storeChildWindows()) {
    UpdateMenuStates();
    return;
  }
  d.LongTerm = !d.LongTerm;
  d.Modified = true;
  if (!d.LongTerm) {
    tableWindows_->Close(project_.Tables().LongTermSoilLayers);
    tableWindows_->Close(project_.Tables().LongTermEarthPressure);
  }
  checkSequenceWindow();
  analyseLiveSoon();
  UpdateMenuStates();
}

void TMainForm::SetUnits(int units) {
  // The Study window's ranges, distributions and limits are numbers in the
  // units it was opened with; switching under it would read 8 to 12 m as
  // inches.
  if (studyWindow_ && units != Data().Units) {
    TUserPrompts::Current().showError(
        this, tr("Close the Study window before switching units: its ranges, distributions and "
                 "limits are in the units it was opened with."));
    UpdateMenuStates();
    return;
  }
  // A switch that converts nothing changes what every number means: only
  // when the user says so.
  const std::string question = UnitsSwitchQuestion(Data().Units, units);
  if (!storeChildWindows() ||
      (!question.empty() && !TUserPrompts::Current().askYesNo(this, QString::fromStdString(question)))) {
    UpdateMenuStates();
    return;
  }
  const int before = Data().Units;
  Data().SetUnits(units);
  membersToUnits(before);
  tableWindows_->Refresh();
  dialogWindows_->ReloadAll();
  analyseLiveSoon();
  UpdateMenuStates();
}

void TMainForm::SetEarthPressureOption(int option) {
  TProgramData& d = Data();
  if (!acceptSurchargeLoss(this, d, *tableWindows_, *dialogWindows_, [option](TProgramData& p) {
        p.EarthPressureOption = option;
        p.UserPressure = option == 1;
      })) {
    UpdateMenuStates();
    return;
  }
  if (d.EarthPressureOption != option) {
    d.EarthPressureOption = option;
    d.Modified = true;
    analyseLiveSoon();
  }
  d.UserPressure = d.EarthPressureOption == 1;
  UpdateMenuStates();
}

void TMainForm::chooseDefaultEarthPressure() {
  TProgramData& d = Data();
  if (d.EarthPressureOption == 0) d.EarthPressureOption = 1;
  d.UserPressure = d.EarthPressureOption == 1;
  UpdateMenuStates();
}


void TMainForm::fillWindowMenu() {
  // The fixed items stay; the list of child windows is made anew.
  const QList<QAction*> actions = windowMenu_->actions();
  for (QAction* a : actions)
    if (a->property("childWindow").isValid()) {
      windowMenu_->removeAction(a);
      a->deleteLater();
    }
  const QList<QMdiSubWindow*> windows = mdiArea_->subWindowList();
  QMdiSubWindow* active = mdiArea_->activeSubWindow();
  int listed = 0;
  for (QMdiSubWindow* window : windows) {
    if (listed == kMaxWindowItems) break;
    if (window->isHidden()) continue;  // closed, not yet deleted
    if (listed == 0) windowMenu_->addSeparator()->setProperty("childWindow", true);
    QString caption = window->windowTitle();
    caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
    QAction* item = windowMenu_->addAction(caption);
    item->setProperty("childWindow", true);
    item->setCheckable(true);
    item->setChecked(window == active);
    QPointer<QMdiSubWindow> target(window);
    connect(item, &QAction::triggered, this, [this, target] {
      if (!target) return;
      if (target->isMinimized()) target->showNormal();
      mdiArea_->setActiveSubWindow(target);
    });
    ++listed;
  }
}

void TMainForm::arrangeIcons() {
  // Minimised child windows line up along the bottom of the frame.
  const QRect area = mdiArea_->viewport()->rect();
  int x = 0;
  int y = area.bottom();
  for (QMdiSubWindow* window : mdiArea_->subWindowList()) {
    if (!window->isMinimized()) continue;
    const QSize size = window->size();
    if (x > 0 && x + size.width() > area.width()) {
      x = 0;
      y -= size.height();
    }
    window->move(x, y - size.height() + 1);
    x += size.width();
  }
}

}  // namespace terraq::ui
