#include "design/FigureView.h"

#include <QPainter>

namespace terraq::ui {

FigureView::FigureView(QWidget* parent) : QWidget(parent) { setMinimumSize(240, 300); }

void FigureView::SetFigure(std::optional<report::Figure> figure, const QString& empty) {
  figure_ = std::move(figure);
  empty_ = empty;
  update();
}

QString FigureView::Caption() const {
  return figure_ ? QString::fromStdString(figure_->caption) : QString();
}

void FigureView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  if (!figure_) {
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, empty_);
    return;
  }
  figure_->paint(painter, QRectF(rect()), logicalDpiX());
}

}  // namespace terraq::ui
