#pragma once
// TProgramData: the scalars, option switches, file name and stage state of
// the one project the program holds; its tables are the TProjectTables it
// works on. A project is created new or read from a data file, converted
// between units systems, and written as a data file (one stage) or as the
// stage blocks of a staged project.
//
// Lengths are held in the base length of the units system: inches for
// English units (FreeHeight and the water depths too, though dialogs show
// them in feet), metres for SI. SurchargePressure is held in lb/in² for
// English units. The tables hold the values as displayed (feet, lb/ft^3,
// ...); the data file carries base units.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "project/TProjectTables.h"

namespace terraq::ui {

// The default name of a project that was never saved; never written.
inline constexpr const char* kNewFileName = "NewWall.tq4d";

// Layouts of a data file: 1 the current one (.tq4d); the older .tqd files
// in the 3.0 layout (2) and the 2.0 layout (any other code).
enum DataLayout { kLayoutCurrent = 1, kLayout30 = 2, kLayout20 = 3 };

// The layout a file dropped on the window or opened from the recent list is
// read with: 3.0 for the extension ".tqd" (in any case), else current.
int LayoutForFile(const std::filesystem::path& path);

// A title as the data file keeps it: one line, its control characters other
// than TAB made spaces, no spaces or TABs at its ends (the reader drops them).
// Reading back what is written gives the same title, so a saved project
// opens and saves to the same file.
std::string FileTitle(std::string_view typed);

class TProgramData {
 public:
  // A new project: the defaults below; every table reset to its minimum
  // rows of defaults in English units; not Modified.
  explicit TProgramData(TProjectTables& tables);
  // A project read from a data file in a layout (see DataLayout). The tables
  // are reset first and then filled from the file. Throws EInOutError when
  // the file cannot be read and EReadError when it is malformed (the tables
  // then hold what was read so far).
  TProgramData(TProjectTables& tables, const std::filesystem::path& file, int layout);

  TProjectTables& Tables() const { return *tables_; }

  int Units = 1;  // 1 English (lbs, in), 2 SI (kN, m), 3 other (F, L)
  std::string DataFileName = kNewFileName;
  std::string ProjectTitle = "New Wall";
  int IncrementCount = 1;                // NI; the engine and the dialog need at least 1
  double IncrementLength = 0;            // DX
  double MaxDeflection = 100;            // YMAX
  double DeflectionTolerance = 1e-05;    // TOL
  double FreeHeight = 0;                 // H
  double ActiveWidth = 0;                // Wa, width for active earth pressure
  double ResistanceWidth = 0;            // Wp, width for p-y resistance
  double WaterDepthBackfill = 0;         // DWb
  double WaterDepthExcavation = 0;       // DWe
  double SurchargePressure = 0;          // q, on the backfill surface
  double ActivePressureFactor = 1.0;     // multiplier of the generated active pressure
  double BackfillSlope = 0;              // beta, degrees
  int PressureSwitch = 1;                // 1: water pressure behind the wall included
  // The single surcharge of older data files, kept and written back.
  double LegacySurchargeDistance = 0;
  double LegacyPointLoad = 0;
  double LegacyLineLoad = 0;
  double LegacyStripLoad = 0;
  double LegacyStripWidth = 0;
  // 0 not chosen, 1 specified by user, 2 triangular, 3 trapezoidal.
  int EarthPressureOption = 0;
  bool UserPressure = false;       // EarthPressureOption is 1
  bool PressureGenerated = false;  // read from a file with generated pressure
  bool GeneratePY = true;
  // Control-line values derived when the file is written.
  int EarthPressureMode = 0;  // EP
  int PYMode = 0;             // PY
  int MEICurveCount = 0;      // NE
  bool UseConcentratedLoads = false;  // Tables().ConcentratedLoads
  bool UseRestraints = false;         // Tables().Restraints
  bool UseSprings = false;            // Tables().Springs
  bool UseSurcharge = false;          // SurchargeTable
  bool UsePYMod = false;              // PYMod
  bool UseExternalPY = false;         // PYCurves
  bool UseMEICurves = false;          // MEICurves
  bool LongTerm = false;  // short-term and long-term analyses
  // What the project could not take from the file it was read from, as the
  // message that says so (problems chained after the ones a project holds,
  // short-term values a differing long-term set would stand for); empty
  // when it holds all of it. Opening and converting refuse such a file, as
  // saving it would lose them; reading it for its facts alone is harmless.
  std::string NotKept;
  int StageCount = 1;     // 1 to 5
  int CurrentStage = 1;   // 1 to StageCount
  // Lines of one stage file while a staged data file is assembled.
  std::vector<std::string> StageLines;
  // Changed since the last save or read (the tables report their own).
  bool Modified = false;

  // Modified, or a table changed.
  bool IsModified() const { return Modified || tables_->Changed(); }
  // Marks the project and its tables as saved.
  void ClearModified();
  // Takes every value of `source` (a copy of another project's data) but
  // stays on its own tables.
  void TakeValues(const TProgramData& source) {
    TProjectTables* own = tables_;
    *this = source;
    tables_ = own;
  }

  // Converts the project to another units system (clamped to 1..3). Only a
  // change between English and SI converts values.
  void SetUnits(int system);

  // The earth-pressure mode of the data file (EP): 1 for pressure specified
  // by the user; the generated distribution when there are soil layers to
  // generate it from (p-y generation on, or read with generated pressure);
  // else 0.
  int WrittenEarthPressureMode() const;
  // The data file holds the surcharge loads only with its soil records:
  // with generated earth pressure or generated p-y curves (the engine adds
  // them to specified pressure too). Otherwise they would be dropped on
  // save, so they are not offered.
  bool SurchargeLoadsKept() const;

  // --- the data file (DataFile.cpp)

  // The text of the data file in the current layout (CR LF line ends),
  // after normalising the project: tables of options that are off emptied,
  // EP, PY and NE derived, the last stiffness row made constant.
  std::string DataFileText();
  // Writes the data file to DataFileName, atomically. Refuses the name of a
  // never-saved project (std::logic_error); throws EInOutError when the
  // file cannot be written (the previous file stays intact).
  void Save();
  // Writes the data file under a new name, which the project takes.
  void SaveAs(const std::filesystem::path& file);

  // The block of a stage (records 2 to 15 of the current model, with the
  // title or " Stage No : k" before and the stage number after).
  std::string StageBlockText(int stage);
  // Writes the current stage's block to its stage file, atomically.
  void SaveStageBlock();
  // Builds the data file from stage files 1..StageCount of DataFileName,
  // atomically; throws EInOutError when a stage file cannot be read.
  void SaveStaged();
  // Loads one stage block into this project (the stage-block reader):
  // title (unless the block's first line is a stage marker), units, counts
  // and records, with the options derived as a full read does.
  void LoadStageBlock(const std::filesystem::path& file, int layout = kLayoutCurrent);
  void LoadStageBlockText(const std::string& text, int layout = kLayoutCurrent);
  // Reads the whole text of a data file into this new project, as the
  // constructor reads a file (EReadError when it is malformed), for what is
  // made from a text in memory rather than a file (the calculation package).
  void LoadText(const std::string& text, int layout = kLayoutCurrent);

 private:
  friend class TDataFileReader;
  void readText(const std::string& text, int layout);
  TProjectTables* tables_;
};

// How many entered surcharge loads a change of options from `before` to
// `after` would drop from the data file (0 when none).
int SurchargeLoadsLostBy(const TProgramData& before, const TProgramData& after);

}  // namespace terraq::ui
