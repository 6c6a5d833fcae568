#include "project/RunObstacles.h"

namespace terraq::ui {

std::string FirstRunObstacle(const TProgramData& data) {
  if (data.IncrementCount < 1) return "Wall Properties: the number of increments must be at least 1.";
  if (data.IncrementLength <= 0) return "Wall Properties: the increment length must be greater than zero.";
  // A generated earth pressure comes from the soil layers, which a new
  // project takes only while p-y generation is on; without them the data
  // file would carry no earth pressure at all and the wall would be analysed
  // unloaded, as if the pressure had been asked for and found to be zero.
  if ((data.EarthPressureOption == 2 || data.EarthPressureOption == 3) && data.WrittenEarthPressureMode() == 0)
    return "Earth-Pressure Options: a generated earth pressure is computed from the soil layers, which are entered "
           "while Generate p-y Curves is on. Turn it on and enter the soil layers, or choose Earth-Pressure "
           "Specified by User.";
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
