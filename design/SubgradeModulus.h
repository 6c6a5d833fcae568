#pragma once
// The horizontal subgrade modulus kh of the subgrade-reaction model
// (engine/api/Subgrade.h) from a published correlation. Engineers rarely
// measure kh: they derive it from a modulus of the soil and the wall's
// bending stiffness by a named correlation, and say which in their
// calculation. Each correlation is declared once here, with its source and
// its inputs (their quantity, for units, and their physical range), for the
// windows, the command and the calculation package to name, convert and
// check them by.
//
//   const SubgradeCorrelation* c = FindSubgradeCorrelation("schmitt");
//   const SubgradeModulus kh = SubgradeModulusOf(*c, {em, alpha}, wallEI);
//   if (!kh.value) refuse(kh.refusal);
//
// Units: the problem's own consistent force F and length L (pounds and
// inches, kilonewtons and metres). Every formula is dimensionally
// consistent, so kh (F/L^3) converts as the inputs do: the same wall gives
// the same modulus in either system. EI is the wall's flexural rigidity per
// unit length of wall (F-L^2/L: lbs-in^2/in, kN-m^2/m).
//
// Thread safety: constants and pure functions.

#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "api/SoilModelTable.h"
#include "api/Units.h"

namespace terraq::design {

// One input of a correlation and its physical range: (lower, upper] or
// [lower, upper], [lower, upper) as the flags say.
struct CorrelationInput {
  std::string_view key;     // "Es"
  std::string_view name;    // "Young's modulus of the soil"
  std::string_view symbol;  // "Es"
  engine::api::Quantity quantity;
  double lower = 0, upper = engine::api::kNoUpperBound;
  bool lowerIncluded = false, upperIncluded = true;
};

struct SubgradeCorrelation {
  std::string_view key;      // "vesic": the project file's and the command's name
  std::string_view name;     // "Vesic (1961), adapted to walls"
  std::string_view formula;  // as the package prints it
  std::string_view source;   // author, year, title, journal
  std::span<const CorrelationInput> inputs;
  // kh (F/L^3) from inputs in the order of `inputs`, each within its range,
  // and EI > 0. Call SubgradeModulusOf, which checks them first.
  double (*kh)(std::span<const double> inputs, double wallRigidity);
};

// Every correlation, in the order the program lists them.
std::span<const SubgradeCorrelation> SubgradeCorrelations();
// The correlation named `key`; nullptr when there is none.
const SubgradeCorrelation* FindSubgradeCorrelation(std::string_view key);

struct SubgradeModulus {
  std::optional<double> value;  // kh, F/L^3; empty when refused
  std::string refusal;          // why not, naming the input and its range
};

// kh by `correlation` from `inputs` (in the order of its inputs) and the
// wall's flexural rigidity per unit length `wallRigidity`; refused, with
// the reason, for a count of inputs that differs, an input outside its
// range or not finite, EI not above zero, or a modulus that overflows.
SubgradeModulus SubgradeModulusOf(const SubgradeCorrelation& correlation,
                                  std::span<const double> inputs, double wallRigidity);
inline SubgradeModulus SubgradeModulusOf(const SubgradeCorrelation& correlation,
                                         std::initializer_list<double> inputs,
                                         double wallRigidity) {
  return SubgradeModulusOf(correlation, std::span<const double>(inputs.begin(), inputs.size()),
                           wallRigidity);
}

// The flexural rigidity per unit length of wall that the correlations take,
// from the first problem of `dataText`: the EI of its first stiffness row
// over the wall's width for earth pressure (the spacing of spaced wall
// units; 1 for a wall entered per unit length). Nullopt when the text has
// no stiffness row or no positive width. A wall whose rigidity changes with
// depth gives its top's: the engineer may enter another.
std::optional<double> WallRigidityPerLength(std::string_view dataText);

}  // namespace terraq::design
