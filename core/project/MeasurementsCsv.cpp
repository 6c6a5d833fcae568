#include "project/MeasurementsCsv.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>

#include "api/Units.h"
#include "project/AsciiLower.h"

namespace terraq::ui {

namespace {

namespace api = engine::api;

// A measurement's unit: its size in its own system's length (inches for
// in and ft, metres for the others), so that a unit of the data file's own
// system converts exactly (a foot is 12 inches, not 0.3048 / 0.0254).
struct LengthUnit {
  std::string_view name;
  double size;
  bool english;
};
constexpr LengthUnit kUnits[] = {{"m", 1, false},
                                 {"cm", 0.01, false},
                                 {"mm", 0.001, false},
                                 {"in", 1, true},
                                 {"ft", api::kInchesPerFoot, true}};

const LengthUnit* FindUnit(std::string_view name) {
  for (const LengthUnit& u : kUnits)
    if (u.name == name) return &u;
  return nullptr;
}

// The factor that takes a value in `unit` to the data file's length unit
// (inches for `english`, else metres).
double ToDataLength(std::string_view unit, bool english) {
  const LengthUnit& u = *FindUnit(unit);
  if (u.english == english) return u.size;
  return english ? u.size / api::kMetresPerInch : u.size * api::kMetresPerInch;
}

// A piece of the file as a message quotes it: the start of a long one.
std::string Shown(std::string_view s) {
  return s.size() > 60 ? std::string(s.substr(0, 60)) + "..." : std::string(s);
}

std::string_view Trimmed(std::string_view s) {
  const size_t first = s.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

std::vector<std::string_view> Fields(std::string_view line, char separator) {
  std::vector<std::string_view> fields;
  for (size_t start = 0;;) {
    const size_t end = line.find(separator, start);
    fields.push_back(
        Trimmed(line.substr(start, end == std::string_view::npos ? end : end - start)));
    if (end == std::string_view::npos) return fields;
    start = end + 1;
  }
}

// A finite number written plainly; a decimal comma where `decimalComma`.
bool Number(std::string_view field, bool decimalComma, double& value) {
  std::string text(field);
  if (decimalComma) std::replace(text.begin(), text.end(), ',', '.');
  if (!text.empty() && text[0] == '+') text.erase(0, 1);
  const char* end = text.data() + text.size();
  const auto [at, ec] = std::from_chars(text.data(), end, value);
  return !text.empty() && ec == std::errc() && at == end && std::isfinite(value);
}

// The unit of a header column `name_UNIT`; empty when it is not one.
std::string ColumnUnit(std::string_view column, std::string_view name) {
  const std::string lower = AsciiLower(std::string(column));
  if (lower.size() <= name.size() + 1 || lower.compare(0, name.size(), name) != 0 ||
      lower[name.size()] != '_')
    return {};
  const std::string unit = lower.substr(name.size() + 1);
  return FindUnit(unit) ? unit : std::string();
}

bool Fail(std::string& error, size_t line, const std::string& why) {
  error = "line " + std::to_string(line) + ": " + why;
  return false;
}

bool Header(std::string_view line, size_t number, char& separator, MeasuredProfile& profile,
            std::string& error) {
  separator = line.find(';') != std::string_view::npos ? ';' : ',';
  const std::vector<std::string_view> columns = Fields(line, separator);
  if (columns.size() == 2) {
    profile.depthUnit = ColumnUnit(columns[0], "depth");
    profile.deflectionUnit = ColumnUnit(columns[1], "deflection");
  }
  if (columns.size() == 2 && !profile.depthUnit.empty() && !profile.deflectionUnit.empty())
    return true;
  return Fail(error, number,
              "the header must name two columns, depth_UNIT and deflection_UNIT (UNIT one of m, "
              "cm, mm, ft, in), as depth_m,deflection_mm; it is \"" +
                  Shown(line) + "\"");
}

}  // namespace

std::optional<MeasuredProfile> ParseMeasuredProfile(std::string_view text, std::string& error) {
  MeasuredProfile profile;
  char separator = 0;
  size_t number = 0;
  std::map<double, size_t> lines;  // the line of each depth read
  if (text.substr(0, 3) == "\xEF\xBB\xBF")
    text.remove_prefix(3);  // a spreadsheet's byte-order mark
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    ++number;
    line = Trimmed(line.substr(0, line.find('#')));
    if (line.empty()) continue;
    if (separator == 0) {
      if (!Header(line, number, separator, profile, error)) return std::nullopt;
      continue;
    }
    const std::vector<std::string_view> f = Fields(line, separator);
    design::Reading r;
    if (f.size() != 2 &&
        !Fail(error, number,
              "a reading is two values, depth and deflection, not " + std::to_string(f.size())))
      return std::nullopt;
    if (!Number(f[0], separator == ';', r.depth) &&
        !Fail(error, number, "the depth \"" + Shown(f[0]) + "\" is not a number"))
      return std::nullopt;
    if (!Number(f[1], separator == ';', r.deflection) &&
        !Fail(error, number, "the deflection \"" + Shown(f[1]) + "\" is not a number"))
      return std::nullopt;
    if (r.depth < 0 && !Fail(error, number, "the depth is above the top of the wall"))
      return std::nullopt;
    // -0 and 0 are one depth, as == has it.
    const auto [at, first] = lines.emplace(r.depth == 0 ? 0.0 : r.depth, number);
    if (!first &&
        !Fail(error, number,
              "the depth " + Shown(f[0]) + " was read on line " + std::to_string(at->second)))
      return std::nullopt;
    profile.readings.push_back(r);
  }
  if (separator == 0) {
    error = "no header: the first line must name the columns, as depth_m,deflection_mm";
    return std::nullopt;
  }
  if (profile.readings.empty()) {
    error = "no readings below the header";
    return std::nullopt;
  }
  return profile;
}

std::optional<MeasuredProfile> ReadMeasuredProfile(const std::filesystem::path& path,
                                                   std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = path.string() + " cannot be read";
    return std::nullopt;
  }
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::optional<MeasuredProfile> profile = ParseMeasuredProfile(text, error);
  if (!profile) error = path.string() + ": " + error;
  return profile;
}

std::optional<std::vector<design::Reading>> ReadingsInDataUnits(const MeasuredProfile& profile,
                                                                int unitsCode, std::string& error) {
  if (!api::IsPhysicalUnits(unitsCode)) {
    error = "the data file's units are generic (L, F): measurements in " + profile.depthUnit +
            " and " + profile.deflectionUnit + " cannot be taken into them";
    return std::nullopt;
  }
  const bool english = api::UnitsSystemOf(unitsCode) == api::UnitsSystem::English;
  const double depth = ToDataLength(profile.depthUnit, english);
  const double deflection = ToDataLength(profile.deflectionUnit, english);
  std::vector<design::Reading> readings;
  for (const design::Reading& r : profile.readings) {
    // A value near the largest double overflows in the other units system.
    const design::Reading converted{r.depth * depth, r.deflection * deflection};
    if (!std::isfinite(converted.depth) || !std::isfinite(converted.deflection)) {
      char depthText[32];
      std::snprintf(depthText, sizeof depthText, "%.6g", r.depth);
      error = std::string("the reading at the depth ") + depthText + " " + profile.depthUnit +
              " is too large to be taken into the data file's units";
      return std::nullopt;
    }
    readings.push_back(converted);
  }
  return readings;
}

}  // namespace terraq::ui
