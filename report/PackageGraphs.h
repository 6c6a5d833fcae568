#pragma once
// The graphs of the package's result and earth-pressure figures as data,
// before they are painted (PackageFigures.cpp): the curves in the units
// their axes name, so that what a figure shows can be checked number by
// number.

#include <string>
#include <vector>

#include "DepthGraph.h"
#include "PackageFigures.h"

namespace terraq::report {

// One quantity of every problem, with the envelope under the curves when
// there is more than one problem, and the mark of results not to be used.
DepthGraph ResultGraph(Quantity quantity, const std::vector<engine::api::ProblemResult>& problems,
                       const std::vector<std::string>& names, int unitsSystem);

// The earth pressure of every problem, with its soil and surcharge parts
// where they differ from the total.
DepthGraph PressureGraph(const std::vector<engine::api::ProblemResult>& problems,
                         const std::vector<std::string>& names, int unitsSystem);

// The utilisation of the section of every checked problem, and the line at 1
// (the last curve).
DepthGraph UtilisationGraph(const std::vector<design::WallCheck>& checks,
                            const std::vector<engine::api::ProblemResult>& problems,
                            const std::vector<std::string>& names, int unitsSystem);

// A graph against depth as a figure of the package's depth graphs' shape.
Figure DepthFigure(DepthGraph graph, const std::string& caption);

// The mobilised earth pressure of one problem (MobilisedPressureFigure).
DepthGraph MobilisedPressureGraph(const engine::api::ProblemResult& problem);

}  // namespace terraq::report
