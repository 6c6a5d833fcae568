#include "plotwindow/TfrmLineNames.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "widgets/HelpDocuments.h"
#include "widgets/TUserPrompts.h"

namespace terraq::ui {

TfrmLineNames::TfrmLineNames(const TGraphPlot& graph, QWidget* parent) : QDialog(parent), names_(graph) {
  setObjectName(QStringLiteral("frmLineNames"));
  setWindowTitle(tr("Legend"));
  AddHelpKey(this, QStringLiteral("help/graphs.html#legend"));

  auto* listLabel = new QLabel(tr("Select line to modify:"), this);
  lines_ = new QListWidget(this);
  lines_->setObjectName(QStringLiteral("lbLines"));
  for (const std::string& name : names_.Names()) lines_->addItem(QString::fromStdString(name));
  listLabel->setBuddy(lines_);

  auto* editLabel = new QLabel(tr("Type new legend below:"), this);
  name_ = new QLineEdit(this);
  name_->setObjectName(QStringLiteral("edLine"));
  editLabel->setBuddy(name_);

  okButton_ = new QPushButton(tr("&OK"), this);
  okButton_->setObjectName(QStringLiteral("btnOK"));
  auto* btnCancel = new QPushButton(tr("Cancel"), this);
  btnCancel->setObjectName(QStringLiteral("btnCancel"));
  // Enter belongs to the edit box (it writes the name), not to a button.
  for (QPushButton* b : {okButton_, btnCancel}) {
    b->setAutoDefault(false);
    b->setDefault(false);
  }
  connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* buttons = new QHBoxLayout;
  buttons->setContentsMargins(10, 0, 10, 0);  // 20 pixels from the sides
  buttons->addWidget(okButton_);
  buttons->addStretch(1);
  buttons->addWidget(btnCancel);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(10, 10, 10, 10);
  layout->setSpacing(5);
  layout->addWidget(listLabel);
  layout->addWidget(lines_, 1);
  layout->addWidget(editLabel);
  layout->addWidget(name_);
  layout->addLayout(buttons);
  setMinimumSize(kMinWidth, kMinHeight);

  connect(lines_, &QListWidget::currentRowChanged, this, [this](int row) {
    names_.Select(row);
    lineSelected();
  });
  connect(lines_, &QListWidget::itemDoubleClicked, this, [this] { lineSelected(); });
  connect(name_, &QLineEdit::returnPressed, this, &TfrmLineNames::nameEntered);
  connect(name_, &QLineEdit::editingFinished, this, &TfrmLineNames::nameEntered);

  if (names_.Selected() >= 0) lines_->setCurrentRow(names_.Selected());
}

void TfrmLineNames::lineSelected() {
  const int k = names_.Selected();
  if (k < 0) return;
  name_->setText(QString::fromStdString(names_.Names()[static_cast<size_t>(k)]));
  const TRgb c = LineColour(k);
  QPalette palette = name_->palette();
  palette.setColor(QPalette::Text, QColor(c.r, c.g, c.b));
  name_->setPalette(palette);
}

void TfrmLineNames::nameEntered() {
  const int k = names_.Selected();
  // Enter emits twice (returnPressed, editingFinished), and the message box
  // of a refusal takes the focus from the box: one write, one message.
  if (k < 0 || writing_) return;
  writing_ = true;
  if (names_.Write(name_->text().toStdString())) {
    lines_->item(k)->setText(name_->text());
  } else {
    name_->setText(QString::fromStdString(names_.Names()[static_cast<size_t>(k)]));
    TUserPrompts::Current().showError(this, tr(kNameMissing));
  }
  writing_ = false;
}

}  // namespace terraq::ui
