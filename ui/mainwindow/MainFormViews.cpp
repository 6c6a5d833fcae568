// The views of the main window that show the project and its results
// rather than edit them: the result graphs and the side view of the wall
// and soil profile; and the help page that belongs to the active window.

#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <algorithm>
#include <array>

#include "design/TDesignSituationsForm.h"
#include "dialogs/TDataDialog.h"
#include "mainwindow/TMainForm.h"
#include "plotwindow/TPlotForm.h"
#include "plotwindow/TPlotWindows.h"
#include "sequence/TSequenceForm.h"
#include "sideview/TDlgSideView.h"
#include "widgets/ReportViewer.h"
#include "widgets/TTableForm.h"

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
  // A stage's support forces are those of the last run while the project
  // has the sequence that ran.
  auto* view = new TDlgSideView(
      [this]() -> const TProgramData& { return Data(); },
      [this] { return graphsLoaded_ && PointCount(graphs_.pltLD.Lines) > 1; },
      [this]() -> const std::optional<design::SequentialPlan>& { return ProjectSequence(); },
      [this](int stage) {
        const std::optional<design::SequentialPlan>& sequence = ProjectSequence();
        if (!sequenceForces_ || !sequence || sequenceForces_->plan != *sequence ||
            stage > static_cast<int>(sequenceForces_->stages.size()))
          return std::vector<SequentialSupportSummary>{};
        return sequenceForces_->stages[static_cast<size_t>(stage - 1)];
      });
  QMdiSubWindow* window = mdiArea_->addSubWindow(view);
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->setObjectName(QStringLiteral("SideViewWindow"));
  window->setWindowTitle(view->windowTitle());
  connect(view, &TDlgSideView::captionChanged, window, &QMdiSubWindow::setWindowTitle);
  sideViewWindow_ = window;
  window->show();
}

int TMainForm::GraphStage(const TGraphPlot& graph) const {
  const std::optional<design::SequentialPlan>& sequence = project_.Members().sequence;
  if (!sequenceForces_ || !sequence || sequenceForces_->plan != *sequence) return 0;
  // The graphs of a curve per result set, that is per stage.
  const std::array<const TGraphPlot*, 7> perStage = {
      &graphs_.pltDef, &graphs_.pltMom, &graphs_.pltShear, &graphs_.pltSoil,
      &graphs_.pltDMS, &graphs_.pltLD,  &graphs_.pltUtil};
  if (std::ranges::find(perStage, &graph) == perStage.end()) return 0;
  return CurveShownAlone(graph.Lines, static_cast<int>(sequenceForces_->stages.size())) + 1;
}

void TMainForm::followGraphStage(const TGraphPlot& graph) {
  const int stage = GraphStage(graph);
  if (!sideViewWindow_ || stage == 0) return;
  if (auto* view = qobject_cast<TDlgSideView*>(sideViewWindow_->widget())) view->SetStage(stage);
}

namespace {

// The anchor the help pages give a heading: its letters, digits, "-" and
// "_" in lower case, a space becoming "-" (as the documents are built).
QString headingAnchor(const QString& heading) {
  QString anchor;
  for (const QChar ch : heading.trimmed()) {
    if (ch.isLetterOrNumber() || ch == QLatin1Char('-') || ch == QLatin1Char('_'))
      anchor += ch.toLower();
    else if (ch == QLatin1Char(' ')) anchor += QLatin1Char('-');
  }
  return anchor;
}

bool pageHasAnchor(const QString& page, const QString& anchor) {
  QFile file(TMainForm::DocumentPath(QStringLiteral("help/") + page));
  if (anchor.isEmpty() || !file.open(QIODevice::ReadOnly)) return false;
  return file.readAll().contains(QStringLiteral("name=\"%1\"").arg(anchor).toUtf8());
}

}  // namespace

QString TMainForm::ActiveWindowHelpPage() const {
  const QMdiSubWindow* active = mdiArea_->activeSubWindow();
  const QWidget* view = active ? active->widget() : nullptr;
  if (!view) return QStringLiteral("help/index.html");
  // The page of the window's kind; a heading named as the window is, on
  // that page or on the page of the menus, is where it opens.
  QString page = QStringLiteral("menus.html");
  if (qobject_cast<const TDataDialog*>(view) || qobject_cast<const TTableForm*>(view))
    page = QStringLiteral("tables-and-dialogs.html");
  else if (qobject_cast<const TPlotForm*>(view)) page = QStringLiteral("graphs.html");
  else if (qobject_cast<const TReportViewer*>(view)) page = QStringLiteral("reading-results.html");
  else if (qobject_cast<const TDesignSituationsForm*>(view))
    page = QStringLiteral("design-situations-window.html");
  // The sequence's section is named for the work rather than the window.
  if (qobject_cast<const TSequenceForm*>(view)) {
    const QString sequencePage = QStringLiteral("staged-and-long-term.html");
    const QString sequenceAnchor = QStringLiteral("a-construction-sequence");
    return pageHasAnchor(sequencePage, sequenceAnchor)
               ? QStringLiteral("help/%1#%2").arg(sequencePage, sequenceAnchor)
               : QStringLiteral("help/") + sequencePage;
  }
  const QString anchor = headingAnchor(active->windowTitle());
  for (const QString& candidate : {page, QStringLiteral("menus.html")})
    if (pageHasAnchor(candidate, anchor))
      return QStringLiteral("help/%1#%2").arg(candidate, anchor);
  return QStringLiteral("help/") + page;
}

}  // namespace terraq::ui
