#include "dialogs/TDlgProp.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

#include "dialogs/TDataEdit.h"

namespace terraq::ui {

TDlgProp::TDlgProp(TDialogContext context, QWidget* parent) : TDataDialog(std::move(context), parent) {
  setObjectName(QStringLiteral("DlgProp"));
  setWindowTitle(tr("Wall Properties"));

  deNI = NewField(QStringLiteral("deNI"), tr("&Increments (nodes)"), QString());
  deNI->SetIntegerOnly(true);
  deNI->SetMaxVal(kMaxIncrements);
  deNI->SetMinVal(kMinIncrements);
  BindNumber(
      deNI, [](const TProgramData& d) { return static_cast<double>(d.IncrementCount); },
      [](TProgramData& d, double value) { d.IncrementCount = static_cast<int>(std::lround(value)); });

  auto* stiffness = new QLabel(tr("Wall Stiffness (EI)"), this);
  stiffness->setObjectName(QStringLiteral("lblSect"));
  btnSect = new QPushButton(tr("Enter Section Data"), this);
  btnSect->setObjectName(QStringLiteral("btnSect"));
  btnSect->setAutoDefault(false);
  connect(btnSect, &QPushButton::clicked, this, &TDlgProp::btnSectClick);

  deXGS = NewField(QStringLiteral("deXGS"), tr("Increment Length"), QStringLiteral("L"));
  BindReal(deXGS, &TProgramData::IncrementLength);
  DeFH = NewField(QStringLiteral("DeFH"), tr("Free Height of Wall"), QStringLiteral("L2"));
  BindReal(DeFH, &TProgramData::FreeHeight);
  deXLN = NewField(QStringLiteral("deXLN"), tr("Maximum Allowable Deflection for computation iteration"),
                   QStringLiteral("L"));
  BindReal(deXLN, &TProgramData::MaxDeflection);
  auto* note = new QLabel(tr("(Approx.10% of the wall height)  "), this);
  note->setObjectName(QStringLiteral("lblXLNNote"));
  deSlope = NewField(QStringLiteral("deSlope"), tr("Deflection Closure Tolerance"), QStringLiteral("L"));
  BindReal(deSlope, &TProgramData::DeflectionTolerance);

  auto* grid = new QGridLayout;
  grid->setColumnStretch(0, 1);
  AddFieldRow(grid, 0, deNI);
  grid->addWidget(stiffness, 1, 0);
  grid->addWidget(btnSect, 1, 1);
  AddFieldRow(grid, 2, deXGS);
  AddFieldRow(grid, 3, DeFH);
  AddFieldRow(grid, 4, deXLN);
  grid->addWidget(note, 5, 0);
  AddFieldRow(grid, 6, deSlope);
  // The note belongs to the field above it: no gap in between.
  grid->setRowMinimumHeight(5, 0);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addStretch(1);
  // Tab goes through the values in the order the manual lists them; the
  // section button, which opens a table, comes last.
  QWidget::setTabOrder(deNI, deXGS);
  QWidget::setTabOrder(deXGS, DeFH);
  QWidget::setTabOrder(DeFH, deXLN);
  QWidget::setTabOrder(deXLN, deSlope);
  QWidget::setTabOrder(deSlope, btnSect);
  Reload();
}

void TDlgProp::btnSectClick() {
  if (Context().showTable) Context().showTable(Tables().PileSect);
}

}  // namespace terraq::ui
