#pragma once
// A small line-art canvas for the dialog pictures: white background, lines,
// arrows, filled polygons, circles, arcs and text. Coordinates are the
// pixels the picture is shown at (x to the right, y down) as floating-point
// numbers; the image itself has kScale times as many pixels each way, so
// that the picture stays sharp where the program shows it on a high-density
// screen or scaled. Drawing happens on a further 4x supersampled buffer
// that is averaged down on output, which gives smooth, anti-aliased edges;
// text is set in Liberation Sans through FreeType (Font.h).

#include <cstdint>
#include <string>
#include <vector>

namespace pictures {

struct Color {
  std::uint8_t r, g, b;
};

struct Point {
  double x, y;
};

namespace colors {
constexpr Color kWhite{255, 255, 255};
constexpr Color kInk{25, 25, 25};
constexpr Color kWall{95, 95, 100};
constexpr Color kSoil{236, 224, 196};
constexpr Color kSoilTop{246, 238, 218};
constexpr Color kWetSoil{206, 221, 232};
constexpr Color kWater{30, 95, 190};
constexpr Color kLoad{175, 30, 30};
constexpr Color kLoadFill{246, 214, 208};
constexpr Color kSpring{20, 90, 60};
constexpr Color kDimension{40, 40, 40};
constexpr Color kGuide{150, 150, 150};
}  // namespace colors

constexpr int kScale = 2;        // image pixels per pixel as shown
constexpr int kSupersample = 4;  // samples per image pixel, each way
constexpr int kSamples = kScale * kSupersample;
constexpr double kCapDots = 7;   // capital height per unit of text size

enum class Align { Left, Center, Right };

class Canvas {
 public:
  Canvas(int width, int height);

  // Size as shown, and of the image (kScale times as large).
  int width() const { return width_; }
  int height() const { return height_; }
  int pixelWidth() const { return width_ * kScale; }
  int pixelHeight() const { return height_ * kScale; }

  // Filled shapes.
  void fillPolygon(const std::vector<Point>& points, Color color);
  void fillRect(double x0, double y0, double x1, double y1, Color color);
  void fillCircle(Point center, double radius, Color color);

  // Strokes of the given width (final pixels) with round ends.
  void line(Point a, Point b, double width, Color color);
  void polyline(const std::vector<Point>& points, double width, Color color);
  void dashedLine(Point a, Point b, double width, Color color, double dash = 6, double gap = 4);
  void circle(Point center, double radius, double width, Color color);
  // An arc from angle a0 to a1 (radians, counter-clockwise on screen, 0
  // pointing right).
  void arc(Point center, double radius, double a0, double a1, double width, Color color);

  // An arrow from `from` whose filled head ends exactly at `to`.
  void arrow(Point from, Point to, double width, Color color, double headLength = 10, double headWidth = 7);
  void arrowHead(Point tip, Point direction, Color color, double headLength = 10, double headWidth = 7);

  // A dimension line between a and b with arrow heads at both ends.
  void dimension(Point a, Point b, Color color = colors::kDimension);

  // Ground hatching: short strokes at 45 degrees below a surface line from
  // a to b (below meaning to the right of the direction a->b... always
  // downwards on screen for a near-horizontal surface).
  void groundHatch(Point a, Point b, Color color = colors::kInk, double spacing = 9, double length = 7);

  // Text in the label font; `size` gives capitals kCapDots * size pixels
  // high (2 gives 14 pixels). (x, y) is the top of the capitals at the
  // given alignment. Returns the text's width.
  double text(double x, double y, const std::string& text, double size, Color color, Align align = Align::Left);
  static double textWidth(const std::string& text, double size);

  // The final picture: pixelWidth*pixelHeight pixels, RGB, rows top first.
  std::vector<std::uint8_t> downsampled() const;

 private:
  // Covers a sample with `color` by `alpha` (0 to 1).
  void blendSample(int sx, int sy, Color color, double alpha = 1);
  // The font's em, in pixels as shown, for a text size.
  static double emFor(double size);

  int width_;
  int height_;
  std::vector<std::uint8_t> samples_;  // supersampled RGB
};

}  // namespace pictures
