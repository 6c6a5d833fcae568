// Units codes: unit texts per system, the conversion factors between English
// and SI, the data file's foot-to-inch factors, and the two other unit-text
// rules (graph axes and entry-field labels).

#include <gtest/gtest.h>

#include <cmath>

#include "controls/NumberFormat.h"
#include "controls/UnitsCode.h"
#include "project/StudyUnits.h"

using namespace terraq::ui;

namespace {

// Published conversion factors, independent of the code under test.
constexpr double kLbfPerKN = 1000.0 / 4.4482216152605;  // 1 lbf = 4.4482216152605 N
constexpr double kInPerM = 1.0 / 0.0254;
constexpr double kFtPerM = 1.0 / 0.3048;

TEST(UnitsCode, ParsesLettersExponentsAndDenominator) {
  const auto terms = ParseUnitsCode("F-L^2/L2^3");
  ASSERT_EQ(terms.size(), 3u);
  EXPECT_EQ(terms[0].dimension, 'F');
  EXPECT_FALSE(terms[0].denominator);
  EXPECT_EQ(terms[1].dimension, 'L');
  EXPECT_EQ(terms[1].exponent, 2);
  EXPECT_EQ(terms[2].variant, 2);
  EXPECT_EQ(terms[2].exponent, 3);
  EXPECT_TRUE(terms[2].denominator);
  EXPECT_TRUE(ParseUnitsCode("").empty());
  EXPECT_EQ(ParseUnitsCode("F-L/RAD.").size(), 2u);  // RAD. is text only
}

// A study of the subgrade-reaction springs shows and converts their modulus
// as a unit weight, their ratios as ratios.
TEST(UnitsCode, StudiedSpringParametersHaveTheirUnits) {
  EXPECT_EQ(ParameterUnit("layer.2.khTop", 2), "kN/m^3");
  EXPECT_EQ(ParameterUnit("layer.1.khBottom", 1), "lbs/in^3");
  EXPECT_EQ(ParameterUnit("layer.1.ocr", 2), "");
  const double lbsPerIn3 = kLbfPerKN / (kInPerM * kInPerM * kInPerM);  // of 1 kN/m^3
  EXPECT_NEAR(StudyValueFactor("layer.3.khTop", false, 2, 1), lbsPerIn3, 1e-9 * lbsPerIn3);
  EXPECT_EQ(StudyValueFactor("layer.3.reloadRatio", false, 2, 1), 1.0);
}

TEST(UnitsCode, UnitTextPerSystem) {
  EXPECT_EQ(UnitText("F/L2^3", 1), "lbs/ft^3");
  EXPECT_EQ(UnitText("F/L2^3", 2), "kN/m^3");
  EXPECT_EQ(UnitText("F/L2^3", 3), "F/L^3");
  EXPECT_EQ(UnitText("F-L^2", 1), "lbs-in^2");
  EXPECT_EQ(UnitText("F-L/RAD.", 2), "kN-m/RAD.");
  EXPECT_EQ(UnitText("F1-L1", 1), "kips-in");
  EXPECT_EQ(UnitText("F2/L1", 2), "kN/mm");
  EXPECT_EQ(UnitText("L3", 1), "rad");
  EXPECT_EQ(UnitText("", 1), "");
  EXPECT_EQ(UnitText("SEE NOTES", 1), "SEE NOTES");
}

// The program's factors carry 10 significant digits; the force factors are
// those of a slightly older definition of the pound-force, within 1e-7.
void expectFactor(const char* code, double published) {
  EXPECT_NEAR(static_cast<double>(EnglishPerSI(code)) / published, 1.0, 1e-7) << code;
}

TEST(UnitsCode, EnglishPerSIFactors) {
  expectFactor("F", kLbfPerKN);
  expectFactor("F1", kLbfPerKN / 1000);
  expectFactor("F2", kLbfPerKN / 2000);
  expectFactor("L", kInPerM);
  expectFactor("L1", kInPerM / 1000);
  expectFactor("L2", kFtPerM);
  expectFactor("F/L2^3", kLbfPerKN / std::pow(kFtPerM, 3));  // kN/m^3 to lb/ft^3
  expectFactor("F-L^2", kLbfPerKN * kInPerM * kInPerM);
  expectFactor("F/L^2", kLbfPerKN / (kInPerM * kInPerM));
  EXPECT_NEAR(static_cast<double>(EnglishPerSI("F/L2^3")), 6.3658, 1e-4);
  EXPECT_EQ(EnglishPerSI(""), 1.0L);
  EXPECT_EQ(EnglishPerSI("L3"), 1.0L);
}

TEST(UnitsCode, ConvertsOnlyBetweenEnglishAndSI) {
  const long double weight = 120;  // lb/ft^3
  const long double si = ConvertUnits(weight, "F/L2^3", 1, 2);
  EXPECT_NEAR(static_cast<double>(si), 120 / 6.36588, 1e-4);  // 1 kN/m^3 = 6.36588 lb/ft^3
  EXPECT_NEAR(static_cast<double>(ConvertUnits(si, "F/L2^3", 2, 1)), 120.0, 1e-12);
  EXPECT_EQ(ConvertUnits(weight, "F/L2^3", 1, 3), weight);
  EXPECT_EQ(ConvertUnits(weight, "F/L2^3", 3, 2), weight);
  EXPECT_EQ(ConvertUnits(weight, "F/L2^3", 1, 1), weight);
  EXPECT_EQ(ConvertUnits(weight, "", 1, 2), weight);
  EXPECT_EQ(ConvertUnits(weight, "SEE NOTES", 1, 2), weight);
  EXPECT_FALSE(IsConvertibleCode("SEE NOTES"));
  EXPECT_TRUE(IsConvertibleCode("L"));
}

TEST(UnitsCode, FileFactorTurnsFeetIntoInches) {
  EXPECT_EQ(FileFactor("L2", 1), 12.0L);
  EXPECT_EQ(FileFactor("F/L2", 1), 1.0L / 12);
  EXPECT_NEAR(static_cast<double>(FileFactor("F/L2^2", 1)), 1.0 / 144, 1e-17);
  EXPECT_NEAR(static_cast<double>(FileFactor("F/L2^3", 1)), 1.0 / 1728, 1e-17);
  EXPECT_EQ(FileFactor("F/L^3", 1), 1.0L);
  EXPECT_EQ(FileFactor("L1", 1), 1.0L);
  EXPECT_EQ(FileFactor("L2", 2), 1.0L);
  EXPECT_EQ(FileFactor("L2", 3), 1.0L);
}

TEST(UnitsCode, FieldsShowFeetAndPoundsPerSquareFootOfValuesHeldInInches) {
  EXPECT_EQ(HeldValue(20, "L2", 1), 240);
  EXPECT_EQ(ShownValue(240, "L2", 1), 20);
  EXPECT_EQ(HeldValue(250, "F/L2^2", 1), 250.0 / 144);
  EXPECT_EQ(FormatDisplay(ShownValue(250.0 / 144, "F/L2^2", 1)), "250");
  EXPECT_EQ(HeldValue(7, "L2", 2), 7);  // SI values are shown as held
}

TEST(UnitSubstitute, OneForceAndOneLengthFormPerText) {
  EXPECT_EQ(UnitSubstitute("F/L", 1), "lbs/in");
  EXPECT_EQ(UnitSubstitute("F-L", 2), "kN-m");
  EXPECT_EQ(UnitSubstitute("F/L2", 1), "lbs/ft");
  EXPECT_EQ(UnitSubstitute("F1-L1", 2), "kN-mm");
  EXPECT_EQ(UnitSubstitute("F2/F", 1), "tons/F");  // only the F2 form is replaced
  EXPECT_EQ(UnitSubstitute("L2/L", 1), "ft/L");
  EXPECT_EQ(UnitSubstitute("L3", 1), "in3");       // no L3 form for graphs
  EXPECT_EQ(UnitSubstitute("F/L", 3), "F/L");
}

TEST(FieldUnitText, LabelsOfEntryFields) {
  EXPECT_EQ(FieldUnitText("F/L2^2", 1), "lbs/ft^2");
  EXPECT_EQ(FieldUnitText("L", 2), "m");
  EXPECT_EQ(FieldUnitText("L", 1), "in");
  EXPECT_EQ(FieldUnitText("L3", 1), "rad");
  EXPECT_EQ(FieldUnitText("F4", 1), "lb-sec2/in");
  EXPECT_EQ(FieldUnitText("F4", 2), "Mg");
  EXPECT_EQ(FieldUnitText("F5", 1), "sec");
  EXPECT_EQ(FieldUnitText("F6/L", 1), "slug/in");
  EXPECT_EQ(FieldUnitText("F6/L", 2), "Mg/m");
  EXPECT_EQ(FieldUnitText("F-L/RAD.", 1), "lbs-in/RAD.");
  EXPECT_EQ(FieldUnitText("F/L2^2", 3), "F/L2^2");
}

}  // namespace
