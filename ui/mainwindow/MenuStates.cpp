#include "mainwindow/MenuStates.h"

#include <system_error>

#include "project/EngineRun.h"

namespace terraq::ui {

TFileFacts GatherFileFacts(const std::filesystem::path& dataFile) {
  TFileFacts facts;
  if (dataFile.empty()) return facts;
  std::error_code ec;
  const RunPaths paths = DeriveRunPaths(dataFile);
  facts.dataFile = std::filesystem::is_regular_file(paths.dataFile, ec);
  // A run empties the outputs before the engine writes them: an empty one
  // holds no results.
  const auto written = [&ec](const std::filesystem::path& p) {
    return std::filesystem::is_regular_file(p, ec) && std::filesystem::file_size(p, ec) > 0 && !ec;
  };
  facts.report = written(paths.reportFile);
  facts.plot = written(paths.plotFile);
  facts.monitor = written(paths.monitorFile);
  return facts;
}

TMenuStates ComputeMenuStates(const TProgramData& d, const TFileFacts& files, bool resultsAvailable,
                              const std::array<bool, kGraphCount>& graphHoldsData) {
  TMenuStates s;
  s.generatePY = d.GeneratePY;
  s.concentratedLoads = d.UseConcentratedLoads;
  s.restraints = d.UseRestraints;
  s.externalPY = d.UseExternalPY;
  s.springs = d.UseSprings;
  s.pyModification = d.UsePYMod;
  s.surcharge = d.UseSurcharge;
  s.surchargeOptionEnabled = d.SurchargeLoadsKept();
  s.meiCurves = d.UseMEICurves;
  s.units = d.Units;
  s.earthPressureOption = d.EarthPressureOption;

  // Long-term analyses and staged construction exclude each other.
  s.staged = d.StageCount >= 2;
  s.longTermEnabled = !s.staged;
  s.longTermChecked = d.LongTerm;
  s.stagedEnabled = !d.LongTerm;
  s.stagedChecked = s.staged;

  // The soil layers feed the p-y generation and the generated earth
  // pressure of files that were read with it.
  s.soilLayersEnabled = d.GeneratePY || d.PressureGenerated;
  s.distributedPressureEnabled = d.EarthPressureOption == 1;
  s.concentratedLoadsEnabled = d.UseConcentratedLoads;
  s.restraintsEnabled = d.UseRestraints;
  s.springsEnabled = d.UseSprings;
  s.externalPYEnabled = d.UseExternalPY;
  s.meiCurvesEnabled = d.UseMEICurves;
  s.pyModificationEnabled = d.UsePYMod;
  s.surchargeEnabled = d.UseSurcharge && d.SurchargeLoadsKept();
  s.longTermLayout = d.LongTerm;
  s.termItemsVisible = d.LongTerm && d.StageCount == 1;

  s.stageCount = d.StageCount;
  s.currentStage = d.CurrentStage;
  s.copyPreviousEnabled = s.staged && d.CurrentStage >= 2;

  s.inputEnabled = files.dataFile;
  s.runNotesEnabled = files.monitor;
  s.outputEnabled = files.report;
  const bool results = resultsAvailable && files.plot;
  for (int k = 0; k < kGraphCount; ++k) s.graphEnabled[k] = results && graphHoldsData[k];
  // The combined diagram draws the three single ones.
  s.graphEnabled[kGraphDeflectionMomentShear] =
      s.graphEnabled[kGraphDeflection] && s.graphEnabled[kGraphMoment] && s.graphEnabled[kGraphShear];
  return s;
}

}  // namespace terraq::ui
