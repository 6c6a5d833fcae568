// The Design Situations window's controls, made once by the constructor
// (TDesignSituationsForm.cpp): above, the sets, the selected set's factors,
// the options and the design values; below, the run and its results.

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "design/FigureView.h"
#include "design/StudyFormCells.h"
#include "design/TDesignSituationsForm.h"
#include "project/ProjectDesignSituations.h"
#include "project/RunSummary.h"
#include "project/StudyUnits.h"

namespace terraq::ui {

using study::Q;
using study::SetCell;

namespace {

QTableWidget* MakeTable(const char* name, const QStringList& headers, QWidget* parent) {
  auto* table = new QTableWidget(0, static_cast<int>(headers.size()), parent);
  table->setObjectName(QLatin1String(name));
  table->setHorizontalHeaderLabels(headers);
  table->verticalHeader()->hide();
  table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
  table->horizontalHeader()->setStretchLastSection(true);
  return table;
}

}  // namespace

// The sets, chosen by their check boxes.
QGroupBox* TDesignSituationsForm::makeSetsBox() {
  auto* setsBox = new QGroupBox(tr("Sets of partial factors"), this);
  sets_ = new QListWidget(setsBox);
  sets_->setObjectName(QStringLiteral("lstSets"));
  sets_->setToolTip(
      tr("Check the sets the wall is designed with. The project's own sets are in "
         "italics; double-click one of them to rename it."));
  newButton_ = new QPushButton(tr("&New"), setsBox);
  newButton_->setObjectName(QStringLiteral("btnNewSet"));
  newButton_->setToolTip(tr("A set of the project's own, from the selected set's factors"));
  deleteButton_ = new QPushButton(tr("&Delete"), setsBox);
  deleteButton_->setObjectName(QStringLiteral("btnDeleteSet"));
  auto* setButtons = new QHBoxLayout;
  setButtons->addWidget(newButton_);
  setButtons->addWidget(deleteButton_);
  auto* setsLayout = new QVBoxLayout(setsBox);
  setsLayout->addWidget(sets_);
  setsLayout->addLayout(setButtons);
  return setsBox;
}

// The selected set's factors.
QGroupBox* TDesignSituationsForm::makeFactorsBox() {
  auto* factorsBox = new QGroupBox(tr("Factors of the selected set"), this);
  description_ = new QLabel(factorsBox);
  description_->setObjectName(QStringLiteral("lblSetDescription"));
  description_->setWordWrap(true);
  factors_ = MakeTable("tblFactors", {tr("Factor"), tr("Value")}, factorsBox);
  factors_->setRowCount(static_cast<int>(design::FactorSymbols().size()));
  for (int row = 0; row < factors_->rowCount(); ++row)
    SetCell(factors_, row, 0, Q(std::string(design::FactorSymbols()[static_cast<size_t>(row)])));
  factors_->resizeColumnToContents(0);
  serviceability_ = new QCheckBox(tr("Ser&viceability set"), factorsBox);
  serviceability_->setObjectName(QStringLiteral("chkServiceability"));
  serviceability_->setToolTip(
      tr("A serviceability set gives the wall's deflections; an ultimate set gives the design "
         "moments, shears and support forces of the envelope"));
  setUnplanned_ = new QCheckBox(tr("Unplanned e&xcavation"), factorsBox);
  setUnplanned_->setObjectName(QStringLiteral("chkSetUnplannedExcavation"));
  setUnplanned_->setToolTip(
      tr("The excavation deepened by 10 % of the retained height below the lowest support, at "
         "most 0.5 m (1.64 ft), where the option below keeps it on"));
  auto* factorsLayout = new QVBoxLayout(factorsBox);
  factorsLayout->addWidget(description_);
  factorsLayout->addWidget(factors_);
  factorsLayout->addWidget(serviceability_);
  factorsLayout->addWidget(setUnplanned_);
  factorsLayout->addWidget(makeSeismicBox());
  return factorsBox;
}

// The options of every set.
QGroupBox* TDesignSituationsForm::makeOptionsBox() {
  auto* optionsBox = new QGroupBox(tr("Options"), this);
  unplanned_ = new QCheckBox(tr("&Unplanned excavation where a set calls for it"), optionsBox);
  unplanned_->setObjectName(QStringLiteral("chkUnplannedExcavation"));
  unplanned_->setChecked(choice_.options.unplannedExcavation);
  surcharge_ = new QDoubleSpinBox(optionsBox);
  surcharge_->setObjectName(QStringLiteral("sbMinimumSurcharge"));
  surcharge_->setRange(0, 1e6);
  surcharge_->setDecimals(3);
  surcharge_->setSpecialValueText(tr("none"));
  surcharge_->setValue(choice_.options.minimumSurcharge.value_or(0));
  surcharge_->setToolTip(
      tr("A smaller uniform surcharge on the retained side is taken as this "
         "(a characteristic variable action); none keeps the data file's"));
  auto* optionsLayout = new QFormLayout(optionsBox);
  optionsLayout->setRowWrapPolicy(QFormLayout::WrapLongRows);
  optionsLayout->addRow(unplanned_);
  // The unit beside the field rather than in it: "none" stands alone.
  auto* surchargeUnit = new QLabel(Q(ParameterUnit("surcharge", units_)), optionsBox);
  surchargeUnit->setObjectName(QStringLiteral("lblSurchargeUnit"));
  auto* surchargeRow = new QHBoxLayout;
  surchargeRow->addWidget(surcharge_, 1);
  surchargeRow->addWidget(surchargeUnit);
  auto* surchargeLabel = new QLabel(tr("&Minimum surcharge:"), optionsBox);
  surchargeLabel->setBuddy(surcharge_);
  optionsLayout->addRow(surchargeLabel, surchargeRow);
  return optionsBox;
}

// What the selected set makes of the soil.
QGroupBox* TDesignSituationsForm::makeValuesBox() {
  auto* valuesBox = new QGroupBox(tr("Design values of the selected set"), this);
  designValues_ =
      MakeTable("tblDesignValues",
                {tr("Layer"), tr("Parameter"), tr("Characteristic"), tr("Design")}, valuesBox);
  notes_ = new QLabel(valuesBox);
  notes_->setObjectName(QStringLiteral("lblNotes"));
  notes_->setWordWrap(true);
  auto* valuesLayout = new QVBoxLayout(valuesBox);
  valuesLayout->addWidget(designValues_);
  valuesLayout->addWidget(notes_);
  return valuesBox;
}

// The sets and their factors beside the options and the design values.
QWidget* TDesignSituationsForm::makeSetsPart() {
  QGroupBox* setsBox = makeSetsBox();
  QGroupBox* factorsBox = makeFactorsBox();
  QGroupBox* optionsBox = makeOptionsBox();
  QGroupBox* valuesBox = makeValuesBox();
  auto* right = new QVBoxLayout;
  right->addWidget(optionsBox);
  right->addWidget(valuesBox, 1);
  auto* top = new QWidget(this);
  auto* topLayout = new QHBoxLayout(top);
  topLayout->setContentsMargins(0, 0, 0, 0);
  topLayout->addWidget(setsBox, 2);
  topLayout->addWidget(factorsBox, 2);
  topLayout->addLayout(right, 3);
  return top;
}

// The run and its results.
QWidget* TDesignSituationsForm::makeResultsPart() {
  auto* bottom = new QWidget(this);
  runButton_ = new QPushButton(tr("&Run"), bottom);
  runButton_->setObjectName(QStringLiteral("btnRun"));
  status_ = new QLabel(bottom);
  status_->setObjectName(QStringLiteral("lblStatus"));
  status_->setWordWrap(true);
  const ResultUnits u = ResultUnitsFor(units_);
  resultsTable_ = MakeTable(
      "tblResults",
      {tr("Stage"), tr("Set"), tr("Moment, %1").arg(Q(u.moment)), tr("Shear, %1").arg(Q(u.force)),
       tr("Support forces, %1").arg(Q(u.force)), tr("Top deflection, %1").arg(Q(u.length))},
      bottom);
  auto* runRow = new QHBoxLayout;
  runRow->addWidget(runButton_);
  runRow->addWidget(status_, 1);
  auto* figureColumn = makeFigureColumn(bottom);
  auto* resultsRow = new QHBoxLayout;
  resultsRow->addWidget(resultsTable_, 3);
  resultsRow->addLayout(figureColumn, 2);
  auto* bottomLayout = new QVBoxLayout(bottom);
  bottomLayout->setContentsMargins(0, 0, 0, 0);
  sectionCheck_ = new QLabel(bottom);
  sectionCheck_->setObjectName(QStringLiteral("lblSectionCheck"));
  sectionCheck_->setWordWrap(true);
  sectionCheck_->setVisible(false);
  bottomLayout->addLayout(runRow);
  bottomLayout->addWidget(sectionCheck_);
  bottomLayout->addLayout(resultsRow, 1);
  return bottom;
}

// The design effects of each set along a stage, the package's figures.
QVBoxLayout* TDesignSituationsForm::makeFigureColumn(QWidget* bottom) {
  figureStage_ = new QComboBox(bottom);
  figureStage_->setObjectName(QStringLiteral("cbFigureStage"));
  figureStage_->addItem(tr("Stage where each is largest"));
  figureTabs_ = new QTabWidget(bottom);
  figureTabs_->setObjectName(QStringLiteral("tabDesignFigures"));
  const std::pair<const char*, QString> figures[] = {{"figDesignMoment", tr("Moment")},
                                                     {"figDesignShear", tr("Shear")},
                                                     {"figDesignDeflection", tr("Deflection")}};
  for (int k = 0; k < 3; ++k) {
    figures_[k] = new FigureView(figureTabs_);
    figures_[k]->setObjectName(QLatin1String(figures[k].first));
    figures_[k]->SetFigure(std::nullopt, tr("Run to see the design effects of each set."));
    figureTabs_->addTab(figures_[k], figures[k].second);
  }
  auto* figureColumn = new QVBoxLayout;
  figureColumn->addWidget(figureStage_);
  figureColumn->addWidget(figureTabs_, 1);
  return figureColumn;
}

}  // namespace terraq::ui
