#include "Units.h"

#include <cmath>
#include <utility>

namespace terraq::engine::api {

namespace {

// A quantity's dimensions: force^f length^l, the three labels, and for the
// English length unit of the quantity whether it is the foot.
struct Dimensions {
  int force, length;
  std::string_view english, si, generic;
  bool feet = false;
  double siToSI = 1.0;  // the SI unit in metres (the millimetre's 0.001)
};

Dimensions DimensionsOf(Quantity q) {
  switch (q) {
    case Quantity::Ratio: return {0, 0, "", "", ""};
    case Quantity::Angle: return {0, 0, "deg", "deg", "deg"};
    case Quantity::Percent: return {0, 0, "%", "%", "%"};
    case Quantity::Length: return {0, 1, "in", "m", "L"};
    case Quantity::SmallLength: return {0, 1, "in", "mm", "L", false, 1e-3};
    case Quantity::LargeLength: return {0, 1, "ft", "m", "L", true};
    case Quantity::Area: return {0, 2, "in^2", "m^2", "L^2"};
    case Quantity::Force: return {1, 0, "lbs", "kN", "F"};
    case Quantity::ForcePerLength: return {1, -1, "lbs/in", "kN/m", "F/L"};
    case Quantity::Moment: return {1, 1, "lbs-in", "kN-m", "F-L"};
    case Quantity::MomentPerLength: return {1, 0, "lbs-in/in", "kN-m/m", "F-L/L"};
    case Quantity::Pressure: return {1, -2, "lbs/in^2", "kN/m^2", "F/L^2"};
    case Quantity::UnitWeight: return {1, -3, "lbs/in^3", "kN/m^3", "F/L^3"};
    case Quantity::FlexuralRigidity: return {1, 2, "lbs-in^2", "kN-m^2", "F-L^2"};
  }
  return {0, 0, "", "", ""};
}

}  // namespace

Unit UnitOf(Quantity quantity, UnitsSystem system) {
  const Dimensions d = DimensionsOf(quantity);
  switch (system) {
    case UnitsSystem::SI: return {d.si, d.siToSI};
    case UnitsSystem::Generic: return {d.generic, 1.0};
    case UnitsSystem::English: break;
  }
  const double length = d.feet ? kInchesPerFoot * kMetresPerInch : kMetresPerInch;
  return {d.english, std::pow(length, d.length) * std::pow(kKilonewtonsPerPound, d.force)};
}

std::string Printed(std::string_view unit) {
  std::string text(unit);
  for (const auto& [plain, printed] : {std::pair{"^2", "\u00b2"}, std::pair{"^3", "\u00b3"}})
    for (size_t at = text.find(plain); at != std::string::npos; at = text.find(plain, at))
      text.replace(at, 2, printed);
  return text;
}

double ConvertValue(double value, Quantity quantity, int fromCode, int toCode) {
  if (fromCode == toCode || !IsPhysicalUnits(fromCode) || !IsPhysicalUnits(toCode)) return value;
  const double english = UnitOf(quantity, UnitsSystem::English).toSI;
  const double si = UnitOf(quantity, UnitsSystem::SI).toSI;
  return fromCode == 1 ? value * english / si : value * si / english;
}

double ConversionFactor(Quantity quantity, int fromCode, int toCode) {
  if (fromCode == toCode || !IsPhysicalUnits(fromCode) || !IsPhysicalUnits(toCode)) return 1.0;
  return UnitOf(quantity, UnitsSystemOf(fromCode)).toSI /
         UnitOf(quantity, UnitsSystemOf(toCode)).toSI;
}

}  // namespace terraq::engine::api
