#pragma once
// The soil models a layer of the data file names by its code: the table of
// the engine's public vocabulary (api/SoilModelTable.h).

#include "api/SoilModelTable.h"

namespace terraq::engine {

using api::SoilModel;

inline SoilModel SoilModelOfCode(int code) { return api::GeneratedModelOf(code).model; }

inline bool IsDrainedModel(SoilModel model) { return api::InfoOf(model).drained; }

}  // namespace terraq::engine
