#include "DataRecords.h"

#include <istream>

#include "textio/FreeFormatReader.h"
#include "textio/TextBuffer.h"

namespace terraq::engine::api {

namespace {

struct Shape {
  RecordKind kind;
  std::string_view name;
  std::string_view values;  // current layout
};

// In the order of RecordKind.
constexpr Shape kShapes[] = {
    {RecordKind::Title, "title", ""},
    {RecordKind::Control, "control", "iiiiiiiii"},
    {RecordKind::Wall, "wall", "irrrr"},
    {RecordKind::Restraint, "restraint", "inrr"},
    {RecordKind::Stiffness, "stiffness", "nnir"},
    {RecordKind::LoadCount, "load count", "i"},
    {RecordKind::Load, "load", "innrrr"},
    {RecordKind::SpringCount, "spring count", "i"},
    {RecordKind::Spring, "spring", "nnirr"},
    {RecordKind::PyModification, "p-y modification", "rrr"},
    {RecordKind::PressureCount, "pressure count", "i"},
    {RecordKind::Pressure, "pressure", "rr"},
    {RecordKind::WallConfiguration, "wall configuration", "rrrrrrir"},
    {RecordKind::Surcharge, "surcharge", "rrrrrr"},
    {RecordKind::SurchargeCount, "surcharge count", "i"},
    {RecordKind::SurchargeLoad, "surcharge load", "irrr"},
    {RecordKind::LayerCount, "layer count", "i"},
    {RecordKind::LayerLine, "layer", "ir"},
    {RecordKind::LayerTop, "layer top", "rrrrrr"},
    {RecordKind::LayerBase, "layer base", "rrrrrr"},
    {RecordKind::CurveHead, "p-y curve", "nirr"},
    {RecordKind::CurvePoint, "p-y point", "rr"},
    {RecordKind::MomentEiHead, "moment-EI curve", "nni"},
    {RecordKind::MomentEi, "moment-EI point", "rr"},
    {RecordKind::EndCode, "end code", "i"},
};
static_assert(sizeof kShapes / sizeof kShapes[0] == static_cast<size_t>(RecordKind::EndCode) + 1);

constexpr bool AtMostTwoNodes() {
  for (const Shape& shape : kShapes) {
    int nodes = 0;
    for (char value : shape.values) nodes += value == 'n';
    if (nodes > 2) return false;
  }
  return true;
}
static_assert(AtMostTwoNodes(), "NodePositions holds two nodes");

constexpr const Shape& ShapeOf(RecordKind kind) { return kShapes[static_cast<size_t>(kind)]; }
static_assert(ShapeOf(RecordKind::MomentEi).kind == RecordKind::MomentEi, "kShapes out of order");

// A count or code of a record, or `held` when the record left it out.
int Integer(const std::vector<double>& values, size_t index, int held) {
  return index < values.size() ? static_cast<int>(values[index]) : held;
}

// The walk's own state: the visitor, the values of the record last visited.
class Walk {
 public:
  Walk(RecordVisitor& visitor, DataLayout layout) : visitor_(visitor), layout_(layout) {}

  const std::vector<double>& record(RecordKind kind, int row = 0, int point = 0) {
    values_.clear();
    visitor_.record({kind, row, point}, values_);
    return values_;
  }
  // A table whose row count the control record holds.
  template <class Rows>
  void table(RecordKind kind, int count, Rows&& rows, int owner = -1) {
    visitor_.rows(kind, count, owner);
    for (int row = 0; row < count; ++row) rows(row);
  }
  void rowsOf(RecordKind kind, int count) {
    table(kind, count, [&](int row) { record(kind, row); });
  }
  // A table led by a count record of its own.
  void countedRows(RecordKind countKind, RecordKind kind) {
    rowsOf(kind, Integer(record(countKind), 0, 0));
  }

  void soilData() {
    record(RecordKind::WallConfiguration);
    record(RecordKind::Surcharge);
    if (layout_ == DataLayout::Current)
      countedRows(RecordKind::SurchargeCount, RecordKind::SurchargeLoad);
    const int layers = Integer(record(RecordKind::LayerCount), 0, 0);
    table(RecordKind::LayerLine, layers, [&](int layer) {
      record(RecordKind::LayerLine, layer);
      record(RecordKind::LayerTop, layer);
      if (layout_ != DataLayout::Version20) record(RecordKind::LayerBase, layer);
    });
  }

  // Curves of points, each led by its head, which holds its point count.
  void curves(RecordKind head, RecordKind point, int count, size_t pointsAt) {
    table(head, count, [&](int curve) {
      const int points = Integer(record(head, curve), pointsAt, 0);
      table(
          point, points, [&](int p) { record(point, curve, p); }, curve);
    });
  }

 private:
  RecordVisitor& visitor_;
  DataLayout layout_;
  std::vector<double> values_;
};

}  // namespace

std::string_view ValuesOf(RecordKind kind, DataLayout layout) {
  const std::string_view values = ShapeOf(kind).values;
  if (layout == DataLayout::Current) return values;
  switch (kind) {
    case RecordKind::Control: return values.substr(0, layout == DataLayout::Version30 ? 8 : 7);
    case RecordKind::CurveHead: return values.substr(0, 2);
    case RecordKind::LayerTop:
      return layout == DataLayout::Version20 ? values.substr(0, 5) : values;
    default: return values;
  }
}

NodePositions NodesOf(RecordKind kind) {
  NodePositions nodes;
  const std::string_view values = ShapeOf(kind).values;
  for (size_t v = 0; v < values.size() && nodes.count < nodes.at.size(); ++v)
    if (values[v] == 'n') nodes.at[nodes.count++] = v;
  return nodes;
}

std::string_view NameOf(RecordKind kind) { return ShapeOf(kind).name; }

void WalkProblem(RecordVisitor& visitor, DataLayout layout, ControlValues& control) {
  Walk walk(visitor, layout);
  walk.record(RecordKind::Title);
  const std::vector<double>& c = walk.record(RecordKind::Control);
  for (size_t v = 0; v < kControlValues; ++v) control[v] = Integer(c, v, control[v]);
  walk.record(RecordKind::Wall);
  walk.rowsOf(RecordKind::Restraint, control[kRestraintsAt]);
  walk.rowsOf(RecordKind::Stiffness, control[kStiffnessRowsAt]);
  walk.countedRows(RecordKind::LoadCount, RecordKind::Load);
  walk.countedRows(RecordKind::SpringCount, RecordKind::Spring);
  walk.rowsOf(RecordKind::PyModification, control[kModificationRowsAt]);
  const int earthPressure = control[kEarthPressureAt];
  if (HasSpecifiedPressure(earthPressure))
    walk.countedRows(RecordKind::PressureCount, RecordKind::Pressure);
  if (HasSoilData(earthPressure, control[kPyModeAt])) walk.soilData();
  walk.curves(RecordKind::CurveHead, RecordKind::CurvePoint, control[kCurvesAt], 1);
  walk.curves(RecordKind::MomentEiHead, RecordKind::MomentEi, control[kMomentEiCurvesAt], 2);
}

namespace {

// Reads records with the engine's free-format reader, as the engine does.
class TextVisitor : public RecordVisitor {
 public:
  explicit TextVisitor(FreeFormatReader& reader) : reader_(reader) {}
  DataProblem problem;

  void record(const RecordPlace& place, std::vector<double>& values) override {
    DataRecord r{place.kind, place.row, place.point, {}, {}};
    if (place.kind == RecordKind::Title) {
      r.line = reader_.readLine();
    } else {
      const size_t asked = ValuesOf(place.kind).size();
      const FreeRecord read = reader_.read(static_cast<int>(asked));
      for (size_t v = 0; v < read.size() && v < asked; ++v) {
        double value = 0;
        read.assign(v, value);
        r.values.push_back(value);
      }
    }
    values = r.values;
    problem.push_back(std::move(r));
  }

 private:
  FreeFormatReader& reader_;
};

}  // namespace

bool ReadDataText(std::string_view text, const std::function<bool(DataProblem&&)>& take,
                  std::string& error) {
  TextBuffer buffer(text);
  std::istream in(&buffer);
  FreeFormatReader reader(in);
  ControlValues control{};
  try {
    for (;;) {
      TextVisitor visitor(reader);
      WalkProblem(visitor, DataLayout::Current, control);
      std::vector<double> end;
      visitor.record({RecordKind::EndCode, 0, 0}, end);
      const bool last = EndsRun(Integer(end, 0, 0), control[kStagesAt]);
      if (!take(std::move(visitor.problem)) || last) return true;
    }
  } catch (const InputError& e) {
    error = "line " + std::to_string(e.line()) + " of the data file cannot be read";
    return false;
  }
}

}  // namespace terraq::engine::api
