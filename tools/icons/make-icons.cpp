// Draws the program's icon: a retaining wall between two ground levels with
// its deflected shape beside it. Writes the hicolor theme's PNG sizes and a
// scalable SVG; the files are committed, so the build never runs this.
//
//   make-icons OUTPUT_DIR      (writes OUTPUT_DIR/<n>x<n>/apps/terraq.png and
//                               OUTPUT_DIR/scalable/apps/terraq.svg)
//
// The drawing uses a 256-unit square. Small sizes keep every stroke at least
// about one and a half pixels wide, so that the wall and the curve stay
// readable in a menu at 16 pixels.

#include <QDir>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QSvgGenerator>

#include <algorithm>
#include <cstdio>

namespace {

constexpr double kUnits = 256.0;

// Strokes at least `pixels` wide at the drawn size, in drawing units.
double strokeWidth(double units, double pixels, double size) { return std::max(units, pixels * kUnits / size); }

void drawIcon(QPainter& p, double size) {
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / kUnits, size / kUnits);

  const double margin = size <= 24 ? 0.0 : 8.0;
  QPainterPath tile;
  tile.addRoundedRect(QRectF(margin, margin, kUnits - 2 * margin, kUnits - 2 * margin), 36, 36);
  p.setClipPath(tile);

  // Sky.
  QLinearGradient sky(0, 0, 0, kUnits);
  sky.setColorAt(0.0, QColor(0x9c, 0xcb, 0xee));
  sky.setColorAt(1.0, QColor(0xe6, 0xf2, 0xfb));
  p.fillRect(QRectF(0, 0, kUnits, kUnits), sky);

  // Retained soil on the left, up to the top of the wall; the excavation
  // on the right, lower. Two layers: a sandy one over a darker clay.
  const double wallLeft = 104, wallRight = 126;
  const double retainedLevel = 92, excavationLevel = 156, layerLevel = 206;
  const QColor sand(0xc9, 0x9a, 0x5b), clay(0x8a, 0x5f, 0x36);
  p.fillRect(QRectF(0, retainedLevel, wallLeft, kUnits), sand);
  p.fillRect(QRectF(wallRight, excavationLevel, kUnits, kUnits), sand);
  p.fillRect(QRectF(0, layerLevel, kUnits, kUnits), clay);

  // The wall, from above the retained ground to its embedded toe.
  const double wallTop = 60, wallToe = 236;
  p.fillRect(QRectF(wallLeft, wallTop, wallRight - wallLeft, wallToe - wallTop), QColor(0x37, 0x41, 0x4d));

  // Its deflected shape: largest at the top, turning back to the toe, as a
  // cantilever bends under the earth pressure behind it.
  QPainterPath deflection;
  const double baseX = wallRight + 22;
  deflection.moveTo(baseX + 70, wallTop);
  deflection.cubicTo(baseX + 40, wallTop + 70, baseX + 4, excavationLevel + 10, baseX, wallToe - 14);
  // The diagram's zero line and the area under the curve, as the result
  // graphs draw a deflection diagram beside the wall.
  QPainterPath area = deflection;
  area.lineTo(baseX, wallTop);
  area.closeSubpath();
  p.fillPath(area, QColor(0xd6, 0x27, 0x28, 70));
  p.setPen(QPen(QColor(0x37, 0x41, 0x4d), strokeWidth(4, 1.0, size)));
  p.drawLine(QPointF(baseX, wallTop), QPointF(baseX, wallToe - 14));
  QPen curve(QColor(0xd6, 0x27, 0x28), strokeWidth(12, 1.6, size));
  curve.setCapStyle(Qt::RoundCap);
  p.setPen(curve);
  p.setBrush(Qt::NoBrush);
  p.drawPath(deflection);

  // The tile's outline.
  p.setClipping(false);
  p.setPen(QPen(QColor(0x2a, 0x33, 0x3d), strokeWidth(4, 1.0, size)));
  p.drawPath(tile);
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make-icons OUTPUT_DIR\n");
    return 2;
  }
  const QDir out(QString::fromLocal8Bit(argv[1]));
  for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    drawIcon(painter, size);
    painter.end();
    const QString folder = QStringLiteral("%1x%1/apps").arg(size);
    out.mkpath(folder);
    if (!image.save(out.filePath(folder + QStringLiteral("/terraq.png")), "PNG")) {
      std::fprintf(stderr, "make-icons: cannot write the %d-pixel icon\n", size);
      return 1;
    }
  }
  out.mkpath(QStringLiteral("scalable/apps"));
  QSvgGenerator svg;
  svg.setFileName(out.filePath(QStringLiteral("scalable/apps/terraq.svg")));
  svg.setSize(QSize(256, 256));
  svg.setViewBox(QRect(0, 0, 256, 256));
  svg.setTitle(QStringLiteral("TERRAQ"));
  svg.setDescription(QStringLiteral("A retaining wall and its deflected shape"));
  QPainter painter(&svg);
  drawIcon(painter, 256);
  painter.end();
  return 0;
}
