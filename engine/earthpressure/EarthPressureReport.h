#pragma once
// The report sections of the earth-pressure generator, in the order the
// generator writes them: the echo of the wall, surcharge and soil data, the
// coefficients, the overburden stress and the resultants of each layer.
// Layout as the engine's other sections: star boxes, six-column indents,
// E10.3 columns, unit labels from the model's label pieces.

#include <vector>

#include "Coefficients.h"
#include "Layers.h"
#include "PressureTable.h"
#include "driver/EngineModel.h"
#include "textio/TextOut.h"

namespace terraq::engine {

void WriteWallInformation(TextOut& report, const WallRecord& wall, double gammaWater,
                          const UnitLabels& labels);
void WriteSurchargeInformation(TextOut& report, const SoilData& soil, const UnitLabels& labels);
void WriteSoilInformation(TextOut& report, const LayerProfile& profile, const UnitLabels& labels);

// The backfill-slope warning; written to the report and to the monitor file.
void WriteSlopeWarning(TextOut& out);

void WriteCoefficients(TextOut& report, const std::vector<EarthPressureCoefficients>& k);
// Under the coefficients, when the caller chose the faces' theories: the
// backfill's method and wall friction, e.g. "BACKFILL BY COULOMB, WALL
// FRICTION DELTA/PHI =  0.670", and "EXCEPT LAYERS OF THEIR OWN DELTA" when
// layers have theirs.
void WriteTheoryLine(TextOut& report, const api::EarthPressureOptions& options);
// Under them while the ground shakes: "SEISMIC BY MONONOBE-OKABE, KH =  0.150,
// KV =  0.000".
void WriteSeismicLine(TextOut& report, const api::SeismicOptions& seismic);
void WriteOverburden(TextOut& report, const LayerProfile& profile, const std::vector<double>& stress,
                     const UnitLabels& labels);
// One row per tabulated layer; a layer in tension is marked "Net active
// pressure is negative.".
void WriteLayerResultants(TextOut& report, const std::vector<LayerResultants>& layers,
                          const UnitLabels& labels);
void WriteWaterResultants(TextOut& report, const std::vector<LayerResultants>& layers,
                          const UnitLabels& labels);

}  // namespace terraq::engine
