// The order of the calculation package and the facts of its title page; the
// chapters themselves are made by the parts (PackageParts.h).

#include "PackageContents.h"

#include <algorithm>
#include <cmath>
#include <exception>

#include "PackageFigures.h"
#include "PackageGraphs.h"
#include "PackageParts.h"
#include "api/Units.h"
#include "project/RunOutcome.h"
#include "project/SequentialRun.h"
#include "project/StageFiles.h"

namespace terraq::report {

namespace detail {

namespace {

StageProject FreshStage() {
  StageProject stage;
  stage.tables = std::make_unique<ui::TProjectTables>();
  stage.data = std::make_unique<ui::TProgramData>(*stage.tables);
  return stage;
}

}  // namespace

ProjectRead ReadProject(const std::string& text, int layout) {
  ProjectRead project;
  StageProject whole = FreshStage();
  try {
    whole.data->LoadText(text, layout);
  } catch (const std::exception& e) {
    project.error = e.what();
    return project;
  }
  if (whole.data->StageCount < 2) {
    project.stages.push_back(std::move(whole));
    return project;
  }
  // Each stage is a complete data set of its own: read block by block, as
  // the program reads its stage files.
  const std::vector<std::string> blocks = ui::SplitStageBlocks(text);
  for (size_t k = 0; k < blocks.size(); ++k) {
    StageProject stage = FreshStage();
    try {
      stage.data->LoadStageBlockText(blocks[k], layout);
    } catch (const std::exception& e) {
      project.error = "Stage " + std::to_string(k + 1) + ": " + e.what();
      break;
    }
    // The blocks after the first carry a stage marker instead of a title.
    if (k > 0) stage.data->ProjectTitle = project.stages.front().data->ProjectTitle;
    project.stages.push_back(std::move(stage));
  }
  return project;
}

ProjectRead ReadStages(const std::vector<std::string>& texts, int layout) {
  ProjectRead project;
  for (size_t k = 0; k < texts.size(); ++k) {
    StageProject stage = FreshStage();
    try {
      stage.data->LoadText(texts[k], layout);
    } catch (const std::exception& e) {
      project.error = "Stage " + std::to_string(k + 1) + ": " + e.what();
      break;
    }
    project.stages.push_back(std::move(stage));
  }
  return project;
}

}  // namespace detail

namespace {

using detail::ProjectRead;

// The project's units code (1 to 3); "—" for a code no system has.
std::string unitsSystemText(int units) {
  using engine::api::UnitsSystem;
  switch (static_cast<UnitsSystem>(units)) {
    case UnitsSystem::English: return "English (lb, in)";
    case UnitsSystem::SI: return "SI (kN, m)";
    case UnitsSystem::Generic: return "Other (F, L)";
  }
  return "—";
}

// The name of each problem of the run on graphs and in tables: "Stage 2",
// "Short-term" and "Long-term", or the title of a single problem.
std::vector<std::string> problemNames(const ui::RunSummary& summary, const ProjectRead& project) {
  bool staged = project.staged(), longTerm = project.longTerm();
  for (const ui::ProblemSummary& p : summary.problems) {
    staged = staged || p.kind == ui::HeadingKind::Stage;
    longTerm = longTerm || p.kind == ui::HeadingKind::LongTerm;
  }
  std::vector<std::string> names;
  const size_t count = summary.problems.size();
  for (size_t k = 0; k < count; ++k) {
    const ui::ProblemSummary& p = summary.problems[k];
    if (staged)
      names.push_back("Stage " + std::to_string(p.kind == ui::HeadingKind::Stage && p.stage > 0
                                                    ? p.stage
                                                    : int(k) + 1));
    else if (longTerm && k < 2) names.push_back(k == 0 ? "Short-term" : "Long-term");
    else if (count == 1 && !p.title.empty()) names.push_back(p.title);
    else names.push_back("Problem " + std::to_string(k + 1));
  }
  return names;
}

std::string runText(const ui::RunSummary& summary, const engine::api::AnalysisResult& analysis) {
  if (analysis.error) return "Stopped: " + analysis.error->message;
  const ui::ResultsVerdict verdict = ui::JudgeResults(summary);
  if (!verdict.valid && summary.complete) return "Completed; " + verdict.mark;
  if (!verdict.valid) return "Completed; results not valid (see the warnings)";
  return "Completed; every problem closed";
}

void appendStop(const engine::api::AnalysisResult& analysis, const std::vector<std::string>& names,
                std::vector<Block>& blocks) {
  blocks.push_back(Heading{1, "Analysis stopped", {}});
  blocks.push_back(
      Paragraph{"The analysis stopped before it completed: this package gives no results. "
                "The engine's message:"});
  blocks.push_back(Paragraph{analysis.error->message, Paragraph::Style::Mono});
  if (analysis.error->line > 0)
    blocks.push_back(
        Paragraph{"At line " + std::to_string(analysis.error->line) + " of the data file."});
  if (!names.empty()) {
    std::string solved;
    for (const std::string& name : names) solved += (solved.empty() ? "" : ", ") + name;
    blocks.push_back(
        Paragraph{"Solved before the stop: " + solved +
                      ". Their results are left out with the rest: correct the data and "
                      "analyse the whole file again.",
                  Paragraph::Style::Note});
  }
}

// The supports of a construction sequence in place in stage `k` (from 0),
// each with the force along it the analysis found there.
std::vector<SequenceSupportMark> sequenceSupports(const PackageInput& input,
                                                  const ui::RunSummary& summary, size_t k,
                                                  int units) {
  std::vector<SequenceSupportMark> marks;
  if (!input.sequence) return marks;
  const int stage = static_cast<int>(k) + 1;
  for (const design::ModelSupport& m : input.sequence->stages.supports) {
    if (m.installStage == 0 || stage < m.installStage || (m.removeStage && stage >= m.removeStage))
      continue;
    SequenceSupportMark mark{m.depth, false, m.name};
    for (const design::StagedSupport& s : input.sequence->plan.supports)
      if (s.name == m.name) mark.strut = s.strut;
    if (k < summary.problems.size())
      for (const ui::SequentialSupportSummary& s : summary.problems[k].sequentialSupports)
        if (s.name == m.name && s.forceAlong)
          mark.text += ", " + ui::SummaryNumberText(std::round(*s.forceAlong * 10) / 10) + " " +
                       ui::ResultUnitsFor(units).force + " along it" +
                       (s.state == "acting" ? "" : " (" + s.state + ")");
    marks.push_back(mark);
  }
  return marks;
}

// The title page: the run's facts, and who made and checked a design first.
void FillTitlePage(const PackageInput& input, const std::vector<std::string>& names,
                   const ui::RunSummary& summary, int units, Document& document) {
  std::string analysed;
  for (const std::string& name : names) analysed += (analysed.empty() ? "" : ", ") + name;
  document.titlePage.facts.entries = {
      {"Data file", "", input.dataFile.filename().string(), ""},
      {"Date", "", input.date, ""},
      {"Program version", "",
       input.programVersion.empty() ? "TERRAQ" : "TERRAQ " + input.programVersion, ""},
      {"Units system", "", unitsSystemText(units), ""},
      {"Problems analysed", "",
       std::to_string(names.size()) + (analysed.empty() ? "" : ": " + analysed), ""},
      {"Run", "", runText(summary, input.analysis), ""},
  };
  if (!input.design) return;
  const ui::DesignRecord& r = input.design->record;
  const std::pair<const char*, const std::string*> fields[] = {{"Project number", &r.projectNumber},
                                                               {"Engineer", &r.engineer},
                                                               {"Checker", &r.checker},
                                                               {"Revision", &r.revision}};
  std::vector<KeyValues::Entry> who;
  for (const auto& [label, value] : fields)
    if (!value->empty()) who.push_back({label, "", *value, ""});
  auto& entries = document.titlePage.facts.entries;
  entries.insert(entries.begin(), who.begin(), who.end());
}

// The chapters of the results: the earth pressure applied and the wall's
// deflection, slope, moment, shear and soil reaction.
void AppendResultFigures(const engine::api::AnalysisResult& analysis,
                         const std::vector<std::string>& names, int resultUnits,
                         const ui::Measurements* measured, bool longTerm,
                         std::vector<Block>& blocks) {
  blocks.push_back(Heading{1, "Earth pressure", {}});
  const bool pressure = std::any_of(analysis.problems.begin(), analysis.problems.end(),
                                    [](const auto& p) { return !p.earthPressure.empty(); });
  if (pressure)
    blocks.push_back(PressureFigure(analysis.problems, names, resultUnits,
                                    "Earth pressure applied to the wall"));
  else
    blocks.push_back(
        Paragraph{"No problem applies earth pressure to the wall: its loads are those of "
                  "the inputs."});

  blocks.push_back(Heading{1, "Results", {}});
  blocks.push_back(
      Paragraph{"Deflection, loads and soil reaction are positive towards the excavation; a "
                "moment is positive when it stretches the backfill face.",
                Paragraph::Style::Note});
  const std::pair<Quantity, const char*> quantities[] = {{Quantity::Deflection, "Deflection"},
                                                         {Quantity::Slope, "Slope"},
                                                         {Quantity::Moment, "Bending moment"},
                                                         {Quantity::Shear, "Shear"},
                                                         {Quantity::SoilReaction, "Soil reaction"}};
  for (const auto& [quantity, caption] : quantities) {
    if (quantity != Quantity::Deflection || !measured) {
      blocks.push_back(ResultFigure(quantity, analysis.problems, names, resultUnits, caption));
      continue;
    }
    // The inclinometer's readings beside the stages they were taken at.
    DepthGraph graph = ResultGraph(quantity, analysis.problems, names, resultUnits);
    detail::AddMeasuredCurves(graph, *measured, analysis.problems.size(), longTerm, resultUnits);
    blocks.push_back(DepthFigure(std::move(graph), caption));
    blocks.push_back(Paragraph{detail::MeasurementsLine(*measured), Paragraph::Style::Note});
  }
}

// The design chapter when the package includes it; whether it made one.
bool AppendDesignChapter(const PackageInput& input, const std::vector<std::string>& names,
                         std::vector<Block>& blocks) {
  if (!input.includeDesign) return false;
  const size_t before = blocks.size();
  const PackageInput::DesignChoice* choice = input.design ? &*input.design : nullptr;
  if (input.sequence)
    detail::AppendSequenceDesign(input.sequence->unstagedText, input.sequence->plan, choice, names,
                                 blocks, input.anchors ? &*input.anchors : nullptr,
                                 input.excavation ? &*input.excavation : nullptr);
  else
    detail::AppendDesign(input.dataText, choice, names, blocks,
                         input.anchors ? &*input.anchors : nullptr,
                         input.excavation ? &*input.excavation : nullptr);
  return blocks.size() > before;
}

}  // namespace

Document BuildPackage(const PackageInput& input) {
  Document document;
  const engine::api::AnalysisResult& analysis = input.analysis;
  // A construction sequence: each stage as the data set it is analysed from.
  const ProjectRead project =
      input.sequence
          ? detail::ReadStages(input.sequence->stages.stageTexts, ui::LayoutForFile(input.dataFile))
          : detail::ReadProject(input.dataText, ui::LayoutForFile(input.dataFile));
  ui::RunSummary summary = ui::SummarizeAnalysis(analysis, analysis.report);
  if (input.sequence) ui::AddSequenceToSummary(input.sequence->stages, summary);
  const std::vector<std::string> names = problemNames(summary, project);
  const std::string fileName = input.dataFile.filename().string();
  const int units = !project.stages.empty()      ? project.stages.front().data->Units
                    : !analysis.problems.empty() ? analysis.problems.front().units
                                                 : 0;
  const int resultUnits = analysis.problems.empty() ? units : analysis.problems.front().units;

  std::string title = !project.stages.empty()      ? project.stages.front().data->ProjectTitle
                      : !analysis.problems.empty() ? analysis.problems.front().title
                                                   : std::string();
  if (title.empty()) title = fileName;
  document.titlePage.title = title;
  document.titlePage.subtitle = "Calculation package";
  FillTitlePage(input, names, summary, units, document);
  document.runningHeader = title + " — " + fileName;

  std::vector<Block>& blocks = document.blocks;
  detail::AppendInputs(project, blocks);
  if (!project.stages.empty()) {
    blocks.push_back(Heading{1, "Wall and soil profile", {}});
    for (size_t k = 0; k < project.stages.size(); ++k)
      blocks.push_back(ProfileFigure(*project.stages[k].data,
                                     project.staged()
                                         ? "Wall and soil profile, stage " + std::to_string(k + 1)
                                         : "Wall and soil profile",
                                     sequenceSupports(input, summary, k, resultUnits)));
  }
  // Before the results, so that a refusal of the theories is explained too.
  if (input.earthPressure)
    detail::AppendEarthPressureTheories(*input.earthPressure, input.dataText, blocks);
  // The shaking beside the static theories: how much the method matters.
  if (const std::vector<detail::SeismicUse> uses = detail::SeismicUsesOf(input); !uses.empty())
    detail::AppendSeismicEarthPressure(uses, detail::SeismicWallOf(input), blocks);
  if (analysis.error || analysis.problems.empty()) {
    if (analysis.error) appendStop(analysis, names, blocks);
    else blocks.push_back(Paragraph{"No problem of the data file reached its results."});
    if (input.sequence) detail::AppendSequence(*input.sequence, {}, units, blocks);
    if (input.section) detail::AppendStructuralCheck(*input.section, analysis, names, blocks);
    detail::AppendMethods(project, false, nullptr, blocks);
    return document;
  }

  const ui::Measurements* measured = input.measurements ? &*input.measurements : nullptr;
  AppendResultFigures(analysis, names, resultUnits, measured, project.longTerm(), blocks);
  detail::AppendMaxima(summary, names, blocks);
  if (input.subgrade) detail::AppendSoilModel(*input.subgrade, analysis, names, blocks);
  if (input.seepage && input.seepage->method != engine::api::SeepageMethod::Hydrostatic)
    detail::AppendSeepage(*input.seepage, analysis, names, input.dataText, blocks);
  if (input.sequence) detail::AppendSequence(*input.sequence, summary, resultUnits, blocks);
  if (measured) detail::AppendCalibration(*measured, analysis, project.longTerm(), blocks);
  detail::AppendWarnings(summary, analysis, names, blocks);
  const ui::SectionInUse* checked = nullptr;
  if (input.section) {
    detail::AppendStructuralCheck(*input.section, analysis, names, blocks,
                                  input.situations ? &*input.situations : nullptr);
    if (input.section->checks) checked = &input.section->checks->used;
  }
  if (input.situations)
    detail::AppendDesignSituations(*input.situations, analysis.problems.front().units, names,
                                   blocks);
  // An apparent-pressure design cites its envelope's source in its chapter:
  // the methods name the limit equilibrium only when it designed.
  const bool apparent = input.design && input.design->record.apparent;
  const bool designed = AppendDesignChapter(input, names, blocks) && !apparent;
  detail::AppendMethods(project, designed, checked, blocks);
  return document;
}

}  // namespace terraq::report
