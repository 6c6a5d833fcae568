#include "DesignReport.h"

#include <cmath>
#include <cstdio>
#include <sstream>

#include "DesignSituations.h"
#include "api/Units.h"

namespace terraq::design {

namespace {

std::string Four(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.4g", value == 0.0 ? 0.0 : value);  // no "-0"
  return text;
}

std::vector<const engine::api::ProblemResult*> ResultsOf(const ShortestWall& w) {
  std::vector<const engine::api::ProblemResult*> out;
  for (const auto& stage : w.stageResults) out.push_back(&stage);
  if (out.empty()) out.push_back(&w.results);
  return out;
}

}  // namespace

std::string ProblemDesign::errorMessage() const {
  for (size_t k = 0; k < stages.size(); ++k)
    if (const auto& e = stages[k].le.error)
      return "stage " + std::to_string(k + 1) + " (" + stages[k].name + "): " + e->message;
  if (le.error) return le.error->message;
  if (spring.error) return *spring.error;
  if (shortestRun && shortest.error) return *shortest.error;
  return {};
}

DesignUnits DesignUnitsOf(int code) {
  using engine::api::Quantity;
  const auto label = [code](Quantity q) { return std::string(engine::api::UnitLabel(q, code)); };
  // The limit equilibrium works per unit length of wall; the spring model's
  // moments are those of the wall as the data file sizes it.
  return {label(Quantity::Length), label(Quantity::ForcePerLength),
          label(Quantity::MomentPerLength), label(Quantity::Moment), label(Quantity::Pressure)};
}

DesignOptions LimitEquilibriumOptions(const DesignRequest& request) {
  DesignOptions options;
  options.fsMethod = request.fsMethod;
  options.fs = request.fs;
  options.embedmentFactor = request.embedmentFactor;
  options.backfillTheory = request.backfillTheory;
  options.excavationTheory = request.excavationTheory;
  options.seismic = request.seismic;
  if (request.berm) options.excavationRaise = BermRaise(*request.berm);
  return options;
}

std::string FaceTheoryWords(const DesignRequest& request) {
  if (request.defaultTheories()) return {};
  std::string words = FaceTheoriesWords(request.backfillTheory, request.excavationTheory);
  if (request.seismic) words += "; while the ground shakes " + SeismicWords(*request.seismic);
  return words;
}

std::string FaceTheoryLine(const DesignRequest& request) {
  const std::string words = FaceTheoryWords(request);
  return words.empty() ? words : "earth pressure: " + words + "\n";
}

std::vector<LayerCoefficients> CoefficientsUsed(const engine::api::SoilDescription& soil,
                                                const DesignRequest& request) {
  using engine::api::Side;
  std::vector<LayerCoefficients> out;
  const double strength = request.fsMethod == FsMethod::Strength ? request.fs : 1.0;
  for (const auto& [side, theory] : {std::pair{Side::Backfill, &request.backfillTheory},
                                     std::pair{Side::Excavation, &request.excavationTheory}}) {
    if (theory->isGenerators() && !request.seismic) continue;
    const FaceCoefficients k = FaceCoefficientsFor(soil, side, *theory, request.seismic, strength);
    for (size_t n = 0; n < soil.layers.size(); ++n)
      out.push_back({soil.layers[n].number, side, theory->method, k.Kah[n], k.Kph[n],
                     request.seismic ? std::optional(request.seismic->method) : std::nullopt});
  }
  return out;
}

std::string FaceTheoryRefusal(const engine::api::SoilDescription& soil,
                              const DesignRequest& request) {
  using engine::api::Side;
  if (const FaceCheck check =
          CheckFaceTheories(soil, request.backfillTheory, request.excavationTheory);
      check.error)
    return *check.error;
  if (request.seismic)
    if (const FaceCheck check =
            CheckSeismic(soil, request.backfillTheory, request.excavationTheory, *request.seismic);
        check.error)
      return *check.error;
  return {};
}

std::string SpringModelSkipped(const engine::api::SoilDescription& soil,
                               const DesignRequest& request) {
  // Nothing to reduce or to search in: curves and pressures given in the
  // data file keep their strength.
  if (soil.layers.empty()) return "the problem has no soil layers";
  if (request.seismic) return "its loads are static: the seismic design is the limit equilibrium's";
  return {};
}

ProblemDesign DesignProblem(std::string_view text, int index,
                            const engine::api::SoilDescription& soil,
                            const DesignRequest& request) {
  ProblemDesign p;
  p.title = soil.title;
  p.units = soil.units;
  p.effectFactor = request.effectFactor;
  DesignOptions options = LimitEquilibriumOptions(request);
  options.method = request.method     ? *request.method
                   : soil.anchorDepth ? Method::FreeEarth
                                      : Method::FixedEarth;
  p.le = DesignWall(soil, options);
  if (p.skipped = SpringModelSkipped(soil, request); !p.skipped.empty()) return p;
  p.springRun = true;
  p.spring = SpringFactorOfSafety(text, index, nullptr, request.criterion, request.soil);
  WallCriteria criteria;
  criteria.limits = request.limits;
  criteria.targetFactor = request.fs;
  criteria.resolution = request.resolution;
  p.shortest = FindShortestWall(text, index, {soil.excavationDepth, soil.profileBottom()}, criteria,
                                nullptr, request.soil);
  p.shortestRun = true;
  return p;
}

namespace {

// A force or moment of the design: its design value with its unit, and
// after its depth the characteristic value it was found as, when the two
// differ.
std::string Effect(const ProblemDesign& p, double characteristic, const std::string& unit) {
  return Four(p.Design(characteristic)) + " " + unit;
}
// Where gammaG is 1 (DA1-2, DA3, and LRFD, whose load factor on the earth
// pressure acts inside the analysis) the effect is already the design value.
std::string Characteristic(const ProblemDesign& p, double characteristic) {
  return p.effectFactor && *p.effectFactor != 1.0 ? " (characteristic " + Four(characteristic) + ")"
                                                  : "";
}

// "design " before the name of a force or moment when it is one.
std::string Kind(const ProblemDesign& p) { return p.effectFactor ? "design " : ""; }

// The limit equilibrium's lines, each after `in`.
void LimitEquilibriumText(std::ostringstream& out, const ProblemDesign& p, const DesignResult& r,
                          const DesignUnits& u, const std::string& in) {
  // The names keep their column: "design " takes the place of padding.
  auto name = [&](const std::string& what) {
    std::string text = Kind(p) + what;
    return text + std::string(text.size() < 31 ? 31 - text.size() : 1, ' ');
  };
  out << in << "limit equilibrium, " << MethodName(r.method) << ", factor of safety " << Four(r.fs)
      << " on " << FsMethodName(r.fsMethod) << ", embedment factor " << Four(r.embedmentFactor)
      << "\n";
  if (!r.error || r.D0 > 0)
    out << in << "embedment for equilibrium D0   " << Four(r.D0) << " " << u.length << "\n";
  if (!r.error) {
    out << in << "recommended embedment D        " << Four(r.D) << " " << u.length << "\n";
    out << in << "tip depth                      " << Four(r.tipDepth) << " " << u.length << "\n";
    if (r.method == Method::FreeEarth)
      out << in << name("anchor force") << Effect(p, r.anchorForce, u.force) << " at "
          << Four(r.anchorDepth) << " " << u.length << Characteristic(p, r.anchorForce) << "\n";
    out << in << name("largest moment") << Effect(p, r.maxMoment, u.moment) << " at "
        << Four(r.maxMomentDepth) << " " << u.length << Characteristic(p, r.maxMoment) << "\n";
    out << in << "zero shear at                  " << Four(r.zeroShearDepth) << " " << u.length
        << "\n";
  }
  // The wall's factor is that of its embedment over the embedment factor:
  // the factor the design would find for this wall, not that of the
  // embedment as it is, which a reader would otherwise assume.
  if (r.wallFs) {
    out << in << "factor of safety of the wall   " << Four(*r.wallFs) << " ("
        << FsMethodName(r.fsMethod);
    if (r.embedmentFactor != 1.0)
      out << ", of its embedment divided by the embedment factor " << Four(r.embedmentFactor);
    out << ")\n";
  }
  for (const std::string& note : r.notes) out << in << "note: " << note << "\n";
  if (r.error) out << in << "cannot design: " << r.error->message << "\n";
}

std::string StageName(const ProblemDesign& p, size_t k) {
  return "stage " + std::to_string(k + 1) + " (" + p.stages[k].name + ")";
}

// Every stage's limit equilibrium, then what governs over the stages.
void SequenceText(std::ostringstream& out, const ProblemDesign& p, const DesignUnits& u) {
  out << "   construction sequence of " << p.stages.size()
      << " stages, each designed by limit equilibrium as a wall of its own\n";
  for (size_t k = 0; k < p.stages.size(); ++k) {
    const StageDesign& s = p.stages[k];
    out << "   " << StageName(p, k) << ": excavation at " << Four(s.excavation) << " " << u.length;
    if (s.supports.empty()) out << ", no support in place\n";
    else {
      out << ", in place";
      for (const std::string& name : s.supports) out << " " << name;
      out << "\n";
    }
    LimitEquilibriumText(out, p, s.le, u, "      ");
  }
  if (p.le.error) return;
  out << "   governing " << StageName(p, p.governingStage) << ": tip at " << Four(p.le.tipDepth)
      << " " << u.length << "\n";
  for (const SupportDesignForce& f : p.supportForces)
    out << "   largest " << Kind(p) << "force of support " << f.name << "  "
        << Effect(p, f.force, u.force) << " at " << Four(f.depth) << " " << u.length << ", "
        << StageName(p, f.stage) << Characteristic(p, f.force) << "\n";
  const DesignResult& m = p.stages[p.momentStage].le;
  const std::string moment = "largest " + Kind(p) + "moment";
  out << "   " << moment << std::string(moment.size() < 31 ? 31 - moment.size() : 1, ' ')
      << Effect(p, m.maxMoment, u.moment) << " at " << Four(m.maxMomentDepth) << " " << u.length
      << ", " << StageName(p, p.momentStage) << Characteristic(p, m.maxMoment) << "\n";
}

}  // namespace

std::string DesignText(const ProblemDesign& p, int number) {
  std::ostringstream out;
  const DesignUnits u = DesignUnitsOf(p.units);
  out << number << "  " << (p.title.empty() ? "(no title)" : p.title) << "\n";
  if (p.effectFactor)
    out << "   forces and moments: design values, the characteristic ones times gammaG = "
        << Four(*p.effectFactor) << "\n";
  if (p.stages.empty()) LimitEquilibriumText(out, p, p.le, u, "   ");
  else SequenceText(out, p, u);
  // Limit equilibrium finds the embedment: its moment and forces are those
  // of the wall at the factored equilibrium, not the effects the section is
  // sized for, which the analysis of the wall gives.
  if (!p.le.error)
    out << "   the moment and forces above are limit equilibrium's at the factor of safety;\n"
        << "   the section is checked with the analysed wall's (Section, Design Situations)\n";

  const SpringFactor& f = p.spring;
  if (!p.springRun) {
    out << "   spring model: not used, " << p.skipped << "\n";
  } else if (f.error) {
    out << "   spring model: " << *f.error << "\n";
  } else if (f.factor) {
    out << "   spring model, strength-reduction factor " << Four(*f.factor) << "\n"
        << "      " << FailureCriterionText(f, u.length) << "\n"
        << "      beyond it: " << f.failure << "\n";
  } else {
    out << "   spring model, strength-reduction factor "
        << (f.bound > 0 ? "above " + Four(kHighestReduction)
                        : "below " + Four(kLowestReduction) + " (" + f.failure + ")")
        << "\n"
        << "      " << FailureCriterionText(f, u.length) << "\n";
  }
  if (!p.shortestRun) return out.str();
  const ShortestWall& w = p.shortest;
  if (w.error) {
    out << "   shortest wall: " << *w.error << "\n";
  } else if (!w.tipDepth) {
    out << "   shortest wall: no tip within the soil profile holds the wall\n"
        << "      at the bottom of the profile: " << w.failure << "\n";
  } else {
    // A sequence: the largest over its stages.
    double largest = 0, moment = 0;
    for (const auto* result : ResultsOf(w))
      for (const auto& s : result->stations) {
        largest = std::max(largest, std::fabs(s.deflection));
        if (std::fabs(s.moment) > std::fabs(moment)) moment = s.moment;
      }
    out << "   shortest wall (spring model)   tip at " << Four(*w.tipDepth) << " " << u.length
        << "\n"
        << "      " << w.increments << " increments of " << Four(w.incrementLength) << " "
        << u.length << " (" << (w.incrementsKept ? "increments kept" : "increment length kept")
        << ", to " << Four(w.resolution) << " " << u.length << ")\n";
    out << "      largest deflection " << Four(largest) << " " << u.length << ", largest "
        << Kind(p) << "moment " << Effect(p, moment, u.wallMoment) << Characteristic(p, moment)
        << "\n";
    // The run at the target factor is the one the wall's length is held to
    // when the wall a step shorter fails it.
    if (w.targetDeflection)
      out << "      at the strength reduction " << Four(w.targetFactor)
          << (w.targetGoverns ? ", which governs" : "") << ": largest deflection "
          << Four(*w.targetDeflection) << " " << u.length << "\n";
  }
  if (!w.error && !w.note.empty()) out << "      note: " << w.note << "\n";
  return out.str();
}

std::optional<ApproachDesign> PrepareApproachDesign(std::string_view dataText, const FactorSet& set,
                                                    DesignRequest request, std::string& error,
                                                    const SequentialPlan* plan) {
  // A sequence's stages each get their own unplanned excavation, not the
  // wall before construction.
  SituationOptions options;
  options.unplannedExcavation = plan == nullptr;
  const std::optional<FactoredData> factored = ApplyFactorSet(dataText, set, options, error);
  if (!factored) return std::nullopt;
  request.fsMethod = FsMethod::Passive;
  request.fs = set.gammaG * set.gammaRe;
  request.effectFactor = set.gammaG;
  // A seismic situation designs the embedment while the ground shakes.
  if (set.seismic) request.seismic = set.seismic;
  char factor[32];
  std::snprintf(factor, sizeof factor, "%.6g", request.fs);
  if (request.fs < 1) {
    error = set.name + ": the passive resistance would be divided by gammaG·gammaRe = " + factor +
            ", below 1";
    return std::nullopt;
  }
  ApproachDesign out{factored->text, request, {}};
  out.note = "Design approach " + set.name +
             ": the design soil and actions, the passive resistance divided by gammaG·gammaRe = " +
             factor + "\n";
  for (const std::string& note : factored->notes) out.note += "note: " + note + "\n";
  if (plan) {
    std::vector<double> added;
    out.plan = FactorSequence(*plan, factored->text, set, {}, added, error);
    if (!out.plan) return std::nullopt;
    for (size_t k = 0; k < added.size(); ++k)
      if (added[k] > 0)
        out.note += "note: stage " + std::to_string(k + 1) + ": the excavation deepened by " +
                    Four(added[k]) + " for an unplanned excavation\n";
  }
  return out;
}

}  // namespace terraq::design
