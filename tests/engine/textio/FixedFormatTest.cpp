// Fixed-format fields (In, Fw.d, Ew.d, An, nX) and list-directed records.
// Expected texts are worked out by hand from the field rules: right-aligned
// numbers, E mantissas 0.ddd rounded to d digits, the optional leading zero
// dropped when the field is one column short, asterisks when it is still
// too narrow.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <sstream>

#include "textio/FixedFormat.h"

using namespace terraq::engine;

TEST(FixedFormat, IntegerFields) {
  EXPECT_EQ(FormatI(5, 3), "  5");
  EXPECT_EQ(FormatI(0, 2), " 0");
  EXPECT_EQ(FormatI(-12, 4), " -12");
  EXPECT_EQ(FormatI(999, 3), "999");
  // A station of four digits in I3, a negative one that needs the sign
  // column: the field is filled with asterisks, never widened.
  EXPECT_EQ(FormatI(1000, 3), "***");
  EXPECT_EQ(FormatI(-100, 3), "***");
  EXPECT_EQ(FormatI(std::numeric_limits<long long>::min(), 4), "****");
  // Width 0 (I0): just the digits, for numbers inside messages.
  EXPECT_EQ(FormatI(-12, 0), "-12");
  EXPECT_EQ(FormatI(std::numeric_limits<long long>::min(), 0), "-9223372036854775808");
}

TEST(FixedFormat, FixedPointFields) {
  EXPECT_EQ(FormatF(12.0, 7, 3), " 12.000");
  EXPECT_EQ(FormatF(100.0, 7, 3), "100.000");
  EXPECT_EQ(FormatF(1.23456, 7, 3), "  1.235");
  EXPECT_EQ(FormatF(-1.5, 7, 3), " -1.500");
  EXPECT_EQ(FormatF(0.0, 7, 3), "  0.000");
  EXPECT_EQ(FormatF(0.0001, 7, 5), "0.00010");
  EXPECT_EQ(FormatF(9.999996, 7, 5), "*******");  // rounds to 10.00000
  // One column short: the leading zero goes; more: asterisks.
  EXPECT_EQ(FormatF(0.5, 4, 3), ".500");
  EXPECT_EQ(FormatF(-0.5, 5, 3), "-.500");
  EXPECT_EQ(FormatF(-12.5, 6, 3), "******");
  EXPECT_EQ(FormatF(1000.0, 7, 3), "*******");
}

TEST(FixedFormat, ToleranceOfHundredOverflowsF75) {
  EXPECT_EQ(FormatF(1.0, 7, 5), "1.00000");
  EXPECT_EQ(FormatF(100.0, 7, 5), "*******");
  EXPECT_EQ(FormatF(1e299, 7, 5), "*******");
}

TEST(FixedFormat, ExponentFields) {
  EXPECT_EQ(FormatE(12.5, 10, 3), " 0.125E+02");
  EXPECT_EQ(FormatE(-12.5, 10, 3), "-0.125E+02");
  EXPECT_EQ(FormatE(0.0, 10, 3), " 0.000E+00");
  EXPECT_EQ(FormatE(-0.0, 10, 3), " 0.000E+00");
  EXPECT_EQ(FormatE(1.0, 10, 3), " 0.100E+01");
  EXPECT_EQ(FormatE(1e9, 10, 3), " 0.100E+10");
  EXPECT_EQ(FormatE(0.00012345, 10, 3), " 0.123E-03");
  EXPECT_EQ(FormatE(1234.5678, 13, 4), "   0.1235E+04");
  EXPECT_EQ(FormatE(1.0, 14, 3), "     0.100E+01");
}

TEST(FixedFormat, ExponentMantissaRoundsToDDigits) {
  EXPECT_EQ(FormatE(0.12349, 10, 3), " 0.123E+00");
  EXPECT_EQ(FormatE(0.12351, 10, 3), " 0.124E+00");
  // Rounding that carries into the next power of ten raises the exponent.
  EXPECT_EQ(FormatE(0.99996, 10, 3), " 0.100E+01");
  EXPECT_EQ(FormatE(9.9999e-5, 10, 3), " 0.100E-03");
  EXPECT_EQ(FormatE(-99.96, 10, 3), "-0.100E+03");
}

TEST(FixedFormat, ThreeDigitExponentsDropTheLetter) {
  EXPECT_EQ(FormatE(1.5e100, 10, 3), " 0.150+101");
  EXPECT_EQ(FormatE(-2.5e-120, 10, 3), "-0.250-119");
  EXPECT_EQ(FormatE(1e-100, 13, 4), "   0.1000E-99");
  EXPECT_EQ(FormatE(9.9996e99, 10, 3), " 0.100+101");
  EXPECT_EQ(FormatE(std::numeric_limits<double>::max(), 10, 3), " 0.180+309");
  EXPECT_EQ(FormatE(std::numeric_limits<double>::denorm_min(), 10, 3), " 0.494-323");
}

TEST(FixedFormat, ExponentFieldWidthRules) {
  EXPECT_EQ(FormatE(12.5, 9, 3), "0.125E+02");
  EXPECT_EQ(FormatE(12.5, 8, 3), ".125E+02");
  EXPECT_EQ(FormatE(-12.5, 9, 3), "-.125E+02");
  EXPECT_EQ(FormatE(12.5, 7, 3), "*******");
  EXPECT_EQ(FormatE(-1.5e100, 9, 3), "-.150+101");
  EXPECT_EQ(FormatE(-1.5e100, 8, 3), "********");
}

TEST(FixedFormat, NonFiniteAndDegenerateFieldsAreAsterisks) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(FormatE(inf, 10, 3), "**********");
  EXPECT_EQ(FormatE(-inf, 10, 3), "**********");
  EXPECT_EQ(FormatE(nan, 10, 3), "**********");
  EXPECT_EQ(FormatF(nan, 7, 3), "*******");
  EXPECT_EQ(FormatE(1.0, 10, 0), "**********");
  EXPECT_EQ(FormatE(1.0, 0, 3), "");
  // A precision wider than any buffer of the field code is still exact.
  EXPECT_EQ(FormatE(12.5, 90, 80), std::string(4, ' ') + "0.125" + std::string(77, '0') + "E+02");
  EXPECT_EQ(FormatF(0.5, 202, 200), "0.5" + std::string(199, '0'));
}

TEST(FixedFormat, LineBuildsFieldsInOrder) {
  EXPECT_EQ(Line().x(6).a("AB", 4).i(7, 3).str(), "      AB    7");
  EXPECT_EQ(Line().a("ABCDEF", 3).a("|").str(), "ABC|");
  EXPECT_EQ(Line().x(0).x(-2).a("X").f(2.5, 5, 1).e(12.5, 10, 3).str(), "X  2.5 0.125E+02");
}

TEST(FixedFormat, ListRecordRealsHaveNineDigitsInGeneralForm) {
  // Nine significant digits, trailing zeros dropped; fixed form for decimal
  // exponents -4 to 8, exponent form (two exponent digits at least) beyond.
  ListRecord record;
  record << 0.25 << 1.0 / 3.0 << -2.0 / 3.0 << 123456789.0 << 1e9 << 0.0001 << 1.5e-5 << -1e100
         << 0.0 << -0.0 << 9.9999999999 << std::numeric_limits<double>::infinity();
  EXPECT_EQ(record.str(),
            " 0.25 0.333333333 -0.666666667 123456789 1E+09 0.0001 1.5E-05 -1E+100 0 -0 10 INF");
}

TEST(FixedFormat, ListRecordReadsBackToSevenDigits) {
  const double values[] = {0.1, 1.0 / 3.0, 1e-7, -2.5e12, 123456789.0, 6.02214076e23, -0.0};
  ListRecord record;
  record << 3 << 40LL;
  for (double v : values) record << v;
  std::istringstream in(record.str());
  std::string word;
  // Integers stay integers: no point, no exponent.
  in >> word;
  EXPECT_EQ(word, "3");
  in >> word;
  EXPECT_EQ(word, "40");
  for (double v : values) {
    ASSERT_TRUE(in >> word);
    char* end = nullptr;
    const double back = std::strtod(word.c_str(), &end);
    EXPECT_EQ(*end, '\0') << word;
    EXPECT_LE(std::fabs(back - v), 1e-7 * std::fabs(v)) << word;
  }
  EXPECT_FALSE(in >> word);
}
