#pragma once
// The window of one result graph (an MDI sub-window's content): the graph
// drawn to the window's size, a movable legend, a read-out of the pointer
// position in the caption, a rubber-band zoom with the left button and a
// zoom out with the right. The graph is the main window's and outlives the
// window; the display settings stay in it.
//
// The Plot menu (TPlotFormMenu.cpp) changes how the graph is shown, renames
// and chooses its curves; its output commands (TPlotFormOutput.cpp) print
// the graph, save it to a file and copy it to the clipboard. The menu sits
// in a menu bar of the window's own, above the drawing: the sub-window takes
// it into its layout (TPlotWindows), so the drawing area stays the whole
// form and every plot window keeps its menu beside its graph, however many
// are open.

#include <QPoint>
#include <QWidget>
#include <array>
#include <memory>
#include <vector>

#include "GraphOutput.h"
#include "graphs/GraphLayout.h"
#include "graphs/TGraphPlot.h"

class QAction;
class QMenu;
class QMenuBar;
class QPrinter;

namespace terraq::ui {

class TPlotLegend;

class TPlotForm : public QWidget {
  Q_OBJECT

 public:
  // Builds the window for `graph`, which must outlive it.
  explicit TPlotForm(TGraphPlot& graph, QWidget* parent = nullptr);
  ~TPlotForm() override;

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
  // The graph's curves were replaced in place (a live analysis): the ranges
  // are taken from them anew, as when the window was built, so that values
  // beyond the old ranges show; a zoom goes with the curves it was made on.
  void Refit();
  // The caption for a pointer at a window position.
  QString PointerReadout(QPoint pos) const;
  // Shows or hides the curve of a legend entry and repaints.
  void ToggleEntry(int entry);

 signals:
  // The user showed or hid curves (a legend entry, a curve item, Active
  // Curves).
  void curvesShown();

 public:
  QSize sizeHint() const override { return QSize(640, 480); }

  // --- The Plot menu ------------------------------------------------------

  // The window's menu bar with the Plot menu; the form owns it until a
  // sub-window's layout takes it (hidden until then).
  QMenuBar* MenuBar() const { return menuBar_; }
  QMenu* PlotMenu() const { return plotMenu_; }
  // One checkable item per legend entry, in legend order (each holds its
  // curve's index as data).
  const std::vector<QAction*>& CurveItems() const { return curveItems_; }
  // Page margins of this window's printouts, thousandths of an inch.
  const TPageMargins& PageMargins() const { return margins_; }

  void PlotMenuClick();          // the menu opens: checks and visibility
  void PlotLegendClick();
  void PlotSoilLayerClick();
  void ShowWallGeometryClick();
  void PlotMarkersClick();       // the markers submenu opens
  void MarkClick(int markers);
  void SizeClick(int sizeFont);
  void WidthClick(int widthLine);
  void PlotCaptionClick();
  void mLineNameClick();
  void ActiveGraphsClick();
  void PlotPrintClick();
  void PlotPageClick();
  void PlotSaveClick();
  void CopyClick();

 protected:
  void paintEvent(QPaintEvent* event) override;             // FormPaint
  void resizeEvent(QResizeEvent* event) override;           // FormResize
  void mousePressEvent(QMouseEvent* event) override;        // PaintBoxMouseDown
  void mouseMoveEvent(QMouseEvent* event) override;         // PaintBoxMouseMove
  void mouseReleaseEvent(QMouseEvent* event) override;      // FormMouseUp

 private:
  void FormCreate();
  void fitRanges();  // world_ and full_ from the graph's curves
  void SetupLegend();
  void BuildPlotMenu();
  void AddShowItems();   // legend, soil, wall, markers, text size, line width
  void AddGraphItems();  // title, curves, names; print, save, copy
  // The legend entries and curve items anew from the active curves, in
  // curve order; the legend sized to them.
  void RebuildCurves();
  void CurveItemClick(QAction* item);
  QPrinter& Printer();
  TPixelPoint ClampToPlot(QPoint pos) const;
  int ScreenDpiX() const;
  int ScreenDpiY() const;

  TGraphPlot& graph_;
  std::array<TWorldRect, 3> world_{};
  std::array<TWorldRect, 3> full_{};
  TGraphLayout layout_;
  TPlotLegend* legend_ = nullptr;
  int legendFont_ = 11;  // remembered at creation

  QMenuBar* menuBar_ = nullptr;  // a child of the form, then of its sub-window
  QMenu* plotMenu_ = nullptr;
  std::vector<QAction*> curveItems_;
  std::unique_ptr<QPrinter> printer_;  // made on the first print or page setup
  TPageMargins margins_;

  bool banding_ = false;  // a rubber band is being drawn
  QPoint anchor_, corner_;
};

}  // namespace terraq::ui
