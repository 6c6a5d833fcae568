#pragma once
// The cross-section class of a steel wall section: how far its plates let
// it yield before they buckle locally, which decides whether its bending is
// checked plastically (classes 1 and 2) or elastically (3 and 4).
// docs/technical/structural-checks.md gives the limits with their clauses.
//
// Units: SI (m, Pa, N). Internal to the design library.

#include "Sections.h"

namespace terraq::design {

// The shapes the checks tell apart.
enum class Shape { SheetU, SheetZ, ISection, Pipe };

Shape ShapeOf(SectionFamily family);
bool IsSheet(Shape shape);

// ε = √(235 MPa / fy).
double Epsilon(double fy);

// The class of section `s` of shape ShapeOf(s.family) in a steel of yield
// strength fy, the web of an I section under the largest axial compression
// `compression` (N). Precondition: the geometry the class reads is there
// (h, tw; b and tf but for pipes; A of I sections).
int ClassOfSection(const Section& s, double fy, double compression);

}  // namespace terraq::design
