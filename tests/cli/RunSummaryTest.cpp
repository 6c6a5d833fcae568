// The summary reader on hand-written report and plot texts: every closure
// state, the three kinds of heading, error stops, and the plot file's
// result blocks behind the other blocks.

#include <gtest/gtest.h>

#include <cmath>

#include "SummaryOutput.h"
#include "project/RunOutcome.h"
#include "project/RunSummary.h"

using namespace terraq::ui;

namespace {

const std::string kBanner =
    " TERRAQ - A PROGRAM FOR THE ANALYSIS OF FLEXIBLE RETAINING STRUCTURES\n VERSION 2013.4.7\n\n\n\n";

std::string problem(const std::string& heading, const std::string& resultLines) {
  return kBanner + "      " + heading + "\n\n\n      (echo of the input)\n\n      " + heading + "\n\n\n" +
         resultLines +
         "\n   STA I      X         DEFL.\n   ------    ----\n     0   0.000E+00   0.369E+02\n";
}

const std::string kEnd = "\n\n\n     END OF ANALYSIS                    \n";

}  // namespace

TEST(RunSummary, ReadsEveryClosureStateAndHeadingKind) {
  const std::string report =
      problem("Stage No : 1  Braced excavation",
              "     RESULTS -- ITERATION  7\n     --------------------\n") +
      "\n\n" +
      problem("Stage No :12  Braced excavation",
              "     RESULTS -- ITERATION100\n     --------------------\n\n"
              "     ***** DEFLECTION OFF Q - W CURVES *****\n\n"
              "     ***** SOLUTION NOT CLOSED WITHIN SPECIFIED'TOLERANCE *****\n") +
      "\n\n" +
      problem("Long Term :  Braced excavation",
              "     RESULTS -- ITERATION  3\n     --------------------\n\n"
              "     ***** MAX ALLOWABLE DEFLECTION EXCEEDED AT ***  35  *** STATIONS *****\n\n"
              "     ***** SOLUTION NOT CLOSED WITHIN SPECIFIED'TOLERANCE *****\n") +
      kEnd;
  const RunSummary s = SummarizeRun(report, "");
  ASSERT_EQ(s.problems.size(), 3u);
  EXPECT_TRUE(s.complete);
  EXPECT_FALSE(s.errorStop);

  const ProblemSummary& a = s.problems[0];
  EXPECT_EQ(a.kind, HeadingKind::Stage);
  EXPECT_EQ(a.stage, 1);
  EXPECT_EQ(a.title, "Braced excavation");
  EXPECT_EQ(a.iterations, 7);
  EXPECT_TRUE(a.closed());
  EXPECT_FALSE(a.offCurves);
  EXPECT_FALSE(a.unitsCode);  // no plot text

  const ProblemSummary& b = s.problems[1];
  EXPECT_EQ(b.stage, 12);
  EXPECT_EQ(b.iterations, 100);
  EXPECT_TRUE(b.offCurves);
  EXPECT_TRUE(b.notClosed);
  EXPECT_FALSE(b.overLimit);
  EXPECT_FALSE(b.closed());

  const ProblemSummary& c = s.problems[2];
  EXPECT_EQ(c.number, 3);
  EXPECT_EQ(c.kind, HeadingKind::LongTerm);
  EXPECT_EQ(c.heading, "Long Term :  Braced excavation");
  EXPECT_TRUE(c.overLimit);
  EXPECT_EQ(c.stationsOverLimit, 35);
  EXPECT_FALSE(c.offCurves);
  EXPECT_FALSE(c.closed());
}

TEST(RunSummary, ReadsTheStationWarningsAcrossTheirLines) {
  const std::string report =
      problem("Wall one",
              "     RESULTS -- ITERATION  2\n     --------------------\n\n"
              "     ***** RESULTS NOT VALID: SINGULAR EQUATIONS (ZERO PIVOT) AT STATIONS 0, 40 *****\n\n"
              "     ***** WALL WEAKENED: THE EI ROWS GIVE ONLY PART OF EI AT STATIONS 1, 3, 5, 7,\n"
              "           9-12, 20 *****\n") +
      "\n\n" +
      // A list cut short does not swallow what follows.
      problem("Long Term :  Wall one",
              "     RESULTS -- ITERATION  3\n     --------------------\n\n"
              "     ***** WALL WEAKENED: THE EI ROWS GIVE ONLY PART OF EI AT STATIONS 20-21,\n\n"
              "     ***** SOLUTION NOT CLOSED WITHIN SPECIFIED'TOLERANCE *****\n") +
      kEnd;
  const RunSummary s = SummarizeRun(report, "");
  ASSERT_EQ(s.problems.size(), 2u);
  const ProblemSummary& a = s.problems[0];
  EXPECT_FALSE(a.resultsValid());
  EXPECT_EQ(a.zeroPivotStations, (std::vector<int>{0, 40}));
  EXPECT_EQ(a.partialStiffnessStations, (std::vector<int>{1, 3, 5, 7, 9, 10, 11, 12, 20}));
  EXPECT_TRUE(a.closed());
  const ProblemSummary& b = s.problems[1];
  EXPECT_TRUE(b.resultsValid());
  EXPECT_EQ(b.partialStiffnessStations, (std::vector<int>{20, 21}));
  EXPECT_TRUE(b.notClosed);
}

TEST(RunOutcome, NamesEveryDoubtfulProblemAndEveryStop) {
  const std::string report =
      problem("Wall one",
              "     RESULTS -- ITERATION  2\n     --------------------\n\n"
              "     ***** RESULTS NOT VALID: SINGULAR EQUATIONS (ZERO PIVOT) AT STATIONS 0, 40 *****\n\n"
              "     ***** WALL WEAKENED: THE EI ROWS GIVE ONLY PART OF EI AT STATIONS 9-12 *****\n") +
      "\n\n" + problem("Wall two", "     RESULTS -- ITERATION  5\n     --------------------\n") + "\n\n" +
      problem("Wall three",
              "     RESULTS -- ITERATION  3\n     --------------------\n\n"
              "     ***** SOLUTION NOT CLOSED WITHIN SPECIFIED'TOLERANCE *****\n") +
      kEnd;
  const RunOutcome done = DescribeRunOutcome(SummarizeRun(report, ""), "wall.tq4o");
  EXPECT_FALSE(done.stopped);
  EXPECT_FALSE(done.resultsValid);
  EXPECT_EQ(
      done.message,
      "RESULTS NOT VALID: NOT CLOSED in problem 3; singular equations in problem 1.\n\n"
      "The analysis ran to its end, but its results must not be used for design. The graphs of this run "
      "carry this mark until a run with valid results replaces them; the report wall.tq4o holds the "
      "details.\n\n"
      "Problem 1 (Wall one):\n"
      "  RESULTS NOT VALID: singular equations at stations 0, 40 (is the wall held?)\n"
      "  wall weakened: the EI rows give only part of EI at stations 9-12\n\n"
      "Problem 3 (Wall three):\n"
      "  NOT closed within the tolerance after 3 iterations");

  // A report cut short, without an error stop, is not a completed run.
  const RunOutcome cut = DescribeRunOutcome(SummarizeRun(kBanner + "      Wall\n", ""), "wall.tq4o");
  EXPECT_TRUE(cut.stopped);
  EXPECT_EQ(cut.message, "The analysis did not finish: the report wall.tq4o does not end with END OF ANALYSIS.");
}

// The one verdict behind the message, the graphs' mark and --strict.
TEST(RunOutcome, JudgesEveryFaultThatMakesResultsUnfitAndNamesWhere) {
  const auto stage = [](int n, void (*fault)(ProblemSummary&)) {
    ProblemSummary p;
    p.number = n;
    p.kind = HeadingKind::Stage;
    p.stage = n;
    fault(p);
    return p;
  };
  RunSummary run;
  run.complete = true;
  run.problems = {stage(1, [](ProblemSummary&) {})};
  EXPECT_TRUE(JudgeResults(run).valid);
  EXPECT_EQ(JudgeResults(run).mark, "");
  EXPECT_EQ(DescribeRunOutcome(run, "w.tq4o").message,
            "Computations are completed. Please, check output file for results or error messages.");

  // A single problem: the fault alone. Exceeding the limit also leaves the
  // iteration unclosed, which is not said twice.
  run.problems = {stage(1, [](ProblemSummary& p) { p.overLimit = p.notClosed = true; })};
  EXPECT_EQ(JudgeResults(run).mark, "RESULTS NOT VALID: allowable deflection exceeded");
  run.problems[0].overLimit = false;
  EXPECT_EQ(JudgeResults(run).mark, "RESULTS NOT VALID: NOT CLOSED");
  run.problems[0].notClosed = false;
  run.problems[0].offCurves = true;
  EXPECT_EQ(JudgeResults(run).mark, "RESULTS NOT VALID: deflection off the load-deflection curves");
  run.problems[0].offCurves = false;
  run.problems[0].numericalFault = "THE MOMENTS AND SHEARS OVERFLOW";
  EXPECT_EQ(JudgeResults(run).mark, "RESULTS NOT VALID: numbers beyond the computer's range");
  run.problems[0].numericalFault = "THE AXIAL COMPRESSION EXCEEDS THE BUCKLING LOAD";
  EXPECT_EQ(JudgeResults(run).mark,
            "RESULTS NOT VALID: axial compression beyond the buckling load");
  run.problems[0].numericalFault = "THE AXIAL COMPRESSION REACHES THE BUCKLING LOAD";
  EXPECT_EQ(JudgeResults(run).mark, "RESULTS NOT VALID: axial compression at the buckling load");
  run.problems[0].numericalFault = "THE WALL DEFLECTS BY MORE THAN ITS LENGTH: A MECHANISM";
  EXPECT_EQ(JudgeResults(run).mark,
            "RESULTS NOT VALID: deflection beyond the wall's length (a mechanism)");

  // Several: where each fault happened.
  run.problems = {stage(1, [](ProblemSummary&) {}),
                  stage(2, [](ProblemSummary& p) { p.notClosed = true; }),
                  stage(3, [](ProblemSummary& p) {
                    p.notClosed = true;
                    p.zeroPivotStations = {40};
                  })};
  EXPECT_EQ(JudgeResults(run).mark,
            "RESULTS NOT VALID: NOT CLOSED in stages 2-3; singular equations in stage 3");
  run.problems[1].kind = HeadingKind::LongTerm;
  EXPECT_EQ(JudgeResults(run).mark,
            "RESULTS NOT VALID: NOT CLOSED in long-term, stage 3; singular equations in stage 3");

  // A run that did not end is never valid, whatever its problems say.
  run.problems = {stage(1, [](ProblemSummary&) {})};
  run.complete = false;
  EXPECT_EQ(JudgeResults(run).mark, "RESULTS NOT VALID: the analysis did not finish");
  run.errorStop = "ERROR STOP -- SOMETHING";
  EXPECT_EQ(JudgeResults(run).mark, "RESULTS NOT VALID: the analysis stopped");
  EXPECT_FALSE(DescribeRunOutcome(run, "w.tq4o").resultsValid);
}

TEST(SummaryOutput, ShowsTheStationWarnings) {
  ProblemSummary p;
  p.number = 1;
  p.heading = "Wall one";
  p.iterations = 2;
  p.zeroPivotStations = {40};
  p.partialStiffnessStations = {20, 21, 40};
  const RunSummary summary{{p}, std::nullopt, true};
  const RunPaths paths{"wall.tq4d", "wall.tq4o", "wall.tq4p", "wall.tq4r"};
  const std::string text = terraq::cli::FormatSummaryText(summary, paths);
  EXPECT_NE(text.find("\n   RESULTS NOT VALID: singular equations at stations 40 (is the wall held?)\n"),
            std::string::npos) << text;
  EXPECT_NE(text.find("\n   wall weakened: the EI rows give only part of EI at stations 20-21, 40\n"),
            std::string::npos) << text;
  const std::string json = terraq::cli::FormatSummaryJson(summary, paths);
  EXPECT_NE(json.find("\"resultsValid\": false, \"zeroPivotStations\": [40], "
                      "\"partialStiffnessStations\": [20, 21, 40]"),
            std::string::npos) << json;
}

TEST(RunSummary, ErrorStopDropsTheProblemWithoutResults) {
  // CR LF line ends, a blank title, and a second problem stopped while its
  // input was read.
  std::string report = problem("                                        ",
                               "     RESULTS -- ITERATION  2\n     --------------------\n") +
                       "\n\n" + kBanner + "      Long Term :  \n\n\n     ERROR STOP -- STATIONS NOT IN ORDER\n" +
                       kEnd;
  std::string crlf;
  for (char ch : report) crlf += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
  const RunSummary s = SummarizeRun(crlf, "");
  ASSERT_EQ(s.problems.size(), 1u);
  EXPECT_EQ(s.problems[0].title, "");
  EXPECT_EQ(s.problems[0].kind, HeadingKind::Title);
  ASSERT_TRUE(s.errorStop);
  EXPECT_EQ(*s.errorStop, "ERROR STOP -- STATIONS NOT IN ORDER");
  EXPECT_TRUE(s.complete);

  const RunSummary storage = SummarizeRun(
      kBanner + "      Wall\n\n\n     TOO MUCH DATA FOR AVAILABLE STORAGE\n\n\n", "");
  EXPECT_TRUE(storage.problems.empty());
  EXPECT_EQ(storage.errorStop.value_or(""), "TOO MUCH DATA FOR AVAILABLE STORAGE");
  EXPECT_FALSE(storage.complete);  // no END OF ANALYSIS
}

TEST(RunSummary, TakesMaximaFromTheResultBlockBehindTheOtherBlocks) {
  const std::string report =
      problem("Wall one", "     RESULTS -- ITERATION  2\n     --------------------\n") + "\n\n" +
      problem("Long Term :  Wall one", "     RESULTS -- ITERATION  4\n     --------------------\n") + kEnd;
  const std::string plot =
      // Problem 1: two earth-pressure rows, one user curve of two points, three result rows.
      " 2\n   0.000E+00   0.100E+01   0.100E-06   0.000E+00\n   0.120E+02   0.200E+01   0.100E+01   0.100E+01\n"
      " 2 1\n 3 2\n 0 0\n 0.5 120.25\n"
      " 2 3 2\n"
      "    0.0000E+00    0.1200E+01    0.0000E+00   -0.5000E+03    0.0000E+00\n"
      "    0.5000E+00   -0.3000E+01    0.2500+100    0.5000E+03    0.0000E+00\n"
      "    0.1000E+01    0.3000E+01   -0.2500+100    0.1000E+03    0.0000E+00\n"
      // Problem 2: no earth pressure, no curves, and a result block cut short.
      " 0\n 2 0\n 2 3 2\n    0.0000E+00    0.1E+01 0 0 0\n";
  const RunSummary s = SummarizeRun(report, plot);
  ASSERT_EQ(s.problems.size(), 2u);
  const ProblemSummary& p = s.problems[0];
  ASSERT_TRUE(p.unitsCode && p.deflection && p.moment && p.shear);
  EXPECT_EQ(*p.unitsCode, 2);
  // Equal magnitudes: the shallowest occurrence, with its sign.
  EXPECT_DOUBLE_EQ(p.deflection->value, -3.0);
  EXPECT_DOUBLE_EQ(p.deflection->depth, 0.5);
  EXPECT_DOUBLE_EQ(p.moment->value, 0.25e100);
  EXPECT_DOUBLE_EQ(p.shear->value, -500.0);
  EXPECT_DOUBLE_EQ(p.shear->depth, 0.0);
  // The top station's deflection, not the largest; each sign of moment on its own.
  ASSERT_TRUE(p.topDeflection && p.positiveMoment && p.negativeMoment);
  EXPECT_DOUBLE_EQ(p.topDeflection->value, 1.2);
  EXPECT_DOUBLE_EQ(p.topDeflection->depth, 0.0);
  EXPECT_DOUBLE_EQ(p.positiveMoment->value, 0.25e100);
  EXPECT_DOUBLE_EQ(p.positiveMoment->depth, 0.5);
  EXPECT_DOUBLE_EQ(p.negativeMoment->value, -0.25e100);
  EXPECT_DOUBLE_EQ(p.negativeMoment->depth, 1.0);
  EXPECT_FALSE(s.problems[1].unitsCode);
  EXPECT_FALSE(s.problems[1].deflection);
  EXPECT_FALSE(s.problems[1].topDeflection);
}

// The station table keeps the mean of the two sides of an anchor (-1608 at
// 72 in) where the shear steps from 1080 to -4295; the largest shear is the
// one beside it, as the report's table of the shear either side gives it.
// Where that table's three digits only round the station table's largest
// (-4025 to -4030), the four digits stand.
TEST(RunSummary, TheLargestShearIsTakenEitherSideOfTheStations) {
  const auto run = [](const std::string& largest) {
    const std::string report =
        problem("Anchored wall", "     RESULTS -- ITERATION  2\n     --------------------\n") +
        "\n     SHEAR EITHER SIDE OF SUPPORTS AND POINT LOADS\n\n"
        "     1   0.720E+02    0.108E+04   -0.430E+04     -0.538E+04\n\n"
        "     LARGEST SHEAR, EITHER SIDE OF THE STATIONS = " +
        largest + kEnd;
    const std::string plot =
        " 0\n 1 0\n 2 3 1\n"
        "    0.0000E+00    0.1000E+01    0.0000E+00    0.0000E+00    0.0000E+00\n"
        "    0.7200E+02    0.0000E+00    0.1000E+05   -0.1608E+04    0.0000E+00\n"
        "    0.9000E+02    0.1000E+00    0.2000E+05   -0.4025E+04    0.0000E+00\n";
    const RunSummary s = SummarizeRun(report, plot);
    return s.problems.empty() || !s.problems[0].shear ? Extreme{NAN, NAN} : *s.problems[0].shear;
  };
  const Extreme beside = run("-0.430E+04 LBS AT STATION   1");
  EXPECT_DOUBLE_EQ(beside.value, -4300.0);
  EXPECT_DOUBLE_EQ(beside.depth, 72.0);
  const Extreme rounded = run("-0.403E+04 LBS AT STATION   2");
  EXPECT_DOUBLE_EQ(rounded.value, -4025.0);
  EXPECT_DOUBLE_EQ(rounded.depth, 90.0);
}

TEST(RunSummary, ReadsTheEngineNumberForms) {
  EXPECT_DOUBLE_EQ(ParseFieldNumber("0.1234E+02").value(), 12.34);
  EXPECT_DOUBLE_EQ(ParseFieldNumber("-0.1234+100").value(), -0.1234e100);
  EXPECT_DOUBLE_EQ(ParseFieldNumber("0.5-120").value(), 0.5e-120);
  EXPECT_DOUBLE_EQ(ParseFieldNumber("+7").value(), 7.0);
  EXPECT_DOUBLE_EQ(ParseFieldNumber("1.5D3").value(), 1500.0);
  EXPECT_FALSE(ParseFieldNumber("**********"));
  EXPECT_FALSE(ParseFieldNumber("12x"));
  EXPECT_FALSE(ParseFieldNumber(""));
}

TEST(RunSummary, UnitLabelsFollowTheUnitsCode) {
  EXPECT_EQ(ResultUnitsFor(1).moment, "lbs-in");
  EXPECT_EQ(ResultUnitsFor(2).length, "m");
  EXPECT_EQ(ResultUnitsFor(2).force, "kN");
  EXPECT_EQ(ResultUnitsFor(3).moment, "F-L");
}

TEST(RunSummary, ResultsOutOfScaleAreNotValidWithTheirReason) {
  const std::string report =
      problem("Wall",
              "     RESULTS -- ITERATION  1\n     --------------------\n\n"
              "     ***** RESULTS NOT VALID: THE MOMENTS AND SHEARS OVERFLOW *****\n") +
      kEnd;
  const RunSummary s = SummarizeRun(report, "");
  ASSERT_EQ(s.problems.size(), 1u);
  const ProblemSummary& p = s.problems[0];
  EXPECT_EQ(p.numericalFault, "THE MOMENTS AND SHEARS OVERFLOW");
  EXPECT_FALSE(p.resultsValid());
  EXPECT_TRUE(p.zeroPivotStations.empty());
  EXPECT_EQ(ProblemWarnings(p),
            (std::vector<std::string>{"RESULTS NOT VALID: THE MOMENTS AND SHEARS OVERFLOW"}));
  const std::string json = terraq::cli::FormatSummaryJson(s, {});
  EXPECT_NE(
      json.find(
          "\"resultsValid\": false, \"zeroPivotStations\": [], \"partialStiffnessStations\": [], "
          "\"notValidReason\": \"THE MOMENTS AND SHEARS OVERFLOW\""),
      std::string::npos)
      << json;
}

TEST(SummaryJson, EscapesStringsAndKeepsUtf8) {
  using terraq::cli::JsonNumber;
  using terraq::cli::JsonString;
  EXPECT_EQ(JsonString("Wall \"A\" \\ B\t\x01"), "\"Wall \\\"A\\\" \\\\ B\\t\\u0001\"");
  EXPECT_EQ(JsonString("Stütze"), "\"Stütze\"");
  // A title saved in an 8-bit code page: 0xFC is Latin-1 u-umlaut.
  EXPECT_EQ(JsonString("St\xFCtze"), "\"Stütze\"");
  // A file name's stray bytes are escaped reversibly (0xFF as the lone
  // surrogate U+DCFF): the JSON stays UTF-8 and still names the file.
  EXPECT_EQ(terraq::cli::JsonPath("/tmp/St\xFCtze/w\xFF.tq4d"),
            "\"/tmp/St\\udcfctze/w\\udcff.tq4d\"");
  EXPECT_EQ(terraq::cli::JsonPath("/tmp/Stütze \"a\".tq4d"), "\"/tmp/Stütze \\\"a\\\".tq4d\"");
  EXPECT_EQ(JsonNumber(-19500.0), "-19500");
  EXPECT_EQ(JsonNumber(1e-7), "1e-07");
  EXPECT_EQ(JsonNumber(NAN), "null");
}
