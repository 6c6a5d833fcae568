#pragma once
// Drawing symbols shared by the pictures: water table, wall with its nodes,
// springs, fixed supports, surcharge arrows. All on top of Canvas.

#include "Canvas.h"

namespace pictures {

// The water-table symbol: a line from x0 to x1 at depth y, with the
// inverted triangle standing on it at symbolX and two short strokes below.
void WaterTable(Canvas& c, double x0, double x1, double y, double symbolX);

// A wall in elevation drawn light, so that node dots show on it: the bar
// from `top` to `bottom` centred on x, `width` wide.
void LightWall(Canvas& c, double x, double top, double bottom, double width);
// A node dot on the wall's axis.
void NodeDot(Canvas& c, Point p);

// A linear spring from a to b (a zigzag between two short straight leads).
void LinearSpring(Canvas& c, Point a, Point b, Color color, int coils = 7, double amplitude = 7);

// A rotational spring: a spiral around `center` whose outer end leaves
// horizontally to the side given by `direction` (+1 right, -1 left); returns
// the spiral's outer end.
Point RotationalSpring(Canvas& c, Point center, double radius, int direction, Color color);

// A fixed support: a short line through p, perpendicular to the direction
// the spring arrives from (vertical when `vertical`), with hatching on its
// far side (+1 right/down, -1 left/up).
void FixedSupport(Canvas& c, Point p, bool vertical, int farSide, double length = 40);

// Downward load arrows from a line above the points to the points.
void LoadArrowsDown(Canvas& c, const std::vector<Point>& tips, double arrowLength, Color color);

}  // namespace pictures
