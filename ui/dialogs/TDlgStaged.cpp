#include "dialogs/TDlgStaged.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "dialogs/TDataEdit.h"
#include "project/StageFiles.h"

namespace terraq::ui {

namespace {

// The count the up-down control steps between; 1 is "not staged".
constexpr int kFewestStages = 2;

QToolButton* arrowButton(QWidget* parent, const QString& name, Qt::ArrowType arrow) {
  auto* button = new QToolButton(parent);
  button->setObjectName(name);
  button->setArrowType(arrow);
  button->setAutoRepeat(true);
  button->setFixedSize(18, 12);
  return button;
}

}  // namespace

TDlgStaged::TDlgStaged(TStagedContext context, QWidget* parent) : QDialog(parent), context_(std::move(context)) {
  setObjectName(QStringLiteral("DlgStaged"));
  setWindowTitle(tr("Staged Construction Options"));

  StageAnalysis = new QCheckBox(tr("Conduct &Staged-Construction Analysis"), this);
  StageAnalysis->setObjectName(QStringLiteral("StageAnalysis"));

  auto* countLabel = new QLabel(tr("Enter the total number of stages (Max. = 5, Min =2)"), this);
  countLabel->setObjectName(QStringLiteral("lblStage"));
  deStage = new TDataEdit(this);
  deStage->setObjectName(QStringLiteral("deStage"));
  deStage->SetIntegerOnly(true);
  deStage->SetMinVal(1);
  deStage->SetMaxVal(kMaxStages);
  deStage->SetUnits(3);
  deStage->setFixedWidth(fontMetrics().averageCharWidth() * 6);
  countLabel->setBuddy(deStage);
  UpDownUp = arrowButton(this, QStringLiteral("UpDown1Up"), Qt::UpArrow);
  UpDownDown = arrowButton(this, QStringLiteral("UpDown1Down"), Qt::DownArrow);
  auto* upDown = new QVBoxLayout;
  upDown->setSpacing(0);
  upDown->addWidget(UpDownUp);
  upDown->addWidget(UpDownDown);

  ComboBox1 = new QComboBox(this);
  ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
  for (int k = 1; k <= kMaxStages; ++k) ComboBox1->addItem(tr("Stage %1").arg(k), k);
  EditUpdate = new QPushButton(tr("Update"), this);
  EditUpdate->setObjectName(QStringLiteral("EditUpdate"));
  EditUpdate->setAutoDefault(false);

  auto* notes = new QVBoxLayout;
  notes->setSpacing(0);
  for (const QString& text : {tr("Please begin with Stage 1 and "), tr("save the input data at completion "),
                              tr("of each stage."), tr("Click the  UPDATE button to"),
                              tr("back to the Data Menu for data"), tr("entry of each stage sequentially.")})
    notes->addWidget(new QLabel(text, this));

  auto* explanation = new QPlainTextEdit(this);
  explanation->setObjectName(QStringLiteral("Memo1"));
  explanation->setReadOnly(true);
  explanation->setPlainText(
      tr("The staged analysis is simplified: each construction stage is a complete data set (excavation depth, "
         "anchors, water table, loads) analysed on its own. No stress or deflection history is carried from one "
         "stage to the next; the p-y curves are generated anew for each stage's excavation depth, wall height "
         "and water table."));
  explanation->setFixedHeight(fontMetrics().lineSpacing() * 8);

  Button1 = new QPushButton(tr("OK"), this);
  Button1->setObjectName(QStringLiteral("Button1"));
  Button1->setDefault(true);
  Button2 = new QPushButton(tr("Cancel"), this);
  Button2->setObjectName(QStringLiteral("Button2"));
  Button2->setAutoDefault(false);

  auto* countRow = new QHBoxLayout;
  countRow->addWidget(countLabel, 1);
  countRow->addWidget(deStage);
  countRow->addLayout(upDown);
  auto* updateRow = new QHBoxLayout;
  updateRow->addWidget(ComboBox1);
  updateRow->addWidget(EditUpdate);
  updateRow->addStretch(1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(Button1);
  buttons->addWidget(Button2);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(StageAnalysis);
  layout->addLayout(countRow);
  layout->addSpacing(6);
  layout->addLayout(updateRow);
  layout->addLayout(notes);
  layout->addWidget(explanation);
  layout->addLayout(buttons);

  connect(StageAnalysis, &QCheckBox::clicked, this, &TDlgStaged::StageAnalysisClick);
  connect(UpDownUp, &QToolButton::clicked, this, [this] { UpDownClick(1); });
  connect(UpDownDown, &QToolButton::clicked, this, [this] { UpDownClick(-1); });
  connect(EditUpdate, &QPushButton::clicked, this, &TDlgStaged::EditUpdateClick);
  connect(Button1, &QPushButton::clicked, this, &TDlgStaged::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
  Reload();
}

void TDlgStaged::Reload() {
  const int count = context_.stageCount();
  deStage->SetNumber(count);
  StageAnalysis->setChecked(count >= kFewestStages);
  enableCount(count >= kFewestStages);
  ComboBox1->setCurrentIndex(std::clamp(context_.currentStage(), 1, kMaxStages) - 1);
}

void TDlgStaged::showEvent(QShowEvent* event) {
  // The project may have changed while a modeless dialog was hidden.
  Reload();
  QDialog::showEvent(event);
}

void TDlgStaged::enableCount(bool enabled) {
  deStage->setEnabled(enabled);
  UpDownUp->setEnabled(enabled);
  UpDownDown->setEnabled(enabled);
}

void TDlgStaged::StageAnalysisClick() {
  if (StageAnalysis->isChecked()) {
    if (enteredCount() < kFewestStages) deStage->SetNumber(kFewestStages);
    enableCount(true);
  } else {
    deStage->SetNumber(1);
    enableCount(false);
  }
}

void TDlgStaged::UpDownClick(int step) {
  const int count = enteredCount();
  if (count == 0) return;
  deStage->SetNumber(std::clamp(count + step, kFewestStages, kMaxStages));
}

int TDlgStaged::enteredCount() {
  if (!deStage->ConfirmEntry()) return 0;
  try {
    return static_cast<int>(std::lround(static_cast<double>(deStage->Number())));
  } catch (...) {
    return 0;
  }
}

void TDlgStaged::EditUpdateClick() {
  const int count = enteredCount();
  if (count == 0) return;
  if (context_.update(count, ComboBox1->currentData().toInt())) Reload();
}

void TDlgStaged::Button1Click() {
  const int count = enteredCount();
  if (count == 0) return;
  if (context_.apply(count)) accept();
}

}  // namespace terraq::ui
