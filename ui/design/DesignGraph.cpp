#include "design/DesignGraph.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <iterator>

namespace terraq::ui {

namespace {

QString Number(double value) { return QString::number(value == 0.0 ? 0.0 : value, 'g', 4); }

}  // namespace

DesignGraph::DesignGraph(QWidget* parent) : QWidget(parent) {
  setMinimumSize(220, 200);
  setAutoFillBackground(true);
  QPalette p = palette();
  p.setColor(QPalette::Window, Qt::white);
  setPalette(p);
}

void DesignGraph::SetCurve(std::vector<Point> points, QString xTitle, QString yTitle, bool yDown,
                           QString emptyText) {
  points_.clear();
  for (const Point& point : points)
    if (std::isfinite(point.x) && std::isfinite(point.y)) points_.push_back(point);
  xTitle_ = std::move(xTitle);
  yTitle_ = std::move(yTitle);
  yDown_ = yDown;
  emptyText_ = std::move(emptyText);
  hasMark_ = false;
  starts_.clear();
  labels_.clear();
  // A title longer than a narrow graph is cut short with "..." (the factor
  // of safety names its method): the whole of both is here.
  setToolTip(yTitle_ + QStringLiteral("\n") + xTitle_);
  update();
}

void DesignGraph::SetParts(std::vector<size_t> starts, QStringList labels) {
  starts_ = std::move(starts);
  labels_ = std::move(labels);
  update();
}

void DesignGraph::SetMark(double y, QString label) {
  hasMark_ = std::isfinite(y);
  mark_ = y;
  markLabel_ = std::move(label);
  update();
}

// AxisTicks spaces the labelled ticks at least half the interval asked for:
// numbers of four significant figures (12500, 1.25e+04) are wider than
// that on a narrow graph. The widest label is measured and the interval
// widened until every label keeps a digit's width from the next.
TAxisTicks DesignGraph::XTicks(double x0, double x1, int width, const QFontMetrics& metrics) {
  int interval = 4 * metrics.height();
  TAxisTicks ticks;
  for (int attempt = 0; attempt < 6; ++attempt) {
    ticks = AxisTicks(x0, x1, width, interval);
    if (!ticks.Any) return ticks;
    int widest = 0;
    for (long long k = ticks.First; k <= ticks.Last; ++k)
      if (TAxisTicks::Labelled(k))
        widest = std::max(widest,
                          metrics.horizontalAdvance(Number(static_cast<double>(k * ticks.Minor))));
    const double spacing = static_cast<double>(ticks.Major) / (x1 - x0) * width;
    const int needed = widest + metrics.horizontalAdvance(QLatin1Char('0'));
    if (spacing >= needed) return ticks;
    interval = static_cast<int>(std::ceil(interval * needed / spacing));
  }
  return ticks;
}

void DesignGraph::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  Paint(painter, size());
}

// The frame and the ranges of x and y it shows.
struct DesignGraph::Scale {
  QRect frame;
  double x0 = 0, x1 = 1, y0 = 0, y1 = 1;
  bool yDown = false;

  double X(double x) const { return frame.left() + (x - x0) / (x1 - x0) * frame.width(); }
  double Y(double y) const {
    const double t = (y - y0) / (y1 - y0);
    return yDown ? frame.top() + t * frame.height() : frame.bottom() - t * frame.height();
  }
};

void DesignGraph::Paint(QPainter& painter, QSize size) const {
  painter.setRenderHint(QPainter::Antialiasing);
  const QFontMetrics fm = painter.fontMetrics();
  const int line = fm.height();
  const QRect frame = QRect(QPoint(0, 0), size)
                          .adjusted(fm.horizontalAdvance(QStringLiteral("-0.0000e+00")) / 2 + 40,
                                    line + 8, -16, -2 * line - 10);
  painter.setPen(Qt::black);
  painter.drawText(QRect(0, 2, size.width(), line), Qt::AlignHCenter,
                   fm.elidedText(yTitle_, Qt::ElideRight, size.width() - 4));
  painter.drawRect(frame);
  if (points_.size() < 2) {
    painter.drawText(frame.adjusted(8, 8, -8, -8), Qt::AlignCenter | Qt::TextWordWrap, emptyText_);
    return;
  }
  const Scale s = scaleIn(frame);
  paintTicks(painter, s, line);
  painter.setPen(QPen(Qt::gray, 1, Qt::DashLine));
  if (s.x0 <= 0 && 0 <= s.x1)
    painter.drawLine(QPointF(s.X(0), frame.top()), QPointF(s.X(0), frame.bottom()));
  if (hasMark_) {
    painter.setPen(QPen(QColor(0, 128, 0), 1, Qt::DashLine));
    painter.drawLine(QPointF(frame.left(), s.Y(mark_)), QPointF(frame.right(), s.Y(mark_)));
    painter.drawText(QPointF(frame.left() + 4, s.Y(mark_) - 3), markLabel_);
  }
  paintCurves(painter, s, line);

  painter.setPen(Qt::black);
  painter.drawRect(frame);
  painter.drawText(QRect(frame.left(), frame.bottom() + line + 4, frame.width(), line),
                   Qt::AlignHCenter, fm.elidedText(xTitle_, Qt::ElideRight, frame.width()));
}

// The curve's extent and the mark's, from the zero of x where asked.
DesignGraph::Scale DesignGraph::scaleIn(const QRect& frame) const {
  Scale s;
  s.frame = frame;
  s.yDown = yDown_;
  s.x0 = s.x1 = xFromZero_ ? 0 : points_.front().x;
  s.y0 = s.y1 = points_.front().y;
  for (const Point& p : points_) {
    s.x0 = std::min(s.x0, p.x);
    s.x1 = std::max(s.x1, p.x);
    s.y0 = std::min(s.y0, p.y);
    s.y1 = std::max(s.y1, p.y);
  }
  if (hasMark_) {
    s.y0 = std::min(s.y0, mark_);
    s.y1 = std::max(s.y1, mark_);
  }
  if (s.x1 - s.x0 <= 0) s.x1 = s.x0 + 1;
  if (s.y1 - s.y0 <= 0) s.y1 = s.y0 + 1;
  return s;
}

// Labelled ticks with a light grid under the curve, spaced as the result
// graphs space theirs.
void DesignGraph::paintTicks(QPainter& painter, const Scale& s, int line) const {
  const QRect& frame = s.frame;
  const int w = frame.left() - 4;
  const TAxisTicks xTicks = XTicks(s.x0, s.x1, frame.width(), painter.fontMetrics());
  const TAxisTicks yTicks = AxisTicks(s.y0, s.y1, frame.height(), 3 * line);
  for (long long k = xTicks.First; xTicks.Any && k <= xTicks.Last; ++k) {
    if (!TAxisTicks::Labelled(k)) continue;
    const double x = static_cast<double>(k * xTicks.Minor);
    painter.setPen(QPen(QColor(224, 224, 224), 1));
    painter.drawLine(QPointF(s.X(x), frame.top()), QPointF(s.X(x), frame.bottom()));
    painter.setPen(Qt::black);
    painter.drawLine(QPointF(s.X(x), frame.bottom()), QPointF(s.X(x), frame.bottom() + 4));
    painter.drawText(QRectF(s.X(x) - 60, frame.bottom() + 4, 120, line), Qt::AlignHCenter,
                     Number(x));
  }
  for (long long k = yTicks.First; yTicks.Any && k <= yTicks.Last; ++k) {
    if (!TAxisTicks::Labelled(k)) continue;
    const double y = static_cast<double>(k * yTicks.Minor);
    painter.setPen(QPen(QColor(224, 224, 224), 1));
    painter.drawLine(QPointF(frame.left(), s.Y(y)), QPointF(frame.right(), s.Y(y)));
    painter.setPen(Qt::black);
    painter.drawLine(QPointF(frame.left() - 4, s.Y(y)), QPointF(frame.left(), s.Y(y)));
    painter.drawText(QRectF(0, s.Y(y) - line / 2.0, w - 2, line), Qt::AlignRight, Number(y));
  }
}

// One curve, or the parts SetParts named, each in its colour with its
// label at the top left.
void DesignGraph::paintCurves(QPainter& painter, const Scale& s, int line) const {
  const QColor colours[] = {QColor(0, 0, 192),  QColor(192, 0, 0),   QColor(0, 128, 0),
                            QColor(160, 96, 0), QColor(128, 0, 160), QColor(0, 128, 160)};
  std::vector<size_t> starts = starts_.empty() ? std::vector<size_t>{0} : starts_;
  starts.push_back(points_.size());
  for (size_t part = 0; part + 1 < starts.size(); ++part) {
    const size_t first = std::min(starts[part], points_.size()),
                 last = std::min(starts[part + 1], points_.size());
    if (first >= last) continue;
    QPainterPath path(QPointF(s.X(points_[first].x), s.Y(points_[first].y)));
    for (size_t k = first; k < last; ++k) path.lineTo(s.X(points_[k].x), s.Y(points_[k].y));
    painter.setPen(QPen(colours[part % std::size(colours)], 2));
    painter.drawPath(path);
    if (part < size_t(labels_.size()))
      painter.drawText(QPointF(s.frame.left() + 6, s.frame.top() + (part + 1) * line + 2),
                       labels_[part]);
  }
}

}  // namespace terraq::ui
