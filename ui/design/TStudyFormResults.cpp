// The results of the Study window: the graph and table of a sweep's points,
// and the statistics, histogram, limit states and tornado of a sampling or
// FORM study (TStudyForm.h).

#include <QComboBox>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTableWidget>
#include <cmath>
#include <string>

#include "design/DesignGraph.h"
#include "design/StudyBars.h"
#include "design/StudyFormCells.h"
#include "design/TStudyForm.h"
#include "project/StudyLimitText.h"
#include "project/StudyUnits.h"

namespace terraq::ui {

using study::Number;
using study::Q;
using study::SetCell;

namespace {

// "moment, lb-in"; the name alone for a ratio.
QString WithUnit(const std::string& name, const std::string& unit) {
  return unit.empty() ? Q(name) : Q(name + ", " + unit);
}

// An output of terraq study ("top", "stage.2.moment", "support.1") of a
// point of a sweep; NaN when the point does not have it.
double OutputOf(const design::PointResult& point, size_t problem, const std::string& what) {
  if (point.error || problem >= point.problems.size()) return NAN;
  const design::ProblemOutputs& p = point.problems[problem];
  const std::array<double, 6> values = design::ProblemOutputValues(p);
  for (size_t k = 0; k < values.size(); ++k)
    if (what == design::kProblemOutputNames[k]) return values[k];
  for (size_t s = 0; s < p.supports.size(); ++s)
    if (design::SupportOutputName(p.supports, s) == what) return p.supports[s].force;
  return NAN;
}

// "stage.K.NAME" is NAME of problem K-1, "longterm.NAME" of the second.
double OutputOf(const design::PointResult& point, const std::string& output) {
  if (output.rfind("stage.", 0) == 0 && output.find('.', 6) != std::string::npos)
    return OutputOf(point, std::strtoul(output.c_str() + 6, nullptr, 10) - 1,
                    output.substr(output.find('.', 6) + 1));
  if (output.rfind("longterm.", 0) == 0) return OutputOf(point, 1, output.substr(9));
  return OutputOf(point, 0, output);
}

}  // namespace

void TStudyForm::showResults() {
  const bool probabilistic =
      sampling_ || !forms_.empty() || (!sweep_ && mode_->currentIndex() == 1);
  sweepGraph_->setVisible(!probabilistic);
  summary_->setVisible(probabilistic);
  histogram_->setVisible(probabilistic);
  tornado_->setVisible(probabilistic);
  correlations_->clear();
  correlations_->setRowCount(0);
  correlations_->setColumnCount(0);
  if (probabilistic) showSampling();
  else showSweep();
  showLimitResults();
  // Only a sampling study has correlations to show.
  tables_->setTabEnabled(1, sampling_ && !sampling_->error);
  tables_->setTabEnabled(2, limitResults_->rowCount() > 0);
  if (!tables_->isTabEnabled(tables_->currentIndex())) tables_->setCurrentIndex(0);
}

void TStudyForm::showSweep() {
  summary_->clear();
  table_->clear();
  table_->setRowCount(0);
  table_->setColumnCount(0);
  const std::string output = output_->currentText().trimmed().toStdString();
  if (!sweep_ || sweep_->error) {
    sweepGraph_->SetCurve({}, tr("parameter"), Q(output), false, tr("Press Run"));
    return;
  }
  const auto& names = sweep_->names;
  QStringList heading;
  for (const std::string& n : names) heading << Q(n);
  for (const std::string& o : outputs_) heading << Q(o);
  heading << tr("note");
  table_->setColumnCount(heading.size());
  table_->setHorizontalHeaderLabels(heading);
  table_->setRowCount(static_cast<int>(sweep_->done));
  for (size_t k = 0; k < sweep_->done; ++k) {
    const design::PointResult& p = sweep_->points[k];
    int column = 0;
    for (double v : p.values) SetCell(table_, int(k), column++, Number(v));
    column = int(names.size());
    for (const std::string& o : outputs_) {
      const double v = OutputOf(p, o);
      SetCell(table_, int(k), column++, std::isnan(v) ? QString() : Number(v));
    }
    QString note = p.error ? Q(*p.error) : QString();
    for (const auto& problemOutputs : p.problems)
      if (!problemOutputs.held) note = tr("not held");
    SetCell(table_, int(k), column, note);
  }
  table_->resizeColumnsToContents();
  // Against the first parameter; for a grid one curve per value of the
  // second, whose points are every so many (the first varies slowest).
  std::vector<DesignGraph::Point> curve;
  std::vector<size_t> starts;
  QStringList labels;
  const size_t second = std::max<size_t>(1, secondCount_);
  for (size_t j = 0; j < second; ++j) {
    if (names.size() > 1 && j < sweep_->done && sweep_->points[j].values.size() > 1) {
      starts.push_back(curve.size());
      labels << tr("%1 = %2").arg(Q(names[1]), Number(sweep_->points[j].values[1]));
    }
    for (size_t k = j; k < sweep_->done; k += second) {
      const DesignGraph::Point point{
          sweep_->points[k].values.empty() ? NAN : sweep_->points[k].values[0],
          OutputOf(sweep_->points[k], output)};
      if (std::isfinite(point.x) && std::isfinite(point.y))
        curve.push_back(point);  // not a failed one
    }
  }
  sweepGraph_->SetCurve(curve, WithUnit(names.front(), ParameterUnit(names.front(), units_)),
                        WithUnit(output, OutputUnit(output, units_)), false,
                        tr("No point to draw"));
  if (starts.size() > 1) sweepGraph_->SetParts(starts, labels);
}

void TStudyForm::showSampling() {
  table_->clear();
  table_->setRowCount(0);
  table_->setColumnCount(0);
  const std::string output = output_->currentText().trimmed().toStdString();
  if (!forms_.empty() && forms_.back().interrupted) {
    size_t analyses = 0;
    for (const design::FormResult& f : forms_) analyses += f.evaluations;
    summary_->setPlainText(
        tr("FORM cancelled after %1 analyses: no reliability index.").arg(analyses));
    histogram_->Clear(tr("FORM draws no samples"));
    tornado_->Clear(tr("Cancelled"));
    return;
  }
  if (!forms_.empty() && !forms_.back().error) {
    showForm();
    return;
  }
  if (!sampling_ || sampling_->error) {
    summary_->clear();
    histogram_->Clear(tr("Press Run"));
    tornado_->Clear(tr("Press Run"));
    return;
  }
  const design::SamplingResult& r = *sampling_;
  QString summary = tr("%1 samples%2, %3 without results\n")
                        .arg(r.samples)
                        .arg(r.interrupted ? tr(" (cancelled: the samples done)") : QString())
                        .arg(r.failedSamples);
  // Each limit state as terraq study prints it (the table: Limit states).
  const TextRows limits = SamplingLimitRows(r);
  for (size_t k = 1; k < limits.size(); ++k)
    summary += tr("%1: %2 failures, probability %3 (95 %: %4), beta %5\n")
                   .arg(Q(limits[k][0]), Q(limits[k][1]), Q(limits[k][2]), Q(limits[k][3]),
                        Q(limits[k][4]));
  if (r.system) summary += Q(SamplingSystemLine(r)) + "\n";
  for (const std::string& n : r.notes) summary += Q(n) + "\n";
  for (const std::string& f : r.failureReasons) summary += Q(f) + "\n";
  summary_->setPlainText(summary);

  const design::OutputStatistics* shown = fillStatistics(r, output);
  showCorrelations(r);
  if (!shown || !shown->count) {
    histogram_->Clear(tr("No samples of \"%1\"").arg(Q(output)));
    tornado_->Clear(QString());
    return;
  }
  histogram_->SetHistogram(shown->histogram, shown->histogramLow, shown->histogramHigh,
                           tr("%1: histogram").arg(WithUnit(output, OutputUnit(output, units_))));
  std::vector<StudyBars::Bar> bars;
  for (size_t k = 0; k < randomNames_.size() && k < shown->rankCorrelation.size(); ++k)
    bars.push_back({Q(randomNames_[k]), shown->rankCorrelation[k]});
  tornado_->SetTornado(bars, tr("%1: rank correlation").arg(Q(output)));
}

// FORM's reliability index of each limit state; the design point, the
// importance of each parameter and the tornado of the first.
void TStudyForm::showForm() {
  const design::FormResult& form = forms_.front();
  QString summary = formSummary();
  table_->setColumnCount(3);
  table_->setHorizontalHeaderLabels({tr("Parameter"), tr("Design point"), tr("Importance alpha²")});
  table_->setRowCount(int(randomNames_.size()));
  for (size_t k = 0; k < randomNames_.size(); ++k) {
    SetCell(table_, int(k), 0, Q(randomNames_[k]));
    if (k < form.designPoint.size()) SetCell(table_, int(k), 1, Number(form.designPoint[k]));
    if (k < form.importance.size()) SetCell(table_, int(k), 2, Number(form.importance[k]));
  }
  std::vector<StudyBars::Bar> bars;
  for (size_t k = 0; k < randomNames_.size() && k < form.designPointU.size(); ++k)
    bars.push_back({Q(randomNames_[k]),
                    k < form.importance.size()
                        ? std::copysign(std::sqrt(form.importance[k]), form.designPointU[k])
                        : 0});
  tornado_->SetTornado(bars, limitNames_.empty()
                                 ? tr("alpha at the design point")
                                 : tr("%1: alpha at the design point").arg(Q(limitNames_.front())));
  histogram_->Clear(tr("FORM draws no samples"));
  for (const std::string& n : form.notes) summary += Q(n) + "\n";
  summary_->setPlainText(summary);
}

// The statistics of each output, a row each; the output `output`'s or null.
const design::OutputStatistics* TStudyForm::fillStatistics(const design::SamplingResult& r,
                                                           const std::string& output) {
  QStringList heading{tr("Output"), tr("Unit"), tr("Count"), tr("Mean"), tr("SD"), tr("Min")};
  for (double p : design::kPercentiles) heading << tr("P%1").arg(p);
  heading << tr("Max");
  table_->setColumnCount(heading.size());
  table_->setHorizontalHeaderLabels(heading);
  table_->setRowCount(int(r.outputs.size()));
  const design::OutputStatistics* shown = nullptr;
  for (size_t k = 0; k < r.outputs.size(); ++k) {
    const design::OutputStatistics& s = r.outputs[k];
    if (s.name == output) shown = &s;
    int c = 0;
    SetCell(table_, int(k), c++, Q(s.name));
    SetCell(table_, int(k), c++, Q(OutputUnit(s.name, units_)));
    SetCell(table_, int(k), c++, QString::number(s.count));
    for (double v : {s.mean, s.sd, s.min})
      SetCell(table_, int(k), c++, s.count ? Number(v) : QString());
    for (double v : s.percentiles) SetCell(table_, int(k), c++, Number(v));
    c = heading.size() - 1;
    SetCell(table_, int(k), c, s.count ? Number(s.max) : QString());
  }
  table_->resizeColumnsToContents();
  return shown;
}

}  // namespace terraq::ui
