#pragma once
// The envelope of observed wall movements in soft to medium clays of
// Clough and O'Rourke (1990): the largest lateral deflection of the wall,
// as a percentage of the excavation's height, against the system
// stiffness EI / (γw h⁴) (h the average vertical spacing of the supports),
// one curve for each factor of safety against basal heave. A back-analysis
// sets the program's deflection beside what walls of that stiffness have
// been seen to do.
//
// The curves are tabulated at six stiffnesses from 10 to 3000 for factors
// of safety 0.9, 1.0, 1.1, 1.4, 2.0 and 3.0 (docs/technical/calibration.md
// gives the table and its source); between them the value is linear in
// log10 of the stiffness and linear in the factor of safety. Outside the
// chart the nearest edge is used and the result says so.
//
// Units: any consistent set (EI in F L², γw in F/L³, h in L); the ratio in
// percent. Thread safety: pure functions.

#include <array>

namespace terraq::design {

inline constexpr std::array<double, 6> kEnvelopeStiffness = {10, 30, 100, 300, 1000, 3000};
inline constexpr std::array<double, 6> kEnvelopeSafety = {0.9, 1.0, 1.1, 1.4, 2.0, 3.0};

// EI / (γw h⁴); 0 when a value is not positive.
double SystemStiffness(double ei, double unitWeightOfWater, double supportSpacing);

struct EnvelopeValue {
  double ratio = 0;      // δmax / H, percent
  bool outside = false;  // the stiffness or the factor of safety is off the chart
};

// The envelope's δmax / H at `stiffness` for a factor of safety against
// basal heave `safety`.
EnvelopeValue MovementEnvelope(double stiffness, double safety);

// The program's point on the chart and the envelope there.
struct EnvelopePoint {
  double stiffness = 0;  // EI / (γw h⁴)
  double ratio = 0;      // the program's |δmax| / H, percent
  EnvelopeValue envelope;
};
EnvelopePoint EnvelopePointOf(double ei, double unitWeightOfWater, double supportSpacing,
                              double excavationHeight, double largestDeflection, double safety);

}  // namespace terraq::design
