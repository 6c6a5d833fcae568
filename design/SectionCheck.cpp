// Structural checks of a steel wall section; docs/technical/structural-checks.md
// gives every formula with its clause and the verification cases.
#include "SectionCheck.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace terraq::design {
namespace {

constexpr double kPi = 3.14159265358979323846;

bool Positive(const std::optional<double>& v) { return v && std::isfinite(*v) && *v > 0; }

std::string Number(double value) {
  std::ostringstream out;
  out.precision(4);
  out << value;
  return out.str();
}

enum class Shape { SheetU, SheetZ, ISection, Pipe };

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

// The section's resistances per wall unit and what the interactions need.
struct Resistances {
  Shape shape = Shape::SheetZ;
  bool plastic = true;  // class 1 or 2: plastic interactions
  double moment = 0;    // Mc,Rd (Eurocode) or kb·fy·Wel (allowable)
  double shear = 0;     // Vpl,Rd or kv·fy·Av
  double axial = 0;     // Npl,Rd or ka·fy·A; 0 when A is not needed
  // High shear: Mv,Rd = moment − ρ·webMoment, or (1 − ρ)·moment when the
  // web's share is unknown (webMoment < 0).
  double webMoment = -1;
  double flangeAreaShare = 0;  // a = (A − 2 b tf)/A of I sections, ≤ 0.5
  double webSquash = 0;        // hw·tw·fy/γM0 of I sections
};

struct Failure {
  std::string message;
};

// Names the property a check needs and the section lacks.
std::string Lacks(const Section& s, const char* what, const char* check) {
  return "section " + s.name + " has no " + what + ", which " + check + " needs";
}

double Epsilon(double fy) { return std::sqrt(235e6 / fy); }

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

std::optional<Failure> EurocodeResistances(const Section& s, const SteelGrade& grade,
                                           const CheckSettings& settings, double unitWidth,
                                           double compression, bool axialNeeded, Resistances& r,
                                           WallCheck& out) {
  const double fy = grade.yieldStrength;
  const double fd = fy / settings.gammaM0;
  const double eps = Epsilon(fy);
  r.shape = ShapeOf(s.family);
  const bool sheet = IsSheet(r.shape);
  const double perUnit = sheet ? unitWidth : 1.0;

  // Geometry every Eurocode check needs.
  if (r.shape == Shape::Pipe) {
    if (!Positive(s.height)) return Failure{Lacks(s, "outside diameter h", "the pipe's class")};
    if (!Positive(s.webThickness))
      return Failure{Lacks(s, "wall thickness tw", "the pipe's class")};
    if (!Positive(s.area)) return Failure{Lacks(s, "area A", "the pipe's shear area 2A/π")};
  } else {
    if (!Positive(s.width)) return Failure{Lacks(s, "width b", "the cross-section class")};
    if (!Positive(s.flangeThickness))
      return Failure{Lacks(s, "flange thickness tf", "the cross-section class")};
    if (!Positive(s.height)) return Failure{Lacks(s, "height h", "the shear area")};
    if (!Positive(s.webThickness)) return Failure{Lacks(s, "web thickness tw", "the shear area")};
    if (*s.height <= 2 * *s.flangeThickness)
      return Failure{"section " + s.name + " has a height h no larger than twice its flange " +
                     "thickness tf, which leaves no web for the shear area"};
  }
  if (r.shape == Shape::ISection && !Positive(s.area))
    return Failure{Lacks(s, "area A", "the class of an I section's web")};

  int cls = 0;
  const double h = *s.height;
  const double tw = *s.webThickness;
  switch (r.shape) {
    case Shape::SheetU:
    case Shape::SheetZ: {
      // The catalogue's flange width when the library has it; else the
      // system width, which bounds it from above.
      const bool flange = Positive(s.flangeWidth);
      cls = SheetPileClass(r.shape, flange ? *s.flangeWidth : *s.width, *s.flangeThickness, fy);
      break;
    }
    case Shape::ISection:
      cls = ISectionClass(*s.width, h, *s.flangeThickness, tw, *s.area, fy, compression);
      break;
    case Shape::Pipe: cls = PipeClass(h, tw, fy); break;
  }
  if (settings.sectionClass) {
    cls = *settings.sectionClass;
  } else if (sheet && cls > 2 && !Positive(s.flangeWidth)) {
    out.notes.push_back("class " + std::to_string(cls) + " from b/tf with b the system width " +
                        "of the pile, an upper bound of its flange width; give the class the " +
                        "catalogue publishes for this grade if it is lower");
  }
  out.sectionClass = cls;
  r.plastic = cls <= 2;

  // Bending: Mc,Rd = βB·W·fy/γM0 (EN 1993-5 5.2.2; EN 1993-1-1 6.2.5).
  const double beta = r.shape == Shape::SheetU ? settings.betaB : 1.0;
  const char* bendingCheck = cls <= 2 ? "the Eurocode bending check of a class 1 or 2 section"
                                      : "the Eurocode bending check of a class 3 or 4 section";
  double modulus = 0;
  if (cls <= 2) {
    if (!Positive(s.plasticModulus))
      return Failure{Lacks(s, "plastic section modulus Wpl", bendingCheck)};
    modulus = *s.plasticModulus;
  } else {
    if (!Positive(s.elasticModulus))
      return Failure{Lacks(s, "elastic section modulus Wel", bendingCheck)};
    modulus = *s.elasticModulus;
  }
  if (cls == 4)
    out.notes.push_back(
        "class 4 section checked elastically with the gross modulus Wel: "
        "its effective section was not computed");
  r.moment = beta * modulus * fd * perUnit;

  // Shear: Vpl,Rd = Av·(fy/√3)/γM0.
  double av = 0;
  if (sheet) {
    // One full-height web per pile width b (EN 1993-5 5.2.2: Av = tw(h − tf) per web).
    const double tf = *s.flangeThickness;
    const double webArea = tw * (h - tf);
    av = webArea / *s.width;
    double c = h - tf;
    const bool angle = s.webAngle && *s.webAngle > 0 && *s.webAngle <= 90;
    if (angle) {
      const double sinA = std::sin(*s.webAngle * kPi / 180);
      c /= sinA;
      r.webMoment = beta * webArea * webArea / (4 * tw * sinA) / *s.width * fd * perUnit;
    } else {
      out.notes.push_back(
          "no web angle α: bending with high shear takes (1 − ρ)·Mc,Rd, a safe "
          "bound of the code's reduced resistance");
    }
    if (c / tw > 72 * eps)
      out.notes.push_back("web slenderness c/tw = " + Number(c / tw) + " exceeds 72ε = " +
                          Number(72 * eps) + (angle ? "" : " (c taken as h − tf without α)") +
                          ": the web's shear buckling must be checked (EN 1993-5 5.2.2)");
  } else if (r.shape == Shape::ISection) {
    // Av = hw·tw with η = 1: the lower bound of EN 1993-1-1 6.2.6(3)(a) without root radius.
    const double hw = h - 2 * *s.flangeThickness;
    av = hw * tw;
    r.webMoment = av * av / (4 * tw) * fd;
    r.flangeAreaShare = std::min(0.5, (*s.area - 2 * *s.width * *s.flangeThickness) / *s.area);
    r.webSquash = hw * tw * fd;
    if (hw / tw > 72 * eps)
      out.notes.push_back("web slenderness hw/tw = " + Number(hw / tw) +
                          " exceeds 72ε = " + Number(72 * eps) +
                          ": the web's shear buckling must be checked (EN 1993-1-5)");
  } else {
    av = 2 * *s.area / kPi;  // EN 1993-1-1 6.2.6(3)(g)
  }
  r.shear = av * fd / std::sqrt(3.0) * perUnit;
  if (r.webMoment > 0) r.webMoment = std::min(r.webMoment, r.moment);

  if (axialNeeded) {
    if (!Positive(s.area))
      return Failure{Lacks(s, "area A", "the Eurocode check of bending with axial force")};
    r.axial = *s.area * fd * perUnit;
  }
  return std::nullopt;
}

// Utilisation in bending with shear and axial force at one station.
double EurocodeCombined(const Resistances& r, double m, double v, double n) {
  double mv = r.moment;
  if (v > 0.5 * r.shear) {
    const double rho = std::min(1.0, std::pow(2 * v / r.shear - 1, 2));
    mv = r.webMoment >= 0 ? r.moment - rho * r.webMoment : (1 - rho) * r.moment;
  }
  const double nRatio = r.axial > 0 ? n / r.axial : 0;
  if (!r.plastic || nRatio >= 1) {
    // Elastic interaction N/Npl,Rd + M/Mc,Rd (EN 1993-5 5.2.3; EN 1993-1-1 (6.2)).
    return mv > 0 ? nRatio + m / mv : (m > 0 || nRatio > 0 ? HUGE_VAL : 0);
  }
  double mn = mv;
  switch (r.shape) {
    case Shape::SheetZ: mn = std::min(mv, 1.11 * mv * (1 - nRatio)); break;
    case Shape::SheetU: mn = std::min(mv, 1.33 * mv * (1 - nRatio)); break;
    case Shape::ISection:
      if (n > 0.25 * r.axial || n > 0.5 * r.webSquash)
        mn = std::min(mv, mv * (1 - nRatio) / (1 - 0.5 * r.flangeAreaShare));
      break;
    case Shape::Pipe: mn = mv * (1 - std::pow(nRatio, 1.7)); break;
  }
  const double bending = mn > 0 ? m / mn : (m > 0 ? HUGE_VAL : 0);
  return std::max(bending, nRatio);
}

std::optional<Failure> AllowableResistances(const Section& s, const SteelGrade& grade,
                                            const CheckSettings& settings, double unitWidth,
                                            bool axialNeeded, Resistances& r) {
  const double fy = grade.yieldStrength;
  r.shape = ShapeOf(s.family);
  const double perUnit = IsSheet(r.shape) ? unitWidth : 1.0;
  if (!Positive(s.elasticModulus))
    return Failure{Lacks(s, "elastic section modulus Wel", "the allowable bending stress M/Wel")};
  r.moment = settings.bendingFraction * fy * *s.elasticModulus * perUnit;
  double av = 0;
  const char* shearCheck = "the allowable shear stress V/Av";
  if (r.shape == Shape::Pipe) {
    if (!Positive(s.area)) return Failure{Lacks(s, "area A", shearCheck)};
    av = 2 * *s.area / kPi;
  } else {
    if (!Positive(s.height)) return Failure{Lacks(s, "height h", shearCheck)};
    if (!Positive(s.webThickness)) return Failure{Lacks(s, "web thickness tw", shearCheck)};
    if (!Positive(s.flangeThickness)) return Failure{Lacks(s, "flange thickness tf", shearCheck)};
    const double tf = *s.flangeThickness;
    if (IsSheet(r.shape)) {
      if (!Positive(s.width)) return Failure{Lacks(s, "width b", shearCheck)};
      av = *s.webThickness * (*s.height - tf) / *s.width;
    } else {
      av = *s.webThickness * (*s.height - 2 * tf);
    }
    if (av <= 0)
      return Failure{"section " + s.name + " has no web between its flanges for the shear area"};
  }
  r.shear = settings.shearFraction * fy * av * perUnit;
  if (axialNeeded) {
    if (!Positive(s.area)) return Failure{Lacks(s, "area A", "the allowable axial stress N/A")};
    r.axial = settings.axialFraction * fy * *s.area * perUnit;
  }
  return std::nullopt;
}

std::optional<std::string> SettingsError(const SteelGrade& grade, const CheckSettings& settings,
                                         double unitWidth) {
  if (!std::isfinite(grade.yieldStrength) || grade.yieldStrength <= 0)
    return "steel grade " + grade.name + " has no positive yield strength fy";
  if (!std::isfinite(unitWidth) || unitWidth <= 0)
    return "the wall unit's width is " + Number(unitWidth) + " m; it must be above 0";
  const std::pair<const char*, double> factors[] = {
      {"partial factor γM0", settings.gammaM0},
      {"interlock factor βB", settings.betaB},
      {"allowable bending fraction of fy", settings.bendingFraction},
      {"allowable shear fraction of fy", settings.shearFraction},
      {"allowable axial fraction of fy", settings.axialFraction}};
  for (const auto& [name, value] : factors)
    if (!std::isfinite(value) || value <= 0)
      return std::string("the ") + name + " is " + Number(value) + "; it must be above 0";
  if (settings.sectionClass && (*settings.sectionClass < 1 || *settings.sectionClass > 4))
    return "the cross-section class is " + std::to_string(*settings.sectionClass) +
           "; it must be 1, 2, 3 or 4";
  return std::nullopt;
}

}  // namespace

std::string_view CheckWord(GoverningCheck check) {
  switch (check) {
    case GoverningCheck::Bending: return "bending";
    case GoverningCheck::Shear: return "shear";
    case GoverningCheck::Combined: return "combined";
    case GoverningCheck::None: break;
  }
  return "none";
}

WallCheck CheckWall(const Section& section, const SteelGrade& grade, const CheckSettings& settings,
                    double unitWidth, const std::vector<StationEffect>& effects) {
  WallCheck out;
  if (auto error = SettingsError(grade, settings, unitWidth)) {
    out.error = *error;
    return out;
  }
  double compression = 0;
  bool axialNeeded = false;
  for (const StationEffect& e : effects) {
    if (!std::isfinite(e.depth) || !std::isfinite(e.moment) || !std::isfinite(e.shear) ||
        !std::isfinite(e.axial)) {
      out.error = "the design effects at depth " + Number(e.depth) +
                  " m are not finite numbers; the analysis did not give a usable result";
      return out;
    }
    compression = std::max(compression, e.axial);
    axialNeeded = axialNeeded || e.axial != 0;
  }

  Resistances r;
  const bool eurocode = settings.method == CheckMethod::Eurocode;
  const auto failure =
      eurocode ? EurocodeResistances(section, grade, settings, unitWidth, compression, axialNeeded,
                                     r, out)
               : AllowableResistances(section, grade, settings, unitWidth, axialNeeded, r);
  if (failure) {
    WallCheck failed;
    failed.error = failure->message;
    return failed;
  }
  out.momentResistance = r.moment;
  out.shearResistance = r.shear;
  out.axialResistance = r.axial;

  out.stations.reserve(effects.size());
  for (const StationEffect& e : effects) {
    const double m = std::abs(e.moment), v = std::abs(e.shear), n = std::abs(e.axial);
    StationCheck c;
    c.depth = e.depth;
    c.bending = m / r.moment;
    c.shear = v / r.shear;
    if (eurocode) c.combined = EurocodeCombined(r, m, v, n);
    else c.combined = (r.axial > 0 ? n / r.axial : 0) + c.bending;  // fa/Fa + fb/Fb
    c.utilisation = c.bending;
    c.governing = c.bending > 0 ? GoverningCheck::Bending : GoverningCheck::None;
    if (c.shear > c.utilisation) {
      c.utilisation = c.shear;
      c.governing = GoverningCheck::Shear;
    }
    if (c.combined > c.utilisation) {
      c.utilisation = c.combined;
      c.governing = GoverningCheck::Combined;
    }
    const bool larger = c.utilisation > out.utilisation;
    const bool shallowerTie =
        c.utilisation == out.utilisation && c.utilisation > 0 && c.depth < out.utilisationDepth;
    if (larger || shallowerTie) {
      out.utilisation = c.utilisation;
      out.utilisationDepth = c.depth;
      out.governing = c.governing;
      out.utilisationEffect = e;
    }
    out.stations.push_back(c);
  }
  return out;
}

}  // namespace terraq::design
