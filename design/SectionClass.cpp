// The cross-section classes of sheet piles, I sections and pipes.
#include "SectionClass.h"

#include <algorithm>
#include <cmath>

namespace terraq::design {

Shape ShapeOf(SectionFamily family) {
  switch (family) {
    case SectionFamily::SheetPileU: return Shape::SheetU;
    case SectionFamily::SheetPileZ: return Shape::SheetZ;
    case SectionFamily::WideFlange:
    case SectionFamily::HPile: return Shape::ISection;
    case SectionFamily::Pipe: return Shape::Pipe;
  }
  return Shape::ISection;
}

bool IsSheet(Shape shape) { return shape == Shape::SheetU || shape == Shape::SheetZ; }

double Epsilon(double fy) { return std::sqrt(235e6 / fy); }

namespace {

// Class of a sheet pile by the flange slenderness b/tf/ε (EN 1993-5, Table 5-1),
// b the width of the compression flange. Class 1 needs a rotation check this
// program does not make, so the best class is 2.
int SheetPileClass(Shape shape, double b, double tf, double fy) {
  const double slenderness = b / tf / Epsilon(fy);
  const double class2 = shape == Shape::SheetZ ? 45 : 37;
  const double class3 = shape == Shape::SheetZ ? 66 : 49;
  if (slenderness <= class2) return 2;
  if (slenderness <= class3) return 3;
  return 4;
}

// Class of an I section (EN 1993-1-1, Table 5.2): the flange outstand
// c = (b − tw)/2 and the web c = h − 2tf (no root radius in the library, so
// both are a little longer than the code's and the class is on the safe
// side), the web under the largest compression of the wall.
int ISectionClass(double b, double h, double tf, double tw, double area, double fy,
                  double compression) {
  const double eps = Epsilon(fy);
  const double outstand = (b - tw) / 2 / tf;
  const int flange = outstand <= 9 * eps    ? 1
                     : outstand <= 10 * eps ? 2
                     : outstand <= 14 * eps ? 3
                                            : 4;
  const double c = h - 2 * tf;
  const double slender = c / tw;
  const double alpha = std::clamp(0.5 + compression / (2 * c * tw * fy), 0.5, 1.0);
  const double psi = area > 0 ? std::clamp(2 * compression / (area * fy) - 1, -1.0, 1.0) : -1.0;
  const double limit3 = psi > -1 ? 42 * eps / (0.67 + 0.33 * psi) : 124 * eps;
  const int web = slender <= 396 * eps / (13 * alpha - 1)   ? 1
                  : slender <= 456 * eps / (13 * alpha - 1) ? 2
                  : slender <= limit3                       ? 3
                                                            : 4;
  return std::max(flange, web);
}

// Class of a circular hollow section by d/t (EN 1993-1-1, Table 5.2 sheet 3).
int PipeClass(double d, double t, double fy) {
  const double e2 = 235e6 / fy;
  const double ratio = d / t;
  return ratio <= 50 * e2 ? 1 : ratio <= 70 * e2 ? 2 : ratio <= 90 * e2 ? 3 : 4;
}

}  // namespace

int ClassOfSection(const Section& s, double fy, double compression) {
  const Shape shape = ShapeOf(s.family);
  const double h = *s.height;
  const double tw = *s.webThickness;
  switch (shape) {
    case Shape::SheetU:
    case Shape::SheetZ: {
      // The catalogue's flange width when the library has it; else the
      // system width, which bounds it from above.
      const bool flange = s.flangeWidth && std::isfinite(*s.flangeWidth) && *s.flangeWidth > 0;
      return SheetPileClass(shape, flange ? *s.flangeWidth : *s.width, *s.flangeThickness, fy);
    }
    case Shape::ISection:
      return ISectionClass(*s.width, h, *s.flangeThickness, tw, *s.area, fy, compression);
    case Shape::Pipe: return PipeClass(h, tw, fy);
  }
  return 0;
}

}  // namespace terraq::design
