#include "Stations.h"

#include <cmath>
#include <string>

#include "textio/FixedFormat.h"

namespace terraq::engine {

void SetGeometry(EngineModel& model) {
  ProblemControl& c = model.control;
  if (c.NI > kMaxIncrements) stopTooMuchData();
  if (c.NI < 1) stopWithMessage("ERROR STOP -- THE NUMBER OF INCREMENTS MUST BE AT LEAST 1");
  if (!(c.h > 0.0)) stopWithMessage("ERROR STOP -- THE INCREMENT LENGTH MUST BE GREATER THAN ZERO");
  c.twoH = 2.0 * c.h;
  c.hSquared = c.h * c.h;
  c.hCubed = c.hSquared * c.h;
}

namespace {

// A station of a table row must lie on the wall or on the three fictitious
// stations below it (where the end check then finds it).
int checkedPosition(int station, int ni) {
  if (station < 0) stopWithMessage("ERROR STOP -- STATION NUMBER BELOW ZERO");
  if (station > ni + 3) stopBeyondEnd();
  return pos(station);
}

void distribute(std::span<RealStations* const> arrays, std::span<const double> v0,
                std::span<const double> v, int s, int e) {
  if (e < s) stopStationsNotInOrder();
  for (size_t a = 0; a < arrays.size(); ++a) {
    RealStations& x = *arrays[a];
    if (e == s) {
      x[s] += v0[a];
      continue;
    }
    const double length = e - s;
    for (int i = s; i <= e; ++i) x[i] += v0[a] + (v[a] - v0[a]) * (i - s) / length;
    x[s] -= 0.5 * v0[a];
    x[e] -= 0.5 * v[a];
  }
}

}  // namespace

RowKind ClassifyRow(long long previousC, long long contd) {
  // 64-bit: CONTD is whatever integer the data file holds.
  const long long k = 2 * previousC + (contd - 1) + 1;
  if (k == 2) return RowKind::FirstOfRun;
  if (k == 3 || k == 4) return RowKind::LaterInRun;
  return RowKind::Alone;
}

void DistributeTableRow(DistributionState& state, int ni, int from, int to, int contd,
                        std::span<RealStations* const> arrays, std::span<const double> values) {
  const long long c = static_cast<long long>(contd) - 1;
  const long long k = 2 * state.previousC + c + 1;
  state.previousC = c;
  if (k == 2) {
    state.s = checkedPosition(from, ni);
    state.v0.assign(values.begin(), values.end());
    return;
  }
  if (k == 3 || k == 4) {
    // Only a continuation code outside 1 and 2 on the first row of a table
    // gets here without a start.
    if (state.s == 0)
      stopWithMessage("ERROR STOP -- A TABLE ROW CONTINUES A RUN THAT NO ROW STARTED");
    const int e = checkedPosition(to, ni);
    distribute(arrays, state.v0, values, state.s, e);
    if (k == 4) {
      state.s = e;
      state.v0.assign(values.begin(), values.end());
    }
    return;
  }
  state.s = checkedPosition(from, ni);
  state.v0.assign(values.begin(), values.end());
  distribute(arrays, state.v0, values, state.s, checkedPosition(to, ni));
}

void SetSpecifiedCondition(EngineModel& model, int r, int caseCode, int station, double deflection,
                           double slope, SpecifiedOrder& order) {
  if (r > kMaxSpecified) stopTooMuchData();
  const int j = pos(station);
  if (j < order.previousPosition) stopStationsNotInOrder();
  // The codes reach one station either side; the specified station must be
  // a real station of the wall.
  if (station < 0 || station > model.control.NI)
    stopWithMessage("ERROR STOP -- SPECIFIED DEFLECTION OR SLOPE OUTSIDE THE WALL");
  // The recursion pairs each condition with its codes in station order; the
  // codes of two conditions must therefore neither overlap nor interleave.
  const int firstMarked = caseCode <= 1 ? j : j - 1;
  if (firstMarked <= order.lastMarked)
    stopWithMessage("ERROR STOP -- SPECIFIED CONDITIONS TOO CLOSE TOGETHER AT STATION " +
                    formatI(station, 0));
  order.lastMarked = caseCode <= 1 ? j : j + 1;
  order.previousPosition = j;
  model.spec.DEFL[static_cast<size_t>(r)] = deflection;
  model.spec.SLOPE[static_cast<size_t>(r)] = slope;
  StationArray<int>& code = model.st.code;
  if (caseCode <= 1) {
    code[j] = 2;
  } else if (caseCode == 2) {
    code[j - 1] = 3;
    code[j + 1] = 5;
  } else {
    code[j - 1] = 3;
    code[j] = 4;
    code[j + 1] = 5;
  }
}

void ApplyEarthPressureLoads(EngineModel& model) {
  const auto& rows = model.earthPressure;
  if (rows.empty()) return;
  const double h = model.control.h;
  // N - 1 = nint(D(n) / h), taken as a real first: a deepest depth far beyond
  // the wall (or a tiny h) must not overflow an integer. Stations past NI + 3
  // lie outside the problem; the end check already refuses a load at NI + 1.
  const double nearest = std::round(rows.back().depth / h);
  if (!(nearest >= 1.0)) return;
  const int lastStation =
      nearest < model.control.NI + 3 ? static_cast<int>(nearest) : model.control.NI + 3;
  double load = 0.0;
  for (int k = 1; k <= lastStation; ++k) {
    const double x = static_cast<double>(k) * h;
    double d0 = 0.0, p0 = 0.0;
    for (const EarthPressureRow& row : rows) {
      if (x <= row.depth) {
        load = p0 + (row.total - p0) * (x - d0) / (row.depth - d0);
        break;
      }
      d0 = row.depth;
      p0 = row.total;
    }
    model.st.Q[pos(k)] += load;
  }
}

void CheckEnd(const EngineModel& model) {
  // Absolute values, so that a load and a couple of opposite sign beyond the
  // tip cannot cancel each other out of the check.
  const StationArrays& s = model.st;
  double beyond = 0.0;
  for (int j = pos(model.control.NI) + 1; j <= pos(model.control.NI) + 3; ++j)
    beyond += std::fabs(s.F[j]) + std::fabs(s.Q[j]) + std::fabs(s.S[j]) + std::fabs(s.T[j]) +
              std::fabs(s.R[j]) + std::fabs(s.P[j]);
  if (beyond != 0.0) stopBeyondEnd();
}

}  // namespace terraq::engine
