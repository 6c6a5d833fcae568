#pragma once
// The structural check in the run summary: the section used, and per
// problem the largest utilisation with its depth and governing check, as
// text lines and as JSON members. Depths and EI in the data file's units.

#include <string>

#include "project/RunSummary.h"
#include "project/WallSection.h"

namespace terraq::cli {

// The top-level JSON member's value:
//   {"name", "family", "grade", "method" ("eurocode"|"allowable"),
//    "applied": bool (the run put the section's EI in the analysis),
//    "notes": [strings]}
std::string SectionJson(const ui::SectionChecks& checks);

// The members appended to problem `index`'s JSON object (each after ",\n"):
//   "utilisation", "utilisationDepth": numbers or null,
//   "governingCheck": "bending"|"shear"|"combined" or null,
//   "utilisationExceeded": bool,
//   "utilisationEffects": {"moment", "shear", "axialForce"} or null, the
//     effects checked at utilisationDepth in the data file's units, per wall
//     unit as analysed, the axial force positive in compression,
//   "sectionClass": 1..4 or null,
//   "unitWidth", "flexuralRigidity": numbers (the wall unit and its EI),
//   "checkNotes": [strings], "checkError": string or null.
std::string ProblemCheckJson(const ui::SectionChecks& checks, size_t index);

// The problem's lines of the text summary ("   utilisation  0.734  at depth
// 12.5 m  (bending; AZ18 in S355GP, class 2)"), the effects checked there
// ("   checked with   M 425.1 kN-m, V 40 kN, N 1600 kN (compression)"), a
// line saying plainly that the section is overstressed when it is.
std::string ProblemCheckText(const ui::SectionChecks& checks, size_t index,
                             const ui::ResultUnits& units);

}  // namespace terraq::cli
