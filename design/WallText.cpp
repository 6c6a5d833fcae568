#include "WallText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <istream>
#include <streambuf>

#include "textio/FreeFormatReader.h"
#include "textio/TextBuffer.h"

namespace terraq::design {

namespace {

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
  engine::TextBuffer buffer(dataText);
  std::istream in(&buffer);
  engine::FreeFormatReader reader(in);
  // The control line's values, kept from problem to problem as the engine
  // keeps them when a read ends early.
  std::vector<int> control(9, 0);
  try {
    for (int k = 0;; ++k) {
      const bool keep = problem < 0 || k == problem;
      WallText wall;
      std::vector<Record> records;
      auto read = [&](size_t count, std::vector<size_t> nodes = {}, int curve = -1,
                      RecordKind kind = RecordKind::Other, int row = 0) -> Record& {
        const engine::FreeRecord r = reader.read(static_cast<int>(count));
        Record record;
        record.asked = count;
        for (size_t v = 0; v < r.size() && v < count; ++v) {
          double value = 0;
          r.assign(v, value);
          record.values.push_back(value);
        }
        record.nodes = std::move(nodes);
        record.curve = curve;
        record.kind = kind;
        record.row = row;
        records.push_back(std::move(record));
        return records.back();
      };
      auto count = [&] { return Integer(read(1).values, 0, 0); };

      Record title;
      title.title = true;
      title.line = reader.readLine();
      records.push_back(title);
      const Record& c = read(9, {}, -1, RecordKind::Control);
      for (size_t v = 0; v < 9; ++v) control[v] = Integer(c.values, v, control[v]);
      const size_t controlIndex = records.size() - 1;
      const Record& g = read(5, {}, -1, RecordKind::Wall);
      if (g.values.size() < 2) {
        error = "the wall record gives no number of increments or increment length";
        return false;
      }
      const size_t wallIndex = records.size() - 1;
      const int NR = control[1], NS = control[2], NM = control[3], EP = control[4], PY = control[5],
                NC = control[6], KSTAGE = control[7], NE = control[8];
      for (int r = 0; r < NR; ++r) read(4, {1}, -1, RecordKind::Restraint, r);
      for (int r = 0; r < NS; ++r) read(4, {0, 1}, -1, RecordKind::Stiffness, r);
      for (int r = 0, n = count(); r < n; ++r) read(6, {1, 2}, -1, RecordKind::Load, r);
      for (int r = 0, n = count(); r < n; ++r) read(5, {0, 1}, -1, RecordKind::Spring, r);
      for (int r = 0; r < NM; ++r) read(3);
      if (EP == 1) {
        const int n = count();
        if (keep) wall.pressureCount_ = records.size() - 1;
        for (int r = 0; r < n; ++r) read(2, {}, -1, RecordKind::Pressure, r).pressure = true;
      }
      if (EP >= 2 || PY == 2) {
        read(8, {}, -1, RecordKind::WallConfiguration);
        read(6, {}, -1, RecordKind::Surcharge);
        for (int r = 0, n = count(); r < n; ++r) read(4, {}, -1, RecordKind::SurchargeLoad, r);
        for (int r = 0, n = count(); r < n; ++r) {
          read(2, {}, -1, RecordKind::LayerLine, r);
          read(6, {}, -1, RecordKind::LayerTop, r);
          read(6, {}, -1, RecordKind::LayerBase, r);
        }
      }
      for (int curve = 0; curve < NC; ++curve) {
        const int points = Integer(read(4, {0}, curve).values, 1, 0);
        for (int p = 0; p < points; ++p) read(2, {}, curve);
      }
      for (int s = 0; s < NE; ++s) {
        const int points = Integer(read(3, {0, 1}).values, 2, 0);
        for (int p = 0; p < points; ++p) read(2, {}, -1, RecordKind::MomentEi, s);
      }
      int next = 0;
      {
        const engine::FreeRecord r = reader.read(1);
        r.assign(0, next);
      }
      const bool last = next == 0 || next == KSTAGE;
      if (keep) {
        wall.units_ = control[0];
        wall.records_ = std::move(records);
        wall.controlRecord_ = controlIndex;
        wall.wallRecord_ = wallIndex;
        wall.endCode_ = next;
        problems.push_back(std::move(wall));
        if (problem >= 0 || last) break;
        continue;
      }
      if (last) {
        error = "the data file has no problem " + std::to_string(problem + 1);
        return false;
      }
    }
  } catch (const engine::InputError& e) {
    error = "line " + std::to_string(e.line()) + " of the data file cannot be read";
    return false;
  }

  for (WallText& wall : problems) {
    const std::vector<double>& g = wall.records_[wall.wallRecord_].values;
    wall.increments_ = static_cast<int>(g[0]);
    wall.incrementLength_ = g[1];
    for (const Record& r : wall.records_) {
      for (size_t v : r.nodes) {
        if (v >= r.values.size()) continue;
        const int node = static_cast<int>(r.values[v]);
        if (node == 0 || node == wall.increments_) continue;
        wall.nodesOnlyAtEnds_ = false;
        if (r.curve < 0) wall.deepestInnerNode_ = std::max(wall.deepestInnerNode_, node);
      }
    }
  }
  return true;
}

void WallText::setStage(int stage, int stageCount) {
  const bool staged = stageCount > 1;
  std::vector<double>& control = records_[controlRecord_].values;
  if (control.size() < 8) control.resize(8, 0.0);
  control[7] = stageCount;
  endCode_ = staged ? stage : 0;
}

bool WallText::coarsenable(int coarsening) const {
  if (coarsening < 1) return false;
  for (const Record& r : records_) {
    if ((r.kind == RecordKind::Load || r.kind == RecordKind::Spring) && r.values.size() > 1 &&
        r.nodes.size() == 2 && r.values[r.nodes[0]] != r.values[r.nodes[1]])
      return false;
    for (size_t v : r.nodes) {
      if (v >= r.values.size()) continue;
      const int node = static_cast<int>(r.values[v]);
      if (r.curve < 0 && node == increments_) continue;
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

std::string WallText::written(int increments, double incrementLength, int coarsening) const {
  std::string text;
  // External p-y curves whose station the new wall does not reach.
  std::vector<int> dropped;
  for (const Record& r : records_)
    if (r.curve >= 0 && !r.nodes.empty() && !r.values.empty() &&
        static_cast<int>(r.values[0]) / coarsening > increments)
      dropped.push_back(r.curve);
  // The specified earth pressure down to the new tip.
  const double tip = increments * incrementLength;
  std::vector<std::vector<double>> pressure;
  for (const Record& r : records_) {
    if (!r.pressure || r.values.size() < 2) continue;
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
  auto line = [](const std::vector<double>& values, size_t asked) {
    std::string out;
    for (double value : values) out += (out.empty() ? "" : " ") + Format(value);
    if (values.size() < asked) out += out.empty() ? "/" : " /";
    return out + "\n";
  };
  for (size_t k = 0; k < records_.size(); ++k) {
    const Record& r = records_[k];
    if (r.pressure) continue;
    if (pressureCount_ != 0 && k == pressureCount_) {
      text += line({static_cast<double>(pressure.size())}, 1);
      for (const std::vector<double>& row : pressure) text += line(row, 2);
      continue;
    }
    if (r.title) {
      text += r.line + "\n";
      continue;
    }
    if (r.curve >= 0 && std::find(dropped.begin(), dropped.end(), r.curve) != dropped.end())
      continue;
    std::vector<double> values = r.values;
    if (k == wallRecord_) {
      values[0] = increments;
      values[1] = incrementLength;
    } else if (k == controlRecord_ && values.size() > 6) {
      values[6] -= static_cast<double>(dropped.size());
    } else {
      // A wall's node at the old tip follows the tip; a curve keeps its
      // depth.
      for (size_t v : r.nodes) {
        if (v >= values.size()) continue;
        if (r.curve < 0 && static_cast<int>(values[v]) == increments_) values[v] = increments;
        else if (coarsening > 1) values[v] = static_cast<int>(values[v]) / coarsening;
      }
    }
    text += line(values, r.asked);
  }
  return text;
}

}  // namespace terraq::design
