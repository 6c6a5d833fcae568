// TMainForm: the Data menu, which opens the project's data dialogs and
// tables, and the Options menu, which switches the project's options (units,
// earth pressure, the tables in use, long-term and staged analyses).

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

#include "dialogs/TDialogWindows.h"
#include "mainwindow/TMainForm.h"

namespace terraq::ui {

void TMainForm::createDataMenu() {
  TProjectTables& t = project_.Tables();
  QMenu* dataMenu = menuBar()->addMenu(tr("Da&ta"));
  dataMenu->setObjectName(QStringLiteral("DataMenu"));
  auto addDialog = [this, dataMenu](const char* name, const QString& caption, TDialogKind kind) {
    QAction* item = addItem(dataMenu, QLatin1String(name), caption);
    connect(item, &QAction::triggered, this, [this, kind] { dialogWindows_->Show(kind); });
    return item;
  };
  addDialog("DataTitle", tr("&Title"), TDialogKind::Title);
  addDialog("DataProp", tr("Wall &Properties"), TDialogKind::Prop);
  enableBy(addDialog("DataCSD", tr("&Wall Configuration"), TDialogKind::WallConfig),
           &TMenuStates::soilLayersEnabled);

  // Soil layers: one item, or in long-term mode a submenu of the two cases.
  plainSoilItem_ = addItem(dataMenu, QStringLiteral("DataAxLoads"), tr("&Soil Layer Data"));
  connect(plainSoilItem_, &QAction::triggered, this, [this, &t] { ShowTable(t.SoilLayers); });
  enableBy(plainSoilItem_, &TMenuStates::soilLayersEnabled);
  soilTermMenu_ = dataMenu->addMenu(tr("&Soil Layer Data"));
  soilTermMenu_->setObjectName(QStringLiteral("SoilLayerDataMenu"));
  enableBy(soilTermMenu_->menuAction(), &TMenuStates::soilLayersEnabled);
  termItems_[0] = addItem(soilTermMenu_, QStringLiteral("ShortTerm2"), tr("Short-Term"));
  connect(termItems_[0], &QAction::triggered, this, [this, &t] { ShowTable(t.SoilLayers); });
  termItems_[1] = addItem(soilTermMenu_, QStringLiteral("LongTerm2"), tr("Long-Term"));
  connect(termItems_[1], &QAction::triggered, this,
          [this, &t] { ShowTable(t.LongTermSoilLayers); });

  // The user's earth pressure, likewise.
  plainPressureItem_ = addItem(dataMenu, QStringLiteral("DistributedActiveEarthPressureMenu"),
                               tr("&Distributed Active Earth Pressure"));
  connect(plainPressureItem_, &QAction::triggered, this,
          [this, &t] { ShowTable(t.EarthPressure); });
  enableBy(plainPressureItem_, &TMenuStates::distributedPressureEnabled);
  pressureTermMenu_ = dataMenu->addMenu(tr("&Distributed Active Earth Pressure"));
  pressureTermMenu_->setObjectName(QStringLiteral("DataLoading"));
  enableBy(pressureTermMenu_->menuAction(), &TMenuStates::distributedPressureEnabled);
  termItems_[2] = addItem(pressureTermMenu_, QStringLiteral("ShortTerm1"), tr("Short-Term"));
  connect(termItems_[2], &QAction::triggered, this, [this, &t] { ShowTable(t.EarthPressure); });
  termItems_[3] = addItem(pressureTermMenu_, QStringLiteral("LongTerm1"), tr("Long-Term"));
  connect(termItems_[3], &QAction::triggered, this,
          [this, &t] { ShowTable(t.LongTermEarthPressure); });

  auto addTable = [this, dataMenu](const char* name, const QString& caption, TGridTable& table) {
    QAction* item = addItem(dataMenu, QLatin1String(name), caption);
    connect(item, &QAction::triggered, this, [this, &table] { ShowTable(table); });
    return item;
  };
  enableBy(addDialog("DataRebar", tr("&Additional Surcharge Loads"), TDialogKind::Surcharge),
           &TMenuStates::surchargeEnabled);
  enableBy(addDialog("DataBoundCond", tr("&Concentrated Loads on the Wall"), TDialogKind::ConLoads),
           &TMenuStates::concentratedLoadsEnabled);
  enableBy(
      addTable("DataSoilLayer", tr("&Boundary Condition on Deflection or Slope"), t.Restraints),
      &TMenuStates::restraintsEnabled);
  enableBy(addTable("DataPYMod", tr("Modification &Factors for p-y Curves"), t.PYMod),
           &TMenuStates::pyModificationEnabled);
  enableBy(addTable("DataPYCurves", tr("Sets of &External p-y Curves"), t.PYCurves),
           &TMenuStates::externalPYEnabled);
  enableBy(addDialog("DataSoilSpring", tr("&Lateral Springs and Rotational Restraints"),
                     TDialogKind::Spring),
           &TMenuStates::springsEnabled);
  enableBy(addTable("DataEICurves", tr("Sets of Nonlinear Moment vs EI Curves"), t.MEICurves),
           &TMenuStates::meiCurvesEnabled);
  dataMenu->setToolTipsVisible(true);
}

void TMainForm::addUnitsAndPressureMenus(QMenu* options) {
  QMenu* units = options->addMenu(tr("&Units"));
  units->setObjectName(QStringLiteral("OptionsUnits"));
  unitsGroup_ = new QActionGroup(this);
  const QString unitCaptions[] = {tr("&English Units (lbs, in)"), tr("&SI Units (kN, m)"),
                                  tr("&Other Units (F, L)")};
  const QString unitNames[] = {QStringLiteral("UnitsEnglish"), QStringLiteral("UnitsSI"),
                               QStringLiteral("UnitsOther")};
  for (int tag = 1; tag <= 3; ++tag) {
    QAction* a = addItem(units, unitNames[tag - 1], unitCaptions[tag - 1]);
    a->setCheckable(true);
    a->setData(tag);
    unitsGroup_->addAction(a);
    connect(a, &QAction::triggered, this, [this, tag] { SetUnits(tag); });
  }

  QMenu* pressure = options->addMenu(tr("Earth-Pressure Options"));
  pressure->setObjectName(QStringLiteral("OptionsKoutpt"));
  pressureGroup_ = new QActionGroup(this);
  const QString pressureCaptions[] = {
      tr("Earth-Pressure Specified by User"), tr("Generate Triangular-Distribution Earth-Pressure"),
      tr("Generate Trapezoidal-Distribution Pressure (Anchored Walls)")};
  const QString pressureNames[] = {QStringLiteral("PressureUser"),
                                   QStringLiteral("PressureTriangular"),
                                   QStringLiteral("PressureTrapezoidal")};
  for (int tag = 1; tag <= 3; ++tag) {
    QAction* a = addItem(pressure, pressureNames[tag - 1], pressureCaptions[tag - 1]);
    a->setCheckable(true);
    a->setData(tag);
    pressureGroup_->addAction(a);
    connect(a, &QAction::triggered, this, [this, tag] { SetEarthPressureOption(tag); });
  }
  // Opening the list chooses the user's pressure when nothing is chosen yet.
  connect(pressure, &QMenu::aboutToShow, this, &TMainForm::chooseDefaultEarthPressure);
}

void TMainForm::createOptionsMenu() {
  TProjectTables& t = project_.Tables();
  QMenu* options = menuBar()->addMenu(tr("&Options"));
  options->setObjectName(QStringLiteral("OptionsMenu"));
  addUnitsAndPressureMenus(options);
  checkBy(addOption(options, QStringLiteral("OptionsKPYOP"), tr("Generate &p-y Curves"),
                    &TProgramData::GeneratePY, nullptr),
          &TMenuStates::generatePY);
  checkBy(addOption(options, QStringLiteral("OptionsConcentrate"), tr("Apply &Concentrated Loads"),
                    &TProgramData::UseConcentratedLoads, &t.ConcentratedLoads),
          &TMenuStates::concentratedLoads);
  checkBy(addOption(options, QStringLiteral("OptionsTipRes"),
                    tr("Apply &Restraints on Deflection or Slope"), &TProgramData::UseRestraints,
                    &t.Restraints),
          &TMenuStates::restraints);
  checkBy(addOption(options, QStringLiteral("OptionsPYCurves"),
                    tr("Apply User Specified p-y Curves (&External)"), &TProgramData::UseExternalPY,
                    &t.PYCurves),
          &TMenuStates::externalPY);
  checkBy(addOption(options, QStringLiteral("OptionsLateralSpring"),
                    tr("Apply &Lateral Springs and Rotation Restraints"), &TProgramData::UseSprings,
                    &t.Springs),
          &TMenuStates::springs);
  checkBy(
      addOption(options, QStringLiteral("OptionsPYMod"),
                tr("Apply External p-y &Modification Factors"), &TProgramData::UsePYMod, &t.PYMod),
      &TMenuStates::pyModification);
  QAction* surcharge =
      addOption(options, QStringLiteral("OptionsSurcharge"), tr("Apply Additional Surcharge Loads"),
                &TProgramData::UseSurcharge, &t.SurchargeTable);
  checkBy(surcharge, &TMenuStates::surcharge);
  enableBy(surcharge, &TMenuStates::surchargeOptionEnabled);
  checkBy(addOption(options, QStringLiteral("OptionsEICurves"),
                    tr("Apply Nonlinear Moment vs EI Curves"), &TProgramData::UseMEICurves,
                    &t.MEICurves),
          &TMenuStates::meiCurves);
  options->addSeparator();
  QAction* a = addItem(options, QStringLiteral("OptionsLong"),
                       tr("Conduct Short-Term and Long-Term &Analyses"));
  a->setCheckable(true);
  connect(a, &QAction::triggered, this, &TMainForm::toggleLongTerm);
  enableBy(a, &TMenuStates::longTermEnabled);
  checkBy(a, &TMenuStates::longTermChecked);
  a = addItem(options, QStringLiteral("OptionsStaged"),
              tr("Conduct &Staged-Construction Analysis..."));
  a->setCheckable(true);
  connect(a, &QAction::triggered, this, [this] { ShowStagedDialog(true); });
  enableBy(a, &TMenuStates::stagedEnabled);
  checkBy(a, &TMenuStates::stagedChecked);
  addSequenceItem(options);
  options->addSeparator();
  a = addItem(options, QStringLiteral("OptionofTexeEditor1"), tr("&Option of Text Editor..."));
  connect(a, &QAction::triggered, this, &TMainForm::showEditorOptions);
  options->setToolTipsVisible(true);
}

}  // namespace terraq::ui
