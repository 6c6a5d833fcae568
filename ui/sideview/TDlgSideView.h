#pragma once
// TDlgSideView: the "Side View" window, a sketch of the project as entered
// (wall, ground on both sides, soil layers, restraint, p-y curve and spring
// marks) at true depth, with the pointer's depth in the caption and a Print
// button for a landscape page.
//
// The window follows the project: it compares the profile of the project
// with the one it shows a few times a second and repaints when they differ,
// so a value stored in a dialog, a table edit, a units switch or another
// stage shows without reopening the window, whatever path changed the data.
//
// A project with a construction sequence gets a stage chooser beside the
// heading ("Before construction", then the stages): the sketch is then the
// chosen stage (StageProfile.h), its excavation, water levels, surcharge,
// loads and supports, and the printout is titled with the stage. Without a
// sequence there is no chooser and the sketch is the project as entered.

#include <QWidget>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "PaintWallProfile.h"
#include "SequentialStaging.h"
#include "project/RunSummary.h"

class QComboBox;
class QLabel;
class QPrinter;
class QPushButton;
class QTimer;

namespace terraq::ui {

class TProgramData;

class TDlgSideView : public QWidget {
  Q_OBJECT

 public:
  // `project` returns the project shown (the main window replaces its
  // project on New and Open); `plotHeldEarthPressure` tells whether the plot
  // file read last held generated earth pressure; `sequence` the project's
  // construction sequence (none: no chooser) and `stageForces` the
  // supports' forces of a stage (from 1) from the last run of it (empty:
  // none known).
  using Sequence = std::function<const std::optional<design::SequentialPlan>&()>;
  using StageForces = std::function<std::vector<SequentialSupportSummary>(int stage)>;
  TDlgSideView(std::function<const TProgramData&()> project, std::function<bool()> plotHeldEarthPressure,
               QWidget* parent = nullptr);
  TDlgSideView(std::function<const TProgramData&()> project,
               std::function<bool()> plotHeldEarthPressure, Sequence sequence,
               StageForces stageForces, QWidget* parent = nullptr);

  const TWallProfile& Profile() const { return profile_; }
  // The canvas of the drawing area as it is now.
  TProfileCanvas Canvas() const;
  // Rebuilds the profile from the project and repaints when it changed.
  void FormActivate();
  // The stage shown: 0 before construction (and without a sequence), 1..
  // the stages.
  int Stage() const;
  // Shows a stage (clamped to the sequence's); nothing without a sequence.
  void SetStage(int stage);
  // What the chooser offers; empty without a sequence.
  const std::vector<std::string>& StageChoices() const { return choices_; }
  // Draws the sketch on a printer: landscape, titled "Soil-Pile Profile"
  // (and the stage shown, with a sequence).
  // False when the printer cannot be drawn on (a PDF file that cannot be
  // written, a printer gone).
  bool PrintTo(QPrinter& printer);
  // The Print button: the print dialog, then PrintTo.
  void PrintClick();

  // Wide enough for the layer texts beside the wall and the depth scale:
  // the size a window of the main window's area opens at.
  QSize sizeHint() const override { return QSize(640, 560); }

  // The drawing area (below the label and the button).
  QWidget* PaintBox() const { return paintBox_; }

  // A note on the results the view draws (the supports' forces, the
  // generated pressure's side), shown beside the heading and on the
  // printout: "live — not saved" while they come from a live analysis of
  // the project as edited. Empty: none.
  void SetResultsNote(const QString& note);
  QString ResultsNote() const;

 signals:
  // The caption the window should show ("  Depth: 12.5" after the pointer
  // moved over the sketch).
  void captionChanged(const QString& caption);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::function<const TProgramData&()> project_;
  std::function<bool()> plotHeldEarthPressure_;
  // The chooser's entries anew when the sequence's stages changed.
  void updateChooser();

  Sequence sequence_;
  StageForces stageForces_;
  std::vector<std::string> choices_;
  TWallProfile profile_;
  QLabel* heading_;
  QLabel* resultsNote_;
  QComboBox* stages_;
  QPushButton* printButton_;
  QWidget* paintBox_;
  QTimer* follow_;
};

}  // namespace terraq::ui
