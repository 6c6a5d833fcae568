#pragma once
// Reading the plot file (".tq4p") that the engine writes beside the data
// file into the main window's result graphs.
//
// The file is a stream of blank-separated numbers, one group per result set
// (a construction stage, or the short-term or the long-term analysis):
// earth-pressure rows, the unit code, the p-y curves, and the result block
// (depth, deflection, moment, shear, net reaction per station). In English
// base units (unit code 1) depths are drawn in feet, moments in kip·in and
// shears in kips; SI values are drawn as written. The reaction is drawn per
// unit length of wall.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "graphs/TResultGraphs.h"

namespace terraq::ui {

class TProgramData;

// What the graphs take from the project besides the file: the layer strip
// and the wall of the deflection-moment-shear graph, the depths of the
// combined earth-pressure graph, the curve labels and the graphs' titles.
struct TPlotProjectFacts {
  struct Layer {
    int soilType = 0;      // 1..7 as in the soil-layer table
    double bottom = 0;     // depth of the layer's bottom as the table shows it (ft or m)
  };
  int units = 1;                // the project's units system: 1 English, 2 SI, 3 other
  bool longTerm = false;        // short-term and long-term analyses
  int incrementCount = 0;       // NI
  double incrementLength = 0;   // in the base length (in or m)
  double freeHeight = 0;        // in the base length (in or m)
  std::vector<Layer> layers;    // the short-term soil layers, top down
  std::string projectTitle;     // heads the graphs
  bool uniformSurcharge = false;  // a generated pressure carries a uniform surcharge
};

// The facts of the current project (its short-term soil-layer table).
TPlotProjectFacts PlotProjectFacts(const TProgramData& project);

// The largest counts a plot file of this engine holds; a larger count is a
// damaged file, refused before anything is allocated for it.
inline constexpr int kMaxPlotResultRows = 408;       // stations 0..407
inline constexpr int kMaxPlotPressureRows = 1200;
inline constexpr int kMaxPlotCurves = 400;
inline constexpr int kMaxPlotCurvePoints = 34;
// A project has at most five stages or two analyses; data files written by
// hand may chain more problems, but not this many.
inline constexpr int kMaxPlotResultSets = 100;

// Reads plot-file text into the graphs. Every curve is emptied first; on an
// error the graphs keep what was read up to it. Returns false with the
// reader's message ("This file either invalid or incomplete.", or the line
// and word that is not a number) in `error`.
bool ReadPlotText(std::string_view text, const TPlotProjectFacts& facts, TResultGraphs& graphs,
                  std::string& error);

// The same for a file (read whole, at most kMaxDataFileBytes); a file that
// cannot be read gives the system's reason in `error`. Whatever the file
// holds, every graph takes the verdict on the run's results (JudgeResults,
// from the report beside the file and the file itself) as its ResultsMark.
bool ReadPlotFile(const std::filesystem::path& file, const TPlotProjectFacts& facts, TResultGraphs& graphs,
                  std::string& error);

}  // namespace terraq::ui
