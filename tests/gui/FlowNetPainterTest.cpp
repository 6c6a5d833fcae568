// The flow net's paint routine, watched through a paint engine that counts
// what it is asked to draw: one path per equipotential and per flow line, as
// many as the drops and channels asked, and nothing at all for still water.

#include <gtest/gtest.h>

#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <map>
#include <set>

#include "FlowNetPainter.h"
#include "api/Seepage.h"

namespace {

namespace api = terraq::engine::api;

// Counts the stroked paths by the colour of their pen, and every other
// primitive.
class CountingEngine : public QPaintEngine {
 public:
  CountingEngine() : QPaintEngine(AllFeatures) {}
  bool begin(QPaintDevice*) override { return true; }
  bool end() override { return true; }
  void updateState(const QPaintEngineState& changed) override {
    if (changed.state() & DirtyPen) pen_ = changed.pen();
  }
  void drawPath(const QPainterPath&) override {
    if (pen_.style() != Qt::NoPen) ++paths[pen_.color().rgb()];
    ++drawn;
  }
  void drawPolygon(const QPointF*, int, PolygonDrawMode) override { ++drawn; }
  void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override { ++drawn; }
  void drawTextItem(const QPointF&, const QTextItem&) override { ++drawn; }
  Type type() const override { return User; }

  std::map<QRgb, int> paths;
  int drawn = 0;

 private:
  QPen pen_;
};

class CountingDevice : public QPaintDevice {
 public:
  QPaintEngine* paintEngine() const override { return &engine; }
  mutable CountingEngine engine;

 protected:
  int metric(PaintDeviceMetric metric) const override {
    switch (metric) {
      case PdmWidth: return 800;
      case PdmHeight: return 600;
      case PdmDpiX:
      case PdmDpiY:
      case PdmPhysicalDpiX:
      case PdmPhysicalDpiY: return 96;
      case PdmDepth: return 32;
      case PdmDevicePixelRatio: return 1;
      case PdmDevicePixelRatioScaled: return static_cast<int>(devicePixelRatioFScale());
      default: return 0;
    }
  }
};

// A wall 12 m long with 6 m dug in front, the water 1 m below its top
// behind and at the excavation level in front, over 30 m of sand.
api::SeepageProblem Cofferdam() {
  api::SeepageProblem p;
  p.units = 2;
  p.excavationLevel = 6;
  p.tip = 12;
  p.retainedWater = 1;
  p.frontWater = 6;
  p.base = 30;
  p.retainedWidth = p.frontWidth = 40;
  p.layers = {{.thickness = 30, .kx = 2e-5, .kz = 1e-5, .unitWeight = 20}};
  return p;
}

TEST(FlowNetPainter, DrawsOneContourPerDropAndChannelAndNothingForStillWater) {
  terraq::ui::FlowNetFigure figure;
  figure.problem = Cofferdam();
  api::SeepageResult solved = api::SolveSeepage(figure.problem, api::SeepageMethod::FlowNet);
  ASSERT_TRUE(solved.solution) << solved.message;
  figure.solution = *solved.solution;
  figure.drops = 7;
  figure.channels = 4;
  CountingDevice device;
  {
    QPainter painter(&device);
    terraq::ui::PaintFlowNet(painter, QRectF(0, 0, 800, 600), 96, figure);
  }
  // Two pens stroke paths: the equipotentials' 6 and the flow lines' 3.
  std::multiset<int> counts;
  for (const auto& [colour, count] : device.engine.paths) counts.insert(count);
  EXPECT_EQ(counts, (std::multiset<int>{3, 6}));

  // The same picture on an image, for a look (TERRAQ_DIALOG_SHOTS).
  if (const QString shots = qEnvironmentVariable("TERRAQ_DIALOG_SHOTS"); !shots.isEmpty()) {
    QImage image(800, 600, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    terraq::ui::PaintFlowNet(painter, QRectF(0, 0, 800, 600), 96, figure);
    image.save(shots + QStringLiteral("/flow-net.png"));
  }

  solved = api::SolveSeepage(figure.problem, api::SeepageMethod::Hydrostatic);
  ASSERT_TRUE(solved.solution) << solved.message;
  figure.solution = *solved.solution;
  CountingDevice still;
  {
    QPainter painter(&still);
    terraq::ui::PaintFlowNet(painter, QRectF(0, 0, 800, 600), 96, figure);
  }
  EXPECT_EQ(still.engine.drawn, 0);
}

}  // namespace
