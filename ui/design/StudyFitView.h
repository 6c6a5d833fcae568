#pragma once
// StudyFitView: the Study window's "Fit to measurements" tab, the
// calibration of the wall against measured deflections (design/
// Calibration.h) as terraq study --fit runs it. The engineer chooses the
// readings (the project's measurements, or an inclinometer CSV file taken
// as one stage), the parameters to vary with their bounds in the
// command's words (all.k=0.5:5, ei=1e9:4e10), and Runs: the fit runs on a
// worker thread, counts its analyses, and Cancel stops it after the
// analyses under way, showing the values reached as not fitted. The tab
// shows each parameter's fitted value, sensitivity and standard error, the
// RMS residual before and after, why it stopped, and the measured
// deflection beside the computed one before and after the fit.
//
// Apply sets the fitted values into the project through the owner's
// callback (the main window's path for the Design window's Apply), asked
// for by the engineer and confirmed, never done by a fit alone.
//
// Units: the data file's (lengths in or m, each parameter its own).

#include <QWidget>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "Calibration.h"
#include "project/MeasurementsMember.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace terraq::ui {

class DesignGraph;

class StudyFitView : public QWidget {
  Q_OBJECT

 public:
  // `dataText` gives the project's data text now; `parameters` its study
  // parameters (with its soil model's springs), nullopt with the reason.
  using ParameterSource = std::function<std::optional<design::ParameterText>(std::string& error)>;
  StudyFitView(std::function<std::string()> dataText, ParameterSource parameters,
               QWidget* parent = nullptr);
  ~StudyFitView() override;

  void SetSequence(std::function<std::optional<design::SequentialPlan>()> sequence) {
    sequence_ = std::move(sequence);
  }
  // The project's measurements now (nullopt: it has none).
  void SetMeasurements(std::function<std::optional<Measurements>()> measurements) {
    measurements_ = std::move(measurements);
  }
  // Sets (name, value) pairs into the project; "" when it did, else why not.
  using ApplyValues =
      std::function<std::string(const std::vector<std::pair<std::string, double>>& values)>;
  void SetApply(ApplyValues apply) { apply_ = std::move(apply); }

  // Starts the fit; false with the reason in the status.
  bool Run();
  void Cancel();
  bool Running() const { return worker_.joinable() && !finished_; }
  // Sets the fitted values shown into the project; false with the reason
  // shown (none shown, an interrupted fit, the project refused them).
  bool Apply();
  // Stops a fit under way and waits for it (the window closes).
  void Stop();

  const std::optional<design::FitResult>& Shown() const { return result_; }
  QString StatusText() const;

 signals:
  void finished();

 private:
  std::vector<design::MeasuredStage> measured(int units, std::string& error) const;
  std::optional<std::vector<design::FitParameter>> bounds(const design::ParameterText& text,
                                                          std::string& error) const;
  void finish(std::shared_ptr<design::FitResult> result);
  void setRunning(bool running);
  void showResult();
  void showGraph();

  std::function<std::string()> dataText_;
  ParameterSource parameters_;
  std::function<std::optional<design::SequentialPlan>()> sequence_;
  std::function<std::optional<Measurements>()> measurements_;
  ApplyValues apply_;

  QComboBox* source_ = nullptr;
  QLineEdit* csv_ = nullptr;
  QSpinBox* stage_ = nullptr;
  QLineEdit* vary_ = nullptr;
  QPushButton* runButton_ = nullptr;
  QPushButton* cancelButton_ = nullptr;
  QPushButton* applyButton_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QLabel* status_ = nullptr;
  QLabel* summary_ = nullptr;
  QTableWidget* table_ = nullptr;
  DesignGraph* graph_ = nullptr;

  std::thread worker_;
  std::atomic<bool> stop_{false};
  bool finished_ = true;
  int units_ = 0;  // of the fit shown
  std::optional<design::FitResult> result_;
};

}  // namespace terraq::ui
