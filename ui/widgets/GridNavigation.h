#pragma once
// Where the Enter key takes the cursor of a data-entry grid. Data cells are
// counted from 0 in both directions (the row numbers and the headings are
// not cells). Enter goes down the column; from the last row to the first
// row of the next column; from the last cell of the last column back to the
// first row of the first column. Entering a table column by column is how
// a profile is typed in: all depths, then all values.

namespace terraq::ui {

struct TGridCell {
  int column = 0;
  int row = 0;
  friend bool operator==(const TGridCell&, const TGridCell&) = default;
};

// The cell after `current` in a grid of the given size (both at least 1).
inline TGridCell NextCellOnEnter(TGridCell current, int columnCount, int rowCount) {
  if (current.row + 1 < rowCount) return {current.column, current.row + 1};
  if (current.column + 1 < columnCount) return {current.column + 1, 0};
  return {0, 0};
}

}  // namespace terraq::ui
