#pragma once
// The plot windows of the main window: one TPlotForm per shown graph, built
// on the first show, raised (and restored when minimized) while open, freed
// when closed and built anew on the next show. The graphs outlive their
// windows: they belong to the main window.

#include <QObject>
#include <QPointer>
#include <vector>

class QMdiArea;
class QMdiSubWindow;

namespace terraq::ui {

class TGraphPlot;
class TPlotForm;

class TPlotWindows : public QObject {
  Q_OBJECT

 public:
  explicit TPlotWindows(QMdiArea& area, QObject* parent = nullptr);

  // Shows the window of a graph, building it when it is not open.
  TPlotForm* Show(TGraphPlot& graph);
  // The open window of a graph, or nullptr.
  TPlotForm* FormFor(const TGraphPlot& graph) const;
  // Every open window repaints (its graph was read anew: it draws the new
  // points within the ranges it was built with).
  void RepaintAll();
  // Every open window takes its graph's ranges anew and repaints (its
  // curves were replaced by a live analysis: TPlotForm::Refit).
  void RefitAll();
  void CloseAll();

 signals:
  // The user showed or hid curves of `graph` in its window.
  void curvesShown(const TGraphPlot& graph);

 private:
  struct Entry {
    const TGraphPlot* graph = nullptr;
    QPointer<QMdiSubWindow> window;
    QPointer<TPlotForm> form;
  };
  void forget();  // drops the entries of windows that were closed

  QMdiArea* area_;
  std::vector<Entry> entries_;
};

}  // namespace terraq::ui
