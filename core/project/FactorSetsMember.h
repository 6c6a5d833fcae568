#pragma once
// The sets of partial factors a project keeps beside its data file, as the
// project file's member "designSituations":
//   {"sets": [{"name": "DA1-2 (UK)", "description": "...", "gammaG": 1.0,
//              "gammaQ": 1.3, "gammaPhi": 1.25, "gammaC": 1.25, "gammaCu": 1.4,
//              "gammaQu": 1.4, "gammaGamma": 1.0, "gammaRe": 1.0,
//              "unplannedExcavation": true, "serviceability": false,
//              "seismic": {"method": "mononobe-okabe", "kh": 0.2, "kv": 0.1}}, ...],
//    "chosen": ["DA1-1", "DA1-2", "SLS"], "unplannedExcavation": true,
//    "minimumSurcharge": 10}
// A set named as a shipped one replaces it (a national annex's values); an
// absent factor is 1 (gammaEH, the active earth pressure's own factor, is
// written only when it is not, as are gammaRHeave and gammaRSlip, the
// ground checks' resistance factors; "seismic", the shaking of a seismic design
// situation, only for such a set). "chosen" names the sets the project is designed with
// (the program's Design Situations and the calculation package), and the
// two options are SituationOptions (the surcharge in the data file's unit).
// Members the reader does not know are kept.

#include <optional>
#include <string>
#include <vector>

#include "DesignSituations.h"
#include "PartialFactors.h"
#include "project/ProjectFile.h"

namespace terraq::ui {

// The project's sets; empty without the member; nullopt with `error` when
// it is malformed (a set without a name, a factor that is not a number
// above 0, two sets of one name).
std::optional<std::vector<design::FactorSet>> ReadFactorSets(const ProjectFile& project,
                                                             std::string& error);
// Sets the member's "sets" (other members of it kept); an empty list
// removes the sets, and the member when nothing else is left in it.
void SetFactorSets(ProjectFile& project, const std::vector<design::FactorSet>& sets);

// What the project is designed with: its own sets, the names chosen, the
// options.
struct DesignSituationsChoice {
  std::vector<design::FactorSet> sets;
  std::vector<std::string> chosen;
  design::SituationOptions options;
  bool operator==(const DesignSituationsChoice&) const;
};
// Nullopt with an empty `error` without the member; nullopt with `error`
// when it is malformed (as ReadFactorSets, a chosen name no set has, an
// option of the wrong type or a negative surcharge).
std::optional<DesignSituationsChoice> ReadDesignSituations(const ProjectFile& project,
                                                           std::string& error);
// Writes the whole member (other members of it kept).
void SetDesignSituations(ProjectFile& project, const DesignSituationsChoice& choice);
// The chosen sets, resolved (the project's own before the shipped ones).
std::vector<design::FactorSet> ChosenSets(const DesignSituationsChoice& choice);

// The set named `name` (ignoring case): the project's first, then the
// shipped ones; nullopt when neither has it.
std::optional<design::FactorSet> FindFactorSet(const std::vector<design::FactorSet>& projectSets,
                                               const std::string& name);

}  // namespace terraq::ui
