#pragma once
// The summary of a finished analysis run: per problem the heading, how the
// iteration ended and the largest deflection, moment and shear along the
// wall; and whether the run ended in an error stop. Made from the results
// of a run in memory (SummarizeAnalysis) or read back from the report and
// plot file it left (ReadRunSummary: the graphs of results on disk); both
// give the same summary of one run.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "api/EarthPressureFaces.h"
#include "project/GroundSummary.h"

namespace terraq::engine::api {
struct AnalysisResult;
}

namespace terraq::ui {

// How a problem is headed in the report: its own title, a construction stage
// (with the first title of the run), or the long-term analysis that follows
// a short-term one (with the first title).
enum class HeadingKind { Title, Stage, LongTerm };

// Unit labels of a problem's results, chosen by its units code.
struct ResultUnits {
  std::string length;  // depth and deflection
  std::string force;   // shear
  std::string moment;
};
// 1 English (in, lbs), 2 SI (m, kN), anything else generic (L, F).
ResultUnits ResultUnitsFor(int unitsCode);

// The value of largest magnitude along the wall, with its sign, and the depth
// where it first occurs (the shallowest of equal magnitudes).
struct Extreme {
  double value = 0.0;
  double depth = 0.0;
};

// A support concentrated at a station (an anchor or prop, a specified
// deflection, a spring row or a load-deflection curve confined to the
// station) and the force it takes, as the report's table of the shear
// either side of supports gives them (three significant digits).
struct SupportForce {
  int station = 0;
  double depth = 0.0;
  double force = 0.0;  // on the wall, positive towards the excavation
  double shearAbove = 0.0, shearBelow = 0.0;
};

// A support of a construction sequence in one stage (the engine's
// sequential mode): its force on the wall per wall unit, signed like
// SupportForce (holding the wall back: negative), as the analysis gives it
// (the report has no table of them); and, when the run knows how the supports
// are spaced, the force along one support (tension of an anchor,
// compression of a strut).
struct SequentialSupportSummary {
  std::string name;
  double depth = 0.0;
  double force = 0.0;
  std::optional<double> forceAlong;
  std::string state;  // "prestress", "acting", "slack" or "yielded"
};

struct ProblemSummary {
  int number = 0;  // position of the problem in the run, from 1
  HeadingKind kind = HeadingKind::Title;
  int stage = 0;       // stage number of a Stage heading, else 0
  std::string title;   // the title shown in the heading
  std::string heading; // the heading as a line of text

  int iterations = -1;         // iterations made; -1 when the report's field is unreadable
  bool offCurves = false;      // some deflection lay beyond its load-deflection curve
  bool overLimit = false;      // the allowable deflection was exceeded (the iteration stopped)
  int stationsOverLimit = 0;   // how many stations exceeded it (-1: unreadable)
  bool notClosed = false;      // deflections did not close within the tolerance
  bool closed() const { return !notClosed && !overLimit; }
  // Stations where the equations were singular (a wall that nothing holds,
  // most often): the results are not those of the wall.
  std::vector<int> zeroPivotStations;
  // Stations that the rigidity rows leave with only part of their EI.
  std::vector<int> partialStiffnessStations;
  // Why the numbers are not the wall's although the equations were solved
  // (terms that underflow at the increment length, results that overflow or
  // are lost to rounding), as the report states it; empty when they are.
  std::string numericalFault;
  bool resultsValid() const { return zeroPivotStations.empty() && numericalFault.empty(); }

  // From the problem's result block of the plot file; absent when the plot
  // file holds no readable block for this problem.
  std::optional<int> unitsCode;
  std::optional<Extreme> deflection;
  std::optional<Extreme> moment;
  // The largest shear on either side of every station: the station table's
  // (the mean of the two sides where the shear steps), or shearEitherSide
  // where that is larger beyond the rounding of its three digits.
  std::optional<Extreme> shear;
  // The deflection at the top station (depth 0), and the largest positive
  // and the most negative moment with the depth where each first occurs;
  // a moment is absent when no station has one of that sign.
  std::optional<Extreme> topDeflection;
  std::optional<Extreme> positiveMoment;
  std::optional<Extreme> negativeMoment;
  // Where a support or a point load makes the shear step, the largest shear
  // either side of a station (the station table gives the mean of the two
  // sides there) and the supports that take a force; absent and empty for
  // a problem with neither. The depth is the plot file's depth of the
  // station.
  std::optional<Extreme> shearEitherSide;
  std::vector<SupportForce> supports;
  // From the analysis in memory only: the supports of a construction
  // sequence installed by this stage (SummarizeRun leaves it empty).
  std::vector<SequentialSupportSummary> sequentialSupports{};
  // From the analysis in memory only: the seepage other than hydrostatic
  // and the shaking of this problem, when the run had them.
  std::optional<SeepageSummary> seepage{};
  std::optional<SeismicSummary> seismic{};
};

struct RunSummary {
  // Problems whose results reached the report, in run order.
  std::vector<ProblemSummary> problems;
  // The engine's error-stop message, trimmed ("ERROR STOP -- ..."), if any.
  std::optional<std::string> errorStop;
  // The report ends its run with "END OF ANALYSIS".
  bool complete = false;
  // A construction sequence ran (each stage from the one before): the
  // names of its stages, in order; empty otherwise.
  std::vector<std::string> sequenceStages{};
  // The soil model the project file chose ("subgrade", "p-y"); empty
  // without that member, the p-y model.
  std::string soilModel{};
  // The earth-pressure theories the project file chose (EarthPressureWords)
  // and the coefficients they gave each layer's faces; empty without that
  // member, Rankine's smooth wall.
  std::string earthPressure{};
  std::vector<engine::api::LayerCoefficients> earthPressureCoefficients{};
  // The seepage and the shaking the project file chose (SeepageWords,
  // SeismicWords); empty without those members.
  std::string seepage{};
  std::string seismic{};
};

// Summarises the texts of a report and a plot file (LF or CR LF line ends).
// An empty or unreadable plot text leaves the maxima absent.
RunSummary SummarizeRun(std::string_view reportText, std::string_view plotText);

// Summarises an analysis in memory: what SummarizeRun gives for the report
// and plot file the analysis writes. The numbers are taken as the plot file
// keeps them (four significant digits), so that a summary never depends on
// where it was made; `reportText` (the analysis' report) gives the
// headings, as the report words them.
RunSummary SummarizeAnalysis(const engine::api::AnalysisResult& analysis,
                             std::string_view reportText);

// Reads both files and summarises them; a missing file reads as empty.
RunSummary ReadRunSummary(const std::filesystem::path& reportFile,
                          const std::filesystem::path& plotFile);

// One number as the engine's fixed-format fields write it: plain or exponent
// form, including the form without the letter E that three-digit exponents
// take ("0.1234+100"). Returns nullopt for anything else (e.g. a field of
// asterisks).
std::optional<double> ParseFieldNumber(std::string_view word);

// A value as the plot file's E13.4 field keeps it, four significant digits
// (7.1 for the 7.1000000000000005 that 71 increments of 0.1 add up to);
// NaN for what the field cannot hold.
double AsPlotField(double value);

// A number of a summary as the terraq command's JSON and the calculation
// package both give it, so that the two never differ by a digit: the
// shortest text that reads back as the same double ("0.0125", "1.5e-05"),
// "0" for a zero of either sign, "null" when not finite.
std::string SummaryNumberText(double value);

// The envelope of a construction sequence's support forces: per support, in
// the order the stages first show them, its largest force along one support
// over the stages (the anchor's tension, the strut's compression; the force
// on the wall unit where `forceAlong` is unknown) with the stage it comes
// from (from 0) and the support's state there.
struct SupportForceEnvelope {
  std::string name;
  double depth = 0.0;
  double largestForceAlong = 0.0;
  size_t stage = 0;
  std::string state;
};
std::vector<SupportForceEnvelope> LargestSupportForces(const RunSummary& summary);

}  // namespace terraq::ui
