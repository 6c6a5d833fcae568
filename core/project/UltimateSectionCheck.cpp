#include "project/UltimateSectionCheck.h"

#include <algorithm>
#include <cmath>

namespace terraq::ui {

namespace {

// The design effects of a set's problem in SI per wall unit, the shear the
// larger side where it steps, the axial force compression positive.
std::vector<design::StationEffect> EffectsOf(const design::SituationProblem& p,
                                             const UnitFactors& f) {
  std::vector<design::StationEffect> effects;
  effects.reserve(p.stations.size());
  for (const design::DesignStation& s : p.stations) {
    const double shear =
        std::fabs(s.shearAbove) > std::fabs(s.shearBelow) ? s.shearAbove : s.shearBelow;
    effects.push_back(
        {s.depth, s.moment * f.force * f.length, shear * f.force, -s.axial * f.force});
  }
  return effects;
}

design::WallCheck CheckProblem(const design::SituationProblem& p, const SectionedProblem& facts,
                               const SectionInUse& used) {
  design::WallCheck failed;
  const std::optional<UnitFactors> f = UnitFactorsOf(facts.units);
  if (!f) failed.error = "the results are in generic units: they cannot be checked";
  else if (!p.valid) failed.error = "the results are not valid: " + p.fault;
  if (!failed.error.empty()) return failed;
  return design::CheckWall(used.section, used.grade, used.settings, facts.unitWidth * f->length,
                           EffectsOf(p, *f));
}

// The envelope of problem k over the sets' checks of it.
EnvelopeSectionCheck EnvelopeOf(const std::vector<SetSectionCheck>& sets, size_t k) {
  EnvelopeSectionCheck out;
  for (const SetSectionCheck& set : sets) {
    if (k >= set.problems.size() || !set.problems[k].error.empty()) continue;
    const design::WallCheck& c = set.problems[k];
    if (!out.checked || c.utilisation > out.check.utilisation) {
      std::vector<design::StationCheck> stations = std::move(out.check.stations);
      out.check = c;
      out.check.stations = std::move(stations);
      out.set = set.set;
    }
    for (size_t i = 0; i < c.stations.size(); ++i) {
      if (i >= out.check.stations.size()) {
        out.check.stations.push_back(c.stations[i]);
        out.stationSets.push_back(set.set);
      } else if (c.stations[i].utilisation > out.check.stations[i].utilisation) {
        out.check.stations[i] = c.stations[i];
        out.stationSets[i] = set.set;
      }
    }
    out.checked = true;
  }
  return out;
}

}  // namespace

UltimateSectionCheck CheckDesignSituations(const std::vector<design::SituationResult>& results,
                                           const std::vector<design::EnvelopeProblem>& envelope,
                                           const SectionedData& data, const SectionInUse& used) {
  UltimateSectionCheck out;
  if (data.problems.empty()) return out;
  size_t count = 0;
  for (const design::SituationResult& r : results) {
    if (r.set.serviceability) continue;
    SetSectionCheck& set = out.sets.emplace_back();
    set.set = r.set.name;
    for (size_t k = 0; k < r.problems.size(); ++k)
      set.problems.push_back(
          CheckProblem(r.problems[k], data.problems[std::min(k, data.problems.size() - 1)], used));
    count = std::max(count, r.problems.size());
  }
  for (size_t k = 0; k < count; ++k) {
    EnvelopeSectionCheck& e = out.envelope.emplace_back(EnvelopeOf(out.sets, k));
    e.valid = e.checked && k < envelope.size() && envelope[k].valid;
  }
  return out;
}

int GoverningEnvelopeProblem(const UltimateSectionCheck& check) {
  int worst = -1;
  for (size_t k = 0; k < check.envelope.size(); ++k) {
    const EnvelopeSectionCheck& e = check.envelope[k];
    if (e.checked && (worst < 0 || e.check.utilisation > check.envelope[worst].check.utilisation))
      worst = static_cast<int>(k);
  }
  return worst;
}

}  // namespace terraq::ui
