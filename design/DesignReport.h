#pragma once
// The whole design of one problem of a data file, as terraq design and the
// Design window show it: the limit-equilibrium design, the spring model's
// strength-reduction factor and the shortest wall, and their text.
//
// Units: those of the data file. Thread safety: no shared state.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "LimitEquilibrium.h"
#include "PartialFactors.h"
#include "SequentialStaging.h"
#include "SpringModel.h"
#include "api/SoilDescription.h"

namespace terraq::design {

struct DesignRequest {
  std::optional<Method> method;  // empty: free earth with an anchor row, else fixed earth
  FsMethod fsMethod = FsMethod::Strength;
  double fs = 1.0;  // also the strength reduction the shortest wall must reach
  std::optional<double> embedmentFactor;
  double resolution = 0;  // L; 0: the default of the units
  HoldCriteria limits;
  // When the spring model's strength reduction takes the wall to fail.
  FailureCriterion criterion = FailureCriterion::Deflection;
  // A design approach's factor on the effects of actions, gammaG (set by
  // PrepareApproachDesign): the anchor forces and moments the design finds
  // are characteristic, their design values these times gammaG. Unset: a
  // design by a factor of safety, whose forces are characteristic only.
  std::optional<double> effectFactor{};
  // The soil model of the spring-model designs (the factor of safety by
  // strength reduction and the shortest wall); the limit equilibrium is
  // the classical one on either model.
  SoilModel soil{};
  // The earth-pressure theory of each face in every limit equilibrium
  // (DesignOptions); by default Rankine's, without wall friction.
  FaceTheory backfillTheory{}, excavationTheory{};
  // Set: the limit equilibrium while the ground shakes; the spring model,
  // whose loads are static, is then not used.
  std::optional<SeismicChoice> seismic{};

  bool defaultTheories() const {
    return backfillTheory.isGenerators() && excavationTheory.isGenerators() && !seismic;
  }
};

// The options of a limit-equilibrium design as `request` asks for them, its
// method aside (the problem's or the stage's supports settle it).
DesignOptions LimitEquilibriumOptions(const DesignRequest& request);

// "backfill Coulomb with delta/phi' 0.667, excavation Rankine", empty when
// both faces are Rankine's without wall friction; FaceTheoryLine is
// "earth pressure: " before it and a line end after it, or empty.
std::string FaceTheoryWords(const DesignRequest& request);
std::string FaceTheoryLine(const DesignRequest& request);

// The horizontal coefficients a face's theory gives one layer, at the
// strength the design's factor form takes (tan phi'/F under the strength
// form, the soil's own otherwise); NaN where the generator's are kept.
struct LayerCoefficients {
  int layer = 0;
  engine::api::Side face = engine::api::Side::Backfill;
  engine::api::EarthPressureMethod method = engine::api::EarthPressureMethod::Rankine;
  double Kah = 0, Kph = 0;
  // Set: the coefficients are this seismic method's, the static theory's
  // wall friction in them.
  std::optional<engine::api::SeismicMethod> seismic{};
};
// Every layer of each face with a theory of its own, backfill first; a face
// left to Rankine without wall friction keeps the generator's coefficients
// and is not listed.
std::vector<LayerCoefficients> CoefficientsUsed(const engine::api::SoilDescription& soil,
                                                const DesignRequest& request);
// Why the spring model's factor of safety and shortest wall are not sought
// for `soil` (no soil layers; a seismic design, as the spring model's loads
// are static), or empty.
std::string SpringModelSkipped(const engine::api::SoilDescription& soil,
                               const DesignRequest& request);
// Why `request`'s theories cannot design `soil` (the first face and layer
// refused), or empty.
std::string FaceTheoryRefusal(const engine::api::SoilDescription& soil,
                              const DesignRequest& request);

// One stage of a construction sequence designed by limit equilibrium as a
// wall of its own: its excavation, water, surcharge and the supports in
// place (SequenceDesign.h).
struct StageDesign {
  std::string name;
  double excavation = 0;
  std::vector<std::string> supports;  // in place, top down
  DesignResult le;
};

// The largest force of one support over the stages it anchors the
// free-earth design of, and that stage (0-based).
struct SupportDesignForce {
  std::string name;
  double depth = 0;
  double force = 0;  // F/L
  size_t stage = 0;
};

struct ProblemDesign {
  std::string title;
  int units = 0;
  DesignResult le;
  bool springRun = false;  // false: no soil layers to reduce or search in
  SpringFactor spring;
  bool shortestRun = false;
  ShortestWall shortest;
  std::string skipped;  // why the spring model was not used

  // A construction sequence: every stage's limit equilibrium (`le` is then
  // that of the governing stage, the one with the deepest recommended tip),
  // the largest anchor force per support and the largest moment over the
  // stages with their stage. Empty for a problem without a sequence.
  std::vector<StageDesign> stages;
  size_t governingStage = 0;
  std::vector<SupportDesignForce> supportForces;
  size_t momentStage = 0;

  // The request's effectFactor: with it, every anchor force and moment
  // above is characteristic and its design value is Design(value).
  std::optional<double> effectFactor{};
  // The design value of a characteristic force or moment (the value itself
  // without an effect factor).
  double Design(double characteristic) const {
    return effectFactor ? *effectFactor * characteristic : characteristic;
  }

  // Every part designed (notes aside), every stage of a sequence.
  bool designed() const { return errorMessage().empty(); }
  // The first error of the parts; empty when designed.
  std::string errorMessage() const;
};

// The design of problem `index` of `dataText`, whose soil is `soil`.
ProblemDesign DesignProblem(std::string_view dataText, int index,
                            const engine::api::SoilDescription& soil, const DesignRequest& request);

// An embedment design by a set of partial factors: the data text with the
// set's design soil and actions written in (ApplyFactorSet, with the
// unplanned excavation where the set calls for it), and the request with
// the passive resistance divided by gammaG·gammaRe, the factor of safety on
// the passive pressure, and gammaG as the factor on the effects (the
// anchor forces and moments found are characteristic; times gammaG they
// are the design effects, as the design situations give theirs). `note` is what the design is
// headed with: the set, the factor and what the set could not act on.
struct ApproachDesign {
  std::string text;
  DesignRequest request;
  std::string note;
  // A construction sequence's plan as the set makes it (FactorSequence: its
  // stages' surcharge and loads factored, each stage's own unplanned
  // excavation); `text` is then the wall before construction without one.
  std::optional<SequentialPlan> plan{};
};
// Nullopt with `error` when the set cannot be applied to the data text or
// the sequence `plan` (when given), or gammaG·gammaRe is below 1 (the
// passive resistance would be increased).
std::optional<ApproachDesign> PrepareApproachDesign(std::string_view dataText, const FactorSet& set,
                                                    DesignRequest request, std::string& error,
                                                    const SequentialPlan* plan = nullptr);

// The units of a problem's values (api/Units.h): "in", "lbs/in", "lbs-in/in",
// the analysis' "lbs-in" and "lbs/in^2" for English; "m", "kN/m", "kN-m/m",
// "kN-m" and "kN/m^2" for SI.
struct DesignUnits {
  std::string length, force, moment, wallMoment, pressure;
};
DesignUnits DesignUnitsOf(int unitsCode);

// The design as lines of text, numbered from `number`, four significant
// digits. With an effect factor the anchor forces and moments are given as
// design values, each line ending with the characteristic value.
std::string DesignText(const ProblemDesign& design, int number);

}  // namespace terraq::design
