#pragma once
// Graphs filled the way the main window fills them after a run, with
// synthetic but realistic numbers: a depth graph of three stages, the
// combined deflection-moment-shear graph with its soil layers and wall, and
// p-y curves.

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>

#include "graphs/LayerStrip.h"
#include "graphs/TGraphPlot.h"

namespace terraq::test {

using terraq::ui::TGraphPlot;
using terraq::ui::TLineList;

// Deflection (in), moment (in-kips) and shear (kips) of a cantilever wall
// 36 ft deep for stage k, at depth z (ft): smooth shapes with a sign change
// below the excavation.
inline double Deflection(int k, double z) { return (0.6 + 0.3 * k) * std::pow(1 - z / 36, 3) - 0.02 * k; }
inline double Moment(int k, double z) { return (180 + 60 * k) * std::sin(3.14159 * z / 36) * std::exp(-z / 30); }
inline double Shear(int k, double z) { return (12 + 4 * k) * std::cos(3.14159 * z / 24) * std::exp(-z / 20); }

inline void FillDepthCurves(TLineList& lines, int stages, double (*value)(int, double)) {
  ui::SetLineCount(lines, stages);
  for (int k = 0; k < stages; ++k) {
    lines[k].Name = "Stage: " + std::to_string(k + 1);
    for (int j = 0; j <= 72; ++j) {
      const double z = j * 0.5;
      lines[k].Points.push_back({value(k, z), z});
    }
  }
}

inline void DepthGraph(TGraphPlot& g) {
  g.Caption = "Deflection vs Depth";
  g.CurveName = "Load #";
  g.XCaption = "Deflection";
  g.XUnits = "L";
  g.YCaption = "Depth (ft)";
  FillDepthCurves(g.Lines, 3, Deflection);
}

inline void CombinedGraph(TGraphPlot& g) {
  g.Caption = "Deflection, Moment, Shear vs Depth";
  g.CurveName = "Curve #";
  g.ShowThree = true;
  g.XCaption = "Deflection";
  g.XUnits = "L";
  g.YCaption = "Depth (ft)";
  g.XCaption2 = "Bending Moment (in-kips)";
  g.YCaption2 = "Depth (ft)";
  g.XCaption3 = "Shear (kips)";
  g.YCaption3 = "Depth (ft)";
  FillDepthCurves(g.Lines, 2, Deflection);
  FillDepthCurves(g.Lines2, 2, Moment);
  FillDepthCurves(g.Lines3, 2, Shear);
  // Soil layers down to 40 ft, then the wall's bottom and the excavation.
  const struct {
    int code;
    double bottom;
    const char* name;
  } layers[] = {{ui::kLayerSand, 8, " SAND "},
                {ui::kLayerClay, 17, " CLAY "},
                {ui::kLayerSilt, 26, " SILT "},
                {ui::kLayerWeakRock, 32, "WEAK ROCK"},
                {ui::kLayerStrongRock, 40, "STRONG ROCK"}};
  for (const auto& layer : layers) {
    ui::TLine line;
    line.Points = {{static_cast<long double>(layer.code), layer.bottom}};
    line.Name = layer.name;
    g.LayerLines.push_back(line);
  }
  g.WallLineCount = static_cast<int>(g.LayerLines.size());
  for (double y : {36.0, 12.0}) {
    ui::TLine line;
    line.Points = {{0, y}};
    line.Name = "PILE";
    g.LayerLines.push_back(line);
  }
  g.ShowLayers = true;
  g.ShowWall = true;
}

// p-y curves at six depths: p grows to its ultimate value.
inline void PyGraph(TGraphPlot& g) {
  g.Caption = "p-y Curves";
  g.CurveName = "Depth";
  g.XCaption = "y";
  g.XUnits = "L";
  g.YCaption = "p";
  g.YUnits = "F/L";
  g.XOnTop = false;
  ui::SetLineCount(g.Lines, 6);
  for (int k = 0; k < 6; ++k) {
    g.Lines[k].Value = 24 * (k + 1);
    const double ultimate = 40 + 55 * k;
    for (int j = 0; j < 20; ++j) {
      const double y = 0.05 * j * j;
      g.Lines[k].Points.push_back({y, ultimate * std::tanh(y / (0.4 + 0.1 * k))});
    }
  }
}

// The first result block of a plot file written by the engine for
// examples/layered-clay-stiff-below-water.tq4d (English units), read just
// far enough for pictures: its p-y curves, and its deflection, moment and
// shear in feet, inches, in-kips and kips, with the sample's three clay
// layers (8, 18 and 40 ft), wall bottom (26 ft) and excavation (6 ft).
inline bool ReadLayeredClayGraphs(const std::string& plotFile, TGraphPlot& py, TGraphPlot& combined) {
  std::ifstream in(plotFile);
  double skip = 0;
  int nep = 0, units = 0, npy = 0;
  if (!(in >> nep)) return false;
  for (int i = 0; i < 4 * nep; ++i) in >> skip;
  in >> units >> npy;
  PyGraph(py);
  ui::SetLineCount(py.Lines, npy);
  for (ui::TLine& line : py.Lines) {
    double depth = 0;
    int m = 0;
    in >> depth >> m;
    line.Value = depth;
    line.Points.clear();
    for (int j = 0; j < m; ++j) {
      double y = 0, p = 0;
      in >> y >> p;
      line.Points.push_back({y, p});
    }
  }
  int sets = 0, nodes = 0, code = 0;
  in >> sets >> nodes >> code;
  CombinedGraph(combined);
  for (TLineList* list : {&combined.Lines, &combined.Lines2, &combined.Lines3}) {
    ui::SetLineCount(*list, 1);
    (*list)[0].Points.clear();
  }
  for (int j = 0; j < nodes; ++j) {
    double depth = 0, deflection = 0, moment = 0, shear = 0, reaction = 0;
    in >> depth >> deflection >> moment >> shear >> reaction;
    combined.Lines[0].Points.push_back({deflection, depth / 12});
    combined.Lines2[0].Points.push_back({moment / 1000, depth / 12});
    combined.Lines3[0].Points.push_back({shear / 1000, depth / 12});
  }
  combined.LayerLines.clear();
  for (double bottom : {8.0, 18.0, 40.0}) {
    ui::TLine line;
    line.Points = {{ui::kLayerClay, bottom}};
    line.Name = " CLAY ";
    combined.LayerLines.push_back(line);
  }
  combined.WallLineCount = 3;
  for (double y : {26.0, 6.0}) {
    ui::TLine line;
    line.Points = {{0, y}};
    line.Name = "PILE";
    combined.LayerLines.push_back(line);
  }
  return static_cast<bool>(in);
}

}  // namespace terraq::test
