#include "project/TProjectTables.h"

namespace terraq::ui {

TGridTable& TProjectTables::make(const TTableLibrary& library, const char* name) {
  owned_.push_back(library.Create(name));
  return *owned_.back();
}

TProjectTables::TProjectTables(const TTableLibrary& library)
    : PileSect(make(library, "PileSect")),
      Restraints(make(library, "SoilLayer")),
      ConcentratedLoads(make(library, "BoundCond")),
      Springs(make(library, "SoilStrength")),
      PYMod(make(library, "PYMod")),
      PYCurves(make(library, "PYCurves")),
      EarthPressure(make(library, "DistLoad")),
      LongTermEarthPressure(make(library, "LongDist")),
      SoilLayers(make(library, "NewSoil")),
      LongTermSoilLayers(make(library, "LongSoil")),
      SurchargeTable(make(library, "SurchargeTable")),
      MEICurves(make(library, "MEICurves")) {}

void TProjectTables::Reset(int units) {
  for (auto& table : owned_) {
    table->SetRowCount(0);
    table->SetUnits(units);  // nothing to convert in an empty table
    table->Reset();
    table->ResetChanged();
  }
}

void TProjectTables::SetUnits(int units) {
  for (auto& table : owned_) table->SetUnits(units);
}

bool TProjectTables::Changed() const {
  for (const auto& table : owned_)
    if (table->Changed()) return true;
  return false;
}

void TProjectTables::ResetChanged() {
  for (auto& table : owned_) table->ResetChanged();
}

void TProjectTables::TakeContent(const TProjectTables& source) {
  for (size_t k = 0; k < owned_.size() && k < source.owned_.size(); ++k)
    owned_[k]->TakeContent(*source.owned_[k]);
}

}  // namespace terraq::ui
