#pragma once
// The rules behind a plot window's Plot menu and its curve dialogs, kept
// out of the widgets so that tests reach them: which items the menu shows,
// enables and checks for a graph; the labels a window gives its curves; the
// list of the Legend dialog (renaming) and the yes/no list of the Active
// Curves dialog.

#include <string>
#include <vector>

#include "graphs/TGraphPlot.h"

namespace terraq::ui {

// The state of the menu's fixed items when it opens.
struct TPlotMenuState {
  bool LegendChecked = false;
  bool SoilLayerVisible = false;  // only for graphs with a layer strip
  bool SoilLayerChecked = false;
  bool WallVisible = false;       // only for graphs with soil layers
  bool WallEnabled = false;       // only while the strip is shown
  bool WallChecked = false;
  bool FontWidthVisible = false;  // the Font Size and Line Width submenus
};
TPlotMenuState PlotMenuState(const TGraphPlot& graph);

// The numbers of the radio items, in menu order: marker spacing in points,
// text size in tenths of the window font, and pen width factor.
inline constexpr int kMarkerSteps[] = {0, 1, 2, 3, 5, 10};
inline constexpr int kFontSizes[] = {10, 15, 20, 25, 30, 40};
inline constexpr int kLineWidths[] = {1, 2, 4, 6, 10};

// The curves a new window shows: every curve of Lines not StartsInactive,
// at most kMaxActiveCurves of them when the graph limits them.
void ChooseFirstCurves(TGraphPlot& graph);

// The label a window shows for curve i of Lines: its Label passed through
// the owner's onGetCaption when one is set.
std::string ShownLabel(const TGraphPlot& graph, int i);
// The indices of the active curves of Lines, in curve order: the window's
// legend entries and curve items, one to one.
std::vector<int> ActiveCurveIndices(const TGraphPlot& graph);

// The Legend dialog's list: one label per curve of Lines, active or not,
// and the entry being edited.
class TLegendNames {
 public:
  explicit TLegendNames(const TGraphPlot& graph);

  const std::vector<std::string>& Names() const { return names_; }
  int Selected() const { return selected_; }
  // Selects entry i (ignored outside the list).
  void Select(int i);
  // The selected entry takes `text`; an empty text is refused (false) and
  // the entry keeps its label. Nothing selected: false.
  bool Write(const std::string& text);
  // Every curve's Name becomes its entry.
  void ApplyTo(TGraphPlot& graph) const;

 private:
  std::vector<std::string> names_;
  int selected_ = -1;
};

// The Active Curves dialog's text for a curve: " yes : " or " no  : ",
// three blanks, then the label (the yes and no columns line up).
std::string ActiveEntryText(bool active, const std::string& label);
// Flips the entries at the given positions (positions outside are ignored).
void FlipEntries(std::vector<bool>& active, const std::vector<int>& positions);
// Each curve's Active follows its entry (entries beyond the curves are
// ignored; curves beyond the entries stay as they are).
void ApplyActive(TGraphPlot& graph, const std::vector<bool>& active);

}  // namespace terraq::ui
