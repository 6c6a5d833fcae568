#pragma once
// The parts of the calculation package (PackageContents.h), each appending
// its chapter to the document: the inputs (PackageInputs.cpp), the maxima,
// warnings and design (PackageResults.cpp), the methods with their
// references (PackageMethods.cpp), the structural check of the wall's section
// (PackageSectionCheck.cpp). Internal to the package's library.
//
// Numbers: every input is shown as the program's tables and dialogs show it
// (the units of the tables: feet or metres for depths, inches for the
// increment); every result as `terraq run --json` prints it
// (ui::SummaryNumberText), in the data file's units.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "AnchorChecks.h"
#include "DepthGraph.h"
#include "DesignedGround.h"
#include "Document.h"
#include "PackageContents.h"
#include "PackageDesignSituations.h"
#include "SequentialStaging.h"
#include "api/Analysis.h"
#include "api/SoilDescription.h"
#include "project/MeasurementsMember.h"
#include "project/ProjectSectionCheck.h"
#include "project/RunSummary.h"
#include "project/TProgramData.h"

namespace terraq::report::detail {

// One stage of the project as the program's tables hold it: the project
// owns its tables, which must outlive it.
struct StageProject {
  std::unique_ptr<ui::TProjectTables> tables;
  std::unique_ptr<ui::TProgramData> data;
};

// The project read from the data text: one stage per stage block (one for a
// project without stages); the stages read before a fault are kept.
struct ProjectRead {
  std::vector<StageProject> stages;
  std::string error;  // the reader's message when it refused the text or a stage; empty when read
  bool staged() const {
    return stages.size() > 1 || (!stages.empty() && stages[0].data->StageCount > 1);
  }
  bool longTerm() const { return stages.size() == 1 && stages[0].data->LongTerm; }
};

// Reads `text` in `layout` (ui::DataLayout). Never throws for a fault of
// the text.
ProjectRead ReadProject(const std::string& text, int layout);
// The stages of a construction sequence, each a data text of one problem.
ProjectRead ReadStages(const std::vector<std::string>& texts, int layout);

// The chapter of inputs: per stage the wall and controls, the loads and
// supports, the earth pressure, the soil and the curves, each table with
// its columns' captions, symbols and units; or the reader's message and no
// tables.
void AppendInputs(const ProjectRead& project, std::vector<Block>& blocks);

// The subgrade-reaction soil model's chapter: its parameters and, per
// problem, the pressure of each face against its limits.
void AppendSoilModel(const engine::api::SubgradeOptions& options,
                     const engine::api::AnalysisResult& analysis,
                     const std::vector<std::string>& names, std::vector<Block>& blocks);

// The earth-pressure theories' chapter: each face's method, its source and
// δ/φ′, the coefficients of every layer and face that `dataText` analysed
// with, and why the analysis refused the theories or what it warned of.
void AppendEarthPressureTheories(const engine::api::EarthPressureOptions& options,
                                 const std::string& dataText, std::vector<Block>& blocks);

// A shaking the project's design takes and what takes it ("design
// situation SEISMIC, the design").
struct SeismicUse {
  std::string takenBy;
  engine::api::SeismicOptions seismic;
};
// Every distinct shaking of `input`: the chosen design situations' seismic
// sets, then the design's (its set's, or the design record's own); empty
// when the design takes none (no chapter).
std::vector<SeismicUse> SeismicUsesOf(const PackageInput& input);
// The wall the methods are compared on: the soil of the problem with the
// deepest excavation, and the wall friction δ/φ′ of each face (the
// project's theories', else 2/3 behind the wall and 0 in front, said in
// `note`).
struct SeismicWall {
  std::optional<engine::api::SoilDescription> soil;
  double activeDeltaRatio = 2.0 / 3.0, passiveDeltaRatio = 0;
  std::string note;
};
SeismicWall SeismicWallOf(const PackageInput& input);
// The chapter "Seismic earth pressure": the shaking of every use with the
// methods' sources, each layer's static and seismic coefficients on both
// faces, the spread of the methods' total active thrust on the retained
// height (design::SpreadOfSeismicMethods) and the figure of the static and
// seismic active pressure.
void AppendSeismicEarthPressure(const std::vector<SeismicUse>& uses, const SeismicWall& wall,
                                std::vector<Block>& blocks);
// The seepage's chapter: the method and its source, and per problem that
// reached its seepage the flow net, the pore pressures on both faces and
// the hydraulic checks with their inputs, factors, requirements and sources
// (PackageSeepage.cpp). `dataText` is what was analysed.
void AppendSeepage(const engine::api::SeepageOptions& options,
                   const engine::api::AnalysisResult& analysis,
                   const std::vector<std::string>& names, const std::string& dataText,
                   std::vector<Block>& blocks);

// The maxima of every problem with their depths; `names` name the
// summary's problems.
void AppendMaxima(const ui::RunSummary& summary, const std::vector<std::string>& names,
                  std::vector<Block>& blocks);

// Every warning of the run, with what it means and what to do; "No
// warnings." when there is none.
void AppendWarnings(const ui::RunSummary& summary, const engine::api::AnalysisResult& analysis,
                    const std::vector<std::string>& names, std::vector<Block>& blocks);

// The limit-equilibrium design and factors of safety of each problem that
// has soil layers, with the choices of the design record (`choice`; null:
// the defaults of terraq design); nothing when none has.
// With `anchors`, the ground anchors of each problem's anchor row follow
// (AppendAnchorDesign); with `excavation`, the ground around the wall
// (AppendGround).
void AppendDesign(const std::string& dataText, const PackageInput::DesignChoice* choice,
                  const std::vector<std::string>& names, std::vector<Block>& blocks,
                  const design::AnchorInputs* anchors = nullptr,
                  const design::ExcavationPlan* excavation = nullptr);

// The ground around one designed wall (a problem, or a construction
// sequence) as the package shows it: the checks of design::CheckDesignedGround
// with what their figures draw besides.
struct GroundOfWall {
  std::string name;  // the problem's, or empty for a sequence
  int units = 2;
  design::DesignedGround ground;
  double wallTip = 0;  // the designed tip, else the data file's, L
  // The deep slip plane's ground as the check took it (layers, water,
  // anchors), for its figure; empty when the plane was not checked.
  std::optional<design::DeepSeatedInput> deepInput;
  // The overall stability's section and critical circle in metres and
  // kilonewtons, as its subsection and figure show them; empty when the
  // circle was not searched for.
  std::optional<design::SlipGround> overallSection;
  std::optional<design::SlipSearchResult> overallInSI;
};
// Checks the ground around problem `d` of `soil` designed with `request`.
GroundOfWall CheckGroundOfWall(std::string name, const design::ProblemDesign& d,
                               const engine::api::SoilDescription& soil,
                               const design::DesignRequest& request,
                               const design::ExcavationPlan& plan,
                               const design::SequentialPlan* sequence);
// The design chapter's section "Ground around the wall": basal heave, the
// deep slip plane and the overall stability of every wall checked, each
// with its inputs, method, source and the figure of the governing wall
// (PackageGround.cpp). Nothing for no wall.
void AppendGround(const std::vector<GroundOfWall>& walls, std::vector<Block>& blocks);
// Notes of the walls (name, text) as note paragraphs, a text that several
// walls share once with their names ("Stage 1, Stage 2: ...").
void AppendGroundNotes(const std::vector<std::pair<std::string, std::string>>& notes,
                       std::vector<Block>& blocks);
// Its subsection on the deep slip plane (PackageGroundDeep.cpp).
void AppendDeepSlipPlane(const std::vector<GroundOfWall>& walls, std::vector<Block>& blocks);

// The design of a construction sequence over `dataText` (the wall before
// construction): each stage's limit equilibrium (stage k named names[k]),
// the governing stage and the spring model on the whole sequence.
void AppendSequenceDesign(const std::string& dataText, const design::SequentialPlan& plan,
                          const PackageInput::DesignChoice* choice,
                          const std::vector<std::string>& names, std::vector<Block>& blocks,
                          const design::AnchorInputs* anchors = nullptr,
                          const design::ExcavationPlan* excavation = nullptr);

// The design chapter's section of the ground anchors: the rules with their
// source, the ground's inputs and one table of the anchors of every
// problem (named when there are several) with their cut; refusals and
// notes as warnings (PackageAnchors.cpp). Nothing for no problem.
void AppendAnchorDesign(const std::vector<std::pair<std::string, design::AnchorChecks>>& checks,
                        const design::AnchorInputs& inputs, std::vector<Block>& blocks);
// The anchors of a design's anchor levels in its cut (none for a design
// without an anchor force).
design::AnchorChecks AnchorChecksOf(const engine::api::SoilDescription& soil,
                                    const design::ProblemDesign& design,
                                    const design::SequentialPlan* plan,
                                    const design::AnchorInputs& inputs);
// The section of a construction sequence's anchors, `dataText` the wall
// before construction whose layers the stages share.
void AppendSequenceAnchors(const std::string& dataText, const design::ProblemDesign& design,
                           const design::SequentialPlan& plan, const design::AnchorInputs& inputs,
                           std::vector<Block>& blocks);

// The structural check of the section the project remembers: the section,
// grade and method, the resistances used, the largest utilisation of each
// problem with the characteristic effects and its figure, and with the
// project's design situations the ultimate-limit-state check; or why the
// section cannot be checked.
void AppendStructuralCheck(const ui::ProjectSectionCheck& check,
                           const engine::api::AnalysisResult& analysis,
                           const std::vector<std::string>& names, std::vector<Block>& blocks,
                           const PackageSituations* situations = nullptr);
// The section checked with each ultimate set's design effects, their
// envelope and the verdict (PackageUltimateCheck.cpp); nothing without an
// ultimate set analysed.
void AppendUltimateCheck(const ui::SectionChecks& checks, const PackageSituations& situations,
                         int units, const std::vector<std::string>& names,
                         std::vector<Block>& blocks);

// The design situations the project chooses: the factors of every set, the
// design soil, each set's design effects per problem and their envelope;
// or why they cannot be read.
void AppendDesignSituations(const PackageSituations& situations, int units,
                            const std::vector<std::string>& names, std::vector<Block>& blocks);

// The methods the project uses with their published references, and the
// verification chapter of the technical manual. `checked`: the section
// checked in the structural check, if any.
void AppendMethods(const ProjectRead& project, bool designed, const ui::SectionInUse* checked,
                   std::vector<Block>& blocks);

// The name of problem `k` (from 0) in the package: its heading, or
// "Problem K" past the headings the run gave.
std::string ProblemName(const std::vector<std::string>& names, size_t k);

// A derived number (a design, not a result of the run) to four significant
// digits, as terraq design prints it.
std::string FourDigits(double value);

// A computed number rounded to `digits` significant digits, in its shortest
// form without an exponent where it has none ("243.3", "12350"): the
// support forces of a sequence, which the analysis gives to every digit of
// a double, beyond anything its inputs are known to.
std::string SignificantText(double value, int digits);

// The construction sequence: the supports as built, what each stage does,
// and the support forces of every stage with the largest of each support;
// `summary` holds the forces along the supports (ui::AddSequenceToSummary).
void AppendSequence(const PackageInput::Sequence& sequence, const ui::RunSummary& summary,
                    int units, std::vector<Block>& blocks);

// The measurements the project holds (PackageCalibration.cpp): the readings
// of each measured stage that is problem `stage` of `problems` as markers on
// the deflection graph (none for a short-term and long-term analysis); the
// line that names their files and counts them; and the chapter that sets
// every reading beside the computed deflection at its depth, with the RMS
// of the differences.
void AddMeasuredCurves(DepthGraph& graph, const ui::Measurements& measurements, size_t problems,
                       bool longTerm, int unitsCode);
std::string MeasurementsLine(const ui::Measurements& measurements);
void AppendCalibration(const ui::Measurements& measurements,
                       const engine::api::AnalysisResult& analysis, bool longTerm,
                       std::vector<Block>& blocks);

}  // namespace terraq::report::detail
