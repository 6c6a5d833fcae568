// Design situations; the technical manual's "Design situations" states how
// each factor acts and where the code puts it.
#include "DesignSituations.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <sstream>

#include "SequenceAnalysis.h"
#include "WallAxialForce.h"
#include "WallText.h"
#include "api/Analysis.h"
#include "api/EngineRoute.h"
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

std::string Number(double value) {
  std::ostringstream out;
  out.precision(4);
  out << value;
  return out.str();
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
      error = which + " has a friction angle of " + Number(value) +
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

// The stations' value of largest magnitude, times `factor`.
template <typename Get>
Governed Largest(const engine::api::ProblemResult& p, double factor, const std::string& set,
                 Get get) {
  Governed out{0, 0, set};
  for (const engine::api::StationResult& s : p.stations) {
    const double v = get(s) * factor;
    if (std::fabs(v) > std::fabs(out.value)) out = {v, s.depth, set};
  }
  return out;
}

// Problem k's concentrated axial loads; none for a problem the text lacks.
const std::vector<AxialLoad>& LoadsOf(const std::vector<std::vector<AxialLoad>>& loads, size_t k) {
  static const std::vector<AxialLoad> none;
  return k < loads.size() ? loads[k] : none;
}

SituationProblem Summarise(const engine::api::ProblemResult& p, const FactorSet& set,
                           const std::vector<AxialLoad>& axialLoads) {
  SituationProblem out;
  const double g = set.gammaG;
  out.moment = Largest(p, g, set.name, [](auto& s) { return s.moment; });
  out.shear = Largest(p, g, set.name, [](auto& s) {
    if (!s.concentrated) return s.shear;
    return std::fabs(s.shearAbove) > std::fabs(s.shearBelow) ? s.shearAbove : s.shearBelow;
  });
  out.deflection = Largest(p, 1.0, set.name, [](auto& s) { return s.deflection; });
  if (!p.stations.empty())
    out.topDeflection = {p.stations.front().deflection, p.stations.front().depth, set.name};
  for (const engine::api::SupportForce& s : p.supports)
    out.supports.push_back({s.station, s.depth, s.force * g, set.name});
  const std::vector<double> axial = WallAxialForces(p, axialLoads);
  for (size_t i = 0; i < p.stations.size(); ++i) {
    const engine::api::StationResult& s = p.stations[i];
    const double above = s.concentrated ? s.shearAbove : s.shear;
    const double below = s.concentrated ? s.shearBelow : s.shear;
    out.stations.push_back(
        {s.depth, s.moment * g, above * g, below * g, s.deflection, axial[i] * g});
  }
  if (!p.notValidStations.empty()) out.fault = "singular equations: nothing holds the wall";
  else if (!p.numericalFault.empty()) out.fault = p.numericalFault;
  else if (p.stationsOverLimit > 0) out.fault = "allowable deflection exceeded";
  else if (!p.closed) out.fault = "the deflections did not close";
  out.valid = out.fault.empty();
  return out;
}

}  // namespace

std::optional<FactoredData> ApplyFactorSet(std::string_view dataText, const FactorSet& set,
                                           const SituationOptions& options, std::string& error) {
  if (error = FactorSetError(set); !error.empty()) return std::nullopt;
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
              "): the unplanned excavation of " + Number(added) + " takes the excavation from " +
              Number(level) + " to " + Number(level + added) + ", below the wall's tip at " +
              Number(tip) + "; lengthen the wall or turn the unplanned excavation off";
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

namespace {

// One set on a construction sequence: the data text before construction
// factored without its unplanned excavation (each stage has its own), the
// plan factored over it, and the stages analysed in order.
void RunSequenceSituation(std::string_view dataText, const SituationOptions& options,
                          const SequentialPlan& sequence, SituationResult& result) {
  const FactorSet& set = result.set;
  SituationOptions before = options;
  before.unplannedExcavation = false;
  std::optional<FactoredData> data = ApplyFactorSet(dataText, set, before, result.error);
  if (!data) return;
  std::string error;
  const std::optional<SequentialPlan> plan =
      FactorSequence(sequence, data->text, set, options, data->excavationAdded, error);
  std::optional<SequenceAnalysis> run;
  if (plan) run = AnalyseStages(data->text, *plan, error);
  if (!run) {
    result.error = set.name + ": " + error;
    return;
  }
  // The stages' surcharge or loads give gammaQ something to act on.
  for (const ConstructionStage& stage : sequence.stages)
    for (const auto& [name, value] : stage.values)
      if ((name == "surcharge" || name.rfind("load.", 0) == 0) && value != 0)
        std::erase_if(data->notes, [](const std::string& note) {
          return note.find("gammaQ has nothing to act on") != std::string::npos;
        });
  if (run->analysis.error) result.error = set.name + ": " + run->analysis.error->message;
  const std::vector<std::vector<AxialLoad>> axialLoads =
      ConcentratedAxialLoadsOf(run->sequence.text);
  for (size_t k = 0; k < run->analysis.problems.size(); ++k) {
    SituationProblem& p = result.problems.emplace_back(
        Summarise(run->analysis.problems[k], set, LoadsOf(axialLoads, k)));
    for (const StageSupportForce& f : run->supportForces[k])
      p.sequenceSupports.push_back(
          {f.name, f.depth, f.forceAlong * set.gammaG, set.name, static_cast<int>(k + 1)});
  }
  result.stageNames = run->sequence.stageNames;
  result.data = std::move(*data);
}

}  // namespace

std::vector<SituationResult> RunDesignSituations(std::string_view dataText,
                                                 const std::vector<FactorSet>& sets,
                                                 const SituationOptions& options,
                                                 const SequentialPlan* sequence) {
  std::vector<SituationResult> results;
  for (const FactorSet& set : sets) {
    SituationResult result;
    result.set = set;
    if (sequence) {
      RunSequenceSituation(dataText, options, *sequence, result);
      results.push_back(std::move(result));
      continue;
    }
    std::optional<FactoredData> data = ApplyFactorSet(dataText, set, options, result.error);
    if (data) {
      const engine::api::AnalysisResult analysis = engine::Analyse(data->text);
      if (analysis.error) result.error = set.name + ": " + analysis.error->message;
      const std::vector<std::vector<AxialLoad>> axialLoads = ConcentratedAxialLoadsOf(data->text);
      for (size_t k = 0; k < analysis.problems.size(); ++k)
        result.problems.push_back(Summarise(analysis.problems[k], set, LoadsOf(axialLoads, k)));
      result.data = std::move(*data);
    }
    results.push_back(std::move(result));
  }
  return results;
}

std::vector<EnvelopeProblem> EnvelopeOf(const std::vector<SituationResult>& results) {
  size_t count = 0;
  for (const SituationResult& r : results) count = std::max(count, r.problems.size());
  std::vector<EnvelopeProblem> envelope(count);
  for (size_t k = 0; k < count; ++k) {
    EnvelopeProblem& e = envelope[k];
    std::map<int, SupportEffect> supports;
    for (const SituationResult& r : results) {
      if (k >= r.problems.size() || !r.problems[k].valid) {
        // A set that stopped before this problem (an error stop, a stage
        // not reached) is as missing as one whose results are not valid.
        const std::string why = k < r.problems.size() ? r.problems[k].fault
                                : r.error.empty()     ? "no results of this problem"
                                                      : "not analysed: " + r.error;
        e.invalid.push_back(r.set.name + ": " + why);
        if (!r.set.serviceability) e.leftOut.push_back(r.set.name);
        continue;
      }
      const SituationProblem& p = r.problems[k];
      if (r.set.serviceability) {
        if (!e.deflection || std::fabs(p.deflection.value) > std::fabs(e.deflection->value))
          e.deflection = p.deflection;
        if (!e.topDeflection ||
            std::fabs(p.topDeflection.value) > std::fabs(e.topDeflection->value))
          e.topDeflection = p.topDeflection;
        continue;
      }
      if (!e.checked || std::fabs(p.moment.value) > std::fabs(e.moment.value)) e.moment = p.moment;
      if (!e.checked || std::fabs(p.shear.value) > std::fabs(e.shear.value)) e.shear = p.shear;
      e.checked = true;
      for (const SupportEffect& s : p.supports) {
        auto [at, inserted] = supports.emplace(s.station, s);
        if (!inserted && std::fabs(s.force) > std::fabs(at->second.force)) at->second = s;
      }
    }
    for (const auto& [station, s] : supports) e.supports.push_back(s);
    e.valid = e.checked && e.leftOut.empty();
  }
  return envelope;
}

bool EnvelopeValid(const std::vector<EnvelopeProblem>& envelope) {
  return !envelope.empty() && std::all_of(envelope.begin(), envelope.end(),
                                          [](const EnvelopeProblem& e) { return e.valid; });
}

std::vector<std::string> SetsLeftOut(const std::vector<EnvelopeProblem>& envelope) {
  std::vector<std::string> names;
  for (const EnvelopeProblem& e : envelope)
    for (const std::string& name : e.leftOut)
      if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
  return names;
}

std::vector<NamedSupportEffect> SupportEnvelopeOf(const std::vector<SituationResult>& results) {
  std::vector<NamedSupportEffect> envelope;
  for (const SituationResult& r : results) {
    if (r.set.serviceability) continue;
    for (const SituationProblem& p : r.problems) {
      if (!p.valid) continue;
      for (const NamedSupportEffect& s : p.sequenceSupports) {
        auto at = std::find_if(envelope.begin(), envelope.end(),
                               [&](const NamedSupportEffect& e) { return e.name == s.name; });
        if (at == envelope.end()) envelope.push_back(s);
        else if (std::fabs(s.force) > std::fabs(at->force)) *at = s;
      }
    }
  }
  return envelope;
}

std::optional<size_t> GoverningProblem(const std::vector<EnvelopeProblem>& envelope,
                                       const std::vector<SituationResult>& results,
                                       DesignEffect effect) {
  std::optional<size_t> worst;
  double largest = -1;
  auto consider = [&](size_t k, double value) {
    if (std::fabs(value) > largest) {
      largest = std::fabs(value);
      worst = k;
    }
  };
  for (size_t k = 0; k < envelope.size(); ++k) {
    const EnvelopeProblem& e = envelope[k];
    if (effect == DesignEffect::Moment && e.checked) consider(k, e.moment.value);
    if (effect == DesignEffect::Shear && e.checked) consider(k, e.shear.value);
    if (effect == DesignEffect::Deflection && e.deflection) consider(k, e.deflection->value);
  }
  if (worst || effect != DesignEffect::Deflection) return worst;
  // No serviceability set: the deflections of the ultimate sets show how
  // the wall moves.
  for (const SituationResult& r : results)
    for (size_t k = 0; k < r.problems.size(); ++k)
      if (r.problems[k].valid) consider(k, r.problems[k].deflection.value);
  return worst;
}

}  // namespace terraq::design
