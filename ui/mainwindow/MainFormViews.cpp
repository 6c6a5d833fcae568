// The views of the main window that show the project and its results
// rather than edit them: the result graphs and the side view of the wall
// and soil profile.

#include <QMdiArea>
#include <QMdiSubWindow>

#include "mainwindow/TMainForm.h"
#include "plotwindow/TPlotWindows.h"
#include "sideview/TDlgSideView.h"

namespace terraq::ui {

void TMainForm::ShowGraph(GraphKind kind) { plotWindows_->Show(graphs_.Graph(kind)); }

void TMainForm::ShowSideView() {
  if (sideViewWindow_) {
    if (sideViewWindow_->isMinimized()) sideViewWindow_->showNormal();
    mdiArea_->setActiveSubWindow(sideViewWindow_);
    return;
  }
  // The view asks for the project each time it looks: New and Open replace
  // the project behind the main window.
  auto* view = new TDlgSideView([this]() -> const TProgramData& { return Data(); },
                                [this] { return graphsLoaded_ && PointCount(graphs_.pltLD.Lines) > 1; });
  QMdiSubWindow* window = mdiArea_->addSubWindow(view);
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->setObjectName(QStringLiteral("SideViewWindow"));
  window->setWindowTitle(view->windowTitle());
  connect(view, &TDlgSideView::captionChanged, window, &QMdiSubWindow::setWindowTitle);
  sideViewWindow_ = window;
  window->show();
}

}  // namespace terraq::ui
