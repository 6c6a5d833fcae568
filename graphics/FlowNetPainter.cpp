#include "FlowNetPainter.h"

#include <QFontMetricsF>
#include <QObject>
#include <QPainter>
#include <QStringList>
#include <QTransform>
#include <algorithm>
#include <cmath>

#include "api/Units.h"

namespace terraq::ui {

namespace {

namespace api = engine::api;

const QColor kSoil(232, 219, 190);
const QColor kWater(200, 225, 246);
const QColor kTable(20, 90, 190);
const QColor kEquipotential(30, 110, 220);
const QColor kFlowLine(150, 40, 30);
const QColor kInk(Qt::black);

// Adds to `path` the pieces of the contour `level` across one quad (corners
// in turn round it, with their values): linear along each edge, a saddle
// split as its centre's mean value says.
void ContourQuad(const QPointF (&p)[4], const double (&v)[4], double level, QPainterPath& path) {
  QPointF hits[4];
  int n = 0;
  for (int e = 0; e < 4; ++e) {
    const int a = e, b = (e + 1) % 4;
    if ((v[a] >= level) == (v[b] >= level)) continue;
    hits[n++] = p[a] + (p[b] - p[a]) * ((level - v[a]) / (v[b] - v[a]));
  }
  if (n == 2) {
    path.moveTo(hits[0]);
    path.lineTo(hits[1]);
  } else if (n == 4) {
    // The centre on corner 0's side joins corners 0 and 2: cut off 1 and 3.
    const bool joined = ((v[0] + v[1] + v[2] + v[3]) / 4 >= level) == (v[0] >= level);
    const int pairs[2][4] = {{3, 0, 1, 2}, {0, 1, 2, 3}};
    const int* q = pairs[joined ? 1 : 0];
    path.moveTo(hits[q[0]]);
    path.lineTo(hits[q[1]]);
    path.moveTo(hits[q[2]]);
    path.lineTo(hits[q[3]]);
  }
}

// The head is held at the cells' centres: its quads join four neighbouring
// saturated centres, never across the wall.
QPainterPath HeadContour(const api::FlowNet& net, double tip, double level) {
  QPainterPath path;
  const size_t nx = net.x.size() - 1, nz = net.z.size() - 1;
  const auto centreX = [&](size_t i) { return 0.5 * (net.x[i] + net.x[i + 1]); };
  const auto centreZ = [&](size_t j) { return 0.5 * (net.z[j] + net.z[j + 1]); };
  for (size_t j = 0; j + 1 < nz; ++j)
    for (size_t i = 0; i + 1 < nx; ++i) {
      const size_t cells[4] = {i + j * nx, i + 1 + j * nx, i + 1 + (j + 1) * nx, i + (j + 1) * nx};
      if (!std::all_of(std::begin(cells), std::end(cells),
                       [&](size_t c) { return net.saturated[c]; }))
        continue;
      if (net.x[i + 1] == 0 && centreZ(j) < tip) continue;  // the wall lies between them
      const QPointF p[4] = {{centreX(i), centreZ(j)},
                            {centreX(i + 1), centreZ(j)},
                            {centreX(i + 1), centreZ(j + 1)},
                            {centreX(i), centreZ(j + 1)}};
      const double v[4] = {net.head[cells[0]], net.head[cells[1]], net.head[cells[2]],
                           net.head[cells[3]]};
      ContourQuad(p, v, level, path);
    }
  return path;
}

// The stream function is held at the grid's points: its quads are the
// saturated cells.
QPainterPath StreamContour(const api::FlowNet& net, double level) {
  QPainterPath path;
  const size_t nx = net.x.size(), nz = net.z.size();
  for (size_t j = 0; j + 1 < nz; ++j)
    for (size_t i = 0; i + 1 < nx; ++i) {
      if (!net.saturated[i + j * (nx - 1)]) continue;
      const QPointF p[4] = {{net.x[i], net.z[j]},
                            {net.x[i + 1], net.z[j]},
                            {net.x[i + 1], net.z[j + 1]},
                            {net.x[i], net.z[j + 1]}};
      const double v[4] = {net.stream[i + j * nx], net.stream[i + 1 + j * nx],
                           net.stream[i + 1 + (j + 1) * nx], net.stream[i + (j + 1) * nx]};
      ContourQuad(p, v, level, path);
    }
  return path;
}

bool Sound(const api::FlowNet& net) {
  const size_t cells =
      net.x.size() > 1 && net.z.size() > 1 ? (net.x.size() - 1) * (net.z.size() - 1) : 0;
  return cells > 0 && net.head.size() == cells && net.saturated.size() == cells &&
         net.stream.size() == net.x.size() * net.z.size();
}

// World (x, z) to device, one scale for both axes.
struct Frame {
  double scale = 1, x0 = 0, z0 = 0;
  QPointF origin;
  QPointF at(double x, double z) const {
    return origin + QPointF((x - x0) * scale, (z - z0) * scale);
  }
  QTransform transform() const {
    return QTransform(scale, 0, 0, scale, origin.x() - x0 * scale, origin.y() - z0 * scale);
  }
};

QString Number(double value) { return QString::number(value, 'g', 3); }

QString FactorLine(const QString& name, const std::optional<double>& factor, double required,
                   bool passed) {
  const QString verdict = passed ? QObject::tr("passed") : QObject::tr("FAILED");
  if (!factor) return QObject::tr("%1: no upward flow, %2").arg(name, verdict);
  return QObject::tr("%1: F = %2 (required %3), %4")
      .arg(name, Number(*factor), Number(required), verdict);
}

}  // namespace

QStringList FlowNetKeyLines(const FlowNetFigure& f) {
  const api::SeepageSolution& s = f.solution;
  const QString length = QString::fromUtf8(api::UnitLabel(api::Quantity::Length, f.problem.units));
  QStringList lines;
  QString flow =
      QObject::tr("Head difference Δh = %1 %2").arg(Number(s.retainedHead - s.frontHead), length);
  if (s.flowRate)
    flow +=
        QObject::tr(";  flow rate q = %1 %2²/s per %2 of wall").arg(Number(*s.flowRate), length);
  lines << flow;
  lines << QObject::tr(
               "Equipotentials (blue): %1 equal head drops;  flow lines (red): %2 "
               "channels of equal flow;  exit gradient next to the wall i = %3")
               .arg(f.drops)
               .arg(f.channels)
               .arg(Number(s.exitGradient));
  if (const std::optional<api::HydraulicChecks>& c = f.checks) {
    const api::HydraulicCheckOptions& o = f.checkOptions;
    lines << FactorLine(QObject::tr("Heave (Terzaghi)"), c->heave.factor, o.requiredHeaveFactor,
                        c->heave.passed);
    lines << QObject::tr("HYD: total stresses %1, seepage force %2")
                 .arg(c->hyd.totalStressesPassed ? QObject::tr("passed") : QObject::tr("FAILED"),
                      c->hyd.seepageForcePassed ? QObject::tr("passed") : QObject::tr("FAILED"));
    lines << FactorLine(QObject::tr("Piping"), c->piping.factor, o.requiredPipingFactor,
                        c->piping.passed);
    if (c->uplift)
      lines << FactorLine(QObject::tr("Uplift (UPL)"), c->uplift->factor, 1, c->uplift->passed);
  } else if (!f.checksMessage.empty()) {
    lines << QObject::tr("No hydraulic checks: %1").arg(QString::fromStdString(f.checksMessage));
  }
  return lines;
}

namespace {

void PaintSection(QPainter& painter, const Frame& fr, const FlowNetFigure& f, double mm) {
  const api::SeepageProblem& p = f.problem;
  const api::FlowNet& net = *f.solution.flowNet;
  const double left = net.x.front(), right = net.x.back(), base = net.z.back();
  painter.setPen(Qt::NoPen);
  painter.setBrush(kSoil);
  painter.drawRect(QRectF(fr.at(left, p.retainedSurface), fr.at(0, base)));
  painter.drawRect(QRectF(fr.at(0, p.excavationLevel), fr.at(right, base)));
  painter.setBrush(kWater);
  if (p.retainedWater < p.retainedSurface)
    painter.drawRect(QRectF(fr.at(left, p.retainedWater), fr.at(0, p.retainedSurface)));
  if (p.frontWater < p.excavationLevel)
    painter.drawRect(QRectF(fr.at(0, p.frontWater), fr.at(right, p.excavationLevel)));
  // The ground surfaces, and the base hatched beneath its line.
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(kInk, 0.3 * mm));
  painter.drawLine(fr.at(left, p.retainedSurface), fr.at(0, p.retainedSurface));
  painter.drawLine(fr.at(0, p.excavationLevel), fr.at(right, p.excavationLevel));
  painter.setPen(QPen(kInk, 0.5 * mm));
  const QPointF b0 = fr.at(left, base), b1 = fr.at(right, base);
  painter.drawLine(b0, b1);
  painter.setPen(QPen(kInk, 0.2 * mm));
  for (double x = b0.x(); x < b1.x(); x += 2 * mm)
    painter.drawLine(QPointF(x, b0.y()), QPointF(x + 1.5 * mm, b0.y() + 1.5 * mm));
  // Each water table with its mark, a triangle standing on its point.
  const auto table = [&](double x0, double x1, double z) {
    painter.setPen(QPen(kTable, 0.3 * mm));
    painter.drawLine(fr.at(x0, z), fr.at(x1, z));
    const QPointF c = fr.at(0.5 * (x0 + x1), z);
    const QPointF mark[3] = {c, c + QPointF(-1.2 * mm, -2 * mm), c + QPointF(1.2 * mm, -2 * mm)};
    painter.drawPolygon(mark, 3);
  };
  table(left, 0, p.retainedWater);
  table(0, right, p.frontWater);
}

void PaintNet(QPainter& painter, const Frame& fr, const FlowNetFigure& f, double mm) {
  const FlowNetContours contours = FlowNetContoursOf(f);
  painter.setBrush(Qt::NoBrush);
  const auto draw = [&](const std::vector<QPainterPath>& paths, const QColor& colour) {
    for (const QPainterPath& path : paths) {
      QPen pen(colour, 0.25 * mm);
      pen.setCosmetic(false);
      painter.setPen(pen);
      painter.drawPath(fr.transform().map(path));
    }
  };
  draw(contours.flowLines, kFlowLine);
  draw(contours.equipotentials, kEquipotential);
  // The wall over the net, and the exit gradient beside it in front.
  painter.setPen(QPen(kInk, 0.9 * mm, Qt::SolidLine, Qt::FlatCap));
  painter.drawLine(fr.at(0, std::min(0.0, f.problem.retainedWater)), fr.at(0, f.problem.tip));
  const QPointF exit = fr.at(0, f.solution.frontTop) + QPointF(2.5 * mm, 0);
  painter.setPen(QPen(kTable, 0.35 * mm));
  painter.drawLine(exit + QPointF(0, 5 * mm), exit + QPointF(0, -1 * mm));
  const QPointF head[3] = {exit + QPointF(0, -2.5 * mm), exit + QPointF(-1 * mm, -0.5 * mm),
                           exit + QPointF(1 * mm, -0.5 * mm)};
  painter.setBrush(kTable);
  painter.drawPolygon(head, 3);
  painter.setPen(kInk);
  painter.drawText(exit + QPointF(1.5 * mm, -3 * mm),
                   QObject::tr("i = %1").arg(Number(f.solution.exitGradient)));
}

void PaintKey(QPainter& painter, const QRectF& box, const QStringList& lines) {
  const QFontMetricsF metrics(painter.font());
  double y = box.top() + metrics.ascent();
  for (int k = 0; k < lines.size(); ++k, y += metrics.lineSpacing()) {
    const double x = box.left();
    painter.setPen(lines[k].contains(QObject::tr("FAILED")) ? QColor(180, 0, 0) : kInk);
    painter.drawText(QPointF(x, y), lines[k]);
  }
}

}  // namespace

std::optional<FlowNetFigure> SolveFlowNetFigure(const api::SoilDescription& soil, size_t layerCount,
                                                const api::SeepageOptions& options,
                                                std::string& error) {
  error = api::SeepageOptionsFault(soil, layerCount, options);
  if (!error.empty()) return std::nullopt;
  FlowNetFigure figure;
  figure.problem = api::SeepageProblemOf(soil, options);
  api::SeepageResult solved = api::SolveSeepage(figure.problem, options.method);
  if (!solved.solution) {
    error = solved.message;
    return std::nullopt;
  }
  figure.solution = std::move(*solved.solution);
  api::HydraulicChecksResult checks =
      api::CheckHydraulicFailure(figure.problem, figure.solution, options.checks);
  figure.checks = std::move(checks.checks);
  figure.checksMessage = std::move(checks.message);
  figure.checkOptions = options.checks;
  return figure;
}

FlowNetContours FlowNetContoursOf(const FlowNetFigure& figure) {
  FlowNetContours contours;
  const api::SeepageSolution& s = figure.solution;
  if (!s.flowNet || !Sound(*s.flowNet)) return contours;
  const api::FlowNet& net = *s.flowNet;
  const double drop = (s.retainedHead - s.frontHead) / std::max(1, figure.drops);
  if (std::abs(drop) > 0)
    for (int k = 1; k < figure.drops; ++k)
      if (QPainterPath path = HeadContour(net, s.tip, s.retainedHead - k * drop); !path.isEmpty())
        contours.equipotentials.push_back(std::move(path));
  const double flow = s.flowRate.value_or(*std::max_element(net.stream.begin(), net.stream.end()));
  if (std::abs(flow) > 0)
    for (int k = 1; k < figure.channels; ++k)
      if (QPainterPath path = StreamContour(net, k * flow / figure.channels); !path.isEmpty())
        contours.flowLines.push_back(std::move(path));
  return contours;
}

void PaintFlowNet(QPainter& painter, const QRectF& area, double dpi, const FlowNetFigure& figure) {
  if (!figure.solution.flowNet || !Sound(*figure.solution.flowNet)) return;
  const api::FlowNet& net = *figure.solution.flowNet;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  const double mm = dpi / 25.4;
  QFont font = painter.font();
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(8 * dpi / 72))));
  painter.setFont(font);
  const QStringList lines = figure.key ? FlowNetKeyLines(figure) : QStringList();
  const double keyHeight =
      figure.key ? lines.size() * QFontMetricsF(font).lineSpacing() + 2 * mm : 0.0;
  double keyTop = area.bottom() - keyHeight;
  const QRectF section(area.left() + 2 * mm, area.top() + 4 * mm, area.width() - 4 * mm,
                       area.height() - keyHeight - 6 * mm);
  const api::SeepageProblem& p = figure.problem;
  const double top = std::min({0.0, p.retainedWater, p.frontWater, p.retainedSurface});
  const double width = net.x.back() - net.x.front(), depth = net.z.back() - top;
  if (section.width() > 0 && section.height() > 0 && width > 0 && depth > 0) {
    Frame frame;
    frame.scale = std::min(section.width() / width, section.height() / depth);
    frame.x0 = net.x.front();
    frame.z0 = top;
    // Centred across, at the top: the key follows right under the section.
    frame.origin = QPointF(section.center().x() - 0.5 * width * frame.scale, section.top());
    keyTop = section.top() + depth * frame.scale + 4 * mm;
    painter.save();
    painter.setClipRect(area);
    PaintSection(painter, frame, figure, mm);
    PaintNet(painter, frame, figure, mm);
    painter.restore();
  }
  if (figure.key)
    PaintKey(painter, QRectF(area.left() + 2 * mm, keyTop, area.width() - 4 * mm, keyHeight),
             lines);
  painter.restore();
}

}  // namespace terraq::ui
