#pragma once
// TDlgProp, "Wall Properties": the wall's division into increments, its
// free height and the limits of the iteration; the wall stiffness itself is
// entered in the table PileSect, opened from here.

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

  TDataEdit* deNI;     // number of increments
  QPushButton* btnSect;
  TDataEdit* deXGS;    // increment length
  TDataEdit* DeFH;     // free height (feet shown for English units)
  TDataEdit* deXLN;    // maximum allowable deflection of the iteration
  TDataEdit* deSlope;  // deflection closure tolerance

 private:
  void btnSectClick();
};

}  // namespace terraq::ui
