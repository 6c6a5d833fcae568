#include "widgets/TTableForm.h"

#include <QCloseEvent>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

#include "dialogs/DialogPicture.h"
#include "widgets/TGridView.h"
#include "widgets/TUserPrompts.h"

namespace terraq::ui {

TTableForm::TTableForm(Resolver resolve, QWidget* parent)
    : QWidget(parent), model_(new TGridTableModel(std::move(resolve), this)), grid_(new TGridView(*model_, this)) {
  TGridTable* table = Table();
  // A table is shown with at least its minimum number of rows.
  if (table && table->RowCount() < table->MinRows()) {
    table->SetRowCount(table->MinRows());
    model_->Reload();
  }
  const TTableProperties properties = table ? table->Properties() : TTableProperties();
  setWindowTitle(QString::fromStdString(properties.Caption));
  connect(model_, &TGridTableModel::cellEdited, this,
          [this] { emit edited(tr("Edit %1").arg(windowTitle())); });

  // The grid is as high as its headings and (up to ten) rows: no empty
  // grid below the last row, whatever the picture beside it needs.
  // Nor wider than its columns when the notes below it are wider.
  grid_->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
  auto* left = new QVBoxLayout;
  left_ = left;
  left->addWidget(grid_, 0, Qt::AlignLeft);
  if (properties.HardwiredButton) {
    auto* buttons = new QHBoxLayout;
    addButton_ = new QPushButton(tr("&Add Row"), this);
    insertButton_ = new QPushButton(tr("&Insert Row"), this);
    deleteButton_ = new QPushButton(tr("&Delete Row"), this);
    addButton_->setObjectName(QStringLiteral("AddRow"));
    insertButton_->setObjectName(QStringLiteral("InsertRow"));
    deleteButton_->setObjectName(QStringLiteral("DeleteRow"));
    for (QPushButton* b : {addButton_, insertButton_, deleteButton_}) {
      b->setAutoDefault(false);
      buttons->addWidget(b);
    }
    buttons->addStretch(1);
    left->addLayout(buttons);
    connect(addButton_, &QPushButton::clicked, this, &TTableForm::addRow);
    connect(insertButton_, &QPushButton::clicked, this, &TTableForm::insertRow);
    connect(deleteButton_, &QPushButton::clicked, this, &TTableForm::deleteRow);
  }
  if (!properties.Comments.empty()) {
    comments_ = new QLabel(QString::fromStdString(properties.Comments), this);
    comments_->setObjectName(QStringLiteral("Comments"));
    comments_->setTextFormat(Qt::PlainText);
    left->addWidget(comments_);
  }
  left->addStretch(1);

  // The content scrolls inside the window when the window cannot be as
  // large as the content (a small main window, a wide picture).
  content_ = new QWidget(this);
  auto* outer = new QHBoxLayout(content_);
  outer->addLayout(left, 1);
  if (!properties.HelpPicture.empty()) {
    const QPixmap pixmap = LoadDialogPicture(QString::fromStdString(properties.HelpPicture));
    if (!pixmap.isNull()) {
      picture_ = new QLabel(this);
      picture_->setObjectName(QStringLiteral("HelpPicture"));
      picture_->setPixmap(pixmap);
      outer->addWidget(picture_, 0, Qt::AlignTop);
    }
  }

  auto* scroll = new QScrollArea(this);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setWidgetResizable(true);
  scroll->setWidget(content_);
  auto* frame = new QVBoxLayout(this);
  frame->setContentsMargins(0, 0, 0, 0);
  frame->addWidget(scroll);

  grid_->SetTopLeftText(QString::fromStdString(properties.TopLeft));
  grid_->FitColumns();
  updateButtons();

  // Refusals are reported once the view has finished with the cell that
  // was left.
  connect(model_, &TGridTableModel::entryRefused, this, &TTableForm::onEntryRefused, Qt::QueuedConnection);
  connect(model_, &TGridTableModel::rowCodeChanged, this, &TTableForm::structureChanged, Qt::QueuedConnection);
  connect(&grid_->Delegate(), &TGridDelegate::buttonClicked, this, &TTableForm::onButtonClicked);
}

QString TTableForm::PictureResource(const QString& pictureName) { return PictureResourcePath(pictureName); }

QSize TTableForm::sizeHint() const { return content_->sizeHint(); }

QMdiSubWindow* TTableForm::SubWindow() const { return qobject_cast<QMdiSubWindow*>(parentWidget()); }

bool TTableForm::StoreEdits() { return grid_->CommitOpenEditor(); }

void TTableForm::ReportInvalidEntry() {
  if (reporting_ || !HasInvalidEntry()) return;
  reporting_ = true;
  const TGridTableModel::Refusal refusal = model_->LastRefusal();
  // No editor may take the focus (and be committed) while the box is up.
  grid_->CloseOpenEditor();
  if (QMdiSubWindow* sub = SubWindow())
    if (QMdiArea* area = sub->mdiArea()) area->setActiveSubWindow(sub);
  TUserPrompts::Current().showError(this, refusal.message);
  const QModelIndex cell = model_->index(refusal.row, refusal.column);
  if (cell.isValid() && HasInvalidEntry()) {
    grid_->setCurrentIndex(cell);
    grid_->scrollTo(cell);
    grid_->edit(cell);
    if (QWidget* editor = grid_->OpenEditor()) editor->setFocus(Qt::OtherFocusReason);
  }
  reporting_ = false;
}

void TTableForm::DiscardEdits() {
  grid_->CloseOpenEditor();
  model_->ClearRefusal();
}

void TTableForm::Refresh() {
  const QModelIndex current = grid_->currentIndex();
  model_->Reload();
  grid_->FitColumns();
  if (current.isValid() && current.row() < model_->rowCount() && current.column() < model_->columnCount())
    grid_->setCurrentIndex(model_->index(current.row(), current.column()));
  updateButtons();
  fitWindow();
  emit refreshed();
}

void TTableForm::AddPanel(QWidget* panel) {
  left_->insertWidget(left_->count() - 1, panel);  // above the closing stretch
  if (!isVisible()) return;                        // fitted when first shown
  panel->show();  // at once, not when the layout's queued show comes: the fit counts it
  fitWindow();
}

void TTableForm::onEntryRefused() { ReportInvalidEntry(); }

void TTableForm::onButtonClicked(const QModelIndex& index) {
  if (!StoreEdits()) {
    ReportInvalidEntry();
    return;
  }
  emit subTableRequested(index.column(), index.row());
}

template <typename Command>
void TTableForm::rowCommand(const QString& name, Command&& command, bool firstColumn) {
  if (!StoreEdits()) {
    ReportInvalidEntry();
    return;
  }
  TGridTable* table = Table();
  if (!table) return;
  const QModelIndex current = grid_->currentIndex();
  const int column = current.isValid() && !firstColumn ? current.column() : 0;
  int row = -1;
  try {
    row = command(*table, current.isValid() ? current.row() : -1);
  } catch (const ETableError& e) {
    TUserPrompts::Current().showError(this, QString::fromStdString(e.what()));
    return;
  }
  model_->Reload();
  grid_->FitColumns();
  if (row >= 0 && row < model_->rowCount()) {
    const QModelIndex target = model_->index(row, column);
    grid_->setCurrentIndex(target);
  }
  updateButtons();
  fitWindow();
  // Typing goes on in the row, not on the button that made it.
  if (row >= 0 && row < model_->rowCount()) {
    grid_->scrollTo(model_->index(row, column));
    grid_->setFocus(Qt::OtherFocusReason);
  }
  emit structureChanged();
  emit edited(name.arg(windowTitle()));
}

void TTableForm::addRow() {
  rowCommand(
      tr("Add Row to %1"),
      [](TGridTable& table, int) { return table.AddRow() ? table.RowCount() - 1 : -1; }, true);
}

void TTableForm::insertRow() {
  rowCommand(
      tr("Insert Row in %1"),
      [](TGridTable& table, int row) { return table.InsertRow(row) ? row : -1; }, false);
}

void TTableForm::deleteRow() {
  rowCommand(
      tr("Delete Row from %1"),
      [](TGridTable& table, int row) {
        table.DeleteRow(row);
        return std::min(row, table.RowCount() - 1);
      },
      false);
}

void TTableForm::updateButtons() {
  const TGridTable* table = Table();
  if (!table || !addButton_) return;
  const bool room = table->MaxRows() == 0 || table->RowCount() + table->Properties().RowGroup <= table->MaxRows();
  addButton_->setEnabled(room);
  insertButton_->setEnabled(room);
  deleteButton_->setEnabled(table->RowCount() > 0);
}

void TTableForm::fitWindow() {
  // The grid keeps the width of its columns: squeezed beside a picture it
  // would scroll sideways inside itself, its scroll bar covering half of
  // its rows. When the window is narrower the window scrolls instead, the
  // grid first and whole.
  grid_->setMinimumWidth(grid_->sizeHint().width());
  grid_->updateGeometry();
  content_->layout()->activate();
  QMdiSubWindow* sub = SubWindow();
  if (!sub) {
    if (isWindow()) resize(sizeHint());
    return;
  }
  QSize size = sub->sizeHint();
  QMdiArea* area = sub->mdiArea();
  if (!area || !area->viewport()->isVisible()) {
    sub->resize(size);
    return;
  }
  // Within the visible area of the main window, whole: what does not fit
  // scrolls inside the window.
  const QSize visible = area->viewport()->size();
  const QSize wanted = size;
  size = size.boundedTo(visible);
  // A side cut short brings a scroll bar along the other side, which takes
  // its room from the content unless the window grows by it.
  const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
  if (size.width() < wanted.width())
    size.setHeight(std::min(visible.height(), size.height() + bar));
  if (size.height() < wanted.height()) size.setWidth(std::min(visible.width(), size.width() + bar));
  sub->resize(size);
  const QPoint at = sub->pos();
  sub->move(std::clamp(at.x(), 0, visible.width() - size.width()),
            std::clamp(at.y(), 0, visible.height() - size.height()));
}

void TTableForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // Fitted once when first shown; later the user's size stands until the
  // rows change.
  if (!fitted_) {
    fitted_ = true;
    fitWindow();
  }
}

void TTableForm::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    if (QMdiSubWindow* sub = SubWindow()) sub->close();
    else close();
    event->accept();
    return;
  }
  QWidget::keyPressEvent(event);
}

void TTableForm::closeEvent(QCloseEvent* event) {
  if (!StoreEdits()) {
    event->ignore();
    ReportInvalidEntry();
    return;
  }
  QWidget::closeEvent(event);
  emit closed();
}

}  // namespace terraq::ui
