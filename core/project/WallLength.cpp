#include "WallLength.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "TProgramData.h"
#include "TProjectTables.h"
#include "api/Units.h"
#include "tables/TGridTable.h"

namespace terraq::ui {

namespace {

// The node columns of the tables that name nodes, and what a row is called
// in a message.
struct NodeColumns {
  bool used;  // a table the project does not use keeps what it holds
  TGridTable* table;
  std::vector<int> columns;
  const char* rows;
};

// A depth or length of the data file, with its unit (in, m, L): a bare
// number in a message could be read in feet or millimetres.
std::string Length(double value, int units) {
  char text[32];
  std::snprintf(text, sizeof text, "%.6g", value);
  return std::string(text) + " " +
         std::string(engine::api::UnitLabel(engine::api::Quantity::Length, units));
}

}  // namespace

std::optional<WallLengthChange> ChangeWallLength(TProgramData& data, int increments,
                                                 double length, std::string& refused) {
  TProjectTables& tables = data.Tables();
  refused.clear();
  if (increments < 1 || !(length > 0.0) || !std::isfinite(length)) {
    refused = "The wall needs at least one increment of a positive length.";
    return std::nullopt;
  }
  WallLengthChange change;
  change.increments = increments;
  change.length = length;
  change.previousIncrements = data.IncrementCount;
  change.previousLength = data.IncrementLength;
  const int oldTip = data.IncrementCount;
  const double oldLength = data.IncrementLength;
  const double tipDepth = increments * length;

  const NodeColumns tablesWithNodes[] = {
      {true, &tables.PileSect, {0, 1}, "wall stiffness"},
      {data.UseRestraints, &tables.Restraints, {1}, "specified deflection and slope"},
      {data.UseConcentratedLoads, &tables.ConcentratedLoads, {1, 2}, "concentrated loads"},
      {data.UseSprings, &tables.Springs, {1, 2}, "springs"},
      {data.UseExternalPY, &tables.PYCurves, {0}, "p-y curves"},
      {data.UseMEICurves, &tables.MEICurves, {0, 1}, "moment-EI curves"},
  };
  for (const NodeColumns& t : tablesWithNodes) {
    if (!t.used) continue;
    for (int row = 0; row < t.table->RowCount(); ++row) {
      for (int column : t.columns) {
        const int node = t.table->Cell(column, row).AsInteger();
        int moved = node;
        if (node == oldTip) {
          moved = increments;
        } else if (node > 0) {
          const double depth = node * oldLength;
          const double at = depth / length;
          moved = static_cast<int>(std::lround(at));
          const std::string where =
              std::string("The ") + t.rows + " table, row " + std::to_string(row + 1) +
              ", names node " + std::to_string(node) + " at " + Length(depth, data.Units) + ": ";
          if (std::fabs(at - moved) > 1e-6 * std::max(1.0, at)) {
            refused = where + "no node of the new wall (increments of " +
                      Length(length, data.Units) +
                      ") lies at that depth. Keep the increment length to keep it where it is.";
            return std::nullopt;
          }
          if (moved > increments) {
            refused = where + "it lies below the new tip at " + Length(tipDepth, data.Units) + ".";
            return std::nullopt;
          }
        }
        if (moved != node) change.cells.push_back({t.table, column, row, node, moved});
      }
    }
  }
  for (const WallLengthChange::NodeCell& c : change.cells)
    c.table->Cell(c.column, c.row).SetInteger(c.after);
  data.IncrementCount = increments;
  data.IncrementLength = length;
  data.Modified = true;
  return change;
}

bool UndoWallLength(TProgramData& data, const WallLengthChange& change, std::string& refused) {
  bool edited = data.IncrementCount != change.increments || data.IncrementLength != change.length;
  for (const WallLengthChange::NodeCell& c : change.cells)
    edited = edited || c.row >= c.table->RowCount() ||
             c.table->Cell(c.column, c.row).AsInteger() != c.after;
  if (edited) {
    refused = "The wall or its tables have been edited since the length was applied: "
              "nothing is taken back.";
    return false;
  }
  refused.clear();
  for (const WallLengthChange::NodeCell& c : change.cells)
    c.table->Cell(c.column, c.row).SetInteger(c.before);
  data.IncrementCount = change.previousIncrements;
  data.IncrementLength = change.previousLength;
  data.Modified = true;
  return true;
}

}  // namespace terraq::ui
