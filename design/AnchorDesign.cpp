#include "AnchorDesign.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "FourDigits.h"
#include "api/Units.h"

namespace terraq::design {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
// How far along an anchor the bond zone is looked for, and the step of the
// search: a critical surface may be curved, so the search walks the anchor
// and refines the last crossing by bisection.
constexpr double kSearchLength = 100, kSearchStep = 0.05;

double Rad(double degrees) { return degrees * std::numbers::pi / 180; }

bool Finite(double v) { return std::isfinite(v); }

using Q = engine::api::Quantity;
constexpr int kSI = 2;  // the design's metres and kilonewtons

// A value of the design as a message prints it: in the units the engineer
// works in, with their label.
std::string Said(double value, Q quantity, int units) {
  return FourDigits(engine::api::ConvertValue(value, quantity, kSI, units)) + " " +
         engine::api::PrintedLabel(quantity, units);
}

std::string LevelError(const AnchorLevel& a, double H, int units) {
  if (!(Finite(a.depth) && a.depth >= 0 && a.depth < H))
    return "its depth must be 0 or more and above the excavation level (" +
           Said(H, Q::Length, units) + "), not " + Said(a.depth, Q::Length, units);
  if (!(Finite(a.inclination) && a.inclination >= 0 && a.inclination <= 45))
    return "its inclination must be from 0 to 45 degrees below the horizontal, not " +
           FourDigits(a.inclination);
  if (!(Finite(a.spacing) && a.spacing > 0))
    return "its horizontal spacing must be above 0, not " + Said(a.spacing, Q::Length, units);
  if (!(Finite(a.force) && a.force > 0))
    return "its force must be above 0 (an anchor in tension), not " +
           Said(a.force, Q::ForcePerLength, units);
  if (!(Finite(a.transferRate) && a.transferRate > 0))
    return "the ultimate load-transfer rate of its bond must be above 0, not " +
           Said(a.transferRate, Q::ForcePerLength, units);
  return {};
}

std::string CutError(const AnchoredCut& c, int units) {
  if (!(Finite(c.height) && c.height > 0))
    return "the excavation depth must be above 0, not " + Said(c.height, Q::Length, units);
  if (c.surface) return {};
  if (!(Finite(c.frictionAngle) && c.frictionAngle > 0 && c.frictionAngle < 90))
    return "the friction angle of the retained soil must be above 0 and below 90 degrees, not " +
           FourDigits(c.frictionAngle);
  if (c.planeDepth && !(Finite(*c.planeDepth) && *c.planeDepth >= c.height))
    return "the critical plane must start at or below the excavation level (" +
           Said(c.height, Q::Length, units) + "), not at " + Said(*c.planeDepth, Q::Length, units);
  return {};
}

std::string RulesError(const AnchorRules& r) {
  if (!(Finite(r.bondSafetyFactor) && r.bondSafetyFactor >= 1))
    return "the factor of safety of the bond must be 1 or more, not " +
           FourDigits(r.bondSafetyFactor);
  if (!(Finite(r.testFactor) && r.testFactor >= 1 && r.testFactor <= 2))
    return "the test load must be 1 to 2 times the design load, not " + FourDigits(r.testFactor);
  if (!(Finite(r.lockOffFactor) && r.lockOffFactor > 0 && r.lockOffFactor <= r.testFactor))
    return "the lock-off load must be above 0 and not above the test load, not " +
           FourDigits(r.lockOffFactor) + " times the design load";
  for (const double length : {r.minFreeLength, r.minBondLength, r.minCover})
    if (!(Finite(length) && length >= 0))
      return "the minimum free length, bond length and cover must be 0 or more";
  if (!(Finite(r.maxEffectiveBond) && r.maxEffectiveBond > 0))
    return "the longest effective bond length must be above 0";
  if (r.tendons.empty()) return "no kind of tendon is allowed";
  return {};
}

CriticalSurface SurfaceOf(const AnchoredCut& cut) {
  if (cut.surface) return cut.surface;
  const double z0 = cut.planeDepth.value_or(cut.height);
  const double tanTheta = std::tan(Rad(45 + cut.frictionAngle / 2));
  return [z0, tanTheta](double z) { return z <= z0 ? (z0 - z) / tanTheta : -kInfinity; };
}

// The distance along the anchor from which on it stays at least `beyond`
// horizontally behind the surface; nullopt with `error` where the surface
// gives NaN or the anchor does not get that far within the search length.
std::optional<double> Beyond(const CriticalSurface& surface, const AnchorLevel& a, double beyond,
                             int units, std::string& error) {
  const double c = std::cos(Rad(a.inclination)), s = std::sin(Rad(a.inclination));
  bool bad = false;
  const auto short_of = [&](double along) {  // true while not yet far enough
    const double x = surface(a.depth + along * s);
    if (std::isnan(x)) bad = true;
    return !(along * c - x >= beyond);
  };
  const int steps = static_cast<int>(kSearchLength / kSearchStep);
  int last = -1;  // the last step still short of it
  for (int k = 0; k <= steps; ++k)
    if (short_of(k * kSearchStep)) last = k;
  if (bad) {
    error = "the critical surface gives no distance (NaN) at some depth along the anchor";
    return std::nullopt;
  }
  if (last == steps) {
    error = "the anchor does not get beyond the critical surface within " +
            Said(kSearchLength, Q::Length, units);
    return std::nullopt;
  }
  if (last < 0) return 0.0;
  double lo = last * kSearchStep, hi = lo + kSearchStep;
  for (int i = 0; i < 60; ++i) (short_of(0.5 * (lo + hi)) ? lo : hi) = 0.5 * (lo + hi);
  return hi;
}

// The weakest allowed tendon that holds the loads, or why none does.
std::optional<Tendon> ChooseTendon(const AnchorDesign& d, const AnchorRules& rules,
                                   std::string& error) {
  const Tendon* strongest = nullptr;
  for (const Tendon& t : TendonTable()) {
    if (std::find(rules.tendons.begin(), rules.tendons.end(), t.kind) == rules.tendons.end())
      continue;
    if (TendonUtilisation(t, d.designLoad, d.testLoad, d.lockOffLoad) <= 1) return t;
    strongest = &t;
  }
  const int units = rules.messageUnits;
  error = "no allowed tendon holds a design load of " + Said(d.designLoad, Q::Force, units) +
          " (test load " + Said(d.testLoad, Q::Force, units) + ")";
  if (strongest)
    error += ": the strongest, " + strongest->name + ", takes " +
             Said(kDesignFraction * strongest->ultimate, Q::Force, units) +
             " at 0.60 of its ultimate; place the anchors closer or add a level";
  return std::nullopt;
}

void FreeLength(const AnchorLevel& a, const AnchorRules& rules, double surfaceReach,
                AnchorDesign& d) {
  d.freeLength = rules.minFreeLength;
  d.freeRule = FreeLengthRule::Minimum;
  if (surfaceReach > d.freeLength) {
    d.freeLength = surfaceReach;
    d.freeRule = FreeLengthRule::BeyondSurface;
  }
  const double sinA = std::sin(Rad(a.inclination));
  if (a.depth < rules.minCover) {
    if (sinA > 0) {
      const double reach = (rules.minCover - a.depth) / sinA;
      if (reach > d.freeLength) {
        d.freeLength = reach;
        d.freeRule = FreeLengthRule::Cover;
      }
    } else {
      d.notes.push_back("a horizontal anchor this shallow never has " +
                        Said(rules.minCover, Q::Length, rules.messageUnits) +
                        " of ground over its bond zone: incline it");
    }
  }
  d.bondTop = a.depth + d.freeLength * sinA;
}

void BondLength(const AnchorLevel& a, const AnchorRules& rules, AnchorDesign& d) {
  const double needed = d.designLoad * rules.bondSafetyFactor / a.transferRate;
  d.bondLength = std::max(needed, rules.minBondLength);
  if (needed > rules.maxEffectiveBond)
    d.notes.push_back("the bond length " + Said(needed, Q::Length, rules.messageUnits) +
                      " is longer than about " +
                      Said(rules.maxEffectiveBond, Q::Length, rules.messageUnits) +
                      ", beyond which the load-transfer rate stops growing: raise the rate "
                      "(pressure grouting) or lower the load per anchor");
  if (rules.bondSafetyFactor < rules.testFactor)
    d.notes.push_back(
        "the factor of safety of the bond is below the test factor: the test "
        "load exceeds the ultimate transfer the bond length was sized for");
}

}  // namespace

double AnchorLoadAlong(double force, double spacing, double inclination) {
  return force * (spacing / std::cos(Rad(inclination)));
}

std::optional<AnchorDesign> DesignAnchor(const AnchorLevel& level, const AnchoredCut& cut,
                                         const AnchorRules& rules, std::string& error) {
  error = CutError(cut, rules.messageUnits);
  if (error.empty()) error = RulesError(rules);
  if (error.empty()) error = LevelError(level, cut.height, rules.messageUnits);
  if (!error.empty()) return std::nullopt;
  AnchorDesign d;
  d.name = level.name;
  const double alpha = Rad(level.inclination);
  d.designLoad = AnchorLoadAlong(level.force, level.spacing, level.inclination);
  d.verticalLoad = d.designLoad * std::sin(alpha);
  d.verticalPerLength = level.force * std::tan(alpha);
  d.testLoad = rules.testFactor * d.designLoad;
  d.lockOffLoad = rules.lockOffFactor * d.designLoad;
  if (rules.lockOffFactor < 0.75 || rules.lockOffFactor > 1)
    d.notes.push_back("the lock-off load is outside the usual 0.75 to 1.0 times the design load");

  d.clearance = std::max(1.5, cut.height / 5);
  const CriticalSurface surface = SurfaceOf(cut);
  const std::optional<double> atSurface = Beyond(surface, level, 0, rules.messageUnits, error);
  const std::optional<double> reach =
      atSurface ? Beyond(surface, level, d.clearance, rules.messageUnits, error) : std::nullopt;
  if (!reach) return std::nullopt;
  d.surfaceDistance = *atSurface;
  FreeLength(level, rules, *reach, d);
  BondLength(level, rules, d);
  d.totalLength = d.freeLength + d.bondLength;

  std::optional<Tendon> tendon = ChooseTendon(d, rules, error);
  if (!tendon) return std::nullopt;
  d.tendon = std::move(*tendon);
  d.utilisation = TendonUtilisation(d.tendon, d.designLoad, d.testLoad, d.lockOffLoad);
  return d;
}

std::optional<std::vector<AnchorDesign>> DesignAnchors(const std::vector<AnchorLevel>& levels,
                                                       const AnchoredCut& cut,
                                                       const AnchorRules& rules,
                                                       std::string& error) {
  if (levels.empty()) {
    error = "an anchor design needs at least one anchor level";
    return std::nullopt;
  }
  std::vector<AnchorDesign> out;
  for (size_t k = 0; k < levels.size(); ++k) {
    std::optional<AnchorDesign> d = DesignAnchor(levels[k], cut, rules, error);
    if (!d) {
      error = "anchor " +
              (levels[k].name.empty() ? "level " + std::to_string(k + 1) : levels[k].name) + ": " +
              error;
      return std::nullopt;
    }
    out.push_back(std::move(*d));
  }
  return out;
}

}  // namespace terraq::design
