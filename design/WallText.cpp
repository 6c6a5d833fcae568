#include "WallText.h"

#include <algorithm>
#include <charconv>
#include <cmath>


namespace terraq::design {

namespace {

// Where the control and the wall record stand: after the title.
constexpr size_t controlAt = 1, wallAt = 2;

// A count or code of a record as the engine would take it (values the read
// did not supply keep what they held, here as in the engine's control).
int Integer(const std::vector<double>& values, size_t index, int held) {
  return index < values.size() ? static_cast<int>(values[index]) : held;
}

// The shortest text that reads back as the same double (the engine reads
// with from_chars, correctly rounded); much faster than printf's 17 digits,
// which a study writing thousands of texts notices.
std::string Format(double value) {
  char text[32];
  const auto r = std::to_chars(text, text + sizeof text, value);
  return std::string(text, r.ptr);
}

}  // namespace

std::optional<WallText> WallText::Parse(std::string_view dataText, int problem,
                                        std::string& error) {
  std::vector<WallText> problems;
  if (!Walk(dataText, problem, problems, error)) return std::nullopt;
  return std::move(problems.back());
}

std::optional<std::vector<WallText>> WallText::ParseAll(std::string_view dataText,
                                                        std::string& error) {
  std::vector<WallText> problems;
  if (!Walk(dataText, -1, problems, error)) return std::nullopt;
  return problems;
}

// Walks the problems up to `problem` (-1: to the end of the run), keeping
// that one (or every one) in `problems`.
bool WallText::Walk(std::string_view dataText, int problem, std::vector<WallText>& problems,
                    std::string& error) {
  int index = 0;
  int units = 0;  // the control's units code, kept as the engine keeps it
  bool taken = true;
  auto take = [&](engine::api::DataProblem&& records) {
    const std::vector<double>& control = records[controlAt].values;
    units = Integer(control, engine::api::kUnitsAt, units);
    if (records[wallAt].values.size() < 2) {
      error = "the wall record gives no number of increments or increment length";
      return taken = false;
    }
    if (problem >= 0 && index++ != problem) return true;
    WallText wall;
    wall.units_ = units;
    wall.take(std::move(records));
    problems.push_back(std::move(wall));
    return problem < 0;
  };
  if (!engine::api::ReadDataText(dataText, take, error) || !taken) return false;
  if (problems.empty()) {
    error = "the data file has no problem " + std::to_string(problem + 1);
    return false;
  }
  return true;
}

void WallText::take(engine::api::DataProblem&& records) {
  records_ = std::move(records);
  endCode_ = Integer(records_.back().values, 0, 0);
  records_.pop_back();
  const std::vector<double>& g = records_[wallAt].values;
  increments_ = static_cast<int>(g[0]);
  incrementLength_ = g[1];
  for (const Record& r : records_) {
    for (size_t v : engine::api::NodesOf(r.kind)) {
      if (v >= r.values.size()) continue;
      const int node = static_cast<int>(r.values[v]);
      if (node == 0 || node == increments_) continue;
      nodesOnlyAtEnds_ = false;
      if (r.kind != RecordKind::CurveHead) deepestInnerNode_ = std::max(deepestInnerNode_, node);
    }
  }
}

void WallText::setStage(int stage, int stageCount) {
  const bool staged = stageCount > 1;
  std::vector<double>& control = records_[controlAt].values;
  if (control.size() < 8) control.resize(8, 0.0);
  control[7] = stageCount;
  endCode_ = staged ? stage : 0;
}

bool WallText::coarsenable(int coarsening) const {
  if (coarsening < 1) return false;
  for (const Record& r : records_) {
    const engine::api::NodePositions nodes = engine::api::NodesOf(r.kind);
    if ((r.kind == RecordKind::Load || r.kind == RecordKind::Spring) &&
        r.values.size() > nodes.at[1] && r.values[nodes.at[0]] != r.values[nodes.at[1]])
      return false;
    for (size_t v : nodes) {
      if (v >= r.values.size()) continue;
      const int node = static_cast<int>(r.values[v]);
      if (r.kind != RecordKind::CurveHead && node == increments_) continue;
      if (node % coarsening != 0) return false;
    }
  }
  return true;
}

std::string WallText::withWall(int increments, double incrementLength, int coarsening) const {
  return written(increments, incrementLength, coarsening) + "0\n";
}

std::string WallText::text(int increments, double incrementLength) const {
  if (increments <= 0) {
    increments = increments_;
    incrementLength = incrementLength_;
  }
  return written(increments, incrementLength) + std::to_string(endCode_) + "\n";
}

namespace {

// The specified earth pressure down to the tip at depth `tip`, its value
// there interpolated.
std::vector<std::vector<double>> PressureTo(double tip,
                                            const std::vector<WallText::Record>& records) {
  std::vector<std::vector<double>> pressure;
  for (const WallText::Record& r : records) {
    if (r.kind != WallText::RecordKind::Pressure || r.values.size() < 2) continue;
    if (r.values[0] <= tip) {
      pressure.push_back(r.values);
    } else {
      if (!pressure.empty() && pressure.back()[0] < tip) {
        const std::vector<double>& a = pressure.back();
        const double t = (tip - a[0]) / (r.values[0] - a[0]);
        pressure.push_back({tip, a[1] + t * (r.values[1] - a[1])});
      }
      break;
    }
  }
  return pressure;
}

std::string Line(const std::vector<double>& values, size_t asked) {
  std::string out;
  for (double value : values) out += (out.empty() ? "" : " ") + Format(value);
  if (values.size() < asked) out += out.empty() ? "/" : " /";
  return out + "\n";
}

}  // namespace

std::string WallText::written(int increments, double incrementLength, int coarsening) const {
  std::string text;
  // External p-y curves whose station the new wall does not reach.
  std::vector<int> dropped;
  for (const Record& r : records_)
    if (r.kind == RecordKind::CurveHead && !r.values.empty() &&
        static_cast<int>(r.values[0]) / coarsening > increments)
      dropped.push_back(r.row);
  const std::vector<std::vector<double>> pressure =
      PressureTo(increments * incrementLength, records_);
  for (size_t k = 0; k < records_.size(); ++k) {
    const Record& r = records_[k];
    if (r.kind == RecordKind::Pressure) continue;
    if (r.kind == RecordKind::PressureCount) {
      text += Line({static_cast<double>(pressure.size())}, 1);
      for (const std::vector<double>& row : pressure) text += Line(row, 2);
      continue;
    }
    if (r.kind == RecordKind::Title) {
      text += r.line + "\n";
      continue;
    }
    const bool curve = r.kind == RecordKind::CurveHead || r.kind == RecordKind::CurvePoint;
    if (curve && std::find(dropped.begin(), dropped.end(), r.row) != dropped.end()) continue;
    std::vector<double> values = r.values;
    if (k == wallAt) {
      values[0] = increments;
      values[1] = incrementLength;
    } else if (k == controlAt && values.size() > engine::api::kCurvesAt) {
      values[engine::api::kCurvesAt] -= static_cast<double>(dropped.size());
    } else {
      // A wall's node at the old tip follows the tip; a curve keeps its
      // depth.
      for (size_t v : engine::api::NodesOf(r.kind)) {
        if (v >= values.size()) continue;
        if (!curve && static_cast<int>(values[v]) == increments_) values[v] = increments;
        else if (coarsening > 1) values[v] = static_cast<int>(values[v]) / coarsening;
      }
    }
    text += Line(values, r.asked());
  }
  return text;
}

std::vector<size_t> SoilLayerCounts(std::string_view dataText) {
  std::string error;
  const std::optional<std::vector<WallText>> problems = WallText::ParseAll(dataText, error);
  std::vector<size_t> counts;
  if (!problems) return counts;
  for (const WallText& problem : *problems)
    counts.push_back(static_cast<size_t>(std::count_if(
        problem.records().begin(), problem.records().end(),
        [](const WallText::Record& r) { return r.kind == WallText::RecordKind::LayerLine; })));
  return counts;
}

}  // namespace terraq::design
