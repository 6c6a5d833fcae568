#include "Canvas.h"

#include <algorithm>
#include <cmath>

#include "Font.h"

namespace pictures {

namespace {

constexpr double kPi = 3.14159265358979323846;

double distanceToSegment(double px, double py, Point a, Point b) {
  const double dx = b.x - a.x;
  const double dy = b.y - a.y;
  const double length2 = dx * dx + dy * dy;
  double t = length2 > 0 ? ((px - a.x) * dx + (py - a.y) * dy) / length2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(px - (a.x + t * dx), py - (a.y + t * dy));
}

Point unit(Point from, Point to) {
  const double length = std::hypot(to.x - from.x, to.y - from.y);
  return length > 0 ? Point{(to.x - from.x) / length, (to.y - from.y) / length} : Point{1, 0};
}

}  // namespace

Canvas::Canvas(int width, int height)
    : width_(width), height_(height),
      samples_(static_cast<size_t>(width) * kSamples * static_cast<size_t>(height) * kSamples * 3, 255) {}

void Canvas::blendSample(int sx, int sy, Color color, double alpha) {
  if (sx < 0 || sy < 0 || sx >= width_ * kSamples || sy >= height_ * kSamples) return;
  const size_t index = (static_cast<size_t>(sy) * static_cast<size_t>(width_ * kSamples) + static_cast<size_t>(sx)) * 3;
  const auto mix = [alpha](std::uint8_t under, std::uint8_t over) {
    return static_cast<std::uint8_t>(std::lround(under + (over - under) * alpha));
  };
  samples_[index] = mix(samples_[index], color.r);
  samples_[index + 1] = mix(samples_[index + 1], color.g);
  samples_[index + 2] = mix(samples_[index + 2], color.b);
}

void Canvas::fillPolygon(const std::vector<Point>& points, Color color) {
  if (points.size() < 3) return;
  double minY = points[0].y;
  double maxY = points[0].y;
  for (const Point& p : points) {
    minY = std::min(minY, p.y);
    maxY = std::max(maxY, p.y);
  }
  const int sy0 = std::max(0, static_cast<int>(std::floor(minY * kSamples)));
  const int sy1 = std::min(height_ * kSamples - 1, static_cast<int>(std::ceil(maxY * kSamples)));
  std::vector<double> crossings;
  for (int sy = sy0; sy <= sy1; ++sy) {
    const double y = (sy + 0.5) / kSamples;
    crossings.clear();
    for (size_t i = 0; i < points.size(); ++i) {
      const Point a = points[i];
      const Point b = points[(i + 1) % points.size()];
      if ((a.y <= y && b.y > y) || (b.y <= y && a.y > y))
        crossings.push_back(a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y));
    }
    std::sort(crossings.begin(), crossings.end());
    for (size_t k = 0; k + 1 < crossings.size(); k += 2) {
      const int sx0 = static_cast<int>(std::ceil(crossings[k] * kSamples - 0.5));
      const int sx1 = static_cast<int>(std::floor(crossings[k + 1] * kSamples - 0.5));
      for (int sx = sx0; sx <= sx1; ++sx) blendSample(sx, sy, color);
    }
  }
}

void Canvas::fillRect(double x0, double y0, double x1, double y1, Color color) {
  fillPolygon({{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}, color);
}

void Canvas::fillCircle(Point center, double radius, Color color) {
  const int sx0 = static_cast<int>(std::floor((center.x - radius) * kSamples));
  const int sx1 = static_cast<int>(std::ceil((center.x + radius) * kSamples));
  const int sy0 = static_cast<int>(std::floor((center.y - radius) * kSamples));
  const int sy1 = static_cast<int>(std::ceil((center.y + radius) * kSamples));
  for (int sy = sy0; sy <= sy1; ++sy)
    for (int sx = sx0; sx <= sx1; ++sx) {
      const double x = (sx + 0.5) / kSamples;
      const double y = (sy + 0.5) / kSamples;
      if (std::hypot(x - center.x, y - center.y) <= radius) blendSample(sx, sy, color);
    }
}

void Canvas::line(Point a, Point b, double width, Color color) {
  const double half = width / 2;
  const int sx0 = static_cast<int>(std::floor((std::min(a.x, b.x) - half) * kSamples));
  const int sx1 = static_cast<int>(std::ceil((std::max(a.x, b.x) + half) * kSamples));
  const int sy0 = static_cast<int>(std::floor((std::min(a.y, b.y) - half) * kSamples));
  const int sy1 = static_cast<int>(std::ceil((std::max(a.y, b.y) + half) * kSamples));
  for (int sy = sy0; sy <= sy1; ++sy)
    for (int sx = sx0; sx <= sx1; ++sx)
      if (distanceToSegment((sx + 0.5) / kSamples, (sy + 0.5) / kSamples, a, b) <= half)
        blendSample(sx, sy, color);
}

void Canvas::polyline(const std::vector<Point>& points, double width, Color color) {
  for (size_t i = 0; i + 1 < points.size(); ++i) line(points[i], points[i + 1], width, color);
}

void Canvas::dashedLine(Point a, Point b, double width, Color color, double dash, double gap) {
  const double length = std::hypot(b.x - a.x, b.y - a.y);
  const Point d = unit(a, b);
  for (double s = 0; s < length; s += dash + gap) {
    const double e = std::min(length, s + dash);
    line({a.x + d.x * s, a.y + d.y * s}, {a.x + d.x * e, a.y + d.y * e}, width, color);
  }
}

void Canvas::circle(Point center, double radius, double width, Color color) {
  arc(center, radius, 0, 2 * kPi, width, color);
}

void Canvas::arc(Point center, double radius, double a0, double a1, double width, Color color) {
  const double reach = radius + width / 2;
  const int sx0 = static_cast<int>(std::floor((center.x - reach) * kSamples));
  const int sx1 = static_cast<int>(std::ceil((center.x + reach) * kSamples));
  const int sy0 = static_cast<int>(std::floor((center.y - reach) * kSamples));
  const int sy1 = static_cast<int>(std::ceil((center.y + reach) * kSamples));
  const double span = a1 - a0;
  for (int sy = sy0; sy <= sy1; ++sy)
    for (int sx = sx0; sx <= sx1; ++sx) {
      const double x = (sx + 0.5) / kSamples - center.x;
      const double y = (sy + 0.5) / kSamples - center.y;
      if (std::fabs(std::hypot(x, y) - radius) > width / 2) continue;
      if (span < 2 * kPi) {
        double angle = std::atan2(-y, x) - a0;  // screen y points down
        while (angle < 0) angle += 2 * kPi;
        while (angle >= 2 * kPi) angle -= 2 * kPi;
        if (angle > span) continue;
      }
      blendSample(sx, sy, color);
    }
}

void Canvas::arrowHead(Point tip, Point direction, Color color, double headLength, double headWidth) {
  const double length = std::hypot(direction.x, direction.y);
  const Point d{direction.x / length, direction.y / length};
  const Point base{tip.x - d.x * headLength, tip.y - d.y * headLength};
  const Point normal{-d.y, d.x};
  fillPolygon({tip,
               {base.x + normal.x * headWidth / 2, base.y + normal.y * headWidth / 2},
               {base.x - normal.x * headWidth / 2, base.y - normal.y * headWidth / 2}},
              color);
}

void Canvas::arrow(Point from, Point to, double width, Color color, double headLength, double headWidth) {
  const Point d = unit(from, to);
  line(from, {to.x - d.x * headLength * 0.8, to.y - d.y * headLength * 0.8}, width, color);
  arrowHead(to, d, color, headLength, headWidth);
}

void Canvas::dimension(Point a, Point b, Color color) {
  const Point d = unit(a, b);
  line({a.x + d.x * 4, a.y + d.y * 4}, {b.x - d.x * 4, b.y - d.y * 4}, 1.1, color);
  arrowHead(b, d, color, 8, 6);
  arrowHead(a, {-d.x, -d.y}, color, 8, 6);
}

void Canvas::groundHatch(Point a, Point b, Color color, double spacing, double length) {
  const double span = std::hypot(b.x - a.x, b.y - a.y);
  const Point d = unit(a, b);
  for (double s = spacing / 2; s < span; s += spacing) {
    const Point p{a.x + d.x * s, a.y + d.y * s};
    line(p, {p.x - length * 0.7, p.y + length * 0.7}, 1.0, color);
  }
}

double Canvas::textWidth(const std::string& text, double size) {
  Font& font = Font::Labels();
  return font.Advance(text, emFor(size));
}

double Canvas::text(double x, double y, const std::string& text, double size, Color color, Align align) {
  Font& font = Font::Labels();
  const double width = textWidth(text, size);
  if (align == Align::Center) x -= width / 2;
  if (align == Align::Right) x -= width;
  // Rendered at the sample grid's resolution: the coverage of each sample,
  // averaged down with the rest of the picture, gives the anti-aliasing.
  const int originX = static_cast<int>(std::lround(x * kSamples));
  const int baseline = static_cast<int>(std::lround((y + size * kCapDots) * kSamples));
  const int pixels = static_cast<int>(std::lround(emFor(size) * kSamples));
  font.Render(text, pixels, [&](const GlyphMask& glyph, int penX) {
    for (int row = 0; row < glyph.rows; ++row)
      for (int col = 0; col < glyph.width; ++col) {
        const unsigned char coverage = glyph.coverage[row * glyph.pitch + col];
        if (coverage > 0)
          blendSample(originX + penX + glyph.left + col, baseline - glyph.top + row, color, coverage / 255.0);
      }
  });
  return width;
}

double Canvas::emFor(double size) { return size * kCapDots / Font::Labels().CapHeight(); }

std::vector<std::uint8_t> Canvas::downsampled() const {
  const int outWidth = pixelWidth();
  const int outHeight = pixelHeight();
  std::vector<std::uint8_t> out(static_cast<size_t>(outWidth) * static_cast<size_t>(outHeight) * 3);
  const size_t rowSamples = static_cast<size_t>(width_ * kSamples);
  for (int y = 0; y < outHeight; ++y)
    for (int x = 0; x < outWidth; ++x)
      for (int channel = 0; channel < 3; ++channel) {
        int sum = 0;
        for (int j = 0; j < kSupersample; ++j)
          for (int i = 0; i < kSupersample; ++i) {
            const size_t sy = static_cast<size_t>(y * kSupersample + j);
            const size_t sx = static_cast<size_t>(x * kSupersample + i);
            sum += samples_[(sy * rowSamples + sx) * 3 + static_cast<size_t>(channel)];
          }
        out[(static_cast<size_t>(y) * static_cast<size_t>(outWidth) + static_cast<size_t>(x)) * 3 +
            static_cast<size_t>(channel)] = static_cast<std::uint8_t>((sum + kSupersample * kSupersample / 2) /
                                                                      (kSupersample * kSupersample));
      }
  return out;
}

}  // namespace pictures
