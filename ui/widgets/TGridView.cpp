#include "widgets/TGridView.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStylePainter>

#include "widgets/GridNavigation.h"

namespace terraq::ui {

namespace {

// Drop-down lists show this many items before they scroll.
constexpr int kVisibleListItems = 11;
// Cells hold up to eight significant digits and a sign and exponent.
constexpr const char* kWidestNumber = "-0.0000000E-00";
// Long item texts are cut rather than making the grid wider than a screen.
constexpr int kMaxColumnWidth = 360;

bool isEnter(const QKeyEvent* key) { return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter; }

}  // namespace

// --- TGridDelegate

bool TGridDelegate::isButton(const QModelIndex& index) {
  const auto* model = qobject_cast<const TGridTableModel*>(index.model());
  return model && model->ClassOf(index.column()) == ColumnClass::Table;
}

QWidget* TGridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const {
  const auto* model = qobject_cast<const TGridTableModel*>(index.model());
  if (!model || isButton(index)) return nullptr;
  if (model->ClassOf(index.column()) == ColumnClass::Enum) {
    auto* list = new QComboBox(parent);
    list->addItems(model->ItemsOf(index.column()));
    list->setMaxVisibleItems(kVisibleListItems);
    list->setFrame(false);
    // A choice is a complete entry: store it at once, so that a new soil
    // type gets its parameter table while the list is still open.
    connect(list, &QComboBox::activated, this, [this, list] {
      emit const_cast<TGridDelegate*>(this)->commitData(list);
    });
    return list;
  }
  auto* line = new QLineEdit(parent);
  line->setFrame(false);
  line->setAlignment(index.data(Qt::TextAlignmentRole).value<Qt::Alignment>());
  return line;
}

void TGridDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
  const QVariant value = index.data(Qt::EditRole);
  if (auto* list = qobject_cast<QComboBox*>(editor)) {
    list->setCurrentIndex(value.toInt() - 1);
  } else if (auto* line = qobject_cast<QLineEdit*>(editor)) {
    line->setText(value.toString());
    line->selectAll();
  }
}

void TGridDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const {
  if (auto* list = qobject_cast<QComboBox*>(editor)) {
    if (list->currentIndex() >= 0) model->setData(index, list->currentIndex() + 1);
  } else if (auto* line = qobject_cast<QLineEdit*>(editor)) {
    model->setData(index, line->text());
  }
}

void TGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  if (!isButton(index)) {
    QStyledItemDelegate::paint(painter, option, index);
    return;
  }
  const QString caption = index.data(Qt::UserRole).toString();
  if (caption.isEmpty()) return;
  QStyleOptionButton button;
  button.rect = option.rect.adjusted(1, 1, -1, -1);
  button.text = caption;
  button.state = QStyle::State_Enabled | QStyle::State_Raised;
  if (option.state & QStyle::State_HasFocus) button.state |= QStyle::State_HasFocus;
  const QWidget* widget = option.widget;
  QStyle* style = widget ? widget->style() : QApplication::style();
  style->drawControl(QStyle::CE_PushButton, &button, painter, widget);
}

int TGridDelegate::ColumnWidth(const TGridTableModel& model, int column, const QFontMetrics& metrics) {
  int widest = 0;
  switch (model.ClassOf(column)) {
    case ColumnClass::Table:
      for (const QString& caption : model.ButtonCaptionsOf(column))
        widest = std::max(widest, metrics.horizontalAdvance(caption));
      return widest + 4 * metrics.averageCharWidth();
    case ColumnClass::Enum:
      for (const QString& item : model.ItemsOf(column)) widest = std::max(widest, metrics.horizontalAdvance(item));
      // Room for the drop-down arrow of the list.
      return widest + 4 * metrics.averageCharWidth() + 16;
    default:
      return metrics.horizontalAdvance(QLatin1String(kWidestNumber)) + 2 * metrics.averageCharWidth();
  }
}

QSize TGridDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
  QSize size = QStyledItemDelegate::sizeHint(option, index);
  if (const auto* model = qobject_cast<const TGridTableModel*>(index.model())) {
    const QFontMetrics metrics(option.font);
    int width = std::max(size.width(), ColumnWidth(*model, index.column(), metrics));
    if (isButton(index))
      width = std::max(width, metrics.horizontalAdvance(index.data(Qt::UserRole).toString()) +
                                  4 * metrics.averageCharWidth());
    size.setWidth(width);
  }
  return size;
}

bool TGridDelegate::editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                                const QModelIndex& index) {
  if (isButton(index) && event->type() == QEvent::MouseButtonRelease) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() == Qt::LeftButton && option.rect.contains(mouse->position().toPoint()) &&
        !index.data(Qt::UserRole).toString().isEmpty()) {
      emit buttonClicked(index);
      return true;
    }
  }
  return QStyledItemDelegate::editorEvent(event, model, option, index);
}

bool TGridDelegate::eventFilter(QObject* object, QEvent* event) {
  auto* editor = qobject_cast<QWidget*>(object);
  if (editor && event->type() == QEvent::KeyPress && isEnter(static_cast<QKeyEvent*>(event))) {
    emit commitData(editor);
    emit enterPressed(editor);
    return true;
  }
  return QStyledItemDelegate::eventFilter(object, event);
}

// --- TGridView

TGridView::TGridView(TGridTableModel& model, QWidget* parent)
    : QTableView(parent), model_(&model), delegate_(new TGridDelegate(this)) {
  setModel(model_);
  setItemDelegate(delegate_);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                  QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
  setCornerButtonEnabled(false);
  setWordWrap(false);
  horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
  horizontalHeader()->setHighlightSections(false);
  verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
  verticalHeader()->setHighlightSections(false);
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  // The corner shows the top-left text above the row numbers.
  if (auto* corner = findChild<QAbstractButton*>()) corner->installEventFilter(this);
  connect(delegate_, &TGridDelegate::enterPressed, this, &TGridView::onEnterPressed);
}

void TGridView::SetTopLeftText(const QString& text) {
  topLeft_ = text;
  if (auto* corner = findChild<QAbstractButton*>()) corner->update();
}

QWidget* TGridView::OpenEditor() const {
  const QModelIndex current = currentIndex();
  if (!current.isValid() || state() != QAbstractItemView::EditingState) return nullptr;
  return indexWidget(current);
}

bool TGridView::CommitOpenEditor() {
  if (QWidget* editor = OpenEditor()) commitData(editor);
  return !model_->HasRefusal();
}

void TGridView::CloseOpenEditor() {
  if (QWidget* editor = OpenEditor()) QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void TGridView::MoveOnEnter() {
  const int rows = model_->rowCount();
  const int columns = model_->columnCount();
  if (rows == 0 || columns == 0) return;
  const QModelIndex current = currentIndex();
  const TGridCell here = current.isValid() ? TGridCell{current.column(), current.row()} : TGridCell{columns - 1, rows - 1};
  const TGridCell next = NextCellOnEnter(here, columns, rows);
  const QModelIndex target = model_->index(next.row, next.column);
  setCurrentIndex(target);
  scrollTo(target);
}

void TGridView::FitColumns() {
  resizeColumnsToContents();
  // Wide enough for what the column can hold, even while it has no rows.
  const QFontMetrics cells(font());
  for (int c = 0; c < model_->columnCount(); ++c) {
    const int width = std::max(columnWidth(c), TGridDelegate::ColumnWidth(*model_, c, cells));
    setColumnWidth(c, std::min(width, kMaxColumnWidth));
  }
  const QFontMetrics metrics(verticalHeader()->font());
  const int textWidth = metrics.horizontalAdvance(topLeft_ + QStringLiteral("  ")) + 2 * metrics.averageCharWidth();
  const int third = (logicalDpiX() + 2) / 3;
  verticalHeader()->setMinimumWidth(std::max(textWidth, third));
  updateGeometry();
}

QSize TGridView::sizeHint() const {
  const int rows = model_->rowCount();
  int width = 2 * frameWidth() + std::max(verticalHeader()->minimumWidth(), verticalHeader()->sizeHint().width());
  for (int c = 0; c < model_->columnCount(); ++c) width += columnWidth(c);
  if (rows > kMaxVisibleRows) width += verticalScrollBar()->sizeHint().width();
  const int visible = std::clamp(rows, 1, kMaxVisibleRows);
  int height = 2 * frameWidth() + horizontalHeader()->sizeHint().height();
  height += visible * verticalHeader()->defaultSectionSize();
  return {width, height};
}

QSize TGridView::minimumSizeHint() const { return QTableView::minimumSizeHint().boundedTo(sizeHint()); }

void TGridView::keyPressEvent(QKeyEvent* event) {
  if (isEnter(event)) {
    MoveOnEnter();
    event->accept();
    return;
  }
  const QModelIndex current = currentIndex();
  if (event->key() == Qt::Key_Space && current.isValid() && model_->ClassOf(current.column()) == ColumnClass::Table &&
      !current.data(Qt::UserRole).toString().isEmpty()) {
    emit delegate_->buttonClicked(current);
    event->accept();
    return;
  }
  QTableView::keyPressEvent(event);
}

void TGridView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
  // Escape takes back what was typed: the cell keeps its stored value.
  if (hint == QAbstractItemDelegate::RevertModelCache) model_->ClearRefusal();
  QTableView::closeEditor(editor, hint);
}

void TGridView::onEnterPressed(QWidget* editor) {
  // A refused entry stays in its editor; the window reports it.
  if (model_->HasRefusal()) return;
  QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
  // Typing goes on in the grid, whether or not the window was the active
  // one when the editor closed.
  setFocus(Qt::OtherFocusReason);
  MoveOnEnter();
}

bool TGridView::eventFilter(QObject* object, QEvent* event) {
  auto* corner = qobject_cast<QAbstractButton*>(object);
  if (corner && event->type() == QEvent::Paint) {
    QStylePainter painter(corner);
    QStyleOptionHeader option;
    option.initFrom(corner);
    option.rect = corner->rect();
    option.text = topLeft_;
    option.textAlignment = Qt::AlignCenter;
    option.position = QStyleOptionHeader::OnlyOneSection;
    // The corner never reacts; it is drawn as a heading like its neighbours.
    option.state |= QStyle::State_Enabled;
    option.state &= ~QStyle::State_MouseOver;
    option.palette = horizontalHeader()->palette();
    painter.drawControl(QStyle::CE_Header, option);
    return true;
  }
  return QTableView::eventFilter(object, event);
}

}  // namespace terraq::ui
