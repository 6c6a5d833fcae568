#pragma once
// TdlgCSD, "Wall Configuration": the geometry the earth-pressure and p-y
// generators work from: free height, the widths of the wall units, water
// levels on both sides, the backfill slope, the uniform surcharge and the
// factor on the generated active pressure. Two sketches explain the names
// (section: H, DWb, DWe, beta, q; plan: Wa, Wp).

#include "dialogs/TDataDialog.h"

class QGroupBox;

namespace terraq::ui {

class TdlgCSD : public TDataDialog {
  Q_OBJECT

 public:
  explicit TdlgCSD(TDialogContext context, QWidget* parent = nullptr);

  QGroupBox* grpCirc;
  TDataEdit* deHL;     // free height H (feet shown for English units)
  TDataEdit* deWidth;  // width for active earth pressure Wa
  TDataEdit* deWp;     // width for p-y soil resistance Wp
  TDataEdit* deHW;     // depth to the water table, backfill side (feet)
  TDataEdit* DeHW2;    // depth to the water table, excavation side (feet)
  TDataEdit* deGw;     // factor on the generated active earth pressure
  TDataEdit* beta;     // backfill slope, degrees
  TDataEdit* deSP;     // uniform surcharge q (lb/ft^2 shown for English units)
};

}  // namespace terraq::ui
