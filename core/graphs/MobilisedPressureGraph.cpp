#include "graphs/MobilisedPressureGraph.h"

#include <cctype>
#include <limits>

#include "api/Analysis.h"
#include "api/Units.h"
#include "project/SequentialRun.h"
#include "project/TWordReader.h"

namespace terraq::ui {

namespace {

namespace api = engine::api;

// One curve of a face: which of its pressures, its name and its pen.
struct FaceCurve {
  double api::MobilisedPressure::*value;
  const char* name;
  TLineStyle style;
};
constexpr FaceCurve kFaceCurves[] = {
    {&api::MobilisedPressure::pressure, "mobilised", TLineStyle::Solid},
    {&api::MobilisedPressure::active, "active", TLineStyle::Dashed},
    {&api::MobilisedPressure::passive, "passive", TLineStyle::Dashed},
    {&api::MobilisedPressure::atRest, "at rest", TLineStyle::Dotted},
};

struct Face {
  api::MobilisedPressure api::SubgradeStation::*pressures;
  const char* name;
  double sign;  // the retained face to the left
  int colour;
};
constexpr Face kFaces[] = {
    {&api::SubgradeStation::retained, "retained", -1, kRetainedColour},
    {&api::SubgradeStation::front, "front", 1, kFrontColour},
};

std::string SetName(size_t k, size_t count, bool longTerm) {
  if (longTerm && count == 2) return k == 0 ? "Short-Term" : "Long-Term";
  return "Stage " + std::to_string(k + 1);
}

// The four curves of one face of one problem, depths in feet or metres.
void AddFace(TLineList& lines, const api::ProblemResult& problem, const Face& face,
             const std::string& set) {
  constexpr long double kGap = std::numeric_limits<long double>::quiet_NaN();
  // English lengths are held in inches.
  const bool inches = api::UnitsSystemOf(problem.units) == api::UnitsSystem::English;
  const long double perDepth = inches ? api::kInchesPerFoot : 1;
  for (const FaceCurve& curve : kFaceCurves) {
    TLine line;
    line.Value = static_cast<long double>(lines.size() + 1);
    line.ColourNumber = face.colour;
    line.Style = curve.style;
    for (const api::SubgradeStation& s : problem.subgrade) {
      const api::MobilisedPressure& p = s.*face.pressures;
      line.Points.push_back({p.present ? face.sign * (p.*curve.value) : kGap, s.depth / perDepth});
    }
    std::string name = std::string(face.name) + ": " + curve.name;
    if (set.empty()) name[0] = static_cast<char>(std::toupper(name[0]));
    line.Name = set.empty() ? name : set + ", " + name;
    lines.push_back(std::move(line));
  }
}

}  // namespace

void AppendMobilisedPressure(TLineList& lines, const api::ProblemResult& problem,
                             const std::string& set) {
  if (problem.subgrade.size() < 2) return;
  for (const Face& face : kFaces) AddFace(lines, problem, face, set);
}

std::string MobilisedPressureCaption(int unitsCode) {
  return "Earth Pressure (" + std::string(api::UnitLabel(api::Quantity::Pressure, unitsCode)) +
         "): Retained Face Left, Front Face Right";
}

std::string MobilisedDepthCaption(int unitsCode) {
  return "Depth (" + std::string(api::UnitLabel(api::Quantity::LargeLength, unitsCode)) + ")";
}

bool FillMobilisedPressureGraph(TGraphPlot& graph, const api::AnalysisResult& analysis,
                                bool longTerm) {
  graph.Lines.clear();
  graph.Labels.clear();
  const size_t count = analysis.problems.size();
  int units = 0;
  for (size_t k = 0; k < count; ++k) {
    const size_t before = graph.Lines.size();
    AppendMobilisedPressure(graph.Lines, analysis.problems[k],
                            count > 1 ? SetName(k, count, longTerm) : std::string());
    if (graph.Lines.size() > before) units = analysis.problems[k].units;
  }
  if (graph.Lines.empty()) return false;
  // The earlier sets wait in Active Curves: eight curves a set crowd fast.
  for (size_t i = 0; i + std::size(kFaces) * std::size(kFaceCurves) < graph.Lines.size(); ++i)
    graph.Lines[i].StartsInactive = true;
  graph.SetUnits(units);
  graph.YCaption = MobilisedDepthCaption(units);
  graph.XCaption = MobilisedPressureCaption(units);
  return true;
}

bool FillProjectMobilisedPressure(TResultGraphs& graphs, const std::filesystem::path& dataFile,
                                  const api::AnalysisResult* analysis, bool longTerm,
                                  std::string& error) {
  TGraphPlot& graph = graphs.pltMobilised;
  graph.Lines.clear();
  if (!graph.TitleChosen) graph.Title = graphs.pltMom.Title;
  std::optional<api::AnalysisResult> analysed;
  if (!analysis) {
    const std::string text = ReadWholeFile(dataFile);
    // The p-y model has nothing to show: no analysis is needed to say so.
    if (const std::optional<ProjectRunInput> project = ReadProjectRun(dataFile, text, error);
        !project || !project->subgrade) {
      if (project) error = kNoMobilisedPressure;
      return false;
    }
    analysed = AnalyseProjectInMemory(dataFile, text, error);
    if (!analysed) return false;
    analysis = &*analysed;
  }
  if (FillMobilisedPressureGraph(graph, *analysis, longTerm)) return true;
  const bool subgrade = !analysis->problems.empty() && !analysis->problems.front().subgrade.empty();
  error = analysis->error                          ? analysis->error->message
          : analysis->problems.empty() || subgrade ? "the analysis gave no results"
                                                   : kNoMobilisedPressure;
  return false;
}

}  // namespace terraq::ui
