#include "mainwindow/ToolIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace terraq::ui {

namespace {

// Drawn on a 24 x 24 grid, at twice the size for sharp high-resolution
// screens.
constexpr int kGrid = 24;
constexpr int kScale = 2;

const QColor kInk(40, 40, 48);
const QColor kPaper(255, 255, 255);
const QColor kBlue(40, 100, 190);
const QColor kRed(200, 50, 40);
const QColor kGreen(40, 150, 60);
const QColor kSoil(176, 132, 80);
const QColor kWall(110, 110, 120);
const QColor kYellow(240, 200, 80);

void page(QPainter& p) {
  QPainterPath sheet;
  sheet.moveTo(5, 2.5);
  sheet.lineTo(14.5, 2.5);
  sheet.lineTo(19.5, 7.5);
  sheet.lineTo(19.5, 21.5);
  sheet.lineTo(5, 21.5);
  sheet.closeSubpath();
  p.setPen(QPen(kInk, 1.2));
  p.setBrush(kPaper);
  p.drawPath(sheet);
  p.drawPolyline(QPolygonF({QPointF(14.5, 2.5), QPointF(14.5, 7.5), QPointF(19.5, 7.5)}));
}

// Axes of a depth diagram: depth downwards along the left, values across.
void depthAxes(QPainter& p) {
  p.setPen(QPen(kInk, 1.2));
  p.drawLine(QPointF(4, 3), QPointF(4, 21));
  p.drawLine(QPointF(4, 3), QPointF(21, 3));
}

// A curve from `from` to `to` with the control points `c1` and `c2`.
void cubic(QPainter& p, const QPen& pen, const QBrush& brush, QPointF from, QPointF c1, QPointF c2,
           QPointF to) {
  QPainterPath path;
  path.moveTo(from);
  path.cubicTo(c1, c2, to);
  p.setPen(pen);
  p.setBrush(brush);
  p.drawPath(path);
}

void drawNew(QPainter& p) {
  page(p);
  p.setPen(QPen(kYellow.darker(130), 1.5));
  p.drawLine(QPointF(9, 14), QPointF(15, 14));
  p.drawLine(QPointF(12, 11), QPointF(12, 17));
}

void drawOpen(QPainter& p) {
  p.setPen(QPen(kInk, 1.2));
  p.setBrush(kYellow.darker(110));
  p.drawPolygon(QPolygonF({QPointF(2.5, 6), QPointF(9, 6), QPointF(11, 8), QPointF(19, 8),
                           QPointF(19, 19.5), QPointF(2.5, 19.5)}));
  p.setBrush(kYellow);
  p.drawPolygon(
      QPolygonF({QPointF(2.5, 19.5), QPointF(6, 11), QPointF(22, 11), QPointF(19, 19.5)}));
}

void drawSave(QPainter& p) {
  p.setPen(QPen(kInk, 1.2));
  p.setBrush(kBlue);
  p.drawRoundedRect(QRectF(3.5, 3.5, 17, 17), 1.5, 1.5);
  p.setBrush(kPaper);
  p.drawRect(QRectF(7, 3.5, 10, 6.5));
  p.setBrush(kWall.lighter(150));
  p.drawRect(QRectF(6.5, 13.5, 11, 7));
  p.setBrush(kInk);
  p.drawRect(QRectF(13.5, 4.5, 2, 4));
}

void drawRun(QPainter& p) {
  p.setPen(QPen(kGreen.darker(140), 1.2));
  p.setBrush(kGreen);
  p.drawPolygon(QPolygonF({QPointF(6, 3.5), QPointF(20.5, 12), QPointF(6, 20.5)}));
}

// Excavation deepened in steps beside a wall.
void drawStageOption(QPainter& p) {
  p.setPen(Qt::NoPen);
  p.setBrush(kSoil);
  p.drawPolygon(QPolygonF({QPointF(11, 6), QPointF(15, 6), QPointF(15, 11), QPointF(18, 11),
                           QPointF(18, 16), QPointF(22, 16), QPointF(22, 22), QPointF(11, 22)}));
  p.drawRect(QRectF(2, 6, 6, 16));
  p.setBrush(kWall);
  p.drawRect(QRectF(8, 2, 3, 20));
}

void drawViewOutput(QPainter& p) {
  page(p);
  p.setPen(QPen(kInk, 1));
  for (int k = 0; k < 5; ++k)
    p.drawLine(QPointF(7.5, 10.5 + 2.2 * k), QPointF(k % 2 ? 14.5 : 17, 10.5 + 2.2 * k));
}

void drawSoilProfile(QPainter& p) {
  p.setPen(Qt::NoPen);
  p.setBrush(kSoil.lighter(120));
  p.drawRect(QRectF(2, 4, 9, 8));
  p.drawRect(QRectF(13, 10, 9, 2));
  p.setBrush(kSoil);
  p.drawRect(QRectF(2, 12, 9, 10));
  p.drawRect(QRectF(13, 12, 9, 10));
  p.setBrush(kWall);
  p.drawRect(QRectF(11, 2, 2, 20));
  p.setPen(QPen(kBlue, 1.2));
  p.drawLine(QPointF(2, 8), QPointF(10, 8));
}

void drawPYCurves(QPainter& p) {
  p.setPen(QPen(kInk, 1.2));
  p.drawLine(QPointF(3, 21), QPointF(21, 21));
  p.drawLine(QPointF(3, 21), QPointF(3, 3));
  cubic(p, QPen(kRed, 1.8), Qt::NoBrush, {3, 21}, {6, 9}, {10, 7}, {21, 6});
}

void drawDeflection(QPainter& p) {
  depthAxes(p);
  cubic(p, QPen(kBlue, 1.8), Qt::NoBrush, {17, 3}, {12, 10}, {7, 15}, {8, 21});
}

void drawMoment(QPainter& p) {
  depthAxes(p);
  cubic(p, QPen(kRed, 1.8), QColor(200, 50, 40, 50), {4, 3}, {22, 8}, {18, 15}, {4, 21});
}

void drawShear(QPainter& p) {
  depthAxes(p);
  p.setPen(QPen(kGreen, 1.8));
  p.setBrush(Qt::NoBrush);
  p.drawPolyline(QPolygonF({QPointF(4, 3), QPointF(15, 3), QPointF(15, 11), QPointF(8, 11),
                            QPointF(8, 17), QPointF(12, 17), QPointF(12, 21)}));
}

void drawSoilReaction(QPainter& p) {
  depthAxes(p);
  p.setPen(QPen(kSoil.darker(130), 1.5));
  for (int k = 0; k < 4; ++k) {
    const double y = 7 + 4 * k;
    const double tip = 6;
    const double tail = 10 + 2.5 * k;
    p.drawLine(QPointF(tip, y), QPointF(tail, y));
    p.drawLine(QPointF(tip, y), QPointF(tip + 2.5, y - 1.8));
    p.drawLine(QPointF(tip, y), QPointF(tip + 2.5, y + 1.8));
  }
}

void drawDeflectionMomentShear(QPainter& p) {
  p.setPen(QPen(kInk, 1));
  for (double x : {2.5, 9.5, 16.5}) p.drawLine(QPointF(x, 3), QPointF(x, 21));
  cubic(p, QPen(kBlue, 1.5), Qt::NoBrush, {7, 3}, {5, 10}, {3, 14}, {3.5, 21});
  cubic(p, QPen(kRed, 1.5), Qt::NoBrush, {9.5, 3}, {16, 8}, {15, 15}, {9.5, 21});
  p.setPen(QPen(kGreen, 1.5));
  p.drawPolyline(QPolygonF(
      {QPointF(16.5, 3), QPointF(21, 3), QPointF(21, 12), QPointF(18, 12), QPointF(18, 21)}));
}

void drawPressure(QPainter& p) {
  p.setPen(QPen(kInk, 1.2));
  p.setBrush(QColor(40, 100, 190, 70));
  p.drawPolygon(QPolygonF({QPointF(5, 3), QPointF(5, 21), QPointF(19, 21)}));
  p.setPen(QPen(kBlue, 1.2));
  for (int k = 0; k < 3; ++k) {
    const double y = 9 + 4 * k;
    const double tail = 5 + (y - 3) * 14.0 / 18.0;
    p.drawLine(QPointF(5.5, y), QPointF(tail, y));
    p.drawLine(QPointF(5.5, y), QPointF(7.5, y - 1.5));
    p.drawLine(QPointF(5.5, y), QPointF(7.5, y + 1.5));
  }
}

// A function an icon; the switch names every kind, so that a kind without
// a picture is a compiler warning.
void draw(QPainter& p, ToolIconKind kind) {
  switch (kind) {
    case ToolIconKind::New: return drawNew(p);
    case ToolIconKind::Open: return drawOpen(p);
    case ToolIconKind::Save: return drawSave(p);
    case ToolIconKind::Run: return drawRun(p);
    case ToolIconKind::StageOption: return drawStageOption(p);
    case ToolIconKind::ViewOutput: return drawViewOutput(p);
    case ToolIconKind::SoilProfile: return drawSoilProfile(p);
    case ToolIconKind::PYCurves: return drawPYCurves(p);
    case ToolIconKind::Deflection: return drawDeflection(p);
    case ToolIconKind::Moment: return drawMoment(p);
    case ToolIconKind::Shear: return drawShear(p);
    case ToolIconKind::SoilReaction: return drawSoilReaction(p);
    case ToolIconKind::DeflectionMomentShear: return drawDeflectionMomentShear(p);
    case ToolIconKind::Pressure: return drawPressure(p);
  }
}

QPixmap canvas() {
  QPixmap pixmap(kGrid * kScale, kGrid * kScale);
  pixmap.fill(Qt::transparent);
  pixmap.setDevicePixelRatio(kScale);
  return pixmap;
}

}  // namespace

QIcon ToolIcon(ToolIconKind kind) {
  QPixmap pixmap = canvas();
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  draw(painter, kind);
  painter.end();
  return QIcon(pixmap);
}

QIcon StageIcon(int stage) {
  QPixmap pixmap = canvas();
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(kInk, 1.2));
  painter.setBrush(kSoil.lighter(140));
  painter.drawRoundedRect(QRectF(2.5, 2.5, 19, 19), 3, 3);
  QFont font = painter.font();
  font.setBold(true);
  font.setPixelSize(14);
  painter.setFont(font);
  painter.drawText(QRectF(2.5, 2.5, 19, 19), Qt::AlignCenter, QString::number(stage));
  painter.end();
  return QIcon(pixmap);
}

}  // namespace terraq::ui
