#pragma once
// Where each soil parameter of a layer stands on the parameter lines of the
// data file: per soil type (1-based code) and line position, the column of
// the layer's parameter table, from the engine's table of soil models
// (api/SoilModelTable.h), whose parameters are listed in the columns' order.

#include "api/SoilModelTable.h"

namespace terraq::ui {

inline constexpr int kParameterPositions = static_cast<int>(engine::api::kLayerLinePositions);

// The column at a position for a soil type, -1 for none (also for a code
// no model has).
inline int SoilParameterColumn(int soilType, int position) {
  const engine::api::SoilModelInfo* model = engine::api::FindSoilModel(soilType);
  if (!model || position < 0) return -1;
  const engine::api::SoilParameter* p = model->at(static_cast<size_t>(position));
  return p ? static_cast<int>(p - model->parameters.data()) : -1;
}

}  // namespace terraq::ui
