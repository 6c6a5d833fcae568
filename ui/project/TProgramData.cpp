#include "project/TProgramData.h"

#include <algorithm>

#include "project/AsciiLower.h"
#include "project/TWordReader.h"

namespace terraq::ui {

int LayoutForFile(const std::filesystem::path& path) {
  return AsciiLower(path.extension().string()) == ".tqd" ? kLayout30 : kLayoutCurrent;
}

TProgramData::TProgramData(TProjectTables& tables) : tables_(&tables) {
  tables_->Reset(Units);
}

TProgramData::TProgramData(TProjectTables& tables, const std::filesystem::path& file, int layout)
    : TProgramData(tables) {
  readText(ReadWholeFile(file), layout);
  DataFileName = file.string();
  ClearModified();
}

int TProgramData::WrittenEarthPressureMode() const {
  if (UserPressure) return 1;
  const bool generated = EarthPressureOption == 2 || EarthPressureOption == 3;
  return (GeneratePY || PressureGenerated) && generated ? EarthPressureOption : 0;
}

bool TProgramData::SurchargeLoadsKept() const { return GeneratePY || WrittenEarthPressureMode() >= 2; }

int SurchargeLoadsLostBy(const TProgramData& before, const TProgramData& after) {
  if (!before.UseSurcharge || !before.SurchargeLoadsKept() || after.SurchargeLoadsKept()) return 0;
  return before.Tables().SurchargeTable.RowCount();
}

void TProgramData::ClearModified() {
  Modified = false;
  tables_->ResetChanged();
}

void TProgramData::SetUnits(int system) {
  system = std::clamp(system, 1, 3);
  if (system == Units) return;
  // Lengths by a, forces by b. The two length factors are not exact
  // inverses (0.0254 * 39.3701 = 1.00000054): a round trip is close, not
  // exact.
  double a = 1, b = 1;
  if (Units == 1 && system == 2) {
    a = 0.0254;
    b = 0.004448222468060650624;
  } else if (Units == 2 && system == 1) {
    a = 39.3701;
    b = 224.8089;
  }
  for (double* length : {&IncrementLength, &MaxDeflection, &DeflectionTolerance, &FreeHeight, &WaterDepthBackfill,
                         &WaterDepthExcavation, &ActiveWidth, &ResistanceWidth, &LegacySurchargeDistance,
                         &LegacyStripWidth})
    *length *= a;
  SurchargePressure *= b / (a * a);
  LegacyStripLoad *= b / (a * a);
  LegacyPointLoad *= b;
  LegacyLineLoad *= b / a;
  Units = system;
  tables_->SetUnits(system);
  Modified = true;
}

}  // namespace terraq::ui
