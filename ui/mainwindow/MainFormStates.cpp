// TMainForm: the states of menus and tool bar, the Options commands, the
// Data menu's tables, stages and the Window menu.

#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QStatusBar>

#include "dialogs/TDialogWindows.h"
#include "mainwindow/TMainForm.h"
#include "mainwindow/TTableWindows.h"
#include "controls/UnitsCode.h"
#include "project/StageFiles.h"
#include "widgets/TUserPrompts.h"

namespace terraq::ui {

namespace {

// Staged construction is edited in windows of a later version: until then
// the Stage menu and the stage buttons stay hidden, while staged data files
// are still opened, saved and run.
constexpr bool kStagedEditingAvailable = false;

// At most this many child windows are listed in the Window menu.
constexpr int kMaxWindowItems = 50;

void enableUnlessUnavailable(QAction* action, bool enabled) {
  if (action && !action->property("unavailable").toBool()) action->setEnabled(enabled);
}

}  // namespace

QString TMainForm::StageStatusText() const {
  const TProgramData& d = const_cast<TProject&>(project_).Data();  // read only
  return d.StageCount >= 2 ? tr("Construction Stage Number: %1").arg(d.CurrentStage) : QString();
}

void TMainForm::UpdateMenuStates() {
  states_ = ComputeMenuStates(Data(), GatherFileFacts(Data().DataFileName), resultsAvailable_, graphHoldsData_);
  applyMenuStates();
}

void TMainForm::applyMenuStates() {
  const TMenuStates& s = states_;
  auto check = [this](const char* name, bool on) {
    if (QAction* a = Action(QLatin1String(name))) a->setChecked(on);
  };
  auto enable = [this](const char* name, bool on) { enableUnlessUnavailable(Action(QLatin1String(name)), on); };
  auto show = [this](const char* name, bool on) {
    if (QAction* a = Action(QLatin1String(name))) a->setVisible(on);
  };

  // Options.
  check("OptionsKPYOP", s.generatePY);
  check("OptionsConcentrate", s.concentratedLoads);
  check("OptionsTipRes", s.restraints);
  check("OptionsPYCurves", s.externalPY);
  check("OptionsLateralSpring", s.springs);
  check("OptionsPYMod", s.pyModification);
  check("OptionsSurcharge", s.surcharge);
  check("OptionsEICurves", s.meiCurves);
  for (QAction* a : unitsGroup_->actions()) a->setChecked(a->data().toInt() == s.units);
  for (QAction* a : pressureGroup_->actions()) a->setChecked(a->data().toInt() == s.earthPressureOption);
  enable("OptionsLong", s.longTermEnabled);
  check("OptionsLong", s.longTermChecked);
  enable("OptionsStaged", s.stagedEnabled);
  check("OptionsStaged", s.stagedChecked);
  enable("ToolStaged", s.stagedEnabled);

  // Data: the long-term layout, then each item by its option.
  show("DataAxLoads", !s.longTermLayout);
  show("DistributedActiveEarthPressureMenu", !s.longTermLayout);
  Menu(QStringLiteral("SoilLayerDataMenu"))->menuAction()->setVisible(s.longTermLayout);
  Menu(QStringLiteral("DataLoading"))->menuAction()->setVisible(s.longTermLayout);
  for (const char* name : {"ShortTerm1", "LongTerm1", "ShortTerm2", "LongTerm2"}) show(name, s.termItemsVisible);
  enable("DataAxLoads", s.soilLayersEnabled);
  Menu(QStringLiteral("SoilLayerDataMenu"))->menuAction()->setEnabled(s.soilLayersEnabled);
  enable("DataCSD", s.soilLayersEnabled);
  enable("DistributedActiveEarthPressureMenu", s.distributedPressureEnabled);
  Menu(QStringLiteral("DataLoading"))->menuAction()->setEnabled(s.distributedPressureEnabled);
  enable("DataRebar", s.surchargeEnabled);
  enable("DataBoundCond", s.concentratedLoadsEnabled);
  enable("DataSoilLayer", s.restraintsEnabled);
  enable("DataPYMod", s.pyModificationEnabled);
  enable("DataPYCurves", s.externalPYEnabled);
  enable("DataSoilSpring", s.springsEnabled);
  enable("DataEICurves", s.meiCurvesEnabled);

  // Stages.
  stageMenu_->menuAction()->setVisible(kStagedEditingAvailable && s.staged);
  for (int k = 1; k <= kMaxStages; ++k) {
    const QString menuItem = QStringLiteral("Stage%1Menu").arg(k);
    const QString button = QStringLiteral("SpeedButton%1").arg(13 + k);
    for (const QString& name : {menuItem, button}) {
      QAction* a = Action(name);
      a->setEnabled(k <= s.stageCount);
      a->setChecked(k == s.currentStage);
    }
    Action(button)->setVisible(kStagedEditingAvailable && s.staged);
  }
  enable("SaveCurrentStage", s.staged);
  enable("CopyPreviousStage", s.copyPreviousEnabled);

  // Computation and the tool bar.
  enable("CompInput", s.inputEnabled);
  enable("CompKernel", s.runNotesEnabled);
  enable("CompOutput", s.outputEnabled);
  enable("ToolViewOutput", s.outputEnabled);
  const char* const graphItems[kGraphCount] = {"GraphPYCurves", "GraphDeflection",
                                               "GraphMoment",   "GraphShear",
                                               "GraphReaction", "GraphDeflectionMomentShear",
                                               "GraphPressure", "GraphPressureCombined"};
  for (int k = 0; k < kGraphCount; ++k) enable(graphItems[k], s.graphEnabled[k]);
  enable("ToolPYCurves", s.graphEnabled[kGraphPYCurves]);
  enable("ToolDeflection", s.graphEnabled[kGraphDeflection]);
  enable("ToolMoment", s.graphEnabled[kGraphMoment]);
  enable("ToolShear", s.graphEnabled[kGraphShear]);
  enable("ToolReaction", s.graphEnabled[kGraphReaction]);
  enable("ToolDeflectionMomentShear", s.graphEnabled[kGraphDeflectionMomentShear]);
  enable("ToolPressure", s.graphEnabled[kGraphPressure]);
}

bool TMainForm::storeChildWindows() { return dialogWindows_->StoreCurrent() && tableWindows_->StoreAll(); }

void TMainForm::toggleOption(bool TProgramData::* option, TGridTable* table) {
  if (!storeChildWindows()) {
    UpdateMenuStates();
    return;
  }
  TProgramData& d = Data();
  d.*option = !(d.*option);
  d.Modified = true;
  // A table whose option is off is not part of the project: its window goes.
  if (!(d.*option) && table) tableWindows_->Close(*table);
  // An open dialog shows the option's switch.
  dialogWindows_->ReloadAll();
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
    tableWindows_->Close(project_.Tables().LongSoil);
    tableWindows_->Close(project_.Tables().LongDist);
  }
  UpdateMenuStates();
}

void TMainForm::SetUnits(int units) {
  // A switch that converts nothing changes what every number means: only
  // when the user says so.
  const std::string question = UnitsSwitchQuestion(Data().Units, units);
  if (!storeChildWindows() ||
      (!question.empty() && !TUserPrompts::Current().askYesNo(this, QString::fromStdString(question)))) {
    UpdateMenuStates();
    return;
  }
  Data().SetUnits(units);
  tableWindows_->Refresh();
  dialogWindows_->ReloadAll();
  UpdateMenuStates();
}

void TMainForm::SetEarthPressureOption(int option) {
  TProgramData& d = Data();
  if (d.EarthPressureOption != option) {
    d.EarthPressureOption = option;
    d.Modified = true;
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

void TMainForm::ShowTable(TGridTable& table) { tableWindows_->Show(table); }

void TMainForm::switchStage(int stage) {
  if (stage == Data().CurrentStage || !storeChildWindows()) {
    UpdateMenuStates();
    return;
  }
  try {
    project_.SwitchStage(stage);
  } catch (const std::exception& e) {
    TUserPrompts::Current().showError(this, QString::fromStdString(e.what()));
  }
  tableWindows_->Refresh();
  dialogWindows_->ReloadAll();
  updateStageStatus();
  UpdateMenuStates();
}

void TMainForm::updateStageStatus() { stageLabel_->setText(StageStatusText()); }

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
