// Writing the data file and the stage blocks of a project (the current
// layout). Every record is one line with CR LF; values are separated by TAB
// or SPACE exactly as the engine and older readers expect; reals take the
// shortest form with at most 8 significant digits. Tables hold values as
// displayed (feet, lb/ft^3 for English units); the file holds base units
// (inches, lb/in^3), so each real cell is scaled by the file factor of its
// units code.

#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "controls/NumberFormat.h"
#include "controls/UnitsCode.h"
#include "project/AtomicFile.h"
#include "project/SoilParameterLines.h"
#include "project/StageFiles.h"
#include "project/TProgramData.h"
#include "project/TWordReader.h"

namespace terraq::ui {

namespace {

// A number that is not finite is refused (the reader and the engine would
// stop on the file). The whole text is built before anything is written, so
// the old file stays as it was.
[[noreturn]] void refuseNonFinite(const std::string& what, double value) {
  throw EInOutError("The project cannot be saved: " + what + " holds " + FormatFileReal(value) +
                    "; a data file holds finite numbers only.");
}

std::string real(double value, const char* what) {
  if (!std::isfinite(value)) refuseNonFinite(what, value);
  return FormatFileReal(value);
}

std::string integer(int value) { return std::to_string(value); }

class RecordWriter {
 public:
  RecordWriter(TProgramData& data, std::string& out) : d_(data), t_(data.Tables()), out_(out) {}

  void line(const std::string& text) { out_ += text + "\r\n"; }

  // One cell of a table as written in the file.
  std::string cell(TGridTable& table, int column, int row) {
    const TColumn& c = table.Column(column);
    if (c.Class() == ColumnClass::Float) {
      const auto& f = static_cast<const TFloatColumn&>(c);
      const auto value = static_cast<double>(f.Float(row) * FileFactor(f.UnitsCode, d_.Units));
      if (!std::isfinite(value)) {
        const std::string& name = table.Caption().empty() ? table.Name() : table.Caption();
        refuseNonFinite("the table \"" + name + "\" (row " + integer(row + 1) + ", column " + integer(column + 1) + ")",
                        value);
      }
      return FormatFileReal(value);
    }
    return integer(c.Integer(row));
  }

  // Every row of a table: the given columns, TAB-separated.
  void rows(TGridTable& table, std::initializer_list<int> columns) {
    for (int r = 0; r < table.RowCount(); ++r) {
      std::string text;
      for (int c : columns) text += (text.empty() ? "" : "\t") + cell(table, c, r);
      line(text);
    }
  }

  // Records 1 to 15 of one data set.
  void dataSet(const std::string& firstLine, bool longTerm) {
    TGridTable& dist = longTerm ? t_.LongTermEarthPressure : t_.EarthPressure;
    TGridTable& soil = longTerm ? t_.LongTermSoilLayers : t_.SoilLayers;
    const int ep = d_.EarthPressureMode, py = d_.PYMode;

    line(firstLine);
    line(integer(d_.Units) + " " + integer(t_.Restraints.RowCount()) + "\t" +
         integer(t_.PileSect.RowCount()) + "\t" + integer(t_.PYMod.RowCount()) + "\t" +
         integer(ep) + "\t" + integer(py) + " " + integer(t_.PYCurves.RowCount()) + " " +
         integer(d_.StageCount) + " " + integer(d_.MEICurveCount));
    line(integer(d_.IncrementCount) + " " + real(d_.IncrementLength, "the increment length") + "\t" +
         real(d_.MaxDeflection, "the largest deflection") + "\t" +
         real(d_.DeflectionTolerance, "the deflection tolerance") + "\t" + real(d_.FreeHeight, "the free height"));
    rows(t_.Restraints, {0, 1, 2, 3});       // 4: case, node, deflection, slope
    rows(t_.PileSect, {0, 1, 2, 3});         // 5: from, to, mode, EI
    line(integer(t_.ConcentratedLoads.RowCount()));  // 6: mode, from, to, load, moment, axial load
    rows(t_.ConcentratedLoads, {0, 1, 2, 3, 4, 5});
    if (!d_.UseSprings) t_.Springs.SetRowCount(0);
    line(integer(t_.Springs.RowCount()));  // 7: from, to, mode, lateral, rotational
    rows(t_.Springs, {1, 2, 0, 3, 4});
    rows(t_.PYMod, {0, 1, 2});  // 8: depth, p and y multipliers
    if (ep == 1) {              // 9: specified earth pressure
      line(integer(dist.RowCount()));
      rows(dist, {0, 1});
    }
    if (ep == 2 || ep == 3 || py == 2) {
      line(real(d_.FreeHeight, "the free height") + "\t" + real(d_.ActiveWidth, "the active width") + "\t" +
           real(d_.ResistanceWidth, "the resistance width") + "\t" +
           real(d_.WaterDepthBackfill, "the water depth of the backfill") + "\t" +
           real(d_.WaterDepthExcavation, "the water depth of the excavation") + "\t" +
           real(d_.ActivePressureFactor, "the active pressure factor") + "\t" + integer(d_.PressureSwitch) + "\t" +
           real(d_.BackfillSlope, "the backfill slope"));
      line(real(d_.SurchargePressure, "the surcharge pressure") + "\t" +
           real(d_.LegacySurchargeDistance, "the surcharge distance") + "\t" +
           real(d_.LegacyPointLoad, "the point load") + "\t" + real(d_.LegacyLineLoad, "the line load") + "\t" +
           real(d_.LegacyStripLoad, "the strip load") + "\t" + real(d_.LegacyStripWidth, "the strip width"));
      if (!d_.UseSurcharge) t_.SurchargeTable.SetRowCount(0);
      line(integer(t_.SurchargeTable.RowCount()));  // 12: type, magnitude, distance, width
      rows(t_.SurchargeTable, {0, 1, 2, 3});
      soilLayers(soil);
    }
    if (d_.UseExternalPY && t_.PYCurves.RowCount() > 0) externalCurves();
    if (d_.UseMEICurves && d_.MEICurveCount > 0) momentCurves();
  }

  // Record 13: per layer its type and bottom depth, then the parameter lines
  // of its top and bottom.
  void soilLayers(TGridTable& soil) {
    line(integer(soil.RowCount()));
    for (int r = 0; r < soil.RowCount(); ++r) {
      const int type = soil.Column(0).Integer(r);
      line(integer(type) + " " + cell(soil, 1, r) + " ");
      TGridTable* parameters = soil.Cell(2, r).SubTable();
      for (int row = 0; row < 2; ++row) {
        std::string text;
        for (int position = 0; position < kParameterPositions; ++position) {
          const int column = SoilParameterColumn(type, position);
          const bool present =
              parameters && column >= 0 && column < parameters->ColumnCount() && row < parameters->RowCount();
          text += present ? cell(*parameters, column, row) + " " : std::string("0.0  ");
        }
        line(text);
      }
    }
  }

  // Record 14: per curve its node, point count and multipliers, then y, p.
  void externalCurves() {
    TGridTable& curves = t_.PYCurves;
    for (int r = 0; r < curves.RowCount(); ++r) {
      TGridTable* points = curves.Cell(1, r).SubTable();
      const int count = points ? points->RowCount() : 0;
      line(cell(curves, 0, r) + "\t" + integer(count) + "\t" + cell(curves, 2, r) + "\t" + cell(curves, 3, r));
      if (points) rows(*points, {0, 1});
    }
  }

  // Record 15: per curve its nodes and point count, then moment, EI.
  void momentCurves() {
    TGridTable& curves = t_.MEICurves;
    for (int r = 0; r < curves.RowCount(); ++r) {
      TGridTable* points = curves.Cell(2, r).SubTable();
      const int count = points ? points->RowCount() : 0;
      line(cell(curves, 0, r) + "\t" + cell(curves, 1, r) + "\t" + integer(count));
      if (points) rows(*points, {0, 1});
    }
  }

 private:
  TProgramData& d_;
  TProjectTables& t_;
  std::string& out_;
};

// Brings the project into the form its file describes. The changes stay in
// memory: what is saved is what the program then shows.
void normalise(TProgramData& d) {
  TProjectTables& t = d.Tables();
  d.ProjectTitle = FileTitle(d.ProjectTitle);
  if (!d.UseConcentratedLoads) t.ConcentratedLoads.SetRowCount(0);
  if (!d.UseRestraints) t.Restraints.SetRowCount(0);
  if (!d.UseExternalPY) t.PYCurves.SetRowCount(0);
  if (!d.UsePYMod) t.PYMod.SetRowCount(0);
  d.EarthPressureMode = d.WrittenEarthPressureMode();
  d.PYMode = d.GeneratePY ? 2 : (d.UseExternalPY ? 1 : 0);
  d.MEICurveCount = d.UseMEICurves ? t.MEICurves.RowCount() : 0;
  if (const int last = t.PileSect.RowCount() - 1; last >= 0 && t.PileSect.Column(2).Integer(last) != 1)
    t.PileSect.Cell(2, last).SetInteger(1);
}

}  // namespace

std::string TProgramData::DataFileText() {
  normalise(*this);
  std::string out;
  RecordWriter writer(*this, out);
  writer.dataSet(ProjectTitle, false);
  writer.line(LongTerm ? "9" : "0");
  if (LongTerm) {
    writer.dataSet(ProjectTitle, true);
    writer.line("0");
  }
  return out;
}

void TProgramData::SaveAs(const std::filesystem::path& file) {
  WriteFileAtomically(file, DataFileText());
  DataFileName = file.string();
  ClearModified();
}

void TProgramData::Save() {
  if (DataFileName == kNewFileName) throw std::logic_error("a project that was never saved needs a name first");
  SaveAs(DataFileName);
}

std::string TProgramData::StageBlockText(int stage) {
  normalise(*this);
  std::string out;
  RecordWriter writer(*this, out);
  writer.dataSet(stage == 1 ? ProjectTitle : std::string(kStageMarker) + " " + std::to_string(stage), false);
  writer.line(std::to_string(stage));
  return out;
}

void TProgramData::SaveStageBlock() {
  WriteFileAtomically(StageFileName(DataFileName, CurrentStage), StageBlockText(CurrentStage));
}

void TProgramData::SaveStaged() {
  std::string out;
  for (int k = 1; k <= StageCount; ++k) {
    StageLines = SplitTextLines(ReadWholeFile(StageFileName(DataFileName, k)));
    for (const std::string& line : StageLines) out += line + "\r\n";
  }
  StageLines.clear();
  WriteFileAtomically(DataFileName, out);
  ClearModified();
}

}  // namespace terraq::ui
