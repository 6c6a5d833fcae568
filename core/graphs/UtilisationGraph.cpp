#include "graphs/UtilisationGraph.h"

#include "api/Units.h"
#include "controls/NumberFormat.h"
#include "project/ProjectSection.h"

namespace terraq::ui {

namespace {

std::string SetName(size_t k, size_t count, bool longTerm) {
  if (longTerm && count == 2) return k == 0 ? "Short-Term" : "Long-Term";
  return "Stage " + std::to_string(k + 1);
}

}  // namespace

std::vector<std::string> FillUtilisationGraph(TGraphPlot& graph, const SectionChecks& checks,
                                              bool longTerm) {
  std::vector<std::string> notes = checks.data.notes;
  graph.Lines.clear();
  const size_t count = checks.problems.size();
  int units = 0;
  for (size_t k = 0; k < count; ++k) {
    const design::WallCheck& check = checks.problems[k];
    const std::string set = count > 1 ? SetName(k, count, longTerm) : std::string();
    if (!check.error.empty() || check.stations.empty()) {
      notes.push_back((set.empty() ? "the wall" : set) + " is not checked: " +
                      (check.error.empty() ? "it has no results" : check.error));
      continue;
    }
    units = checks.data.problems[k].units;
    // Depths in feet or metres: English lengths are held in inches.
    const bool inches = engine::api::UnitsSystemOf(units) == engine::api::UnitsSystem::English;
    const long double perDepth = inches ? engine::api::kInchesPerFoot : 1;
    const std::string depthUnit(engine::api::UnitLabel(engine::api::Quantity::LargeLength, units));
    TLine line;
    line.Value = static_cast<long double>(k + 1);
    for (const design::StationCheck& s : check.stations)
      line.Points.push_back({s.utilisation, s.depth / perDepth});
    line.Name = (set.empty() ? checks.used.section.name : set) + ": " +
                FormatGeneral(check.utilisation, 3) + " at " +
                FormatGeneral(check.utilisationDepth / perDepth, 4) + " " + depthUnit + ", " +
                std::string(design::CheckWord(check.governing));
    graph.Lines.push_back(std::move(line));
  }
  graph.Labels.clear();
  if (units) {
    graph.SetUnits(units);
    graph.YCaption =
        "Depth (" + std::string(engine::api::UnitLabel(engine::api::Quantity::LargeLength, units)) +
        ")";
  }
  const std::string steel = checks.used.section.name + " in " + checks.used.grade.name;
  graph.XCaption = "Utilisation of " + steel;
  return notes;
}

bool FillProjectUtilisation(TResultGraphs& graphs, std::string_view dataText,
                            const WallSection& section, const engine::api::AnalysisResult* analysis,
                            bool longTerm, std::string& error, std::vector<std::string>& notes) {
  TGraphPlot& graph = graphs.pltUtil;
  graph.Lines.clear();
  notes.clear();
  if (!graph.TitleChosen) graph.Title = graphs.pltMom.Title;
  const std::optional<SectionChecks> checks =
      CheckSectionAlongWall(dataText, section, analysis, error);
  if (!checks) return false;
  notes = FillUtilisationGraph(graph, *checks, longTerm);
  if (!graph.Lines.empty()) return true;
  // Nothing to draw: the reasons are the error, not notes beside a graph.
  error = "the analysis gave no results to check";
  if (!notes.empty()) error = notes.front();
  for (size_t k = 1; k < notes.size(); ++k) error += "; " + notes[k];
  notes.clear();
  return false;
}

}  // namespace terraq::ui
