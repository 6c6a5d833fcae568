#pragma once
// terraq design --berm H,W,S: a berm against the excavation face, which the
// limit equilibrium counts by the raised excavation level (design/Berm.h),
// checked by trial wedges through the berm on the design's embedment; its
// text line and JSON member, printed only when the option is given.

#include <optional>
#include <string>
#include <string_view>

#include "DesignReport.h"
#include "api/SoilDescription.h"

namespace terraq::cli {

// "2,3,1.5": height, top width, side slope; empty unless three numbers.
std::optional<design::Berm> ParseBerm(std::string_view value);

// Why the berm cannot stand in front of one of the problems' walls:
// "problem 2: The berm ...". Empty when it can in every one.
std::string BermRefusalOf(const engine::api::SoilDescriptions& soils, const design::Berm& berm);

// The berm's line of problem `p` (designed from `soil`), or empty without a berm.
std::string BermLine(const design::ProblemDesign& p, const engine::api::SoilDescription& soil,
                     const design::DesignRequest& request);
// ",\n   \"berm\": {...}", or empty without a berm.
std::string BermJson(const design::ProblemDesign& p, const engine::api::SoilDescription& soil,
                     const design::DesignRequest& request);

}  // namespace terraq::cli
