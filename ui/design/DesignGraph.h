#pragma once
// DesignGraph: a small line graph of the Design window, one curve drawn in
// a frame over a light grid, the vertical axis titled above it and the
// horizontal one below, with labelled ticks spaced as the result graphs
// space theirs and the zero of the horizontal axis marked. Depth graphs run
// downwards, as the result graphs do.

#include <QString>
#include <QStringList>
#include <QWidget>
#include <vector>

#include "graphs/GraphTicks.h"

class QFontMetrics;
class QPainter;

namespace terraq::ui {

class DesignGraph : public QWidget {
 public:
  explicit DesignGraph(QWidget* parent = nullptr);

  struct Point {
    double x = 0, y = 0;
  };
  // The curve, its axis titles, and whether y grows downwards (a depth).
  // An empty curve shows `emptyText` in the frame.
  void SetCurve(std::vector<Point> points, QString xTitle, QString yTitle, bool yDown,
                QString emptyText = {});
  // A horizontal line at y (the excavation level, the target factor), or
  // none when NaN.
  void SetMark(double y, QString label);
  // Splits the curve set last into several (a sweep's grid): curve k starts
  // at point starts[k] (the first at 0) and is named labels[k] in a legend.
  // SetCurve clears it.
  void SetParts(std::vector<size_t> starts, QStringList labels);
  // Whether the zero of x shows however far the curve is from it (the
  // default: an embedment, a pressure); off for a parameter's range.
  void SetXFromZero(bool fromZero) { xFromZero_ = fromZero; }

  const std::vector<Point>& Points() const { return points_; }
  // Draws the graph in `size` pixels from the painter's origin: the screen,
  // a saved picture and a printout (StudyGraphOutput.h) are all drawn here.
  void Paint(QPainter& painter, QSize size) const;
  QSize sizeHint() const override { return QSize(320, 300); }
  // The ticks of the horizontal axis from x0 to x1 over `width` pixels,
  // spaced so that their labels, in `metrics`, keep apart.
  static TAxisTicks XTicks(double x0, double x1, int width, const QFontMetrics& metrics);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  struct Scale;
  Scale scaleIn(const QRect& frame) const;
  void paintTicks(QPainter& painter, const Scale& s, int line) const;
  void paintCurves(QPainter& painter, const Scale& s, int line) const;

  std::vector<Point> points_;
  QString xTitle_, yTitle_, emptyText_, markLabel_;
  bool yDown_ = false;
  double mark_ = 0;
  bool hasMark_ = false;
  bool xFromZero_ = true;
  std::vector<size_t> starts_;
  QStringList labels_;
};

}  // namespace terraq::ui
