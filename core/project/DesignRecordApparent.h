#pragma once
// The apparent-pressure design in the project's design record: the member
// "apparentPressure" of "design", present when the design made is that of
// the envelope and the support loads (design/ApparentPressureDesign.h) and
// absent for a limit-equilibrium design, so that a record written before it
// reads as it did.
//
//   "apparentPressure": {"envelope": "fhwa" | "terzaghi-peck",
//                        "soil": "sand",       absent: as the data file's soil is
//                        "clayFactor": 0.3, "softBase": true,
//                        "failureDepth": 4,    absent: from the layers
//                        "supports": [1.5, 4], absent: the springs table's
//                        "spacing": 2.5,       absent: no design loads along the tendon
//                        "inclination": 15}
//
// Lengths in the data file's length unit, the inclination in degrees below
// the horizontal. Thread safety: pure functions on values.

#include <optional>
#include <string>

#include "ApparentPressureDesign.h"
#include "project/JsonReader.h"

namespace terraq::ui {

// The request of `member` (an object); false with `error` (which names the
// key) when a value is out of its range or a key is unknown.
bool ReadApparentRequest(const JsonValue& member, design::ApparentRequest& request,
                         std::string& error);
JsonValue ApparentRequestJson(const design::ApparentRequest& request);

// The request with its lengths multiplied by `factor` (a change of units).
design::ApparentRequest ApparentRequestScaled(design::ApparentRequest request, double factor);

// The choices in words: "apparent-pressure envelope of FHWA, the soil as
// the data file's, supports from the springs table, anchors 2.5 m apart at
// 15 degrees".
std::string ApparentChoicesText(const design::ApparentRequest& request,
                                const std::string& lengthUnit);

}  // namespace terraq::ui
