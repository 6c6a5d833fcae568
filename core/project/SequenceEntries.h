#pragma once
// The entries of the Construction Sequence window's cells that are lists
// (design/SequentialStaging.h): the supports a stage installs or removes,
// "A1, S2", and the loads it sets, "load.1 = 20, load.2 = 0". Each is read
// whole and refused whole, with the reason, so that nothing a user typed is
// taken in part.
//
// Thread safety: pure functions on values.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "SequentialStaging.h"

namespace terraq::ui {

// The names of a comma list, each one of `supports` (exactly as named);
// empty for a blank text. Nullopt with `error` for an unknown or repeated
// name.
std::optional<std::vector<std::string>> ReadSupportNames(
    std::string_view text, const std::vector<design::StagedSupport>& supports, std::string& error);
std::string SupportNamesText(const std::vector<std::string>& names);

// The loads of a comma (or semicolon) list of "load.N = value" (or
// "N = value"); empty for a blank text. Nullopt with `error` for a malformed
// entry, a value that is not a number, a row given twice, or a row the data
// text's concentrated loads do not have (`dataText` is the project's; its
// rows are numbered from 1).
std::optional<std::vector<std::pair<std::string, double>>> ReadStageLoads(std::string_view text,
                                                                          std::string_view dataText,
                                                                          std::string& error);
// The load.N values among a stage's values, as ReadStageLoads reads them.
std::string StageLoadsText(const std::vector<std::pair<std::string, double>>& values);

// A number as a cell shows it: up to 7 significant digits, no negative zero.
std::string SequenceNumberText(double value);

}  // namespace terraq::ui
