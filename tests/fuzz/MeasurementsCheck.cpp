#include "MeasurementsCheck.h"

#include <charconv>
#include <cmath>
#include <set>

#include "project/MeasurementsCsv.h"

namespace terraq::fuzz {

namespace {

std::string Shortest(double v) {
  char buffer[64];
  const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, v);
  return ec == std::errc() ? std::string(buffer, end) : std::string("?");
}

}  // namespace

std::string CheckMeasurements(std::string_view text) {
  std::string error;
  const auto profile = ui::ParseMeasuredProfile(text, error);
  if (!profile) return error.empty() ? "refused without a message" : "";
  std::string again =
      "depth_" + profile->depthUnit + ",deflection_" + profile->deflectionUnit + "\n";
  std::set<double> depths;
  for (size_t k = 0; k < profile->readings.size(); ++k) {
    const design::Reading& r = profile->readings[k];
    if (!std::isfinite(r.depth) || !std::isfinite(r.deflection) || r.depth < 0)
      return "reading " + std::to_string(k + 1) + " is not a finite depth below the top";
    if (!depths.insert(r.depth == 0 ? 0.0 : r.depth).second) return "a depth is read twice";
    again += Shortest(r.depth) + "," + Shortest(r.deflection) + "\n";
  }
  for (const int units : {1, 2}) {
    error.clear();
    const auto converted = ui::ReadingsInDataUnits(*profile, units, error);
    // A reading too large for the other units system is refused with a reason.
    if (!converted && !error.empty()) continue;
    if (!converted || converted->size() != profile->readings.size())
      return "the readings are not converted: " + error;
    for (const design::Reading& r : *converted)
      if (!std::isfinite(r.depth) || !std::isfinite(r.deflection))
        return "a converted reading is not a finite number";
  }
  const auto reread = ui::ParseMeasuredProfile(again, error);
  if (!reread) return "the readings written out do not read back: " + error;
  if (reread->readings.size() != profile->readings.size())
    return "the readings written out read back as another count";
  for (size_t k = 0; k < reread->readings.size(); ++k)
    if (reread->readings[k].depth != profile->readings[k].depth ||
        reread->readings[k].deflection != profile->readings[k].deflection)
      return "reading " + std::to_string(k + 1) + " reads back as another value";
  return {};
}

}  // namespace terraq::fuzz
