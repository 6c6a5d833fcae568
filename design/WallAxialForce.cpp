#include "WallAxialForce.h"

#include <cmath>
#include <string>

#include "api/Analysis.h"

namespace terraq::design {

namespace {

using Kind = WallText::RecordKind;

// Value `index` of a record, 0 when the read did not supply it.
double ValueOf(const WallText::Record& r, size_t index) {
  return index < r.values.size() ? r.values[index] : 0.0;
}

}  // namespace

// A value the row does not give is the reader's default: mode 1, node 0.
// The modes chain as the engine's table reader chains them
// (engine/input/Stations.cpp): 2 starts a linear run, which the next rows
// continue (a middle row) or end.
std::vector<AxialLoad> ConcentratedAxialLoads(const WallText& problem) {
  std::vector<AxialLoad> out;
  long long previous = 0;  // the continuation of the row before, less 1
  int start = 0;
  double startLoad = 0;
  for (const WallText::Record& r : problem.records()) {
    if (r.kind != Kind::Load) continue;
    const long long mode = r.values.empty() ? 1 : static_cast<long long>(r.values[0]);
    const int from = static_cast<int>(ValueOf(r, 1)), to = static_cast<int>(ValueOf(r, 2));
    const double axial = ValueOf(r, 5);
    const long long code = 2 * previous + mode;
    previous = mode - 1;
    if (code == 2) {  // the first row of a linear run
      start = from;
      startLoad = axial;
    } else if (code == 3 || code == 4) {  // the run's last or a middle row
      if (to == start && startLoad != 0) out.emplace_back(start, startLoad);
      if (code == 4) {
        start = to;
        startLoad = axial;
      }
    } else if (from == to && axial != 0) {
      out.emplace_back(from, axial);
    }
  }
  return out;
}

std::vector<std::vector<AxialLoad>> ConcentratedAxialLoadsOf(std::string_view dataText) {
  std::string error;
  std::vector<std::vector<AxialLoad>> out;
  if (const auto problems = WallText::ParseAll(dataText, error))
    for (const WallText& problem : *problems) out.push_back(ConcentratedAxialLoads(problem));
  return out;
}

std::vector<double> WallAxialForces(const engine::api::ProblemResult& result,
                                    const std::vector<AxialLoad>& concentrated) {
  const size_t n = result.stations.size();
  std::vector<double> rows(n), carried(n, 0.0);
  for (size_t i = 0; i < n; ++i) rows[i] = result.stations[i].axialForce;
  for (const auto& [node, load] : concentrated) {
    if (node < 0 || static_cast<size_t>(node) >= n) continue;  // beyond the tip: on no station
    rows[static_cast<size_t>(node)] -= load;
    for (size_t i = static_cast<size_t>(node); i < n; ++i) carried[i] += load;
  }
  // Beyond the wall's ends no row carries force.
  std::vector<double> forces(n);
  for (size_t i = 0; i < n; ++i) {
    const double above = i > 0 ? rows[i - 1] : 0.0, below = i + 1 < n ? rows[i + 1] : 0.0;
    const bool between =
        (above < rows[i] && rows[i] < below) || (below < rows[i] && rows[i] < above);
    const double larger = std::fabs(above) > std::fabs(below) ? above : below;
    forces[i] = (between ? larger : rows[i]) + carried[i];
  }
  return forces;
}

}  // namespace terraq::design
