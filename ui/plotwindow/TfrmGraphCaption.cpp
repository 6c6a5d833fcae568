#include "plotwindow/TfrmGraphCaption.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace terraq::ui {

TfrmGraphCaption::TfrmGraphCaption(const std::string& title, bool titleOnTop, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmGraphCaption"));
  setWindowTitle(tr("Graph Caption"));

  auto* label = new QLabel(tr("Enter Graph Caption"), this);
  edtCaption = new QLineEdit(QString::fromStdString(title), this);
  edtCaption->setObjectName(QStringLiteral("edtCaption"));
  // Room for a title of a good length; a longer one scrolls.
  edtCaption->setMinimumWidth(edtCaption->fontMetrics().averageCharWidth() * 48);
  label->setBuddy(edtCaption);

  auto* place = new QGroupBox(tr("Caption Location"), this);
  rbTop = new QRadioButton(tr("Top"), place);
  rbTop->setObjectName(QStringLiteral("rbTop"));
  rbBottom = new QRadioButton(tr("Bottom"), place);
  rbBottom->setObjectName(QStringLiteral("rbBottom"));
  (titleOnTop ? rbTop : rbBottom)->setChecked(true);
  auto* placeLayout = new QHBoxLayout(place);
  placeLayout->addWidget(rbTop);
  placeLayout->addWidget(rbBottom);
  placeLayout->addStretch(1);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("btnOK"));
  buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("btnCancel"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label);
  layout->addWidget(edtCaption);
  layout->addWidget(place);
  layout->addStretch(1);
  layout->addWidget(buttons);
}

std::string TfrmGraphCaption::Title() const { return edtCaption->text().toStdString(); }
bool TfrmGraphCaption::TitleOnTop() const { return rbTop->isChecked(); }

}  // namespace terraq::ui
