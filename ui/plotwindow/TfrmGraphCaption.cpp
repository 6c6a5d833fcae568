#include "plotwindow/TfrmGraphCaption.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include "widgets/HelpDocuments.h"

namespace terraq::ui {

TfrmGraphCaption::TfrmGraphCaption(const std::string& title, bool titleOnTop, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmGraphCaption"));
  setWindowTitle(tr("Graph Caption"));
  AddHelpKey(this, QStringLiteral("help/graphs.html#graph-caption"));

  auto* label = new QLabel(tr("Enter Graph Caption"), this);
  caption_ = new QLineEdit(QString::fromStdString(title), this);
  caption_->setObjectName(QStringLiteral("edtCaption"));
  // Room for a title of a good length; a longer one scrolls.
  caption_->setMinimumWidth(caption_->fontMetrics().averageCharWidth() * 48);
  label->setBuddy(caption_);

  auto* place = new QGroupBox(tr("Caption Location"), this);
  top_ = new QRadioButton(tr("Top"), place);
  top_->setObjectName(QStringLiteral("rbTop"));
  bottom_ = new QRadioButton(tr("Bottom"), place);
  bottom_->setObjectName(QStringLiteral("rbBottom"));
  (titleOnTop ? top_ : bottom_)->setChecked(true);
  auto* placeLayout = new QHBoxLayout(place);
  placeLayout->addWidget(top_);
  placeLayout->addWidget(bottom_);
  placeLayout->addStretch(1);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("btnOK"));
  buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("btnCancel"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label);
  layout->addWidget(caption_);
  layout->addWidget(place);
  layout->addStretch(1);
  layout->addWidget(buttons);
}

std::string TfrmGraphCaption::Title() const { return caption_->text().toStdString(); }
bool TfrmGraphCaption::TitleOnTop() const { return top_->isChecked(); }

}  // namespace terraq::ui
