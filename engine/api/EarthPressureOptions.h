#pragma once
// The earth-pressure theory a project chooses for each face of the wall, as
// the analysis and the design take it (AnalysisOptions::earthPressure):
// per face a method of EarthPressureTheories.h with the wall friction as a
// fraction of the soil's friction angle, and per soil layer, where given,
// the wall friction in degrees instead. Unset, the analysis is the
// generator's: Rankine's coefficients of a smooth wall.
//
// Thread safety: values only.

#include <optional>
#include <vector>

#include "EarthPressureTheories.h"

namespace terraq::engine::api {

// The faces of the wall: the retained soil behind it and the soil in front
// of it, below the excavation level.
enum class Side { Backfill, Excavation };

struct FaceTheory {
  EarthPressureMethod method = EarthPressureMethod::Rankine;
  // δ/φ' in every layer of the face, 0 to 1: the wall friction follows the
  // friction angle, also as a factor of safety reduces it.
  double deltaRatio = 0;

  bool isGenerators() const { return method == EarthPressureMethod::Rankine && deltaRatio == 0.0; }
  bool operator==(const FaceTheory&) const = default;
};

// The wall friction of one soil layer in degrees, where it is not the
// face's δ/φ'.
struct EarthPressureLayer {
  std::optional<double> backfillDelta, excavationDelta;
  bool operator==(const EarthPressureLayer&) const = default;
};

struct EarthPressureOptions {
  FaceTheory backfill, excavation;
  // Empty, or one per soil layer of the data file (its layer table), in
  // order.
  std::vector<EarthPressureLayer> layers;

  const FaceTheory& face(Side side) const { return side == Side::Backfill ? backfill : excavation; }
  bool operator==(const EarthPressureOptions&) const = default;
};

// The horizontal coefficients a face's theory gives one soil layer.
struct LayerCoefficients {
  int number = 0;  // of the layer in the data file
  Side side = Side::Backfill;
  EarthPressureMethod method = EarthPressureMethod::Rankine;
  double delta = 0, Kah = 0, Kph = 0;
};

}  // namespace terraq::engine::api
