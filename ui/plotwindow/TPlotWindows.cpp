#include "plotwindow/TPlotWindows.h"

#include <QLayout>
#include <QMdiArea>
#include <QMenuBar>
#include <QMdiSubWindow>
#include <algorithm>

#include "plotwindow/TPlotForm.h"

namespace terraq::ui {

TPlotWindows::TPlotWindows(QMdiArea& area, QObject* parent) : QObject(parent), area_(&area) {}

void TPlotWindows::forget() {
  std::erase_if(entries_, [](const Entry& e) { return e.window.isNull() || e.form.isNull(); });
}

TPlotForm* TPlotWindows::FormFor(const TGraphPlot& graph) const {
  for (const Entry& e : entries_)
    if (e.graph == &graph && !e.window.isNull() && !e.form.isNull()) return e.form.data();
  return nullptr;
}

TPlotForm* TPlotWindows::Show(TGraphPlot& graph) {
  forget();
  for (const Entry& e : entries_) {
    if (e.graph != &graph) continue;
    if (e.window->isMinimized()) e.window->showNormal();
    e.window->show();
    area_->setActiveSubWindow(e.window.data());
    return e.form.data();
  }
  auto* form = new TPlotForm(graph);
  connect(form, &TPlotForm::curvesShown, this, [this, &graph] { emit curvesShown(graph); });
  QMdiSubWindow* window = area_->addSubWindow(form);
  // The window's own menu bar stands above the drawing, inside the frame.
  if (QLayout* layout = window->layout()) {
    layout->setMenuBar(form->MenuBar());
    form->MenuBar()->show();
  }
  // Closing frees the window; the next show builds it anew from the graph.
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->setWindowTitle(form->windowTitle());
  window->show();
  area_->setActiveSubWindow(window);
  entries_.push_back({&graph, window, form});
  return form;
}

void TPlotWindows::RepaintAll() {
  forget();
  for (const Entry& e : entries_) e.form->update();
}

void TPlotWindows::RefitAll() {
  forget();
  for (const Entry& e : entries_) e.form->Refit();
}

void TPlotWindows::CloseAll() {
  forget();
  const std::vector<Entry> open = entries_;
  for (const Entry& e : open)
    if (!e.window.isNull()) e.window->close();
  forget();
}

}  // namespace terraq::ui
