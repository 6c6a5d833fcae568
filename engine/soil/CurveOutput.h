#pragma once
// The frame every soil-model generator writes its curves in: the curve
// record handed to the analysis, the report block of each curve side, and the
// transformation of the raw points by the p- and y-multipliers and the
// active-pressure shift.

#include <array>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

#include "PyGeneration.h"

namespace terraq::engine {

constexpr int kSidePoints = 17;
constexpr int kRecordPoints = 2 * kSidePoints;  // rows of one generated curve record

// The points of one curve side before the transformation; element i is
// point i + 1.
using SidePoints = std::array<double, kSidePoints>;

// Starts the record of curve k: its depth below the backfill surface (H + xc).
void WriteCurveHeader(PyGeneration& g, int k);

// Report: two empty lines and "AT THE EXCAVATION SIDE" / "AT THE BACKFILL SIDE".
void WriteSideTitle(PyGeneration& g, Side side);

// A report line of texts, each right-aligned to end at its column (1-based),
// for headings and unit lines over the value lines of the generators.
std::string AlignedRow(std::initializer_list<std::pair<int, std::string_view>> cells);

// Soft clay reports a deflection that falls below the smallest one it can
// resolve, with the initial modulus it used there.
struct SmallDeflectionWarning {
  bool enabled = false;
  double modulus = 0;
};

// How the points of a side are laid out where a model departs from the
// common frame.
struct PointLayout {
  bool multiplierLine = true;  // the " P-Multiplier = " line after the last point
};

// Transforms the 17 points of one side (p' = Mp p - pA on the excavation
// side, Mp p + pA on the backfill side; y' = My y, multipliers at the depth
// H + xc(k)) and writes them to the report, followed by the multiplier line,
// and to the curve's record.
void WriteSidePoints(PyGeneration& g, int k, Side side, const SidePoints& y, const SidePoints& p,
                     double pA, const SmallDeflectionWarning& warning = {},
                     const PointLayout& layout = {});

// Writes 17 points that the model has already transformed (yOut = My y,
// pOut as the model builds it) to the report and the curve's record, for the
// models whose multipliers do not act on the whole curve alike.
void WriteTransformedPoints(PyGeneration& g, int k, const SidePoints& yOut, const SidePoints& pOut,
                            const PointLayout& layout);

}  // namespace terraq::engine
