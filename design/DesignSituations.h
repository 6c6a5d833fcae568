#pragma once
// Design situations: the wall analysed once per set of partial factors
// (PartialFactors.h) on every stage, with the design values written into
// the data of each run, and the envelope of the design effects with the set
// that governs each.
//
// A set acts on the data text as the technical manual's "Design situations"
// states: the soil's strength divided (tan φ', c', su, qu, unit weight) in
// every layer, so that earth pressure and p-y curves are generated from the
// design soil; the variable actions (the uniform surcharge, the surcharge
// loads, the lateral loads and couples of the load table) multiplied by
// gammaQ / gammaG; the excavation deepened by the unplanned excavation where
// the set calls for it; and the analysis' moments, shears and support
// forces multiplied by gammaG. Pressures and p-y curves the data file
// specifies itself are not the soil's strength and are not divided. A
// seismic set (FactorSet::seismic) is analysed with its shaking in place of
// the project's (SoilModel::seismic); without kh above 0 it is refused.
//
// A construction sequence (SequentialStaging.h) is factored before its
// stages are built, so that every stage sees the design soil: the data text
// before construction as above, the surcharge and loads the stages set as
// the data file's own, and the unplanned excavation under every stage's
// excavation level. A support's prestress is the force it is locked off at,
// not an action: it is not factored.
//
// Units: those of the data file throughout. Thread safety: pure functions.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "PartialFactors.h"
#include "SequentialStaging.h"
#include "SoilModel.h"

namespace terraq::design {

struct SituationOptions {
  // The unplanned excavation of the sets that call for it; the engineer may
  // turn it off (a wall whose excavation level is controlled).
  bool unplannedExcavation = true;
  // A minimum uniform surcharge on the retained side, in the data file's
  // unit of the surcharge pressure (lb/in² or kPa), taken as a
  // characteristic variable action before the factors.
  std::optional<double> minimumSurcharge{};
  // The soil model every set's wall is analysed with; the sets factor the
  // soil's strength in the data text either way.
  SoilModel soil{};
};

// A soil parameter of a layer, as the data file gives it and as the set
// makes it (the layer's top row; its bottom row is divided alike).
struct DesignSoilValue {
  int problem = 0;   // from 1
  int layer = 0;     // from 1
  std::string name;  // gamma, phi, c, su or qu (the names of the study parameters)
  double characteristic = 0;
  double design = 0;
};

// The data text of one set: the design values in place.
struct FactoredData {
  std::string text;
  std::vector<DesignSoilValue> soil;
  // Per problem, the depth the excavation was deepened by (0 without).
  std::vector<double> excavationAdded;
  // What the engineer must know: factors that have nothing to act on in
  // this data file ("DA1-2: the soil factors have nothing to act on: the
  // data file gives its earth pressure and p-y curves itself").
  std::vector<std::string> notes;
};

// Nullopt with `error` when the set is not usable (FactorSetError), the
// text cannot be walked, a design value is impossible (a friction angle or
// strength below 0), or a minimum surcharge is asked of a data file without
// generated earth pressure.
std::optional<FactoredData> ApplyFactorSet(std::string_view dataText, const FactorSet& set,
                                           const SituationOptions& options, std::string& error);

// A value along the wall with the depth where its magnitude is largest (the
// shallowest of equals), and the set it comes from.
struct Governed {
  double value = 0;
  double depth = 0;
  std::string set;
};

// A support of a construction sequence in one stage: its design force
// (times gammaG) along one support, positive when it holds the wall back
// (an anchor's tension, a strut's compression).
struct NamedSupportEffect {
  std::string name;
  double depth = 0;
  double force = 0;
  std::string set;
  int stage = 0;  // from 1
};

struct SupportEffect {
  int station = 0;
  double depth = 0;
  double force = 0;  // on the wall, positive towards the excavation
  std::string set;
};

// The design effects at one station: the moment, shear and axial force
// times gammaG, the deflection as analysed. At a support or a point load the
// shear steps: `shearAbove` and `shearBelow` are its two sides (equal
// elsewhere). The axial force is the one the wall carries (WallAxialForces:
// the load table's rows and the concentrated axial loads above), tension
// positive as the load table gives it.
struct DesignStation {
  double depth = 0;
  double moment = 0;
  double shearAbove = 0, shearBelow = 0;
  double deflection = 0;
  double axial = 0;
};

// One problem (stage) analysed with one set: design effects (times gammaG)
// and the deflections as analysed.
struct SituationProblem {
  bool valid = false;  // closed, and the results are the wall's
  std::string fault;   // why not, in the report's words; empty when valid
  Governed moment, shear, topDeflection, deflection;
  std::vector<SupportEffect> supports;
  std::vector<DesignStation> stations;
  // A construction sequence's supports acting in this stage, top down.
  std::vector<NamedSupportEffect> sequenceSupports;
};

struct SituationResult {
  FactorSet set;
  std::string error;  // the set could not be applied or analysed; nothing else is set
  // For a construction sequence, `data` is the data text before
  // construction and its excavationAdded is per stage.
  FactoredData data;
  std::vector<SituationProblem> problems;
  // A construction sequence's stage names; empty without one.
  std::vector<std::string> stageNames;
};

// The plan of a construction sequence as `set` makes it over
// `factoredText`, the data text before construction with the set applied
// (its unplanned excavation left out): the surcharge (no less than the
// minimum surcharge) and loads the stages set times gammaQ / gammaG, and,
// where the set calls for it, every stage's excavation level set deeper by
// its unplanned excavation, put in `excavationAdded` per stage. Nullopt with
// `error` when the sequence cannot be built or an unplanned excavation
// would reach below the wall's tip.
std::optional<SequentialPlan> FactorSequence(const SequentialPlan& plan,
                                             std::string_view factoredText, const FactorSet& set,
                                             const SituationOptions& options,
                                             std::vector<double>& excavationAdded,
                                             std::string& error);

// Every set applied and analysed in memory, in the order given; with a
// `sequence`, the data text is the wall before construction and each set
// analyses the sequence's stages one after the other.
std::vector<SituationResult> RunDesignSituations(std::string_view dataText,
                                                 const std::vector<FactorSet>& sets,
                                                 const SituationOptions& options,
                                                 const SequentialPlan* sequence = nullptr);

// Per problem, the largest design effects over the ultimate sets (those not
// for serviceability) with the set that governs each, and the deflections
// of the serviceability sets. A problem no ultimate set analysed validly
// has `checked` false.
//
// The largest of some ultimate sets is not the envelope: a set left out
// (its analysis did not close, stopped, or has no results of the problem)
// may be the one that governs, and its effects are usually the larger for
// it. Such a problem is not `valid` and names the sets in `leftOut`. A
// serviceability set that fails is told in `invalid` but leaves the
// ultimate envelope valid.
struct EnvelopeProblem {
  bool checked = false;
  bool valid = false;                // checked, and no ultimate set left out
  std::vector<std::string> leftOut;  // the ultimate sets left out, by name
  Governed moment, shear;
  std::vector<SupportEffect> supports;  // per station, the largest force
  std::optional<Governed> topDeflection, deflection;
  // Sets whose results of this problem are not valid, and why.
  std::vector<std::string> invalid;
};
std::vector<EnvelopeProblem> EnvelopeOf(const std::vector<SituationResult>& results);

// True when every problem's envelope is valid (and there is one).
bool EnvelopeValid(const std::vector<EnvelopeProblem>& envelope);
// The ultimate sets left out of any problem's envelope, each once, in the
// order first met.
std::vector<std::string> SetsLeftOut(const std::vector<EnvelopeProblem>& envelope);

// The supports of a construction sequence: per support, in the order they
// first act, the design force of largest magnitude over the stages and the
// ultimate sets' valid results, with the set and stage it comes from.
std::vector<NamedSupportEffect> SupportEnvelopeOf(const std::vector<SituationResult>& results);

// The effects the envelope is searched for.
enum class DesignEffect { Moment, Shear, Deflection };
// The problem (stage) of the envelope where `effect` is largest: the design
// moment or shear of the ultimate sets, the deflection of the serviceability
// sets (of the ultimate sets when no serviceability set was analysed).
// Nullopt when no problem has it.
std::optional<size_t> GoverningProblem(const std::vector<EnvelopeProblem>& envelope,
                                       const std::vector<SituationResult>& results,
                                       DesignEffect effect);

}  // namespace terraq::design
