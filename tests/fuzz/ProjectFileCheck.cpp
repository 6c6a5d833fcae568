#include "ProjectFileCheck.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>

#include "project/AnchorsMember.h"
#include "project/EarthPressureMember.h"
#include "project/ExcavationMember.h"
#include "project/FactorSetsMember.h"
#include "project/MeasurementsMember.h"
#include "project/ProjectFile.h"
#include "project/SeepageMember.h"
#include "project/SeismicMember.h"
#include "project/SequentialMember.h"
#include "project/SoilModelMember.h"
#include "project/WallSection.h"

namespace fs = std::filesystem;

namespace terraq::fuzz {

namespace {

using ui::ProjectFile;

std::string textOf(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// One member as its owner reads and writes it: a value that reads is set
// into a copy of the file and must read back as itself (an empty value,
// which its owner writes as no member, as nothing); a member that does not
// read must say why (a member that is absent reads as nothing, quietly).
template <typename T>
std::string checkMember(
    const ProjectFile& project, const char* key,
    const std::function<std::optional<T>(const ProjectFile&, std::string&)>& read,
    const std::function<void(ProjectFile&, const T&)>& set,
    const std::function<bool(const T&)>& empty = nullptr) {
  std::string error;
  const std::optional<T> value = read(project, error);
  if (!value) {
    if (project.find(key) && error.empty()) return std::string(key) + ": refused without a message";
    return "";
  }
  ProjectFile copy = project;
  set(copy, *value);
  error.clear();
  const std::optional<T> again = read(copy, error);
  if (!again && error.empty() && empty && empty(*value) && !copy.find(key)) return "";
  if (!again) return std::string(key) + ": written back, it no longer reads: " + error;
  if (!(*again == *value)) return std::string(key) + ": written back, it reads as another value";
  return "";
}

std::string checkMembers(const ProjectFile& project) {
  std::string fault = checkMember<ui::WallSection>(
      project, "section", ui::ReadWallSection,
      [](ProjectFile& p, const ui::WallSection& s) { ui::SetWallSection(p, s); });
  if (fault.empty())
    fault = checkMember<std::vector<design::FactorSet>>(
        project, "designSituations", ui::ReadFactorSets, ui::SetFactorSets,
        [](const std::vector<design::FactorSet>& sets) { return sets.empty(); });
  if (fault.empty())
    fault = checkMember<ui::DesignSituationsChoice>(
        project, "designSituations", ui::ReadDesignSituations, ui::SetDesignSituations);
  if (fault.empty())
    fault = checkMember<engine::api::EarthPressureOptions>(
        project, "earthPressure", ui::ReadEarthPressure, ui::SetEarthPressure);
  if (fault.empty())
    fault = checkMember<engine::api::SeismicOptions>(project, "seismic", ui::ReadSeismic,
                                                     ui::SetSeismic);
  for (const int units : {1, 2}) {
    if (!fault.empty()) break;
    fault = checkMember<design::SequentialPlan>(
        project, "sequential",
        [units](const ProjectFile& p, std::string& error) {
          return ui::ReadSequentialPlan(p, units, error);
        },
        [units](ProjectFile& p, const design::SequentialPlan& plan) {
          ui::SetSequentialPlan(p, plan, units);
        },
        [](const design::SequentialPlan& plan) {
          return plan.supports.empty() && plan.stages.empty();
        });
    if (fault.empty())
      fault = checkMember<ui::SoilModelChoice>(
          project, "soilModel",
          [units](const ProjectFile& p, std::string& error) {
            return ui::ReadSoilModel(p, units, error);
          },
          [units](ProjectFile& p, const ui::SoilModelChoice& choice) {
            ui::SetSoilModel(p, choice, units);
          });
    if (fault.empty())
      fault = checkMember<ui::Measurements>(
          project, "measurements",
          [units](const ProjectFile& p, std::string& error) {
            return ui::ReadMeasurements(p, units, error);
          },
          [units](ProjectFile& p, const ui::Measurements& m) { ui::SetMeasurements(p, m, units); },
          [](const ui::Measurements& m) { return m.stages.empty(); });
    if (fault.empty())
      fault = checkMember<engine::api::SeepageOptions>(
          project, "seepage",
          [units](const ProjectFile& p, std::string& error) {
            return ui::ReadSeepage(p, units, error);
          },
          [units](ProjectFile& p, const engine::api::SeepageOptions& options) {
            ui::SetSeepage(p, options, units);
          });
    if (fault.empty())
      fault = checkMember<design::AnchorInputs>(
          project, "anchors",
          [units](const ProjectFile& p, std::string& error) {
            return ui::ReadAnchors(p, units, error);
          },
          [units](ProjectFile& p, const design::AnchorInputs& inputs) {
            ui::SetAnchors(p, inputs, units);
          });
    if (fault.empty())
      fault = checkMember<design::ExcavationPlan>(
          project, "excavation",
          [units](const ProjectFile& p, std::string& error) {
            return ui::ReadExcavation(p, units, error);
          },
          [units](ProjectFile& p, const design::ExcavationPlan& plan) {
            ui::SetExcavation(p, plan, units);
          });
  }
  return fault;
}

}  // namespace

std::string CheckProjectFile(std::string_view bytes, const WorkFolder& folder) {
  folder.Clear();
  const fs::path file = folder.Path() / "wall.terraq.json";
  {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  std::string error;
  const std::optional<ProjectFile> project = ui::ReadProjectFile(file, error);
  if (!project) return error.empty() ? "a project file refused without a message" : "";

  const fs::path once = folder.Path() / "once.terraq.json";
  const fs::path twice = folder.Path() / "twice.terraq.json";
  if (!ui::WriteProjectFile(once, *project, error))
    return "the project file is not written: " + error;
  const std::optional<ProjectFile> again = ui::ReadProjectFile(once, error);
  if (!again) return "the written project file does not read: " + error;
  for (const auto& member : project->root.members)
    if (!again->find(member.first)) return "the member \"" + member.first + "\" is lost in writing";
  if (!ui::WriteProjectFile(twice, *again, error))
    return "the project file read again is not written: " + error;
  if (textOf(once) != textOf(twice)) return "the project file written twice gives two texts";
  return checkMembers(*project);
}

}  // namespace terraq::fuzz
