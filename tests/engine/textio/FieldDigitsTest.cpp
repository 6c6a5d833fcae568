// The digits of Fw.d and Ew.d fields and of list-directed reals taken straight from the value must
// be exactly those of the exact conversion (printf's, which rounds ties to even on the binary
// value): compared here on some hundred thousand random and chosen values, the fields built around
// them included.

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "textio/FieldDigits.h"
#include "textio/FixedFormat.h"
#include "textio/FreeFormatReader.h"
#include "textio/ScratchDigits.h"

using namespace terraq::engine;

namespace {

// The field rules of FixedFormat.h applied to a text: right-aligned, one
// column too many drops the leading zero of a fraction, more gives asterisks.
std::string Field(std::string text, int w) {
  const size_t width = static_cast<size_t>(w);
  if (text.size() > width) {
    const size_t zero = text[0] == '-' ? 1 : 0;
    if (text.size() == width + 1 && text.size() > zero + 1 && text[zero] == '0' &&
        text[zero + 1] == '.')
      return text.erase(zero, 1);
    return std::string(width, '*');
  }
  return std::string(width - text.size(), ' ') + text;
}

std::string PrintfE(double v, int w, int d) {
  char digits[400];
  std::snprintf(digits, sizeof digits, "%.*e", d - 1, std::fabs(v));
  std::string text = v < 0 ? "-0." : "0.";
  const char* e = digits;
  for (; *e != 'e'; ++e)
    if (*e != '.') text += *e;
  int exponent = v == 0.0 ? 0 : std::atoi(e + 1) + 1;
  const int a = std::abs(exponent);
  char tail[8];
  std::snprintf(tail, sizeof tail, a > 99 ? "%c%03d" : "E%c%02d", exponent < 0 ? '-' : '+', a);
  return Field(text + tail, w);
}

std::string PrintfF(double v, int w, int d) {
  char text[400];
  std::snprintf(text, sizeof text, "%.*f", d, v);
  return Field(text, w);
}

// Values of every kind the files see: random bits over the engine's range,
// short decimals (ties in abundance: 0.125, 2.5E-3), their neighbours, and
// powers of ten with theirs.
std::vector<double> Values() {
  std::mt19937_64 random(20261208);
  std::vector<double> values = {0.0,
                                -0.0,
                                0.5,
                                -0.5,
                                1.0,
                                9.5,
                                0.05,
                                0.15,
                                1e99,
                                9.9999999995e98,
                                1e-99,
                                1e-100,
                                9.99999e-100,
                                1e100,
                                1e300,
                                5e-324,
                                1.7976931348623157e308};
  std::uniform_real_distribution<double> exponent(-40.0, 40.0);
  std::uniform_int_distribution<long long> decimal(-2000000, 2000000);
  std::uniform_int_distribution<int> scale(0, 12);
  for (int k = 0; k < 40000; ++k) {
    values.push_back(std::pow(10.0, exponent(random)) * (k % 2 ? 1 : -1));
    const double d = static_cast<double>(decimal(random)) / std::pow(10.0, scale(random));
    values.push_back(d);
    values.push_back(std::nextafter(d, 1e300));
    values.push_back(std::nextafter(d, -1e300));
  }
  for (int p = -30; p <= 30; ++p) {
    const double t = std::pow(10.0, p);
    for (double v :
         {t, std::nextafter(t, 0.0), std::nextafter(t, 1e300), 0.5 * t, 9.5 * t, 0.95 * t})
      values.push_back(v);
  }
  return values;
}

}  // namespace

TEST(FieldDigits, FieldsMatchTheExactConversionDigitForDigit) {
  const std::vector<double> values = Values();
  struct Format {
    int w, d;
  };
  // The formats of the files, and the widest digits the fast path takes.
  const Format eFormats[] = {{10, 3}, {12, 4}, {13, 4}, {17, 10}, {24, 17}, {6, 3}};
  const Format fFormats[] = {{7, 3}, {10, 2}, {8, 5}, {12, 0}, {30, 17}};
  size_t mismatches = 0;
  for (const double v : values) {
    for (const Format f : eFormats) {
      const std::string got = FormatE(v, f.w, f.d), want = PrintfE(v, f.w, f.d);
      if (got != want && ++mismatches < 20)
        ADD_FAILURE() << v << " E" << f.w << "." << f.d << ": " << got << " != " << want;
    }
    char general[40];
    std::snprintf(general, sizeof general, " %.9G", v);
    if ((ListRecord() << v).str() != general && ++mismatches < 20)
      ADD_FAILURE() << v << " list-directed: " << (ListRecord() << v).str() << " != " << general;
    if (std::fabs(v) >= 1e300) continue;  // asterisks by rule, not by width
    for (const Format f : fFormats) {
      const std::string got = FormatF(v, f.w, f.d), want = PrintfF(v, f.w, f.d);
      if (got != want && ++mismatches < 20)
        ADD_FAILURE() << v << " F" << f.w << "." << f.d << ": " << got << " != " << want;
    }
  }
  EXPECT_EQ(mismatches, 0u);
}

// The generators' results reach the analysis as the values their old
// scratch text read back to: the same bits, sign of zero included.
TEST(FieldDigits, ScratchValuesAreWhatTheirTextReadsBackTo) {
  const auto readBack = [](const std::string& text) -> std::optional<double> {
    double v = 0;
    if (!ParseReal(text.substr(text.find_first_not_of(' ')), v)) return std::nullopt;
    return v;
  };
  const auto same = [](std::optional<double> a, std::optional<double> b) {
    return a.has_value() == b.has_value() && (!a || std::memcmp(&*a, &*b, sizeof(double)) == 0);
  };
  size_t mismatches = 0;
  for (const double v : Values()) {
    if (!same(ScratchRounded(v), readBack(FormatE(v, kScratchFieldWidth, kScratchDigits))) &&
        ++mismatches < 20)
      ADD_FAILURE() << "E17.10 of " << v;
    if (!same(ListRounded(v), readBack((ListRecord() << v).str())) && ++mismatches < 20)
      ADD_FAILURE() << "list-directed " << v;
    // The report's and the plot file's fields, as the run summary reads them.
    for (int digits : {3, 4}) {
      char text[400];
      std::snprintf(text, sizeof text, "%.*e", digits - 1, v);
      if (!same(RoundedToDigits(v, digits), std::strtod(text, nullptr)) && ++mismatches < 20)
        ADD_FAILURE() << digits << " digits of " << v;
    }
  }
  EXPECT_EQ(mismatches, 0u);
}

// The fast path must carry the work: it declines only near ties and
// outside its range, never for ordinary values.
TEST(FieldDigits, DeclinesOnlyTiesAndTheFarRange) {
  std::uint64_t n = 0;
  int e = 0;
  EXPECT_FALSE(SignificantDigits(0.125, 2, n, e));  // a tie: the exact conversion decides
  EXPECT_FALSE(SignificantDigits(1e-60, 4, n, e));  // beyond the exact powers of ten
  ASSERT_TRUE(SignificantDigits(0.1235, 3, n, e));  // 0.1235 lies just below the tie in binary
  EXPECT_EQ(n, 123u);
  EXPECT_EQ(e, 0);
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> exponent(-15.0, 15.0);
  int declined = 0;
  for (int k = 0; k < 10000; ++k)
    declined += !SignificantDigits(std::pow(10.0, exponent(random)), 10, n, e);
  EXPECT_LT(declined, 10);
}

// Every digit count on two million values: random bit patterns over the
// range the fast path takes, and decimal ties (D.5 x 10^k) with the doubles
// either side of them, where a scaling error would show first. Whatever the
// fast path accepts must be printf's digits; a value it declines goes to the
// exact conversion and cannot be wrong.
TEST(FieldDigits, AcceptedDigitsAreTheExactConversionsOnMillionsOfValues) {
  std::mt19937_64 random(20261210);
  std::uniform_int_distribution<std::uint64_t> bits(0x3690000000000000ULL,
                                                    0x4690000000000000ULL);  // ~1e-45 .. 1e32
  std::uniform_int_distribution<long long> tie(1, 99999999);
  std::uniform_int_distribution<int> power(-30, 20);
  size_t mismatches = 0, accepted = 0;
  const auto check = [&](double v, int digits) {
    std::uint64_t n = 0;
    int e = 0;
    if (!SignificantDigits(v, digits, n, e)) return;
    ++accepted;
    char want[64], got[64];
    std::snprintf(want, sizeof want, "%.*e", digits - 1, v);
    const std::string m = std::to_string(n);
    std::snprintf(got, sizeof got, "%c%s%se%+03d", m[0], digits > 1 ? "." : "", m.c_str() + 1,
                  e - 1);
    if (std::strcmp(want, got) != 0 && ++mismatches < 20)
      ADD_FAILURE() << v << " to " << digits << " digits: " << got << " != " << want;
  };
  for (int k = 0; k < 1000000; ++k) {
    const int digits = 1 + k % 17;
    check(std::bit_cast<double>(bits(random)), digits);
    const long long d = tie(random);
    const double t = (static_cast<double>(d) + 0.5) * std::pow(10.0, power(random));
    const int tieDigits = static_cast<int>(std::to_string(d).size()) + 1;
    for (double v : {t, std::nextafter(t, 0.0), std::nextafter(t, 1e300)}) check(v, tieDigits - 1);
  }
  EXPECT_EQ(mismatches, 0u);
  EXPECT_GT(accepted, 2000000u);
}
