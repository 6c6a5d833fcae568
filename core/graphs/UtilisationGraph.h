#pragma once
// The utilisation graph: the check of the wall's section along the wall
// (ProjectSection.h) drawn as a result graph beside the moment, one curve
// per result set (a stage, or the short-term or long-term analysis), X the
// utilisation with its limit of 1 and Y the depth as the moment graph
// draws it (ft for English units, m for SI). Each curve's legend gives its
// largest utilisation, where it is and the check that governs there.
// Plain C++, like the rest of the result graphs.

#include <string>
#include <string_view>
#include <vector>

#include "graphs/TResultGraphs.h"
#include "project/WallSection.h"

namespace terraq::engine::api {
struct AnalysisResult;
}

namespace terraq::ui {

// Fills `graph` with `checks` (emptied first; the curves of problems that
// were not checked are left out). `longTerm`: the two result sets are the
// short-term and long-term analyses. Returns what the engineer must know:
// the problems not checked and why, and the notes of the data.
std::vector<std::string> FillUtilisationGraph(TGraphPlot& graph, const SectionChecks& checks,
                                              bool longTerm);

// The project's utilisation graph (graphs.pltUtil) from its data text and
// section, titled as the moment graph read from the plot file.
// `analysis` is the text's analysis when the caller has it (after a run);
// without it the text is analysed in memory. False with `error` when the
// section cannot be checked or no problem could be (the graph is then
// empty); `notes` as above.
bool FillProjectUtilisation(TResultGraphs& graphs, std::string_view dataText,
                            const WallSection& section, const engine::api::AnalysisResult* analysis,
                            bool longTerm, std::string& error, std::vector<std::string>& notes);

}  // namespace terraq::ui
