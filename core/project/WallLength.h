#pragma once
// Setting the wall's length (the Design window's Apply): the number of
// increments and their length change together, and every table that names
// nodes follows, so that the project still describes the same wall and
// supports, only longer or shorter.
//
// A node reference is a depth (node × increment length). At the old tip it
// stays at the tip (a stiffness row, a fixed base or a p-y curve at the tip
// go with it). Elsewhere it keeps its depth: the new node is depth / new
// increment length, and a depth that falls between nodes of the new wall,
// or below its tip, is refused with the row and the reason — never moved
// silently (an anchor at 1.5 m must not become one at 1.464 m).
//
// Units: the data file's length unit. Thread safety: none (it edits the
// project).

#include <optional>
#include <string>
#include <vector>

namespace terraq::ui {

class TGridTable;
class TProgramData;

// What a change of the wall's length did, to take it back.
struct WallLengthChange {
  int increments = 0, previousIncrements = 0;
  double length = 0, previousLength = 0;
  struct NodeCell {
    TGridTable* table;
    int column, row;
    int before, after;
  };
  std::vector<NodeCell> cells;  // every node cell that changed, with its old value
};

// Sets the wall to `increments` increments of `length`; nullopt with
// `refused` saying why when a node reference cannot keep its depth (the
// project is then unchanged).
std::optional<WallLengthChange> ChangeWallLength(TProgramData& data, int increments,
                                                 double length, std::string& refused);

// Takes a change back: the wall and every node cell as they were. Refused
// (false, with `refused` saying why) when the wall or one of those cells has
// been edited since: the edit is kept.
bool UndoWallLength(TProgramData& data, const WallLengthChange& change, std::string& refused);

}  // namespace terraq::ui
