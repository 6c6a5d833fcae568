#pragma once
// Spreading the station tables of a problem over the wall's stations:
// flexural rigidity, loads and springs by DistributeTableRow, the specified
// deflections and slopes, and the loads of an earth-pressure table.

#include <span>

#include "driver/EngineModel.h"

namespace terraq::engine {

// Derived values of the geometry record (2h, h^2, h^3) and the checks that
// keep the station arithmetic inside the storage: NI within 1..407, h > 0.
void SetGeometry(EngineModel& model);

// How the next row with `contd` stands in its table, from the state of the
// rows before it.
RowKind ClassifyRow(long long previousC, long long contd);

// Spreads one table row over the stations. `contd` is 1 for a row that
// stands alone and 2 for a row continued by the next one; `values` go to
// `arrays` one for one. A row over a range of stations adds its value to
// every station of the range and half of it at the two ends, so that rows
// meeting at a station share it; a continued run varies linearly from its
// first row's value to its last row's. Stations below 0 or beyond NI + 3
// stop the run, and so does a row that continues a run no row has started.
// `state` carries the run from row to row of one table.
void DistributeTableRow(DistributionState& state, int ni, int from, int to, int contd,
                        std::span<RealStations* const> arrays, std::span<const double> values);

// The share of an increment of wall a station stands for: 1/2 at the wall's
// two end stations, 1 elsewhere. The difference equations take that share of
// the wall's rigidity there, and the moment they give at an end is that
// share of the wall's own.
double StationShare(int station, int ni);

// Flexural rigidity of the wall at a station: what the rigidity table gave
// the station, over the station's share.
double WallRigidity(const EngineModel& model, int station);

// Records in model.partialStiffnessStations the stations inside the wall
// whose share of the rigidity table (`coverage`: 1 for every row over a
// station, 1/2 at each end of a row) is below one: rows that leave a gap, or
// that stop short of the tip, leave the wall weakened there.
void FindPartialStiffness(EngineModel& model, const RealStations& coverage);

// Where the wall's rigidity steps at a station (EIa on the increment above,
// EIb below, as the rows' `skew` of DistributeTableRow tells), the station
// stands for half an increment of each: its curvature is the mean of the
// two flexibilities times the moment, so its rigidity is the harmonic mean
// 2*EIa*EIb/(EIa + EIb), not the rows' arithmetic mean. The deflections of
// a stepped wall then converge with h^2 like those of a uniform one, where
// the arithmetic mean leaves an error proportional to h.
void JoinRigidityStepsInSeries(EngineModel& model, const RealStations& skew);

// Does station `station` lie at or below `depth`, within the tolerance?
bool StationAtOrBelow(const ProblemControl& c, int station, double depth);

// Order checks carried from one specified condition to the next: station
// positions may not decrease, and the codes of two conditions may not meet.
struct SpecifiedOrder {
  int previousPosition = 3;
  int lastMarked = 0;
};

// Records the r-th (1-based) specified condition and marks the condition
// codes around its station: 2 a deflection; 3 and 5 either side of a slope;
// 3, 4, 5 for both at one station.
void SetSpecifiedCondition(EngineModel& model, int r, int caseCode, int station, double deflection,
                           double slope, SpecifiedOrder& order);

// Adds a straight pressure diagram from (x0, p0) to (x1, p1) (depths in L,
// x0 < x1; pressures per unit length of wall) to the transverse loads, cut
// at the stations it crosses and shared by their hat functions.
void AddPressureSegment(EngineModel& model, double x0, double p0, double x1, double p1);

// Adds the earth-pressure table (depth, pressure per unit length of wall) to
// the transverse loads. The diagram runs straight from (0, 0) to the first
// row and between rows, and ends at the deepest row. Each station takes the
// diagram weighted by its hat function (1 at the station, 0 at its
// neighbours), so the station loads carry exactly the diagram's force and
// its moment about any point, wherever its ends fall between stations. A
// diagram reaching half an increment or more beyond the tip stops the run.
void ApplyEarthPressureLoads(EngineModel& model);

// No table may leave anything beyond the last station.
void CheckEnd(const EngineModel& model);

}  // namespace terraq::engine
