// The figures of the paper form: painted into their area of the page when
// the pages are painted, the caption set under them (PdfFlow.h).
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "Document.h"
#include "PdfFlow.h"

namespace terraq::report {

namespace {

QStringList CaptionLines(const PdfFlow& flow, const Figure& figure, const QString& label) {
  const double indent =
      label.isEmpty() ? 0.0 : flow.Width(flow.Fonts().bold, label + QLatin1Char(' '));
  return flow.Wrap(QString::fromStdString(figure.caption), flow.Fonts().body, flow.Body().width(),
                   indent);
}

double CaptionHeight(const PdfFlow& flow, const Figure& figure, const QString& label) {
  if (figure.caption.empty()) return 0;
  return flow.Pt(5) +
         double(CaptionLines(flow, figure, label).size()) * flow.Line(flow.Fonts().body);
}

// The figure's area: the text column's width and the height of its
// aspect, narrower (aspect kept) where that would not fit on a page.
QSizeF FigureSize(const PdfFlow& flow, const Figure& figure) {
  const double aspect = std::isfinite(figure.aspect) && figure.aspect > 0
                            ? std::clamp(figure.aspect, 0.05, 20.0)
                            : 0.6;
  double width = flow.Body().width(), height = width * aspect;
  const double most =
      flow.Body().height() - CaptionHeight(flow, figure, QStringLiteral("Figure 99"));
  if (height > most) {
    height = most;
    width = height / aspect;
  }
  return {width, height};
}

}  // namespace

double FigureStartHeight(const PdfFlow& flow, const Figure& figure, const QString& label) {
  return FigureSize(flow, figure).height() + CaptionHeight(flow, figure, label);
}

void FlowFigure(PdfFlow& flow, const Figure& figure, const QString& label) {
  const QSizeF size = FigureSize(flow, figure);
  const double left = flow.Body().left(), width = flow.Body().width();
  flow.Ensure(size.height() + CaptionHeight(flow, figure, label));
  const QRectF area(left + (width - size.width()) / 2, flow.Y(), size.width(), size.height());
  const double dpi = flow.Dpi();
  const Figure* drawn = &figure;
  flow.Draw([drawn, area, dpi](QPainter& painter) {
    painter.save();
    painter.setClipRect(area);
    if (drawn->paint) {
      drawn->paint(painter, area, dpi);
    } else {
      painter.setPen(QPen(Qt::black, dpi / 72.0 * 0.5));
      painter.setBrush(Qt::NoBrush);
      painter.drawRect(area);
    }
    painter.restore();
  });
  flow.Advance(size.height());
  if (figure.caption.empty()) return;
  const PdfFonts& fonts = flow.Fonts();
  flow.Advance(flow.Pt(5));
  const double line = flow.Line(fonts.body);
  flow.Text(fonts.bold, left, flow.Y(), label);
  double x = left + (label.isEmpty() ? 0.0 : flow.Width(fonts.bold, label + QLatin1Char(' ')));
  for (const QString& text : CaptionLines(flow, figure, label)) {
    flow.Text(fonts.body, x, flow.Y(), text);
    flow.Advance(line);
    x = left;
  }
}

}  // namespace terraq::report
