#pragma once
// The flow-net method: two-dimensional steady seepage round the wall.

#include "api/Seepage.h"

namespace terraq::engine::seepage {

// The flow net of a problem SeepageProblemFault accepts for the flow-net
// method; `solution` has the sides' tops and heads already set, this adds
// the faces, the exit gradient, the flow rate and the field. Returns why it
// could not (the iterations did not converge), empty when it could.
std::string SolveFlowNet(const api::SeepageProblem& problem, api::SeepageSolution& solution);

// The head of a flow net in front of the wall at `depth` and `distance`
// from it, interpolated between the centres of the cells in front.
double FlowNetHeadInFront(const api::SeepageSolution& solution, double depth, double distance);

}  // namespace terraq::engine::seepage
