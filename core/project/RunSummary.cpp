#include "RunSummary.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "RunSummaryReport.h"
#include "api/Analysis.h"
#include "api/Rounding.h"
#include "api/Units.h"

namespace fs = std::filesystem;

namespace terraq::ui {

namespace {

using namespace run_report;

// Sequential reader of the plot file's words.
class PlotWords {
 public:
  explicit PlotWords(std::string_view text) : words_(splitWords(text)) {}
  size_t left() const { return words_.size() - next_; }
  bool skip(size_t n) {
    if (left() < n) return false;
    next_ += n;
    return true;
  }
  // A count or code: written as an integer, read as an integral number.
  std::optional<long long> integer() {
    if (left() == 0) return std::nullopt;
    const auto v = ParseFieldNumber(words_[next_++]);
    if (!v || *v != std::floor(*v) || std::fabs(*v) > 2147483647.0) return std::nullopt;
    return static_cast<long long>(*v);
  }
  double real() { return left() == 0 ? NAN : ParseFieldNumber(words_[next_++]).value_or(NAN); }

 private:
  std::vector<std::string_view> words_;
  size_t next_ = 0;
};

void track(std::optional<Extreme>& extreme, double value, double depth) {
  if (std::isnan(value)) return;
  if (!extreme || std::fabs(value) > std::fabs(extreme->value)) extreme = Extreme{value, depth};
}

// The largest positive and the most negative moment along the wall, each
// at the shallowest depth of its value.
void trackSigned(std::optional<Extreme>& positive, std::optional<Extreme>& negative, double value,
                 double depth) {
  if (value > 0.0 && (!positive || value > positive->value)) positive = Extreme{value, depth};
  if (value < 0.0 && (!negative || value < negative->value)) negative = Extreme{value, depth};
}

// The deflection of the first (top) station, when it can be read.
void trackTop(std::optional<Extreme>& top, bool first, double value, double depth) {
  if (first && !std::isnan(value)) top = Extreme{value, depth};
}

struct ResultBlock {
  int unitsCode = 0;
  std::optional<Extreme> deflection, moment, shear;
  std::optional<Extreme> topDeflection, positiveMoment, negativeMoment;
  std::vector<double> depths;  // of every row, NaN where unreadable
};

// The result blocks of a plot file, in order. Each problem writes an
// earth-pressure block, a p-y block and a result block; only the result
// blocks are read, the others are stepped over by their counts. Reading ends
// at the first block that is not complete (the blocks of a problem stopped
// by an error may be partial; the problems before it are unaffected).
std::vector<ResultBlock> readResultBlocks(std::string_view text) {
  std::vector<ResultBlock> blocks;
  PlotWords in(text);
  while (in.left() > 0) {
    const auto pressureRows = in.integer();
    if (!pressureRows || *pressureRows < 0 || !in.skip(static_cast<size_t>(*pressureRows) * 4)) break;
    const auto pyUnits = in.integer();
    const auto curves = in.integer();
    if (!pyUnits || !curves || *curves < 0) break;
    bool curvesComplete = true;
    for (long long k = 0; k < *curves && curvesComplete; ++k) {
      in.skip(1);  // depth or station of the curve
      const auto points = in.integer();
      curvesComplete = points && *points >= 0 && in.skip(static_cast<size_t>(*points) * 2);
    }
    if (!curvesComplete) break;
    const auto plotCode = in.integer();
    const auto rows = in.integer();
    const auto units = in.integer();
    if (!plotCode || !rows || !units || *rows < 0 || in.left() < static_cast<size_t>(*rows) * 5) break;
    ResultBlock block;
    block.unitsCode = static_cast<int>(*units);
    for (long long r = 0; r < *rows; ++r) {
      const double depth = in.real(), deflection = in.real(), moment = in.real(), shear = in.real();
      in.skip(1);  // net soil reaction
      block.depths.push_back(depth);
      if (std::isnan(depth)) continue;
      track(block.deflection, deflection, depth);
      track(block.moment, moment, depth);
      track(block.shear, shear, depth);
      trackTop(block.topDeflection, r == 0, deflection, depth);
      trackSigned(block.positiveMoment, block.negativeMoment, moment, depth);
    }
    blocks.push_back(block);
  }
  return blocks;
}

std::string readWholeFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// A value as the report's E10.3 fields keep it: three significant digits.
double asReportField(double value) {
  return std::isfinite(value) ? engine::api::RoundedToDigits(value, 3) : NAN;
}

// The station table and the plot file keep one shear per station, the mean
// of the two sides where a support or a point load makes it step: the
// largest shear of the wall is the larger of the table's largest and the
// largest either side of the stations, as the report's table of the shear
// either side gives it (three significant digits). That is taken only where
// even the least value its three digits stand for exceeds the table's, so
// that their rounding never passes for a larger shear.
void takeLargestShearEitherSide(ProblemSummary& p) {
  if (!p.shearEitherSide) return;
  const double beside = std::fabs(p.shearEitherSide->value);
  const double halfDigit =
      beside > 0.0 ? 0.5 * std::pow(10.0, std::floor(std::log10(beside)) - 2) : 0.0;
  if (!p.shear || beside - halfDigit > std::fabs(p.shear->value)) p.shear = p.shearEitherSide;
}

// The supports and the largest shear either side, as the report's table of
// them gives them: written only where a support or a point load makes the
// shear step at a station.
void summarizeSupports(const engine::api::ProblemResult& result, ProblemSummary& p) {
  if (std::none_of(result.stations.begin(), result.stations.end(),
                   [](const auto& s) { return s.concentrated; }))
    return;
  const auto station = static_cast<size_t>(result.largestShearStation);
  if (station < result.stations.size())
    p.shearEitherSide =
        Extreme{asReportField(result.largestShear), AsPlotField(result.stations[station].depth)};
  for (const engine::api::SupportForce& s : result.supports) {
    const SupportForce row{s.station, asReportField(s.depth), asReportField(s.force),
                           asReportField(s.shearAbove), asReportField(s.shearBelow)};
    if (row.force != 0.0) p.supports.push_back(row);
  }
}

const char* StateName(engine::api::SequentialSupportResult::State state) {
  using State = engine::api::SequentialSupportResult::State;
  switch (state) {
    case State::Prestress: return "prestress";
    case State::Acting: return "acting";
    case State::Slack: return "slack";
    case State::Yielded: return "yielded";
  }
  return "acting";
}

void summarizeSequentialSupports(const engine::api::ProblemResult& result, ProblemSummary& p) {
  for (const engine::api::SequentialSupportResult& s : result.sequentialSupports)
    p.sequentialSupports.push_back(
        {s.name, AsPlotField(s.depth), s.force, std::nullopt, StateName(s.state)});
}

}  // namespace

ResultUnits ResultUnitsFor(int unitsCode) {
  using engine::api::Quantity;
  const auto label = [unitsCode](Quantity q) {
    return std::string(engine::api::UnitLabel(q, unitsCode));
  };
  return {label(Quantity::Length), label(Quantity::Force), label(Quantity::Moment)};
}

std::optional<double> ParseFieldNumber(std::string_view word) {
  std::string text(word);
  if (!text.empty() && text.front() == '+') text.erase(0, 1);
  for (char& c : text)
    if (c == 'D' || c == 'd') c = 'E';
  // Three-digit exponents lose their letter: "0.1234+100", "-0.5-120".
  if (text.find_first_of("Ee") == std::string::npos) {
    const size_t sign = text.find_first_of("+-", 1);
    if (sign != std::string::npos) text.insert(sign, 1, 'E');
  }
  double value = 0.0;
  const char* first = text.data();
  const char* last = first + text.size();
  const auto [end, ec] = std::from_chars(first, last, value);
  if (ec != std::errc() || end != last || text.empty()) return std::nullopt;
  return value;
}

RunSummary SummarizeRun(std::string_view reportText, std::string_view plotText) {
  ReportScan scan = scanReport(reportText);
  const std::vector<ResultBlock> blocks = readResultBlocks(plotText);
  // Problems with results are the first ones of the run (a stop ends it), so
  // the k-th problem in the summary owns the k-th result block.
  for (size_t k = 0; k < scan.problems.size() && k < blocks.size(); ++k) {
    ProblemSummary& p = scan.problems[k];
    p.unitsCode = blocks[k].unitsCode;
    p.deflection = blocks[k].deflection;
    p.moment = blocks[k].moment;
    p.shear = blocks[k].shear;
    p.topDeflection = blocks[k].topDeflection;
    p.positiveMoment = blocks[k].positiveMoment;
    p.negativeMoment = blocks[k].negativeMoment;
    const int station = scan.largestShearStations[k];
    if (p.shearEitherSide && station >= 0 && static_cast<size_t>(station) < blocks[k].depths.size())
      p.shearEitherSide->depth = blocks[k].depths[static_cast<size_t>(station)];
    takeLargestShearEitherSide(p);
  }
  return RunSummary{std::move(scan.problems), std::move(scan.errorStop), scan.complete};
}

RunSummary SummarizeAnalysis(const engine::api::AnalysisResult& analysis,
                             std::string_view reportText) {
  RunSummary summary;
  const std::vector<std::string_view> headings = reportHeadings(reportText);
  for (size_t k = 0; k < analysis.problems.size(); ++k) {
    const engine::api::ProblemResult& result = analysis.problems[k];
    ProblemSummary& p = summary.problems.emplace_back();
    p.number = static_cast<int>(k) + 1;
    if (k < headings.size()) readHeading(headings[k], p);
    p.iterations = result.iterations;
    p.offCurves = result.offCurves;
    p.overLimit = result.stationsOverLimit > 0;
    p.stationsOverLimit = p.overLimit ? result.stationsOverLimit : 0;
    p.notClosed = !result.closed;
    p.zeroPivotStations = result.notValidStations;
    p.partialStiffnessStations = result.weakenedStations;
    p.numericalFault = result.numericalFault;
    p.unitsCode = result.units;
    for (size_t i = 0; i < result.stations.size(); ++i) {
      const engine::api::StationResult& s = result.stations[i];
      const double depth = AsPlotField(s.depth);
      if (std::isnan(depth)) continue;
      const double deflection = AsPlotField(s.deflection), moment = AsPlotField(s.moment);
      track(p.deflection, deflection, depth);
      track(p.moment, moment, depth);
      track(p.shear, AsPlotField(s.shear), depth);
      trackTop(p.topDeflection, i == 0, deflection, depth);
      trackSigned(p.positiveMoment, p.negativeMoment, moment, depth);
    }
    summarizeSupports(result, p);
    takeLargestShearEitherSide(p);
    summarizeSequentialSupports(result, p);
    if (result.seepage) p.seepage = SummarizeSeepage(*result.seepage, result.hydraulicChecks);
    if (result.seismic) p.seismic = SeismicSummary{*result.seismic, result.seismicCoefficients};
  }
  if (analysis.error) summary.errorStop = std::string(trim(analysis.error->message));
  // The report closes the run even after an error stop; only a run that
  // did not reach its end leaves the line out.
  for (size_t at = reportText.size(); !summary.complete && at > 0;) {
    at = reportText.rfind(kEndOfAnalysis, at - 1);
    if (at == std::string_view::npos) break;
    const size_t end = std::min(reportText.find('\n', at), reportText.size());
    summary.complete = (at == 0 || reportText[at - 1] == '\n') &&
                       trimRight(reportText.substr(at, end - at)) == kEndOfAnalysis;
  }
  return summary;
}

std::string SummaryNumberText(double value) {
  if (!std::isfinite(value)) return "null";
  if (value == 0.0) return "0";
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

RunSummary ReadRunSummary(const fs::path& reportFile, const fs::path& plotFile) {
  return SummarizeRun(readWholeFile(reportFile), readWholeFile(plotFile));
}

double AsPlotField(double value) {
  return std::isfinite(value) ? engine::api::RoundedToDigits(value, 4) : NAN;
}

std::vector<SupportForceEnvelope> LargestSupportForces(const RunSummary& summary) {
  std::vector<SupportForceEnvelope> largest;
  for (size_t k = 0; k < summary.problems.size(); ++k)
    for (const SequentialSupportSummary& s : summary.problems[k].sequentialSupports) {
      const double force = s.forceAlong.value_or(-s.force);
      auto at = std::find_if(largest.begin(), largest.end(),
                             [&](const SupportForceEnvelope& l) { return l.name == s.name; });
      if (at == largest.end()) largest.push_back({s.name, s.depth, force, k, s.state});
      else if (force > at->largestForceAlong) *at = {s.name, s.depth, force, k, s.state};
    }
  return largest;
}

}  // namespace terraq::ui
