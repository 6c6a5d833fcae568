// Writing the data file and the stage blocks of a project (the current
// layout). Every record is one line with CR LF; values are separated by TAB
// or SPACE exactly as the engine and older readers expect; reals take the
// shortest form with at most 8 significant digits. Tables hold values as
// displayed (feet, lb/ft^3 for English units); the file holds base units
// (inches, lb/in^3), so each real cell is scaled by the file factor of its
// units code.

#include <algorithm>
#include <charconv>
#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "api/DataRecords.h"
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

// Writes the records in the data file's order (engine/api/DataRecords.h),
// which takes the row counts from the lines written.
class RecordWriter : public engine::api::RecordVisitor {
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
        refuseNonFinite("the table \"" + name + "\" (row " + integer(row + 1) + ", column " +
                            integer(column + 1) + ")",
                        value);
      }
      return FormatFileReal(value);
    }
    return integer(c.Integer(row));
  }

  // One row of a table: the given columns, TAB-separated.
  std::string row(TGridTable& table, int r, std::initializer_list<int> columns) {
    std::string text;
    for (int c : columns) text += (text.empty() ? "" : "\t") + cell(table, c, r);
    return text;
  }

  // Records 1 to 15 of one data set.
  void dataSet(const std::string& firstLine, bool longTerm) {
    firstLine_ = firstLine;
    longTerm_ = longTerm;
    engine::api::ControlValues control{};
    engine::api::WalkProblem(*this, engine::api::DataLayout::Current, control);
  }

  void record(const engine::api::RecordPlace& place, std::vector<double>& values) override {
    if (place.kind == engine::api::RecordKind::Title) return line(firstLine_);
    const std::string text = lineOf(place);
    line(text);
    // The values as written, for the walk to take its counts from.
    for (size_t at = text.find_first_not_of(" \t"); at != std::string::npos;
         at = text.find_first_not_of(" \t", at)) {
      const size_t end = std::min(text.find_first_of(" \t", at), text.size());
      double value = 0;
      std::from_chars(text.data() + at, text.data() + end, value);
      values.push_back(value);
      at = end;
    }
  }

 private:
  TGridTable& distributedLoad() { return longTerm_ ? t_.LongTermEarthPressure : t_.EarthPressure; }
  TGridTable& soil() { return longTerm_ ? t_.LongTermSoilLayers : t_.SoilLayers; }

  std::string lineOf(const engine::api::RecordPlace& place) {
    using engine::api::RecordKind;
    const int r = place.row;
    switch (place.kind) {
      case RecordKind::Control: return controlLine();
      case RecordKind::Wall: return wallLine();
      case RecordKind::Restraint:
        return row(t_.Restraints, r, {0, 1, 2, 3});  // case, node, deflection, slope
      case RecordKind::Stiffness: return row(t_.PileSect, r, {0, 1, 2, 3});  // from, to, mode, EI
      case RecordKind::LoadCount: return integer(t_.ConcentratedLoads.RowCount());
      case RecordKind::Load: return row(t_.ConcentratedLoads, r, {0, 1, 2, 3, 4, 5});
      case RecordKind::SpringCount:
        if (!d_.UseSprings) t_.Springs.SetRowCount(0);
        return integer(t_.Springs.RowCount());
      case RecordKind::Spring:
        return row(t_.Springs, r, {1, 2, 0, 3, 4});  // from, to, mode, lateral, rotational
      case RecordKind::PyModification: return row(t_.PYMod, r, {0, 1, 2});
      case RecordKind::PressureCount: return integer(distributedLoad().RowCount());
      case RecordKind::Pressure: return row(distributedLoad(), r, {0, 1});
      case RecordKind::WallConfiguration: return configurationLine();
      case RecordKind::Surcharge: return surchargeLine();
      case RecordKind::SurchargeCount:
        if (!d_.UseSurcharge) t_.SurchargeTable.SetRowCount(0);
        return integer(t_.SurchargeTable.RowCount());
      case RecordKind::SurchargeLoad: return row(t_.SurchargeTable, r, {0, 1, 2, 3});
      case RecordKind::LayerCount: return integer(soil().RowCount());
      case RecordKind::LayerLine:
        return integer(soil().Column(0).Integer(r)) + " " + cell(soil(), 1, r) + " ";
      case RecordKind::LayerTop: return parameterLine(r, 0);
      case RecordKind::LayerBase: return parameterLine(r, 1);
      case RecordKind::CurveHead: return curveHead(r);
      case RecordKind::CurvePoint:
        return row(*t_.PYCurves.Cell(1, r).SubTable(), place.point, {0, 1});
      case RecordKind::MomentEiHead: return momentEiHead(r);
      case RecordKind::MomentEi:
        return row(*t_.MEICurves.Cell(2, r).SubTable(), place.point, {0, 1});
      case RecordKind::Title:
      case RecordKind::EndCode: break;
    }
    return {};
  }

  std::string controlLine() {
    return integer(d_.Units) + " " + integer(t_.Restraints.RowCount()) + "\t" +
           integer(t_.PileSect.RowCount()) + "\t" + integer(t_.PYMod.RowCount()) + "\t" +
           integer(d_.EarthPressureMode) + "\t" + integer(d_.PYMode) + " " +
           integer(t_.PYCurves.RowCount()) + " " + integer(d_.StageCount) + " " +
           integer(d_.MEICurveCount);
  }

  std::string wallLine() {
    return integer(d_.IncrementCount) + " " + real(d_.IncrementLength, "the increment length") +
           "\t" + real(d_.MaxDeflection, "the largest deflection") + "\t" +
           real(d_.DeflectionTolerance, "the deflection tolerance") + "\t" +
           real(d_.FreeHeight, "the free height");
  }

  std::string configurationLine() {
    return real(d_.FreeHeight, "the free height") + "\t" +
           real(d_.ActiveWidth, "the active width") + "\t" +
           real(d_.ResistanceWidth, "the resistance width") + "\t" +
           real(d_.WaterDepthBackfill, "the water depth of the backfill") + "\t" +
           real(d_.WaterDepthExcavation, "the water depth of the excavation") + "\t" +
           real(d_.ActivePressureFactor, "the active pressure factor") + "\t" +
           integer(d_.PressureSwitch) + "\t" + real(d_.BackfillSlope, "the backfill slope");
  }

  std::string surchargeLine() {
    return real(d_.SurchargePressure, "the surcharge pressure") + "\t" +
           real(d_.LegacySurchargeDistance, "the surcharge distance") + "\t" +
           real(d_.LegacyPointLoad, "the point load") + "\t" +
           real(d_.LegacyLineLoad, "the line load") + "\t" +
           real(d_.LegacyStripLoad, "the strip load") + "\t" +
           real(d_.LegacyStripWidth, "the strip width");
  }

  // The parameters of a layer's top (row 0) or bottom (row 1), by position.
  std::string parameterLine(int layer, int row) {
    const int type = soil().Column(0).Integer(layer);
    TGridTable* parameters = soil().Cell(2, layer).SubTable();
    std::string text;
    for (int position = 0; position < kParameterPositions; ++position) {
      const int column = SoilParameterColumn(type, position);
      const bool present = parameters && column >= 0 && column < parameters->ColumnCount() &&
                           row < parameters->RowCount();
      text += present ? cell(*parameters, column, row) + " " : std::string("0.0  ");
    }
    return text;
  }

  // An external p-y curve: its node, point count and multipliers.
  std::string curveHead(int r) {
    TGridTable& curves = t_.PYCurves;
    const TGridTable* points = curves.Cell(1, r).SubTable();
    const int count = points ? points->RowCount() : 0;
    return cell(curves, 0, r) + "\t" + integer(count) + "\t" + cell(curves, 2, r) + "\t" +
           cell(curves, 3, r);
  }

  // A moment-EI curve: its nodes and point count.
  std::string momentEiHead(int r) {
    TGridTable& curves = t_.MEICurves;
    const TGridTable* points = curves.Cell(2, r).SubTable();
    const int count = points ? points->RowCount() : 0;
    return cell(curves, 0, r) + "\t" + cell(curves, 1, r) + "\t" + integer(count);
  }

  std::string firstLine_;
  bool longTerm_ = false;
  TProgramData& d_;
  TProjectTables& t_;
  std::string& out_;
};

// Brings the project into the form its file describes. The changes stay in
// memory: what is saved is what the program then shows. They are not the
// user's: a project that was unchanged stays so (the text is also made for
// windows that only read the project, as the Study window does on opening).
void normalise(TProgramData& d) {
  const bool modified = d.IsModified();
  TProjectTables& t = d.Tables();
  d.ProjectTitle = FileTitle(d.ProjectTitle);
  if (!d.UseConcentratedLoads) t.ConcentratedLoads.SetRowCount(0);
  if (!d.UseRestraints) t.Restraints.SetRowCount(0);
  if (!d.UseExternalPY) t.PYCurves.SetRowCount(0);
  if (!d.UsePYMod) t.PYMod.SetRowCount(0);
  d.EarthPressureMode = d.WrittenEarthPressureMode();
  d.PYMode = d.GeneratePY ? 2 : (d.UseExternalPY ? 1 : 0);
  d.MEICurveCount = d.UseMEICurves ? t.MEICurves.RowCount() : 0;
  if (const int last = t.PileSect.RowCount() - 1;
      last >= 0 && t.PileSect.Column(2).Integer(last) != 1)
    t.PileSect.Cell(2, last).SetInteger(1);
  if (!modified) d.ClearModified();
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
  if (DataFileName == kNewFileName)
    throw std::logic_error("a project that was never saved needs a name first");
  SaveAs(DataFileName);
}

std::string TProgramData::StageBlockText(int stage) {
  normalise(*this);
  std::string out;
  RecordWriter writer(*this, out);
  writer.dataSet(
      stage == 1 ? ProjectTitle : std::string(kStageMarker) + " " + std::to_string(stage), false);
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
