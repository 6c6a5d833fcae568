#include "SequenceDesign.h"

#include <algorithm>
#include <cmath>

#include "SeepageSoil.h"
#include "api/EngineRoute.h"
#include "api/SoilDescription.h"

namespace terraq::design {

namespace {

using engine::api::SoilDescription;

ProblemDesign NotDesigned(ProblemDesign p, std::string message) {
  p.le.error = DesignError{DesignError::Kind::NoSoil, std::move(message)};
  return p;
}

// The supports in place during stage `stage` (1-based), top down.
std::vector<const ModelSupport*> InPlace(const SequenceData& sequence, int stage) {
  std::vector<const ModelSupport*> out;
  for (const ModelSupport& m : sequence.supports)
    if (m.installStage != 0 && m.installStage <= stage &&
        (m.removeStage == 0 || m.removeStage > stage))
      out.push_back(&m);
  std::stable_sort(out.begin(), out.end(), [](const ModelSupport* a, const ModelSupport* b) {
    return a->depth < b->depth;
  });
  return out;
}

// The limit equilibrium of one stage as a wall of its own.
StageDesign DesignStage(const SequenceData& sequence, int stage, const SoilDescription& soil,
                        const DesignRequest& request) {
  StageDesign s;
  s.name = sequence.stageNames[static_cast<size_t>(stage - 1)];
  s.excavation = soil.excavationDepth;
  const std::vector<const ModelSupport*> supports = InPlace(sequence, stage);
  for (const ModelSupport* m : supports) s.supports.push_back(m->name);
  DesignOptions options = LimitEquilibriumOptions(request);
  // A stage that shakes is designed pseudo-statically with its coefficients.
  if (const auto k = static_cast<size_t>(stage - 1); k < sequence.shaking.size()) {
    const StageShaking& shaking = sequence.shaking[k];
    if (shaking.kh || shaking.kv) {
      SeismicChoice own =
          options.seismic ? *options.seismic : request.soil.seismic.value_or(SeismicChoice{});
      if (shaking.kh) own.kh = *shaking.kh;
      if (shaking.kv) own.kv = *shaking.kv;
      options.seismic = own;
    }
  }
  // A row of the data file's springs table acts in every stage, as the
  // sequence's supports in place do.
  std::optional<double> anchor = soil.anchorDepth;
  if (!supports.empty() && (!anchor || supports.front()->depth < *anchor))
    anchor = supports.front()->depth;
  if (anchor) {
    options.method = Method::FreeEarth;
    options.anchorDepth = anchor;
  } else if (request.method && *request.method != Method::FreeEarth) {
    options.method = *request.method;  // the cantilever method asked for
  }
  s.le = DesignWall(soil, options);
  const size_t count = supports.size() + (soil.anchorDepth ? 1 : 0);
  if (count > 1)
    s.le.notes.push_back(
        "More than one support is in place: free earth support with several supports is "
        "statically indeterminate, so the stage is designed about its uppermost support alone.");
  if (!anchor && request.method == Method::FreeEarth)
    s.le.notes.push_back("No support is in place: the stage is designed as a cantilever.");
  return s;
}

// The stage with the deepest tip, the largest force of each support and the
// largest moment.
void Govern(ProblemDesign& p) {
  bool any = false;
  for (size_t k = 0; k < p.stages.size(); ++k) {
    const DesignResult& r = p.stages[k].le;
    if (r.error) continue;
    if (!any || r.tipDepth > p.stages[p.governingStage].le.tipDepth) p.governingStage = k;
    if (!any || std::fabs(r.maxMoment) > std::fabs(p.stages[p.momentStage].le.maxMoment))
      p.momentStage = k;
    any = true;
    if (r.method != Method::FreeEarth) continue;
    const std::string name =
        p.stages[k].supports.empty() ? "the springs table's support" : p.stages[k].supports.front();
    auto at = std::find_if(p.supportForces.begin(), p.supportForces.end(),
                           [&](const SupportDesignForce& f) { return f.name == name; });
    if (at == p.supportForces.end())
      p.supportForces.push_back({name, r.anchorDepth, r.anchorForce, k});
    else if (std::fabs(r.anchorForce) > std::fabs(at->force))
      *at = {name, r.anchorDepth, r.anchorForce, k};
  }
  if (any) p.le = p.stages[p.governingStage].le;
}

}  // namespace

ProblemDesign DesignSequence(std::string_view dataText, const SequentialPlan& plan,
                             const DesignRequest& request) {
  ProblemDesign p;
  p.effectFactor = request.effectFactor;
  std::string error;
  const std::optional<SequenceData> sequence = BuildSequence(dataText, plan, error);
  if (!sequence) return NotDesigned(p, "the construction sequence cannot be built: " + error);
  engine::api::SoilDescriptions soils = engine::ReadSoilDescriptions(sequence->text);
  if (soils.problems.size() != sequence->stageNames.size())
    return NotDesigned(p, "the stages cannot be read: " +
                              (soils.error ? soils.error->message : std::string("no soil")));
  if (const std::string fault = TakeSeepage(sequence->text, request.soil, soils,
                                            StageSeepage(plan, request.soil.seepage));
      !fault.empty())
    return NotDesigned(p, "the seepage cannot be taken: " + fault);
  p.title = soils.problems.front().title;
  p.units = soils.problems.front().units;
  for (size_t k = 0; k < soils.problems.size(); ++k)
    p.stages.push_back(DesignStage(*sequence, static_cast<int>(k) + 1, soils.problems[k], request));
  Govern(p);
  // No stage designed: the first says why.
  if (std::all_of(p.stages.begin(), p.stages.end(),
                  [](const StageDesign& s) { return s.le.error.has_value(); }))
    p.le = p.stages.front().le;

  const SoilDescription& first = soils.problems.front();
  if (p.skipped = SpringModelSkipped(first, request); !p.skipped.empty()) return p;
  double deepest = 0;
  for (double level : sequence->excavation) deepest = std::max(deepest, level);
  p.springRun = true;
  p.spring = SpringFactorOfSafety(dataText, 0, &plan, request.criterion, request.soil);
  WallCriteria criteria;
  criteria.limits = request.limits;
  criteria.targetFactor = request.fs;
  criteria.resolution = request.resolution;
  p.shortest = FindShortestWall(dataText, 0, {deepest, first.profileBottom()}, criteria, &plan,
                                request.soil);
  p.shortestRun = true;
  return p;
}

}  // namespace terraq::design
