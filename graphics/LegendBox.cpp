#include "LegendBox.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>
#include <algorithm>

#include "GraphPainter.h"

namespace terraq::ui {

std::vector<TLegendBoxEntry> LegendBoxEntries(const TGraphPlot& graph) {
  std::vector<TLegendBoxEntry> entries;
  int position = 0;  // counts every legend entry, shown or not
  for (size_t i = 0; i < graph.Lines.size(); ++i) {
    const TLine& line = graph.Lines[i];
    if (!line.Active || line.Underlay) continue;
    if (line.Visible) {
      std::string label = graph.Label(static_cast<int>(i));
      if (graph.onGetCaption) graph.onGetCaption(static_cast<int>(i), label);
      entries.push_back({position, static_cast<int>(i), QString::fromStdString(label)});
    }
    ++position;
  }
  return entries;
}

QRect LegendBoxRect(const TPixelRect& plot, int entryCount, int textHeight, int widestLabel, int dpiX, int dpiY) {
  const int width = widestLabel + 3 * dpiX / 16;
  const int height = entryCount * (textHeight + dpiY / 32) + dpiY / 32;
  return QRect(plot.Right - width, plot.Bottom - height, width, height);
}

void PaintLegendBox(QPainter& painter, const TGraphPlot& graph, const TGraphLayout& layout, int dpiX, int dpiY) {
  const std::vector<TLegendBoxEntry> entries = LegendBoxEntries(graph);
  if (entries.empty()) return;
  painter.save();
  QFont font(QString::fromLatin1(kGraphFontFamily));
  font.setPixelSize(GraphTextHeight(graph.SizeFont, dpiY));
  font.setWeight(QFont::Normal);
  painter.setFont(font);
  const QFontMetrics metrics = painter.fontMetrics();
  const int textHeight = metrics.height();
  int widest = 0;
  for (const TLegendBoxEntry& e : entries) widest = std::max(widest, metrics.horizontalAdvance(e.Label));
  // Dashed and dotted curves are told apart by their pens: every row then
  // shows a quarter inch of its curve's pen before the label.
  const auto lineOf = [&graph](const TLegendBoxEntry& e) -> const TLine& {
    return graph.Lines[static_cast<size_t>(e.Curve)];
  };
  const bool styled = std::any_of(entries.begin(), entries.end(), [&](const TLegendBoxEntry& e) {
    return lineOf(e).Style == TLineStyle::Dashed || lineOf(e).Style == TLineStyle::Dotted;
  });
  const int sample = styled ? dpiX / 4 : 0;

  const QRect box = LegendBoxRect(layout.Plot, static_cast<int>(entries.size()), textHeight,
                                  widest + sample, dpiX, dpiY);
  painter.setPen(QPen(Qt::black, 0));
  painter.setBrush(Qt::white);
  painter.drawRect(box);

  // The markers keep the curves' pen, so that a row looks like its curve.
  const int penWidth = CurvePenWidth(dpiX, graph.WidthLine);
  painter.setBrush(Qt::NoBrush);
  int top = box.top() + dpiY / 32;
  for (const TLegendBoxEntry& e : entries) {
    const TLine& line = lineOf(e);
    const QPen pen = LinePen(line, e.Position, penWidth, dpiX);
    const int markerX = box.left() + dpiX / 16 + sample / 2;
    const int centreY = top + textHeight / 2;
    painter.setPen(pen);
    const bool marked = line.Style == TLineStyle::Solid || line.Style == TLineStyle::Markers;
    if (sample && line.Style != TLineStyle::Markers)
      painter.drawLine(markerX - sample / 2, centreY, markerX + sample / 2, centreY);
    if (marked) {
      QPolygon outline;
      for (const TPixelPoint& corner :
           MarkerCorners(line.ColourAt(e.Position), markerX, centreY, dpiX, dpiY))
        outline << QPoint(corner.X, corner.Y);
      painter.drawPolygon(outline);
    }
    painter.setPen(pen.color());
    const int textLeft = markerX + dpiX / 16 + sample / 2;
    painter.drawText(QRect(textLeft, top, box.right() - textLeft, textHeight), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextDontClip,
                     e.Label);
    top += textHeight + dpiY / 32;
  }
  painter.restore();
}

}  // namespace terraq::ui
