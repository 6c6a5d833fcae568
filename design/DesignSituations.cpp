// Design situations: the sets of partial factors applied to the data. The
// technical manual's "Design situations" states how each factor acts and
// where the code puts it.
#include "DesignSituations.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "FourDigits.h"
#include "WallText.h"
#include "api/SoilModelTable.h"

namespace terraq::design {

namespace {

namespace api = engine::api;

using Kind = WallText::RecordKind;

constexpr double kPi = 3.14159265358979323846;

double& At(WallText::Record& r, size_t index) {
  if (r.values.size() <= index) r.values.resize(index + 1, 0.0);
  return r.values[index];
}

double ValueOf(const WallText::Record& r, size_t index) {
  return index < r.values.size() ? r.values[index] : 0.0;
}

// A depth rounded to a billionth of the length unit. Depths that come from a
// station times the increment carry noise in their last bit, which would
// otherwise reach the reports as an unplanned excavation of
// 0.20000000000000018 instead of 0.2.
double WithoutFloatNoise(double depth) { return std::round(depth * 1e9) / 1e9; }

// The unplanned excavation of one problem: 10 % of the retained height,
// below the lowest support above the excavation when the wall has one (a
// spring row confined to one station: an anchor or a prop; or
// `lowestSupport`, a construction sequence's), at most 0.5 m.
double UnplannedExcavation(const WallText& problem, double excavation, double lowestSupport = 0) {
  for (const WallText::Record& r : problem.records()) {
    if (r.kind != Kind::Spring || ValueOf(r, 0) != ValueOf(r, 1) || ValueOf(r, 3) <= 0) continue;
    const double depth = ValueOf(r, 0) * problem.incrementLength();
    if (depth < excavation) lowestSupport = std::max(lowestSupport, depth);
  }
  // 0.5 m in the data file's length (generic units are taken as metres).
  const double limit = 0.5 / api::ConversionFactor(api::Quantity::Length, problem.units(),
                                                   int(api::UnitsSystem::SI));
  return WithoutFloatNoise(std::min(0.1 * (excavation - lowestSupport), limit));
}

// Divides the parameters of a layer's line that a partial factor acts on
// (the unit weight and the strength of the model the analysis generates the
// layer by) by the set's factor; false with `error` for an impossible
// design value.
bool FactorLayerLine(WallText::Record& r, int code, const FactorSet& set, int layer,
                     std::string& error) {
  const std::string which = "layer " + std::to_string(layer);
  for (const api::SoilParameter* p : api::GeneratedModelOf(code).inLineOrder()) {
    if (p->partialFactor.empty()) continue;
    const double factor = FactorOf(set, p->partialFactor);
    double& value = At(r, p->position);
    if (p->quantity != api::Quantity::Angle) {
      value /= factor;
      if (value < 0) {
        error = which + " has a unit weight or strength below 0";
        return false;
      }
    } else if (value < 0 || value >= 90) {
      error = which + " has a friction angle of " + FourDigits(value) +
              " degrees, which cannot be factored";
      return false;
    } else {
      value = std::atan(std::tan(value * kPi / 180) / factor) * 180 / kPi;  // on tan φ'
    }
  }
  return true;
}

// The strength and unit weight of a layer's top row before and after the
// factors, by the layer's soil model.
void ListSoil(const std::vector<double>& before, const WallText::Record& after, int code,
              std::vector<DesignSoilValue>& soil) {
  for (const api::SoilParameter* p : api::GeneratedModelOf(code).inLineOrder()) {
    if (p->partialFactor.empty()) continue;
    soil.push_back({0, after.row + 1, std::string(p->key),
                    p->position < before.size() ? before[p->position] : 0.0,
                    ValueOf(after, p->position)});
  }
}

struct Effects {
  bool variable = false;       // variable actions were there to factor
  bool soil = false;           // generated soil was there to factor
  bool activeFactor = false;   // generated earth pressure was there to factor
  bool pressureTable = false;  // the data file gives its earth pressure itself
};

// The set applied to one problem; false with `error`.
bool ApplyToProblem(WallText& problem, const FactorSet& set, const SituationOptions& options,
                    double& added, Effects& found, std::vector<DesignSoilValue>& soil,
                    std::string& error) {
  const double ratio = set.gammaQ / set.gammaG;
  int model = 0;
  WallText::Record* surcharge = nullptr;
  for (WallText::Record& r : problem.records()) {
    switch (r.kind) {
      case Kind::Surcharge: surcharge = &r; break;
      case Kind::SurchargeLoad:
        if (ValueOf(r, 1) != 0) found.variable = true;
        At(r, 1) *= ratio;
        break;
      case Kind::Load:
        if (ValueOf(r, 3) != 0 || ValueOf(r, 4) != 0) found.variable = true;
        At(r, 3) *= ratio;
        At(r, 4) *= ratio;
        break;
      // gammaEH on the active earth pressure alone, through the wall
      // configuration's active pressure factor, which leaves the water
      // pressure as it is; a pressure table of the data file cannot be
      // told from its water and is taken as earth pressure throughout.
      case Kind::WallConfiguration:
        found.activeFactor = true;
        if (set.gammaEH != 1 && r.values.size() >= 5)
          At(r, 5) = (r.values.size() > 5 ? r.values[5] : 1.0) * set.gammaEH;
        break;
      case Kind::Pressure:
        found.pressureTable = true;
        At(r, 1) *= set.gammaEH;
        break;
      case Kind::LayerLine: model = r.values.empty() ? 0 : static_cast<int>(r.values[0]); break;
      case Kind::LayerTop:
      case Kind::LayerBase: {
        found.soil = true;
        const std::vector<double> characteristic = r.values;
        if (!FactorLayerLine(r, model, set, r.row + 1, error)) return false;
        if (r.kind == Kind::LayerTop) ListSoil(characteristic, r, model, soil);
        break;
      }
      default: break;
    }
  }
  if (options.minimumSurcharge) {
    if (!surcharge) {
      error =
          "a minimum surcharge needs generated earth pressure, which this data file does not have";
      return false;
    }
    At(*surcharge, 0) = std::max(ValueOf(*surcharge, 0), *options.minimumSurcharge);
  }
  if (surcharge) {
    for (size_t k : {0u, 2u, 3u, 4u}) {
      if (ValueOf(*surcharge, k) != 0) found.variable = true;
      // The uniform pressure (0) enters the active pressure, which gammaEH
      // multiplies already; the older files' point, line and strip loads
      // are elastic solutions apart from it.
      At(*surcharge, k) *= k == 0 ? ratio / set.gammaEH : ratio;
    }
  }
  added = 0;
  if (set.unplannedExcavation && options.unplannedExcavation) {
    for (WallText::Record& r : problem.records()) {
      if (r.kind != Kind::Wall) continue;
      const double excavation = ValueOf(r, 4);
      if (excavation <= 0) break;
      added = UnplannedExcavation(problem, excavation);
      At(r, 4) = excavation + added;
    }
    for (WallText::Record& r : problem.records())
      if (r.kind == Kind::WallConfiguration && added > 0) At(r, 0) += added;
  }
  return true;
}

}  // namespace

std::optional<FactoredData> ApplyFactorSet(std::string_view dataText, const FactorSet& set,
                                           const SituationOptions& options, std::string& error) {
  if (error = FactorSetError(set); !error.empty()) return std::nullopt;
  if (error = SeismicSetError(set); !error.empty()) return std::nullopt;
  std::optional<std::vector<WallText>> problems = WallText::ParseAll(dataText, error);
  if (!problems) return std::nullopt;
  FactoredData out;
  Effects found;
  for (size_t k = 0; k < problems->size(); ++k) {
    double added = 0;
    const size_t first = out.soil.size();
    if (!ApplyToProblem((*problems)[k], set, options, added, found, out.soil, error)) {
      error = set.name + ", problem " + std::to_string(k + 1) + ": " + error;
      return std::nullopt;
    }
    for (size_t v = first; v < out.soil.size(); ++v) out.soil[v].problem = static_cast<int>(k + 1);
    out.excavationAdded.push_back(added);
    out.text += (*problems)[k].text();
  }
  const bool soilFactors = set.gammaPhi != 1 || set.gammaC != 1 || set.gammaCu != 1 ||
                           set.gammaQu != 1 || set.gammaGamma != 1;
  if (soilFactors && !found.soil)
    out.notes.push_back(set.name +
                        ": the soil factors have nothing to act on: the data file gives "
                        "its earth pressure and p-y curves itself");
  if (set.gammaEH != 1 && found.pressureTable)
    out.notes.push_back(set.name +
                        ": gammaEH multiplies the data file's own pressure table, water "
                        "pressure included: the table does not tell them apart");
  if (set.seismic && !found.soil)
    out.notes.push_back(set.name +
                        ": the shaking has nothing to act on: the data file gives its earth "
                        "pressure itself");
  if (set.gammaQ != set.gammaG && !found.variable)
    out.notes.push_back(set.name +
                        ": gammaQ has nothing to act on: the data file has no surcharge "
                        "or load");
  return out;
}

std::optional<SequentialPlan> FactorSequence(const SequentialPlan& plan,
                                             std::string_view factoredText, const FactorSet& set,
                                             const SituationOptions& options,
                                             std::vector<double>& excavationAdded,
                                             std::string& error) {
  SequentialPlan out = plan;
  const double ratio = set.gammaQ / set.gammaG;
  for (ConstructionStage& stage : out.stages)
    for (auto& [name, value] : stage.values) {
      if (name == "surcharge") value = std::max(value, options.minimumSurcharge.value_or(value));
      // The uniform surcharge enters the active pressure, which gammaEH
      // multiplies already.
      if (name == "surcharge") value *= ratio / set.gammaEH;
      if (name.rfind("load.", 0) == 0) value *= ratio;
    }
  excavationAdded.assign(out.stages.size(), 0.0);
  if (!set.unplannedExcavation || !options.unplannedExcavation) return out;
  // The levels and supports of each stage as planned, then each stage's
  // level set deeper.
  const std::optional<SequenceData> built = BuildSequence(factoredText, out, error);
  if (!built) return std::nullopt;
  const std::optional<WallText> base = WallText::Parse(factoredText, 0, error);
  if (!base) return std::nullopt;
  const double tip = base->increments() * base->incrementLength();
  double designBefore = 0, plannedBefore = 0;
  for (size_t k = 0; k < out.stages.size(); ++k) {
    const double level = built->excavation[k];
    const int stage = static_cast<int>(k + 1);
    double lowest = 0;
    for (const ModelSupport& m : built->supports)
      if (m.installStage > 0 && m.installStage <= stage &&
          (m.removeStage == 0 || stage < m.removeStage) && m.depth < level)
        lowest = std::max(lowest, m.depth);
    double added = level > 0 ? UnplannedExcavation(*base, level, lowest) : 0;
    // Ground dug out too deep stays out until the plan fills in front of the
    // wall: a support installed at the level of the stage before does not
    // bring it back.
    if (level >= plannedBefore) added = WithoutFloatNoise(std::max(added, designBefore - level));
    plannedBefore = level;
    designBefore = level + added;
    if (added <= 0) continue;
    if (level + added > tip) {
      error = "stage " + std::to_string(stage) + " (" + built->stageNames[k] +
              "): the unplanned excavation of " + FourDigits(added) +
              " takes the excavation from " + FourDigits(level) + " to " +
              FourDigits(level + added) + ", below the wall's tip at " + FourDigits(tip) +
              "; lengthen the wall or turn the unplanned excavation off";
      return std::nullopt;
    }
    auto& values = out.stages[k].values;
    auto at = std::find_if(values.begin(), values.end(),
                           [](const auto& v) { return v.first == "excavation"; });
    if (at == values.end()) values.emplace_back("excavation", level + added);
    else at->second = level + added;
    excavationAdded[k] = added;
  }
  return out;
}

}  // namespace terraq::design
