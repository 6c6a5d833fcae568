// Saving and printing the Study window's graphs (TStudyForm.h), and its
// table of rank correlations.

#include <QComboBox>
#include <QHBoxLayout>
#include <QMenu>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>

#include "design/DesignGraph.h"
#include "design/StudyBars.h"
#include "design/StudyFormCells.h"
#include "design/StudyGraphOutput.h"
#include "design/TStudyForm.h"
#include "plotwindow/GraphSaveCommand.h"

namespace terraq::ui {

using study::Q;
using study::SetCell;

QWidget* TStudyForm::makeGraphButtons() {
  auto* row = new QWidget(this);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  const std::pair<Graph, QString> graphs[] = {{Graph::Sweep, tr("Sweep graph")},
                                              {Graph::Histogram, tr("Histogram")},
                                              {Graph::Tornado, tr("Tornado")}};
  for (bool print : {false, true}) {
    auto* button = new QPushButton(print ? tr("&Print Graph...") : tr("Save &Graph..."), row);
    button->setObjectName(print ? QStringLiteral("StudyPrintGraph")
                                : QStringLiteral("StudySaveGraph"));
    button->setToolTip(print ? tr("Prints one of the graphs shown")
                             : tr("Saves one of the graphs shown as PNG, BMP, SVG or PDF"));
    auto* menu = new QMenu(button);
    for (const auto& [graph, name] : graphs) {
      QAction* action = menu->addAction(name);
      connect(action, &QAction::triggered, this,
              [this, graph = graph, print] { print ? PrintGraph(graph) : SaveGraph(graph); });
    }
    // Only the graphs shown are offered.
    connect(menu, &QMenu::aboutToShow, this, [this, menu] {
      const QList<QAction*> actions = menu->actions();
      for (int k = 0; k < actions.size(); ++k) actions[k]->setEnabled(graphShown(Graph(k)));
    });
    button->setMenu(menu);
    layout->addWidget(button);
  }
  layout->addStretch(1);
  return row;
}

QWidget* TStudyForm::graphWidget(Graph graph) const {
  switch (graph) {
    case Graph::Sweep: return sweepGraph_;
    case Graph::Histogram: return histogram_;
    case Graph::Tornado: return tornado_;
  }
  return sweepGraph_;
}

bool TStudyForm::graphShown(Graph graph) const { return graphWidget(graph)->isVisibleTo(this); }

std::string TStudyForm::graphCaption(Graph graph) const {
  const std::string output = output_->currentText().trimmed().toStdString();
  switch (graph) {
    case Graph::Sweep: return "sweep " + output;
    case Graph::Histogram: return "histogram " + output;
    case Graph::Tornado: return "tornado " + output;
  }
  return "study";
}

TPicturePainter TStudyForm::GraphPicture(Graph graph) const {
  if (graph == Graph::Sweep)
    return ScreenLookPicture([g = sweepGraph_](QPainter& p, QSize size) { g->Paint(p, size); },
                             sweepGraph_->font());
  const StudyBars* bars = graph == Graph::Histogram ? histogram_ : tornado_;
  return ScreenLookPicture([bars](QPainter& p, QSize size) { bars->Paint(p, size); }, bars->font());
}

bool TStudyForm::SaveGraph(Graph graph) {
  if (!graphShown(graph)) return false;
  const TPicturePainter picture = GraphPicture(graph);
  const std::string caption = graphCaption(graph);
  return SaveGraphCommand(
      this, caption,
      [&](const std::filesystem::path& file, TGraphFileFormat format, const TGraphImageSize& size) {
        return SavePicture(picture, caption, file, format, size);
      });
}

bool TStudyForm::PrintGraph(Graph graph) {
  if (!graphShown(graph)) return false;
  if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  const TPicturePainter picture = GraphPicture(graph);
  const std::string caption = graphCaption(graph);
  return PrintGraphCommand(this, *printer_, [&](QPrinter& printer) {
    return PrintPicture(printer, picture, caption, TPageMargins{});
  });
}

// Outputs down, random parameters across, signed to three decimals: the
// table terraq study prints.
void TStudyForm::showCorrelations(const design::SamplingResult& r) {
  correlations_->clear();
  QStringList heading{tr("Output")};
  for (const std::string& n : randomNames_) heading << Q(n);
  correlations_->setColumnCount(heading.size());
  correlations_->setHorizontalHeaderLabels(heading);
  correlations_->setRowCount(int(r.outputs.size()));
  for (size_t k = 0; k < r.outputs.size(); ++k) {
    SetCell(correlations_, int(k), 0, Q(r.outputs[k].name));
    const std::vector<double>& c = r.outputs[k].rankCorrelation;
    for (size_t p = 0; p < c.size() && p < randomNames_.size(); ++p)
      SetCell(correlations_, int(k), int(p) + 1, Q(design::RankCorrelationText(c[p])));
  }
  correlations_->resizeColumnsToContents();
}

}  // namespace terraq::ui
