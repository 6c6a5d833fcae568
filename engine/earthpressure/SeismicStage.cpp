#include "SeismicStage.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <string>
#include <vector>

#include "api/DescribeSoil.h"
#include "api/SeismicFaces.h"

namespace terraq::engine {

namespace {

std::string Capitals(std::string text) {
  for (char& ch : text) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  return text;
}

// A message said once in a run, however many of its stages shake.
void SayOnce(std::vector<std::string>& messages, const std::string& message) {
  if (std::find(messages.begin(), messages.end(), message) == messages.end())
    messages.push_back(message);
}

}  // namespace

std::optional<api::SeismicOptions> ProblemSeismic(const std::optional<api::SeismicOptions>& run,
                                                  const api::SequentialOptions* sequential,
                                                  int problem) {
  if (sequential && problem >= 1) {
    const auto k = static_cast<size_t>(problem - 1);
    if (k < sequential->stageSeismic.size() && sequential->stageSeismic[k])
      return sequential->stageSeismic[k];
  }
  return run;
}

void TakeSeismicCoefficients(RunFiles& files, EngineModel& model) {
  if (!model.seismic) return;
  // The shaking acts through the pressures the engine makes from the soil
  // layers; a table of the data file's own has no layers to shake.
  if (!model.subgradeModel && model.control.KEP < 2)
    StopWithMessage(
        "ERROR STOP -- THE SEISMIC EARTH PRESSURE IS GENERATED FROM THE SOIL LAYERS: THE DATA "
        "FILE SPECIFIES ITS OWN EARTH PRESSURE OR NONE");
  // A wall friction the soil cannot hold is the theories' fault, named first.
  CheckEarthPressureTheories(model);
  // The layers' strength and wall friction are reduced already as read.
  const api::SoilDescription soil = api::DescribeSoil(model);
  const api::EarthPressureOptions faces = model.theories.value_or(api::EarthPressureOptions{});
  if (!api::SeismicPerLayer(model.seismic->method)) {
    const api::SeismicIncrementResult r = api::RetainedHeightIncrement(soil, faces, *model.seismic);
    if (!r.value) StopForOptionFault(r.message);
    SayOnce(files.messages,
            "NOTE: THE SEISMIC INCREMENT ACTS ON THE RETAINED HEIGHT; THE RESISTANCE IN FRONT IS "
            "STATIC");
  } else {
    const api::EarthPressureCheck check = api::CheckSeismicOptions(soil, faces, *model.seismic);
    if (check.error) StopForOptionFault(*check.error);
    model.seismicCoefficients = api::SeismicCoefficientsOf(soil, faces, *model.seismic);
    for (const std::string& note : check.notes) SayOnce(files.messages, "NOTE: " + Capitals(note));
  }
  if (!model.subgradeModel)
    SayOnce(
        files.messages,
        "WARNING: WHILE THE GROUND SHAKES THE SOIL RESISTANCE OF THE P-Y CURVES IS STATIC; ONLY "
        "THE EARTH PRESSURE ABOVE THE EXCAVATION LEVEL TAKES THE SHAKING");
}

std::optional<api::SeismicIncrement> SeismicIncrementOf(const EngineModel& model,
                                                        const api::SoilDescription& soil) {
  if (!model.seismic || api::SeismicPerLayer(model.seismic->method)) return std::nullopt;
  // Checked when the soil was read (TakeSeismicCoefficients).
  return api::RetainedHeightIncrement(soil, model.theories.value_or(api::EarthPressureOptions{}),
                                      *model.seismic)
      .value;
}

const api::SeismicLayerCoefficient* SeismicCoefficientOf(const EngineModel& model, api::Side side,
                                                         int number) {
  for (const api::SeismicLayerCoefficient& c : model.seismicCoefficients)
    if (c.side == side && c.number == number) return &c;
  return nullptr;
}

void TakeSeismicBackfill(const EngineModel& model, const GeneratorLayer& layer,
                         EarthPressureCoefficients& k) {
  if (!(layer.phi > 0.0)) return;  // no seismic wedge: the static pressures hold
  const api::SeismicLayerCoefficient* c =
      SeismicCoefficientOf(model, api::Side::Backfill, layer.number);
  if (!c) return;
  k.Ka = c->Kah;
  k.Kp = c->Kph;
  k.sqrtKa = std::sqrt(k.Ka);
  k.sqrtKp = std::sqrt(k.Kp);
}

}  // namespace terraq::engine
