#include "project/SequenceEntries.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "Parameters.h"

namespace terraq::ui {

namespace {

std::string_view Trimmed(std::string_view s) {
  const auto space = [](char c) { return c == ' ' || c == '\t'; };
  while (!s.empty() && space(s.front())) s.remove_prefix(1);
  while (!s.empty() && space(s.back())) s.remove_suffix(1);
  return s;
}

// The non-blank parts of `text` between any of `separators`.
std::vector<std::string_view> Parts(std::string_view text, std::string_view separators) {
  std::vector<std::string_view> parts;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find_first_of(separators, start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view part = Trimmed(text.substr(start, end - start));
    if (!part.empty()) parts.push_back(part);
    start = end + 1;
  }
  return parts;
}

// The whole of `text` as a number, else nullopt.
std::optional<double> Number(std::string_view text) {
  const std::string s(text);
  char* end = nullptr;
  const double value = std::strtod(s.c_str(), &end);
  if (s.empty() || end != s.c_str() + s.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::string Joined(const std::vector<std::string>& parts) {
  std::string text;
  for (const std::string& p : parts) text += (text.empty() ? "" : ", ") + p;
  return text;
}

}  // namespace

std::optional<std::vector<std::string>> ReadSupportNames(
    std::string_view text, const std::vector<design::StagedSupport>& supports, std::string& error) {
  std::vector<std::string> names;
  for (std::string_view part : Parts(text, ",;")) {
    const std::string name(part);
    const bool known = std::any_of(supports.begin(), supports.end(),
                                   [&](const design::StagedSupport& s) { return s.name == name; });
    if (!known) {
      std::vector<std::string> all;
      for (const design::StagedSupport& s : supports) all.push_back(s.name);
      error = "there is no support " + name +
              (all.empty() ? std::string(" (add it to the supports first)")
                           : " (the supports are " + Joined(all) + ")");
      return std::nullopt;
    }
    if (std::find(names.begin(), names.end(), name) != names.end()) {
      error = "support " + name + " is named twice";
      return std::nullopt;
    }
    names.push_back(name);
  }
  return names;
}

std::string SupportNamesText(const std::vector<std::string>& names) { return Joined(names); }

std::optional<std::vector<std::pair<std::string, double>>> ReadStageLoads(std::string_view text,
                                                                          std::string_view dataText,
                                                                          std::string& error) {
  std::vector<std::pair<std::string, double>> loads;
  const std::vector<std::string_view> parts = Parts(text, ",;");
  if (parts.empty()) return loads;
  std::string why;
  const std::optional<design::ParameterText> data = design::ParameterText::Parse(dataText, why);
  for (std::string_view part : parts) {
    const size_t equals = part.find('=');
    std::string_view row = Trimmed(part.substr(0, equals));
    if (row.rfind("load.", 0) == 0) row.remove_prefix(5);
    const bool whole = !row.empty() && std::all_of(row.begin(), row.end(),
                                                   [](char c) { return c >= '0' && c <= '9'; });
    if (equals == std::string_view::npos || !whole) {
      error = "a load is given as load.N = value, not " + std::string(part);
      return std::nullopt;
    }
    const std::string name = "load." + std::string(row);
    const std::optional<double> value = Number(Trimmed(part.substr(equals + 1)));
    if (!value) {
      error = name + " must be a number, not " + std::string(Trimmed(part.substr(equals + 1)));
      return std::nullopt;
    }
    if (!data || !data->find(name)) {
      error = "the data file has no " + name + " (a row of its concentrated loads)";
      return std::nullopt;
    }
    if (std::any_of(loads.begin(), loads.end(), [&](const auto& l) { return l.first == name; })) {
      error = name + " is given twice";
      return std::nullopt;
    }
    loads.emplace_back(name, *value);
  }
  return loads;
}

std::string StageLoadsText(const std::vector<std::pair<std::string, double>>& values) {
  std::vector<std::string> parts;
  for (const auto& [name, value] : values)
    if (name.rfind("load.", 0) == 0) parts.push_back(name + " = " + SequenceNumberText(value));
  return Joined(parts);
}

std::string SequenceNumberText(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.7g", value == 0.0 ? 0.0 : value);
  return text;
}

}  // namespace terraq::ui
