#pragma once
// The words of the result graphs read from the plot file (PlotFileReader.cpp):
// their axis captions and the depths that label the p-y curves.

#include <string>
#include <vector>

#include "graphs/TResultGraphs.h"

namespace terraq::ui {

// The captions of every result graph in English units (ft, kip·in, kips)
// or SI; the parts of the combined earth pressure, the soil's share with a
// uniform surcharge in it when `uniformSurcharge`; a lone result set
// labelled "Total" in the pressure graph.
void SetResultCaptions(TResultGraphs& g, bool english, bool uniformSurcharge, int sets);

// Each depth (ft or m) as a label's text, "12.0 ft" or "3.50 m": with more
// decimals, up to four, where two distinct depths would share a text.
std::vector<std::string> DepthTexts(const std::vector<long double>& depths, bool english);

}  // namespace terraq::ui
