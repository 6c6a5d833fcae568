#include "Sketch.h"

#include <cmath>

namespace pictures {

namespace {
constexpr double kPi = 3.14159265358979323846;
}

void WaterTable(Canvas& c, double x0, double x1, double y, double symbolX) {
  c.line({x0, y}, {x1, y}, 1.5, colors::kWater);
  c.fillPolygon({{symbolX, y - 1}, {symbolX - 7, y - 12}, {symbolX + 7, y - 12}}, colors::kWater);
  c.line({symbolX - 6, y + 4}, {symbolX + 6, y + 4}, 1.2, colors::kWater);
  c.line({symbolX - 3, y + 8}, {symbolX + 3, y + 8}, 1.2, colors::kWater);
}

void LightWall(Canvas& c, double x, double top, double bottom, double width) {
  c.fillRect(x - width / 2, top, x + width / 2, bottom, Color{205, 205, 212});
  c.polyline({{x - width / 2, top}, {x + width / 2, top}, {x + width / 2, bottom}, {x - width / 2, bottom},
              {x - width / 2, top}},
             1.3, colors::kInk);
}

void NodeDot(Canvas& c, Point p) { c.fillCircle(p, 3.2, colors::kInk); }

void LinearSpring(Canvas& c, Point a, Point b, Color color, int coils, double amplitude) {
  const double length = std::hypot(b.x - a.x, b.y - a.y);
  const Point d{(b.x - a.x) / length, (b.y - a.y) / length};
  const Point n{-d.y, d.x};
  const double lead = std::min(14.0, length * 0.15);
  std::vector<Point> path{a, {a.x + d.x * lead, a.y + d.y * lead}};
  const double step = (length - 2 * lead) / (2 * coils);
  for (int k = 1; k < 2 * coils; ++k) {
    const double s = lead + step * k;
    const double side = (k % 2 == 1 ? 1 : -1) * amplitude;
    path.push_back({a.x + d.x * s + n.x * side, a.y + d.y * s + n.y * side});
  }
  path.push_back({b.x - d.x * lead, b.y - d.y * lead});
  path.push_back(b);
  c.polyline(path, 1.6, color);
}

Point RotationalSpring(Canvas& c, Point center, double radius, int direction, Color color) {
  // Archimedean spiral from a small inner radius out to `radius`, 2.25 turns,
  // ending on the horizontal through the centre on the chosen side.
  const double turns = 2.25;
  const double inner = radius * 0.18;
  const double endAngle = direction > 0 ? 0 : kPi;
  std::vector<Point> path;
  const int steps = 160;
  for (int k = 0; k <= steps; ++k) {
    const double t = static_cast<double>(k) / steps;
    const double angle = endAngle - turns * 2 * kPi * (1 - t);
    const double r = inner + (radius - inner) * t;
    path.push_back({center.x + r * std::cos(angle), center.y - r * std::sin(angle)});
  }
  c.polyline(path, 1.6, color);
  return path.back();
}

void FixedSupport(Canvas& c, Point p, bool vertical, int farSide, double length) {
  const double h = length / 2;
  if (vertical) {
    c.line({p.x, p.y - h}, {p.x, p.y + h}, 2.2, colors::kInk);
    for (double y = p.y - h + 3; y <= p.y + h; y += 7)
      c.line({p.x, y}, {p.x + farSide * 7, y - 7}, 1.0, colors::kInk);
  } else {
    c.line({p.x - h, p.y}, {p.x + h, p.y}, 2.2, colors::kInk);
    for (double x = p.x - h + 3; x <= p.x + h; x += 7)
      c.line({x, p.y}, {x - 7, p.y + farSide * 7}, 1.0, colors::kInk);
  }
}

void LoadArrowsDown(Canvas& c, const std::vector<Point>& tips, double arrowLength, Color color) {
  for (const Point& tip : tips) c.arrow({tip.x, tip.y - arrowLength}, tip, 1.5, color, 8, 6);
}

}  // namespace pictures
