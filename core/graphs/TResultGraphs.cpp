#include "graphs/TResultGraphs.h"

namespace terraq::ui {

namespace {

struct GraphSettings {
  const char* caption;
  const char* curveName;
  const char* xCaption;
  const char* xUnits;
  const char* yCaption;
  const char* yUnits;
  bool xOnTop;
  bool showLegend;
};

// What every result graph shares; the rest comes from its settings.
void setUp(TGraphPlot& g, const GraphSettings& s) {
  g.Caption = s.caption;
  g.CurveName = s.curveName;
  g.XCaption = s.xCaption;
  g.XUnits = s.xUnits;
  g.YCaption = s.yCaption;
  g.YUnits = s.yUnits;
  g.XOnTop = s.xOnTop;
  g.ShowLegend = s.showLegend;
  g.ShowLayers = g.ShowWall = g.ShowThree = false;
  g.ShowFontWidth = true;
  g.WallLineCount = 0;
  g.Markers = 1;
  g.SizeFont = 10;
  g.LegendFont = 11;
  g.WidthLine = 1;
  g.SetUnits(1);
}

}  // namespace

TResultGraphs::TResultGraphs() {
  setUp(pltPY, {"p-y Curves", "Depth", "y", "L", "p", "F/L", false, true});
  // Generated curves go on flat to 36 in: the range shows where they bend.
  pltPY.XRangeOfShape = true;
  setUp(pltDef, {"Deflection vs Depth", "Load #", "Deflection", "L", "Depth", "", true, true});
  setUp(pltMom, {"Moment Depth", "Load #", "Bending Moment", "", "Depth", "", true, true});
  setUp(pltShear, {"Shear vs Depth", "Load #", "Shear", "", "Depth", "", true, true});
  // Per unit length of wall (the plot file holds the force per station).
  setUp(pltSoil, {"Soil Reaction vs Depth", "Load #", "Net Reaction per Unit Length of Wall", "F/L",
                  "Depth", "", true, true});
  setUp(pltDMS, {"Deflection, Moment, Shear vs Depth", "Curve #", "Deflection", "L", "Depth", "", true, true});
  // The earth-pressure graphs are named as their menu items: the caption
  // heads the window's read-out and the printout, where "Load vs Top
  // Deflection" or nothing at all would misname the graph.
  setUp(pltLD, {"Earth Pressure Distribution", "Curve #", "Distributed load", "F/L", "Depth", "", true, true});
  setUp(PltCombine, {"Earth Pressure Combined", "Curve #", "Distributed load", "F/L", "Depth", "L2", true, true});
  setUp(pltUtil, {"Utilisation vs Depth", "Stage ", "Utilisation", "", "Depth", "", true, true});
  pltUtil.XLimit = 1;
  setUp(pltMobilised,
        {"Mobilised Earth Pressure", "Curve #", "Earth Pressure", "", "Depth", "", true, true});
  // Zero is the wall: the faces' pressures stand either side of it.
  pltMobilised.ZeroLine = true;
  // A station every tenth of a metre: markers on each would bury the curve.
  pltMobilised.Markers = 10;
  setUp(pltMomEi, {"EI vs Moment", "Axial Load ", "Moment", "", "EI", "", false, true});
  setUp(pltMomCurv, {"Moment vs Curvature", "Axial Load ", "Curvature (rad)", "", "Moment", "", false, true});
  setUp(pltInter, {"Interaction Diagram", "Curve #", "Bending Moment", "", "Axial Load", "", false, false});
  setUp(pltLM, {"Load vs Max Bending Moment", "Curve #", "Max Bending Moment", "", "Lateral Load", "", false, true});
  // Graphs of analyses this program does not run; they keep their captions.
  setUp(pltYL, {"Lateral Load vs Top Deflection", "Curve #", "Top Deflection", "L", "Lateral Load", "F", false, true});
  setUp(pltPtKyy, {"Lateral Stiffness vs Load", "Curve #", "Lateral Load", "F", "Kyy", "F/L", false, true});
  setUp(pltPtK12, {"Coupled Stiffness vs Load", "Curve #", "Lateral Load", "F", "K12", "F", false, true});
  setUp(pltMtK21, {"Coupled Stiffness vs Moment", "Curve #", "Moment", "F-L", "K21", "F", false, true});
  setUp(pltMtK22, {"Rotational Stiffness vs Moment", "Curve #", "Moment", "F-L", "K22", "F-L", false, true});
}

std::array<TGraphPlot*, TResultGraphs::kGraphTotal> TResultGraphs::All() {
  return {&pltPY,      &pltDef,   &pltMom,       &pltShear, &pltSoil,    &pltDMS,   &pltLD,
          &PltCombine, &pltUtil,  &pltMobilised, &pltMomEi, &pltMomCurv, &pltInter, &pltLM,
          &pltYL,      &pltPtKyy, &pltPtK12,     &pltMtK21, &pltMtK22};
}

const TGraphPlot& TResultGraphs::Graph(GraphKind kind) const {
  switch (kind) {
    case kGraphPYCurves: return pltPY;
    case kGraphDeflection: return pltDef;
    case kGraphMoment: return pltMom;
    case kGraphShear: return pltShear;
    case kGraphReaction: return pltSoil;
    case kGraphDeflectionMomentShear: return pltDMS;
    case kGraphPressure: return pltLD;
    case kGraphUtilisation: return pltUtil;
    case kGraphMobilisedPressure: return pltMobilised;
    case kGraphPressureCombined:
    case kGraphCount: break;
  }
  return PltCombine;
}

TGraphPlot& TResultGraphs::Graph(GraphKind kind) {
  return const_cast<TGraphPlot&>(static_cast<const TResultGraphs&>(*this).Graph(kind));
}

std::array<bool, kGraphCount> TResultGraphs::HoldsData() const {
  std::array<bool, kGraphCount> holds{};
  // A single point draws no line: a graph needs two.
  for (int k = 0; k < kGraphCount; ++k) holds[k] = PointCount(Graph(static_cast<GraphKind>(k)).Lines) > 1;
  holds[kGraphPressureCombined] = true;
  return holds;
}

void TResultGraphs::Empty() {
  for (TGraphPlot* g : All()) {
    for (TLineList* list : {&g->Lines, &g->LayerLines, &g->Lines2, &g->Lines3}) list->clear();
    g->Labels.clear();
    g->WallLineCount = 0;
    g->ResultsMark.clear();
    g->LiveMark.clear();
    // The project's title goes with its results; the user's stays.
    if (!g->TitleChosen) g->Title.clear();
  }
}

}  // namespace terraq::ui
