#pragma once
// TDlgStaged, "Staged Construction Options": whether the project is analysed
// in construction stages and how many (2 to 5), and the Update button that
// writes the model as the block of a chosen stage. The dialog holds no
// project logic: it shows what its context reports and hands the user's
// choices back to it (the main window, which changes the project and its
// stage files and says why when that fails).

#include <QDialog>
#include <functional>

class QCheckBox;
class QComboBox;
class QHBoxLayout;
class QPushButton;
class QToolButton;

namespace terraq::ui {

class TDataEdit;

struct TStagedContext {
  std::function<int()> stageCount;    // StageCount, 1 to 5
  std::function<int()> currentStage;  // CurrentStage
  // Update: the model becomes stage `stage` of `count` stages. False when it
  // could not be done (the context has said why).
  std::function<bool(int count, int stage)> update;
  // OK: the number of stages (1 ends staging). False keeps the dialog open.
  std::function<bool(int count)> apply;
  // Construction sequence...: opens the Construction Sequence window (the
  // dialog closes first). Without it the dialog offers no such button.
  std::function<void()> showSequence;
};

class TDlgStaged : public QDialog {
  Q_OBJECT

 public:
  explicit TDlgStaged(TStagedContext context, QWidget* parent = nullptr);

  // Shows the project's count and current stage again.
  void Reload();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QHBoxLayout* makeCountRow();
  QHBoxLayout* makeButtonRow();
  // The handlers of the check box, the up-down control and the buttons.
  void StageAnalysisClick();
  void UpDownClick(int step);
  void EditUpdateClick();
  void OkClick();
  // The count in the field; 0 when it holds no valid entry (the field has
  // said so).
  int enteredCount();
  void enableCount(bool enabled);

  TStagedContext context_;
  // Object names, which tests and scripts look up: StageAnalysis, deStage,
  // UpDown1Up, UpDown1Down, ComboBox1, EditUpdate, Button1 (OK), Button2.
  QCheckBox* stagedBox_;
  TDataEdit* stageCount_;
  QToolButton* countUp_;  // the up-down control of stageCount_
  QToolButton* countDown_;
  QComboBox* stageChoice_;
  QPushButton* updateButton_;
  QPushButton* okButton_;
  QPushButton* cancelButton_;
};

}  // namespace terraq::ui
