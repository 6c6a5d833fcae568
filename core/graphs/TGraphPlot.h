#pragma once
// The result graph as data, without a window: curves of real points with
// their captions and display options. The main window owns one TGraphPlot
// per result graph and fills it from the plot file; a plot window draws it
// and keeps its display settings (legend, markers, text size) here, so that
// they outlive the window. Plain C++: the graphs are read, laid out and
// checked without a display.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace terraq::ui {

// A point of a curve: X is drawn across, Y along the vertical axis. In the
// depth graphs X is the quantity (deflection, moment, ...) and Y the depth.
struct TFloatPoint {
  long double X = 0;
  long double Y = 0;
  friend bool operator==(const TFloatPoint&, const TFloatPoint&) = default;
};

// The pen of a curve of its own style: solid with markers, or dashed or
// dotted without them (the limits beside a mobilised earth pressure), or
// markers at every point without a line (readings, which were measured at
// their depths and nowhere between).
enum class TLineStyle { Solid, Dashed, Dotted, Markers };

// One curve.
struct TLine {
  std::vector<TFloatPoint> Points;  // in drawing order
  long double Value = 0;  // the number of its default label (curve number or p-y depth)
  std::string Name;       // explicit label; empty: the default label is used
  bool Visible = true;    // drawn
  bool Active = true;     // belongs to the window: legend entry and Plot-menu item
  // A new window leaves the curve out; Active Curves offers it (the p-y
  // curves of the earlier stages).
  bool StartsInactive = false;
  // A bound of the other curves (an envelope) rather than a curve of its
  // own: drawn first, under them, wide, grey and dashed (1) or dash-dotted
  // (2), without markers and without taking a colour of the running
  // numbers. 0: an ordinary curve.
  int Underlay = 0;
  // Curves that belong together by colour (the two faces of the wall): a
  // colour number of 0 or more draws the curve in LineColour(ColourNumber)
  // rather than its running colour; Style gives its pen.
  int ColourNumber = -1;
  TLineStyle Style = TLineStyle::Solid;

  // The colour number of the curve drawn as running number k.
  int ColourAt(int k) const { return ColourNumber >= 0 ? ColourNumber : k; }
  int PointCount() const { return static_cast<int>(Points.size()); }
  // Appends zero points at the end or drops surplus points from the end; a
  // count below 0 counts as 0.
  void SetPointCount(int n);
};

// A list of curves (one panel's, or the layer strip's single-point entries).
using TLineList = std::vector<TLine>;

// n curves: surplus curves are dropped from the end; each new curve is
// appended with Value = the number of curves before it + 1. Below 0 counts
// as 0.
void SetLineCount(TLineList& lines, int n);
// Every curve of the list gets n points (below 0 counts as 0).
void SetPointCount(TLineList& lines, int n);
// The point count of the list's first curve, 0 without curves.
int PointCount(const TLineList& lines);
// Every curve shorter than the list's longest is extended by repeating its
// own last point (a curve without points stays empty); returns the longest.
int EqualiseLengths(TLineList& lines);

// Of a list of `count` curves, one per result set (bounds not counted), the
// one drawn alone: active and visible while the others are hidden. -1 when
// the list has another number of curves, or draws more than one or none.
int CurveShownAlone(const TLineList& lines, int count);

// The colours of the curves, taken by a running number modulo 17.
struct TRgb {
  std::uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const TRgb&, const TRgb&) = default;
};
inline constexpr int kLineColourCount = 17;
inline constexpr std::array<TRgb, kLineColourCount> kLineColours = {{
    {0, 0, 0},     {0, 0, 255},   {255, 0, 0},     {0, 128, 0},     {128, 0, 128},   {128, 0, 0},
    {0, 0, 128},   {255, 0, 255}, {128, 128, 0},   {0, 128, 128},   {128, 128, 128}, {0, 255, 0},
    {128, 128, 128}, {192, 192, 192}, {192, 192, 192}, {255, 255, 0}, {0, 255, 255}}};
// The colour of running number k (any k >= 0).
TRgb LineColour(int k);

class TGraphPlot {
 public:
  // Display options, with the defaults of a new graph.
  std::string CurveName = "Curve #";  // prefix of default curve labels
  std::string Caption;                // graph name: heads the read-out and the printout
  bool ShowLegend = true;
  bool ShowLayers = false;            // soil-layer strip beside the plot
  bool ShowWall = false;              // the wall drawn inside the layer strip
  bool ShowThree = false;             // three panels side by side sharing the depth axis
  bool ShowFontWidth = true;          // the Font Size and Line Width menus are offered
  int WallLineCount = 0;              // soil-layer entries at the head of LayerLines
  int Markers = 1;                    // a marker every Markers points; 0 = none
  int SizeFont = 10;                  // text size in tenths of the window font
  int LegendFont = 11;                // legend font size, taken when the window is built
  int WidthLine = 1;                  // curve pen width factor

  // Axis captions and unit codes ("F/L", "L2": see UnitSubstitute) of the
  // three panels; XOnTop puts the X axis at the top with Y growing
  // downwards (depth graphs).
  std::string XCaption, XUnits;
  bool XOnTop = true;
  std::string YCaption, YUnits;
  std::string XCaption2, XUnits2, YCaption2, YUnits2;
  std::string XCaption3, XUnits3, YCaption3, YUnits3;

  // Lets the owner rewrite the label of curve `index` (0-based) when the
  // window is built.
  std::function<void(int index, std::string& label)> onGetCaption;

  // The curves: Lines (first panel), Lines2 and Lines3 (second and third
  // panels of a three-panel graph) and LayerLines, single-point entries of
  // the layer strip: X a layer code, Y the depth of the layer's bottom; the
  // first WallLineCount entries are soil layers, then the wall (Y = wall
  // bottom) and the excavation level (Y = free height).
  TLineList Lines, LayerLines, Lines2, Lines3;
  // Default labels by curve position, used before CurveName + Value.
  std::vector<std::string> Labels;
  std::string Title;
  bool TitleOnTop = true;
  bool TitleChosen = false;  // the user set Title: reading results keeps it
  // Drawn across the top of the plot on every output while the results the
  // graph shows are not valid ("RESULTS NOT VALID: NOT CLOSED"); empty for
  // valid results. Set with the curves, from the run's own files.
  std::string ResultsMark;
  // Drawn at the foot of the plot on every output while the curves come
  // from a live analysis of the project as edited rather than from the
  // files of its last run ("live — not saved", LiveAnalysis.h), or while
  // they no longer agree with the data; empty for the files' results.
  std::string LiveMark;
  bool LimitActiveCurves = true;  // a window shows at most 20 curves
  // The first panel's X range is cut to where the curves change
  // (PanelWorldRectOfShape): curves carried on flat far out.
  bool XRangeOfShape = false;
  // A solid line along X = 0 under the curves, so that the sign of a
  // quantity reads at a glance on paper (the calculation package); the
  // windows leave it to the grid.
  bool ZeroLine = false;
  // A limit of X (a utilisation of 1) when above 0: a line across the plot
  // at X = XLimit, the parts of the curves beyond it drawn red, and an X
  // range from 0 to at least 1.2 times the limit (PanelWorldRectOfLimit).
  long double XLimit = 0;
  // The grid as thin grey lines rather than dotted: dots a device pixel
  // apart would run together on paper at print resolution.
  bool FineGrid = false;

  // The unit system of the unit texts: 1 English, 2 SI, 3 none. Clamped to
  // 1..3; 0 or less becomes 1.
  int Units() const { return units_; }
  void SetUnits(int units);

  // The label of curve i of Lines: its Name, else Labels[i], else CurveName
  // followed by the shortest decimal form of its Value ("Curve #2",
  // "Depth60").
  std::string Label(int i) const;

  // Empties every curve of every list (the curves themselves stay).
  void ClearPoints();

 private:
  int units_ = 1;
};

// The most curves a window shows when LimitActiveCurves is set.
inline constexpr int kMaxActiveCurves = 20;

}  // namespace terraq::ui
