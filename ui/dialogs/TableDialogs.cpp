#include "dialogs/TableDialogs.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/DialogPicture.h"

namespace terraq::ui {

namespace {

const TTableDialog::Description kSurcharge = {
    "DlgRebar",
    QT_TRANSLATE_NOOP("TTableDialog", "Additional Surcharge"),
    nullptr,
    nullptr,
    &TProgramData::UseSurcharge,
    "btnSurcharge",
    QT_TRANSLATE_NOOP("TTableDialog", "&Edit Surcharge Loads"),
    [](TProjectTables& t) -> TGridTable& { return t.SurchargeTable; },
    "Surcharge.jpg",
    "imgSurcharge"};

const TTableDialog::Description kConLoads = {
    "DlgConLoads",
    QT_TRANSLATE_NOOP("TTableDialog", "Concentrated Loads"),
    "ChkConLoads",
    QT_TRANSLATE_NOOP("TTableDialog", "Apply &Concentrated Loads"),
    &TProgramData::UseConcentratedLoads,
    "btnConLoads",
    QT_TRANSLATE_NOOP("TTableDialog", "&Edit Concentrated Loads"),
    [](TProjectTables& t) -> TGridTable& { return t.ConcentratedLoads; },
    "ConcentratedLoads.jpg",
    "imgConLoads"};

const TTableDialog::Description kSpring = {
    "DlgSpring",
    QT_TRANSLATE_NOOP("TTableDialog", "Lateral & Rotational Springs"),
    "ChkSpring",
    QT_TRANSLATE_NOOP("TTableDialog", "&Lateral and Rotational Springs"),
    &TProgramData::UseSprings,
    "btnSpring",
    QT_TRANSLATE_NOOP("TTableDialog", "&Edit Spring Stiffness"),
    [](TProjectTables& t) -> TGridTable& { return t.Springs; },
    "Springs.jpg",
    "imgSpring"};

}  // namespace

TTableDialog::TTableDialog(const Description& description, TDialogContext context, QWidget* parent)
    : TDataDialog(std::move(context), parent), description_(description) {
  setObjectName(QLatin1String(description.objectName));
  setWindowTitle(tr(description.caption));

  auto* controls = new QHBoxLayout;
  if (description.checkName) {
    check_ = new QCheckBox(tr(description.checkCaption), this);
    check_->setObjectName(QLatin1String(description.checkName));
    // clicked, not toggled: only the user's click switches the option, not
    // the load that shows the project's state.
    connect(check_, &QCheckBox::clicked, this, &TTableDialog::checkClick);
    controls->addWidget(check_);
  }
  button_ = new QPushButton(tr(description.buttonCaption), this);
  button_->setObjectName(QLatin1String(description.buttonName));
  button_->setAutoDefault(false);
  connect(button_, &QPushButton::clicked, this, &TTableDialog::buttonClick);
  controls->addWidget(button_);
  controls->addStretch(1);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(controls);
  layout->addWidget(MakePictureLabel(QLatin1String(description.picture), QLatin1String(description.pictureName), this),
                    0, Qt::AlignHCenter);
  layout->addStretch(1);
}

void TTableDialog::LoadOther(const TProgramData& values) {
  if (!description_.option) return;
  const bool on = values.*(description_.option);
  if (check_) check_->setChecked(on);
  button_->setEnabled(on);
}

void TTableDialog::checkClick(bool checked) {
  TProgramData& d = Data();
  bool& option = d.*(description_.option);
  if (option != checked) {
    option = checked;
    d.Modified = true;
  }
  button_->setEnabled(checked);
  // A table whose option is off is not part of the project: its window goes.
  if (!checked && Context().closeTable) Context().closeTable(description_.table(Tables()));
}

void TTableDialog::buttonClick() {
  if (Context().showTable) Context().showTable(description_.table(Tables()));
}

TDlgSurcharge::TDlgSurcharge(TDialogContext context, QWidget* parent)
    : TTableDialog(kSurcharge, std::move(context), parent) {
  Reload();
}

TDlgConLoads::TDlgConLoads(TDialogContext context, QWidget* parent)
    : TTableDialog(kConLoads, std::move(context), parent) {
  Reload();
}

TDlgSpring::TDlgSpring(TDialogContext context, QWidget* parent) : TTableDialog(kSpring, std::move(context), parent) {
  Reload();
}

}  // namespace terraq::ui
