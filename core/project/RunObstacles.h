#pragma once
// Faults of a project that stop the engine at once, found before a run so
// that the message names the dialog or the table to fix: the engine's own
// message names only the quantity ("A MOMENT-EI CURVE NEEDS AT LEAST 2
// POINTS"), and a new project, or the rows created when an option is ticked,
// would reach the engine with them. The engine checks everything else.

#include <string>

#include "project/TProgramData.h"

namespace terraq::ui {

// The first such fault, as a message for the user; empty when none is found.
std::string FirstRunObstacle(const TProgramData& data);

}  // namespace terraq::ui
