#pragma once
// The shaking a project's analysis or design takes (AnalysisOptions::seismic,
// design::SoilModel): one of the pseudo-static methods of Seismic.h with its
// horizontal and vertical seismic coefficients. Unset, the ground is still.
//
// Thread safety: a value.

#include <string>

#include "EarthPressureOptions.h"
#include "Seismic.h"

namespace terraq::engine::api {

struct SeismicOptions {
  SeismicMethod method = SeismicMethod::MononobeOkabe;
  double kh = 0;  // horizontal seismic coefficient, 0 <= kh < 1
  double kv = 0;  // vertical seismic coefficient, positive upwards, |kv| < 1
  bool operator==(const SeismicOptions&) const = default;
};

// The horizontal coefficients one soil layer took on one face while the
// ground shook, with the static ones of the same face for comparison.
struct SeismicLayerCoefficient {
  int number = 0;  // of the layer in the data file
  Side side = Side::Backfill;
  double psi = 0;           // the seismic angle, degrees
  double Kah = 0, Kph = 0;  // with (1 - kv) folded in
  double staticKah = 0, staticKph = 0;
  std::string note;  // why the layer keeps its static coefficients, a caveat
};

}  // namespace terraq::engine::api
