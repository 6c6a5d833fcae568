#pragma once
// The units of a study's parameters and outputs (design/Parameters.h,
// design/StudyRun.h), in a data file of a given units code (1 English,
// 2 SI; otherwise the generic L, F): what terraq study reports and the
// Study window shows beside the names.
// Thread safety: pure functions.

#include <string>

namespace terraq::ui {

// The unit of a parameter's value ("in", "lbs/in^3", "deg", "" for a ratio).
std::string ParameterUnit(const std::string& name, int unitsCode);
// The unit of an output (top, moment, stage.2.support.1, ...).
std::string OutputUnit(const std::string& name, int unitsCode);

// The factor that turns a value of a parameter (`output` false) or an
// output (true) of that name from a data file of units code `from` into one
// of `to`: between English (lb, in) and SI (kN, m) the factor of its unit;
// 1 between equal codes, for a ratio or an angle, and to or from the generic
// units (3), which name no unit to convert.
double StudyValueFactor(const std::string& name, bool output, int from, int to);

}  // namespace terraq::ui
