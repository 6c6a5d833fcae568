#pragma once
// The shaking a project's analysis or design takes (AnalysisOptions::seismic,
// design::SoilModel): one of the pseudo-static methods of Seismic.h with its
// horizontal and vertical seismic coefficients. Unset, the ground is still.
//
// Thread safety: a value.

#include "Seismic.h"

namespace terraq::engine::api {

struct SeismicOptions {
  SeismicMethod method = SeismicMethod::MononobeOkabe;
  double kh = 0;  // horizontal seismic coefficient, 0 <= kh < 1
  double kv = 0;  // vertical seismic coefficient, positive upwards, |kv| < 1
  bool operator==(const SeismicOptions&) const = default;
};

}  // namespace terraq::engine::api
