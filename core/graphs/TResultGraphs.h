#pragma once
// The main window's set of result graphs: one TGraphPlot per graph the plot
// file fills (p-y curves, the depth graphs, earth pressure) and the graphs of
// other analyses that keep only their captions. Each is created with the
// settings it has before any file is read; the plot-file reader
// (PlotFileReader.h) fills them, and the Graphics menu shows them by kind.
// Plain C++: owned by the main window, used by the tests without a display.
//
// The graphs are members, never replaced, so that a plot window may hold a
// reference to one for as long as the set lives.

#include <array>

#include "graphs/TGraphPlot.h"

namespace terraq::ui {

// The result graphs of the Graphics menu, in its order.
enum GraphKind {
  kGraphPYCurves,
  kGraphDeflection,
  kGraphMoment,
  kGraphShear,
  kGraphReaction,
  kGraphDeflectionMomentShear,
  kGraphPressure,
  kGraphPressureCombined,
  kGraphUtilisation,
  kGraphMobilisedPressure,
  kGraphCount
};

class TResultGraphs {
 public:
  // Every graph with its captions, units codes and display options as
  // created, and no curves.
  TResultGraphs();
  TResultGraphs(const TResultGraphs&) = delete;
  TResultGraphs& operator=(const TResultGraphs&) = delete;

  // Filled by the reader.
  TGraphPlot pltPY;  // p-y curves of every result set (the last set's shown first): X = y, Y = p
  TGraphPlot pltDef;      // deflection vs depth, one curve per result set
  TGraphPlot pltMom;      // bending moment vs depth
  TGraphPlot pltShear;    // shear vs depth
  TGraphPlot pltSoil;     // net reaction per unit length of wall vs depth
  TGraphPlot pltDMS;      // deflection, moment and shear side by side, with the soil layers and the wall
  TGraphPlot pltLD;       // earth pressure vs depth, one curve per result set
  TGraphPlot PltCombine;  // total, soil and surcharge pressure of the first result set
  // Filled by the check of the wall's section (UtilisationGraph.h) after
  // the plot file: the utilisation vs depth, one curve per result set.
  TGraphPlot pltUtil;
  // Filled from a subgrade-reaction analysis (MobilisedPressureGraph.h): the
  // pressure on each face of the wall against its limits.
  TGraphPlot pltMobilised;
  // Captions only (pltInter also one empty curve): analyses of another kind.
  TGraphPlot pltMomEi, pltMomCurv, pltInter, pltLM;
  // Never filled.
  TGraphPlot pltYL, pltPtKyy, pltPtK12, pltMtK21, pltMtK22;

  static constexpr int kGraphTotal = 19;
  // Every graph of the set, in the order of the members above.
  std::array<TGraphPlot*, kGraphTotal> All();

  // The graph a Graphics-menu item shows.
  TGraphPlot& Graph(GraphKind kind);
  const TGraphPlot& Graph(GraphKind kind) const;

  // Which graphs have something to draw, by the Graphics menu's rule: a
  // curve whose first curve has more than one point. The combined earth
  // pressure counts as holding data whenever the file was read; the
  // deflection-moment-shear entry follows its first panel (the menu
  // further requires the three single graphs).
  std::array<bool, kGraphCount> HoldsData() const;

  // Forgets the results of a project: every graph loses its curves, their
  // labels and legend names; display options (legend, markers, text size)
  // stay, as they belong to the user rather than to one project.
  void Empty();
};

}  // namespace terraq::ui
