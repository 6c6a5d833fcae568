#include "GraphPainter.h"

#include <QFont>
#include <QImage>
#include <QPaintEngine>
#include <QPolygon>
#include <cmath>

#include "GraphPaintParts.h"
#include "LegendBox.h"
#include "controls/NumberFormat.h"
#include "controls/UnitsCode.h"
#include "graphs/GraphTicks.h"

namespace terraq::ui {

namespace graph_paint {

QRect ToQRect(const TPixelRect& r) { return QRect(QPoint(r.Left, r.Top), QPoint(r.Right, r.Bottom)); }
QRect OutlineRect(const TPixelRect& r) { return QRect(r.Left, r.Top, r.Width(), r.Height()); }

QFont GraphFont(int pixelHeight, bool bold) {
  QFont font(QString::fromLatin1(kGraphFontFamily));
  font.setPixelSize(std::max(1, pixelHeight));
  font.setWeight(bold ? QFont::Bold : QFont::Normal);
  return font;
}

}  // namespace graph_paint

namespace {

using namespace graph_paint;

QColor ToQColor(TRgb c) { return QColor(c.r, c.g, c.b); }

// Text centred in a box one text height tall. Text wider than the box
// (a long caption over a narrow panel) is set smaller, down to 60 %, and
// then shortened with an ellipsis, so that it never runs into its
// neighbours.
void DrawFittedText(QPainter& p, const QRect& box, const QString& text) {
  const int natural = p.fontMetrics().horizontalAdvance(text);
  if (natural <= box.width()) {
    p.drawText(box, Qt::AlignCenter | Qt::TextDontClip, text);
    return;
  }
  p.save();
  QFont font = p.font();
  const int size = font.pixelSize();
  font.setPixelSize(std::max(size * 6 / 10, size * box.width() / std::max(natural, 1)));
  p.setFont(font);
  const QString shown = p.fontMetrics().elidedText(text, Qt::ElideRight, box.width());
  p.drawText(box, Qt::AlignCenter | Qt::TextDontClip, shown);
  p.restore();
}

// Text turned 90 degrees (reading upwards) centred on (cx, cy), fitted to
// `room` pixels along its line when that is given.
void DrawTurnedText(QPainter& p, int cx, int cy, int height, const QString& text, int room = 0) {
  p.save();
  p.translate(cx, cy);
  p.rotate(-90);
  if (room > 0) {
    DrawFittedText(p, QRect(-room / 2, -height / 2, room, height), text);
  } else {
    const int width = p.fontMetrics().horizontalAdvance(text) + height;
    p.drawText(QRect(-width / 2, -height / 2, width, height), Qt::AlignCenter, text);
  }
  p.restore();
}

struct Context {
  QPainter& p;
  const TGraphPlot& graph;
  const TGraphLayout& layout;
  const TPaintOutput& out;
  int h;  // text height

  std::array<const TLineList*, 3> Lists() const { return {&graph.Lines, &graph.Lines2, &graph.Lines3}; }
};

void PaintCaptions(const Context& c) {
  QPainter& p = c.p;
  const TGraphPlot& g = c.graph;
  const int h = c.h;
  const TPixelRect& area = c.layout.Area;
  p.setPen(Qt::black);
  p.setFont(GraphFont(h, true));
  const bool titleTop = !g.Title.empty() && g.TitleOnTop;
  const bool titleBottom = !g.Title.empty() && !g.TitleOnTop;

  if (!g.Title.empty()) {
    const int top = titleTop ? area.Top : area.Bottom - h;
    DrawFittedText(p, QRect(area.Left, top, area.Width(), h), QString::fromStdString(g.Title));
  }

  // The X caption sits on the X axis side, inside a title on that side.
  const int xCaptionTop =
      g.XOnTop ? area.Top + (titleTop ? h + h / 8 : 0) : area.Bottom - h - (titleBottom ? h : 0);
  const std::array<const std::string*, 3> xCaptions{&g.XCaption, &g.XCaption2, &g.XCaption3};
  const std::array<const std::string*, 3> xUnits{&g.XUnits, &g.XUnits2, &g.XUnits3};
  const std::array<const std::string*, 3> yCaptions{&g.YCaption, &g.YCaption2, &g.YCaption3};
  const std::array<const std::string*, 3> yUnits{&g.YUnits, &g.YUnits2, &g.YUnits3};

  if (c.layout.PanelCount == 1) {
    DrawFittedText(p, QRect(area.Left, xCaptionTop, area.Width(), h), AxisCaption(g.XCaption, g.XUnits, g.Units()));
    DrawTurnedText(p, area.Left + h / 2, (c.layout.Plot.Top + c.layout.Plot.Bottom) / 2, h,
                   AxisCaption(g.YCaption, g.YUnits, g.Units()), area.Height());
    return;
  }
  // The panels' X captions stand a sixteenth inch from the edge on the X
  // axis side, below a top title by the room the layout gives the title
  // (a fixed quarter inch would run into the tick labels at the default
  // size and into the title at large sizes).
  const int dy = c.out.DpiY;
  const int titleRoom = h + h / 8;
  const int panelCaptionTop = g.XOnTop ? area.Top + dy / 16 + (titleTop ? titleRoom : 0)
                                       : area.Bottom - h - dy / 16 - (titleBottom ? h : 0);
  for (int k = 0; k < c.layout.PanelCount; ++k) {
    const TPixelRect& panel = c.layout.Panels[k];
    // Over its own panel; a wide caption may use half of each gap beside it.
    const int extra = h + c.out.DpiX / 8;
    DrawFittedText(p, QRect(panel.Left - extra, panelCaptionTop, panel.Width() + 2 * extra, h),
                   AxisCaption(*xCaptions[k], *xUnits[k], g.Units()));
    // The first panel's Y caption stands at the area's edge; the others in
    // the gap left of their panel, clear of its turned labels.
    const int cx = k == 0 ? area.Left + h / 2 : panel.Left - 2 * h - c.out.DpiX / 16 + h / 2;
    DrawTurnedText(p, cx, (panel.Top + panel.Bottom) / 2, h, AxisCaption(*yCaptions[k], *yUnits[k], g.Units()),
                   panel.Height());
  }
}

void PaintTicks(const Context& c, const TPanelMap& map) {
  QPainter& p = c.p;
  const TPixelRect& r = map.Pixels();
  const TWorldRect& w = map.World();
  const int h = c.h;
  const int perInterval = (c.layout.PanelCount == 3 ? 4 : 6) * h;
  const TAxisTicks xt = AxisTicks(w.XMin, w.XMax, r.Width(), perInterval);
  const TAxisTicks yt = AxisTicks(w.YMin, w.YMax, r.Height(), perInterval);
  if (!xt.Any || !yt.Any) return;

  QPen tickPen(Qt::black, 0);
  QPen gridPen(Qt::black, 0, Qt::DotLine);
  // Dots one device pixel apart run together into a heavy line on paper
  // at print resolution: there the grid is a thin grey line.
  if (c.graph.FineGrid) gridPen = QPen(QColor(185, 185, 185), std::max(1, c.out.DpiX / 400));
  p.setFont(GraphFont(h, false));
  const int dx = c.out.DpiX, dy = c.out.DpiY;
  const bool top = c.graph.XOnTop;

  for (long long k = xt.First; k <= xt.Last; ++k) {
    const int x = map.ToPixelX(static_cast<long double>(k) * xt.Minor);
    if (x < r.Left || x > r.Right) continue;
    p.setPen(tickPen);
    if (top)
      p.drawLine(x, r.Top, x, r.Top + dy / 16);
    else
      p.drawLine(x, r.Bottom, x, r.Bottom - dy / 16);
    if (!TAxisTicks::Labelled(k)) continue;
    p.setPen(gridPen);
    p.drawLine(x, r.Top, x, r.Bottom);
    p.setPen(tickPen);
    const QString label = QString::fromStdString(FormatGeneral(static_cast<long double>(k) * xt.Minor, 4));
    const int width = p.fontMetrics().horizontalAdvance(label) + h;
    const int labelTop = top ? r.Top - h - dy / 32 : r.Bottom + dy / 16;
    p.drawText(QRect(x - width / 2, labelTop, width, h), Qt::AlignCenter, label);
  }
  for (long long k = yt.First; k <= yt.Last; ++k) {
    const int y = map.ToPixelY(static_cast<long double>(k) * yt.Minor);
    if (y < r.Top || y > r.Bottom) continue;
    p.setPen(tickPen);
    p.drawLine(r.Left, y, r.Left + dx / 16, y);
    if (!TAxisTicks::Labelled(k)) continue;
    p.setPen(gridPen);
    p.drawLine(r.Left, y, r.Right, y);
    p.setPen(tickPen);
    const QString label = QString::fromStdString(FormatGeneral(static_cast<long double>(k) * yt.Minor, 4));
    DrawTurnedText(p, r.Left - dx / 32 - h / 2, y, h, label);
  }
}

// The line along X = 0 of a panel, where 0 lies inside it.
void PaintZeroLine(const Context& c, const TPanelMap& map) {
  const TPixelRect& r = map.Pixels();
  const int x = map.ToPixelX(0);
  if (x <= r.Left || x >= r.Right) return;
  c.p.setPen(QPen(Qt::black, std::max(1, c.out.DpiX / 150)));
  c.p.drawLine(x, r.Top, x, r.Bottom);
}

// The line across the first panel at the graph's limit of X.
void PaintLimitLine(const Context& c, const TPanelMap& map) {
  const TPixelRect& r = map.Pixels();
  const int x = map.ToPixelX(c.graph.XLimit);
  if (x <= r.Left || x >= r.Right) return;
  c.p.setPen(QPen(QColor(200, 0, 0), std::max(1, c.out.DpiX / 100), Qt::DashLine));
  c.p.drawLine(x, r.Top, x, r.Bottom);
}

// The pixels of a panel beyond its limit of X (empty without a limit).
QRect BeyondLimit(const TGraphPlot& graph, const TPanelMap& map) {
  if (!(graph.XLimit > 0)) return {};
  const TPixelRect& r = map.Pixels();
  const int x = std::max(r.Left, map.ToPixelX(graph.XLimit) + 1);
  return x > r.Right ? QRect() : QRect(QPoint(x, r.Top), QPoint(r.Right, r.Bottom));
}

void DrawMarker(QPainter& p, int number, int x, int y, const TPaintOutput& out) {
  QPolygon outline;
  for (const TPixelPoint& corner : MarkerCorners(number, x, y, out.DpiX, out.DpiY)) outline << QPoint(corner.X, corner.Y);
  p.drawPolygon(outline);
}

// One curve: a polyline through its finite points (a gap where a point is
// not finite), markers every `Markers` points, and a lone point shown by
// its marker so that it does not vanish. Readings are markers alone.
void PaintCurve(const Context& c, const TPanelMap& map, const TLine& line, int number) {
  QPainter& p = c.p;
  QPolygon run;
  const bool readings = line.Style == TLineStyle::Markers && !line.Underlay;
  auto flush = [&] {
    if (run.size() > 1 && !readings) p.drawPolyline(run);
    run.clear();
  };
  const int markers = readings                                           ? 1
                      : line.Underlay || line.Style != TLineStyle::Solid ? 0
                                                                         : c.graph.Markers;
  const bool lone = line.Points.size() == 1;
  for (size_t j = 0; j < line.Points.size(); ++j) {
    const TFloatPoint& pt = line.Points[j];
    if (!std::isfinite(pt.X) || !std::isfinite(pt.Y)) {
      flush();
      continue;
    }
    const QPoint q(map.ToPixelX(pt.X), map.ToPixelY(pt.Y));
    run << q;
    if (lone || HasMarker(static_cast<int>(j), markers)) DrawMarker(p, number, q.x(), q.y(), c.out);
  }
  flush();
}

void PaintCurves(const Context& c, const std::array<TPanelMap, 3>& maps) {
  QPainter& p = c.p;
  const TLineList& first = c.graph.Lines;
  const int penWidth = CurvePenWidth(c.out.DpiX, c.graph.WidthLine);
  p.setBrush(Qt::NoBrush);
  for (int k = 0; k < c.layout.PanelCount; ++k) {
    const TLineList& list = *c.Lists()[k];
    p.setClipRect(ToQRect(c.layout.Panels[k]));
    // The other panels follow the first panel's curve of the same index.
    auto ownerOf = [&](size_t i) -> const TLine& { return i < first.size() ? first[i] : list[i]; };
    for (size_t i = 0; i < list.size(); ++i) {
      const TLine& owner = ownerOf(i);
      if (!owner.Underlay || !owner.Active || !owner.Visible) continue;
      p.setPen(UnderlayPen(owner.Underlay, c.out.DpiX));
      PaintCurve(c, maps[k], list[i], 0);
    }
    int number = 0;  // the running colour number counts every active curve
    for (size_t i = 0; i < list.size(); ++i) {
      const TLine& owner = ownerOf(i);
      if (!owner.Active || owner.Underlay) continue;
      if (owner.Visible) {
        p.setPen(LinePen(owner, number, penWidth, c.out.DpiX));
        PaintCurve(c, maps[k], list[i], owner.ColourAt(number));
        // Beyond the limit the curve is drawn again in red, cut where it
        // crosses the limit line, twice as wide: a curve whose own colour
        // is red still shows where it passes the limit.
        if (const QRect beyond = BeyondLimit(c.graph, maps[k]); k == 0 && !beyond.isEmpty()) {
          p.setClipRect(beyond);
          p.setPen(QPen(Qt::red, 2 * penWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
          PaintCurve(c, maps[k], list[i], number);
          p.setClipRect(ToQRect(c.layout.Panels[k]));
        }
      }
      ++number;
    }
  }
  p.setClipping(false);
}

// The mark of results that must not be used: bold red text on white in a
// red frame across the top of the plot, over the curves, wrapped to the
// plot's width, so that no view, printout or picture of the graph loses it.
void PaintResultsMark(const Context& c) {
  if (c.graph.ResultsMark.empty()) return;
  QPainter& p = c.p;
  const TPixelRect& plot = c.layout.Plot;
  const int pad = c.h / 3;
  const QColor red(200, 0, 0);
  p.setFont(GraphFont(c.h, true));
  const QString text = QString::fromStdString(c.graph.ResultsMark);
  const int room = std::max(c.h, plot.Width() - 2 * c.h);
  const int flags = Qt::AlignCenter | Qt::TextWordWrap;
  const QRect need = p.fontMetrics().boundingRect(QRect(0, 0, room, 100 * c.h), flags, text);
  const QRect box(plot.Left + (plot.Width() - need.width()) / 2 - pad, plot.Top + c.h / 2,
                  need.width() + 2 * pad, need.height() + 2 * pad);
  p.setPen(QPen(red, std::max(1, c.out.DpiX / 48)));
  p.setBrush(Qt::white);
  p.drawRect(box);
  p.drawText(box.adjusted(pad, pad, -pad, -pad), flags, text);
  p.setBrush(Qt::NoBrush);
}

// The mark of curves from a live analysis (not saved, or stale): blue text
// in a thin frame in the plot's lower right corner, inside the plot so that
// every output keeps it, and away from the results' mark at the top.
void PaintLiveMark(const Context& c) {
  if (c.graph.LiveMark.empty()) return;
  QPainter& p = c.p;
  const TPixelRect& plot = c.layout.Plot;
  const int pad = c.h / 4;
  const QColor blue(0, 70, 170);
  p.setFont(GraphFont(c.h, false));
  const QString text = QString::fromStdString(c.graph.LiveMark);
  const int width = std::min(p.fontMetrics().horizontalAdvance(text), plot.Width() - 2 * pad);
  const QRect box(plot.Right - width - 2 * pad - c.h / 2, plot.Bottom - c.h - 2 * pad - c.h / 2,
                  width + 2 * pad, c.h + 2 * pad);
  p.setPen(QPen(blue, std::max(1, c.out.DpiX / 96)));
  p.setBrush(Qt::white);
  p.drawRect(box);
  p.drawText(box.adjusted(pad, 0, -pad, 0), Qt::AlignCenter, text);
  p.setBrush(Qt::NoBrush);
}

}  // namespace

QPen UnderlayPen(int underlay, int dpi) {
  const int width =
      std::max(3 * CurvePenWidth(dpi, 1), static_cast<int>(std::lround(0.6 * dpi / 25.4)));
  QPen pen(QColor(150, 150, 150), width, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin);
  // The pattern counts pen widths: dashes of 4 mm with 1.5 mm gaps, or a
  // 1 mm dot between them.
  const double mm = dpi / 25.4 / width;
  if (underlay == 2) pen.setDashPattern({4 * mm, 1.2 * mm, 1 * mm, 1.2 * mm});
  else pen.setDashPattern({4 * mm, 1.5 * mm});
  return pen;
}

QPen LinePen(const TLine& line, int number, int penWidth, int dpi) {
  QPen pen(ToQColor(LineColour(line.ColourAt(number))), penWidth, Qt::SolidLine, Qt::RoundCap,
           Qt::RoundJoin);
  if (line.Style == TLineStyle::Solid || line.Style == TLineStyle::Markers) return pen;
  // The pattern counts pen widths: dashes of 3 mm with 1.5 mm gaps, or dots
  // of 0.6 mm 1.2 mm apart, the same on screen and paper.
  pen.setCapStyle(Qt::FlatCap);
  const double mm = dpi / 25.4 / std::max(penWidth, 1);
  if (line.Style == TLineStyle::Dotted) pen.setDashPattern({0.6 * mm, 1.2 * mm});
  else pen.setDashPattern({3 * mm, 1.5 * mm});
  return pen;
}

QString AxisCaption(const std::string& caption, const std::string& units, int unitsSystem) {
  QString text = QString::fromStdString(caption);
  const std::string unitText = UnitSubstitute(units, unitsSystem);
  if (!unitText.empty()) text += QStringLiteral(" (") + QString::fromStdString(unitText) + QStringLiteral(")");
  return text;
}

void PaintGraph(QPainter& painter, const TGraphPlot& graph, const std::array<TWorldRect, 3>& world,
                const TGraphLayout& layout, const TPaintOutput& output) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.fillRect(ToQRect(layout.Area), Qt::white);
  if (layout.TooSmall) {
    painter.restore();
    return;
  }
  const Context c{painter, graph, layout, output, GraphTextHeight(graph.SizeFont, output.DpiY)};
  const std::array<TPanelMap, 3> maps{TPanelMap(world[0], layout.Panels[0], graph.XOnTop),
                                      TPanelMap(world[1], layout.Panels[1], graph.XOnTop),
                                      TPanelMap(world[2], layout.Panels[2], graph.XOnTop)};
  PaintCaptions(c);
  for (int k = 0; k < layout.PanelCount; ++k) PaintTicks(c, maps[k]);
  if (graph.ZeroLine)
    for (int k = 0; k < layout.PanelCount; ++k) PaintZeroLine(c, maps[k]);
  if (graph.XLimit > 0) PaintLimitLine(c, maps[0]);
  PaintCurves(c, maps);
  if (output.Printing || output.ToImage) {
    if (output.LegendBox)
      output.LegendBox(painter, layout);
    else
      PaintLegendBox(painter, graph, layout, output.DpiX, output.DpiY);
  }
  if (graph.ShowLayers && layout.HasStrip)
    PaintLayerStrip(painter, graph, layout.Strip, maps[0], output);
  painter.setPen(QPen(Qt::black, 0));
  painter.setBrush(Qt::NoBrush);
  for (int k = 0; k < layout.PanelCount; ++k) painter.drawRect(OutlineRect(layout.Panels[k]));
  PaintResultsMark(c);
  PaintLiveMark(c);
  painter.restore();
}

}  // namespace terraq::ui
