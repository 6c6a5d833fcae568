#include "dialogs/TSubgradeModulusDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <optional>

#include "SubgradeModulus.h"
#include "api/Units.h"
#include "controls/EvaluateEntry.h"
#include "controls/NumberFormat.h"
#include "dialogs/ViewText.h"
#include "widgets/HelpDocuments.h"

namespace terraq::ui {

namespace {

namespace api = engine::api;

QString WithUnit(std::string_view name, api::Quantity quantity, int units) {
  const std::string_view unit = api::UnitLabel(quantity, units);
  return unit.empty() ? Q(name) : Q(name) + QStringLiteral(" (") + Q(unit) + ')';
}

// A typed entry; nullopt when empty or not a number.
std::optional<double> Entry(const QLineEdit* edit) {
  if (edit->text().trimmed().isEmpty()) return std::nullopt;
  try {
    return static_cast<double>(EvaluateEntry(edit->text().toStdString()));
  } catch (const EAssignError&) {
    return std::nullopt;
  }
}

}  // namespace

TSubgradeModulusDialog::TSubgradeModulusDialog(int layer, int units, const std::string& dataText,
                                               QWidget* parent)
    : QDialog(parent), units_(units) {
  setObjectName(QStringLiteral("SubgradeModulusDialog"));
  setWindowTitle(tr("Subgrade Modulus of Layer %1").arg(layer));
  AddHelpKey(this, QStringLiteral("help/soil-models.html#deriving-the-subgrade-modulus"));
  correlation_ = new QComboBox(this);
  correlation_->setObjectName(QStringLiteral("Correlation"));
  for (const design::SubgradeCorrelation& c : design::SubgradeCorrelations())
    correlation_->addItem(Q(c.name), Q(c.key));
  formula_ = new QLabel(this);
  formula_->setWordWrap(true);
  formula_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  rigidity_ = new QLineEdit(this);
  rigidity_->setObjectName(QStringLiteral("WallRigidity"));
  if (const std::optional<double> ei = design::WallRigidityPerLength(dataText))
    rigidity_->setText(Q(FormatGeneral(*ei, 8)));
  auto* form = new QWidget(this);
  inputs_ = new QFormLayout(form);
  // The rigidity's row stays while the correlation's inputs are made anew.
  auto* wall = new QWidget(this);
  auto* wallRow = new QFormLayout(wall);
  wallRow->setContentsMargins(form->layout()->contentsMargins());
  // Per unit length of wall: lbs-in^2/in, kN-m^2/m.
  wallRow->addRow(tr("Wall's rigidity per unit length EI (%1/%2)")
                      .arg(Q(api::UnitLabel(api::Quantity::FlexuralRigidity, units_)),
                           Q(api::UnitLabel(api::Quantity::Length, units_))),
                  rigidity_);
  result_ = new QLabel(this);
  result_->setObjectName(QStringLiteral("DerivedModulus"));
  result_->setWordWrap(true);
  buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons_->button(QDialogButtonBox::Ok)->setText(tr("Use"));

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(correlation_);
  layout->addWidget(formula_);
  layout->addWidget(form);
  layout->addWidget(wall);
  layout->addWidget(result_);
  layout->addWidget(buttons_);
  connect(correlation_, &QComboBox::currentIndexChanged, this, &TSubgradeModulusDialog::showInputs);
  connect(rigidity_, &QLineEdit::textChanged, this, &TSubgradeModulusDialog::compute);
  connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
  showInputs();
}

const design::SubgradeCorrelation& TSubgradeModulusDialog::chosen() const {
  return design::SubgradeCorrelations()[static_cast<size_t>(
      std::max(0, correlation_->currentIndex()))];
}

QString TSubgradeModulusDialog::ResultText() const { return result_->text(); }

void TSubgradeModulusDialog::showInputs() {
  const design::SubgradeCorrelation& c = chosen();
  formula_->setText(Q(c.formula) + QStringLiteral("\n") + Q(c.source));
  while (inputs_->rowCount() > 0) inputs_->removeRow(0);
  top_.clear();
  bottom_.clear();
  inputs_->addRow(new QLabel(tr("At the layer's top / bottom")));
  for (const design::CorrelationInput& input : c.inputs) {
    auto* row = new QHBoxLayout;
    for (std::vector<QLineEdit*>* side : {&top_, &bottom_}) {
      auto* edit = new QLineEdit(this);
      edit->setObjectName(Q(input.key) +
                          (side == &top_ ? QStringLiteral("Top") : QStringLiteral("Bottom")));
      edit->setToolTip(Q(input.name));
      connect(edit, &QLineEdit::textChanged, this, &TSubgradeModulusDialog::compute);
      row->addWidget(edit);
      side->push_back(edit);
    }
    inputs_->addRow(WithUnit(input.name, input.quantity, units_), row);
  }
  compute();
}

void TSubgradeModulusDialog::compute() {
  const design::SubgradeCorrelation& c = chosen();
  buttons_->button(QDialogButtonBox::Ok)->setEnabled(false);
  const std::optional<double> ei = Entry(rigidity_);
  QStringList shown;
  double derived[2] = {0, 0};
  for (int side = 0; side < 2; ++side) {
    const std::vector<QLineEdit*>& edits = side == 0 ? top_ : bottom_;
    std::vector<double> values;
    for (const QLineEdit* edit : edits)
      if (const std::optional<double> v = Entry(edit)) values.push_back(*v);
    const QString where = side == 0 ? tr("top") : tr("bottom");
    if (values.size() != edits.size() || !ei) {
      shown << tr("At the %1: enter every input as a number.").arg(where);
      continue;
    }
    const design::SubgradeModulus kh = design::SubgradeModulusOf(c, values, *ei);
    if (!kh.value) {
      shown << tr("At the %1: %2.").arg(where, Q(kh.refusal));
      continue;
    }
    derived[side] = *kh.value;
    shown << tr("kh at the %1 = %2 %3")
                 .arg(where, Q(FormatGeneral(*kh.value, 5)),
                      Q(api::UnitLabel(api::Quantity::UnitWeight, units_)));
  }
  result_->setText(shown.join(QLatin1Char('\n')));
  if (derived[0] > 0 && derived[1] > 0) {
    moduli_ = {derived[0], derived[1]};
    buttons_->button(QDialogButtonBox::Ok)->setEnabled(true);
  }
}

}  // namespace terraq::ui
