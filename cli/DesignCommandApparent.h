#pragma once
// terraq design --method apparent-pressure: the apparent-pressure envelope
// of every problem of a data file and the loads of its supports by
// tributary areas and by hinges (design/ApparentPressureDesign.h), as text
// or as one JSON object with --json; every value in the data file's units.

#include <string_view>

#include "CommandOptions.h"

namespace terraq::cli {

// Whether an option of terraq design belongs to the apparent-pressure
// design alone (the limit-equilibrium design refuses it).
bool IsApparentPressureOption(std::string_view name);

// The design of the arguments read (with --method apparent-pressure).
// Returns the exit status as DesignCommand does.
int ApparentPressureDesignCommand(const CommandArguments& read);

}  // namespace terraq::cli
