// The pictures of loads and springs at the wall's nodes and of the
// distributed-load table. The wall is divided into increments; node 0 is
// its top. Backfill on the left, excavation on the right.

#include <cmath>
#include <string>

#include "Pictures.h"
#include "Sketch.h"

namespace pictures {

namespace {

constexpr double kLabel = 2.0;
constexpr double kNote = 1.5;
constexpr double kPi = 3.14159265358979323846;

// The common scene: backfill to the left of a light wall with node dots,
// excavation to the right below `excavation`. Returns the y of node k.
struct NodeScene {
  double x = 174, top = 40, spacing = 28;
  double nodeY(int k) const { return top + spacing * k; }
};

NodeScene drawNodeScene(Canvas& c, double excavation, int nodes, bool numbers) {
  NodeScene scene;
  const double bottom = scene.nodeY(nodes) + 10;
  // The backfill surface lies a little below the top of the wall, so that
  // the top node and its number stand clear of the ground line.
  const double ground = scene.top + scene.spacing / 2;
  c.fillRect(0, ground, scene.x - 5, c.height(), colors::kSoil);
  c.line({0, ground}, {scene.x - 5, ground}, 1.8, colors::kInk);
  c.groundHatch({0, ground}, {scene.x - 5, ground});
  c.fillRect(scene.x + 5, excavation, c.width(), c.height(), colors::kSoil);
  c.line({scene.x + 5, excavation}, {static_cast<double>(c.width()), excavation}, 1.8, colors::kInk);
  c.groundHatch({scene.x + 9, excavation}, {static_cast<double>(c.width()), excavation});
  LightWall(c, scene.x, scene.top, bottom, 10);
  for (int k = 0; k <= nodes; ++k) {
    NodeDot(c, {scene.x, scene.nodeY(k)});
    if (numbers) c.text(scene.x - 14, scene.nodeY(k) - 5, std::to_string(k), kNote, colors::kInk, Align::Right);
  }
  return scene;
}

}  // namespace

Canvas ConcentratedLoads() {
  Canvas c(380, 340);
  const NodeScene scene = drawNodeScene(c, 236, 9, true);
  const double x = scene.x;

  // Axial load at the top of the wall.
  c.arrow({x, 2}, {x, scene.top - 5}, 2.4, colors::kLoad);
  c.text(x + 10, 8, "Axial load", kNote, colors::kLoad);

  // Lateral load at a node, positive towards the excavation.
  const double yLoad = scene.nodeY(3);
  c.arrow({x + 7, yLoad}, {x + 84, yLoad}, 2.4, colors::kLoad);
  c.text(x + 12, yLoad - 18, "Lateral load", kNote, colors::kLoad);

  // Moment at a node.
  const Point node{x, scene.nodeY(6)};
  const double r = 24, a0 = -0.7 * kPi, a1 = 0.38 * kPi;
  c.arc(node, r, a0, a1, 2.2, colors::kLoad);
  const Point end{node.x + r * std::cos(a1), node.y - r * std::sin(a1)};
  c.arrowHead({end.x - 1, end.y + 1}, {-std::sin(a1), -std::cos(a1)}, colors::kLoad, 10, 8);
  c.text(x + 34, node.y - 5, "Moment", kNote, colors::kLoad);

  c.text(8, 318, "Backfill", kNote, colors::kInk);
  c.arrow({252, 300}, {300, 300}, 1.4, colors::kInk, 8, 6);
  c.text(306, 294, "+y", kNote, colors::kInk);
  c.text(372, 318, "Excavation", kNote, colors::kInk, Align::Right);
  return c;
}

Canvas Springs() {
  Canvas c(380, 340);
  const NodeScene scene = drawNodeScene(c, 236, 9, false);
  const double x = scene.x;

  // A lateral spring (a strut or an anchor) at one node.
  const double ySpring = scene.nodeY(3);
  LinearSpring(c, {x + 5, ySpring}, {306, ySpring}, colors::kSpring);
  FixedSupport(c, {306, ySpring}, true, +1, 32);
  c.text(x + 16, ySpring - 34, "Lateral spring", kNote, colors::kSpring);

  // A rotational spring at another node.
  const Point node{x, scene.nodeY(6)};
  const Point end = RotationalSpring(c, node, 20, +1, colors::kSpring);
  c.line(end, {262, end.y}, 1.6, colors::kSpring);
  FixedSupport(c, {262, end.y}, true, +1, 32);
  c.text(x + 16, node.y - 40, "Rotational spring", kNote, colors::kSpring);

  c.text(8, 318, "Backfill", kNote, colors::kInk);
  c.text(372, 318, "Excavation", kNote, colors::kInk, Align::Right);
  return c;
}

Canvas SpringTable() {
  Canvas c(380, 340);
  const NodeScene scene = drawNodeScene(c, 236, 9, true);
  const double x = scene.x;
  const int from = 2, to = 5;

  // Lateral springs at every node of the row's range, START and END included.
  for (int k = from; k <= to; ++k) LinearSpring(c, {x + 5, scene.nodeY(k)}, {296, scene.nodeY(k)}, colors::kSpring, 6, 6);
  const double yFrom = scene.nodeY(from), yTo = scene.nodeY(to);
  c.line({296, yFrom - 16}, {296, yTo + 16}, 2.2, colors::kInk);
  for (double y = yFrom - 13; y <= yTo + 16; y += 7) c.line({296, y}, {303, y - 7}, 1.0, colors::kInk);
  c.text(312, (yFrom + yTo) / 2 - 14, "Lateral", kNote, colors::kSpring);
  c.text(312, (yFrom + yTo) / 2 + 2, "springs", kNote, colors::kSpring);

  // The row's START and END nodes.
  c.text(136, yFrom - 5, "From node", kNote, colors::kInk, Align::Right);
  c.arrow({138, yFrom}, {152, yFrom}, 1.2, colors::kInk, 6, 5);
  c.text(136, yTo - 5, "To node", kNote, colors::kInk, Align::Right);
  c.arrow({138, yTo}, {152, yTo}, 1.2, colors::kInk, 6, 5);

  // A rotational spring at a node of its own.
  const Point node{x, scene.nodeY(8)};
  const Point end = RotationalSpring(c, node, 13, +1, colors::kSpring);
  c.line(end, {236, end.y}, 1.6, colors::kSpring);
  FixedSupport(c, {236, end.y}, true, +1, 26);
  c.text(250, end.y - 5, "Rotational", kNote, colors::kSpring);
  c.text(250, end.y + 11, "spring", kNote, colors::kSpring);

  c.text(10, 282, "Springs act at", kNote, colors::kInk);
  c.text(10, 298, "the nodes only", kNote, colors::kInk);
  return c;
}

Canvas DistributedLoad() {
  Canvas c(380, 350);
  const double wallL = 200, wallR = 208, top = 40, bottom = 300;
  // The load profile: depth below the top of the wall and load, point by
  // point; the load varies linearly between points.
  const Point profile[] = {{wallL, top}, {80, 110}, {80, 210}, {wallL, bottom}};

  c.fillPolygon({profile[0], profile[1], profile[2], profile[3]}, colors::kLoadFill);
  for (double y = top + 16; y < bottom - 4; y += 16) {
    double xProfile = wallL;
    for (int k = 0; k < 3; ++k)
      if (y >= profile[k].y && y <= profile[k + 1].y)
        xProfile = profile[k].x + (y - profile[k].y) / (profile[k + 1].y - profile[k].y) * (profile[k + 1].x - profile[k].x);
    if (wallL - xProfile > 14) c.arrow({xProfile, y}, {wallL - 1, y}, 1.3, colors::kLoad, 7, 5);
  }
  c.polyline({profile[0], profile[1], profile[2], profile[3]}, 1.8, colors::kLoad);
  c.fillRect(wallL, top, wallR, bottom, colors::kWall);
  for (int k = 0; k < 4; ++k) c.fillCircle(profile[k], 3.5, colors::kInk);
  c.text(profile[0].x - 10, profile[0].y - 18, "1", kLabel, colors::kInk, Align::Right);
  c.text(profile[1].x - 8, profile[1].y - 7, "2", kLabel, colors::kInk, Align::Right);
  c.text(profile[2].x - 8, profile[2].y - 7, "3", kLabel, colors::kInk, Align::Right);
  c.text(profile[3].x - 10, profile[3].y + 2, "4", kLabel, colors::kInk, Align::Right);

  // Depth of a point, measured from the top of the wall.
  c.line({wallR + 2, top}, {268, top}, 1.0, colors::kGuide);
  c.dashedLine({wallR + 2, profile[2].y}, {268, profile[2].y}, 1.0, colors::kGuide);
  c.dimension({256, top}, {256, profile[2].y});
  c.text(264, 112, "Depth", kNote, colors::kInk);
  c.text(wallR + 6, top - 24, "Top of wall", kNote, colors::kInk);

  // The load at that point (force per length of wall).
  c.dashedLine({profile[2].x, profile[2].y + 4}, {profile[2].x, 334}, 1.0, colors::kGuide);
  c.line({wallL, bottom + 2}, {wallL, 334}, 1.0, colors::kGuide);
  c.dimension({profile[2].x, 326}, {wallL, 326});
  c.text(72, 320, "Load", kNote, colors::kInk, Align::Right);
  c.text(wallR + 8, 262, "Wall", kNote, colors::kInk);
  return c;
}

std::vector<PictureSpec> AllPictures() {
  return {{"WallSection.jpg", WallSection},         {"WallPlan.jpg", WallPlan},
          {"Surcharge.jpg", Surcharge},             {"ConcentratedLoads.jpg", ConcentratedLoads},
          {"Springs.jpg", Springs},                 {"SoilStrength.jpg", SpringTable},
          {"DistLoad.jpg", DistributedLoad}};
}

}  // namespace pictures
