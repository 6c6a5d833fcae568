#pragma once
// The project tables: every data-entry table of a project, created from the
// program's table declarations. They live as long as the project object that
// owns them (the main window's, the terraq command's or a test's) and are
// reset, not replaced, by a new project, so that dialogs and table windows
// keep their references.

#include <memory>
#include <vector>

#include "tables/TableLibrary.h"

namespace terraq::ui {

class TProjectTables {
 public:
  explicit TProjectTables(const TTableLibrary& library = TTableLibrary::Program());
  TProjectTables(const TProjectTables&) = delete;
  TProjectTables& operator=(const TProjectTables&) = delete;

 private:
  std::vector<std::unique_ptr<TGridTable>> owned_;
  TGridTable& make(const TTableLibrary& library, const char* name);

 public:
  // Named for what they hold; the table declarations (resources/tables) and
  // the data file keep their historic keys, given in parentheses.
  TGridTable& PileSect;               // wall stiffness
  TGridTable& Restraints;             // specified deflection and slope (SoilLayer)
  TGridTable& ConcentratedLoads;      // (BoundCond)
  TGridTable& Springs;                // lateral and rotational springs (SoilStrength)
  TGridTable& PYMod;                  // p-y modification factors
  TGridTable& PYCurves;               // external p-y curves (sub-table per curve)
  TGridTable& EarthPressure;          // user-specified earth pressure (DistLoad)
  TGridTable& LongTermEarthPressure;  // the same, long-term case (LongDist)
  TGridTable& SoilLayers;             // sub-table of parameters per layer (NewSoil)
  TGridTable& LongTermSoilLayers;     // the same, long-term case (LongSoil)
  TGridTable& SurchargeTable;         // point, line and strip surcharge loads
  TGridTable& MEICurves;              // moment-EI curves (sub-table per curve)

  const std::vector<std::unique_ptr<TGridTable>>& All() const { return owned_; }

  // Every table emptied and refilled to its minimum rows of defaults, in
  // the given units system.
  void Reset(int units);
  // Switches every table to a units system (converting its values).
  void SetUnits(int units);
  bool Changed() const;
  void ResetChanged();
  // Every table takes the content of its namesake in `source` (tables of
  // the same library): how a state kept by the edit history comes back.
  void TakeContent(const TProjectTables& source);
};

}  // namespace terraq::ui
