#include "design/StudyBars.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace terraq::ui {

namespace {
QString Number(double value) { return QString::number(value == 0.0 ? 0.0 : value, 'g', 4); }
}  // namespace

StudyBars::StudyBars(QWidget* parent) : QWidget(parent) {
  setMinimumSize(220, 180);
  setAutoFillBackground(true);
  QPalette p = palette();
  p.setColor(QPalette::Window, Qt::white);
  setPalette(p);
}

void StudyBars::SetHistogram(std::vector<size_t> counts, double low, double high, QString title) {
  tornado_ = false;
  counts_ = std::move(counts);
  low_ = low;
  high_ = high;
  bars_.clear();
  title_ = std::move(title);
  update();
}

void StudyBars::SetTornado(std::vector<Bar> bars, QString title) {
  tornado_ = true;
  bars_.clear();
  for (Bar& b : bars)
    if (std::isfinite(b.value)) bars_.push_back(std::move(b));
  std::stable_sort(bars_.begin(), bars_.end(), [](const Bar& a, const Bar& b) {
    return std::abs(a.value) > std::abs(b.value);
  });
  counts_.clear();
  title_ = std::move(title);
  update();
}

void StudyBars::Clear(QString emptyText) {
  counts_.clear();
  bars_.clear();
  title_.clear();
  emptyText_ = std::move(emptyText);
  update();
}

void StudyBars::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  Paint(painter, size());
}

void StudyBars::Paint(QPainter& painter, QSize size) const {
  const int line = painter.fontMetrics().height();
  painter.setPen(Qt::black);
  painter.drawText(QRect(0, 2, size.width(), line), Qt::AlignHCenter, title_);
  const QRect frame = QRect(QPoint(0, 0), size).adjusted(12, line + 8, -16, -2 * line - 6);
  if (tornado_ ? bars_.empty() : counts_.empty()) {
    painter.drawRect(frame);
    painter.drawText(frame.adjusted(8, 8, -8, -8), Qt::AlignCenter | Qt::TextWordWrap, emptyText_);
    return;
  }
  tornado_ ? paintTornado(painter, frame) : paintHistogram(painter, frame);
}

void StudyBars::paintHistogram(QPainter& painter, const QRect& frame) const {
  const size_t most = std::max<size_t>(1, *std::max_element(counts_.begin(), counts_.end()));
  const int line = painter.fontMetrics().height();
  const QRect plot =
      frame.adjusted(painter.fontMetrics().horizontalAdvance(Number(most)) + 8, 0, 0, 0);
  painter.drawRect(plot);
  const double w = double(plot.width()) / counts_.size();
  painter.setBrush(QColor(70, 110, 170));
  for (size_t k = 0; k < counts_.size(); ++k) {
    const double h = plot.height() * double(counts_[k]) / most;
    painter.drawRect(QRectF(plot.left() + k * w, plot.bottom() - h, w, h));
  }
  painter.drawText(QRect(frame.left(), plot.top(), plot.left() - frame.left() - 4, line),
                   Qt::AlignRight, Number(double(most)));
  painter.drawText(QRect(frame.left(), plot.bottom() - line, plot.left() - frame.left() - 4, line),
                   Qt::AlignRight, QStringLiteral("0"));
  const QRect below(plot.left(), plot.bottom() + 4, plot.width(), line);
  painter.drawText(below, Qt::AlignLeft, Number(low_));
  painter.drawText(below, Qt::AlignRight, Number(high_));
}

void StudyBars::paintTornado(QPainter& painter, const QRect& frame) const {
  const QFontMetrics fm = painter.fontMetrics();
  int names = 0;
  for (const Bar& b : bars_) names = std::max(names, fm.horizontalAdvance(b.name));
  const QRect plot = frame.adjusted(names + 8, 0, 0, 0);
  painter.drawRect(plot);
  const double middle = plot.left() + plot.width() / 2.0;
  const double half = plot.width() / 2.0 - 4;
  const double row = std::min(double(2 * fm.height()), double(plot.height()) / bars_.size());
  painter.drawLine(QPointF(middle, plot.top()), QPointF(middle, plot.bottom()));
  for (size_t k = 0; k < bars_.size(); ++k) {
    const double top = plot.top() + k * row;
    const double v = std::clamp(bars_[k].value, -1.0, 1.0);
    painter.setBrush(v < 0 ? QColor(190, 80, 60) : QColor(70, 110, 170));
    painter.drawRect(QRectF(std::min(middle, middle + v * half), top + row * 0.2,
                            std::abs(v) * half, row * 0.6));
    painter.drawText(QRectF(frame.left(), top, names + 4, row), Qt::AlignRight | Qt::AlignVCenter,
                     bars_[k].name);
    painter.drawText(QRectF(plot.left() + 4, top, plot.width() - 8, row),
                     (v < 0 ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter, Number(v));
  }
  const QRect below(plot.left(), plot.bottom() + 4, plot.width(), fm.height());
  painter.drawText(below, Qt::AlignLeft, QStringLiteral("-1"));
  painter.drawText(below, Qt::AlignHCenter, QStringLiteral("0"));
  painter.drawText(below, Qt::AlignRight, QStringLiteral("1"));
}

}  // namespace terraq::ui
