#pragma once
// What the calculation package says, in order: the title page; for every
// problem of the data file (each stage, short- and long-term) the inputs as
// tables with their symbols and units, the drawing of the wall and soil,
// the earth pressure; the seismic earth pressure and the spread of its
// methods when the design takes the shaking; the results as graphs (every problem on one graph,
// with the envelope); the maxima with their depths; the warnings of the run
// with what each means; the structural check of the wall's section when the
// project remembers one; the design where the data allows it; and the
// methods with their published references. Every number is taken from the
// analysis in memory, formatted once here.
//
// A data file whose analysis stopped gives the inputs, the stop and why, and
// no results.

#include <filesystem>
#include <optional>
#include <string>

#include "AnchorChecks.h"
#include "Document.h"
#include "GroundLimitStates.h"
#include "PackageDesignSituations.h"
#include "SequentialStaging.h"
#include "api/Analysis.h"
#include "project/DesignRecord.h"
#include "project/MeasurementsMember.h"
#include "project/ProjectSectionCheck.h"

namespace terraq::report {

struct PackageInput {
  std::filesystem::path dataFile;  // named on the title page
  std::string dataText;            // the text that was analysed
  // Its analysis, with the report text (the problems' headings and the
  // engine's own wording of what it found).
  engine::api::AnalysisResult analysis;
  std::string programVersion;  // "2.4.0"
  std::string date;            // as the title page shows it, "2026-12-08"
  // The limit-equilibrium design and factor of safety of each problem that
  // has soil layers to design from, with the design's defaults.
  bool includeDesign = true;
  // The design the engineer made in the Design window, kept with the
  // project (its design record): the design chapter then designs with its
  // choices and sets the submitted wall against the tip it asks for, and
  // the title page names the project number, engineer, checker and
  // revision. None: the design's defaults, as terraq design without options.
  struct DesignChoice {
    ui::DesignRecord record;
    std::optional<design::FactorSet> approach;  // the set the record names, found
    std::string error;                          // why that set cannot be found
  };
  std::optional<DesignChoice> design;
  // The check of the wall's section the project remembers beside the data
  // file, on `analysis`; none when it remembers none (the package then has
  // no chapter of it).
  std::optional<ui::ProjectSectionCheck> section;
  // The design situations the project chooses, run on `dataText`; none when
  // it chooses none (no chapter).
  std::optional<PackageSituations> situations;
  // The construction sequence the project runs: `dataText` is then the
  // stages it makes, analysed each from the one before (no sequence: none).
  struct Sequence {
    design::SequentialPlan plan;  // as the engineer entered it
    design::SequenceData stages;  // as analysed
    // The data file's own text, the wall before construction the stages
    // are made from (the design chapter designs the sequence from it).
    std::string unstagedText;
  };
  std::optional<Sequence> sequence;
  // The subgrade-reaction model the project chose, as `analysis` used it
  // (none: the p-y model, and no chapter of it).
  std::optional<engine::api::SubgradeOptions> subgrade;
  // The faces' earth-pressure theories the project chose, as `analysis`
  // used them (none: Rankine's smooth wall, and no chapter of them).
  std::optional<engine::api::EarthPressureOptions> earthPressure;
  // The seepage the project chose, as `analysis` used it (none, or the
  // hydrostatic method: no chapter of it).
  std::optional<engine::api::SeepageOptions> seepage;
  // The ground anchors' inputs the project keeps: the design chapter then
  // designs the anchors of its anchor levels (none: no such section).
  std::optional<design::AnchorInputs> anchors;
  // The cut's plan and its anchors' lengths the project keeps: the design
  // chapter then checks the ground around the wall (none: no such section).
  std::optional<design::ExcavationPlan> excavation;
  // The measured deflections the project keeps, in the data file's units:
  // their readings on the deflection figure and a chapter that compares
  // them with the analysis (none: neither).
  std::optional<ui::Measurements> measurements;
};

// Builds the package. Never throws for a fault of the data: what cannot be
// read is said in the document.
Document BuildPackage(const PackageInput& input);

}  // namespace terraq::report
