#pragma once
// The ultimate-limit-state check of the wall's section in the summary of
// `terraq run --design-approach ... --section NAME`: per ultimate set and
// problem the largest utilisation with its depth and governing check, and
// per problem the envelope's with the set that governs it and the design
// effects checked there (core/project/UltimateSectionCheck.h).

#include <string>

#include "project/RunSummary.h"
#include "project/UltimateSectionCheck.h"

namespace terraq::cli {

// The lines appended to the text summary.
std::string UltimateCheckText(const ui::UltimateSectionCheck& check, const ui::SectionInUse& used,
                              int unitsCode);

// The value of the summary's member "sectionCheck":
//   {"name", "grade", "method", "limitState": "ultimate",
//    "sets": [{"name", "problems": [{"number", "utilisation",
//      "utilisationDepth", "governingCheck", "utilisationExceeded",
//      "checkError"}]}],
//    "envelope": [{"number", "valid", "utilisation", "utilisationDepth",
//      "governingCheck", "set", "utilisationExceeded", "utilisationEffects":
//      {"moment", "shear", "axialForce"}, "resistances": {"moment", "shear",
//      "axialForce"}}]}
// in the data file's units (the summary's "units"), per wall unit as
// analysed, the axial force positive in compression; null for what a
// problem not checked lacks.
std::string UltimateCheckJson(const ui::UltimateSectionCheck& check, const ui::SectionInUse& used,
                              int unitsCode);

// The standard-error lines of the problems whose envelope utilisation is
// above 1: an overstressed section is the wall's result, told plainly.
std::string UltimateCheckWarnings(const ui::UltimateSectionCheck& check,
                                  const ui::SectionInUse& used);

}  // namespace terraq::cli
