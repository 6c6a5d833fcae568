#include "project/RunObstacles.h"

namespace terraq::ui {

std::string FirstRunObstacle(const TProgramData& data) {
  if (data.IncrementCount < 1) return "Wall Properties: the number of increments must be at least 1.";
  if (data.IncrementLength <= 0) return "Wall Properties: the increment length must be greater than zero.";
  if (data.UseMEICurves) {
    // The engine interpolates EI between the points of a curve: a curve
    // needs two.
    TGridTable& curves = data.Tables().MEICurves;
    for (int row = 0; row < curves.RowCount(); ++row) {
      const TGridTable* points = curves.Cell(2, row).SubTable();
      if (!points || points->RowCount() < 2)
        return curves.Caption() + ", row " + std::to_string(row + 1) +
               ": the curve needs at least 2 points of moment and EI.";
    }
  }
  return {};
}

}  // namespace terraq::ui
