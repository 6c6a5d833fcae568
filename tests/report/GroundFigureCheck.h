#pragma once
// What the tests of the ground's figures share: a blank image and whether
// the failure surface's colour was painted near a point.

#include <QColor>
#include <QImage>
#include <QPointF>
#include <cmath>

namespace terraq::ui::ground_test {

constexpr double kDpi = 96;

inline QImage Blank() {
  QImage image(900, 700, QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}

// Kept for looking at when TERRAQ_DIALOG_SHOTS names a folder.
inline void Keep(const QImage& image, const char* name) {
  if (const QByteArray folder = qgetenv("TERRAQ_DIALOG_SHOTS"); !folder.isEmpty())
    image.save(QString::fromUtf8(folder) + "/" + name + ".png");
}

// Whether a pixel of the failure surface's colour lies within `reach`
// pixels of `at` (a dashed line may have a gap at the point itself).
inline bool SlipColourNear(const QImage& image, QPointF at, int reach = 4) {
  for (int dy = -reach; dy <= reach; ++dy)
    for (int dx = -reach; dx <= reach; ++dx) {
      const QPoint p(static_cast<int>(std::lround(at.x())) + dx,
                     static_cast<int>(std::lround(at.y())) + dy);
      if (!image.rect().contains(p)) continue;
      const QColor c = image.pixelColor(p);
      if (c.red() > 150 && c.green() < 110 && c.blue() < 110) return true;
    }
  return false;
}

}  // namespace terraq::ui::ground_test
