#pragma once
// The grid of a table window: a table view over a TGridTableModel whose
// enumerated cells are edited with a drop-down list, whose sub-table cells
// are buttons, and in which Enter walks down the columns (NextCellOnEnter).
// At most ten data rows are shown at once; more scroll.

#include <QStyledItemDelegate>
#include <QTableView>

#include "widgets/TGridTableModel.h"

namespace terraq::ui {

// Editors and painting of the cells.
class TGridDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  void setEditorData(QWidget* editor, const QModelIndex& index) const override;
  void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  // The width a column needs for any value it can hold (numbers of eight
  // digits, the longest item of a list, the longest sub-table caption).
  static int ColumnWidth(const TGridTableModel& model, int column, const QFontMetrics& metrics);

 signals:
  // A sub-table button was pressed.
  void buttonClicked(const QModelIndex& index);
  // Enter was pressed in an editor, after its text was handed to the model.
  void enterPressed(QWidget* editor);

 protected:
  bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;
  bool eventFilter(QObject* object, QEvent* event) override;

 private:
  static bool isButton(const QModelIndex& index);
};

class TGridView : public QTableView {
  Q_OBJECT

 public:
  static constexpr int kMaxVisibleRows = 10;

  explicit TGridView(TGridTableModel& model, QWidget* parent = nullptr);

  TGridTableModel& GridModel() const { return *model_; }
  TGridDelegate& Delegate() const { return *delegate_; }

  // The text of the top-left header cell (above the row numbers).
  void SetTopLeftText(const QString& text);
  const QString& TopLeftText() const { return topLeft_; }

  // The editor open on the current cell, if any.
  QWidget* OpenEditor() const;
  // Hands the open editor's text to the model; false when it was refused
  // (the editor stays open).
  bool CommitOpenEditor();
  // Closes the open editor without storing its text.
  void CloseOpenEditor();

  // The cursor to the next cell (NextCellOnEnter).
  void MoveOnEnter();
  // Column widths to fit headings and cells; the row-number column wide
  // enough for the top-left text plus two spaces, at least a third of an
  // inch.
  void FitColumns();

  // Wide enough for every column, high enough for the headings and up to
  // ten rows.
  QSize sizeHint() const override;
  // No taller than the rows shown (a scroll area's own minimum makes room
  // for both scroll bars, more than one row needs).
  QSize minimumSizeHint() const override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
  bool eventFilter(QObject* object, QEvent* event) override;

 private:
  void onEnterPressed(QWidget* editor);

  TGridTableModel* model_;
  TGridDelegate* delegate_;
  QString topLeft_;
};

}  // namespace terraq::ui
