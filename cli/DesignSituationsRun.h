#pragma once
// terraq run --design-approach: the wall analysed in memory once per set of
// partial factors on every stage, nothing written, and the envelope of the
// design effects with the set that governs each (design/DesignSituations.h).

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "DesignSituations.h"
#include "project/WallSection.h"

namespace terraq::cli {

struct SituationsRequest {
  std::vector<std::string> names;  // as given: DA1-1, ..., "all", a set of the project
  std::vector<std::pair<std::string, double>> factors;  // --factor SYMBOL=VALUE, on every set
  design::SituationOptions options;
  // --kh, --kv, --seismic: on every chosen seismic set (refused without one).
  std::optional<double> kh, kv;
  std::optional<engine::api::SeismicMethod> seismicMethod;
  bool asksShaking() const { return kh || kv || seismicMethod; }
};

// Adds the names of one --design-approach value ("DA1-1,DA2", "all");
// false with `error` for an empty name.
bool AddSituationNames(std::string_view value, SituationsRequest& request, std::string& error);
// Reads one --factor value ("gammaPhi=1.2"); false with `error`.
bool AddFactor(std::string_view value, SituationsRequest& request, std::string& error);

// Runs the request on `dataFile` and prints its summary (text or JSON) on
// standard output; returns the exit status (0, 1 when a set's analysis
// stopped, 2 when the request or the data file cannot be taken, 3 with
// `strict` when the envelope is not valid: an ultimate set left out).
// With the project's member "excavation", each set's ground checks follow
// (DesignSituationsGround.h). With a `section`, the wall is analysed with its flexural rigidity and
// checked with each ultimate set's design effects (UltimateCheckSummary.h).
int RunDesignSituationsCommand(const std::string& dataFile, const SituationsRequest& request,
                               bool json, bool strict, const ui::SectionInUse* section = nullptr);

// The two renderings, for the tests.
std::string SituationsText(const std::string& dataFile,
                           const std::vector<design::SituationResult>& results,
                           const std::vector<design::EnvelopeProblem>& envelope, int unitsCode);
// `sectionCheck`, when given, is the value of a last member "sectionCheck";
// `subgrade` adds "soilModel": "subgrade" (absent on the p-y model);
// `groundChecks`, when given, the value of a member "groundChecks" before
// "sectionCheck".
std::string SituationsJson(const std::string& dataFile,
                           const std::vector<design::SituationResult>& results,
                           const std::vector<design::EnvelopeProblem>& envelope, int unitsCode,
                           std::string_view sectionCheck = {}, bool subgrade = false,
                           std::string_view groundChecks = {});

}  // namespace terraq::cli
