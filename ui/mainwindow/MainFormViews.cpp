// The views of the main window that show the project and its results
// rather than edit them: the result graphs and the side view of the wall
// and soil profile; and the help page that belongs to the active window.

#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <algorithm>
#include <array>

#include "design/TDesignForm.h"
#include "design/TDesignSituationsForm.h"
#include "design/TStudyForm.h"
#include "dialogs/TDataDialog.h"
#include "mainwindow/TMainForm.h"
#include "plotwindow/TPlotForm.h"
#include "plotwindow/TPlotWindows.h"
#include "sequence/TSequenceForm.h"
#include "sideview/TDlgSideView.h"
#include "widgets/ReportViewer.h"
#include "widgets/TTableForm.h"
#include "widgets/TUserPrompts.h"

namespace terraq::ui {

void TMainForm::ShowGraph(GraphKind kind) {
  TGraphPlot& graph = graphs_.Graph(kind);
  // Results of a run made before the project's units were switched are in
  // the other system: drawn as they were computed, and said to be so, not
  // passed off as the project's numbers.
  const int project = Data().Units;
  if (graphsLoaded_ && project != 3 && graph.Units() != 3 && graph.Units() != project) {
    const QString names[] = {tr("English units (lbs, in)"), tr("SI units (kN, m)")};
    TUserPrompts::Current().showWarning(
        this, tr("The results were computed when the project was in %1; it is now in %2. The "
                 "graph shows them in the units they were computed in: run the project again "
                 "for results in %2.")
                  .arg(names[graph.Units() == 1 ? 0 : 1], names[project == 1 ? 0 : 1]));
  }
  plotWindows_->Show(graph);
}

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
  if (graphsLoaded_) view->SetResultsNote(QString::fromStdString(live_.Mark()));
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

// The section of a data window whose caption is not its section's heading
// (the headings name the Data menu's items).
struct CaptionSection {
  const char* caption;
  const char* section;
};
constexpr CaptionSection kDataSections[] = {
    {"Project Title", "title"},
    {"Wall Stiffness", "wall-properties"},
    {"Soil Layers", "soil-layer-data"},
    {"Soil Layers (Long-Term)", "soil-layer-data"},
    {"Clay", "soil-layer-data"},
    {"Sand", "soil-layer-data"},
    {"Silt", "soil-layer-data"},
    {"Strong Rock", "soil-layer-data"},
    {"Weak Rock", "soil-layer-data"},
    {"Distributed Loads", "distributed-active-earth-pressure"},
    {"Distributed Load (Long-Term)", "distributed-active-earth-pressure"},
    {"Surcharge Loads", "additional-surcharge-loads"},
    {"Concentrated Loads on Wall", "concentrated-loads-on-the-wall"},
    {"Specify Deflection and Slope on Wall", "boundary-condition-on-deflection-or-slope"},
    {"p-y Modification Factors", "modification-factors-for-p-y-curves"},
    {"Sets of Ext. p-y Curves", "sets-of-external-p-y-curves"},
    {"External p-y Curve", "sets-of-external-p-y-curves"},
    {"Lateral Spring and Rotation Spring", "lateral-springs-and-rotational-restraints"},
    {"Nonlinear Moment vs EI Curves", "sets-of-nonlinear-moment-vs-ei-curves"},
    {"Moment and EI data", "sets-of-nonlinear-moment-vs-ei-curves"}};

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
  // A window with a page of its own opens there, at the section on the
  // window when the page has it: a heading named as the window ("Design",
  // "Study") on the page of the menus is the menu item, not the window.
  struct OwnPage {
    QString page, section;
  };
  OwnPage own;
  if (const auto* design = qobject_cast<const TDesignForm*>(view))
    own = {QStringLiteral("designing-a-wall.html"), design->HelpSection()};
  else if (qobject_cast<const TStudyForm*>(view))
    own = {QStringLiteral("running-studies.html"), QStringLiteral("the-study-window")};
  else if (qobject_cast<const TDesignSituationsForm*>(view))
    own = {QStringLiteral("design-situations-window.html"), QStringLiteral("the-window")};
  else if (qobject_cast<const TSequenceForm*>(view))
    // The sequence's section is named for the work rather than the window.
    own = {QStringLiteral("staged-and-long-term.html"), QStringLiteral("a-construction-sequence")};
  else if (qobject_cast<const TDlgSideView*>(view))
    own = {QStringLiteral("graphs.html"), QStringLiteral("the-side-view")};
  // A plot window is named for its graph's caption, a viewer for its file:
  // neither is a heading.
  else if (qobject_cast<const TPlotForm*>(view))
    own = {QStringLiteral("graphs.html"), QStringLiteral("the-plot-window")};
  else if (qobject_cast<const TReportViewer*>(view))
    own = {QStringLiteral("reading-results.html"), QStringLiteral("after-a-run-in-terraqui")};
  if (!own.page.isEmpty())
    return pageHasAnchor(own.page, own.section)
               ? QStringLiteral("help/%1#%2").arg(own.page, own.section)
               : QStringLiteral("help/") + own.page;
  // The page of the window's kind; a heading named as the window is, on
  // that page or on the page of the menus, is where it opens.
  QString page = QStringLiteral("menus.html");
  QString anchor = headingAnchor(active->windowTitle());
  if (qobject_cast<const TDataDialog*>(view) || qobject_cast<const TTableForm*>(view)) {
    page = QStringLiteral("tables-and-dialogs.html");
    for (const CaptionSection& c : kDataSections)
      if (active->windowTitle() == QLatin1String(c.caption)) anchor = QLatin1String(c.section);
  }
  for (const QString& candidate : {page, QStringLiteral("menus.html")})
    if (pageHasAnchor(candidate, anchor))
      return QStringLiteral("help/%1#%2").arg(candidate, anchor);
  return QStringLiteral("help/") + page;
}

}  // namespace terraq::ui
