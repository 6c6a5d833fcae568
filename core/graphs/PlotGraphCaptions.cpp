// The captions and curve labels of the result graphs (PlotGraphCaptions.h).
#include "graphs/PlotGraphCaptions.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace terraq::ui {

void SetResultCaptions(TResultGraphs& g, bool english, bool uniformSurcharge, int sets) {
  for (TGraphPlot* graph : {&g.pltDef, &g.pltMom, &g.pltShear, &g.pltSoil, &g.pltLD})
    graph->YCaption = english ? "Depth (ft)" : "Depth (m)";
  // Force before length, as the report writes its moments (LBS-IN, KN-M).
  const std::string moment = english ? "(kip·in)" : "(kN·m)";
  const std::string force = english ? "(kips)" : "(kN)";
  g.pltMom.XCaption = "Bending Moment " + moment;
  g.pltShear.XCaption = "Shear " + force;
  g.pltMomEi.XCaption = "Moment " + moment;
  g.pltMomEi.YCaption = english ? "EI (kip·in²)" : "EI (kN·m²)";
  g.pltMomCurv.YCaption = "Moment " + moment;
  g.pltInter.XCaption = "Bending Moment " + moment;
  g.pltInter.YCaption = "Axial Load " + force;
  g.pltLM.XCaption = "Maximum Moment " + moment;
  g.pltLM.YCaption = "Lateral Load " + force;

  // One meaning per graph: the parts of the first set's pressure here,
  // the sets' total pressures in the distribution graph. A uniform
  // surcharge is generated as overburden, so its share is in the soil's.
  g.PltCombine.Labels = {"Total", uniformSurcharge ? "Soil, uniform surcharge included" : "Soil",
                         "Surcharge"};
  if (sets == 1) g.pltLD.Labels = {"Total"};

  TGraphPlot& dms = g.pltDMS;
  dms.XCaption = g.pltDef.XCaption;
  dms.YCaption = g.pltDef.YCaption;
  dms.XUnits = g.pltDef.XUnits;
  dms.XCaption2 = g.pltMom.XCaption;
  dms.YCaption2 = g.pltMom.YCaption;
  dms.XUnits2 = g.pltMom.XUnits;
  dms.XCaption3 = g.pltShear.XCaption;
  dms.YCaption3 = g.pltShear.YCaption;
  dms.XUnits3 = g.pltShear.XUnits;
}

std::vector<std::string> DepthTexts(const std::vector<long double>& depths, bool english) {
  auto format = [&](long double depth, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*Lf %s", decimals, depth, english ? "ft" : "m");
    return std::string(text);
  };
  // Curves just above and below a layer boundary lie a tenth of an inch
  // apart: more decimals until each keeps a label of its own. Rounding
  // keeps the order of the depths, so a depth whose text another depth
  // shares shares it with a neighbour among the distinct depths in order:
  // each label looks at two, not at every other curve.
  std::vector<long double> distinct;
  for (const long double depth : depths)
    if (std::isfinite(depth)) distinct.push_back(depth);
  std::sort(distinct.begin(), distinct.end());
  distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
  std::vector<std::string> texts;
  for (const long double depth : depths) {
    const auto at = std::lower_bound(distinct.begin(), distinct.end(), depth);
    auto clashes = [&](int decimals) {
      if (at == distinct.end() || *at != depth) return false;  // not a number
      const std::string own = format(*at, decimals);
      return (at != distinct.begin() && format(*(at - 1), decimals) == own) ||
             (at + 1 != distinct.end() && format(*(at + 1), decimals) == own);
    };
    int decimals = english ? 1 : 2;
    while (decimals < 4 && clashes(decimals)) ++decimals;
    texts.push_back(format(depth, decimals));
  }
  return texts;
}

}  // namespace terraq::ui
