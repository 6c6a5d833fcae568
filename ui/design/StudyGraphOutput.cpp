#include "design/StudyGraphOutput.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace terraq::ui {

TPicturePainter ScreenLookPicture(std::function<void(QPainter&, QSize)> paint, const QFont& font) {
  return [paint = std::move(paint), font](QPainter& painter, int width, int height, int ppi) {
    constexpr double kScreenPpi = 96;
    const double scale = std::max(1, ppi) / kScreenPpi;
    painter.fillRect(0, 0, width, height, Qt::white);
    painter.save();
    painter.scale(scale, scale);
    // A size in pixels is not scaled again by the device's resolution: the
    // text is scaled by the painter alone, as the lines are.
    QFont f = font;
    if (f.pixelSize() <= 0)
      f.setPixelSize(std::max(1, int(std::lround(f.pointSizeF() * kScreenPpi / 72))));
    painter.setFont(f);
    paint(painter, QSize(int(width / scale), int(height / scale)));
    painter.restore();
  };
}

}  // namespace terraq::ui
