// The echo of the input in the report, line by line against texts worked
// out from the column formats of each section (nX blanks, In, Fw.d, Ew.d).
// tests/data/engine-echo.tq4d holds one problem with every kind of row:
// specified deflection, slope and both; a rigidity run plus a row on one
// station; loads standing alone, starting a run and ending it; a spring; a
// specified earth-pressure table; a user p-y curve above the free height and
// one below it.

#include <gtest/gtest.h>

#include <algorithm>

#include "EngineRun.h"
#include "RunChecks.h"

using terraq::test::ReadTextFile;
using terraq::test::RunEngineOn;
using terraq::test::SplitLines;

namespace {

std::string sp(int n) { return std::string(static_cast<size_t>(n), ' '); }

const std::string kStars = sp(6) + std::string(50, '*');
const std::string Z = " 0.000E+00";  // a zero in E10.3

// The lines of `report` from the first one equal to `first`, `count` of them.
std::vector<std::string> section(const std::string& report, const std::string& first,
                                 size_t count) {
  const std::vector<std::string> lines = SplitLines(report);
  const auto at = std::find(lines.begin(), lines.end(), first);
  if (at == lines.end()) return {"section not found: " + first};
  const auto end =
      lines.end() - at < static_cast<long>(count) ? lines.end() : at + static_cast<long>(count);
  return {at, end};
}

std::vector<std::string> box(const std::string& title) {
  return {"", "", kStars, sp(6) + title, kStars};
}

std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

class EchoGolden : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    report = new std::string(
        RunEngineOn(ReadTextFile(TERRAQ_SOURCE_DIR "/tests/data/engine-echo.tq4d")).report);
  }
  static void TearDownTestSuite() { delete report; }
  static std::string* report;
};
std::string* EchoGolden::report = nullptr;

const std::string kBanner = " TERRAQ - A PROGRAM FOR THE ANALYSIS OF FLEXIBLE RETAINING STRUCTURES";

}  // namespace

TEST_F(EchoGolden, BannerHeadingControlAndGeometry) {
  std::vector<std::string> got = section(*report, kBanner, 34);
  ASSERT_GE(got.size(), 2u);
  // The version text is ours to choose: one blank, then something.
  EXPECT_TRUE(got[1].size() > 1 && got[1][0] == ' ' && got[1][1] != ' ') << got[1];
  got[1] = "version";
  const std::vector<std::string> expected =
      std::vector<std::string>{kBanner, "version", "", "", "", sp(6) + "Golden wall" + sp(59)} +
      box("*        PROGRAM CONTROL PARAMETERS              *") +
      std::vector<std::string>{
          "",
          "      NO OF POINTS FOR SPECIFIED DEFLECTIONS AND SLOPES  =  3",
          "      NO OF POINTS FOR WALL STIFFNESS AND LOAD DATA      =  3",
          "      GENERATE EARTH PRESSURE INTERNALLY                 =  0",
          "      GENERATE SOIL RESISTANCE (P-Y) CURVES INTERNALLY   =  0",
          "      NO OF P-Y MODIFICATION FACTORS FOR GEN. P-Y CURVES =  0",
          "      NO OF USER-SPECIFIED SOIL RESISTANCE (P-Y) CURVES  =  2",
          "      NUMBER OF INCREMENTS                               =  20",
          "      INCREMENT LENGTH                                   =  12.000 IN",
          "      FREE HEIGHT OF WALL                                =  24.000 IN",
          "      MAXIMUM ALLOWABLE DEFLECTION                       =  10.000 IN",
          "      DEFLECTION CLOSURE TOLERANCE                       = 0.00100 IN"} +
      box("*        SPECIFIED DEFLECTIONS AND SLOPES        *") +
      std::vector<std::string>{
          "", sp(5) + "     STA      CASE       DEFLECTION        SLOPE", "",
          // 10X I3 7X I2, then per case: 8X E10.3 9X "NONE" | 11X "NONE" 8X E10.3 | 3X 5X E 5X E
          sp(10) + "  0" + sp(7) + " 1" + sp(8) + " 0.500E+00" + sp(9) + "NONE",
          sp(10) + " 10" + sp(7) + " 2" + sp(11) + "NONE" + sp(8) + " 0.100E-01",
          sp(10) + " 20" + sp(7) + " 3" + sp(3) + sp(5) + Z + sp(5) + Z};
  EXPECT_EQ(got, expected);
}

TEST_F(EchoGolden, StiffnessAndLoadTableWithEveryRowKind) {
  std::vector<std::string> got =
      section(*report, "      *        STIFFNESS AND LOAD DATA                 *", 17);
  ASSERT_EQ(got.size(), 17u);
  // The unit line: 18 blanks, then the labels of the six columns in order.
  const std::string units = got[8];
  EXPECT_EQ(units.substr(0, 19), sp(18) + "L") << units;
  size_t at = 0;
  for (const char* label : {"LBS-IN**2", "LBS", "LBS/IN", "LBS-IN", "LBS-IN/RAD", "LBS"}) {
    at = units.find(label, at);
    ASSERT_NE(at, std::string::npos) << label << " in " << units;
    at += std::string(label).size();
  }
  got[8] = "units";
  const std::vector<std::string> expected = {
      "      *        STIFFNESS AND LOAD DATA                 *", kStars,
      "      EI - FLEXURAL RIGIDITY,  Q - TRANSVERSE LOAD,",
      "      S - STIFFNESS OF TRANSVERSE RESISTANCE,",
      "      T - TORQUE,              P - AXIAL LOAD,",
      "      R - STIFFNESS OF TORSIONAL RESISTANCE.", "",
      "     FROM TO CONTD     EI         Q        S'        T         R         P", "units", "",
      // Rigidity: first of a run (5X I4 4X I3 1X), its end (9X I4 I3 1X), a row alone (5X I4 I4 I3
      // 1X).
      sp(5) + "   0" + sp(4) + "  1" + " " + " 0.100E+10" + Z + Z + Z + Z + Z,
      sp(9) + "  20" + "  0" + " " + " 0.200E+10" + Z + Z + Z + Z + Z,
      sp(5) + "   5" + "   5" + "  0" + " " + " 0.100E+09" + Z + Z + Z + Z + Z,
      // Loads; EI shows the wall's rigidity at FROM: the run's first value at
      // the top, 1.25E9 + 1E8 at station 5, 1.15E9 at 3.
      sp(5) + "   0" + "   0" + "  0" + " " + " 0.100E+10" + " 0.100E+04" + Z + Z + Z + Z,
      sp(5) + "   5" + sp(4) + "  1" + " " + " 0.135E+10" + " 0.100E+02" + Z + Z + Z + Z,
      sp(9) + "   8" + "  0" + " " + " 0.135E+10" + " 0.200E+02" + Z + " 0.500E+01" + Z +
          " 0.100E+03",
      sp(5) + "   3" + "   3" + "  0" + " " + " 0.115E+10" + Z + " 0.500E+04" + Z + " 0.100E+03" +
          Z};
  EXPECT_EQ(got, expected);
}

TEST_F(EchoGolden, SpecifiedEarthPressure) {
  const std::vector<std::string> got =
      section(*report, "      *        SPECIFIED ACTIVE EARTH PRESSURE         *", 11);
  const std::vector<std::string> expected = {
      "      *        SPECIFIED ACTIVE EARTH PRESSURE         *",
      kStars,
      "",
      "",
      "",
      sp(8) + " DEPTH         ACTIVE EARTH PRESSURE",
      sp(8) + " " + " IN" + sp(17) + " LBS" + "/" +
          "IN",  // 8X 1X L 17X F, 1- and 2-character pieces
      sp(8) + "--------       ------------------------",
      sp(6) + " 0.120E+03" + sp(10) + " 0.500E+02",
      sp(6) + " 0.240E+03" + sp(10) + " 0.100E+03",
      ""};
  EXPECT_EQ(got, expected);
}

TEST_F(EchoGolden, UserPyCurves) {
  const std::vector<std::string> got =
      section(*report, "      *     INPUTTED  SOIL RESISTANCE (P-Y) CURVES     *", 30);
  const std::string heading =
      "     FROM TO CONTD      P-MULTIPLIER  Y-MULTIPLIER'      POINTS     ";
  const std::vector<std::string> columns = {sp(18) + "    Y    " + sp(12) + "   P    ",
                                            sp(18) + sp(2) + " IN" + sp(16) + " LBS" + "/" + "IN",
                                            sp(18) + "---------" + sp(12) + "--------"};
  const auto point = [](const char* y, const char* p) { return sp(17) + y + sp(10) + p; };
  const std::vector<std::string> expected =
      std::vector<std::string>{"      *     INPUTTED  SOIL RESISTANCE (P-Y) CURVES     *", kStars,
                               "", "", heading, "", "",
                               // Above the free height, alone: 5X I4 I4 I3 5X 2E14.3 8X I4.
                               sp(5) + "   1" + "   1" + "  0" + sp(5) + "     0.100E+01" +
                                   "     0.100E+01" + sp(8) + "   2",
                               "", ""} +
      columns +
      std::vector<std::string>{point(" 0.000E+00", " 0.000E+00"), point(" 0.100E+01", " 0.100E+03"),
                               "", heading, "", "",
                               // Below it, but the last curve and no run to join: alone,
                               // acting at its station; points as YMULT*Y and PMULT*P.
                               sp(5) + "   5" + "   5" + "  0" + sp(5) + "     0.200E+01" +
                                   "     0.500E+00" + sp(8) + "   3",
                               "", ""} +
      columns +
      std::vector<std::string>{point(" 0.000E+00", " 0.000E+00"), point(" 0.500E+00", " 0.100E+03"),
                               point(" 0.100E+01", " 0.120E+03"), "",
                               sp(6) + "Golden wall" + sp(59)};
  EXPECT_EQ(got, expected);
}

TEST_F(EchoGolden, RunEndsNormally) {
  EXPECT_TRUE(terraq::test::EndsWithEndOfAnalysis(*report));
  EXPECT_EQ(report->find("ERROR"), std::string::npos);
}

TEST(EchoEmptyTables, BlankLinesStandForEmptyTablesAndSiLabels) {
  const std::string report =
      RunEngineOn("Short\n2 0 0 0 0 0 0 0 0\n4 0.5 1 0.0001 0\n1\n1 0 0 10 0 0\n0\n0\n").report;
  const std::vector<std::string> got =
      section(report, "      NUMBER OF INCREMENTS                               =   4", 17);
  const std::vector<std::string> expected =
      std::vector<std::string>{
          "      NUMBER OF INCREMENTS                               =   4",
          "      INCREMENT LENGTH                                   =   0.500  M",
          "      FREE HEIGHT OF WALL                                =   0.000  M",
          "      MAXIMUM ALLOWABLE DEFLECTION                       =   1.000  M",
          "      DEFLECTION CLOSURE TOLERANCE                       = 0.00010  M",
          "",
          sp(20)} +
      box("*        STIFFNESS AND LOAD DATA                 *");
  ASSERT_GE(got.size(), 12u);
  EXPECT_EQ(std::vector<std::string>(got.begin(), got.begin() + 12), expected);
  const std::vector<std::string> lines = SplitLines(report);
  const auto header =
      std::find(lines.begin(), lines.end(),
                "     FROM TO CONTD     EI         Q        S'        T         R         P");
  ASSERT_NE(header, lines.end());
  // Unit line and empty line, then the empty rigidity table, then the load row.
  ASSERT_GE(lines.end() - header, 6);
  EXPECT_EQ(header[2], "");
  EXPECT_EQ(header[3], "");
  EXPECT_EQ(header[4], sp(20));
  EXPECT_EQ(header[5], sp(5) + "   0" + "   0" + "  0" + " " + Z + " 0.100E+02" + Z + Z + Z + Z);
}

TEST(EchoEmptyTables, UnitsCodeThreeKeepsTheLabelsOfTheProblemBefore) {
  const std::string one = "1 0 1 0 0 0 0 0 0\n4 1 10 0.001 0\n0 4 1 1E6\n1\n1 0 0 1 0 0\n0\n";
  const std::string first = "First\n" + std::string("2") + one.substr(1) + "9\n";
  const std::string second = "Second\n" + std::string("3") + one.substr(1) + "0\n";
  const std::vector<std::string> lines = SplitLines(RunEngineOn(first + second).report);
  std::vector<std::string> increments;
  for (const std::string& line : lines)
    if (line.rfind("      INCREMENT LENGTH", 0) == 0)
      increments.push_back(line.substr(line.size() - 10));
  EXPECT_EQ(increments, (std::vector<std::string>{"  1.000  M", "  1.000  M"}));
  // In the first problem of a run, code 3 gives the generic labels.
  const std::vector<std::string> generic =
      SplitLines(RunEngineOn("Generic\n3" + one.substr(1) + "0\n").report);
  EXPECT_NE(std::find(generic.begin(), generic.end(),
                      "      INCREMENT LENGTH                                   =   1.000  L"),
            generic.end());
}
