#include "GenerateEarthPressure.h"

#include <cmath>
#include <optional>
#include <string>

#include "EarthPressureReport.h"
#include "Layers.h"
#include "Overburden.h"
#include "PressureTable.h"
#include "SeismicStage.h"
#include "api/DescribeSoil.h"
#include "driver/ProblemUnits.h"
#include "seepage/ProblemSeepage.h"
#include "textio/FixedFormat.h"

namespace terraq::engine {

namespace {

// The increment methods' seismic pressure on the retained height, besides
// the static pressure.
void AddSeismicIncrement(PressureTable& table,
                         const std::optional<api::SeismicIncrement>& increment) {
  if (!increment) return;
  for (PressureRow& r : table.rows) {
    r.soil += increment->at(r.depth);
    r.total += increment->at(r.depth);
  }
}

bool Finite(const PressureRow& r) {
  return std::isfinite(r.depth) && std::isfinite(r.total) && std::isfinite(r.soil) &&
         std::isfinite(r.surcharge);
}

}  // namespace

std::vector<PressureRow> GenerateEarthPressure(RunFiles& files, const EngineModel& model) {
  const SoilData& soil = model.soil;
  const UnitLabels& labels = model.labels;
  const double gammaWater = UnitWeightOfWater(model.control.KUNITS);
  const LayerProfile profile = BuildLayerProfile(soil);

  WriteWallInformation(files.report, soil.wall, gammaWater, labels);
  WriteSurchargeInformation(files.report, soil, labels);
  WriteSoilInformation(files.report, profile, labels);
  // With too many layers the search for the excavation level is moot, so
  // that cause is named first.
  if (profile.tooManyLayers)
    StopWithMessage("ERROR STOP -- EARTH PRESSURE STOP CODE 2: MORE THAN 21 SOIL LAYERS AFTER "
                    "SPLITTING AT THE WATER TABLE AND THE EXCAVATION LEVEL");
  if (profile.excavationLayer == 0)
    StopWithMessage("ERROR STOP -- EARTH PRESSURE STOP CODE 1: NO SOIL LAYER STARTS AT THE FREE "
                    "HEIGHT OF THE WALL");

  CheckEarthPressureTheories(model);
  std::vector<EarthPressureCoefficients> coefficients;
  for (const GeneratorLayer& layer : profile.layers) {
    coefficients.push_back(GeneratorCoefficients(model, layer));
    TakeSeismicBackfill(model, layer, coefficients.back());
    if (coefficients.back().slopeWarning) {
      WriteSlopeWarning(files.report);
      WriteSlopeWarning(files.monitor);
    }
  }
  WriteCoefficients(files.report, coefficients);
  if (model.theories) WriteTheoryLine(files.report, *model.theories);
  if (model.seismic) WriteSeismicLine(files.report, *model.seismic);
  WriteSeepageLine(files.report, model);

  std::vector<double> overburden = EffectiveOverburden(profile, soil, gammaWater);
  TakeSeepageInOverburden(model, profile, overburden);
  WriteOverburden(files.report, profile, overburden, labels);

  const double spacing = PressureRowSpacing(profile, OneInch(model.control.KUNITS));
  // A guard only: the spacing fits any profile of finite depth.
  if (!(ConventionalRowCount(profile, spacing) <= kMaxEarthPressureRows)) StopTooMuchData();
  PressureInputs inputs{soil, profile, overburden, coefficients, gammaWater, spacing};
  if (model.seismic) inputs.kh = model.seismic->kh;
  if (model.seepageSolution) inputs.seepage = &*model.seepageSolution;
  PressureTable table = ConventionalPressureTable(inputs);
  if (model.seismic)
    AddSeismicIncrement(table, SeismicIncrementOf(model, api::DescribeSoil(model)));
  WriteLayerResultants(files.report, table.resultants, labels);
  WriteWaterResultants(files.report, table.resultants, labels);
  if (model.control.KEP == 3) ApplyApparentPressure(table, model.springRows);

  for (const PressureRow& r : table.rows)
    if (!Finite(r))
      StopWithMessage("ERROR STOP -- THE GENERATED EARTH PRESSURE IS NOT A FINITE NUMBER; CHECK "
                      "THE SOIL AND SURCHARGE DATA");
  return std::move(table.rows);
}

}  // namespace terraq::engine
