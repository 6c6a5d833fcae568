#pragma once
// Named sets of partial factors for the design of an embedded wall: the
// design approaches of the Eurocode for geotechnical design (EN 1997-1:2004
// Annex A, recommended values), a characteristic set for serviceability, a
// load and resistance factor set of American highway practice (AASHTO LRFD
// Bridge Design Specifications, 9th edition 2020, Tables 3.4.1-1/-2 and
// 11.5.7-1), the seismic design situations of both (EN 1998-5:2004 3.1(3)
// with EN 1990:2002 6.4.3.4; AASHTO Extreme Event I with 11.5.8), and the
// engineer's own.
//
// How the factors act in an analysis of a wall on soil springs (see
// DesignSituations.h and the technical manual's "Design situations"):
//  - gammaG multiplies the effects (moments, shears, support forces) of the
//    analysis: the wall's loads are earth and water pressure, permanent
//    actions, and factoring their effects is the form EN 1997-1
//    2.4.7.3.2(2) allows (the earth pressure of a spring model is not an
//    input to factor: it comes from the soil);
//  - gammaQ is the factor of the variable actions (surcharges, the loads of
//    the data file); the analysis takes them times gammaQ / gammaG, so that
//    their effects come out times gammaQ;
//  - the soil's strength is divided before earth pressure and p-y curves
//    are generated from it: tan φ' by gammaPhi, c' by gammaC, su by
//    gammaCu, a rock's qu by gammaQu, the unit weight by gammaGamma;
//  - gammaRe divides the passive (earth) resistance in the embedment design
//    (limit equilibrium), not the springs of the analysis;
//  - gammaEH multiplies the active earth pressure of the soil alone (the
//    wall configuration's active pressure factor), on top of gammaG: a code
//    that factors earth and water pressure apart (AASHTO: EH 1.50, WA 1.00)
//    puts its water factor in gammaG and EH / WA in gammaEH. 1 in the
//    Eurocode's sets, which factor both alike;
//  - `seismic`, when set, makes the set a seismic design situation: its
//    analysis takes the pseudo-static earth pressure of the shaking
//    (SoilModel::seismic, api/SeismicOptions.h) and its limit-equilibrium
//    embedment the same (DesignRequest::seismic). The coefficients kh and
//    kv are the engineer's, of the site: the shipped seismic sets carry
//    kh = 0 until the project sets it, and a seismic set without kh > 0 is
//    refused when it is run (SeismicSetError), never taken as static.
//
// Thread safety: values; pure functions.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "api/SeismicOptions.h"

namespace terraq::design {

struct FactorSet {
  std::string name{};         // "DA1-1", "DA1-2", "DA2", "DA3", "SLS", "LRFD", or the engineer's
  std::string description{};  // one line: the combination of the code
  double gammaG = 1.0;        // permanent actions (on effects)
  double gammaQ = 1.0;        // variable actions
  double gammaPhi = 1.0;      // on tan φ'
  double gammaC = 1.0;        // on c'
  double gammaCu = 1.0;       // on su
  double gammaQu = 1.0;       // on a rock's unconfined compressive strength
  double gammaGamma = 1.0;    // on the unit weight
  double gammaRe = 1.0;       // on the earth resistance (embedment design)
  double gammaEH = 1.0;       // on the active earth pressure alone, times gammaG
  // The ground checks' resistance factors (SituationGround.h): the factor
  // basal heave and the overall stability must reach on the set's design
  // values. 1: the design strengths carry the safety.
  double gammaRHeave = 1.0;
  double gammaRSlip = 1.0;
  // The unplanned excavation of an ultimate limit state: the excavation
  // deepened by 10 % of the retained height (of the height below the lowest
  // support of a supported wall), at most 0.5 m (EN 1997-1 9.3.2.2).
  bool unplannedExcavation = false;
  // A serviceability set: its deflections are the wall's.
  bool serviceability = false;
  // Set: a seismic design situation, the shaking it is analysed with.
  std::optional<engine::api::SeismicOptions> seismic{};

  bool operator==(const FactorSet&) const = default;
};

// The factor symbols as the command, the program and the JSON name them, in
// order: "gammaG", "gammaQ", "gammaPhi", "gammaC", "gammaCu", "gammaQu",
// "gammaGamma", "gammaRe", "gammaEH".
const std::vector<std::string_view>& FactorSymbols();
// The ground checks' factors, apart from FactorSymbols (which the tables of
// factors list) and written only where a set differs from 1:
// "gammaRHeave", "gammaRSlip". FactorOf knows them too.
const std::vector<std::string_view>& GroundFactorSymbols();
// The factor of `set` under a symbol; nullptr for an unknown symbol.
double* FactorOf(FactorSet& set, std::string_view symbol);
double FactorOf(const FactorSet& set, std::string_view symbol);

// The static sets the program ships, in order: DA1-1, DA1-2, DA2, DA3, SLS,
// LRFD ("all" of the command).
const std::vector<FactorSet>& StandardFactorSets();
// The seismic sets it ships, kh = 0 until the project sets it: SEISMIC (EN
// 1997-1 with EN 1998-5) and LRFD-EE1 (Extreme Event I).
const std::vector<FactorSet>& SeismicFactorSets();
// Both, the static first.
std::vector<FactorSet> ShippedFactorSets();
// A shipped set by name (ignoring case); nullopt when there is none.
std::optional<FactorSet> StandardFactorSet(std::string_view name);

// Empty when the set can be used; else why not: a factor that is not a
// finite number above 0 ("DA1-2: gammaPhi must be a number above 0, not
// -1"), a set without a name, seismic coefficients out of their range (kh
// from 0 to below 1, kv between -1 and 1). Factors below 1 are the
// engineer's choice.
std::string FactorSetError(const FactorSet& set);

// Empty when a seismic set has its shaking (kh above 0) or the set is not
// seismic; else why it cannot be run ("SEISMIC: a seismic design situation
// needs the site's horizontal seismic coefficient kh above 0 ...").
std::string SeismicSetError(const FactorSet& set);

}  // namespace terraq::design
