#pragma once
// The Ground tab of the Design window: the ground around the designed wall
// (design/DesignedGround.h) and the design of its anchors
// (design/AnchorChecks.h), in the lines and words of terraq design
// (design/DesignedGroundText.h), a line below the required factor or
// refused shown in red; above them the cut's plan, the project's member
// "excavation" (project/ExcavationMember.h): its width B, length L, the
// depth of a firm stratum below the excavation level and the anchors'
// free and bond lengths, top down, in the data file's length unit.
//
// An edit of the plan that design::ExcavationPlanFault accepts goes into
// the project at once (a plan with nothing in it takes the member away)
// and the checks are made again on the design shown; one it refuses is
// said in red and kept out of the project. A project without the member
// shows the fields empty with a hint and writes nothing until a field is
// edited. The anchors are designed when the project has the member
// "anchors".

#include <QWidget>
#include <functional>
#include <optional>

#include "AnchorChecks.h"
#include "DesignReport.h"
#include "GroundLimitStates.h"
#include "SequentialStaging.h"
#include "api/SoilDescription.h"

class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace terraq::ui {

class TDesignGroundPanel : public QWidget {
  Q_OBJECT

 public:
  // The project's members, asked for at each use: New and Open replace the
  // project behind the window.
  struct Project {
    std::function<std::optional<design::ExcavationPlan>()> excavation;
    std::function<void(const std::optional<design::ExcavationPlan>&)> keepExcavation;
    std::function<std::optional<design::AnchorInputs>()> anchors;
  };
  // What the Design window designed, as terraq design checks the ground
  // with it: the problem shown, its soil (a sequence's first stage's) and
  // request, the project's sequence and the sequence designed (under a
  // design approach, its factored plan).
  struct Designed {
    design::ProblemDesign problem;
    engine::api::SoilDescription soil;
    design::DesignRequest request;
    std::optional<design::SequentialPlan> sequence, designedSequence;
  };

  explicit TDesignGroundPanel(QWidget* parent = nullptr);

  void SetProject(Project project) { project_ = std::move(project); }
  // The fields from the project's plan, labelled in `units` (1 English, 2
  // SI), and the checks of `designed` (none: `why` says why there are none).
  void Show(const std::optional<Designed>& designed, int units, const QString& why);

  QString ResultsText() const;
  // The lines shown as failing.
  QStringList FailingLines() const;
  QString NoteText() const;

 private:
  void planEdited();
  std::optional<design::ExcavationPlan> planOfFields(QString& fault) const;
  void showPlan(const std::optional<design::ExcavationPlan>& plan);
  void showChecks();
  void setNote(const QString& text, bool fault);

  Project project_;
  std::optional<Designed> designed_;
  QString why_;
  int units_ = 0;
  std::vector<int> failing_;  // the numbers of the lines shown in red
  QLabel* note_ = nullptr;
  QLabel* widthLabel_ = nullptr;
  QLabel* lengthLabel_ = nullptr;
  QLabel* freeLabel_ = nullptr;
  QLabel* bondLabel_ = nullptr;
  QDoubleSpinBox* width_ = nullptr;
  QDoubleSpinBox* length_ = nullptr;
  QCheckBox* firm_ = nullptr;
  QDoubleSpinBox* firmDepth_ = nullptr;
  QLineEdit* anchorFree_ = nullptr;
  QLineEdit* anchorBond_ = nullptr;
  QPlainTextEdit* results_ = nullptr;
};

}  // namespace terraq::ui
