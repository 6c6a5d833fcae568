#pragma once
// The apparent-pressure design of one problem of a data file: the envelope
// (ApparentPressure.h) from the problem's soil over the retained height and
// the loads of its supports (ApparentPressureLoads.h).
//
// The soil over the retained height H (the excavation depth) is averaged
// by thickness: the unit weight over all of H (so that gamma H is the
// overburden at the excavation level), Ka = tan^2(45 - phi/2) over the sand
// and silt layers, su over the clay layers. The envelope's soil is the one
// that makes up more of H (sand on a tie), a clay stiff when N = gamma H /
// su <= 4, unless the request names it. Henkel's strength below the cut and
// the depth of its failure surface are those of the clay layers directly
// below the excavation level (down to the first layer that is not clay).
// The supports are the springs table's rows that hold one station (the
// anchor and prop levels), unless the request gives their depths.
//
// Units: those of the data file. Thread safety: no shared state.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ApparentPressureLoads.h"
#include "api/SoilDescription.h"

namespace terraq::design {

struct ApparentRequest {
  EnvelopeSource source = EnvelopeSource::Fhwa;
  std::optional<EnvelopeSoil> soil{};  // empty: as the data file's soil is
  double clayFactor = kMostClayFactor;
  bool softBase = false;                          // Terzaghi & Peck soft clay: m = 0.4
  std::optional<double> failureDepth{};           // Henkel's d; empty: from the layers
  std::optional<std::vector<double>> supports{};  // empty: the springs table's
  AnchorLayout layout{};
};

struct ApparentDesign {
  std::string title;
  int units = 0;
  EnvelopeInput input;  // what the envelope was drawn from
  bool supportsGiven = false;
  std::optional<PressureEnvelope> envelope;
  std::optional<SupportLoads> loads;
  std::vector<std::string> notes;  // on the soil taken (the envelope's own are in it)
  std::string error;               // why it could not be designed; empty when designed
};

// The design of problem `index` of `dataText`, whose soil is `soil`.
ApparentDesign DesignApparentPressure(std::string_view dataText, int index,
                                      const engine::api::SoilDescription& soil,
                                      const ApparentRequest& request);

}  // namespace terraq::design
