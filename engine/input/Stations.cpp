#include "Stations.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "textio/FixedFormat.h"

namespace terraq::engine {

void SetGeometry(EngineModel& model) {
  ProblemControl& c = model.control;
  if (c.NI > kMaxIncrements) StopTooMuchData();
  if (c.NI < 1) StopWithMessage("ERROR STOP -- THE NUMBER OF INCREMENTS MUST BE AT LEAST 1");
  if (!(c.h > 0.0)) StopWithMessage("ERROR STOP -- THE INCREMENT LENGTH MUST BE GREATER THAN ZERO");
  c.twoH = 2.0 * c.h;
  c.hSquared = c.h * c.h;
  c.hCubed = c.hSquared * c.h;
}

namespace {

// A station of a table row must lie on the wall or on the three fictitious
// stations below it (where the end check then finds it).
int CheckedPosition(int station, int ni) {
  if (station < 0) StopWithMessage("ERROR STOP -- STATION NUMBER BELOW ZERO");
  if (station > ni + 3) StopBeyondEnd();
  return Pos(station);
}

void Distribute(std::span<RealStations* const> arrays, std::span<RealStations* const> points,
                std::span<RealStations* const> skews, std::span<const double> v0,
                std::span<const double> v, int s, int e) {
  if (e < s) StopStationsNotInOrder();
  for (size_t a = 0; a < arrays.size(); ++a) {
    RealStations& x = *arrays[a];
    if (e == s) {
      x[s] += v0[a];
      if (a < points.size() && points[a] != nullptr) (*points[a])[s] += v0[a];
      continue;
    }
    const double length = e - s;
    for (int i = s; i <= e; ++i) x[i] += v0[a] + (v[a] - v0[a]) * (i - s) / length;
    x[s] -= 0.5 * v0[a];
    x[e] -= 0.5 * v[a];
    // The half value left at each end lies wholly inside the row's range.
    if (a < skews.size() && skews[a] != nullptr) {
      (*skews[a])[s] -= 0.5 * v0[a];
      (*skews[a])[e] += 0.5 * v[a];
    }
  }
}

// The code of a row from the continuation value of the row before it and its
// own: 2 first row of a continued run, 3 last row, 4 middle row, any other
// value a row standing alone. 64-bit: CONTD is whatever integer the data
// file holds.
long long RowCode(long long previousC, long long contd) { return 2 * previousC + (contd - 1) + 1; }

}  // namespace

RowKind ClassifyRow(long long previousC, long long contd) {
  const long long k = RowCode(previousC, contd);
  if (k == 2) return RowKind::FirstOfRun;
  if (k == 3 || k == 4) return RowKind::LaterInRun;
  return RowKind::Alone;
}

void DistributeTableRow(DistributionState& state, int ni, int from, int to, int contd,
                        std::span<RealStations* const> arrays, std::span<const double> values) {
  const long long k = RowCode(state.previousC, contd);
  state.previousC = static_cast<long long>(contd) - 1;
  if (k == 2) {
    state.s = CheckedPosition(from, ni);
    state.v0.assign(values.begin(), values.end());
    return;
  }
  if (k == 3 || k == 4) {
    // Only a continuation code outside 1 and 2 on the first row of a table
    // gets here without a start.
    if (state.s == 0)
      StopWithMessage("ERROR STOP -- A TABLE ROW CONTINUES A RUN THAT NO ROW STARTED");
    const int e = CheckedPosition(to, ni);
    Distribute(arrays, state.points, state.skews, state.v0, values, state.s, e);
    if (k == 4) {
      state.s = e;
      state.v0.assign(values.begin(), values.end());
    }
    return;
  }
  state.s = CheckedPosition(from, ni);
  state.v0.assign(values.begin(), values.end());
  Distribute(arrays, state.points, state.skews, state.v0, values, state.s, CheckedPosition(to, ni));
}

double StationShare(int station, int ni) { return station == 0 || station == ni ? 0.5 : 1.0; }

double WallRigidity(const EngineModel& model, int station) {
  const int ni = model.control.NI;
  if (station < 0 || station > ni + 3) return 0.0;
  return model.st.F[Pos(station)] / StationShare(station, ni);
}

void FindPartialStiffness(EngineModel& model, const RealStations& coverage) {
  model.partialStiffnessStations.clear();
  for (int station = 1; station < model.control.NI; ++station)
    if (coverage[Pos(station)] < 1.0 - 1.0e-9) model.partialStiffnessStations.push_back(station);
}

void JoinRigidityStepsInSeries(EngineModel& model, const RealStations& skew) {
  RealStations& F = model.st.F;
  for (int station = 1; station < model.control.NI; ++station) {
    const int j = Pos(station);
    const double above = F[j] + skew[j], below = F[j] - skew[j];
    // A gap in the table (a hinge) keeps what the rows give it.
    if (above > 0.0 && below > 0.0 && above != below) F[j] = above * below / F[j];
  }
}

bool StationAtOrBelow(const ProblemControl& c, int station, double depth) {
  return station * c.h >= depth - kStationDepthTolerance * c.h;
}

void SetSpecifiedCondition(EngineModel& model, int r, int caseCode, int station, double deflection,
                           double slope, SpecifiedOrder& order) {
  if (r > kMaxSpecified) StopTooMuchData();
  const int j = Pos(station);
  if (j < order.previousPosition) StopStationsNotInOrder();
  // The codes reach one station either side; the specified station must be
  // a real station of the wall.
  if (station < 0 || station > model.control.NI)
    StopWithMessage("ERROR STOP -- SPECIFIED DEFLECTION OR SLOPE OUTSIDE THE WALL");
  // The recursion pairs each condition with its codes in station order; the
  // codes of two conditions must therefore neither overlap nor interleave.
  const int firstMarked = caseCode <= 1 ? j : j - 1;
  if (firstMarked <= order.lastMarked)
    StopWithMessage("ERROR STOP -- SPECIFIED CONDITIONS TOO CLOSE TOGETHER AT STATION " +
                    FormatI(station, 0));
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

namespace {

// Adds to the stations the integral of the straight pressure segment from
// (x0, p0) to (x1, p1), lying within one increment, against the hat
// functions of the increment's two stations. Both factors are linear, so
// Simpson's rule is exact.
void AddSegmentLoads(EngineModel& model, double x0, double p0, double x1, double p1) {
  const double h = model.control.h;
  const double length = x1 - x0;
  if (!(length > 0.0)) return;
  const int k = std::clamp(static_cast<int>(std::floor(0.5 * (x0 + x1) / h)), 0, model.control.NI - 1);
  const double xm = 0.5 * (x0 + x1), pm = 0.5 * (p0 + p1);
  const auto below = [&](double x) { return (x - k * h) / h; };  // hat of station k + 1
  const double lower = length / 6.0 *
                       (p0 * (1.0 - below(x0)) + 4.0 * pm * (1.0 - below(xm)) + p1 * (1.0 - below(x1)));
  const double upper = length / 6.0 * (p0 * below(x0) + 4.0 * pm * below(xm) + p1 * below(x1));
  model.st.Q[Pos(k)] += lower;
  model.st.Q[Pos(k + 1)] += upper;
  // The increment lies below station k and above station k + 1.
  model.st.Qskew[Pos(k)] -= lower;
  model.st.Qskew[Pos(k + 1)] += upper;
}

}  // namespace

void AddPressureSegment(EngineModel& model, double x0, double p0, double x1, double p1) {
  const double h = model.control.h;
  const auto at = [&](double x) { return p0 + (p1 - p0) * (x - x0) / (x1 - x0); };
  double a = x0;
  while (x1 - a > 0.0) {
    // The next station below a; a station within rounding of a is passed.
    double next = (std::floor(a / h + kStationDepthTolerance) + 1.0) * h;
    if (next > x1) next = x1;
    AddSegmentLoads(model, a, at(a), next, at(next));
    a = next;
  }
}

void ApplyEarthPressureLoads(EngineModel& model) {
  const auto& rows = model.earthPressure;
  if (rows.empty()) return;
  const ProblemControl& c = model.control;
  const double tip = c.NI * c.h;
  const double tolerance = kStationDepthTolerance * c.h;
  for (size_t i = 1; i < rows.size(); ++i)
    if (rows[i].depth < rows[i - 1].depth)
      StopWithMessage("ERROR STOP -- THE DEPTHS OF THE EARTH-PRESSURE TABLE MUST NOT DECREASE");
  // A diagram that ends within half an increment below the tip is cut at
  // the tip; one that reaches further loads wall that does not exist.
  if (rows.back().depth >= tip + 0.5 * c.h - tolerance) StopBeyondEnd();
  double d0 = 0.0, p0 = 0.0;
  for (const EarthPressureRow& row : rows) {
    // The part of the segment that lies on the wall.
    const double top = std::max(d0, 0.0), bottom = std::min(row.depth, tip);
    if (bottom > top) {
      const auto at = [&](double x) { return p0 + (row.total - p0) * (x - d0) / (row.depth - d0); };
      AddPressureSegment(model, top, at(top), bottom, at(bottom));
    }
    d0 = row.depth;
    p0 = row.total;
  }
}

void CheckEnd(const EngineModel& model) {
  // Absolute values, so that a load and a couple of opposite sign beyond the
  // tip cannot cancel each other out of the check.
  const StationArrays& s = model.st;
  double beyond = 0.0;
  for (int j = Pos(model.control.NI) + 1; j <= Pos(model.control.NI) + 3; ++j)
    beyond += std::fabs(s.F[j]) + std::fabs(s.Q[j]) + std::fabs(s.S[j]) + std::fabs(s.T[j]) +
              std::fabs(s.R[j]) + std::fabs(s.P[j]);
  if (beyond != 0.0) StopBeyondEnd();
}

}  // namespace terraq::engine
