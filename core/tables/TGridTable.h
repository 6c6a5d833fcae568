#pragma once
// TGridTable: a data-entry table of the project (wall stiffness, soil layers,
// loads, curves, ...). It holds rows of typed cells in its columns, knows
// each real column's units and converts them when the units system changes,
// keeps row-count limits, and tracks changes. A column may give each row a
// sub-table of its own (a layer's soil parameters, a curve's points). The
// table has no window here; the editing window sits on top of it and reaches
// the cells through TData handles, as do the data file and the dialogs.
//
// Rows and columns are 0-based in this interface.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tables/TColumn.h"

namespace terraq::ui {

class TData;

// The table's properties as declared in the table declarations.
struct TTableProperties {
  std::string Name;          // component name, e.g. "PileSect"
  int Identifier = 0;        // sub-table columns name template tables by it
  std::string Caption;       // caption of the editing window
  int MinRows = 0;           // rows of a new or reset table
  int MaxRows = 0;           // 0: no upper limit
  int RowGroup = 1;          // rows are added, inserted and deleted in groups
  bool HardwiredButton = false;  // the window offers Add/Insert/Delete Row
  std::string TopLeft;       // text of the top-left header cell
  std::string Comments;      // note under the grid ("\n" breaks lines)
  std::string HelpPicture;   // picture shown beside the grid ("" for none)
  std::string FormParent;    // control the window is embedded in ("" for none)
};

// What a table tells its owner. Every callback is optional.
struct TTableEvents {
  std::function<void(TGridTable& sender, int column, int row)> OnButtonClick;
  std::function<void(TGridTable& sender, int column, int row, std::string& caption)> OnGetButtonCaption;
  // Lets the owner add its own notion of a change to Changed().
  std::function<void(TGridTable& sender, bool& changed)> OnGetChanged;
  std::function<void(TGridTable& sender)> OnHide;
  // A row was created (appended or inserted) with default values.
  std::function<void(TGridTable& sender, int row)> OnInitRow;
  std::function<void(TGridTable& sender)> OnResetChanged;
  // A cell was set through a TData handle.
  std::function<void(TGridTable& sender, int column, int row)> OnSetRow;
  std::function<void(TGridTable& sender, int oldUnits, int newUnits)> OnSetUnits;
  // The row count changed.
  std::function<void(TGridTable& sender)> OnResize;
};

class TGridTable {
 public:
  // `library` supplies the template tables of sub-table columns; it must
  // outlive the table (nullptr: rows get no sub-tables).
  TGridTable(TTableProperties properties, std::vector<std::unique_ptr<TColumn>> columns,
             const TTableLibrary* library, int units = 1);
  ~TGridTable();
  TGridTable(const TGridTable&) = delete;
  TGridTable& operator=(const TGridTable&) = delete;

  // A deep copy: columns, rows, sub-tables and units (not the events).
  std::unique_ptr<TGridTable> Clone() const;
  // Takes a deep copy of the rows, sub-tables and units of `source`, a table
  // of the same declaration (a Clone of this one), keeping its own events and
  // number; marked changed. The sub-tables held before are freed: windows on
  // them must be pruned (TTableWindows).
  void TakeContent(const TGridTable& source);

  const TTableProperties& Properties() const { return properties_; }
  const std::string& Name() const { return properties_.Name; }
  const std::string& Caption() const { return properties_.Caption; }
  int MinRows() const { return properties_.MinRows; }
  int MaxRows() const { return properties_.MaxRows; }
  const TTableLibrary* Library() const { return library_; }

  // Sub-tables are numbered by the row that owns them (1-based); 0 for a
  // table that is not a sub-table.
  int Number() const { return number_; }
  void SetNumber(int number) { number_ = number; }

  int ColumnCount() const { return static_cast<int>(columns_.size()); }
  TColumn& Column(int column);
  const TColumn& Column(int column) const;
  // The heading lines of a column in the table's units system.
  std::vector<std::string> Heading(int column) const { return Column(column).Heading(units_); }

  int RowCount() const { return rows_; }
  // Truncates the rows beyond n or appends rows of default values (a fresh
  // sub-table per row of a sub-table column). Throws ETableError for n below
  // 0 or above MaxRows.
  void SetRowCount(int n);
  // Appends one row group; false (nothing changes) at MaxRows.
  bool AddRow();
  // Inserts a row group before `row` (RowCount() appends); false at
  // MaxRows. Throws ETableError "Grid.Row not in valid range" for a row
  // outside 0..RowCount().
  bool InsertRow(int row);
  // Deletes the row group that holds `row`. Throws ETableError
  // "Grid.Row not in valid range" for a row outside the data rows.
  void DeleteRow(int row);
  // Empties the table and fills it to MinRows rows of defaults.
  void Reset();

  // A handle on a cell; throws ETableError for a cell outside the table.
  TData Cell(int column, int row);

  int Units() const { return units_; }
  // Switches to another units system (1..3): every real column converts its
  // values (between English and SI only), sub-tables included. A no-op when
  // unchanged.
  void SetUnits(int units);

  // True when a cell, the rows or a sub-table changed since the last reset.
  bool Changed() const;
  void SetChanged(bool changed) { changed_ = changed; }
  // Clears the change marks of the table and its sub-tables.
  void ResetChanged();

  TTableEvents Events;

  // Called by TData after a cell was set.
  void CellWasSet(int column, int row, int previousCode);

 private:
  void checkRow(int row) const;
  void insertRows(int at, int count);
  void eraseRows(int at, int count);

  TTableProperties properties_;
  std::vector<std::unique_ptr<TColumn>> columns_;
  const TTableLibrary* library_;
  int units_;
  int rows_ = 0;
  int number_ = 0;
  bool changed_ = false;
};

// A handle on one cell: get and set as real, integer or text, or reach the
// row's sub-table. Valid while the table keeps the row.
class TData {
 public:
  TData(TGridTable& table, int column, int row) : table_(&table), column_(column), row_(row) {}

  long double AsFloat() const;
  void SetFloat(long double value);
  // Enumerated and integer columns.
  int AsInteger() const;
  void SetInteger(int value);
  // The cell's text: a code or integer in decimal, a real with 8 significant
  // digits, a text, or the button caption of a sub-table.
  std::string AsText() const;
  // Validates and stores a typed text (an arithmetic expression for numeric
  // columns); throws EAssignError with the message for the user.
  void SetText(const std::string& text);
  // The row's sub-table (nullptr for other columns or a row without one).
  TGridTable* SubTable() const;

  int Column() const { return column_; }
  int Row() const { return row_; }

 private:
  TColumn& column() const { return table_->Column(column_); }
  template <typename Set>
  void set(Set&& setter);

  TGridTable* table_;
  int column_;
  int row_;
};

}  // namespace terraq::ui
