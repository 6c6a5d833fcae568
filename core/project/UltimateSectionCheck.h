#pragma once
// The ultimate-limit-state check of the wall's section: the section checked
// at every station with the design effects of each design situation (the
// moment, shear and axial force of the analysis with the set's partial
// factors, times gammaG), and the envelope of those checks, the largest
// utilisation at each station over the ultimate sets with the set that
// gives it. The check of the plain analysis (CheckAnalysis) is the
// characteristic one; this is the one a limit-state design is judged by.
//
// The serviceability sets are not checked: their effects are not design
// effects of the ultimate limit state.
//
// Units: the checks' effects and resistances in SI base units per wall unit
// (design::WallCheck), depths in the data file's length unit.
// Thread safety: pure functions.

#include <string>
#include <vector>

#include "DesignSituations.h"
#include "project/WallSection.h"

namespace terraq::ui {

// One ultimate set's check, per problem (stage) the set analysed. A problem
// whose results are not valid has its WallCheck::error say why.
struct SetSectionCheck {
  std::string set;
  std::vector<design::WallCheck> problems;
};

// A problem's envelope: at each station the set's check of largest
// utilisation (the first in the sets' order of equals), its largest over
// the wall and the set that governs it.
struct EnvelopeSectionCheck {
  // Some ultimate set checked this problem. Without `valid` (an ultimate
  // set left out, design::EnvelopeProblem) the largest is not the envelope.
  bool checked = false;
  bool valid = false;
  design::WallCheck check;               // stations, largest, resistances
  std::vector<std::string> stationSets;  // per station, the set that governs it
  std::string set;                       // the set of the largest utilisation
};

struct UltimateSectionCheck {
  std::vector<SetSectionCheck> sets;           // the ultimate sets, in order
  std::vector<EnvelopeSectionCheck> envelope;  // per problem
};

// The checks of `results` with `used`. `data` holds the facts of the data
// text the sets were applied to (its units and wall unit width; the stages
// of a construction sequence share its one problem's).
UltimateSectionCheck CheckDesignSituations(const std::vector<design::SituationResult>& results,
                                           const std::vector<design::EnvelopeProblem>& envelope,
                                           const SectionedData& data, const SectionInUse& used);

// The problem of the largest envelope utilisation; -1 when none is checked.
int GoverningEnvelopeProblem(const UltimateSectionCheck& check);

}  // namespace terraq::ui
