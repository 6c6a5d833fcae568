#pragma once
// The apparent-pressure envelope (design/ApparentPressure.h) as the wall's
// earth pressure: the project's specified earth-pressure table (the data
// file's distributed loads, EP = 1) takes the envelope's soil and uniform
// surcharge pressure times the width for earth pressure, from the top of
// the wall to the excavation level, so that the analysis then runs on it.
// Below the excavation level the table ends (the analysis loads no station
// beyond its last depth): the envelope holds for the retained height only,
// and the soil below is the p-y curves'.
//
// The data file keeps its soil layers with specified earth pressure only
// when it generates the p-y curves from them; a project that does not is
// refused, never left without the layers it was designed from.
//
// Units: the data file's (depth L, pressure F/L^2, width L, loads F/L).
// Thread safety: none (it edits the project).

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "ApparentPressure.h"

namespace terraq::ui {

class TProgramData;

// (depth, load per length of wall) rows of `envelope` over a width for
// earth pressure of `width`: one row per corner of the envelope, the first
// of two corners at one depth left out.
std::vector<std::array<double, 2>> EnvelopeTableRows(const design::PressureEnvelope& envelope,
                                                     double width);

// What setting the earth pressure changed, to take it back.
struct EarthPressureChange {
  bool userPressure = false;
  int option = 0;
  std::vector<std::array<double, 2>> before, after;  // the table's rows, data-file units
};

// Makes `envelope` the project's specified earth pressure; nullopt with
// `refused` saying why (a staged or long-term project, soil layers the data
// file would not keep, no width for earth pressure), the project unchanged.
std::optional<EarthPressureChange> SetEnvelopePressure(TProgramData& data,
                                                       const design::PressureEnvelope& envelope,
                                                       std::string& refused);

// Takes the change back; refused (false, with `refused`) when the table or
// the earth-pressure option was edited since: the edit is kept.
bool UndoEnvelopePressure(TProgramData& data, const EarthPressureChange& change,
                          std::string& refused);

}  // namespace terraq::ui
