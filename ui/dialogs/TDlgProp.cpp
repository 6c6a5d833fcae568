#include "dialogs/TDlgProp.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

#include "dialogs/TDataEdit.h"
#include "dialogs/TDlgSection.h"
#include "project/SectionLibraryFiles.h"
#include "widgets/TUserPrompts.h"

namespace terraq::ui {

TDlgProp::TDlgProp(TDialogContext context, QWidget* parent) : TDataDialog(std::move(context), parent) {
  setObjectName(QStringLiteral("DlgProp"));
  setWindowTitle(tr("Wall Properties"));

  increments_ = NewField(QStringLiteral("deNI"), tr("&Increments (nodes)"), QString());
  increments_->SetIntegerOnly(true);
  increments_->SetMaxVal(kMaxIncrements);
  increments_->SetMinVal(kMinIncrements);
  BindNumber(
      increments_, [](const TProgramData& d) { return static_cast<double>(d.IncrementCount); },
      [](TProgramData& d, double value) {
        d.IncrementCount = static_cast<int>(std::lround(value));
      });

  auto* stiffness = new QLabel(tr("Wall Stiffness (EI)"), this);
  stiffness->setObjectName(QStringLiteral("lblSect"));
  sectionButton_ = new QPushButton(tr("Enter Section Data"), this);
  sectionButton_->setObjectName(QStringLiteral("btnSect"));
  sectionButton_->setAutoDefault(false);
  connect(sectionButton_, &QPushButton::clicked, this, &TDlgProp::sectionClick);
  librarySectionButton_ = new QPushButton(tr("Section..."), this);
  librarySectionButton_->setObjectName(QStringLiteral("btnLibrarySection"));
  librarySectionButton_->setAutoDefault(false);
  librarySectionButton_->setToolTip(tr("The wall's EI from a steel section of the library"));
  connect(librarySectionButton_, &QPushButton::clicked, this, &TDlgProp::librarySectionClick);

  incrementLength_ = NewField(QStringLiteral("deXGS"), tr("Increment Length"), QStringLiteral("L"));
  BindReal(incrementLength_, &TProgramData::IncrementLength);
  freeHeight_ = NewField(QStringLiteral("DeFH"), tr("Free Height of Wall"), QStringLiteral("L2"));
  BindReal(freeHeight_, &TProgramData::FreeHeight);
  deflectionLimit_ =
      NewField(QStringLiteral("deXLN"),
               tr("Maximum Allowable Deflection for computation iteration"), QStringLiteral("L"));
  BindReal(deflectionLimit_, &TProgramData::MaxDeflection);
  auto* note = new QLabel(tr("(Approx.10% of the wall height)  "), this);
  note->setObjectName(QStringLiteral("lblXLNNote"));
  closureTolerance_ =
      NewField(QStringLiteral("deSlope"), tr("Deflection Closure Tolerance"), QStringLiteral("L"));
  BindReal(closureTolerance_, &TProgramData::DeflectionTolerance);

  auto* grid = new QGridLayout;
  grid->setColumnStretch(0, 1);
  AddFieldRow(grid, 0, increments_);
  grid->addWidget(stiffness, 1, 0);
  auto* stiffnessButtons = new QHBoxLayout;
  stiffnessButtons->addWidget(sectionButton_);
  stiffnessButtons->addWidget(librarySectionButton_);
  grid->addLayout(stiffnessButtons, 1, 1);
  AddFieldRow(grid, 2, incrementLength_);
  AddFieldRow(grid, 3, freeHeight_);
  AddFieldRow(grid, 4, deflectionLimit_);
  grid->addWidget(note, 5, 0);
  AddFieldRow(grid, 6, closureTolerance_);
  // The note belongs to the field above it: no gap in between.
  grid->setRowMinimumHeight(5, 0);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addStretch(1);
  // Tab goes through the values in the order the manual lists them; the
  // section button, which opens a table, comes last.
  QWidget::setTabOrder(increments_, incrementLength_);
  QWidget::setTabOrder(incrementLength_, freeHeight_);
  QWidget::setTabOrder(freeHeight_, deflectionLimit_);
  QWidget::setTabOrder(deflectionLimit_, closureTolerance_);
  QWidget::setTabOrder(closureTolerance_, sectionButton_);
  QWidget::setTabOrder(sectionButton_, librarySectionButton_);
  Reload();
}

void TDlgProp::sectionClick() {
  if (Context().showTable) Context().showTable(Tables().PileSect);
}

void TDlgProp::librarySectionClick() {
  // What is typed here goes to the project first: the section's fill and
  // the reload after it must not lose it.
  if (!Store()) return;
  std::string error;
  std::optional<design::SectionLibrary> library = LoadProgramSectionLibrary(error);
  const std::optional<WallSection> current =
      Context().wallSection ? Context().wallSection() : std::nullopt;
  TDlgSection dialog(std::move(library), error, Data(), current, this);
  if (TUserPrompts::Current().runDialog(dialog) != QDialog::Accepted) return;
  if (Context().setWallSection) Context().setWallSection(dialog.Chosen());
}

}  // namespace terraq::ui
