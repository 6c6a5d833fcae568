#pragma once
// The axial force the wall carries at every station: what a structural
// check of the wall needs besides its moments and shears. The analysis
// gives the axial force only as each station's share of the load table's
// rows; a concentrated axial load applied at a node is carried by the wall
// to its tip (nothing in the analysis sheds it along the wall). The plain
// analysis' check and the design situations' design effects both take it
// from here, so they agree.
//
// Units: the data file's force unit, tension positive, as the load table
// gives the loads. Thread safety: pure functions.

#include <string_view>
#include <utility>
#include <vector>

#include "WallText.h"

namespace terraq::engine::api {
struct ProblemResult;
}

namespace terraq::design {

// A concentrated axial load: the node it acts at and the load.
using AxialLoad = std::pair<int, double>;

// The concentrated axial loads of a problem's load table: a row standing
// alone on one node, or a linear run that starts and ends on the same node,
// as the analysis distributes the table's rows.
std::vector<AxialLoad> ConcentratedAxialLoads(const WallText& problem);

// The same for every problem of a data text, in order; empty when the text
// cannot be walked (the analysis of it then has no problems either).
std::vector<std::vector<AxialLoad>> ConcentratedAxialLoadsOf(std::string_view dataText);

// The axial force at every station of `result`:
//  - a row of the axial load table is the force in the wall over its
//    stations, which the analysis stores, like the wall's rigidity, as each
//    station's share: half at the row's end stations (the top or tip of the
//    wall, the station of an inclined anchor whose vertical component the
//    row carries to the tip), the mean of the force either side. The force
//    taken is the larger side, as where the shear steps: a station whose
//    value lies strictly between its neighbours' (none beyond the wall's
//    ends) takes the neighbour's of larger magnitude. That is exact where a
//    row begins or ends; within a row that varies along the wall it is the
//    force one increment on, a little on the safe side;
//  - a concentrated axial load acts at its node and every station below.
std::vector<double> WallAxialForces(const engine::api::ProblemResult& result,
                                    const std::vector<AxialLoad>& concentrated);

}  // namespace terraq::design
