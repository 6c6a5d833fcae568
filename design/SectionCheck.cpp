// Structural checks of a steel wall section; docs/technical/structural-checks.md
// gives every formula with its clause and the verification cases.
#include "SectionCheck.h"

#include <algorithm>
#include <cmath>

#include "FourDigits.h"
#include "SectionClass.h"

namespace terraq::design {
namespace {

constexpr double kPi = 3.14159265358979323846;

bool Positive(const std::optional<double>& v) { return v && std::isfinite(*v) && *v > 0; }

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

// The geometry every limit-state check needs; a failure naming what is
// missing.
std::optional<Failure> LacksLimitStateGeometry(const Section& s, Shape shape) {
  if (shape == Shape::Pipe) {
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
  if (shape == Shape::ISection && !Positive(s.area))
    return Failure{Lacks(s, "area A", "the class of an I section's web")};
  return std::nullopt;
}

// Bending: Mc,Rd = βB·W·fy/γM0 (EN 1993-5 5.2.2; EN 1993-1-1 6.2.5), W
// plastic for classes 1 and 2, elastic for 3 and 4. Fills r.moment.
std::optional<Failure> BendingResistance(const Section& s, const CheckSettings& settings, double fd,
                                         double perUnit, int cls, Resistances& r, WallCheck& out) {
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
  return std::nullopt;
}

// Shear: Vpl,Rd = Av·(fy/√3)/γM0, and what bending with high shear and
// axial force need of the web. Fills r.shear and the web's shares; needs
// r.moment.
void ShearResistance(const Section& s, const CheckSettings& settings, double fy, double perUnit,
                     Resistances& r, WallCheck& out) {
  const double fd = fy / settings.gammaM0;
  const double eps = Epsilon(fy);
  const double h = *s.height;
  const double tw = *s.webThickness;
  double av = 0;
  if (IsSheet(r.shape)) {
    // One full-height web per pile width b (EN 1993-5 5.2.2: Av = tw(h − tf) per web).
    const double beta = r.shape == Shape::SheetU ? settings.betaB : 1.0;
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
      out.notes.push_back("web slenderness c/tw = " + FourDigits(c / tw) + " exceeds 72ε = " +
                          FourDigits(72 * eps) + (angle ? "" : " (c taken as h − tf without α)") +
                          ": the web's shear buckling must be checked (EN 1993-5 5.2.2)");
  } else if (r.shape == Shape::ISection) {
    // Av = hw·tw with η = 1: the lower bound of EN 1993-1-1 6.2.6(3)(a) without root radius.
    const double hw = h - 2 * *s.flangeThickness;
    av = hw * tw;
    r.webMoment = av * av / (4 * tw) * fd;
    r.flangeAreaShare = std::min(0.5, (*s.area - 2 * *s.width * *s.flangeThickness) / *s.area);
    r.webSquash = hw * tw * fd;
    if (hw / tw > 72 * eps)
      out.notes.push_back("web slenderness hw/tw = " + FourDigits(hw / tw) +
                          " exceeds 72ε = " + FourDigits(72 * eps) +
                          ": the web's shear buckling must be checked (EN 1993-1-5)");
  } else {
    av = 2 * *s.area / kPi;  // EN 1993-1-1 6.2.6(3)(g)
  }
  r.shear = av * fd / std::sqrt(3.0) * perUnit;
  if (r.webMoment > 0) r.webMoment = std::min(r.webMoment, r.moment);
}

// The resistances of the steel section by the limit-state design code
// (partial factor γM0 on fy), its class into `out` with notes on what the
// check leaves to the engineer.
std::optional<Failure> LimitStateResistances(const Section& s, const SteelGrade& grade,
                                             const CheckSettings& settings, double unitWidth,
                                             double compression, bool axialNeeded, Resistances& r,
                                             WallCheck& out) {
  const double fy = grade.yieldStrength;
  const double fd = fy / settings.gammaM0;
  r.shape = ShapeOf(s.family);
  const bool sheet = IsSheet(r.shape);
  const double perUnit = sheet ? unitWidth : 1.0;
  if (auto lacking = LacksLimitStateGeometry(s, r.shape)) return lacking;

  int cls = ClassOfSection(s, fy, compression);
  if (settings.sectionClass) {
    cls = *settings.sectionClass;
  } else if (sheet && cls > 2 && !Positive(s.flangeWidth)) {
    out.notes.push_back("class " + std::to_string(cls) + " from b/tf with b the system width " +
                        "of the pile, an upper bound of its flange width; give the class the " +
                        "catalogue publishes for this grade if it is lower");
  }
  out.sectionClass = cls;
  r.plastic = cls <= 2;
  if (auto failure = BendingResistance(s, settings, fd, perUnit, cls, r, out)) return failure;
  ShearResistance(s, settings, fy, perUnit, r, out);
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
    return "the wall unit's width is " + FourDigits(unitWidth) + " m; it must be above 0";
  const std::pair<const char*, double> factors[] = {
      {"partial factor γM0", settings.gammaM0},
      {"interlock factor βB", settings.betaB},
      {"allowable bending fraction of fy", settings.bendingFraction},
      {"allowable shear fraction of fy", settings.shearFraction},
      {"allowable axial fraction of fy", settings.axialFraction}};
  for (const auto& [name, value] : factors)
    if (!std::isfinite(value) || value <= 0)
      return std::string("the ") + name + " is " + FourDigits(value) + "; it must be above 0";
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
      out.error = "the design effects at depth " + FourDigits(e.depth) +
                  " m are not finite numbers; the analysis did not give a usable result";
      return out;
    }
    compression = std::max(compression, e.axial);
    axialNeeded = axialNeeded || e.axial != 0;
  }

  Resistances r;
  const bool eurocode = settings.method == CheckMethod::Eurocode;
  const auto failure =
      eurocode ? LimitStateResistances(section, grade, settings, unitWidth, compression,
                                       axialNeeded, r, out)
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
