#include "sequence/TSequencePicture.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace terraq::ui {

TSequencePicture::TSequencePicture(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("picStage"));
  setMinimumSize(110, 160);
}

void TSequencePicture::SetView(std::optional<SequenceStageView> view, const QString& caption) {
  view_ = std::move(view);
  caption_ = caption;
  update();
}

void TSequencePicture::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.fillRect(rect(), palette().base());
  const int line = fontMetrics().height();
  p.setPen(palette().text().color());
  // The caption's lines ("Stage 3", then its name), each cut to the width.
  const QStringList lines = caption_.split(QLatin1Char('\n'));
  for (int k = 0; k < std::min<int>(2, static_cast<int>(lines.size())); ++k)
    p.drawText(QRect(4, 2 + k * line, width() - 8, line), Qt::AlignCenter | Qt::TextSingleLine,
               fontMetrics().elidedText(lines[k], Qt::ElideRight, width() - 8));
  if (!view_) return;
  const SequenceStageView& v = *view_;
  // Depth to scale, from the top of the wall (a little above) to the tip.
  const double top = line * 3, bottom = height() - line * 0.5;
  const double scale = (bottom - top) / v.tip;
  const auto y = [&](double depth) { return top + std::clamp(depth, 0.0, v.tip) * scale; };
  const double wall = width() * 0.5, left = 4, right = width() - 4;
  // Ground behind (right of the wall) from the top, in front below the
  // excavation.
  const QColor soil(205, 180, 140), water(60, 120, 200);
  p.fillRect(QRectF(QPointF(wall, y(0)), QPointF(right, bottom)), soil);
  p.fillRect(QRectF(QPointF(left, y(v.excavation)), QPointF(wall, bottom)), soil);
  p.setPen(QPen(water, 1.5, Qt::DashLine));
  if (v.waterBack) p.drawLine(QPointF(wall, y(*v.waterBack)), QPointF(right, y(*v.waterBack)));
  if (v.waterFront)
    p.drawLine(QPointF(left, y(std::max(*v.waterFront, 0.0))),
               QPointF(wall, y(std::max(*v.waterFront, 0.0))));
  // The supports: an anchor into the ground behind, a strut across the cut.
  for (const SequenceStageView::Support& s : v.supports) {
    p.setPen(QPen(QColor(90, 90, 90), 2, s.installedNow ? Qt::DashLine : Qt::SolidLine));
    const double radians = s.inclination * std::acos(-1.0) / 180;
    if (s.strut) {
      p.drawLine(QPointF(wall, y(s.depth)), QPointF(left, y(s.depth)));
    } else {
      const double length = (right - wall) * 0.9;
      p.drawLine(QPointF(wall, y(s.depth)), QPointF(wall + length * std::cos(radians),
                                                    y(s.depth) + length * std::sin(radians)));
    }
  }
  p.setPen(QPen(palette().text().color(), 3));
  p.drawLine(QPointF(wall, y(0)), QPointF(wall, y(v.tip)));
}

}  // namespace terraq::ui
