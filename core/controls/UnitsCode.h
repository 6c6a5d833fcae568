#pragma once
// Units codes: the dimension of a value written with unit letters, such as
// "F/L2^3" (force per cubed large length: lb/ft^3 or kN/m^3). The letters:
//   F  force        lbs  | kN      F1 kips | kN     F2 tons | kN
//   L  length       in   | m       L1 in   | mm     L2 ft   | m     L3 rad | rad
// A code is a numerator and an optional denominator separated by "/"; each
// part joins unit letters with "-", each with an optional exponent "^n" of
// one digit. Anything else in a code (as "RAD." in "F-L/RAD.") is text that
// neither converts nor is renamed.
//
// Units systems: 1 English (lbs, in), 2 SI (kN, m), 3 other (F, L). Values
// convert only between English and SI; system 3 shows the letters and never
// converts.
//
// Three texts exist for a code, each for its own kind of display:
// UnitText for table headings, UnitSubstitute for graph axes and
// FieldUnitText for the labels of entry fields.

#include <string>
#include <string_view>
#include <vector>

#include "api/Units.h"

namespace terraq::ui {

// The data file's units codes (api/Units.h).
constexpr int kEnglishUnits = static_cast<int>(engine::api::UnitsSystem::English);
constexpr int kSIUnits = static_cast<int>(engine::api::UnitsSystem::SI);
constexpr int kOtherUnits = static_cast<int>(engine::api::UnitsSystem::Generic);

// One unit letter of a code with its exponent.
struct UnitTerm {
  char dimension = 'F';   // 'F' force or 'L' length
  int variant = 0;        // 0 for "F"/"L", else the digit: F1, F2, L1, L2, L3
  int exponent = 1;       // from "^n", 1 when absent
  bool denominator = false;
};

// The unit letters of a code, in order; text that is not a unit letter is
// skipped.
std::vector<UnitTerm> ParseUnitsCode(std::string_view code);

// Whether values of this code convert between systems: not for an empty
// code (dimensionless) nor for "SEE NOTES" (the unit depends on the row).
bool IsConvertibleCode(std::string_view code);

// The code with each unit letter replaced by its name in `system` (1..3);
// "F/L2^3" reads "lbs/ft^3" in English, "kN/m^3" in SI and "F/L^3" in
// other units.
std::string UnitText(std::string_view code, int system);

// English units per SI unit of the code: the product of the numerator's
// letter factors raised to their exponents divided by the same product for
// the denominator ("F/L2^3": 224.8089237 / 3.280839895^3 = 6.3658...).
long double EnglishPerSI(std::string_view code);

// A value of the code converted from one system to another: multiplied by
// EnglishPerSI from SI to English, divided from English to SI, unchanged
// for any other pair or a code that does not convert.
long double ConvertUnits(long double value, std::string_view code, int fromSystem, int toSystem);

// The factor from the displayed English value of a table cell to the value
// in the data file, where English values are held in pounds and inches:
// each foot (L2) in the code counts 12 inches ("L2": x12, "F/L2": /12,
// "F/L2^2": /144, "F/L2^3": /1728). 1 for every other system and code.
long double FileFactor(std::string_view code, int system);

// The question asked before a change of units system that converts nothing
// (to or from other units), naming the new system; empty when the change
// converts the values or is no change.
std::string UnitsSwitchQuestion(int fromSystem, int toSystem);

// A value the project holds as an entry field shows it, and back. English
// projects hold heights in inches and pressures in lb/in^2 but show them in
// feet and lb/ft^2 (FileFactor of the field's code). The factor is applied
// as a whole multiplier or divisor, never as its inexact reciprocal, so that
// 20 ft is exactly 240 in and back, and 250 lb/ft^2 comes back as 250.
long double ShownValue(double held, std::string_view code, int system);
double HeldValue(long double shown, std::string_view code, int system);

// A graph's unit text for its axis captions. Units 1 and 2 replace one force
// form per text (every "F2" if there is one, else every "F1", else every
// "F") and then one length form ("L2", else "L1", else "L"); units 3 leaves
// the text unchanged. "F/L" reads "lbs/in" in English.
std::string UnitSubstitute(std::string_view text, int units);

// The unit text of an entry field's label: as UnitSubstitute, with the
// force forms F6, F5, F4, F2, F1 (the first found) before "F", and the
// length forms L2, L1, L3 before "L", and the names of entry fields
// ("lb-sec2/in", "sec", "slug" and their SI counterparts). Units 3 (and any
// value other than 1 or 2) leaves the text as written.
std::string FieldUnitText(std::string_view text, int units);

}  // namespace terraq::ui
