#include "plotwindow/TfrmLineNames.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "widgets/TUserPrompts.h"

namespace terraq::ui {

TfrmLineNames::TfrmLineNames(const TGraphPlot& graph, QWidget* parent) : QDialog(parent), names_(graph) {
  setObjectName(QStringLiteral("frmLineNames"));
  setWindowTitle(tr("Legend"));

  auto* listLabel = new QLabel(tr("Select line to modify:"), this);
  lbLines = new QListWidget(this);
  lbLines->setObjectName(QStringLiteral("lbLines"));
  for (const std::string& name : names_.Names()) lbLines->addItem(QString::fromStdString(name));
  listLabel->setBuddy(lbLines);

  auto* editLabel = new QLabel(tr("Type new legend below:"), this);
  edLine = new QLineEdit(this);
  edLine->setObjectName(QStringLiteral("edLine"));
  editLabel->setBuddy(edLine);

  btnOK = new QPushButton(tr("&OK"), this);
  btnOK->setObjectName(QStringLiteral("btnOK"));
  auto* btnCancel = new QPushButton(tr("Cancel"), this);
  btnCancel->setObjectName(QStringLiteral("btnCancel"));
  // Enter belongs to the edit box (it writes the name), not to a button.
  for (QPushButton* b : {btnOK, btnCancel}) {
    b->setAutoDefault(false);
    b->setDefault(false);
  }
  connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* buttons = new QHBoxLayout;
  buttons->setContentsMargins(10, 0, 10, 0);  // 20 pixels from the sides
  buttons->addWidget(btnOK);
  buttons->addStretch(1);
  buttons->addWidget(btnCancel);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(10, 10, 10, 10);
  layout->setSpacing(5);
  layout->addWidget(listLabel);
  layout->addWidget(lbLines, 1);
  layout->addWidget(editLabel);
  layout->addWidget(edLine);
  layout->addLayout(buttons);
  setMinimumSize(kMinWidth, kMinHeight);

  connect(lbLines, &QListWidget::currentRowChanged, this, [this](int row) {
    names_.Select(row);
    lbLinesClick();
  });
  connect(lbLines, &QListWidget::itemDoubleClicked, this, [this] { lbLinesClick(); });
  connect(edLine, &QLineEdit::returnPressed, this, &TfrmLineNames::edLineExit);
  connect(edLine, &QLineEdit::editingFinished, this, &TfrmLineNames::edLineExit);

  if (names_.Selected() >= 0) lbLines->setCurrentRow(names_.Selected());
}

void TfrmLineNames::lbLinesClick() {
  const int k = names_.Selected();
  if (k < 0) return;
  edLine->setText(QString::fromStdString(names_.Names()[static_cast<size_t>(k)]));
  const TRgb c = LineColour(k);
  QPalette palette = edLine->palette();
  palette.setColor(QPalette::Text, QColor(c.r, c.g, c.b));
  edLine->setPalette(palette);
}

void TfrmLineNames::edLineExit() {
  const int k = names_.Selected();
  // Enter emits twice (returnPressed, editingFinished), and the message box
  // of a refusal takes the focus from the box: one write, one message.
  if (k < 0 || writing_) return;
  writing_ = true;
  if (names_.Write(edLine->text().toStdString())) {
    lbLines->item(k)->setText(edLine->text());
  } else {
    edLine->setText(QString::fromStdString(names_.Names()[static_cast<size_t>(k)]));
    TUserPrompts::Current().showError(this, tr(kNameMissing));
  }
  writing_ = false;
}

}  // namespace terraq::ui
