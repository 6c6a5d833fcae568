#include "dialogs/TSoilModelPanel.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "api/Units.h"
#include "controls/EvaluateEntry.h"
#include "controls/NumberFormat.h"
#include "dialogs/TSubgradeModulusDialog.h"
#include "dialogs/ViewText.h"
#include "widgets/TUserPrompts.h"

namespace terraq::ui {

namespace {

namespace api = engine::api;

// The heading of a parameter's column: its symbol over its unit.
QString Heading(const api::SubgradeParameter& p, int units) {
  const std::string_view unit = api::UnitLabel(p.quantity, units);
  return unit.empty() ? Q(p.symbol) : Q(p.symbol) + QStringLiteral("\n(") + Q(unit) + ')';
}

// The defaults of a layer added in the panel: the moduli to enter, at rest
// from the friction angle, normally consolidated, reloading as loading.
api::SubgradeLayer NewLayer() { return {}; }

}  // namespace

TSoilModelPanel::TSoilModelPanel(Project project, QWidget* parent)
    : QGroupBox(tr("Soil model"), parent), project_(std::move(project)) {
  setObjectName(QStringLiteral("SoilModelPanel"));
  model_ = new QComboBox(this);
  model_->setObjectName(QStringLiteral("SoilModel"));
  model_->addItems(
      {tr("p-y curves generated from the layers"), tr("Subgrade-reaction springs from at rest")});
  rows_ = new QTableWidget(this);
  rows_->setObjectName(QStringLiteral("SubgradeParameters"));
  const auto parameters = api::SubgradeParameters();
  rows_->setColumnCount(static_cast<int>(parameters.size()) + 1);
  rows_->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
  rows_->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
  add_ = new QPushButton(tr("Add Row"), this);
  insert_ = new QPushButton(tr("Insert Row"), this);
  delete_ = new QPushButton(tr("Delete Row"), this);
  derive_ = new QPushButton(tr("Derive kh..."), this);
  derive_->setObjectName(QStringLiteral("DeriveSubgradeModulus"));
  derive_->setToolTip(tr("The selected layer's subgrade moduli by a published correlation"));
  state_ = new QLabel(this);
  state_->setObjectName(QStringLiteral("SoilModelState"));
  state_->setWordWrap(true);

  auto* buttons = new QHBoxLayout;
  for (QPushButton* b : {add_, insert_, delete_, derive_}) {
    b->setAutoDefault(false);
    buttons->addWidget(b);
  }
  buttons->addStretch(1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(model_, 0, Qt::AlignLeft);
  layout->addWidget(rows_, 0, Qt::AlignLeft);
  layout->addLayout(buttons);
  layout->addWidget(state_);

  connect(model_, &QComboBox::activated, this, &TSoilModelPanel::chooseModel);
  connect(rows_, &QTableWidget::itemChanged, this, &TSoilModelPanel::cellChanged);
  connect(add_, &QPushButton::clicked, this, [this] { addRow(false); });
  connect(insert_, &QPushButton::clicked, this, [this] { addRow(true); });
  connect(delete_, &QPushButton::clicked, this, &TSoilModelPanel::deleteRow);
  connect(derive_, &QPushButton::clicked, this, &TSoilModelPanel::derive);
  Refresh();
}

void TSoilModelPanel::Refresh() {
  refreshing_ = true;
  const int shownRows = rows_->isHidden() ? -1 : rows_->rowCount();
  const std::optional<SoilModelChoice> choice = project_.choice();
  const bool subgrade = choice && choice->subgrade;
  model_->setCurrentIndex(subgrade ? 1 : 0);
  const std::vector<std::string> layers = project_.layers();
  const int units = project_.units();
  QStringList headings{tr("Soil layer")};
  for (const api::SubgradeParameter& p : api::SubgradeParameters()) headings << Heading(p, units);
  rows_->setHorizontalHeaderLabels(headings);
  const size_t count = subgrade ? choice->layers.size() : 0;
  rows_->setRowCount(static_cast<int>(count));
  const auto parameters = api::SubgradeParameters();
  for (size_t r = 0; r < count; ++r) {
    QTableWidgetItem* soil =
        cellAt(static_cast<int>(r), 0, r < layers.size() ? Q(layers[r]) : tr("(no soil layer)"));
    soil->setFlags(Qt::ItemIsEnabled);
    for (size_t c = 0; c < parameters.size(); ++c) {
      const double value = choice->layers[r].*parameters[c].value;
      QTableWidgetItem* item =
          cellAt(static_cast<int>(r), static_cast<int>(c) + 1, Q(FormatDisplay(value)));
      item->setToolTip(Q(parameters[c].name));
      const bool toEnter = value == 0 && parameters[c].quantity == api::Quantity::UnitWeight;
      item->setBackground(toEnter ? QBrush(QColor(255, 236, 179)) : QBrush());
    }
  }
  rows_->resizeColumnsToContents();
  rows_->setVisible(subgrade);
  for (QPushButton* b : {add_, insert_, delete_, derive_}) b->setVisible(subgrade);
  delete_->setEnabled(count > 0);
  derive_->setEnabled(count > 0);
  if (subgrade) showState(*choice, layers.size());
  else
    state_->setText(
        tr("The soil resists on p-y curves below the excavation; the retained side "
           "presses with its generated earth pressure."));
  refreshing_ = false;
  if ((subgrade ? rows_->rowCount() : -1) != shownRows) emit sizeChanged();
}

// The cell's item with `text`; an item shown already is kept, not replaced:
// Refresh runs inside the table's own itemChanged of that item.
QTableWidgetItem* TSoilModelPanel::cellAt(int row, int column, const QString& text) {
  QTableWidgetItem* item = rows_->item(row, column);
  if (!item) {
    item = new QTableWidgetItem;
    rows_->setItem(row, column, item);
  }
  item->setText(text);
  return item;
}

QString TSoilModelPanel::StateText() const { return state_->text(); }

void TSoilModelPanel::showState(const SoilModelChoice& choice, size_t layerCount) {
  const std::string fault = api::SubgradeOptionsFault({choice.layers}, layerCount);
  state_->setText(fault.empty() ? tr("Every soil layer has its springs' parameters.")
                                : tr("Not ready to run: %1.").arg(Q(fault)));
}

void TSoilModelPanel::keep(const SoilModelChoice& choice) {
  project_.keep(choice);
  Refresh();
}

void TSoilModelPanel::chooseModel(int index) {
  SoilModelChoice choice = project_.choice().value_or(SoilModelChoice{});
  choice.subgrade = index == 1;
  // A first choice of the springs gets a row per soil layer; a choice of
  // the p-y curves keeps the rows for a later return.
  if (choice.subgrade && choice.layers.empty())
    choice.layers.assign(project_.layers().size(), NewLayer());
  keep(choice);
}

void TSoilModelPanel::cellChanged(QTableWidgetItem* item) {
  if (refreshing_ || item->column() == 0) return;
  SoilModelChoice choice = project_.choice().value_or(SoilModelChoice{});
  const size_t row = static_cast<size_t>(item->row());
  if (row >= choice.layers.size()) return;
  const api::SubgradeParameter& p = api::SubgradeParameters()[item->column() - 1];
  QString refusal;
  try {
    const double value = static_cast<double>(EvaluateEntry(item->text().toStdString()));
    const std::string fault = api::SubgradeParameterFault(p, value);
    if (fault.empty()) {
      choice.layers[row].*p.value = value;
      return keep(choice);
    }
    refusal = tr("Layer %1: %2.").arg(row + 1).arg(Q(fault));
  } catch (const EAssignError& e) {
    refusal = QString::fromStdString(e.what());
  }
  // Refused: the cell shows what the project keeps.
  Refresh();
  TUserPrompts::Current().showError(this, refusal);
}

void TSoilModelPanel::addRow(bool insert) {
  SoilModelChoice choice = project_.choice().value_or(SoilModelChoice{});
  const int current = rows_->currentRow();
  const size_t at = insert && current >= 0 ? static_cast<size_t>(current) : choice.layers.size();
  choice.layers.insert(choice.layers.begin() + static_cast<std::ptrdiff_t>(at), NewLayer());
  keep(choice);
  rows_->setCurrentCell(static_cast<int>(at), 1);
}

void TSoilModelPanel::deleteRow() {
  SoilModelChoice choice = project_.choice().value_or(SoilModelChoice{});
  const int current = rows_->currentRow();
  if (current < 0 || static_cast<size_t>(current) >= choice.layers.size()) return;
  choice.layers.erase(choice.layers.begin() + current);
  keep(choice);
}

void TSoilModelPanel::derive() {
  SoilModelChoice choice = project_.choice().value_or(SoilModelChoice{});
  const int row = std::max(0, rows_->currentRow());
  if (static_cast<size_t>(row) >= choice.layers.size()) return;
  TSubgradeModulusDialog dialog(row + 1, project_.units(), project_.dataText(), this);
  if (dialog.exec() != QDialog::Accepted) return;
  const SubgradeModulusPair kh = dialog.Moduli();
  choice.layers[static_cast<size_t>(row)].khTop = kh.top;
  choice.layers[static_cast<size_t>(row)].khBottom = kh.bottom;
  keep(choice);
}

}  // namespace terraq::ui
