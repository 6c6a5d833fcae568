#pragma once
// The overall stability's subsection of the package's section on the ground
// around the wall (PackageGround.cpp): the critical slip circle with its
// factor, circle, slices and figure, or that the check was not made and
// why. Apart from PackageParts.h so that its callers need not see the slip
// circle's types. Internal to the package's library.

#include <string_view>
#include <vector>

#include "Document.h"

namespace terraq::design {
struct SlipGround;
struct SlipSearchResult;
}  // namespace terraq::design

namespace terraq::report::detail {

// The subsection "Overall stability": with `overall` (a search without an
// error) found on `ground`, the method and its source, the circle, the
// factor and the figure; with a search error, the error; with `overall`
// null, that the check was not made and `skipped` why. `ground` may be null
// with `overall`: the figure is then left out. Units: the slip circle's
// (m, kN).
void AppendOverallStability(const design::SlipSearchResult* overall,
                            const design::SlipGround* ground, std::string_view skipped,
                            std::vector<Block>& blocks);

}  // namespace terraq::report::detail
