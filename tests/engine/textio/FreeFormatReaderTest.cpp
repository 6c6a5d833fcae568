// The free-format reader of the data file: separators, records across and
// within lines, "/" ending a read, line ends, malformed values and the end
// of the file, each error carrying the line it happened on.

#include <gtest/gtest.h>

#include <sstream>

#include "textio/FreeFormatReader.h"

using namespace terraq::engine;

namespace {

// One read of `count` reals; values the read does not supply stay at -1.
std::vector<double> reals(FreeFormatReader& reader, int count) {
  std::vector<double> v(static_cast<size_t>(count), -1.0);
  const FreeRecord r = reader.read(count);
  for (size_t k = 0; k < v.size(); ++k) r.assign(k, v[k]);
  return v;
}

InputError errorOf(const std::string& text, void (*action)(FreeFormatReader&)) {
  std::istringstream in(text);
  FreeFormatReader reader(in);
  try {
    action(reader);
  } catch (const InputError& e) {
    return e;
  }
  ADD_FAILURE() << "no InputError for: " << text;
  return InputError(InputError::Kind::EndOfFile, -1, "");
}

}  // namespace

TEST(FreeFormatReader, BlanksTabsAndCommasSeparate) {
  std::istringstream in("1, 2\t3 ,4,,5\t, 6\n");
  FreeFormatReader reader(in);
  EXPECT_EQ(reals(reader, 6), (std::vector<double>{1, 2, 3, 4, 5, 6}));
}

TEST(FreeFormatReader, ReadGoesAcrossLinesAndSkipsTheRestOfItsLastLine) {
  std::istringstream in("1 2\n\n3\n4 5 6\n7\n");
  FreeFormatReader reader(in);
  EXPECT_EQ(reals(reader, 4), (std::vector<double>{1, 2, 3, 4}));
  EXPECT_EQ(reader.lineNumber(), 4);
  EXPECT_EQ(reals(reader, 1), (std::vector<double>{7}));  // 5 and 6 were skipped
  EXPECT_EQ(reader.lineNumber(), 5);
}

TEST(FreeFormatReader, SlashEndsTheReadAndKeepsTheRestAsItWas) {
  std::istringstream in("1 2 / 9 9\n3/\n/\n5 6\n");
  FreeFormatReader reader(in);
  EXPECT_EQ(reals(reader, 4), (std::vector<double>{1, 2, -1, -1}));
  EXPECT_EQ(reals(reader, 2), (std::vector<double>{3, -1}));
  EXPECT_EQ(reals(reader, 1), (std::vector<double>{-1}));
  EXPECT_EQ(reals(reader, 2), (std::vector<double>{5, 6}));
  // The slash also ends a read that has crossed lines already.
  std::istringstream in2("1\n2 / 7\n8\n");
  FreeFormatReader reader2(in2);
  EXPECT_EQ(reals(reader2, 3), (std::vector<double>{1, 2, -1}));
  EXPECT_EQ(reals(reader2, 1), (std::vector<double>{8}));
}

TEST(FreeFormatReader, CrLfLineEnds) {
  std::istringstream in("Title with blanks \r\n1 2\r\n3\r\n");
  FreeFormatReader reader(in);
  EXPECT_EQ(reader.readLine(), "Title with blanks ");
  EXPECT_EQ(reals(reader, 2), (std::vector<double>{1, 2}));
  int n = 0;
  reader.read(1).assign(0, n);
  EXPECT_EQ(n, 3);
}

TEST(FreeFormatReader, LastLineWithoutLineEnd) {
  std::istringstream in("4 5");
  FreeFormatReader reader(in);
  EXPECT_EQ(reals(reader, 2), (std::vector<double>{4, 5}));
}

TEST(FreeFormatReader, RealForms) {
  const std::pair<const char*, double> accepted[] = {
      {"2", 2},      {"2.", 2},      {".5", 0.5},    {"-.5", -0.5},  {"+3", 3},
      {"2E3", 2000}, {"2e-3", 2e-3}, {"2D3", 2000},  {"2d+3", 2000}, {"1.5E+02", 150},
      {"-0", 0},     {"1E-400", 0},  {"007.50", 7.5}, {"+.5", 0.5},   {"-5.e-1", -0.5},
      {"1.5d2", 150}};
  for (const auto& [text, value] : accepted) {
    double v = -99;
    EXPECT_TRUE(ParseReal(text, v)) << text;
    EXPECT_DOUBLE_EQ(v, value) << text;
  }
  for (const char* text : {"", ".", "-", "1.2.3", "1E", "1E+", "--1", "+-1", "-+1", "abc", "inf",
                           "nan", "0x10", "1e400", "-1e400", "1,5", "2 ", "3*4", "1E5.0", "E5",
                           "1E+-5", "1.5Q2"}) {
    double v = -99;
    EXPECT_FALSE(ParseReal(text, v)) << text;
    EXPECT_EQ(v, -99) << text;
  }
}

TEST(FreeFormatReader, IntegerForms) {
  int v = 0;
  EXPECT_TRUE(ParseInteger("+7", v));
  EXPECT_EQ(v, 7);
  EXPECT_TRUE(ParseInteger("-0", v));
  EXPECT_EQ(v, 0);
  EXPECT_TRUE(ParseInteger("2147483647", v));
  EXPECT_EQ(v, 2147483647);
  EXPECT_TRUE(ParseInteger("-2147483648", v));
  EXPECT_EQ(v, -2147483647 - 1);
  for (const char* text : {"2.5", "2.", "1E2", "2147483648", "-2147483649", "99999999999999999999",
                           "+", "-", "", "1-", "0x1", "4a", "+-1", "++1", " 1"})
    EXPECT_FALSE(ParseInteger(text, v)) << text;
}

TEST(FreeFormatReader, MalformedValuesCarryTheirLineAndWord) {
  const InputError integer = errorOf("Title\n1 2\n\n2.5 3\n", [](FreeFormatReader& r) {
    r.readLine();
    int a = 0, b = 0, c = 0;
    const FreeRecord rec = r.read(3);
    rec.assign(0, a);
    rec.assign(1, b);
    rec.assign(2, c);
  });
  EXPECT_EQ(integer.kind(), InputError::Kind::BadInteger);
  EXPECT_EQ(integer.line(), 4);
  EXPECT_EQ(integer.token(), "2.5");

  const InputError real = errorOf("1 x1\n", [](FreeFormatReader& r) {
    double a = 0, b = 0;
    const FreeRecord rec = r.read(2);
    rec.assign(0, a);
    rec.assign(1, b);
  });
  EXPECT_EQ(real.kind(), InputError::Kind::BadNumber);
  EXPECT_EQ(real.line(), 1);
  EXPECT_EQ(real.token(), "x1");
}

TEST(FreeFormatReader, EndOfFileNamesTheMissingLine) {
  const InputError inRead = errorOf("1 2\n\n", [](FreeFormatReader& r) { r.read(3); });
  EXPECT_EQ(inRead.kind(), InputError::Kind::EndOfFile);
  EXPECT_EQ(inRead.line(), 3);
  const InputError title = errorOf("", [](FreeFormatReader& r) { r.readLine(); });
  EXPECT_EQ(title.kind(), InputError::Kind::EndOfFile);
  EXPECT_EQ(title.line(), 1);
  const InputError afterTitle = errorOf("Title\r\n", [](FreeFormatReader& r) {
    r.readLine();
    r.read(1);
  });
  EXPECT_EQ(afterTitle.line(), 2);
}
