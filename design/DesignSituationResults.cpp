// The design situations analysed, one run a set of partial factors, and the
// envelope of their design effects with the set that governs each.
#include <algorithm>
#include <cmath>
#include <map>

#include "DesignSituations.h"
#include "SequenceAnalysis.h"
#include "WallAxialForce.h"
#include "api/Analysis.h"
#include "api/EngineRoute.h"

namespace terraq::design {

namespace {

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
  if (plan) run = AnalyseStages(data->text, *plan, error, nullptr, 1.0, options.soil);
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
                                                 const SituationOptions& projectOptions,
                                                 const SequentialPlan* sequence) {
  std::vector<SituationResult> results;
  for (const FactorSet& set : sets) {
    // A seismic situation's wall is analysed while the ground shakes; the
    // others as the project's soil model has it.
    SituationOptions options = projectOptions;
    if (set.seismic) options.soil.seismic = set.seismic;
    SituationResult result;
    result.set = set;
    if (sequence) {
      RunSequenceSituation(dataText, options, *sequence, result);
      results.push_back(std::move(result));
      continue;
    }
    std::optional<FactoredData> data = ApplyFactorSet(dataText, set, options, result.error);
    if (data) {
      const engine::api::AnalysisResult analysis =
          engine::Analyse(data->text, EngineOptions(options.soil));
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
