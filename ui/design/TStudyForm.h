#pragma once
// TStudyForm: the Study window. It lists the parameters of the project as
// it stands (design/Parameters.h) and runs a study of them:
//
//   Sweep: one parameter from FROM to TO in COUNT values, or two for a
//   grid; a graph of the chosen output against the first parameter (one
//   curve per value of the second) and a table of the points.
//   Probabilistic: parameters with distributions, sampled by Monte Carlo or
//   Latin hypercube, or FORM; the statistics of every output, the histogram
//   of the chosen one and a tornado of its rank correlations with each
//   parameter. The limit states (several failure modes) are a table of
//   output, comparison and value (TStudyFormLimits.cpp); their results are
//   each mode's probability with its 95 % interval and beta and the
//   system's (a sample fails when any mode fails), or FORM's index and
//   design point of each mode, in the words and digits of terraq study
//   (project/StudyLimitText.h).
//
// The analyses run on a worker thread with a StudyControl: the window stays
// live, shows the progress, and Cancel stops the study after the analyses
// under way; what was done is shown and said to be partial (a cancelled
// FORM shows no index at all, and its progress is a count of analyses, as
// many as its iteration takes). Closing the window stops the study and
// waits for it.
//
// The definition is read from NAME.terraq.json beside the project when the
// window opens and written there by Save (StudyFile.h), which reads it
// again first to keep what else it holds. A file that cannot be read is
// named in the status and is not written over.
//
// Save Graph... and Print Graph... save or print one of the graphs shown
// (the sweep's graph, the histogram or the tornado) as the plot windows do
// theirs (GraphSaveCommand.h), drawn by the graph's own paint routine. The
// probabilistic results hold a table of the rank correlations of every
// output with every random parameter, as terraq study prints it.
//
// The Fit to Measurements tab calibrates the wall against measured
// deflections (StudyFitView.h).
//
// The names of outputs and limit states are those of terraq study: top,
// deflection, moment, shear, support.N (prefixed stage.K. or longterm.),
// heave and kranz when the project has a cut's plan (design/StudyGround.h),
// and limits OUTPUT>VALUE, OUTPUT<VALUE or not-held. Units: those of the
// data file.

#include <QWidget>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "GraphOutput.h"
#include "StudyForm.h"
#include "StudyRun.h"
#include "StudySampling.h"
#include "design/StudyFile.h"

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPrinter;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QStackedWidget;
class QVBoxLayout;
class QTabWidget;
class QTableWidget;

namespace terraq::ui {

class DesignGraph;
class StudyBars;
class StudyFitView;

class TStudyForm : public QWidget {
  Q_OBJECT

 public:
  // `dataText` gives the project's data file text now, `dataFile` its name
  // (the study file lies beside it; empty for a project never saved).
  TStudyForm(std::function<std::string()> dataText, std::function<QString()> dataFile,
             QWidget* parent = nullptr);
  ~TStudyForm() override;
  // `sequence` gives the project's construction sequence now (nullopt: it
  // has none); every point is then analysed through its stages.
  void SetSequence(std::function<std::optional<design::SequentialPlan>()> sequence) {
    sequence_ = std::move(sequence);
  }
  // The project's soil model, asked for at each Run (the p-y model without
  // it); its springs' parameters are then names to vary.
  void SetSoilModel(design::SoilModelSource soilModel) { soilModel_ = std::move(soilModel); }
  // The cut's plan now (nullopt: none): a probabilistic study then has the
  // ground's outputs heave and kranz.
  void SetGround(std::function<std::optional<design::ExcavationPlan>()> ground) {
    ground_ = std::move(ground);
  }

  // Reads the project's parameters into the list (Run does too).
  void Refresh();
  // Starts the study the window shows; false (with the reason in the status)
  // when it cannot start or one is running.
  bool Run();
  void Cancel();
  bool Running() const { return worker_.joinable() && !finished_; }
  // Saves the definition beside the project; false with the reason shown.
  bool Save();

  // The definition the window shows, and setting it.
  StudyDefinition Definition() const;
  void SetDefinition(const StudyDefinition& d);

  // The results shown, when there are.
  const std::optional<design::SweepResult>& SweepShown() const { return sweep_; }
  const std::optional<design::SamplingResult>& SamplingShown() const { return sampling_; }
  // FORM's first limit state, and every one in the order given.
  const design::FormResult* FormShown() const { return forms_.empty() ? nullptr : &forms_.front(); }
  const std::vector<design::FormResult>& FormModesShown() const { return forms_; }
  QString StatusText() const;
  QString SummaryText() const;
  DesignGraph* SweepGraph() const { return sweepGraph_; }
  StudyBars* Histogram() const { return histogram_; }
  StudyBars* Tornado() const { return tornado_; }
  QTableWidget* ResultTable() const { return table_; }
  QTableWidget* ParameterTable() const { return parameters_; }
  QTableWidget* RandomTable() const { return random_; }

  QTableWidget* CorrelationTable() const { return correlations_; }
  // The limit states as defined (output, comparison, value) and their results.
  QTableWidget* LimitTable() const { return limits_; }
  QTableWidget* LimitResultTable() const { return limitResults_; }
  // The Fit to Measurements tab.
  StudyFitView* FitView() const { return fit_; }

  // The graphs that can be saved and printed; a hidden one cannot.
  enum class Graph { Sweep, Histogram, Tornado };
  // Saves or prints a graph through the program's prompts (TUserPrompts);
  // false when cancelled, hidden or failed (the reason shown).
  bool SaveGraph(Graph graph);
  bool PrintGraph(Graph graph);
  // The graph as a picture (for files and printers).
  TPicturePainter GraphPicture(Graph graph) const;

  QSize sizeHint() const override { return QSize(1180, 720); }

 signals:
  // A study ended (done, cancelled or failed) and its results are shown.
  void finished();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  // The project's parameters, with its soil model's springs on a project
  // that chose them.
  std::optional<design::ParameterText> parameterText(const std::string& dataText,
                                                     std::string& error) const;
  // What the worker hands back.
  struct Outcome {
    std::optional<design::SweepResult> sweep;
    std::optional<design::SamplingResult> sampling;
    std::vector<design::FormResult> forms;
    std::vector<std::string> outputs, randomNames, limits;
    size_t asked = 0;        // points or samples
    size_t secondCount = 1;  // values of a sweep's second parameter
  };
  // The analyses a study asks for, to run on the worker thread, and what
  // its progress counts.
  struct Work {
    std::function<void(const design::StudyControl&)> run;
    QString what;
  };
  // The work of a sweep or of a probabilistic study; nullopt with the
  // reason in the status when the study as defined cannot run.
  std::optional<Work> sweepWork(const StudyDefinition& d,
                                std::shared_ptr<const design::ParameterText> text,
                                std::shared_ptr<const design::SequentialPlan> sequence,
                                std::shared_ptr<Outcome> outcome);
  std::optional<Work> randomWork(const StudyDefinition& d,
                                 std::shared_ptr<const design::ParameterText> text,
                                 std::shared_ptr<const design::SequentialPlan> sequence,
                                 std::shared_ptr<Outcome> outcome);
  // Starts `work` on the worker thread; false, the reason in the status,
  // when no thread can be had.
  bool startWorker(std::function<void(const design::StudyControl&)> work,
                   std::shared_ptr<Outcome> outcome);
  // FORM on each limit state in turn (TStudyFormLimits.cpp).
  std::optional<Work> formWork(std::shared_ptr<const design::WallModel> model,
                               std::vector<design::RandomParameter> parameters,
                               std::vector<design::LimitState> limits,
                               std::shared_ptr<Outcome> outcome);
  void addRandomRow(const StudyDefinition::Random& r);
  // The limit states' table (TStudyFormLimits.cpp): a row from "NAME>VALUE",
  // "NAME<VALUE" or "not-held", and each row's text back.
  QWidget* makeLimitsEditor(QWidget* parent);
  void addLimitRow(const std::string& limit);
  std::vector<std::string> limitTexts() const;
  void showLimitResults();
  void setStatus(const QString& text);
  void setRunning(bool running);
  void finish(std::shared_ptr<Outcome> outcome);
  void showProgressAtEnd();
  void showResults();
  void showSweep();
  void showSampling();
  void showForm();
  QString formSummary() const;
  const design::OutputStatistics* fillStatistics(const design::SamplingResult& r,
                                                 const std::string& output);
  void stopWorker();
  void showCorrelations(const design::SamplingResult& r);
  QWidget* graphWidget(Graph graph) const;
  bool graphShown(Graph graph) const;  // in the window, shown or not
  std::string graphCaption(Graph graph) const;
  QWidget* makeGraphButtons();
  // The window's parts (TStudyFormLayout.cpp).
  QWidget* makeSweepPage();
  QWidget* makeRandomPage();
  QVBoxLayout* makeChoicesColumn();
  QVBoxLayout* makeResultsColumn();
  QVBoxLayout* makeRunRows();
  void openSavedStudy();

  std::function<std::string()> dataText_;
  std::function<QString()> dataFile_;
  std::function<std::optional<design::SequentialPlan>()> sequence_;
  design::SoilModelSource soilModel_;
  std::function<std::optional<design::ExcavationPlan>()> ground_;

  QTableWidget* parameters_ = nullptr;
  QComboBox* mode_ = nullptr;
  QStackedWidget* pages_ = nullptr;
  QComboBox* varyName_[2] = {};
  QDoubleSpinBox* from_[2] = {};
  QDoubleSpinBox* to_[2] = {};
  QSpinBox* count_[2] = {};
  QTableWidget* random_ = nullptr;
  QComboBox* method_ = nullptr;
  QSpinBox* samples_ = nullptr;
  QDoubleSpinBox* seed_ = nullptr;
  QTableWidget* limits_ = nullptr;
  QTableWidget* limitResults_ = nullptr;
  QComboBox* output_ = nullptr;
  QPushButton* runButton_ = nullptr;
  QPushButton* cancelButton_ = nullptr;
  QPushButton* saveButton_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QLabel* status_ = nullptr;
  QPlainTextEdit* summary_ = nullptr;
  QTableWidget* table_ = nullptr;
  QTableWidget* correlations_ = nullptr;
  QTabWidget* tables_ = nullptr;
  std::unique_ptr<QPrinter> printer_;
  DesignGraph* sweepGraph_ = nullptr;
  StudyBars* histogram_ = nullptr;
  StudyBars* tornado_ = nullptr;
  StudyFitView* fit_ = nullptr;

  std::thread worker_;
  std::atomic<bool> stop_{false};
  bool finished_ = true;
  std::string pendingOutput_;  // the output to show once a run ends
  std::optional<design::SweepResult> sweep_;
  std::optional<design::SamplingResult> sampling_;
  std::vector<design::FormResult> forms_;  // a limit state each
  std::vector<std::string> outputs_;       // of the results shown
  std::vector<std::string> limitNames_;    // the limit states of the results shown
  std::vector<std::string> randomNames_;  // the random parameters of the results shown
  bool staged_ = false;
  size_t secondCount_ = 1;  // of the sweep shown
  int units_ = 0;           // the data file's units code (project/StudyUnits.h)
};

}  // namespace terraq::ui
