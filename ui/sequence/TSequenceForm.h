#pragma once
// TSequenceForm: the Construction Sequence window. A construction sequence
// of up to 20 stages over the project's one wall, each stage starting from
// the wall and soil the stage before left (design/SequentialStaging.h):
//
//   - the supports (anchors and struts) as built, one row each: name, kind,
//     depth, E, A, free length, inclination, spacing, prestress and yield
//     force (blank: no limit), in the data file's units;
//   - the stages, one row each: name, the excavation, water and surcharge
//     levels it sets (blank: as the stage before left them), the supports
//     it installs and removes (comma lists of their names) and the loads it
//     sets (load.N = value, a row of the data file's concentrated loads);
//   - a sketch of the selected stage (TSequencePicture.h);
//   - a check line: the sequence as design::BuildSequence finds it after
//     every change, ready or the first fault.
//
// A cell that is not a number, or names a support or load row that does not
// exist, is refused where it is typed (the cell shows what it held, the
// check line why). Every change of the plan is handed to the main window
// (`changed`), which keeps it in the project file when the project is
// saved. A project staged with stage files or with a long-term analysis
// cannot have a sequence: the window says why and offers nothing to edit.

#include <QWidget>
#include <functional>
#include <string>

#include "SequentialStaging.h"

class QGroupBox;
class QLabel;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;

namespace terraq::ui {

class TSequencePicture;

class TSequenceForm : public QWidget {
  Q_OBJECT

 public:
  // `dataText` gives the project's data text now; `unavailable` is why the
  // project cannot have a sequence ("" when it can); `plan` is the
  // project's sequence and `changed` takes every change of it.
  TSequenceForm(std::function<std::string()> dataText, const QString& unavailable,
                design::SequentialPlan plan,
                std::function<void(const design::SequentialPlan&)> changed,
                QWidget* parent = nullptr);

  const design::SequentialPlan& Plan() const { return plan_; }
  // False when the project could not have a sequence as the window opened.
  bool Editable() const { return supports_ != nullptr; }
  // The check line's text.
  QString CheckText() const;

  QSize sizeHint() const override { return QSize(1000, 640); }

 private:
  QGroupBox* makeSupportsBox();
  QGroupBox* makeStagesBox();
  void connectControls();
  // Tables (TSequenceFormTables.cpp).
  void fillSupports();
  void fillStages();
  void supportEdited(QTableWidgetItem* item);
  void stageEdited(QTableWidgetItem* item);
  void addSupport();
  void deleteSupport();
  void addStage(bool insert);
  void deleteStage();
  void moveStage(int step);

  // After a change of the plan: the main window told, the check made.
  void planChanged();
  void check();
  void refuse(const QString& why);
  void updateButtons();
  // The picture of the selected stage (the last when none is selected).
  void showPicture();

  std::function<std::string()> dataText_;
  std::function<void(const design::SequentialPlan&)> changed_;
  design::SequentialPlan plan_;
  int units_ = 0;  // of the data file (1 English, 2 SI)

  QTableWidget* supports_ = nullptr;
  QTableWidget* stages_ = nullptr;
  QPushButton* addSupport_ = nullptr;
  QPushButton* deleteSupport_ = nullptr;
  QPushButton* addStage_ = nullptr;
  QPushButton* insertStage_ = nullptr;
  QPushButton* deleteStage_ = nullptr;
  QPushButton* stageUp_ = nullptr;
  QPushButton* stageDown_ = nullptr;
  TSequencePicture* picture_ = nullptr;
  QLabel* check_ = nullptr;
  QLabel* refused_ = nullptr;
};

}  // namespace terraq::ui
