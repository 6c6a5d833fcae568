#pragma once
// TDlgProp, "Wall Properties": the wall's division into increments, its
// free height and the limits of the iteration; the wall stiffness itself is
// entered in the table PileSect, opened from here, or taken from a steel
// section of the library (Section..., TDlgSection).

#include "dialogs/TDataDialog.h"

class QPushButton;

namespace terraq::ui {

class TDlgProp : public TDataDialog {
  Q_OBJECT

 public:
  // Increments of the wall the dialog accepts.
  static constexpr int kMinIncrements = 1;
  static constexpr int kMaxIncrements = 300;

  explicit TDlgProp(TDialogContext context, QWidget* parent = nullptr);

 private:
  void sectionClick();
  // Section...: the wall's steel section from the library (TDlgSection).
  void librarySectionClick();

  // Object names, which tests and scripts look up: deNI, btnSect, deXGS,
  // DeFH, deXLN, deSlope.
  TDataEdit* increments_;  // number of increments
  QPushButton* sectionButton_;
  QPushButton* librarySectionButton_;  // btnLibrarySection
  TDataEdit* incrementLength_;   // increment length
  TDataEdit* freeHeight_;        // free height (feet shown for English units)
  TDataEdit* deflectionLimit_;   // maximum allowable deflection of the iteration
  TDataEdit* closureTolerance_;  // deflection closure tolerance
};

}  // namespace terraq::ui
