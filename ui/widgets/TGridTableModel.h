#pragma once
// The item model through which a table window shows and edits one data-entry
// table (TGridTable). Cells show the column's text (enumerated cells the
// text of their item); headings show the column's caption lines with its
// unit; rows are numbered from 1.
//
// The table is reached through a resolver on every access, never kept: a
// sub-table disappears when its row is deleted or given another code, and
// the window on it must then find nothing rather than freed memory.
//
// An entry that the column refuses is never stored. The model remembers the
// refused text and the message (the refusal) and announces it; the window
// reports it and takes the user back to the cell.

#include <QAbstractTableModel>
#include <QString>
#include <functional>

#include "tables/TGridTable.h"

namespace terraq::ui {

class TGridTableModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  // Returns the table, or nullptr when it no longer exists.
  using Resolver = std::function<TGridTable*()>;

  struct Refusal {
    int row = -1;
    int column = -1;
    QString text;     // what was typed
    QString message;  // why it was refused
  };

  explicit TGridTableModel(Resolver resolve, QObject* parent = nullptr);

  TGridTable* Table() const { return resolve_(); }
  const Resolver& TableResolver() const { return resolve_; }
  // The class of a column (Float when the table is gone).
  ColumnClass ClassOf(int column) const;
  // The item texts of an enumerated column (empty for other columns).
  QStringList ItemsOf(int column) const;
  // Every caption a sub-table button of the column can carry at the
  // largest row number, so that the column need not widen when a row gets
  // another sub-table.
  QStringList ButtonCaptionsOf(int column) const;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  // Stores a typed text (enumerated cells: the 1-based code) through the
  // column's validation. A refused entry becomes the refusal and is
  // announced by entryRefused(); false then.
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

  bool HasRefusal() const { return refusal_.row >= 0; }
  const Refusal& LastRefusal() const { return refusal_; }
  void ClearRefusal() { refusal_ = Refusal(); }

  // Shows the table's current content (rows, units, values) again.
  void Reload();

 signals:
  void entryRefused();
  // The code in a row's first column changed; the row has a new sub-table.
  void rowCodeChanged(int row);
  // A typed entry was stored and changed the cell (after the signals above).
  void cellEdited(int row, int column);

 private:
  Resolver resolve_;
  Refusal refusal_;
};

}  // namespace terraq::ui
