#pragma once
// Which commands of the main window are enabled, checked or shown, as a
// function of the project and of the files beside its data file. The main
// window computes this each time a menu opens (and after every command that
// changes the project or its files) and applies it to its menus and tool
// bar; nothing here needs a display.

#include <array>
#include <filesystem>
#include <string>

#include "graphs/TResultGraphs.h"
#include "project/TProgramData.h"

namespace terraq::ui {

// Which of the project's files exist: the data file and the three files
// the engine writes beside it.
struct TFileFacts {
  bool dataFile = false;
  bool report = false;   // .tq4o
  bool plot = false;     // .tq4p
  bool monitor = false;  // .tq4r, the processor-run notes
};
TFileFacts GatherFileFacts(const std::filesystem::path& dataFile);

struct TMenuStates {
  // Options menu: check marks of the switches and radio groups.
  bool generatePY = false, concentratedLoads = false, restraints = false, externalPY = false, springs = false,
       pyModification = false, surcharge = false, meiCurves = false;
  // Surcharge loads are offered only where the data file keeps them.
  bool surchargeOptionEnabled = false;
  int units = 1;
  int earthPressureOption = 0;
  bool longTermEnabled = false, longTermChecked = false;  // "Conduct Short-Term and Long-Term ..."
  bool stagedEnabled = false, stagedChecked = false;      // "Conduct Staged-Construction ..."

  // Data menu.
  bool soilLayersEnabled = false;           // soil layer items and the wall configuration
  bool distributedPressureEnabled = false;  // user-specified earth pressure
  bool concentratedLoadsEnabled = false, restraintsEnabled = false, springsEnabled = false,
       externalPYEnabled = false, meiCurvesEnabled = false, pyModificationEnabled = false,
       surchargeEnabled = false;
  // Long-term layout: the Short-Term/Long-Term submenus stand in place of
  // the plain soil-layer and distributed-pressure items.
  bool longTermLayout = false;
  bool termItemsVisible = false;  // their Short-Term and Long-Term items

  // Stage Construction menu and the stage buttons.
  bool staged = false;  // two or more stages
  int stageCount = 1;
  int currentStage = 1;
  bool copyPreviousEnabled = false;

  // Computation menu and the tool bar.
  bool inputEnabled = false;     // "Edit Input Text"
  bool runNotesEnabled = false;  // "Edit Processor-Run Notes"
  bool outputEnabled = false;    // "Edit Output Text" and "View Output File"
  std::array<bool, kGraphCount> graphEnabled{};
};

// `resultsAvailable`: the plot file was read (GraphsLoaded); the graph items
// also need the file still there. `graphHoldsData[k]`: graph k has something
// to draw (TResultGraphs::HoldsData).
TMenuStates ComputeMenuStates(const TProgramData& project, const TFileFacts& files, bool resultsAvailable,
                              const std::array<bool, kGraphCount>& graphHoldsData);

}  // namespace terraq::ui
