// Number forms shared by the cells, the fields and the data file, and their
// independence of the user's locale.

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <locale>

#include "controls/EvaluateEntry.h"
#include "controls/NumberFormat.h"

using terraq::ui::FormatFileReal;
using terraq::ui::FormatGeneral;
using terraq::ui::ParseReal;

namespace {

TEST(FormatFileReal, ShortestFormWithEightDigits) {
  EXPECT_EQ(FormatFileReal(100), "100");
  EXPECT_EQ(FormatFileReal(0.5), "0.5");
  EXPECT_EQ(FormatFileReal(-2.25), "-2.25");
  EXPECT_EQ(FormatFileReal(0), "0");
  EXPECT_EQ(FormatFileReal(-0.0), "0");
  EXPECT_EQ(FormatFileReal(1e9), "1E9");
  EXPECT_EQ(FormatFileReal(12345678), "12345678");
  EXPECT_EQ(FormatFileReal(123456789), "1.2345679E8");  // more than 8 integer digits
  EXPECT_EQ(FormatFileReal(99999999.7), "1E8");         // decided after rounding
  EXPECT_EQ(FormatFileReal(0.00001), "0.00001");
  EXPECT_EQ(FormatFileReal(0.0000099), "9.9E-6");       // below 0.00001
  EXPECT_EQ(FormatFileReal(1e-6), "1E-6");
  EXPECT_EQ(FormatFileReal(-1.5e-12), "-1.5E-12");
  EXPECT_EQ(FormatFileReal(120.0 / 1728), "0.069444444");
  EXPECT_EQ(FormatFileReal(1000.0 / 144), "6.9444444");
  EXPECT_EQ(FormatFileReal(2.54), "2.54");
  EXPECT_EQ(FormatFileReal(1.0 / 3), "0.33333333");
}

TEST(FormatGeneral, SignificantDigits) {
  EXPECT_EQ(FormatGeneral(1234.5678L, 4), "1235");
  EXPECT_EQ(FormatGeneral(12346, 4), "1.235E4");
  EXPECT_EQ(FormatGeneral(0.012345, 5), "0.012345");
  EXPECT_EQ(FormatGeneral(1.0L / 3, 18), "0.333333333333333333");
  EXPECT_EQ(FormatGeneral(2e-5L, 18), "0.00002");
  EXPECT_EQ(FormatGeneral(1e25L, 18), "1E25");
  EXPECT_EQ(FormatGeneral(NAN, 8), "NAN");
  EXPECT_EQ(FormatGeneral(-INFINITY, 8), "-INF");
}

TEST(FormatHex, EntryFieldForm) {
  EXPECT_EQ(terraq::ui::FormatHex(255), "$00FF");
  EXPECT_EQ(terraq::ui::FormatHex(70000.4L), "$11170");
  EXPECT_EQ(terraq::ui::FormatHex(-1), "$FFFFFFFF");
  EXPECT_EQ(terraq::ui::FormatHex(1e12L), "$7FFFFFFF");
}

TEST(ParseReal, AcceptsDecimalFormsOnly) {
  long double v = 0;
  EXPECT_TRUE(ParseReal("12", v));
  EXPECT_EQ(v, 12);
  EXPECT_TRUE(ParseReal(".5", v));
  EXPECT_EQ(v, 0.5L);
  EXPECT_TRUE(ParseReal("5.", v));
  EXPECT_EQ(v, 5);
  EXPECT_TRUE(ParseReal("-1e-3", v));
  EXPECT_EQ(v, -0.001L);
  EXPECT_TRUE(ParseReal("+2E+2", v));
  EXPECT_EQ(v, 200);
  EXPECT_TRUE(ParseReal("0.1", v));
  EXPECT_EQ(v, 0.1L);
  for (const char* bad : {"", ".", "-", "e5", "1e", "1e+", "1.2.3", "inf", "nan", "0x10", " 1", "1 ", "1,5",
                          "1e99999", "--1"})
    EXPECT_FALSE(ParseReal(bad, v)) << bad;
}

TEST(FormatFileReal, ReadsBackWithinEightDigits) {
  for (double x : {3.14159265358979, -271828.18284, 6.02214076e23, 1.602e-19, 0.000123456789, 1e-5, 987654321.0}) {
    long double back = 0;
    ASSERT_TRUE(ParseReal(FormatFileReal(x), back)) << FormatFileReal(x);
    EXPECT_NEAR(static_cast<double>(back) / x, 1.0, 5e-8) << FormatFileReal(x);
  }
}

// A locale whose decimal separator is a comma.
struct CommaPoint : std::numpunct<char> {
  char do_decimal_point() const override { return ','; }
};

void expectLocaleFreeForms() {
  EXPECT_EQ(FormatFileReal(2.5), "2.5");
  EXPECT_EQ(FormatGeneral(1.5e-7L, 18), "1.5E-7");
  long double v = 0;
  EXPECT_TRUE(ParseReal("2.5", v));
  EXPECT_EQ(v, 2.5L);
  EXPECT_FALSE(ParseReal("2,5", v));
  EXPECT_EQ(terraq::ui::EvaluateEntry("1.5*3"), 4.5L);
}

TEST(NumberForms, IgnoreACommaStreamLocale) {
  const std::locale previous = std::locale::global(std::locale(std::locale::classic(), new CommaPoint));
  expectLocaleFreeForms();
  std::locale::global(previous);
}

TEST(NumberForms, IgnoreACommaCLocale) {
  const std::string previous = std::setlocale(LC_ALL, nullptr);
  if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "de_DE.UTF-8 is not installed";
  expectLocaleFreeForms();
  std::setlocale(LC_ALL, previous.c_str());
}

}  // namespace
