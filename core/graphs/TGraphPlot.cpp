#include "graphs/TGraphPlot.h"

#include <algorithm>

#include "controls/NumberFormat.h"

namespace terraq::ui {

void TLine::SetPointCount(int n) { Points.resize(static_cast<size_t>(std::max(n, 0))); }

void SetLineCount(TLineList& lines, int n) {
  n = std::max(n, 0);
  if (static_cast<int>(lines.size()) > n) lines.resize(static_cast<size_t>(n));
  while (static_cast<int>(lines.size()) < n) {
    TLine line;
    line.Value = static_cast<long double>(lines.size() + 1);
    lines.push_back(std::move(line));
  }
}

void SetPointCount(TLineList& lines, int n) {
  for (TLine& line : lines) line.SetPointCount(n);
}

int PointCount(const TLineList& lines) { return lines.empty() ? 0 : lines.front().PointCount(); }

int CurveShownAlone(const TLineList& lines, int count) {
  int curves = 0, shown = -1, drawn = 0;
  for (const TLine& line : lines) {
    if (line.Underlay) continue;
    if (line.Active && line.Visible) {
      shown = curves;
      ++drawn;
    }
    ++curves;
  }
  return curves == count && drawn == 1 ? shown : -1;
}

int EqualiseLengths(TLineList& lines) {
  size_t longest = 0;
  for (const TLine& line : lines) longest = std::max(longest, line.Points.size());
  for (TLine& line : lines)
    if (!line.Points.empty()) line.Points.resize(longest, line.Points.back());
  return static_cast<int>(longest);
}

TRgb LineColour(int k) { return kLineColours[static_cast<size_t>(((k % kLineColourCount) + kLineColourCount) % kLineColourCount)]; }

void TGraphPlot::SetUnits(int units) { units_ = std::clamp(units, 1, 3); }

std::string TGraphPlot::Label(int i) const {
  const TLine& line = Lines.at(static_cast<size_t>(i));
  if (!line.Name.empty()) return line.Name;
  if (i < static_cast<int>(Labels.size())) return Labels[static_cast<size_t>(i)];
  // The shortest decimal that reads back as the value: 15 digits hold every
  // depth or curve number written in the plot file.
  return CurveName + FormatGeneral(line.Value, 15);
}

void TGraphPlot::ClearPoints() {
  for (TLineList* list : {&Lines, &LayerLines, &Lines2, &Lines3}) SetPointCount(*list, 0);
}

}  // namespace terraq::ui
