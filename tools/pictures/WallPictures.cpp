// The wall-configuration and surcharge pictures. The backfill is always on
// the left and the excavation on the right, as in the program's sign
// convention (positive deflection towards the excavation).

#include <cmath>

#include "Pictures.h"
#include "Sketch.h"

namespace pictures {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kLabel = 2.0;  // dot size of symbol labels (H, Wa, ...)
constexpr double kNote = 1.5;   // dot size of descriptive text

}  // namespace

Canvas WallSection() {
  Canvas c(440, 340);
  const double wallL = 216, wallR = 224, top = 100, excavation = 230, tip = 322;
  const double beta = 15 * kPi / 180;
  const double dwb = 170, dwe = 262;
  const auto surface = [&](double x) { return top - (wallL - x) * std::tan(beta); };

  // Soil: backfill (dry above DWb, wet below), excavation side (wet below DWe).
  c.fillPolygon({{0, surface(0)}, {wallL, top}, {wallL, 340}, {0, 340}}, colors::kSoil);
  c.fillRect(0, dwb, wallL, 340, colors::kWetSoil);
  c.fillRect(wallR, excavation, 440, 340, colors::kSoil);
  c.fillRect(wallR, dwe, 440, 340, colors::kWetSoil);
  c.line({0, surface(0)}, {wallL, top}, 1.8, colors::kInk);
  c.groundHatch({0, surface(0)}, {wallL, top});
  c.line({wallR, excavation}, {440, excavation}, 1.8, colors::kInk);
  c.groundHatch({wallR + 4, excavation}, {440, excavation});
  WaterTable(c, 0, wallL, dwb, 36);
  WaterTable(c, wallR, 440, dwe, 410);
  c.fillRect(wallL, top, wallR, tip, colors::kWall);

  // Uniform surcharge q on the sloping backfill.
  std::vector<Point> tips;
  for (double x = 24; x <= 204; x += 20) tips.push_back({x, surface(x) - 2});
  LoadArrowsDown(c, tips, 26, colors::kLoad);
  c.line({24, surface(24) - 28}, {204, surface(204) - 28}, 1.5, colors::kLoad);
  c.text(212, surface(204) - 36, "q", kLabel, colors::kLoad);

  // Backfill slope beta against the horizontal through the top of the wall.
  c.dashedLine({wallL, top}, {104, top}, 1.0, colors::kGuide);
  c.arc({wallL, top}, 92, kPi - beta, kPi, 1.2, colors::kInk);
  c.text(113, 84, "\u03B2", kLabel, colors::kInk, Align::Center);

  // Depths measured from the top of the wall.
  c.line({wallR + 2, top}, {352, top}, 1.0, colors::kGuide);
  c.dimension({266, top}, {266, excavation});
  c.text(274, 158, "H", kLabel, colors::kInk);
  c.dimension({330, top}, {330, dwe});
  c.text(338, 172, "DWe", kLabel, colors::kInk);
  c.dimension({186, top}, {186, dwb});
  c.text(178, 128, "DWb", kLabel, colors::kInk, Align::Right);

  c.text(10, 312, "Backfill side", kNote, colors::kInk);
  c.text(432, 312, "Excavation side", kNote, colors::kInk, Align::Right);
  return c;
}

Canvas WallPlan() {
  Canvas c(440, 230);
  const double y = 112, r = 18, spacing = 96;
  const double xs[] = {76, 76 + spacing, 76 + 2 * spacing, 76 + 3 * spacing};

  c.fillRect(0, 0, 440, y - r + 2, colors::kSoil);
  c.text(12, 14, "Backfill side", kNote, colors::kInk);
  c.text(428, 14, "PLAN VIEW", kNote, colors::kInk, Align::Right);
  // Lagging between the wall units, on their backfill face.
  c.fillRect(24, y - r - 2, 416, y - r + 4, Color{160, 130, 95});
  for (double x : xs) {
    c.fillCircle({x, y}, r, colors::kWall);
    c.circle({x, y}, r, 1.2, colors::kInk);
  }

  // Wp: the width (diameter) of one wall unit.
  c.line({xs[0] - r, y + 4}, {xs[0] - r, y + 52}, 1.0, colors::kGuide);
  c.line({xs[0] + r, y + 4}, {xs[0] + r, y + 52}, 1.0, colors::kGuide);
  c.dimension({xs[0] - r, y + 44}, {xs[0] + r, y + 44});
  c.text(xs[0], y + 56, "Wp", kLabel, colors::kInk, Align::Center);

  // Wa: centre-to-centre spacing of the wall units.
  for (int k = 1; k <= 2; ++k) c.dashedLine({xs[k], y - r - 14}, {xs[k], y + 84}, 1.0, colors::kGuide, 9, 3);
  c.dimension({xs[1], y + 76}, {xs[2], y + 76});
  c.text((xs[1] + xs[2]) / 2, y + 58, "Wa", kLabel, colors::kInk, Align::Center);

  // A leader to one wall unit.
  c.line({xs[3] + 10, y + 14}, {xs[3] + 26, y + 46}, 1.0, colors::kInk);
  c.text(xs[3] + 30, y + 48, "wall unit", kNote, colors::kInk, Align::Center);
  c.text(12, 210, "Excavation side", kNote, colors::kInk);
  return c;
}

namespace {

// One panel of the surcharge picture, drawn in a light oblique view so that
// a point, a line along the wall and a strip can be told apart. Returns the
// y of the ground's front edge.
constexpr double kDepthX = 40, kDepthY = -22;  // oblique offset into the page

double surchargePanel(Canvas& c, double top, const char* title) {
  const double s = top + 76, bottom = top + 132, wallL = 376, wallR = 384, excavation = s + 34;
  // Backfill: top face, then front (section) face.
  c.fillPolygon({{0, s}, {wallL, s}, {wallL + kDepthX, s + kDepthY}, {kDepthX, s + kDepthY}}, colors::kSoilTop);
  c.fillRect(0, s, wallL, bottom, colors::kSoil);
  c.line({kDepthX, s + kDepthY}, {wallL + kDepthX, s + kDepthY}, 1.0, colors::kGuide);
  c.line({0, s}, {wallL, s}, 1.6, colors::kInk);
  // Wall: side face towards the excavation, top face, front face.
  const Color side{150, 150, 156};
  c.fillPolygon({{wallR, s - 4}, {wallR + kDepthX, s - 4 + kDepthY}, {wallR + kDepthX, bottom + kDepthY}, {wallR, bottom}},
                side);
  c.fillPolygon({{wallL, s - 4}, {wallR, s - 4}, {wallR + kDepthX, s - 4 + kDepthY}, {wallL + kDepthX, s - 4 + kDepthY}},
                Color{185, 185, 190});
  c.fillRect(wallL, s - 4, wallR, bottom, colors::kWall);
  // Excavation side, lower.
  c.fillPolygon({{wallR, excavation}, {440, excavation}, {440, excavation + kDepthY},
                 {wallR + kDepthX, excavation + kDepthY}},
                colors::kSoilTop);
  c.fillRect(wallR, excavation, 440, bottom, colors::kSoil);
  c.line({wallR, excavation}, {440, excavation}, 1.6, colors::kInk);
  c.text(10, top + 10, title, 1.7, colors::kInk);
  return s;
}

}  // namespace

Canvas Surcharge() {
  Canvas c(440, 420);
  const double wallL = 376, x = 250;

  // Point load Q at distance X.
  double s = surchargePanel(c, 0, "Point load");
  const Point point{x + kDepthX / 2, s + kDepthY / 2};
  c.dashedLine(point, {x, s}, 1.0, colors::kLoad, 3, 2);
  c.arrow({point.x, point.y - 48}, point, 2.0, colors::kLoad);
  c.text(point.x - 8, point.y - 50, "Q", kLabel, colors::kLoad, Align::Right);
  c.fillCircle(point, 2.5, colors::kLoad);
  c.line({x, s + 2}, {x, s + 26}, 1.0, colors::kInk);
  c.dimension({x, s + 20}, {wallL, s + 20});
  c.text((x + wallL) / 2, s + 26, "X", kLabel, colors::kInk, Align::Center);
  c.line({0, 140}, {440, 140}, 1.0, colors::kGuide);

  // Line load q along the wall, at distance X.
  s = surchargePanel(c, 140, "Line load (along the wall)");
  c.line({x, s}, {x + kDepthX, s + kDepthY}, 3.0, colors::kLoad);
  for (double t : {0.1, 0.5, 0.9}) {
    const Point tip{x + kDepthX * t, s + kDepthY * t};
    c.arrow({tip.x, tip.y - 44}, tip, 1.6, colors::kLoad, 8, 6);
  }
  c.line({x + kDepthX * 0.1, s + kDepthY * 0.1 - 44}, {x + kDepthX * 0.9, s + kDepthY * 0.9 - 44}, 1.6,
         colors::kLoad);
  c.text(x - 8, s - 48, "q", kLabel, colors::kLoad, Align::Right);
  c.line({x, s + 2}, {x, s + 26}, 1.0, colors::kInk);
  c.dimension({x, s + 20}, {wallL, s + 20});
  c.text((x + wallL) / 2, s + 26, "X", kLabel, colors::kInk, Align::Center);
  c.line({0, 280}, {440, 280}, 1.0, colors::kGuide);

  // Strip load q of width W, its centre at distance X.
  s = surchargePanel(c, 280, "Strip load");
  const double w0 = x - 60, w1 = x + 60;
  c.fillPolygon({{w0, s}, {w1, s}, {w1 + kDepthX, s + kDepthY}, {w0 + kDepthX, s + kDepthY}}, colors::kLoadFill);
  c.polyline({{w0, s}, {w1, s}, {w1 + kDepthX, s + kDepthY}, {w0 + kDepthX, s + kDepthY}, {w0, s}}, 1.2,
             colors::kLoad);
  std::vector<Point> tips;
  for (double xs = w0 + 6; xs <= w1; xs += 18) tips.push_back({xs + kDepthX / 2, s + kDepthY / 2});
  LoadArrowsDown(c, tips, 38, colors::kLoad);
  c.line({w0 + 6 + kDepthX / 2, s + kDepthY / 2 - 38}, {tips.back().x, s + kDepthY / 2 - 38}, 1.6, colors::kLoad);
  c.text(w0 - 2, s - 50, "q", kLabel, colors::kLoad, Align::Right);
  c.line({w0, s + 2}, {w0, s + 16}, 1.0, colors::kInk);
  c.line({w1, s + 2}, {w1, s + 16}, 1.0, colors::kInk);
  c.dimension({w0, s + 11}, {w1, s + 11});
  c.text(w0 - 6, s + 5, "W", kLabel, colors::kInk, Align::Right);
  c.dashedLine({x, s + 2}, {x, s + 46}, 1.0, colors::kInk, 4, 3);
  c.dimension({x, s + 40}, {wallL, s + 40});
  c.text((x + wallL) / 2 + 10, s + 26, "X", kLabel, colors::kInk, Align::Center);
  return c;
}

}  // namespace pictures
