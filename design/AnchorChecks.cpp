#include "AnchorChecks.h"

#include <algorithm>
#include <cmath>

#include "FourDigits.h"
#include "api/Units.h"

namespace terraq::design {

namespace {

using engine::api::ConvertValue;
using Q = engine::api::Quantity;
constexpr int kSI = 2;  // the anchor design's metres and kilonewtons

constexpr std::pair<TendonKind, std::string_view> kKeys[] = {{TendonKind::Strand, "strand"},
                                                             {TendonKind::Bar1035, "bar1035"},
                                                             {TendonKind::Bar520, "bar520"},
                                                             {TendonKind::Bar550, "bar550"}};

// The first depth below H at which the net pressure of the limit
// equilibrium changes from pushing the wall to holding it.
std::optional<double> ZeroNetBelow(const std::vector<PressureRow>& rows, double H) {
  for (size_t k = 1; k < rows.size(); ++k) {
    const PressureRow &a = rows[k - 1], &b = rows[k];
    if (b.depth <= H || !(a.net > 0 && b.net <= 0)) continue;
    const double z = a.depth + (b.depth - a.depth) * a.net / (a.net - b.net);
    if (z > H && std::isfinite(z)) return z;
  }
  return std::nullopt;
}

// The design's values, in metres and kilonewtons, taken to `units`.
AnchorDesign InUnits(AnchorDesign d, int units) {
  for (double* length :
       {&d.surfaceDistance, &d.clearance, &d.freeLength, &d.bondLength, &d.totalLength, &d.bondTop})
    *length = ConvertValue(*length, Q::Length, kSI, units);
  for (double* force : {&d.designLoad, &d.verticalLoad, &d.testLoad, &d.lockOffLoad})
    *force = ConvertValue(*force, Q::Force, kSI, units);
  d.verticalPerLength = ConvertValue(d.verticalPerLength, Q::ForcePerLength, kSI, units);
  return d;
}

AnchoredCut CutInSI(const AnchorCut& cut, int units) {
  AnchoredCut c;
  c.height = ConvertValue(cut.height, Q::Length, units, kSI);
  if (cut.zeroNetDepth) c.planeDepth = ConvertValue(*cut.zeroNetDepth, Q::Length, units, kSI);
  if (cut.frictionAngle > 0) {
    c.frictionAngle = cut.frictionAngle;
    return c;
  }
  // Without friction the active plane rises at 45°: x = z0 - z.
  const double z0 = c.planeDepth.value_or(c.height);
  c.surface = [z0](double z) { return z <= z0 ? z0 - z : -HUGE_VAL; };
  return c;
}

AnchorRules RulesOf(const AnchorInputs& inputs) {
  AnchorRules r;
  r.bondSafetyFactor = inputs.bondSafetyFactor;
  r.testFactor = inputs.testFactor;
  r.lockOffFactor = inputs.lockOffFactor;
  r.tendons = inputs.tendons;
  return r;
}

// One level in metres and kilonewtons, or why its spacing or inclination is
// not known.
std::optional<AnchorLevel> LevelOf(const AnchorSource& s, const AnchorInputs& inputs,
                                   double transferRate, AnchorLevel& inUnits, std::string& error) {
  inUnits.name = s.name;
  inUnits.depth = s.depth;
  inUnits.force = s.force;
  inUnits.transferRate = transferRate;
  const std::optional<double> spacing = s.spacing ? s.spacing : inputs.spacing;
  const std::optional<double> inclination = s.inclination ? s.inclination : inputs.inclination;
  if (!spacing || !inclination) {
    error = std::string(spacing ? "its inclination" : "its horizontal spacing") +
            " is not given, and the design of the wall has none for it: give the anchors' "
            "spacing and inclination";
    return std::nullopt;
  }
  inUnits.spacing = *spacing;
  inUnits.inclination = *inclination;
  return inUnits;
}

}  // namespace

std::string_view TendonKindKey(TendonKind kind) {
  for (const auto& [k, key] : kKeys)
    if (k == kind) return key;
  return {};
}

std::optional<TendonKind> TendonKindOfKey(std::string_view key) {
  for (const auto& [kind, k] : kKeys)
    if (k == key) return kind;
  return std::nullopt;
}

std::string TendonKindKeys() { return "strand, bar1035, bar520 or bar550"; }

std::string AnchorInputsFault(const AnchorInputs& in, int units) {
  const std::string rateUnit(engine::api::UnitLabel(Q::ForcePerLength, units));
  if (in.transferRates.empty()) return "no load-transfer rate of the ground is given";
  for (const double rate : in.transferRates)
    if (!(std::isfinite(rate) && rate > 0))
      return "a load-transfer rate must be above 0 " + rateUnit + ", not " + FourDigits(rate);
  if (!(std::isfinite(in.bondSafetyFactor) && in.bondSafetyFactor >= 1))
    return "the factor of safety of the bond must be 1 or more, not " +
           FourDigits(in.bondSafetyFactor);
  if (!(std::isfinite(in.testFactor) && in.testFactor >= 1 && in.testFactor <= 2))
    return "the test load must be 1 to 2 times the design load, not " + FourDigits(in.testFactor);
  if (!(std::isfinite(in.lockOffFactor) && in.lockOffFactor > 0 &&
        in.lockOffFactor <= in.testFactor))
    return "the lock-off load must be above 0 and not above the test load, not " +
           FourDigits(in.lockOffFactor) + " times the design load";
  if (in.tendons.empty()) return "no kind of tendon is allowed";
  if (in.spacing && !(std::isfinite(*in.spacing) && *in.spacing > 0))
    return "the anchors' horizontal spacing must be above 0, not " + FourDigits(*in.spacing);
  if (in.inclination &&
      !(std::isfinite(*in.inclination) && *in.inclination >= 0 && *in.inclination <= 45))
    return "the anchors' inclination must be from 0 to 45 degrees below the horizontal, not " +
           FourDigits(*in.inclination);
  return {};
}

std::vector<AnchorSource> AnchorSourcesOf(const ProblemDesign& design, const SequentialPlan* plan) {
  std::vector<AnchorSource> out;
  if (plan && !design.stages.empty()) {
    for (const SupportDesignForce& f : design.supportForces) {
      const auto s = std::find_if(plan->supports.begin(), plan->supports.end(),
                                  [&](const StagedSupport& p) { return p.name == f.name; });
      if (s == plan->supports.end() || s->strut) continue;
      out.push_back({f.name, f.depth, f.force, s->spacing, s->inclination});
    }
    return out;
  }
  const DesignResult& r = design.le;
  if (!r.error && r.method == Method::FreeEarth)
    out.push_back({"anchor 1", r.anchorDepth, r.anchorForce});
  return out;
}

std::vector<AnchorSource> AnchorSourcesOf(const SupportLoads& loads, const AnchorLayout& layout) {
  std::vector<AnchorSource> out;
  for (size_t k = 0; k < loads.supports.size(); ++k) {
    const SupportLoad& l = loads.supports[k];
    out.push_back({"support " + std::to_string(k + 1), l.depth, std::max(l.tributary, l.hinge),
                   layout.spacing, layout.inclination});
  }
  return out;
}

std::optional<AnchorCut> AnchorCutOf(const engine::api::SoilDescription& soil, double height,
                                     const DesignResult* le, std::string& error) {
  const auto layer = std::find_if(
      soil.layers.begin(), soil.layers.end(),
      [&](const engine::api::SoilLayer& l) { return l.top <= height && height < l.bottom; });
  if (layer == soil.layers.end()) {
    error = "no soil layer holds the excavation level at " + FourDigits(height) +
            ": the critical plane behind the wall is not known";
    return std::nullopt;
  }
  AnchorCut cut;
  cut.height = height;
  cut.frictionAngle = std::max(0.0, layer->frictionAngle);
  cut.soil = "layer " + std::to_string(layer->number);
  if (le && !le->error) cut.zeroNetDepth = ZeroNetBelow(le->diagram, height);
  return cut;
}

std::optional<AnchorCut> AnchorCutOf(const engine::api::SoilDescription& soil,
                                     const ProblemDesign& design, std::string& error) {
  const DesignResult* deepest = &design.le;
  for (const StageDesign& s : design.stages)
    if (s.excavation >= deepest->excavationDepth) deepest = &s.le;
  const double height =
      design.stages.empty() ? design.le.excavationDepth : deepest->excavationDepth;
  return AnchorCutOf(soil, height, deepest, error);
}

bool AnchorChecks::designed() const {
  if (!error.empty()) return false;
  return std::all_of(anchors.begin(), anchors.end(),
                     [](const AnchorCheck& a) { return a.design.has_value(); });
}

std::vector<std::string> AnchorChecks::refusals() const {
  std::vector<std::string> out;
  if (!error.empty()) out.push_back(error);
  for (const AnchorCheck& a : anchors)
    if (!a.design) out.push_back(a.level.name + ": " + a.error);
  return out;
}

AnchorChecks CheckAnchors(const std::vector<AnchorSource>& sources,
                          const std::optional<AnchorCut>& cut, const std::string& cutError,
                          const AnchorInputs& inputs, int units) {
  AnchorChecks out;
  out.units = units;
  out.cut = cut;
  if (sources.empty())
    out.error = "the design of the wall gives no anchor a force: it has no anchor to design";
  else if (!cut) out.error = cutError;
  else out.error = AnchorInputsFault(inputs, units);
  const size_t rates = inputs.transferRates.size();
  if (out.error.empty() && rates != 1 && rates != sources.size())
    out.error = std::to_string(rates) + " load-transfer rates for " +
                std::to_string(sources.size()) +
                " anchor levels: give one for all of them or one per level";
  if (!out.error.empty()) return out;
  const AnchoredCut inSI = CutInSI(*cut, units);
  AnchorRules rules = RulesOf(inputs);
  rules.messageUnits = units;
  for (size_t k = 0; k < sources.size(); ++k) {
    AnchorCheck& check = out.anchors.emplace_back();
    const double rate = inputs.transferRates[rates == 1 ? 0 : k];
    std::optional<AnchorLevel> level = LevelOf(sources[k], inputs, rate, check.level, check.error);
    if (!level) continue;
    level->depth = ConvertValue(level->depth, Q::Length, units, kSI);
    level->spacing = ConvertValue(level->spacing, Q::Length, units, kSI);
    level->force = ConvertValue(level->force, Q::ForcePerLength, units, kSI);
    level->transferRate = ConvertValue(level->transferRate, Q::ForcePerLength, units, kSI);
    if (std::optional<AnchorDesign> d = DesignAnchor(*level, inSI, rules, check.error))
      check.design = InUnits(std::move(*d), units);
  }
  return out;
}

}  // namespace terraq::design
