#include "tables/TGridTable.h"

#include <algorithm>

#include "tables/TableLibrary.h"

namespace terraq::ui {

TGridTable::TGridTable(TTableProperties properties, std::vector<std::unique_ptr<TColumn>> columns,
                       const TTableLibrary* library, int units)
    : properties_(std::move(properties)),
      columns_(std::move(columns)),
      library_(library),
      units_(std::clamp(units, 1, 3)) {
  properties_.RowGroup = std::max(1, properties_.RowGroup);
  for (auto& column : columns_) column->EraseRows(0, column->RowCount());
}

TGridTable::~TGridTable() = default;

std::unique_ptr<TGridTable> TGridTable::Clone() const {
  std::vector<std::unique_ptr<TColumn>> columns;
  for (const auto& column : columns_) columns.push_back(column->Clone());
  auto copy = std::unique_ptr<TGridTable>(new TGridTable(properties_, {}, library_, units_));
  copy->columns_ = std::move(columns);
  copy->rows_ = rows_;
  copy->number_ = number_;
  copy->changed_ = changed_;
  return copy;
}

void TGridTable::TakeContent(const TGridTable& source) {
  if (&source == this) return;
  std::vector<std::unique_ptr<TColumn>> columns;
  for (const auto& column : source.columns_) columns.push_back(column->Clone());
  columns_ = std::move(columns);
  rows_ = source.rows_;
  units_ = source.units_;
  changed_ = true;
}

TColumn& TGridTable::Column(int column) {
  if (column < 0 || column >= ColumnCount()) throw ETableError(Name() + ": no column " + std::to_string(column));
  return *columns_[static_cast<size_t>(column)];
}

const TColumn& TGridTable::Column(int column) const {
  if (column < 0 || column >= ColumnCount()) throw ETableError(Name() + ": no column " + std::to_string(column));
  return *columns_[static_cast<size_t>(column)];
}

void TGridTable::insertRows(int at, int count) {
  if (count <= 0) return;
  // In column order, so that a sub-table column sees the new rows' codes.
  for (auto& column : columns_) column->InsertRows(*this, at, count);
  rows_ += count;
  changed_ = true;
  if (Events.OnInitRow)
    for (int r = at; r < at + count; ++r) Events.OnInitRow(*this, r);
}

void TGridTable::eraseRows(int at, int count) {
  if (count <= 0) return;
  for (auto& column : columns_) column->EraseRows(at, count);
  rows_ -= count;
  changed_ = true;
}

void TGridTable::SetRowCount(int n) {
  if (n < 0) throw ETableError(Caption() + ": a table cannot have " + std::to_string(n) + " rows");
  if (MaxRows() > 0 && n > MaxRows())
    throw ETableError(Caption() + ": at most " + std::to_string(MaxRows()) + " rows, not " + std::to_string(n));
  if (n == rows_) return;
  if (n < rows_) eraseRows(n, rows_ - n);
  else insertRows(rows_, n - rows_);
  if (Events.OnResize) Events.OnResize(*this);
}

bool TGridTable::AddRow() { return InsertRow(rows_); }

bool TGridTable::InsertRow(int row) {
  if (row < 0 || row > rows_) throw ETableError("Grid.Row not in valid range");
  const int group = properties_.RowGroup;
  if (MaxRows() > 0 && rows_ + group > MaxRows()) return false;
  // Whole groups stay together: a row inside a group inserts before it.
  insertRows(row == rows_ ? row : row - row % group, group);
  if (Events.OnResize) Events.OnResize(*this);
  return true;
}

void TGridTable::DeleteRow(int row) {
  checkRow(row);
  const int group = properties_.RowGroup;
  const int first = row - row % group;
  eraseRows(first, std::min(group, rows_ - first));
  if (Events.OnResize) Events.OnResize(*this);
}

void TGridTable::Reset() {
  SetRowCount(0);
  SetRowCount(MinRows());
}

void TGridTable::checkRow(int row) const {
  if (row < 0 || row >= rows_) throw ETableError("Grid.Row not in valid range");
}

TData TGridTable::Cell(int column, int row) {
  Column(column);
  if (row < 0 || row >= rows_)
    throw ETableError(Name() + ": no row " + std::to_string(row) + " (the table has " + std::to_string(rows_) + ")");
  return TData(*this, column, row);
}

void TGridTable::SetUnits(int units) {
  units = std::clamp(units, 1, 3);
  if (units == units_) return;
  const int old = units_;
  for (auto& column : columns_) column->ConvertUnits(old, units);
  units_ = units;
  if (rows_ > 0) changed_ = true;
  if (Events.OnSetUnits) Events.OnSetUnits(*this, old, units);
}

bool TGridTable::Changed() const {
  bool changed = changed_;
  for (const auto& column : columns_) {
    if (changed) break;
    if (column->Class() != ColumnClass::Table) continue;
    const auto& tables = static_cast<const TTableColumn&>(*column);
    for (int r = 0; r < rows_ && !changed; ++r)
      if (const TGridTable* sub = tables.SubTable(r)) changed = sub->Changed();
  }
  if (Events.OnGetChanged) Events.OnGetChanged(const_cast<TGridTable&>(*this), changed);
  return changed;
}

void TGridTable::ResetChanged() {
  changed_ = false;
  for (auto& column : columns_) {
    if (column->Class() != ColumnClass::Table) continue;
    auto& tables = static_cast<TTableColumn&>(*column);
    for (int r = 0; r < rows_; ++r)
      if (TGridTable* sub = tables.SubTable(r)) sub->ResetChanged();
  }
  if (Events.OnResetChanged) Events.OnResetChanged(*this);
}

void TGridTable::CellWasSet(int column, int row, int previousCode) {
  TColumn& set = Column(column);
  if (set.SharedInGroup) {
    // One value for all rows of the group: copy the new value across it.
    const int group = properties_.RowGroup;
    const int first = row - row % group;
    for (int r = first; r < std::min(first + group, rows_); ++r) {
      if (r == row) continue;
      if (set.Class() == ColumnClass::Float) set.SetFloat(r, set.Float(row));
      else if (set.Class() == ColumnClass::Enum || set.Class() == ColumnClass::Int) set.SetInteger(r, set.Integer(row));
      else if (set.Class() == ColumnClass::String) set.SetText(r, set.Text(row));
    }
  }
  // A new code in the first column gives the row a fresh sub-table of the
  // template that the code selects.
  if (column == 0 && (set.Class() == ColumnClass::Enum || set.Class() == ColumnClass::Int) &&
      set.Integer(row) != previousCode) {
    for (auto& c : columns_)
      if (c->Class() == ColumnClass::Table) static_cast<TTableColumn&>(*c).RenewSubTable(*this, row);
  }
  changed_ = true;
  if (Events.OnSetRow) Events.OnSetRow(*this, column, row);
}

// --- TData

template <typename Set>
void TData::set(Set&& setter) {
  TColumn& c = column();
  const bool coded = c.Class() == ColumnClass::Enum || c.Class() == ColumnClass::Int;
  const int previous = coded ? c.Integer(row_) : 0;
  setter(c);
  table_->CellWasSet(column_, row_, previous);
}

long double TData::AsFloat() const { return column().Float(row_); }
void TData::SetFloat(long double value) {
  set([&](TColumn& c) { c.SetFloat(row_, value); });
}
int TData::AsInteger() const { return column().Integer(row_); }
void TData::SetInteger(int value) {
  set([&](TColumn& c) { c.SetInteger(row_, value); });
}
std::string TData::AsText() const { return column().Text(row_); }
void TData::SetText(const std::string& text) {
  set([&](TColumn& c) { c.SetText(row_, text); });
}

TGridTable* TData::SubTable() const {
  const TColumn& c = column();
  return c.Class() == ColumnClass::Table ? static_cast<const TTableColumn&>(c).SubTable(row_) : nullptr;
}

}  // namespace terraq::ui
