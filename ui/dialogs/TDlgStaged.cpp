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
#include "widgets/HelpDocuments.h"

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
  AddHelpKey(this, QStringLiteral("help/staged-and-long-term.html#the-dialog"));

  stagedBox_ = new QCheckBox(tr("Conduct &Staged-Construction Analysis"), this);
  stagedBox_->setObjectName(QStringLiteral("StageAnalysis"));

  QHBoxLayout* countRow = makeCountRow();
  stageChoice_ = new QComboBox(this);
  stageChoice_->setObjectName(QStringLiteral("ComboBox1"));
  for (int k = 1; k <= kMaxStages; ++k) stageChoice_->addItem(tr("Stage %1").arg(k), k);
  updateButton_ = new QPushButton(tr("Update"), this);
  updateButton_->setObjectName(QStringLiteral("EditUpdate"));
  updateButton_->setAutoDefault(false);

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

  QHBoxLayout* buttons = makeButtonRow();
  auto* updateRow = new QHBoxLayout;
  updateRow->addWidget(stageChoice_);
  updateRow->addWidget(updateButton_);
  updateRow->addStretch(1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(stagedBox_);
  layout->addLayout(countRow);
  layout->addSpacing(6);
  layout->addLayout(updateRow);
  layout->addLayout(notes);
  layout->addWidget(explanation);
  layout->addLayout(buttons);

  connect(stagedBox_, &QCheckBox::clicked, this, &TDlgStaged::StageAnalysisClick);
  connect(countUp_, &QToolButton::clicked, this, [this] { UpDownClick(1); });
  connect(countDown_, &QToolButton::clicked, this, [this] { UpDownClick(-1); });
  connect(updateButton_, &QPushButton::clicked, this, &TDlgStaged::EditUpdateClick);
  connect(okButton_, &QPushButton::clicked, this, &TDlgStaged::OkClick);
  connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
  Reload();
}

// The number of stages, typed or stepped with the arrows.
QHBoxLayout* TDlgStaged::makeCountRow() {
  auto* countLabel = new QLabel(tr("Enter the total number of stages (Max. = 5, Min =2)"), this);
  countLabel->setObjectName(QStringLiteral("lblStage"));
  stageCount_ = new TDataEdit(this);
  stageCount_->setObjectName(QStringLiteral("deStage"));
  stageCount_->SetIntegerOnly(true);
  stageCount_->SetMinVal(1);
  stageCount_->SetMaxVal(kMaxStages);
  stageCount_->SetUnits(3);
  stageCount_->setFixedWidth(fontMetrics().averageCharWidth() * 6);
  countLabel->setBuddy(stageCount_);
  countUp_ = arrowButton(this, QStringLiteral("UpDown1Up"), Qt::UpArrow);
  countDown_ = arrowButton(this, QStringLiteral("UpDown1Down"), Qt::DownArrow);
  auto* upDown = new QVBoxLayout;
  upDown->setSpacing(0);
  upDown->addWidget(countUp_);
  upDown->addWidget(countDown_);

  auto* countRow = new QHBoxLayout;
  countRow->addWidget(countLabel, 1);
  countRow->addWidget(stageCount_);
  countRow->addLayout(upDown);
  return countRow;
}

// OK and Cancel, after the way to the construction sequence where there is one.
QHBoxLayout* TDlgStaged::makeButtonRow() {
  okButton_ = new QPushButton(tr("OK"), this);
  okButton_->setObjectName(QStringLiteral("Button1"));
  okButton_->setDefault(true);
  cancelButton_ = new QPushButton(tr("Cancel"), this);
  cancelButton_->setObjectName(QStringLiteral("Button2"));
  cancelButton_->setAutoDefault(false);

  auto* buttons = new QHBoxLayout;
  // Staged construction that remembers lives in its own window; the dialog
  // closes so that the window can be used.
  if (context_.showSequence) {
    auto* sequence = new QPushButton(tr("Construction se&quence..."), this);
    sequence->setObjectName(QStringLiteral("btnSequence"));
    sequence->setAutoDefault(false);
    sequence->setToolTip(
        tr("Stages that each start from the wall and soil the stage before left, over the "
           "project's one wall"));
    connect(sequence, &QPushButton::clicked, this, [this] {
      const auto show = context_.showSequence;
      reject();
      show();
    });
    buttons->addWidget(sequence);
  }
  buttons->addStretch(1);
  buttons->addWidget(okButton_);
  buttons->addWidget(cancelButton_);
  return buttons;
}

void TDlgStaged::Reload() {
  const int count = context_.stageCount();
  stageCount_->SetNumber(count);
  stagedBox_->setChecked(count >= kFewestStages);
  enableCount(count >= kFewestStages);
  stageChoice_->setCurrentIndex(std::clamp(context_.currentStage(), 1, kMaxStages) - 1);
}

void TDlgStaged::showEvent(QShowEvent* event) {
  // The project may have changed while a modeless dialog was hidden.
  Reload();
  QDialog::showEvent(event);
}

void TDlgStaged::enableCount(bool enabled) {
  stageCount_->setEnabled(enabled);
  countUp_->setEnabled(enabled);
  countDown_->setEnabled(enabled);
}

void TDlgStaged::StageAnalysisClick() {
  if (stagedBox_->isChecked()) {
    if (enteredCount() < kFewestStages) stageCount_->SetNumber(kFewestStages);
    enableCount(true);
  } else {
    stageCount_->SetNumber(1);
    enableCount(false);
  }
}

void TDlgStaged::UpDownClick(int step) {
  const int count = enteredCount();
  if (count == 0) return;
  stageCount_->SetNumber(std::clamp(count + step, kFewestStages, kMaxStages));
}

int TDlgStaged::enteredCount() {
  if (!stageCount_->ConfirmEntry()) return 0;
  try {
    return static_cast<int>(std::lround(static_cast<double>(stageCount_->Number())));
  } catch (...) {
    return 0;
  }
}

void TDlgStaged::EditUpdateClick() {
  const int count = enteredCount();
  if (count == 0) return;
  if (context_.update(count, stageChoice_->currentData().toInt())) Reload();
}

void TDlgStaged::OkClick() {
  const int count = enteredCount();
  if (count == 0) return;
  if (context_.apply(count)) accept();
}

}  // namespace terraq::ui
