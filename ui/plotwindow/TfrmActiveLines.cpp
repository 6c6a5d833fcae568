#include "plotwindow/TfrmActiveLines.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "graphs/PlotMenuRules.h"
#include "widgets/HelpDocuments.h"

namespace terraq::ui {

TfrmActiveLines::TfrmActiveLines(const TGraphPlot& graph, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmActiveLines"));
  setWindowTitle(tr("Active Curves"));
  AddHelpKey(this, QStringLiteral("help/graphs.html#active-curves"));
  for (size_t i = 0; i < graph.Lines.size(); ++i) {
    active_.push_back(graph.Lines[i].Active);
    labels_.push_back(ShownLabel(graph, static_cast<int>(i)));
  }

  lines_ = new QListWidget(this);
  lines_->setObjectName(QStringLiteral("lbLines"));
  lines_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  // The yes and no columns line up only in a fixed-pitch face.
  lines_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  ShowEntries();

  toggleSelected_ = new QPushButton(tr("Activate/Desactivate Selected"), this);
  toggleSelected_->setObjectName(QStringLiteral("ActivateDesactivateButton"));
  activateAll_ = new QPushButton(tr("Activate All"), this);
  activateAll_->setObjectName(QStringLiteral("ActivateButton"));
  deactivateAll_ = new QPushButton(tr("Desactivate All"), this);
  deactivateAll_->setObjectName(QStringLiteral("DesactivateButton"));
  okButton_ = new QPushButton(tr("&OK"), this);
  okButton_->setObjectName(QStringLiteral("btnOK"));
  okButton_->setDefault(true);
  auto* btnCancel = new QPushButton(tr("Cancel"), this);
  btnCancel->setObjectName(QStringLiteral("btnCancel"));
  for (QPushButton* b : {toggleSelected_, activateAll_, deactivateAll_}) b->setAutoDefault(false);

  connect(lines_, &QListWidget::itemDoubleClicked, this, &TfrmActiveLines::lineDoubleClicked);
  connect(toggleSelected_, &QPushButton::clicked, this, &TfrmActiveLines::toggleSelectedClick);
  connect(activateAll_, &QPushButton::clicked, this, [this] { SetAll(true); });
  connect(deactivateAll_, &QPushButton::clicked, this, [this] { SetAll(false); });
  connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* all = new QHBoxLayout;
  all->addWidget(activateAll_);
  all->addWidget(deactivateAll_);
  auto* close = new QHBoxLayout;
  close->addWidget(okButton_);
  close->addStretch(1);
  close->addWidget(btnCancel);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(10, 10, 10, 10);
  layout->setSpacing(5);
  layout->addWidget(lines_, 1);
  layout->addWidget(toggleSelected_);
  layout->addLayout(all);
  layout->addSpacing(5);
  layout->addLayout(close);
  setMinimumSize(kMinWidth, kMinHeight);
}

void TfrmActiveLines::ShowEntries() {
  // Entries are rewritten in place, so the selection stays for another flip.
  for (size_t i = 0; i < active_.size(); ++i) {
    const QString text = QString::fromStdString(ActiveEntryText(active_[i], labels_[i]));
    if (static_cast<int>(i) < lines_->count()) lines_->item(static_cast<int>(i))->setText(text);
    else lines_->addItem(text);
  }
}

void TfrmActiveLines::lineDoubleClicked() {
  FlipEntries(active_, {lines_->currentRow()});
  ShowEntries();
}

void TfrmActiveLines::toggleSelectedClick() {
  std::vector<int> selected;
  for (const QModelIndex& index : lines_->selectionModel()->selectedRows())
    selected.push_back(index.row());
  FlipEntries(active_, selected);
  ShowEntries();
}

void TfrmActiveLines::SetAll(bool active) {
  active_.assign(active_.size(), active);
  ShowEntries();
}

}  // namespace terraq::ui
