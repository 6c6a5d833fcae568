// The results of the calculation package that are numbers and words rather
// than graphs: the maxima of each problem and the warnings of the run with
// what each means and what to do.
//
// The maxima are the run summary's (ui::SummarizeAnalysis) written by the
// formatter of `terraq run --json`: a checker who runs the command on the
// data file finds the same characters.

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <set>

#include "PackageParts.h"
#include "project/RunOutcome.h"

namespace terraq::report::detail {

namespace {

using ui::Extreme;
using ui::ProblemSummary;

struct Warning {
  std::string text;     // what happened, set off as a warning
  std::string meaning;  // what it means and what to do
};

// What a numerical fault of the report means, by the words that name it.
std::string faultMeaning(const std::string& fault) {
  if (fault.find("REACHES THE BUCKLING") != std::string::npos)
    return "The axial compression of the load table is the load at which the wall buckles on its supports, "
           "springs and soil, as closely as the increments can tell: the wall is a mechanism, whose "
           "deflection grows without bound, and the numbers are not those of a wall that stands. Check the "
           "sign and size of the axial load (a compression is negative); a wall this slender needs more "
           "support, a stiffer section or less axial load.";
  if (fault.find("MECHANISM") != std::string::npos)
    return "The wall deflects by more than its own length: no wall stands so, and the equations of small "
           "deflections no longer describe it. The wall is a mechanism (its soil, springs and supports do "
           "not hold it against the loads), or the loads, EI or springs are in the wrong units. Check them, "
           "and give the wall the support it lacks.";
  if (fault.find("BUCKLING") != std::string::npos)
    return "The axial compression of the load table exceeds the load at which the wall buckles on its "
           "supports, springs and soil: the equations solve, but to a state the wall cannot stand in. Check "
           "the sign and size of the axial load (a compression is negative); a wall this slender needs more "
           "support, a stiffer section or less axial load.";
  if (fault.find("INCREMENT LENGTH") != std::string::npos)
    return "The increment length is so far from any wall's scale that the terms of the equations cannot be "
           "computed; the numbers are not those of the wall. Give the increment length in the project's "
           "length unit: the wall's length over the number of increments.";
  if (fault.find("UNDERFLOW") != std::string::npos)
    return "A load, a spring or the deflections are too small to be computed with their digits at this "
           "increment length; the numbers are not those of the wall. Check the increment length and the "
           "units of the loads, springs and stiffness.";
  if (fault.find("OVERFLOW") != std::string::npos)
    return "Moments, shears or soil reactions became too large to compute; the numbers are not those of the "
           "wall. Check the increment length, loads and stiffness for their units.";
  if (fault.find("ROUNDING") != std::string::npos)
    return "The wall's bending is below the rounding of its deflections (a large movement of the whole wall "
           "with almost no bending): the moments and shears are noise. Check the specified deflections, loads "
           "and EI for their units and scale.";
  return "The results are not those of the wall and must not be used for design; the user's manual lists "
         "the engine's messages with their causes.";
}

std::vector<Warning> problemWarnings(const ProblemSummary& p) {
  std::vector<Warning> out;
  if (p.overLimit)
    out.push_back(
        {"The deflection exceeded the maximum allowable deflection at " +
             std::to_string(p.stationsOverLimit) + " stations; the iteration stopped.",
         "The results are not a solution of the wall. Check the loads, the stiffness and the supports; "
         "raise the allowable deflection only if deflections that large are meant."});
  else if (p.notClosed)
    out.push_back(
        {"The deflections did not close within the tolerance after " +
             std::to_string(p.iterations) + " iterations.",
         "The deflections were still changing when the iteration ended: the results are not a "
         "solution of the wall. Check the data; a tolerance too small for the wall's deflections "
         "never closes."});
  if (p.offCurves)
    out.push_back(
        {"At some station the deflection lay beyond the last point of its load-deflection (p-y) "
         "curve.",
         "The curve's end segment was extended beyond its points, so the soil's response there is an "
         "extrapolation. Give the external p-y curves a wider range of deflection."});
  if (!p.zeroPivotStations.empty())
    out.push_back(
        {"RESULTS NOT VALID: singular equations (zero pivot) at stations " +
             ui::StationsText(p.zeroPivotStations) + ".",
         "The equations of the wall could not be solved there: nothing holds the wall (no soil, "
         "spring or specified deflection), or its EI is zero. Give the wall soil, springs or a "
         "specified deflection, and EI at every station."});
  if (!p.numericalFault.empty())
    out.push_back({"RESULTS NOT VALID: " + p.numericalFault + ".", faultMeaning(p.numericalFault)});
  if (!p.partialStiffnessStations.empty())
    out.push_back(
        {"Wall weakened: the EI rows give only part of EI at stations " +
             ui::StationsText(p.partialStiffnessStations) + ".",
         "The rows of the wall stiffness table leave these stations without their full EI (a gap "
         "between the To Node of one row and the From Node of the next): the wall is softer there "
         "than meant. Make the rows cover every station from 0 to the tip."});
  return out;
}

std::string depthUnit(const ui::RunSummary& summary) {
  std::set<std::string> units;
  for (const ProblemSummary& p : summary.problems)
    if (p.unitsCode) units.insert(ui::ResultUnitsFor(*p.unitsCode).length);
  return units.size() == 1 ? *units.begin() : std::string();
}

}  // namespace

std::string ProblemName(const std::vector<std::string>& names, size_t k) {
  return k < names.size() ? names[k] : "Problem " + std::to_string(k + 1);
}

std::string FourDigits(double value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.4g", value == 0.0 ? 0.0 : value);
  return buffer;
}

std::string SignificantText(double value, int digits) {
  if (!std::isfinite(value)) return ui::SummaryNumberText(value);
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.*e", digits - 1, value);
  return ui::SummaryNumberText(std::strtod(buffer, nullptr));
}

void AppendMaxima(const ui::RunSummary& summary, const std::vector<std::string>& names,
                  std::vector<Block>& blocks) {
  blocks.push_back(Heading{1, "Maxima", {}});
  Table table;
  table.caption = "Maxima and support forces";
  table.columns = {{"Quantity", "", "", Align::Left},
                   {"Value", "", "", Align::Decimal},
                   {"Unit", "", "", Align::Left},
                   {"Depth", "z", depthUnit(summary), Align::Decimal}};
  auto add = [&](std::string label, const std::optional<Extreme>& e, const std::string& unit) {
    if (!e) return;
    table.rows.push_back(
        {std::move(label), ui::SummaryNumberText(e->value), unit, ui::SummaryNumberText(e->depth)});
    table.groupRows.push_back(false);
  };
  for (size_t k = 0; k < summary.problems.size(); ++k) {
    const ProblemSummary& p = summary.problems[k];
    std::string group = k < names.size() ? names[k] : "Problem " + std::to_string(p.number);
    if (!p.resultsValid() || !p.closed()) group += " (results not valid: see the warnings)";
    table.rows.push_back({group, "", "", ""});
    table.groupRows.push_back(true);
    const ui::ResultUnits u = ui::ResultUnitsFor(p.unitsCode.value_or(0));
    add("Deflection at the top", p.topDeflection, u.length);
    add("Largest deflection", p.deflection, u.length);
    add("Largest positive moment", p.positiveMoment, u.moment);
    add("Largest negative moment", p.negativeMoment, u.moment);
    add("Largest shear", p.shear, u.force);
    add("Largest shear either side of a station", p.shearEitherSide, u.force);
    for (const ui::SupportForce& s : p.supports)
      add("Support force at station " + std::to_string(s.station), Extreme{s.force, s.depth},
          u.force);
  }
  table.note =
      "As the analysis gives them (four significant digits; the shear either side of a station and the "
      "support forces three), in the data file's units. The largest shear is the largest on either side "
      "of every station (the station table keeps the mean of the two sides where the shear steps). "
      "Deflection, loads and support forces are positive towards the excavation (an anchor holding the "
      "wall back pulls with a negative force); a moment is positive when it stretches the backfill face. "
      "Where a value recurs, its shallowest depth.";
  blocks.push_back(std::move(table));
}

void AppendWarnings(const ui::RunSummary& summary, const engine::api::AnalysisResult& analysis,
                    const std::vector<std::string>& names, std::vector<Block>& blocks) {
  blocks.push_back(Heading{1, "Warnings", {}});
  size_t count = 0;
  for (size_t k = 0; k < summary.problems.size(); ++k) {
    const std::string name = ProblemName(names, k);
    for (const Warning& w : problemWarnings(summary.problems[k])) {
      blocks.push_back(Paragraph{name + ": " + w.text, Paragraph::Style::Warning});
      blocks.push_back(Paragraph{w.meaning, Paragraph::Style::Body});
      ++count;
    }
  }
  for (const std::string& message : analysis.messages) {
    if (ui::IsEngineProgressNote(message)) continue;
    blocks.push_back(Paragraph{message, Paragraph::Style::Warning});
    blocks.push_back(
        Paragraph{"A message of the engine about the data or the solution; the user's manual "
                  "(Messages of the analysis) gives its cause and what to do.",
                  Paragraph::Style::Body});
    ++count;
  }
  if (count == 0) blocks.push_back(Paragraph{"No warnings."});
}

}  // namespace terraq::report::detail
