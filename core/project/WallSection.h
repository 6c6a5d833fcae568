#pragma once
// The steel section a wall is made of, from the section library: what a
// project remembers of it beside its data file, the wall's flexural rigidity
// it gives, and the structural check of every problem of an analysis with
// it. The command (`terraq run --section`, and a project that remembers a
// section), the program's Wall Properties and the calculation package all
// go through here, so the numbers agree wherever they are seen.
//
// The wall unit. The analysis works on one wall unit of width Wa (the data
// file's active width, the centre-to-centre spacing of piles): for sheet
// piles Wa metres (or inches) of a continuous wall, for piles one pile. So
//   EI = E·I·Wa   for sheet piles (I per metre of wall),
//   EI = E·I      for piles (I per pile),
// and a check divides a sheet pile's effects by Wa to compare them with its
// per-metre resistances. `spacing` sets Wa for piles (the active pressure
// then acts over the spacing); a sheet-pile wall takes the data file's Wa,
// or, in a data file without one (specified pressure and p-y curves), the
// `spacing` as the width of wall the results are for.
//
// Units: the data file's (English: in, lb, lb·in²; SI: m, kN, kN·m²),
// except the library's values, which are SI base units. A data file of
// units code 3 (generic F and L) cannot be checked: its units are unknown.
// Thread safety: pure functions.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "SectionCheck.h"
#include "Sections.h"
#include "WallAxialForce.h"
#include "project/ProjectFile.h"

namespace terraq::engine::api {
struct AnalysisResult;
struct ProblemResult;
}

namespace terraq::ui {

// What a project remembers, as the project file's member "section":
//   {"name": "AZ18", "grade": "S355GP", "spacing": 2.4,
//    "method": "eurocode" | "allowable", "gammaM0": 1.0, "betaB": 1.0,
//    "bendingFraction": 0.65, "shearFraction": 0.4, "axialFraction": 0.6,
//    "class": 2}
// Only "name" is required; an absent grade is the library's default for the
// section, an absent spacing the data file's Wa, absent factors their
// defaults (CheckSettings), an absent class the computed one.
struct WallSection {
  std::string name;
  std::string grade;              // empty: the library's default grade
  // Piles: their spacing; a sheet-pile wall whose data file has no Wa: the
  // width of wall the results are for. Data-file length unit.
  std::optional<double> spacing;
  design::CheckSettings settings;
  bool operator==(const WallSection&) const = default;
};

// The project's section; nullopt with an empty `error` when it has none,
// nullopt with `error` when the member is malformed ("the project's
// section has no name", "the section's spacing must be a positive
// number").
std::optional<WallSection> ReadWallSection(const ProjectFile& project, std::string& error);
// Sets the member (in its place when the file has one), or removes it for
// nullopt. Other members are kept.
void SetWallSection(ProjectFile& project, const std::optional<WallSection>& section);

// The section the project of `dataFile` remembers in its project file
// beside it (ProjectFilePath); nullopt with an empty `error` when it has
// none (or no project file), nullopt with `error` when the file cannot be
// read or its member is malformed.
std::optional<WallSection> ReadProjectWallSection(const std::filesystem::path& dataFile,
                                                  std::string& error);

// A WallSection found in the library.
struct SectionInUse {
  design::Section section;
  design::SteelGrade grade;
  design::CheckSettings settings;
  std::optional<double> spacing;  // data-file length unit
};

// Finds the section (a library row or PIPE<D>x<t>) and the grade. Nullopt
// with `error` for an unknown section or grade (naming the nearest names
// the library has), a grade not rolled for the family, a spacing that is not
// positive, a section without a second moment of area.
std::optional<SectionInUse> ResolveWallSection(const WallSection& wanted,
                                               const design::SectionLibrary& library,
                                               std::string& error);

// The flexural rigidity the section gives one wall unit of width
// `unitWidth` in a data file of `unitsCode` (1 English, 2 SI): see the
// header. Nullopt for other units codes.
std::optional<double> SectionRigidity(const SectionInUse& used, int unitsCode, double unitWidth);

// SI base units per unit of a data file of `unitsCode`: metres per length
// unit and newtons per force unit (1 English: in, lb; 2 SI: m, kN); nullopt
// for units code 3 (generic F and L).
struct UnitFactors {
  double length = 1, force = 1;
};
std::optional<UnitFactors> UnitFactorsOf(int unitsCode);

// A utilisation as the command's summary and the calculation package print
// it: three decimals, read against 1 ("0.245", "1.204").
std::string UtilisationText(double utilisation);

// Each problem of a data text as the section sees it.
struct SectionedProblem {
  int units = 0;                // the control line's units code
  double unitWidth = 0;         // Wa of the check, data-file length unit
  double flexuralRigidity = 0;  // the section's EI for the unit, data-file units
  double dataRigidity = 0;      // the data file's first stiffness row
  bool momentCurves = false;    // moment-EI curves decide the analysis' EI
  // The load table's concentrated axial loads (a row alone on one node):
  // loads applied at the node, which the wall carries down to its tip. The
  // analysis gives the axial force only at the stations its table names, so
  // the check adds each below its node. Data-file force unit, tension
  // positive, as the table gives them.
  std::vector<design::AxialLoad> concentratedAxialLoads{};
};

struct SectionedData {
  // The data text with the section's rigidity in every stiffness row of
  // every problem and, with a spacing, Wa set to it (ApplyWallSection); the
  // text as given for CheckedData.
  std::string text;
  std::vector<SectionedProblem> problems;
  // What the engineer must know: moment-EI curves that win over the
  // section in the analysis, a data file whose EI is not the section's.
  std::vector<std::string> notes;
};

// The data text made to analyse the wall with the section: every stiffness
// row of every problem set to the section's EI (the wall is one section
// along its length), Wa set to the spacing when there is one, moment-EI
// curves kept (they decide the analysis' EI; the check still uses the
// section, and a note says so). Nullopt with `error` when the text cannot be
// walked, a problem is not in English or SI units, there is no Wa
// (specified earth pressure and p-y curves only) and no spacing, or a
// sheet-pile wall has both.
std::optional<SectionedData> ApplyWallSection(std::string_view dataText, const SectionInUse& used,
                                              std::string& error);
// The same facts of a data text analysed as it is (a project whose EI rows
// the program filled from its section): the text is not changed, and a
// first stiffness row that differs from the section's EI by more than 0.5 %
// is noted.
std::optional<SectionedData> CheckedData(std::string_view dataText, const SectionInUse& used,
                                         std::string& error);

// The check of every problem of `analysis` (the analysis of data.text),
// in its order. A problem's station effects are taken in the data file's
// units and converted to SI; the stations' depths stay in the data file's
// length unit (as every depth the command reports). A problem with a
// `WallCheck::error` is checked no further; so is every problem when the
// analysis has fewer problems than the data. The axial force at a station
// is design::WallAxialForces'.
std::vector<design::WallCheck> CheckAnalysis(const engine::api::AnalysisResult& analysis,
                                             const SectionedData& data, const SectionInUse& used);

// The design effects at the station that governs `check` (its
// utilisationEffect) in the units of a data file of `unitsCode`: the moment
// in F·L, the shear and the axial force (compression positive) in F, per
// wall unit as analysed; the depth as it is. Nullopt for units codes other
// than 1 and 2.
std::optional<design::StationEffect> GoverningEffect(const design::WallCheck& check, int unitsCode);

// The checks of one run, as the command's summary and the calculation
// package give them.
struct SectionChecks {
  SectionInUse used;
  // The section's EI was put in the analysis (a section named for the run);
  // false when the data file was analysed as it is.
  bool applied = false;
  SectionedData data;
  std::vector<design::WallCheck> problems;  // per problem of the analysis
};

// The checks of a data text analysed as it is (the run's own analysis of
// it): CheckedData, then CheckAnalysis. Nullopt with `error` when the text
// cannot be taken (CheckedData).
std::optional<SectionChecks> CheckAnalysedText(std::string_view dataText,
                                               const engine::api::AnalysisResult& analysis,
                                               const SectionInUse& used, std::string& error);

// "eurocode" or "allowable".
std::string_view MethodWord(design::CheckMethod method);

}  // namespace terraq::ui
