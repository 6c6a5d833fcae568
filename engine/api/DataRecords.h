#pragma once
// The records of the data file in the one order every reader and writer
// follows: the engine, the program's reader and writer, and the design
// library that rewrites problems for studies, design situations and
// construction sequences. A new record is one line of the shape table and
// one place in WalkProblem (DataRecords.cpp).
//
// One problem is: its title, the control record, the wall, then tables whose
// row counts stand on the control record (restraints, stiffness rows, p-y
// modification rows, external p-y curves, moment-EI curves) or on a count
// record of their own (loads, springs, pressure rows, surcharge loads,
// layers), and the records the control's options ask for (the specified
// earth pressure for option 1, the soil data for the generated pressure or
// curves). A problem ends with its end code: 0 or the stage count ends the
// run, any other value announces a further problem.
//
//   WalkProblem(visitor, DataLayout::Current, control);    // order, any source
//   ReadDataText(text, [&](DataProblem&& p) { ...; return true; }, error);
//
// Units: those of the data file. Thread safety: no shared state.

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace terraq::engine::api {

enum class RecordKind {
  Title,
  Control,
  Wall,
  Restraint,  // a specified deflection, slope, moment or shear at a node
  Stiffness,
  LoadCount,
  Load,
  SpringCount,
  Spring,
  PyModification,  // depth, p and y multipliers
  PressureCount,
  Pressure,  // a row of the specified earth pressure (depth, load)
  WallConfiguration,
  Surcharge,
  SurchargeCount,
  SurchargeLoad,  // type, magnitude, distance, width
  LayerCount,
  LayerLine,  // type and bottom depth (older layouts: thickness)
  LayerTop,   // parameters at the layer's top
  LayerBase,  // parameters at its base
  CurveHead,  // an external p-y curve: node, point count, multipliers
  CurvePoint,
  MomentEiHead,  // a moment-EI curve: from and to node, point count
  MomentEi,      // a point (moment, EI) of a moment-EI curve
  EndCode
};

// The layouts the program reads: the current one; 3.0 without the moment-EI
// curves, the surcharge table and the curves' multipliers; 2.0 also without
// the stage count, with layer thicknesses and one parameter line of five.
enum class DataLayout { Current, Version30, Version20 };

// The values of a record, one letter each: 'i' an integer, 'n' an integer
// that names a node (station), 'r' a real. The title holds a line instead.
std::string_view ValuesOf(RecordKind kind, DataLayout layout = DataLayout::Current);
// How many values a read of the record asks for.
inline int ValueCount(RecordKind kind) { return static_cast<int>(ValuesOf(kind).size()); }
// The positions of the values that name nodes (two at most: from and to).
struct NodePositions {
  std::array<size_t, 2> at{};
  size_t count = 0;
  const size_t* begin() const { return at.data(); }
  const size_t* end() const { return at.data() + count; }
};
NodePositions NodesOf(RecordKind kind);
// A short name for messages and tests ("restraint", "layer top").
std::string_view NameOf(RecordKind kind);

// The control record's values by position.
enum ControlAt : size_t {
  kUnitsAt,
  kRestraintsAt,
  kStiffnessRowsAt,
  kModificationRowsAt,
  kEarthPressureAt,  // 0 none, 1 specified table, 2 and 3 generated
  kPyModeAt,         // 2: generated curves
  kCurvesAt,
  kStagesAt,
  kMomentEiCurvesAt,
  kControlValues
};
using ControlValues = std::array<int, kControlValues>;

// What the control's options ask for.
constexpr bool HasSpecifiedPressure(int earthPressure) { return earthPressure == 1; }
constexpr bool HasSoilData(int earthPressure, int pyMode) {
  return earthPressure >= 2 || pyMode == 2;
}
// The end code that ends the run rather than announcing a further problem.
constexpr bool EndsRun(int endCode, int stages) { return endCode == 0 || endCode == stages; }

// Where a record stands: `row` is the row of its table (layers: the layer;
// curve and moment-EI heads and points: the curve), `point` the point of a
// curve.
struct RecordPlace {
  RecordKind kind = RecordKind::Title;
  int row = 0;
  int point = 0;
};

// A reader or writer of one source, driven by WalkProblem.
class RecordVisitor {
 public:
  virtual ~RecordVisitor() = default;
  // Before the `count` rows of a table (`kind` the kind of its rows; curve
  // points: `owner` the curve), whether the count was read or declared.
  virtual void rows(RecordKind kind, int count, int owner) { (void)kind, (void)count, (void)owner; }
  // Reads or writes one record; `values` receives them as read or written
  // (the walk takes its counts from them; a value left out keeps what the
  // walk held, 0 for a count).
  virtual void record(const RecordPlace& place, std::vector<double>& values) = 0;
};

// Walks one problem from its title to the record before its end code.
// `control` holds the control record's values and keeps, from problem to
// problem, those a record left out (as the engine keeps them).
void WalkProblem(RecordVisitor& visitor, DataLayout layout, ControlValues& control);

// One record as read from a text.
struct DataRecord {
  RecordKind kind = RecordKind::Title;
  int row = 0, point = 0;      // as RecordPlace
  std::vector<double> values;  // as read (fewer than asked: the read ended with "/")
  std::string line;            // the title
  size_t asked() const { return ValuesOf(kind).size(); }
};
using DataProblem = std::vector<DataRecord>;  // ends with its EndCode record

// Reads the problems of a data file (current layout) with the engine's
// free-format reader, one after the other up to the end code that ends the
// run, handing each to `take` (which returns false to stop). False with
// `error` set when the text cannot be read that far.
bool ReadDataText(std::string_view text, const std::function<bool(DataProblem&&)>& take,
                  std::string& error);

}  // namespace terraq::engine::api
