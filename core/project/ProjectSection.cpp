#include "project/ProjectSection.h"

#include "api/Analysis.h"
#include "api/EngineRoute.h"
#include "api/Units.h"
#include "project/SectionLibraryFiles.h"
#include "project/TProgramData.h"

namespace terraq::ui {

std::optional<double> SectionUnitWidth(const TProgramData& project, const SectionInUse& used,
                                       std::string& error) {
  if (!engine::api::IsPhysicalUnits(project.Units)) {
    error =
        "the project is in generic units (F, L): a section's properties cannot be put in them; "
        "switch to English or SI units first";
    return std::nullopt;
  }
  if (!design::IsSheetPile(used.section.family)) {
    if (used.spacing) return *used.spacing;
    error = "give the spacing of the piles";
    return std::nullopt;
  }
  // The wall configuration (and Wa with it) is written exactly where
  // surcharge loads are kept: with generated earth pressure or p-y curves.
  if (!project.SurchargeLoadsKept() || !(project.ActiveWidth > 0)) {
    error =
        "a sheet pile's values are per metre of wall, and the project has no wall unit to put "
        "them on: its active width Wa (Wall Configuration, with generated earth pressure or p-y "
        "curves) " +
        std::string(project.SurchargeLoadsKept() ? "is not positive" : "is not used");
    return std::nullopt;
  }
  return project.ActiveWidth;
}

bool FillSectionRigidity(TProgramData& project, const SectionInUse& used, std::string& error) {
  const std::optional<double> width = SectionUnitWidth(project, used, error);
  if (!width) return false;
  const double rigidity = *SectionRigidity(used, project.Units, *width);
  TGridTable& stiffness = project.Tables().PileSect;
  for (int row = 0; row < stiffness.RowCount(); ++row) stiffness.Cell(3, row).SetFloat(rigidity);
  if (used.spacing) project.ActiveWidth = *used.spacing;
  project.Modified = true;
  return true;
}

WallSection SectionInUnits(WallSection section, int fromUnits, int toUnits) {
  if (section.spacing)
    *section.spacing = engine::api::ConvertValue(*section.spacing, engine::api::Quantity::Length,
                                                 fromUnits, toUnits);
  return section;
}

bool SaveProjectSection(const std::filesystem::path& dataFile,
                        const std::optional<WallSection>& section, std::string& error) {
  return SaveProjectMember(
      dataFile, "section", section.has_value(),
      [&](ProjectFile& project) { SetWallSection(project, section); },
      "the wall's section is not saved", error);
}

std::optional<SectionChecks> CheckSectionAlongWall(std::string_view dataText,
                                                   const WallSection& wanted,
                                                   const engine::api::AnalysisResult* analysis,
                                                   std::string& error) {
  const std::optional<design::SectionLibrary> library = LoadProgramSectionLibrary(error);
  if (!library) return std::nullopt;
  const std::optional<SectionInUse> used = ResolveWallSection(wanted, *library, error);
  if (!used) return std::nullopt;
  if (analysis) return CheckAnalysedText(dataText, *analysis, *used, error);
  return CheckAnalysedText(dataText, engine::Analyse(dataText), *used, error);
}

}  // namespace terraq::ui
