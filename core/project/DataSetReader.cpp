#include "project/DataSetReader.h"

#include <algorithm>
#include <charconv>

#include "api/Units.h"
#include "controls/UnitsCode.h"
#include "project/SoilParameterLines.h"
#include "project/StageFiles.h"

namespace terraq::ui {

namespace {

using engine::api::RecordKind;

// Rows accepted for a table without an upper limit: as many as the engine
// can hold in its earth-pressure table.
constexpr int kUnlimitedTableRows = 1200;

engine::api::DataLayout WalkLayout(int layout) {
  if (layout == kLayoutCurrent) return engine::api::DataLayout::Current;
  return layout == kLayout30 ? engine::api::DataLayout::Version30
                             : engine::api::DataLayout::Version20;
}

// The records each set holds for itself: the distributed load and the soil
// layers; everything else a project holds once, for both analyses.
bool OwnToEachSet(RecordKind kind) {
  switch (kind) {
    case RecordKind::PressureCount:
    case RecordKind::Pressure:
    case RecordKind::LayerCount:
    case RecordKind::LayerLine:
    case RecordKind::LayerTop:
    case RecordKind::LayerBase: return true;
    default: return false;
  }
}

}  // namespace

int DataSetReader::read(bool longTerm, bool stageBlock) {
  longTerm_ = longTerm;
  stageBlock_ = stageBlock;
  engine::api::ControlValues control{};
  engine::api::WalkProblem(*this, WalkLayout(layout_), control);
  const int stages = layout_ == kLayout20 ? 1 : control[engine::api::kStagesAt];
  options(control, stages);
  return layout_ == kLayout20 ? 0 : stages;
}

double DataSetReader::next(char type) {
  std::string text;
  double value = 0;
  if (type == 'r') {
    value = r_.NextReal();
    char digits[32];
    text.assign(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
  } else {
    const int integer = r_.NextInteger();
    value = integer;
    text = std::to_string(integer);
  }
  if (shared_ && sharing_) shared_->push_back({std::move(text), r_.Line(), r_.Item()});
  read_.push_back({r_.Line(), r_.Item()});
  return value;
}

void DataSetReader::title() {
  const std::string title = r_.RestOfLine();
  // The line is trimmed: look for the marker without its leading blank.
  const bool stageMarker = title.find(kStageMarker.substr(1)) != std::string::npos;
  if (!longTerm_ && !(stageBlock_ && stageMarker)) d_.ProjectTitle = title;
}

void DataSetReader::record(const engine::api::RecordPlace& place, std::vector<double>& values) {
  if (place.kind == RecordKind::Title) return title();
  sharing_ = !OwnToEachSet(place.kind);
  read_.clear();
  const std::string_view types = engine::api::ValuesOf(place.kind, WalkLayout(layout_));
  for (size_t v = 0; v < types.size(); ++v) {
    values.push_back(next(types[v]));
    if (place.kind == RecordKind::Control) controlValue(v, values.back());
  }
  if (place.kind == RecordKind::Control) control_ = read_;
  store(place, values);
}

// The units at once, so that values still held convert with the project;
// the stage count refused where it stands.
void DataSetReader::controlValue(size_t index, double value) {
  if (index == engine::api::kUnitsAt) d_.SetUnits(static_cast<int>(value));
  if (index == engine::api::kStagesAt && (value < 0 || value > kMaxStages))
    r_.Fail("The number of stages must be from 1 to 5.");
}

void DataSetReader::size(TGridTable& table, int count, Position at) {
  const int most = table.MaxRows() > 0 ? table.MaxRows() : kUnlimitedTableRows;
  if (count < 0 || count > most)
    r_.FailAt(at.line, at.item,
              std::to_string(count) + " rows were given for the table \"" + table.Caption() +
                  "\", which holds 0 to " + std::to_string(most) + ".");
  table.SetRowCount(count);
}

void DataSetReader::rows(RecordKind kind, int count, int owner) {
  using namespace engine::api;
  // The table, and where its count stood: on the control record or the
  // record just read (a count record, a curve's head).
  TGridTable* table = nullptr;
  Position at = read_.empty() ? Position{} : read_.front();
  switch (kind) {
    case RecordKind::Restraint: table = &t_.Restraints, at = control_[kRestraintsAt]; break;
    case RecordKind::Stiffness: table = &t_.PileSect, at = control_[kStiffnessRowsAt]; break;
    case RecordKind::PyModification: table = &t_.PYMod, at = control_[kModificationRowsAt]; break;
    case RecordKind::Load: table = &t_.ConcentratedLoads, loads_ = count; break;
    case RecordKind::Spring: table = &t_.Springs, springs_ = count; break;
    case RecordKind::Pressure:
      table = longTerm_ ? &t_.LongTermEarthPressure : &t_.EarthPressure;
      break;
    case RecordKind::SurchargeLoad: table = &t_.SurchargeTable, surchargeRows_ = count; break;
    case RecordKind::LayerLine: table = longTerm_ ? &t_.LongTermSoilLayers : &t_.SoilLayers; break;
    case RecordKind::CurveHead:
      if (count <= 0) return;
      table = &t_.PYCurves, at = control_[kCurvesAt];
      break;
    case RecordKind::MomentEiHead:
      if (count <= 0) return;
      table = &t_.MEICurves, at = control_[kMomentEiCurvesAt];
      break;
    case RecordKind::CurvePoint:
      table = t_.PYCurves.Cell(1, owner).SubTable(), at = read_[1];
      if (!table) r_.FailAt(at.line, at.item, "A curve without a point table was found.");
      break;
    case RecordKind::MomentEi:
      table = t_.MEICurves.Cell(2, owner).SubTable(), at = read_[2];
      if (!table) r_.FailAt(at.line, at.item, "A curve without a point table was found.");
      break;
    default: return;
  }
  size(*table, count, at);
}

// The values of a record into the columns of its table's row (-1: a value
// the table does not hold, such as a point count), reals back in display
// units.
void DataSetReader::cells(TGridTable& table, int row, const engine::api::RecordPlace& place,
                          const std::vector<double>& values, std::initializer_list<int> columns) {
  const std::string_view types = engine::api::ValuesOf(place.kind, WalkLayout(layout_));
  size_t v = 0;
  for (int column : columns) {
    if (v >= values.size()) break;  // older layouts: fewer values
    const char type = types[v];
    const double value = values[v++];
    if (column < 0) continue;
    if (type != 'r') {
      table.Cell(column, row).SetInteger(static_cast<int>(value));
      continue;
    }
    auto& c = static_cast<TFloatColumn&>(table.Column(column));
    table.Cell(column, row).SetFloat(value / FileFactor(c.UnitsCode, d_.Units));
  }
}

void DataSetReader::store(const engine::api::RecordPlace& place,
                          const std::vector<double>& values) {
  const int row = place.row;
  switch (place.kind) {
    case RecordKind::Wall: return wall(values);
    case RecordKind::Restraint: return cells(t_.Restraints, row, place, values, {0, 1, 2, 3});
    case RecordKind::Stiffness: return cells(t_.PileSect, row, place, values, {0, 1, 2, 3});
    case RecordKind::Load:
      return cells(t_.ConcentratedLoads, row, place, values, {0, 1, 2, 3, 4, 5});
    case RecordKind::Spring: return cells(t_.Springs, row, place, values, {1, 2, 0, 3, 4});
    case RecordKind::PyModification: return cells(t_.PYMod, row, place, values, {0, 1, 2});
    case RecordKind::Pressure:
      return cells(longTerm_ ? t_.LongTermEarthPressure : t_.EarthPressure, row, place, values,
                   {0, 1});
    case RecordKind::WallConfiguration: return wallConfiguration(values);
    case RecordKind::Surcharge: return surcharge(values);
    case RecordKind::SurchargeLoad:
      return cells(t_.SurchargeTable, row, place, values, {0, 1, 2, 3});
    case RecordKind::LayerLine: return layerLine(row, values);
    case RecordKind::LayerTop: return layerParameters(row, 0, values);
    case RecordKind::LayerBase: return layerParameters(row, 1, values);
    case RecordKind::CurveHead: return cells(t_.PYCurves, row, place, values, {0, -1, 2, 3});
    case RecordKind::CurvePoint:
      return cells(*t_.PYCurves.Cell(1, row).SubTable(), place.point, place, values, {0, 1});
    case RecordKind::MomentEiHead: return cells(t_.MEICurves, row, place, values, {0, 1, -1});
    case RecordKind::MomentEi:
      return cells(*t_.MEICurves.Cell(2, row).SubTable(), place.point, place, values, {0, 1});
    default: return;  // the control record and the counts: the walk and rows() take them
  }
}

void DataSetReader::wall(const std::vector<double>& values) {
  d_.IncrementCount = static_cast<int>(values[0]);
  d_.IncrementLength = values[1];
  d_.MaxDeflection = values[2];
  d_.DeflectionTolerance = values[3];
  d_.FreeHeight = values[4];
}

void DataSetReader::wallConfiguration(const std::vector<double>& values) {
  d_.FreeHeight = values[0];
  d_.ActiveWidth = values[1];
  d_.ResistanceWidth = values[2];
  d_.WaterDepthBackfill = values[3];
  d_.WaterDepthExcavation = values[4];
  // A factor of 0.036 in older files was the unit weight of water put in
  // the wrong place; it stands for no modification.
  d_.ActivePressureFactor = values[5] == 0.036 ? 1.0 : values[5];
  d_.PressureSwitch = static_cast<int>(values[6]);
  d_.BackfillSlope = values[7];
}

void DataSetReader::surcharge(const std::vector<double>& values) {
  d_.SurchargePressure = values[0];
  d_.LegacySurchargeDistance = values[1];
  d_.LegacyPointLoad = values[2];
  d_.LegacyLineLoad = values[3];
  d_.LegacyStripLoad = values[4];
  d_.LegacyStripWidth = values[5];
  surchargeRows_ = 0;
  if (layout_ == kLayoutCurrent || d_.LegacySurchargeDistance <= 0) return;
  // The single surcharge of older files becomes a point, a line and a strip
  // load at the same distance. Its distance and width are in the wall's
  // length unit (inches or metres); the table holds them in its smaller one
  // (inches or millimetres).
  using engine::api::Quantity;
  const engine::api::UnitsSystem system = engine::api::UnitsSystemOf(d_.Units);
  const double toTable = engine::api::UnitOf(Quantity::Length, system).toSI /
                         engine::api::UnitOf(Quantity::SmallLength, system).toSI;
  TGridTable& s = t_.SurchargeTable;
  s.SetRowCount(3);
  const double loads[3] = {d_.LegacyPointLoad, d_.LegacyLineLoad, d_.LegacyStripLoad};
  for (int row = 0; row < 3; ++row) {
    s.Cell(0, row).SetInteger(row + 1);
    s.Cell(1, row).SetFloat(loads[row]);
    s.Cell(2, row).SetFloat(d_.LegacySurchargeDistance * toTable);
    s.Cell(3, row).SetFloat(d_.LegacyStripWidth * toTable);
  }
  surchargeRows_ = 3;
}

void DataSetReader::layerLine(int layer, const std::vector<double>& values) {
  TGridTable& soil = longTerm_ ? t_.LongTermSoilLayers : t_.SoilLayers;
  soil.Cell(0, layer).SetInteger(
      static_cast<int>(values[0]));  // a new type brings a fresh parameter table
  if (layout_ != kLayout20) return cells(soil, layer, {RecordKind::LayerLine}, values, {-1, 1});
  // Layer thicknesses, summed to bottom depths, as held.
  if (layer == 0) bottom_ = 0;
  bottom_ += values[1];
  soil.Cell(1, layer).SetFloat(bottom_);
}

// One parameter line of a layer (2.0: one line of five values for top and
// bottom, as held).
void DataSetReader::layerParameters(int layer, int line, const std::vector<double>& values) {
  TGridTable& soil = longTerm_ ? t_.LongTermSoilLayers : t_.SoilLayers;
  const int type = soil.Column(0).Integer(layer);
  TGridTable* parameters = soil.Cell(2, layer).SubTable();
  const bool both = layout_ == kLayout20;
  for (size_t position = 0; position < values.size(); ++position) {
    const int column = SoilParameterColumn(type, static_cast<int>(position));
    if (!parameters || column < 0 || column >= parameters->ColumnCount()) continue;
    const auto& c = static_cast<const TFloatColumn&>(parameters->Column(column));
    const double value = values[position];
    const long double held = both ? value : value / FileFactor(c.UnitsCode, d_.Units);
    for (int target = 0; target < parameters->RowCount(); ++target)
      if (both || target == line) parameters->Cell(column, target).SetFloat(held);
  }
}

// The options follow from what the file holds.
void DataSetReader::options(const engine::api::ControlValues& control, int stages) {
  using namespace engine::api;
  const int ep = control[kEarthPressureAt], py = control[kPyModeAt];
  const int curves = control[kCurvesAt], momentEi = control[kMomentEiCurvesAt];
  d_.UseRestraints = control[kRestraintsAt] > 0;
  d_.UseConcentratedLoads = loads_ > 0;
  d_.UseSprings = springs_ > 0;
  d_.UseSurcharge = surchargeRows_ > 0;
  d_.UseExternalPY = curves > 0;
  d_.UsePYMod = control[kModificationRowsAt] > 0;
  d_.UseMEICurves = momentEi > 0;
  d_.UserPressure = HasSpecifiedPressure(ep);
  if (py == 2) d_.GeneratePY = true;
  else if (py < 2) d_.GeneratePY = false;
  d_.PressureGenerated = ep >= 2;
  d_.EarthPressureOption = ep;
  d_.EarthPressureMode = ep;
  d_.PYMode = py;
  d_.MEICurveCount = momentEi;
  d_.StageCount = std::max(1, stages);
  d_.CurrentStage = std::min(std::max(1, d_.CurrentStage), d_.StageCount);
}

}  // namespace terraq::ui
