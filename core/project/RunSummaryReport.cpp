// Reading the engine's report for the run summary (RunSummaryReport.h).
#include "RunSummaryReport.h"

#include <algorithm>
#include <charconv>

namespace terraq::ui::run_report {

namespace {

// Lines of the report that the summary recognises, as the engine writes them.
constexpr std::string_view kBanner = " TERRAQ - A PROGRAM FOR THE ANALYSIS OF";
constexpr std::string_view kResults = "     RESULTS -- ITERATION";
constexpr std::string_view kColumnHeading = "   STA I";
constexpr std::string_view kOffCurves = "     ***** DEFLECTION OFF Q - W CURVES *****";
constexpr std::string_view kOverLimit = "     ***** MAX ALLOWABLE DEFLECTION EXCEEDED AT ***";
constexpr std::string_view kNotClosed =
    "     ***** SOLUTION NOT CLOSED WITHIN SPECIFIED'TOLERANCE *****";
// Followed by stations ("7, 20-21"), the list going on in further lines
// until "*****".
constexpr std::string_view kZeroPivots =
    "     ***** RESULTS NOT VALID: SINGULAR EQUATIONS (ZERO PIVOT) AT STATIONS";
// Any other reason the results are not valid: the rest of the line, up to
// " *****".
constexpr std::string_view kNotValid = "     ***** RESULTS NOT VALID: ";
constexpr std::string_view kPartialStiffness =
    "     ***** WALL WEAKENED: THE EI ROWS GIVE ONLY PART OF EI AT STATIONS";
constexpr std::string_view kListEnd = "*****";
constexpr size_t kListIndent = 11;  // blanks before a continued list
// The table of the shear either side of supports and point loads, its rows
// (station, depth, shear above, shear below, support force) and the line of
// the largest shear, ending with its station.
constexpr std::string_view kSupportTable = "     SHEAR EITHER SIDE OF SUPPORTS AND POINT LOADS";
constexpr std::string_view kLargestShear = "     LARGEST SHEAR, EITHER SIDE OF THE STATIONS = ";
constexpr std::string_view kTooMuchData = "     TOO MUCH DATA FOR AVAILABLE STORAGE";
constexpr std::string_view kErrorPrefix = "     ERROR";

constexpr std::string_view kBlanks = " \t\r\n";

}  // namespace

std::string_view trimRight(std::string_view s) {
  const size_t end = s.find_last_not_of(kBlanks);
  return end == std::string_view::npos ? std::string_view{} : s.substr(0, end + 1);
}

std::string_view trim(std::string_view s) {
  s = trimRight(s);
  const size_t begin = s.find_first_not_of(kBlanks);
  return begin == std::string_view::npos ? std::string_view{} : s.substr(begin);
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

namespace {

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

// The report read a line at a time: the problem being read and what its
// next lines are expected to be.
class ReportScanner {
 public:
  void read(std::string_view line) {
    if (line.starts_with(kBanner)) {
      finishProblem();
      current_.emplace();
      current_->number = ++problemCount_;
      expect_ = Expect::VersionLine;
      return;
    }
    if (!scan_.errorStop && (line.starts_with(kErrorPrefix) || trimRight(line) == kTooMuchData)) {
      scan_.errorStop = std::string(trim(line));
      return;
    }
    if (trimRight(line) == kEndOfAnalysis) {
      scan_.complete = true;
      return;
    }
    if (!current_) return;
    switch (expect_) {
      case Expect::VersionLine: expect_ = Expect::Heading; return;
      case Expect::Heading:
        // The heading follows the banner's empty lines; a blank title still
        // gives a line of blanks, never an empty one.
        if (line.empty()) return;
        readHeading(line, *current_);
        expect_ = Expect::Nothing;
        return;
      case Expect::Warnings: readWarning(line); return;
      case Expect::Nothing: break;
    }
    readResults(line);
  }

  ReportScan finish() {
    finishProblem();
    return std::move(scan_);
  }

 private:
  void finishProblem() {
    if (current_ && hasResults_) {
      scan_.problems.push_back(std::move(*current_));
      scan_.largestShearStations.push_back(largestShearStation_);
    }
    current_.reset();
    hasResults_ = false;
    inSupportTable_ = false;
    largestShearStation_ = -1;
  }

  // A line between the results' heading and their column heading.
  void readWarning(std::string_view line) {
    ProblemSummary& p = *current_;
    if (openList_ && line.find_first_not_of(' ') == kListIndent) {
      if (readStations(line, p.*openList_)) openList_ = nullptr;
      return;
    }
    openList_ = nullptr;  // a list cut short
    if (line.starts_with(kColumnHeading)) {
      expect_ = Expect::Nothing;
    } else if (line.starts_with(kZeroPivots)) {
      if (!readStations(line.substr(kZeroPivots.size()), p.zeroPivotStations))
        openList_ = &ProblemSummary::zeroPivotStations;
    } else if (line.starts_with(kNotValid)) {
      std::string_view reason = trimRight(line.substr(kNotValid.size()));
      if (reason.ends_with(kListEnd))
        reason = trimRight(reason.substr(0, reason.size() - kListEnd.size()));
      p.numericalFault = std::string(reason);
    } else if (line.starts_with(kPartialStiffness)) {
      if (!readStations(line.substr(kPartialStiffness.size()), p.partialStiffnessStations))
        openList_ = &ProblemSummary::partialStiffnessStations;
    } else if (trimRight(line) == kOffCurves) {
      p.offCurves = true;
    } else if (trimRight(line) == kNotClosed) {
      p.notClosed = true;
    } else if (line.starts_with(kOverLimit)) {
      p.overLimit = true;
      p.stationsOverLimit = parseIntField(line.substr(kOverLimit.size(), 4)).value_or(-1);
    }
  }

  // The results' heading, and the table of supports after the results.
  void readResults(std::string_view line) {
    if (hasResults_ && trimRight(line) == kSupportTable) {
      inSupportTable_ = true;
      return;
    }
    if (inSupportTable_ && line.starts_with(kLargestShear)) {
      inSupportTable_ = false;
      if (const auto largest = readLargestShear(line)) {
        current_->shearEitherSide = Extreme{largest->first, 0.0};
        largestShearStation_ = largest->second;
      }
      return;
    }
    if (inSupportTable_) {
      // Rows of point loads without a support take no force.
      if (const auto row = readSupportRow(line); row && row->force != 0.0)
        current_->supports.push_back(*row);
      return;
    }
    if (line.starts_with(kResults)) {
      hasResults_ = true;
      current_->iterations = parseIntField(line.substr(kResults.size(), 3)).value_or(-1);
      expect_ = Expect::Warnings;
    }
  }

  enum class Expect { Nothing, VersionLine, Heading, Warnings };
  ReportScan scan_;
  std::optional<ProblemSummary> current_;
  bool hasResults_ = false;
  Expect expect_ = Expect::Nothing;
  // A station list going on in the next line.
  std::vector<int> ProblemSummary::*openList_ = nullptr;
  int problemCount_ = 0;
  bool inSupportTable_ = false;
  int largestShearStation_ = -1;
};

}  // namespace

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

ReportScan scanReport(std::string_view text) {
  ReportScanner scanner;
  for (std::string_view line : splitLines(text)) scanner.read(line);
  return scanner.finish();
}

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

}  // namespace terraq::ui::run_report
