#pragma once
// Structural checks of a steel wall section along the wall: at every station
// the utilisation (design effect divided by resistance) in bending, in shear
// and in bending with shear and axial force, by one of two methods:
//
//  - Limit states of the steel sheet-pile and steel-pile code of the
//    Eurocodes: the cross-section class from the flange slenderness, the
//    bending resistance from the plastic or elastic modulus with the
//    interlock reduction factor βB of U-piles, the plastic shear resistance
//    of the webs, the reduced moment resistance under high shear and under
//    axial force.
//  - Allowable stresses: bending stress M/Wel, shear stress V/Av and axial
//    stress N/A against the fractions of the yield strength the engineer
//    chooses (as shoring manuals do for temporary works), combined linearly.
//
// The technical manual states each formula with its clause.
//
// Units: SI base units throughout (m, N, N·m, Pa). The effects are those the
// analysis gives for one wall unit of width `unitWidth` (the spacing the
// active pressure acts over): per pile for piles, and for sheet piles
// divided by unitWidth to give the effect per metre of wall.
// Thread safety: pure functions.

#include <optional>
#include <string>
#include <vector>

#include "Sections.h"

namespace terraq::design {

enum class CheckMethod { Eurocode, Allowable };

enum class GoverningCheck { None, Bending, Shear, Combined };
// "bending", "shear", "combined" (JSON and the package); "none" for None.
std::string_view CheckWord(GoverningCheck check);

struct CheckSettings {
  CheckMethod method = CheckMethod::Eurocode;
  // Eurocode: partial factor of the cross-section resistance (recommended
  // 1.0) and the interlock factor βB of sheet piles (1.0 for Z-piles and for
  // U-piles whose interlocks are crimped or welded; a national annex gives
  // lower values for single and double U-piles that may slip).
  double gammaM0 = 1.0;
  double betaB = 1.0;
  // Allowable stresses: fractions of fy.
  double bendingFraction = 0.65;
  double shearFraction = 0.40;
  double axialFraction = 0.60;
  // Eurocode: the class the section's catalogue publishes for this grade (1
  // to 4). Without it the class of a sheet pile is computed from bf/tf with
  // bf the flange width of the library row, or, for a row without one, from
  // b/tf with b the pile's system width, an upper bound, so the class is on
  // the safe side (and a note says so).
  std::optional<int> sectionClass;
  bool operator==(const CheckSettings&) const = default;
};

// The design effects at one station for one wall unit (see the header).
struct StationEffect {
  double depth = 0;   // carried to the results as given (any length unit)
  double moment = 0;  // N·m
  double shear = 0;   // N
  double axial = 0;   // N, compression positive
};

struct StationCheck {
  double depth = 0;
  double bending = 0;   // utilisation in bending alone
  double shear = 0;     // in shear alone
  double combined = 0;  // bending with shear and axial force
  double utilisation = 0;  // the largest of the three
  GoverningCheck governing = GoverningCheck::None;
};

struct WallCheck {
  // Empty with `error` set when the section lacks what the method needs
  // ("section AZ18 has no plastic section modulus Wpl, which the bending
  // check needs"), or the settings are impossible (a factor of 0 or below).
  std::string error;
  std::vector<StationCheck> stations;
  // The largest utilisation, its depth (the shallowest of equals) and check,
  // and the design effects checked there (the moment, shear and axial force
  // as given, so that a reader can redo the check by hand).
  double utilisation = 0;
  double utilisationDepth = 0;
  GoverningCheck governing = GoverningCheck::None;
  StationEffect utilisationEffect;
  bool exceeded() const { return utilisation > 1.0; }

  // The resistances used, per wall unit as the effects are (N·m, N, N).
  int sectionClass = 0;  // Eurocode: 1 to 4; 0 for the allowable method
  double momentResistance = 0;
  double shearResistance = 0;
  double axialResistance = 0;
  // What the engineer must know: a class-4 section checked elastically, a web
  // slender enough to need a shear-buckling check, an interaction done
  // without a web angle, and the like.
  std::vector<std::string> notes;
};

WallCheck CheckWall(const Section& section, const SteelGrade& grade, const CheckSettings& settings,
                    double unitWidth, const std::vector<StationEffect>& effects);

}  // namespace terraq::design
