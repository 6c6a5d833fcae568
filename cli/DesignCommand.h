#pragma once
// terraq design: the design of every problem of a data file, windowless and
// without the engine library's file outputs (the engine runs in memory):
// the limit-equilibrium embedment, anchor force and moments (design/
// LimitEquilibrium.h), the factor of safety of the data file's wall, the
// spring model's factor of safety by strength reduction and the shortest
// wall the spring model holds (design/SpringModel.h). Printed as text, or
// as one JSON object with --json; every value in the data file's units.

#include <string_view>
#include <vector>

namespace terraq::cli {

// The arguments after "design". Returns the exit status: 0 every problem
// designed; 1 a problem could not be designed (its message says why) or the
// data file stops the analysis; 2 usage, or a data file that cannot be read.
int DesignCommand(const std::vector<std::string_view>& args);

}  // namespace terraq::cli
