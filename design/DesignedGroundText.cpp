#include "DesignedGroundText.h"

#include <cmath>

#include "FourDigits.h"
#include "OverallStabilityText.h"
#include "api/Units.h"

namespace terraq::design {

namespace {

using Q = engine::api::Quantity;

// As the command has always written its numbers: no "-0", "-" for what is
// not a number (which no check gives).
std::string Four(double value) {
  if (std::isnan(value)) return "-";
  return FourDigits(value == 0.0 ? 0.0 : value);
}

std::string Factor(const std::optional<double>& f) { return f ? Four(*f) : "none"; }

bool Short(const std::optional<double>& f) { return f && *f < kRequiredGroundFactor; }

CheckLine HeaveLine(const char* method, const HeaveFactor& h) {
  std::string line = std::string("     ") + method + " (Nc = " + Four(h.Nc) + "): ";
  if (h.factor) line += "F = " + Four(*h.factor) + " with side shear";
  else line += "no factor with side shear (" + h.note + ")";
  return {line + ", " + Factor(h.factorWithoutSideShear) + " without",
          Short(h.factor) || Short(h.factorWithoutSideShear)};
}

std::string PlaneName(const DeepSlipPlane& plane) {
  std::string anchors;
  for (const size_t a : plane.anchors)
    anchors += (anchors.empty() ? "" : ", ") + std::to_string(a + 1);
  return std::string(plane.compound ? "compound plane" : "plane") + " carrying anchor" +
         (plane.anchors.size() > 1 ? "s " : " ") + anchors;
}

void HeaveLines(const DesignedGround& c, const DesignUnits& u, std::vector<CheckLine>& out) {
  const GroundLimits& g = c.limits;
  if (!g.heave) return out.push_back({"   basal heave not checked: " + g.heaveSkipped});
  if (g.heave->error) return out.push_back({"   basal heave: " + *g.heave->error});
  const BasalHeaveInput& in = g.heaveInput;
  out.push_back({"   basal heave at the excavation level " + Four(c.excavation) + " " + u.length +
                 ": B = " + Four(in.width) + " " + u.length +
                 ", B/L = " + Four(in.length > 0 ? in.width / in.length : 0.0) +
                 ", cb = " + Four(in.baseStrength) + " " + u.pressure + ", load " +
                 Four(g.heave->bjerrumEide.loading) + " " + u.pressure +
                 ", B1 = " + Four(g.heave->blockWidth) + " " + u.length});
  out.push_back(HeaveLine("Terzaghi", g.heave->terzaghi));
  out.push_back(HeaveLine("Bjerrum & Eide", g.heave->bjerrumEide));
}

void DeepLines(const DesignedGround& c, const DesignUnits& u, std::vector<CheckLine>& out) {
  const GroundLimits& g = c.limits;
  if (!g.deepSeated) return out.push_back({"   deep slip plane not checked: " + g.deepSkipped});
  const DeepSeatedResult& r = *g.deepSeated;
  if (r.error) return out.push_back({"   deep slip plane: " + *r.error});
  out.push_back(
      {"   deep slip plane (Kranz) from the foot at " + Four(c.foot) + " " + u.length + ":"});
  for (const DeepSlipPlane& plane : r.planes) {
    std::string line =
        "     " + PlaneName(plane) + ": A = " + Four(plane.appliedForce) + " " + u.force;
    if (plane.factor)
      line += ", A_poss = " + Four(*plane.possibleForce) + " " + u.force +
              ", eta = " + Four(*plane.factor);
    else line += ", no factor: " + plane.noFactor;
    out.push_back({line, Short(plane.factor)});
  }
  if (r.governing) {
    const DeepSlipPlane& governing = r.planes[*r.governing];
    out.push_back({"     governing: " + PlaneName(governing) + ", eta = " + Four(*governing.factor),
                   Short(governing.factor)});
  }
  if (c.anchorTakenHorizontal)
    out.push_back({"     the anchor is taken as horizontal: the data file holds no inclination"});
}

std::string Unit(Q quantity, int units) {
  return " " + std::string(engine::api::UnitLabel(quantity, units));
}

const char* RuleWords(FreeLengthRule rule) {
  switch (rule) {
    case FreeLengthRule::Minimum: return "the minimum";
    case FreeLengthRule::BeyondSurface: return "beyond the critical plane";
    case FreeLengthRule::Cover: return "the cover over the bond";
  }
  return "";
}

void AnchorLines(const AnchorCheck& a, int units, std::vector<CheckLine>& out) {
  const std::string L = Unit(Q::Length, units), F = Unit(Q::Force, units),
                    FL = Unit(Q::ForcePerLength, units);
  const AnchorLevel& l = a.level;
  const std::string head = "   anchor " + l.name + " at " + Four(l.depth) + L;
  if (!a.design) return out.push_back({head + ": not designed: " + a.error, true});
  const AnchorDesign& d = *a.design;
  out.push_back({head + ", " + Four(l.inclination) + " deg, every " + Four(l.spacing) + L +
                 ": design load T " + Four(d.designLoad) + F + " (" + Four(l.force) + FL + ")"});
  out.push_back({"      free length " + Four(d.freeLength) + L + " (" + RuleWords(d.freeRule) +
                 "), bond length " + Four(d.bondLength) + L + " (rate " + Four(l.transferRate) +
                 FL + "), total " + Four(d.totalLength) + L});
  out.push_back({"      tendon " + d.tendon.name + " (utilisation " + Four(d.utilisation) +
                 "), test load " + Four(d.testLoad) + F + ", lock-off load " + Four(d.lockOffLoad) +
                 F});
  out.push_back({"      vertical component " + Four(d.verticalLoad) + F + " per anchor (" +
                 Four(d.verticalPerLength) + FL + " of wall), in the analysis already"});
  for (const std::string& note : d.notes) out.push_back({"      note: " + note});
}

}  // namespace

std::vector<CheckLine> DesignedGroundLines(const DesignedGround& ground, int units) {
  const DesignUnits u = DesignUnitsOf(units);
  std::vector<CheckLine> out{{"   ground around the wall:"}};
  HeaveLines(ground, u, out);
  if (const std::string lengths = AnchorLengthsText(ground); !lengths.empty())
    out.push_back({"   anchors' lengths: " + lengths});
  DeepLines(ground, u, out);
  AppendOverallStabilityLines(ground, units, out);
  return out;
}

std::vector<CheckLine> AnchorChecksLines(const AnchorChecks& checks) {
  std::vector<CheckLine> out;
  if (checks.anchors.empty() && checks.error.empty()) return out;  // no anchor in this problem
  if (checks.cut) {
    const AnchorCut& cut = *checks.cut;
    const std::string L = Unit(Q::Length, checks.units);
    out.push_back({"   anchors (Sabatini et al. 1999): cut H = " + Four(cut.height) + L +
                   ", phi' " + Four(cut.frictionAngle) + " deg (" + cut.soil +
                   "), critical plane from " + Four(cut.zeroNetDepth.value_or(cut.height)) + L +
                   (cut.zeroNetDepth ? " (zero net pressure)" : " (excavation level)")});
  }
  if (!checks.error.empty()) out.push_back({"   anchors not designed: " + checks.error, true});
  for (const AnchorCheck& a : checks.anchors) AnchorLines(a, checks.units, out);
  return out;
}

std::string JoinedLines(const std::vector<CheckLine>& lines) {
  std::string out;
  for (const CheckLine& line : lines) out += line.text + "\n";
  return out;
}

}  // namespace terraq::design
