#include "RunSummary.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "api/Analysis.h"
#include "api/Rounding.h"
#include "api/Units.h"

namespace fs = std::filesystem;

namespace terraq::ui {

namespace {

// Lines of the report that the summary recognises, as the engine writes them.
constexpr std::string_view kBanner = " TERRAQ - A PROGRAM FOR THE ANALYSIS OF";
constexpr std::string_view kResults = "     RESULTS -- ITERATION";
constexpr std::string_view kColumnHeading = "   STA I";
constexpr std::string_view kOffCurves = "     ***** DEFLECTION OFF Q - W CURVES *****";
constexpr std::string_view kOverLimit = "     ***** MAX ALLOWABLE DEFLECTION EXCEEDED AT ***";
constexpr std::string_view kNotClosed = "     ***** SOLUTION NOT CLOSED WITHIN SPECIFIED'TOLERANCE *****";
// Followed by stations ("7, 20-21"), the list going on in further lines
// until "*****".
constexpr std::string_view kZeroPivots = "     ***** RESULTS NOT VALID: SINGULAR EQUATIONS (ZERO PIVOT) AT STATIONS";
// Any other reason the results are not valid: the rest of the line, up to
// " *****".
constexpr std::string_view kNotValid = "     ***** RESULTS NOT VALID: ";
constexpr std::string_view kPartialStiffness = "     ***** WALL WEAKENED: THE EI ROWS GIVE ONLY PART OF EI AT STATIONS";
constexpr std::string_view kListEnd = "*****";
constexpr size_t kListIndent = 11;  // blanks before a continued list
// The table of the shear either side of supports and point loads, its rows
// (station, depth, shear above, shear below, support force) and the line of
// the largest shear, ending with its station.
constexpr std::string_view kSupportTable = "     SHEAR EITHER SIDE OF SUPPORTS AND POINT LOADS";
constexpr std::string_view kLargestShear = "     LARGEST SHEAR, EITHER SIDE OF THE STATIONS = ";
constexpr std::string_view kTooMuchData = "     TOO MUCH DATA FOR AVAILABLE STORAGE";
constexpr std::string_view kErrorPrefix = "     ERROR";
constexpr std::string_view kEndOfAnalysis = "     END OF ANALYSIS";

constexpr std::string_view kBlanks = " \t\r\n";

std::string_view trimRight(std::string_view s) {
  const size_t end = s.find_last_not_of(kBlanks);
  return end == std::string_view::npos ? std::string_view{} : s.substr(0, end + 1);
}

std::string_view trim(std::string_view s) {
  s = trimRight(s);
  const size_t begin = s.find_first_not_of(kBlanks);
  return begin == std::string_view::npos ? std::string_view{} : s.substr(begin);
}

std::vector<std::string_view> splitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

std::vector<std::string_view> splitWords(std::string_view text) {
  std::vector<std::string_view> words;
  size_t k = 0;
  while ((k = text.find_first_not_of(kBlanks, k)) != std::string_view::npos) {
    const size_t end = std::min(text.find_first_of(kBlanks, k), text.size());
    words.push_back(text.substr(k, end - k));
    k = end;
  }
  return words;
}

// An integer field of the report (In); nullopt for blanks or asterisks.
std::optional<int> parseIntField(std::string_view field) {
  field = trim(field);
  int value = 0;
  const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), value);
  if (ec != std::errc() || end != field.data() + field.size() || field.empty()) return std::nullopt;
  return value;
}

// Adds the stations of one line of a station list ("7, 20-21,") to
// `stations`; returns whether the list ends on this line.
bool readStations(std::string_view text, std::vector<int>& stations) {
  const size_t end = text.find(kListEnd);
  const bool ends = end != std::string_view::npos;
  if (ends) text = text.substr(0, end);
  for (std::string_view item : splitWords(text)) {
    if (item.ends_with(',')) item.remove_suffix(1);
    const size_t dash = item.find('-');
    const auto first = parseIntField(item.substr(0, dash));
    const auto last = dash == std::string_view::npos ? first : parseIntField(item.substr(dash + 1));
    if (!first || !last || *last < *first || *last - *first > 100000) continue;
    for (int s = *first; s <= *last; ++s) stations.push_back(s);
  }
  return ends;
}

void readHeading(std::string_view line, ProblemSummary& p) {
  std::string_view rest = trimRight(line);
  rest = rest.substr(std::min(rest.find_first_not_of(' '), rest.size()));
  constexpr std::string_view stage = "Stage No :", longTerm = "Long Term :";
  if (rest.starts_with(stage)) {
    p.kind = HeadingKind::Stage;
    p.stage = parseIntField(rest.substr(stage.size(), 2)).value_or(0);
    p.title = std::string(trim(rest.substr(std::min(rest.size(), stage.size() + 2))));
    p.heading = std::string(stage) + " " + std::to_string(p.stage) + "  " + p.title;
  } else if (p.number != 1 && rest.starts_with(longTerm)) {
    p.kind = HeadingKind::LongTerm;
    p.title = std::string(trim(rest.substr(longTerm.size())));
    p.heading = std::string(longTerm) + "  " + p.title;
  } else {
    p.title = std::string(trim(rest));
    p.heading = p.title;
  }
}

// A row of the table of supports: "     8   0.160E+01    0.444E+02 ...".
std::optional<SupportForce> readSupportRow(std::string_view line) {
  const std::vector<std::string_view> words = splitWords(line);
  if (words.size() != 5) return std::nullopt;
  const auto station = parseIntField(words[0]);
  std::optional<double> values[4];
  for (size_t k = 0; k < 4; ++k)
    if (!(values[k] = ParseFieldNumber(words[k + 1]))) return std::nullopt;
  if (!station) return std::nullopt;
  return SupportForce{*station, *values[0], *values[3], *values[1], *values[2]};
}

// The largest shear either side and its station, from its report line.
std::optional<std::pair<double, int>> readLargestShear(std::string_view line) {
  const std::vector<std::string_view> words = splitWords(line.substr(kLargestShear.size()));
  if (words.size() < 4) return std::nullopt;
  const auto value = ParseFieldNumber(words.front());
  const auto station = parseIntField(words.back());
  if (!value || !station) return std::nullopt;
  return std::pair{*value, *station};
}

struct ReportScan {
  std::vector<ProblemSummary> problems;
  // Per problem, the station of its largest shear either side (the plot
  // file gives its depth); -1 where the report has none.
  std::vector<int> largestShearStations;
  std::optional<std::string> errorStop;
  bool complete = false;
};

ReportScan scanReport(std::string_view text) {
  ReportScan scan;
  std::optional<ProblemSummary> current;
  bool hasResults = false;
  enum class Expect { Nothing, VersionLine, Heading, Warnings } expect = Expect::Nothing;
  std::vector<int> ProblemSummary::*openList = nullptr;  // a station list going on in the next line
  int problemCount = 0;

  bool inSupportTable = false;
  int largestShearStation = -1;
  auto finishProblem = [&] {
    if (current && hasResults) {
      scan.problems.push_back(std::move(*current));
      scan.largestShearStations.push_back(largestShearStation);
    }
    current.reset();
    hasResults = false;
    inSupportTable = false;
    largestShearStation = -1;
  };

  for (std::string_view line : splitLines(text)) {
    if (line.starts_with(kBanner)) {
      finishProblem();
      current.emplace();
      current->number = ++problemCount;
      expect = Expect::VersionLine;
      continue;
    }
    if (!scan.errorStop && (line.starts_with(kErrorPrefix) || trimRight(line) == kTooMuchData)) {
      scan.errorStop = std::string(trim(line));
      continue;
    }
    if (trimRight(line) == kEndOfAnalysis) {
      scan.complete = true;
      continue;
    }
    if (!current) continue;
    switch (expect) {
      case Expect::VersionLine: expect = Expect::Heading; continue;
      case Expect::Heading:
        // The heading follows the banner's empty lines; a blank title still
        // gives a line of blanks, never an empty one.
        if (line.empty()) continue;
        readHeading(line, *current);
        expect = Expect::Nothing;
        continue;
      case Expect::Warnings:
        if (openList && line.find_first_not_of(' ') == kListIndent) {
          if (readStations(line, (*current).*openList)) openList = nullptr;
          continue;
        }
        openList = nullptr;  // a list cut short
        if (line.starts_with(kColumnHeading)) {
          expect = Expect::Nothing;
        } else if (line.starts_with(kZeroPivots)) {
          if (!readStations(line.substr(kZeroPivots.size()), current->zeroPivotStations))
            openList = &ProblemSummary::zeroPivotStations;
        } else if (line.starts_with(kNotValid)) {
          std::string_view reason = trimRight(line.substr(kNotValid.size()));
          if (reason.ends_with(kListEnd))
            reason = trimRight(reason.substr(0, reason.size() - kListEnd.size()));
          current->numericalFault = std::string(reason);
        } else if (line.starts_with(kPartialStiffness)) {
          if (!readStations(line.substr(kPartialStiffness.size()), current->partialStiffnessStations))
            openList = &ProblemSummary::partialStiffnessStations;
        } else if (trimRight(line) == kOffCurves) {
          current->offCurves = true;
        } else if (trimRight(line) == kNotClosed) {
          current->notClosed = true;
        } else if (line.starts_with(kOverLimit)) {
          current->overLimit = true;
          current->stationsOverLimit = parseIntField(line.substr(kOverLimit.size(), 4)).value_or(-1);
        }
        continue;
      case Expect::Nothing: break;
    }
    if (hasResults && trimRight(line) == kSupportTable) {
      inSupportTable = true;
      continue;
    }
    if (inSupportTable && line.starts_with(kLargestShear)) {
      inSupportTable = false;
      if (const auto largest = readLargestShear(line)) {
        current->shearEitherSide = Extreme{largest->first, 0.0};
        largestShearStation = largest->second;
      }
      continue;
    }
    if (inSupportTable) {
      // Rows of point loads without a support take no force.
      if (const auto row = readSupportRow(line); row && row->force != 0.0)
        current->supports.push_back(*row);
      continue;
    }
    if (line.starts_with(kResults)) {
      hasResults = true;
      current->iterations = parseIntField(line.substr(kResults.size(), 3)).value_or(-1);
      expect = Expect::Warnings;
    }
  }
  finishProblem();
  return scan;
}

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

// The heading line of every problem the report begins, in order: the first
// line with text after its banner's version line.
std::vector<std::string_view> reportHeadings(std::string_view text) {
  std::vector<std::string_view> headings;
  for (size_t at = 0; (at = text.find(kBanner, at)) != std::string_view::npos;
       at += kBanner.size()) {
    if (at != 0 && text[at - 1] != '\n') continue;
    size_t line = text.find('\n', at);                                     // the banner's end
    if (line != std::string_view::npos) line = text.find('\n', line + 1);  // the version line's
    while (line != std::string_view::npos && line + 1 < text.size()) {
      const size_t end = std::min(text.find('\n', line + 1), text.size());
      std::string_view heading = text.substr(line + 1, end - line - 1);
      if (!heading.empty() && heading.back() == '\r') heading.remove_suffix(1);
      if (!heading.empty()) {
        headings.push_back(heading);
        break;
      }
      line = end;
    }
  }
  return headings;
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
