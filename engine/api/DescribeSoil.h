#pragma once
// The soil of the problem an engine model has read, described as
// ReadSoilDescriptions gives it (SoilDescription.h): the one place the
// engine's soil data become the rules of PressureAt, for the design library
// and for the engine's own subgrade-reaction springs alike.

#include "SoilDescription.h"
#include "driver/EngineModel.h"

namespace terraq::engine::api {

SoilDescription DescribeSoil(const EngineModel& model);

}  // namespace terraq::engine::api
