// Malformed data files of every kind end the run the same way: a message
// line in the report, "END OF ANALYSIS", a plot file that still ends with a
// result block, and no crash. Each case names the report line it expects;
// an empty message only asks for some error stop (the message belongs to
// another area), and "?" only for a clean end (a curve far below the wall
// may be refused or simply never act).

#include <gtest/gtest.h>

#include <string>

#include "EngineRun.h"
#include "RunChecks.h"

using namespace terraq::test;

namespace {

struct Case {
  const char* name;
  std::string data;
  std::string message;
};

// A valid problem: ten increments, one rigidity row, one load at the top.
const std::string kControl = "1 0 1 0 0 0 0 0 0\n";
const std::string kGeometry = "10 1 10 0.001 0\n";
const std::string kTables = "0 10 1 1E6\n1\n1 0 0 1 0 0\n0\n";
const std::string kValid = "T\n" + kControl + kGeometry + kTables + "0\n";

std::string control(const std::string& values) { return "T\n" + values + "\n"; }
std::string repeated(const std::string& line, int n) {
  std::string s;
  for (int k = 0; k < n; ++k) s += line;
  return s;
}

const std::string kTooMuch = "     TOO MUCH DATA FOR AVAILABLE STORAGE";
const std::string kNotInOrder = "     ERROR STOP -- STATIONS NOT IN ORDER";
const std::string kBeyondEnd = "     ERROR -- NON-ZERO TABLE 4 DATA BEYOND END";
std::string endsEarly(int line) {
  return "     ERROR STOP -- THE DATA FILE ENDS TOO EARLY (LINE " + std::to_string(line) + ")";
}
std::string notA(int line, const std::string& word, const char* what) {
  return "     ERROR STOP -- LINE " + std::to_string(line) + " OF THE DATA FILE: \"" + word +
         "\" IS NOT " + what;
}

std::vector<Case> cases() {
  const std::string tables = kGeometry + kTables + "0\n";
  return {
      {"EmptyFile", "", endsEarly(1)},
      {"TitleOnly", "T\n", endsEarly(2)},
      {"NoEndCode", "T\n" + kControl + kGeometry + kTables, endsEarly(8)},
      {"NothingAfterLongTermFlag", "T\n" + kControl + kGeometry + kTables + "9\n", endsEarly(9)},
      {"WordInControl", control("1 0 1 x 0 0 0 0 0") + tables, notA(2, "x", "AN INTEGER")},
      {"RealForAnInteger", "T\n" + kControl + "2.5 1 10 0.001 0\n" + kTables + "0\n",
       notA(3, "2.5", "AN INTEGER")},
      {"MalformedReal", "T\n" + kControl + "10 1.2.3 10 0.001 0\n" + kTables + "0\n",
       notA(3, "1.2.3", "A NUMBER")},
      {"MalformedRealInTable", "T\n" + kControl + kGeometry + "0 10 1 1E6x\n1\n1 0 0 1 0 0\n0\n0\n",
       notA(4, "1E6x", "A NUMBER")},
      {"UnprintableWord",
       "T\n" + kControl + kGeometry +
           "0 10 1 \x01\x7f"
           "ab\n1\n1 0 0 1 0 0\n0\n0\n",
       notA(4, "??ab", "A NUMBER")},
      {"VeryLongWord", "T\n" + kControl + kGeometry + "0 10 1 " + std::string(5000, 'x') + "\n",
       notA(4, std::string(20, 'x') + "...", "A NUMBER")},
      {"BadEndCode", "T\n" + kControl + kGeometry + kTables + "end\n",
       notA(8, "end", "AN INTEGER")},
      {"IncrementsAbove407", "T\n" + kControl + "408 1 10 0.001 0\n" + kTables + "0\n", kTooMuch},
      {"NoIncrements", "T\n" + kControl + "0 1 10 0.001 0\n" + kTables + "0\n",
       "     ERROR STOP -- THE NUMBER OF INCREMENTS MUST BE AT LEAST 1"},
      {"NegativeIncrements", "T\n" + kControl + "-2147483648 1 10 0.001 0\n" + kTables + "0\n",
       "     ERROR STOP -- THE NUMBER OF INCREMENTS MUST BE AT LEAST 1"},
      {"ZeroIncrementLength", "T\n" + kControl + "10 0 10 0.001 0\n" + kTables + "0\n",
       "     ERROR STOP -- THE INCREMENT LENGTH MUST BE GREATER THAN ZERO"},
      {"NegativeIncrementLength", "T\n" + kControl + "10 -1 10 0.001 0\n" + kTables + "0\n",
       "     ERROR STOP -- THE INCREMENT LENGTH MUST BE GREATER THAN ZERO"},
      {"TwentyOneSpecified", control("1 21 1 0 0 0 0 0 0") + tables, kTooMuch},
      {"SpecifiedDecreasing",
       control("1 2 1 0 0 0 0 0 0") + kGeometry + "1 5 0 0\n1 3 0 0\n" + kTables + "0\n",
       kNotInOrder},
      {"SpecifiedBelowZero",
       control("1 1 1 0 0 0 0 0 0") + kGeometry + "1 -1 0 0\n" + kTables + "0\n",
       "     ERROR STOP -- SPECIFIED DEFLECTION OR SLOPE OUTSIDE THE WALL"},
      {"SpecifiedPastTheTip",
       control("1 1 1 0 0 0 0 0 0") + kGeometry + "2 11 0 0\n" + kTables + "0\n",
       "     ERROR STOP -- SPECIFIED DEFLECTION OR SLOPE OUTSIDE THE WALL"},
      {"SpecifiedFarAway",
       control("1 1 1 0 0 0 0 0 0") + kGeometry + "3 2147483647 0 0\n" + kTables + "0\n",
       "     ERROR STOP -- SPECIFIED DEFLECTION OR SLOPE OUTSIDE THE WALL"},
      {"RigidityBelowZero", "T\n" + kControl + kGeometry + "-1 10 1 1E6\n1\n1 0 0 1 0 0\n0\n0\n",
       "     ERROR STOP -- STATION NUMBER BELOW ZERO"},
      {"RigidityPastTheArrays", "T\n" + kControl + kGeometry + "0 14 1 1E6\n1\n1 0 0 1 0 0\n0\n0\n",
       kBeyondEnd},
      {"RigidityFarAway",
       "T\n" + kControl + kGeometry + "0 2147483647 1 1E6\n1\n1 0 0 1 0 0\n0\n0\n", kBeyondEnd},
      {"LoadBelowTheTip", "T\n" + kControl + kGeometry + "0 10 1 1E6\n1\n1 11 11 1 0 0\n0\n0\n",
       kBeyondEnd},
      {"SpringRunEndsBelowTheTip",
       "T\n" + kControl + kGeometry + "0 10 1 1E6\n0\n2\n5 0 2 1 0\n0 12 1 1 0\n0\n", kBeyondEnd},
      {"RigidityBackwards", "T\n" + kControl + kGeometry + "10 0 1 1E6\n1\n1 0 0 1 0 0\n0\n0\n",
       kNotInOrder},
      {"RunBackwards", control("1 0 2 0 0 0 0 0 0") + kGeometry + "5 0 2 1E6\n0 2 1 1E6\n0\n0\n0\n",
       kNotInOrder},
      {"ContinuationWithoutStart",
       "T\n" + kControl + kGeometry + "0 10 3 1E6\n1\n1 0 0 1 0 0\n0\n0\n",
       "     ERROR STOP -- A TABLE ROW CONTINUES A RUN THAT NO ROW STARTED"},
      {"EarthPressureRows1201",
       control("1 0 1 0 1 0 0 0 0") + kGeometry + kTables + "1201\n" + repeated("1 1\n", 1201) +
           "0\n",
       kTooMuch},
      {"EarthPressureBelowTheTip",
       control("1 0 1 0 1 0 0 0 0") + kGeometry + kTables + "1\n12 1\n0\n", kBeyondEnd},
      {"CurvePoints35",
       control("1 0 1 0 0 0 1 0 0") + kGeometry + kTables + "5 35 1 1\n" + repeated("1 1\n", 35) +
           "0\n",
       kTooMuch},
      {"Curves401", control("1 0 1 0 0 0 401 0 0") + kGeometry + kTables + "0\n", kTooMuch},
      {"CurveBelowZero",
       control("1 0 1 0 0 0 1 0 0") + kGeometry + kTables + "-1 2 1 1\n0 0\n1 1\n0\n", ""},
      {"CurveFarAway",
       control("1 0 1 0 0 0 1 0 0") + kGeometry + kTables + "2147483647 2 1 1\n0 0\n1 1\n0\n", "?"},
      {"Sections21", control("1 0 1 0 0 0 0 0 21") + kGeometry + kTables + "0\n", kTooMuch},
      {"SectionPoints101",
       control("1 0 1 0 0 0 0 0 1") + kGeometry + kTables + "0 10 101\n" + repeated("1 1\n", 101) +
           "0\n",
       kTooMuch},
      {"SectionOutsideTheWall",
       control("1 0 1 0 0 0 0 0 1") + kGeometry + kTables + "0 11 2\n1 1\n2 2\n0\n", ""},
  };
}

class Malformed : public ::testing::TestWithParam<Case> {};

}  // namespace

TEST_P(Malformed, EndsWithAMessageAndAClosedRun) {
  const Case& c = GetParam();
  const EngineOutputs out = RunEngineOn(c.data);
  if (c.message == "?") {
    EXPECT_TRUE(EndsWithEndOfAnalysis(out.report));
  } else if (c.message.empty()) {
    const std::vector<std::string> lines = SplitLines(out.report);
    ASSERT_GE(lines.size(), 7u);
    const std::string& message = lines[lines.size() - 5];
    EXPECT_EQ(message.rfind("     ERROR", 0), 0u) << out.report;
    EXPECT_TRUE(StoppedWith(out.report, message));
  } else {
    EXPECT_TRUE(StoppedWith(out.report, c.message));
  }
  EXPECT_GE(FinalResultBlockRows(out.plot), 0) << out.plot;
}

INSTANTIATE_TEST_SUITE_P(DataFiles, Malformed, ::testing::ValuesIn(cases()),
                         [](const ::testing::TestParamInfo<Case>& test) {
                           return std::string(test.param.name);
                         });

TEST(MalformedCut, EveryLinePrefixEndsTooEarlyAtTheNextLine) {
  // Only the prefix that lacks just the end code has solved its problem.
  const std::vector<std::string> lines =
      SplitLines(ReadTextFile(TERRAQ_SOURCE_DIR "/tests/data/engine-echo.tq4d"));
  ASSERT_GT(lines.size(), 20u);
  std::string prefix;
  for (size_t k = 0; k + 1 < lines.size(); ++k) {
    prefix += lines[k] + "\r\n";
    const EngineOutputs out = RunEngineOn(prefix);
    EXPECT_TRUE(StoppedWith(out.report, endsEarly(static_cast<int>(k) + 2)))
        << "after line " << k + 1;
    EXPECT_EQ(FinalResultBlockRows(out.plot), k + 2 == lines.size() ? 21 : 0)
        << "after line " << k + 1;
  }
}

TEST(MalformedCut, EveryBytePrefixEndsCleanly) {
  const std::string data = ReadTextFile(TERRAQ_SOURCE_DIR "/tests/data/engine-echo.tq4d");
  ASSERT_EQ(data.substr(data.size() - 4), "\n0\r\n");
  for (size_t n = 0; n < data.size(); n += 3) {
    const EngineOutputs out = RunEngineOn(data.substr(0, n));
    EXPECT_TRUE(EndsWithEndOfAnalysis(out.report)) << n;
    // Complete once the end code "0" is there, line end or not.
    if (n < data.size() - 2) {
      EXPECT_NE(out.report.find("\n     ERROR STOP -- "), std::string::npos) << n;
    }
    EXPECT_GE(FinalResultBlockRows(out.plot), 0) << n;
  }
}

TEST(MalformedCut, ValidFileRunsWithoutAnyMessage) {
  const EngineOutputs out = RunEngineOn(kValid);
  EXPECT_TRUE(EndsWithEndOfAnalysis(out.report));
  EXPECT_EQ(out.report.find("ERROR"), std::string::npos);
  EXPECT_EQ(FinalResultBlockRows(out.plot), 11);
}
