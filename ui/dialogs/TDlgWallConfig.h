#pragma once
// TDlgWallConfig, "Wall Configuration": the geometry the earth-pressure and p-y
// generators work from: free height, the widths of the wall units, water
// levels on both sides, the backfill slope, the uniform surcharge and the
// factor on the generated active pressure. Two sketches explain the names
// (section: H, DWb, DWe, beta, q; plan: Wa, Wp).

#include "dialogs/TDataDialog.h"

class QGroupBox;

namespace terraq::ui {

class TDlgWallConfig : public TDataDialog {
  Q_OBJECT

 public:
  explicit TDlgWallConfig(TDialogContext context, QWidget* parent = nullptr);

 private:
  void makeFields();
  void layOutFields();

  // Object names, which tests and scripts look up: grpCirc, deHL, deWidth,
  // deWp, deHW, DeHW2, deGw, beta, deSP.
  QGroupBox* group_;
  TDataEdit* freeHeight_;       // free height H (feet shown for English units)
  TDataEdit* activeWidth_;      // width for active earth pressure Wa
  TDataEdit* resistanceWidth_;  // width for p-y soil resistance Wp
  TDataEdit* waterBackfill_;    // depth to the water table, backfill side (feet)
  TDataEdit* waterExcavation_;  // depth to the water table, excavation side (feet)
  TDataEdit* activeFactor_;     // factor on the generated active earth pressure
  TDataEdit* backfillSlope_;    // backfill slope, degrees
  TDataEdit* surcharge_;        // uniform surcharge q (lb/ft^2 shown for English units)
};

}  // namespace terraq::ui
