#pragma once
// The frame every soil-model generator writes its curves in: the curve
// record handed to the analysis, the report block of each curve side, and the
// transformation of the raw points by the p- and y-multipliers and the
// active-pressure shift.

#include <array>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "PyGeneration.h"

namespace terraq::engine {

constexpr int kSidePoints = 17;
constexpr int kRecordPoints = 2 * kSidePoints;  // rows of one generated curve record

// The points of one curve side before the transformation; element i is
// point i + 1.
using SidePoints = std::array<double, kSidePoints>;

// Starts the record of the curve at the excavation-side depth x: its depth
// below the backfill surface is H + x.
void WriteCurveHeader(PyGeneration& g, double x);

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

// A side's curve by the model's own formula: p at any deflection y >= 0
// (before multipliers and shift), and the deflection besides its 17 points
// where its slope jumps (where its initial straight line ends; 0 or
// anything not inside the curve's range when there is none).
struct SideCurve {
  std::function<double(double y)> at;
  double kink = 0;
};

// A station's curve (PyGeneration::dense) as (y, p) points: the model's 17
// points and its kinks, and between them, where the curve bends, points in a
// ratio of at most kDenseRatio, below the first point down to a hundredth
// of it. An interval is left whole where the curve at its geometric middle
// lies within kDenseTolerance of the chord; otherwise it is halved
// (geometrically). Chords over the ratio r stay within 0.35 % of a power law
// p ~ y^(1/4) or y^(1/3) (their error is about a (1 - a) ln(r)^2 / 8 of p
// for p ~ y^a). `y` increases from 0; `p` holds curve.at(y[i]), which the
// model has already computed. `out` is replaced (its storage reused).
inline constexpr double kDenseRatio = 1.4;
inline constexpr double kDenseTolerance = 2.0e-3;
void DenseCurve(const SidePoints& y, const SidePoints& p, const SideCurve& curve,
                std::vector<std::pair<double, double>>& out);

// Transforms the 17 points of one side (p' = Mp p - pA on the excavation
// side, Mp p + pA on the backfill side; y' = My y, multipliers at the depth
// H + x) and writes them to the report, followed by the multiplier line,
// and to the curve's record. A station's curve is tabulated at
// DenseCurve by `curve` instead, when the model gives it.
void WriteSidePoints(PyGeneration& g, double x, Side side, const SidePoints& y, const SidePoints& p,
                     double pA, const SideCurve& curve, const SmallDeflectionWarning& warning = {},
                     const PointLayout& layout = {});

// Writes 17 points that the model has already transformed (yOut = My y,
// pOut as the model builds it) to the report and the curve's record, for the
// models whose multipliers do not act on the whole curve alike. A station's
// curve takes the same 17 points.
void WriteTransformedPoints(PyGeneration& g, double x, const SidePoints& yOut,
                            const SidePoints& pOut, const PointLayout& layout);

}  // namespace terraq::engine
