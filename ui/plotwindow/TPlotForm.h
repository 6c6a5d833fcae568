#pragma once
// The window of one result graph (an MDI sub-window's content): the graph
// drawn to the window's size, a movable legend, a read-out of the pointer
// position in the caption, a rubber-band zoom with the left button and a
// zoom out with the right. The graph is the main window's and outlives the
// window; the display settings stay in it.

#include <QPoint>
#include <QWidget>
#include <array>
#include <vector>

#include "graphs/GraphLayout.h"
#include "graphs/TGraphPlot.h"

namespace terraq::ui {

class TPlotLegend;

class TPlotForm : public QWidget {
  Q_OBJECT

 public:
  // Builds the window for `graph`, which must outlive it.
  explicit TPlotForm(TGraphPlot& graph, QWidget* parent = nullptr);

  TGraphPlot& Graph() { return graph_; }
  // The panels' current and full (creation-time) world rectangles.
  const std::array<TWorldRect, 3>& World() const { return world_; }
  const std::array<TWorldRect, 3>& FullWorld() const { return full_; }
  const TGraphLayout& Layout() const { return layout_; }
  TPlotLegend* Legend() { return legend_; }

  // Lays the graph out for the window's size; with placeLegend the legend's
  // bottom-right corner goes to the plot's (the window's own re-layouts),
  // otherwise it stays where the user put it. It stays inside the window.
  void Relayout(bool placeLegend);
  // The caption for a pointer at a window position.
  QString PointerReadout(QPoint pos) const;
  // Shows or hides the curve of a legend entry and repaints.
  void ToggleEntry(int entry);

  QSize sizeHint() const override { return QSize(640, 480); }

 protected:
  void paintEvent(QPaintEvent* event) override;             // FormPaint
  void resizeEvent(QResizeEvent* event) override;           // FormResize
  void mousePressEvent(QMouseEvent* event) override;        // PaintBoxMouseDown
  void mouseMoveEvent(QMouseEvent* event) override;         // PaintBoxMouseMove
  void mouseReleaseEvent(QMouseEvent* event) override;      // FormMouseUp

 private:
  void FormCreate();
  void SetupLegend();
  TPixelPoint ClampToPlot(QPoint pos) const;
  int ScreenDpiX() const;
  int ScreenDpiY() const;

  TGraphPlot& graph_;
  std::array<TWorldRect, 3> world_{};
  std::array<TWorldRect, 3> full_{};
  TGraphLayout layout_;
  TPlotLegend* legend_ = nullptr;
  int legendFont_ = 11;  // remembered at creation

  bool banding_ = false;  // a rubber band is being drawn
  QPoint anchor_, corner_;
};

}  // namespace terraq::ui
