#include "graphs/PlotMenuRules.h"

namespace terraq::ui {

TPlotMenuState PlotMenuState(const TGraphPlot& graph) {
  TPlotMenuState s;
  s.LegendChecked = graph.ShowLegend;
  s.SoilLayerVisible = !graph.LayerLines.empty();
  s.SoilLayerChecked = graph.ShowLayers;
  // The wall can only be drawn inside the strip: offered with the strip on.
  s.WallVisible = graph.WallLineCount > 0;
  s.WallEnabled = graph.ShowLayers;
  s.WallChecked = graph.ShowWall;
  s.FontWidthVisible = graph.ShowFontWidth;
  return s;
}

void ChooseFirstCurves(TGraphPlot& graph) {
  int shown = 0;
  for (TLine& line : graph.Lines) {
    line.Active = !line.StartsInactive && !(graph.LimitActiveCurves && shown >= kMaxActiveCurves);
    if (line.Active) ++shown;
  }
}

std::string ShownLabel(const TGraphPlot& graph, int i) {
  std::string label = graph.Label(i);
  if (graph.onGetCaption) graph.onGetCaption(i, label);
  return label;
}

std::vector<int> ActiveCurveIndices(const TGraphPlot& graph) {
  std::vector<int> active;
  for (size_t i = 0; i < graph.Lines.size(); ++i)
    if (graph.Lines[i].Active) active.push_back(static_cast<int>(i));
  return active;
}

TLegendNames::TLegendNames(const TGraphPlot& graph) {
  for (size_t i = 0; i < graph.Lines.size(); ++i) names_.push_back(ShownLabel(graph, static_cast<int>(i)));
  if (!names_.empty()) selected_ = 0;
}

void TLegendNames::Select(int i) {
  if (i >= 0 && i < static_cast<int>(names_.size())) selected_ = i;
}

bool TLegendNames::Write(const std::string& text) {
  if (selected_ < 0 || text.empty()) return false;
  names_[static_cast<size_t>(selected_)] = text;
  return true;
}

void TLegendNames::ApplyTo(TGraphPlot& graph) const {
  for (size_t i = 0; i < names_.size() && i < graph.Lines.size(); ++i) graph.Lines[i].Name = names_[i];
}

std::string ActiveEntryText(bool active, const std::string& label) {
  return std::string(active ? " yes : " : " no  : ") + "   " + label;
}

void FlipEntries(std::vector<bool>& active, const std::vector<int>& positions) {
  for (const int k : positions)
    if (k >= 0 && k < static_cast<int>(active.size())) active[static_cast<size_t>(k)] = !active[static_cast<size_t>(k)];
}

void ApplyActive(TGraphPlot& graph, const std::vector<bool>& active) {
  for (size_t i = 0; i < active.size() && i < graph.Lines.size(); ++i) graph.Lines[i].Active = active[i];
}

}  // namespace terraq::ui
