#pragma once
// The mobilised earth pressure of a subgrade-reaction analysis
// (engine/api/Subgrade.h) as a result graph: per result set (a problem, a
// stage) and face of the wall the pressure the springs carry (solid), its
// active and passive limits (dashed) and the pressure at rest (dotted),
// effective where the layer drains, the water apart. Depth grows downwards
// as the moment graph draws it (ft for English units, m for SI), pressure
// across in the data file's unit.
//
// The retained face is drawn to the left (its pressures negative) and the
// front face to the right, as the side view draws the retained soil left
// of the wall: each face keeps its half of the graph, so that its four
// curves never cross the other face's, and the gap between a solid curve
// and its dashed limits reads as what the soil has left. The faces also
// differ in colour (kRetainedColour, kFrontColour). A face without soil
// there (the front above the excavation) leaves a gap in its curves.
//
// The last result set's curves are shown first, the earlier ones offered
// by Active Curves, as the p-y curves of a staged run are. Plain C++, like
// the rest of the result graphs.

#include <filesystem>
#include <string>

#include "graphs/TResultGraphs.h"

namespace terraq::engine::api {
struct AnalysisResult;
struct ProblemResult;
}  // namespace terraq::engine::api

namespace terraq::ui {

// The colour numbers of the faces' curves (LineColour): blue and green.
inline constexpr int kRetainedColour = 1;
inline constexpr int kFrontColour = 3;

// The eight curves of `problem`'s mobilised pressure appended to `lines`:
// the retained face's mobilised, active, passive and at-rest pressure, then
// the front face's, named "Retained: mobilised", or "Stage 2, retained:
// mobilised" with the `set` name "Stage 2". None without subgrade-reaction
// results.
void AppendMobilisedPressure(TLineList& lines, const engine::api::ProblemResult& problem,
                             const std::string& set);
// The captions of the axes in the data file's units (`unitsCode`).
std::string MobilisedPressureCaption(int unitsCode);
std::string MobilisedDepthCaption(int unitsCode);

// Fills `graph` with every problem of `analysis` that has subgrade-reaction
// results, eight curves a problem: the retained face's mobilised, active,
// passive and at-rest pressure, then the front face's. `longTerm`: the two
// problems are the short-term and long-term analyses. False, with the graph
// emptied, when no problem has such results (a p-y analysis).
bool FillMobilisedPressureGraph(TGraphPlot& graph, const engine::api::AnalysisResult& analysis,
                                bool longTerm);

// The project's graph (graphs.pltMobilised) for the project of `dataFile`,
// titled as the moment graph read from the plot file. `analysis` is the
// run's when the caller has it; without it the data file is analysed in
// memory with its project's construction sequence and soil model. False
// with `error` when the project is analysed on the p-y model, its project
// file cannot be used or the analysis has no results (the graph is then
// empty); a data file that cannot be read throws EInOutError.
bool FillProjectMobilisedPressure(TResultGraphs& graphs, const std::filesystem::path& dataFile,
                                  const engine::api::AnalysisResult* analysis, bool longTerm,
                                  std::string& error);

// Why a project on the p-y model has no such graph.
inline constexpr const char* kNoMobilisedPressure =
    "the project is analysed on the p-y model: it has no mobilised earth pressure";

}  // namespace terraq::ui
