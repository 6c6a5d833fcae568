#pragma once
// The design situations a project is designed with (the member
// "designSituations" of NAME.terraq.json beside the data file), run for the
// calculation package: every chosen set of partial factors analysed in
// memory on every stage, and their envelope.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "DesignSituations.h"
#include "project/FactorSetsMember.h"
#include "project/ProjectMembers.h"

namespace terraq::report {

struct PackageSituations {
  std::string error;  // the project's member cannot be read: why (nothing else is set)
  ui::DesignSituationsChoice choice;
  std::vector<design::SituationResult> results;
  std::vector<design::EnvelopeProblem> envelope;
};

// Of the project's members as read beside `dataFile` (ReadProjectMembers)
// with the fault that reading met. Nullopt when the project chooses no set
// (or has no project file).
std::optional<PackageSituations> RunPackageSituations(const std::filesystem::path& dataFile,
                                                      const ui::ProjectMembers& members,
                                                      const ui::MembersFault& fault,
                                                      std::string_view dataText);

}  // namespace terraq::report
