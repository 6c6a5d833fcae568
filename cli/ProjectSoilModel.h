#pragma once
// The soil model a project analyses its wall with, as the design and study
// commands hand it to the design library (design/SoilModel.h): the one place
// the commands learn it from the project file beside the data file.
//
// Units: the data file's. Thread safety: reads the project file.

#include <optional>
#include <string>
#include <string_view>

#include "SoilModel.h"

namespace terraq::cli {

// The soil model the project file beside `dataFile` chose, for analyses of
// `engineText` (the data text the designs start from): the p-y model
// without the member. Nullopt with `error` when the project file cannot be
// used, or its layers do not fit the text's.
std::optional<design::SoilModel> ProjectSoilModel(const std::string& dataFile,
                                                  std::string_view engineText, std::string& error);

}  // namespace terraq::cli
