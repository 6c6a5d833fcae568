#pragma once
// The pictures of the data dialogs and tables, one function each.

#include <string>
#include <vector>

#include "Canvas.h"

namespace pictures {

// Wall configuration dialog: elevation with H, the water depths on both
// sides, the backfill slope and the uniform surcharge.
Canvas WallSection();
// Wall configuration dialog: plan of the wall units with Wa and Wp.
Canvas WallPlan();
// Additional surcharge dialog: point, line and strip load at distance X.
Canvas Surcharge();
// Concentrated loads dialog: lateral load, moment and axial load at nodes.
Canvas ConcentratedLoads();
// Springs dialog: a lateral and a rotational spring at nodes.
Canvas Springs();
// The spring table: springs over a range of nodes.
Canvas SpringTable();
// The distributed-load tables: a load profile given by points.
Canvas DistributedLoad();

struct PictureSpec {
  std::string fileName;
  Canvas (*draw)();
};

// Every picture the program ships, with its file name.
std::vector<PictureSpec> AllPictures();

}  // namespace pictures
