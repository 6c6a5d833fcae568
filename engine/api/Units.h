#pragma once
// The units systems of the data file and the one spelling of every unit the
// program, the command and the design library print beside a value.
//
//   const Unit u = UnitOf(Quantity::Pressure, UnitsSystemOf(code));
//   std::cout << value << ' ' << u.label;   // "lbs/in^2", "kN/m^2", "F/L^2"
//   double si = value * u.toSI;             // in kN and m
//
// The data file's control line holds the code: 1 pounds and inches, 2
// kilonewtons and metres, any other value generic units F and L that name no
// physical unit. A value is held in the base units of its file's system;
// ConversionFactor takes it from one system to the other. Labels write
// powers as "^2" and compose force and length as the program's units codes
// do ("lbs-in", "kN-m/m"). The engine's report keeps its own upper-case
// labels (soil/UnitLabels.h), which the report's layout fixes.
//
// Thread safety: constants and pure functions.

#include <string>
#include <string_view>

namespace terraq::engine::api {

enum class UnitsSystem { English = 1, SI = 2, Generic = 3 };

// The system of a data file's units code: 1 English, 2 SI, others generic.
constexpr UnitsSystem UnitsSystemOf(int code) {
  return code == 1 ? UnitsSystem::English : code == 2 ? UnitsSystem::SI : UnitsSystem::Generic;
}
// Whether the code names physical units (English or SI), between which
// values convert.
constexpr bool IsPhysicalUnits(int code) { return code == 1 || code == 2; }

// The inch is 0.0254 m and the pound-force 4.4482216152605 N by definition.
inline constexpr double kMetresPerInch = 0.0254;
inline constexpr double kInchesPerFoot = 12.0;
inline constexpr double kNewtonsPerPound = 4.4482216152605;
inline constexpr double kKilonewtonsPerPound =
    4.4482216152605e-3;  // the nearest double, as written

enum class Quantity {
  Ratio,             // no unit (E50, krm, a factor)
  Angle,             // degrees
  Percent,           // RQD
  Length,            // in, m: depths, heights, deflections
  SmallLength,       // in, mm: the surcharge table's distances and widths
  LargeLength,       // ft, m: depths as the graphs and dialogs show them
  Area,              // in^2, m^2
  Force,             // lbs, kN: a support's or the wall's force
  ForcePerLength,    // lbs/in, kN/m: a spring's stiffness, a line load, p
  Moment,            // lbs-in, kN-m
  MomentPerLength,   // lbs-in/in, kN-m/m: per unit length of wall
  Pressure,          // lbs/in^2, kN/m^2: strength, modulus, surcharge
  UnitWeight,        // lbs/in^3, kN/m^3: also the modulus k of the p-y curves
  FlexuralRigidity,  // lbs-in^2, kN-m^2
};

struct Unit {
  std::string_view label;  // "" for a ratio
  double toSI = 1.0;       // a value times toSI is in kN and m (0.001 for mm); 1 in generic units
};

Unit UnitOf(Quantity quantity, UnitsSystem system);
inline std::string_view UnitLabel(Quantity quantity, int unitsCode) {
  return UnitOf(quantity, UnitsSystemOf(unitsCode)).label;
}

// A value of `quantity` in the base units of `fromCode` taken to those of
// `toCode`: multiplied by the English unit's size in SI units going to SI,
// divided by it coming back, so that a round trip gives back the value
// entered. Unchanged between equal codes and whenever either is generic.
double ConvertValue(double value, Quantity quantity, int fromCode, int toCode);

// A unit as printed matter and the windows set it: "kN/m²" for "kN/m^2"
// (the powers 2 and 3 as superscripts; a label of the program's units codes
// as well as one of UnitOf).
std::string Printed(std::string_view unit);
inline std::string PrintedLabel(Quantity quantity, int unitsCode) {
  return Printed(UnitLabel(quantity, unitsCode));
}

// The factor that takes a value of `quantity` from the base units of one
// data file's code to another's: 1 between equal codes and whenever either
// code is generic (generic units name nothing to convert).
double ConversionFactor(Quantity quantity, int fromCode, int toCode);

// One inch in the base length of a system: the fine step at which the soil
// is sampled. Generic units have no inch: one unit of length stands for it.
constexpr double OneInch(UnitsSystem system) {
  return system == UnitsSystem::SI ? kMetresPerInch : 1.0;
}

}  // namespace terraq::engine::api
