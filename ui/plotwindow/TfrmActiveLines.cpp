#include "plotwindow/TfrmActiveLines.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "graphs/PlotMenuRules.h"

namespace terraq::ui {

TfrmActiveLines::TfrmActiveLines(const TGraphPlot& graph, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmActiveLines"));
  setWindowTitle(tr("Active Curves"));
  for (size_t i = 0; i < graph.Lines.size(); ++i) {
    active_.push_back(graph.Lines[i].Active);
    labels_.push_back(ShownLabel(graph, static_cast<int>(i)));
  }

  lbLines = new QListWidget(this);
  lbLines->setObjectName(QStringLiteral("lbLines"));
  lbLines->setSelectionMode(QAbstractItemView::ExtendedSelection);
  // The yes and no columns line up only in a fixed-pitch face.
  lbLines->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  ShowEntries();

  ActivateDesactivateButton = new QPushButton(tr("Activate/Desactivate Selected"), this);
  ActivateDesactivateButton->setObjectName(QStringLiteral("ActivateDesactivateButton"));
  ActivateButton = new QPushButton(tr("Activate All"), this);
  ActivateButton->setObjectName(QStringLiteral("ActivateButton"));
  DesactivateButton = new QPushButton(tr("Desactivate All"), this);
  DesactivateButton->setObjectName(QStringLiteral("DesactivateButton"));
  btnOK = new QPushButton(tr("&OK"), this);
  btnOK->setObjectName(QStringLiteral("btnOK"));
  btnOK->setDefault(true);
  auto* btnCancel = new QPushButton(tr("Cancel"), this);
  btnCancel->setObjectName(QStringLiteral("btnCancel"));
  for (QPushButton* b : {ActivateDesactivateButton, ActivateButton, DesactivateButton}) b->setAutoDefault(false);

  connect(lbLines, &QListWidget::itemDoubleClicked, this, &TfrmActiveLines::lbLinesDblClick);
  connect(ActivateDesactivateButton, &QPushButton::clicked, this, &TfrmActiveLines::ActivateDesactivateButtonClick);
  connect(ActivateButton, &QPushButton::clicked, this, [this] { SetAll(true); });
  connect(DesactivateButton, &QPushButton::clicked, this, [this] { SetAll(false); });
  connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* all = new QHBoxLayout;
  all->addWidget(ActivateButton);
  all->addWidget(DesactivateButton);
  auto* close = new QHBoxLayout;
  close->addWidget(btnOK);
  close->addStretch(1);
  close->addWidget(btnCancel);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(10, 10, 10, 10);
  layout->setSpacing(5);
  layout->addWidget(lbLines, 1);
  layout->addWidget(ActivateDesactivateButton);
  layout->addLayout(all);
  layout->addSpacing(5);
  layout->addLayout(close);
  setMinimumSize(kMinWidth, kMinHeight);
}

void TfrmActiveLines::ShowEntries() {
  // Entries are rewritten in place, so the selection stays for another flip.
  for (size_t i = 0; i < active_.size(); ++i) {
    const QString text = QString::fromStdString(ActiveEntryText(active_[i], labels_[i]));
    if (static_cast<int>(i) < lbLines->count())
      lbLines->item(static_cast<int>(i))->setText(text);
    else
      lbLines->addItem(text);
  }
}

void TfrmActiveLines::lbLinesDblClick() {
  FlipEntries(active_, {lbLines->currentRow()});
  ShowEntries();
}

void TfrmActiveLines::ActivateDesactivateButtonClick() {
  std::vector<int> selected;
  for (const QModelIndex& index : lbLines->selectionModel()->selectedRows()) selected.push_back(index.row());
  FlipEntries(active_, selected);
  ShowEntries();
}

void TfrmActiveLines::SetAll(bool active) {
  active_.assign(active_.size(), active);
  ShowEntries();
}

}  // namespace terraq::ui
