#include "DepthGraph.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

#include "GraphPainter.h"
#include "graphs/GraphLayout.h"
#include "graphs/GraphRanges.h"

namespace terraq::report {

using ui::TFloatPoint;

namespace {

bool Finite(const TFloatPoint& p) { return std::isfinite(p.X) && std::isfinite(p.Y); }

// The value of a curve (depths ascending) at depth d by linear
// interpolation; false beyond its first and last depth.
bool ValueAt(const std::vector<TFloatPoint>& curve, long double d, long double& value) {
  if (curve.empty() || d < curve.front().Y || d > curve.back().Y) return false;
  const auto above =
      std::lower_bound(curve.begin(), curve.end(), d,
                       [](const TFloatPoint& p, long double depth) { return p.Y < depth; });
  if (above == curve.end()) return false;
  if (above->Y == d || above == curve.begin()) {
    value = above->X;
    return std::isfinite(value);
  }
  const TFloatPoint& a = *(above - 1);
  const TFloatPoint& b = *above;
  const long double f = (d - a.Y) / (b.Y - a.Y);
  value = a.X + f * (b.X - a.X);
  return std::isfinite(value);
}

// Whether every curve lies on the depths of the first.
bool SameDepths(const std::vector<std::vector<TFloatPoint>>& curves) {
  const std::vector<TFloatPoint>& first = curves.front();
  if (first.empty()) return false;
  const long double tolerance =
      1e-6L * std::max(1e-30L, std::abs(first.back().Y - first.front().Y));
  for (const auto& c : curves) {
    if (c.size() != first.size()) return false;
    for (size_t i = 0; i < c.size(); ++i)
      if (!(std::abs(c[i].Y - first[i].Y) <= tolerance)) return false;
  }
  return true;
}

void AddBounds(Envelope& e, long double depth, const std::vector<long double>& values) {
  if (values.empty()) return;
  const auto [lo, hi] = std::minmax_element(values.begin(), values.end());
  e.max.push_back({*hi, depth});
  e.min.push_back({*lo, depth});
}

// Font of the legend: the graph's own face and size.
QFont LegendFont(int textHeight) {
  QFont font(QString::fromLatin1(ui::kGraphFontFamily));
  font.setPixelSize(std::max(1, textHeight));
  return font;
}

QPen CurvePen(const DepthCurve& curve, int colourNumber, int width, double dpi) {
  if (curve.underlay) return ui::UnderlayPen(curve.underlay, static_cast<int>(std::lround(dpi)));
  QColor colour = curve.colour;
  if (curve.style == Qt::SolidLine) {
    const ui::TRgb rgb =
        ui::LineColour(curve.colourNumber >= 0 ? curve.colourNumber : colourNumber);
    colour = QColor(rgb.r, rgb.g, rgb.b);
  }
  QPen pen(colour, width, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin);
  if (curve.style != Qt::SolidLine) {
    // Dashes of a physical length (the pattern counts pen widths): 3 mm
    // and 1.5 mm gaps, dots of 0.6 mm.
    const double mm = dpi / 25.4 / std::max(width, 1);
    if (curve.style == Qt::DotLine) pen.setDashPattern({0.6 * mm, 1.2 * mm});
    else if (curve.style == Qt::DashDotLine)
      pen.setDashPattern({3 * mm, 1.2 * mm, 0.6 * mm, 1.2 * mm});
    else pen.setDashPattern({3 * mm, 1.5 * mm});
  }
  return pen;
}

// The legend under the plot: entries in as many columns as the width
// takes, each a sample of its curve (colour, style and marker) and its
// label.
struct LegendLayout {
  int columns = 1, rows = 0;
  double columnWidth = 0, rowHeight = 0, sample = 0, height = 0;
};

LegendLayout LayOutLegend(const DepthGraph& graph, const QFontMetricsF& metrics, double width,
                          double dpi) {
  LegendLayout l;
  const int n = static_cast<int>(graph.curves.size());
  if (n == 0) return l;
  l.sample = 0.3 * dpi;
  double widest = 0;
  for (const DepthCurve& c : graph.curves)
    widest = std::max(widest, metrics.horizontalAdvance(QString::fromStdString(c.label)));
  l.columnWidth = l.sample + 0.06 * dpi + widest + 0.12 * dpi;
  l.columns = std::clamp(static_cast<int>(width / l.columnWidth), 1, n);
  l.columnWidth = std::min(l.columnWidth, width / l.columns);
  l.rows = (n + l.columns - 1) / l.columns;
  l.rowHeight = metrics.height() * 1.2;
  l.height = l.rows * l.rowHeight + 0.08 * dpi;
  return l;
}

void PaintLegend(QPainter& p, const DepthGraph& graph, const LegendLayout& l,
                 const QFontMetricsF& metrics, QPointF topLeft, int penWidth, double dpi) {
  int number = 0;  // the running colour of the solid curves
  for (size_t i = 0; i < graph.curves.size(); ++i) {
    const DepthCurve& c = graph.curves[i];
    const int column = static_cast<int>(i) % l.columns, row = static_cast<int>(i) / l.columns;
    const double x = topLeft.x() + column * l.columnWidth;
    const double y = topLeft.y() + 0.08 * dpi + row * l.rowHeight + l.rowHeight / 2;
    const QPen pen = CurvePen(c, number, penWidth, dpi);
    p.setPen(pen);
    if (!c.markersOnly) p.drawLine(QPointF(x, y), QPointF(x + l.sample, y));
    if (c.style == Qt::SolidLine && !c.underlay) {
      QPolygon outline;
      const int cx = static_cast<int>(std::lround(x + l.sample / 2)),
                cy = static_cast<int>(std::lround(y));
      const int d = static_cast<int>(std::lround(dpi));
      const int shape = c.colourNumber >= 0 ? c.colourNumber : number;
      for (const ui::TPixelPoint& corner : ui::MarkerCorners(shape, cx, cy, d, d))
        outline << QPoint(corner.X, corner.Y);
      QPen solid = pen;
      solid.setStyle(Qt::SolidLine);
      p.setPen(solid);
      p.drawPolygon(outline);
      ++number;
    }
    p.setPen(Qt::black);
    const double textLeft = x + l.sample + 0.06 * dpi;
    const double room = x + l.columnWidth - textLeft - 0.05 * dpi;
    const QString text = metrics.elidedText(QString::fromStdString(c.label), Qt::ElideRight, room);
    p.drawText(QPointF(textLeft, y - metrics.height() / 2 + metrics.ascent()), text);
  }
}

}  // namespace

Envelope EnvelopeOf(const std::vector<std::vector<TFloatPoint>>& curves) {
  Envelope e;
  if (curves.size() < 2) return e;
  std::vector<long double> values;
  if (SameDepths(curves)) {
    for (size_t i = 0; i < curves.front().size(); ++i) {
      values.clear();
      for (const auto& c : curves)
        if (Finite(c[i])) values.push_back(c[i].X);
      AddBounds(e, curves.front()[i].Y, values);
    }
    return e;
  }
  std::vector<std::vector<TFloatPoint>> sorted;
  std::vector<long double> depths;
  for (const auto& c : curves) {
    std::vector<TFloatPoint> finite;
    std::copy_if(c.begin(), c.end(), std::back_inserter(finite), Finite);
    std::stable_sort(finite.begin(), finite.end(),
                     [](const TFloatPoint& a, const TFloatPoint& b) { return a.Y < b.Y; });
    for (const TFloatPoint& p : finite) depths.push_back(p.Y);
    sorted.push_back(std::move(finite));
  }
  std::sort(depths.begin(), depths.end());
  depths.erase(std::unique(depths.begin(), depths.end()), depths.end());
  for (const long double d : depths) {
    values.clear();
    for (const auto& c : sorted) {
      long double v = 0;
      if (ValueAt(c, d, v)) values.push_back(v);
    }
    AddBounds(e, d, values);
  }
  return e;
}

namespace {

// The legend set in the graph's font at 10 points, smaller, down to 8
// points, where it would take more than a quarter of the height from the
// plot; `font` the size it took.
LegendLayout FitLegend(const QPainter& painter, const QRectF& area, const DepthGraph& graph,
                       double plotLeft, int d, double dpi, QFont& font) {
  LegendLayout legend;
  for (int size = 10; size >= 8; --size) {
    font = LegendFont(ui::GraphTextHeight(size, d));
    legend = LayOutLegend(graph, QFontMetricsF(font, painter.device()),
                          area.width() - plotLeft - 0.05 * dpi, dpi);
    if (legend.height <= 0.25 * area.height()) break;
  }
  return legend;
}

// The program's graph of the solid curves and the envelope; `every` all
// the graph's lines and the points it reaches, for the ranges.
ui::TGraphPlot PlotOf(const DepthGraph& graph, ui::TLineList& every) {
  ui::TGraphPlot g;
  g.XCaption = graph.xCaption;
  g.YCaption = graph.yCaption;
  g.XOnTop = true;
  g.ShowLegend = false;
  g.ZeroLine = true;
  g.FineGrid = true;
  g.ResultsMark = graph.resultsMark;
  g.SetUnits(3);  // the captions carry their units already
  size_t longest = 0;
  for (const DepthCurve& c : graph.curves) {
    ui::TLine line;
    line.Points = c.points;
    line.Underlay = c.underlay;
    line.ColourNumber = c.colourNumber;
    if (c.markersOnly) line.Style = ui::TLineStyle::Markers;
    every.push_back(line);
    if (c.style == Qt::SolidLine || c.underlay) g.Lines.push_back(line);
    if (c.style == Qt::SolidLine && !c.underlay && !c.markersOnly)
      longest = std::max(longest, c.points.size());
  }
  // About a dozen markers a curve: enough to tell the curves apart in
  // black and white, few enough to keep them lines.
  g.Markers = static_cast<int>(std::max<size_t>(1, (longest + 11) / 12));
  return g;
}

// The curves of their own pen, over the graph's, broken where a point is
// not finite.
void PaintOwnPenCurves(QPainter& painter, const DepthGraph& graph, const ui::TPanelMap& map,
                       int penWidth, double dpi) {
  for (const DepthCurve& c : graph.curves) {
    if (c.style == Qt::SolidLine || c.underlay) continue;
    painter.setPen(CurvePen(c, 0, penWidth, dpi));
    QPolygonF run;
    for (const TFloatPoint& pt : c.points) {
      if (!Finite(pt)) {
        if (run.size() > 1) painter.drawPolyline(run);
        run.clear();
        continue;
      }
      run << QPointF(map.ToPixelX(pt.X), map.ToPixelY(pt.Y));
    }
    if (run.size() > 1) painter.drawPolyline(run);
  }
}

}  // namespace

void PaintDepthGraph(QPainter& painter, const QRectF& area, double dpi, const DepthGraph& graph) {
  painter.save();
  painter.fillRect(area, Qt::white);
  const int d = std::max(1, static_cast<int>(std::lround(dpi)));
  const int h = ui::GraphTextHeight(10, d);
  // The plot's left edge does not depend on the height (LayoutGraph):
  // the legend lines up with it.
  const double plotLeft = 2 * h + d / 8 + h / 8;
  QFont font;
  const LegendLayout legend = FitLegend(painter, area, graph, plotLeft, d, dpi, font);
  const QFontMetricsF metrics(font, painter.device());

  ui::TLineList every;  // every curve, for the ranges
  const ui::TGraphPlot g = PlotOf(graph, every);
  const bool anyPoint =
      std::any_of(every.begin(), every.end(), [](const ui::TLine& l) { return !l.Points.empty(); });
  if (!graph.reach.empty()) {
    every.emplace_back();
    every.back().Points = graph.reach;
  }
  std::array<ui::TWorldRect, 3> world{ui::PanelWorldRect(every), {}, {}};
  world[1] = world[2] = world[0];

  const int width = static_cast<int>(std::floor(area.width()));
  const int height = static_cast<int>(std::floor(area.height() - legend.height));
  painter.translate(area.topLeft());
  const ui::TGraphLayout layout =
      ui::LayoutGraph(ui::GraphLayoutInput(g, width, height, d, d, ui::TLayoutTarget::Export));
  ui::TPaintOutput output;
  output.DpiX = output.DpiY = d;
  output.Printing = true;
  output.LegendBox = [](QPainter&, const ui::TGraphLayout&) {};  // ours goes under the plot
  ui::PaintGraph(painter, g, world, layout, output);
  if (layout.TooSmall) {
    painter.restore();
    return;
  }

  const int penWidth = ui::CurvePenWidth(d, 1);
  const ui::TPixelRect& panel = layout.Panels[0];
  painter.setClipRect(QRect(QPoint(panel.Left, panel.Top), QPoint(panel.Right, panel.Bottom)));
  painter.setBrush(Qt::NoBrush);
  PaintOwnPenCurves(painter, graph, ui::TPanelMap(world[0], panel, true), penWidth, dpi);
  painter.setClipping(false);
  if (!anyPoint && !graph.emptyNote.empty()) {
    painter.setFont(font);
    painter.setPen(Qt::black);
    const QRect box(QPoint(panel.Left, panel.Top), QPoint(panel.Right, panel.Bottom));
    painter.drawText(box, Qt::AlignCenter | Qt::TextWordWrap,
                     QString::fromStdString(graph.emptyNote));
  }

  painter.setFont(font);
  PaintLegend(painter, graph, legend, metrics, QPointF(plotLeft, height), penWidth, dpi);
  painter.restore();
}

}  // namespace terraq::report
