// The layer strip beside a graph of results against depth: each soil layer
// of the wall's profile in its hatching, the wall, and the layers' names.
#include <QImage>
#include <QPaintEngine>

#include "GraphPaintParts.h"
#include "HatchBrushes.h"
#include "graphs/LayerStrip.h"

namespace terraq::ui::graph_paint {

void PaintLayerStrip(QPainter& p, const TGraphPlot& graph, const TPixelRect& strip,
                     const TPanelMap& depths, const TPaintOutput& out) {
  const TLayerStripShapes shapes = LayerStripShapes(graph, strip, depths);
  p.setClipRect(ToQRect(strip));
  p.setBrushOrigin(strip.Left, strip.Top);
  p.setPen(QPen(Qt::black, 0));
  // Qt's SVG writer drops pattern and texture fills (while claiming them):
  // there each band's pattern goes in as a picture, so that the layers keep
  // their hatching.
  const bool patterns = !p.paintEngine() || p.paintEngine()->type() != QPaintEngine::SVG;
  for (const TLayerBand& band : shapes.Bands) {
    p.setBrush(Qt::white);
    p.drawRect(OutlineRect(band.Rect));
    const QBrush brush = LayerBrush(band.Code, out.Printing);
    if (patterns || brush.style() == Qt::NoBrush) {
      p.setBrush(brush);
    } else {
      const QRect area = ToQRect(band.Rect);
      QImage fill(area.size(), QImage::Format_RGB32);
      if (!fill.isNull()) {
        fill.fill(Qt::white);
        QPainter fp(&fill);
        fp.setBrushOrigin(strip.Left - area.left(), strip.Top - area.top());
        fp.fillRect(fill.rect(), brush);
        fp.end();
        p.drawImage(area.topLeft(), fill);
      }
      p.setBrush(Qt::NoBrush);
    }
    p.drawRect(OutlineRect(band.Rect));
  }
  if (shapes.HasWall) {
    p.setBrush(QColor(128, 128, 128));
    p.drawRect(OutlineRect(shapes.Wall));
  }
  // Labels at the default text size: the strip is narrow and does not grow
  // with the text-size factor.
  const int labelHeight = GraphTextHeight(10, out.DpiY);
  p.setFont(GraphFont(labelHeight, false));
  for (const TLayerLabel& label : shapes.Labels) {
    const QString text = QString::fromStdString(label.Text).trimmed();
    if (text.isEmpty() || label.Rect.Height() < labelHeight) continue;
    const QRect band = ToQRect(label.Rect);
    const int width =
        std::min(p.fontMetrics().horizontalAdvance(text) + labelHeight / 2, band.width() - 1);
    const QRect box(band.center().x() - width / 2, band.center().y() - labelHeight / 2, width,
                    labelHeight);
    p.fillRect(box, Qt::white);
    p.drawText(box, Qt::AlignCenter, text);
  }
  p.setBrush(Qt::NoBrush);
  p.setClipping(false);
}

}  // namespace terraq::ui::graph_paint
