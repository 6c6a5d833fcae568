#include "HatchBrushes.h"

#include <QHash>
#include <QImage>
#include <QString>

#include "graphs/LayerStrip.h"

namespace terraq::ui {

namespace {

QString BitmapName(int code) {
  switch (code) {
    case kLayerClay: return QStringLiteral("clay");
    case kLayerSand: return QStringLiteral("sand");
    case kLayerSilt: return QStringLiteral("silt");
    case kLayerStrongRock: return QStringLiteral("strong-rock");
    case kLayerWeakRock: return QStringLiteral("weak-rock");
    case kLayerGravel: return QStringLiteral("gravel");
    case kLayerFill: return QStringLiteral("fill");
    default: return {};
  }
}

// Tiles are decoded once per process and shared by every window.
QImage Tile(const QString& name, bool forPrinter) {
  static QHash<QString, QImage> cache;
  const QString key = name + (forPrinter ? QStringLiteral("-print") : QString());
  auto found = cache.constFind(key);
  if (found != cache.constEnd()) return *found;
  // A one-bit tile as a texture would take the brush colour; converted to
  // RGB it paints its own black and white.
  QImage image(QStringLiteral(":/hatches/") + key + QStringLiteral(".png"));
  if (!image.isNull()) image = image.convertToFormat(QImage::Format_RGB32);
  cache.insert(key, image);
  return image;
}

}  // namespace

QBrush LayerBrush(int layerCode, bool forPrinter) {
  switch (layerCode) {
    case kLayerForwardDiagonal: return QBrush(Qt::black, Qt::FDiagPattern);
    case kLayerCross: return QBrush(Qt::black, Qt::CrossPattern);
    case kLayerDiagonalCross: return QBrush(Qt::black, Qt::DiagCrossPattern);
    case kLayerHorizontal: return QBrush(Qt::black, Qt::HorPattern);
    case kLayerVertical: return QBrush(Qt::black, Qt::VerPattern);
    default: break;
  }
  const QString name = BitmapName(layerCode);
  if (name.isEmpty()) return QBrush(Qt::NoBrush);
  const QImage tile = Tile(name, forPrinter);
  if (tile.isNull()) return QBrush(Qt::NoBrush);
  return QBrush(tile);
}

}  // namespace terraq::ui
