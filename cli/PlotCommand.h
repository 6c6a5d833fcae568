#pragma once
// terraq plot: one result graph of an analysed project drawn into a picture
// file (BMP, PNG, SVG or PDF, by the output's extension), as the plot
// window would save it with its whole range shown. The graphs are read from
// the plot file beside the data file (the report beside it decides whether
// they carry the mark of results that are not valid); the data file gives
// the units, the soil layers, the title and whether short- and long-term
// analyses were run; the utilisation graph checks the section the project
// remembers beside the data file along the wall analysed in memory.
// Rendered on Qt's offscreen platform, so no display is needed, by the
// plotting helper (PlotMain.cpp) that the terraq command hands the plot
// command to: the command itself loads no painting library.

#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "GraphOutput.h"
#include "graphs/TResultGraphs.h"

namespace terraq::cli {

// The graphs by their names on the command line, in the Graphics menu's
// order.
struct PlotGraphName {
  std::string_view name;
  terraq::ui::GraphKind kind;
};
inline constexpr std::array<PlotGraphName, terraq::ui::kGraphCount> kPlotGraphNames{{
    {"p-y", terraq::ui::kGraphPYCurves},
    {"deflection", terraq::ui::kGraphDeflection},
    {"moment", terraq::ui::kGraphMoment},
    {"shear", terraq::ui::kGraphShear},
    {"reaction", terraq::ui::kGraphReaction},
    {"combined", terraq::ui::kGraphDeflectionMomentShear},
    {"pressure", terraq::ui::kGraphPressure},
    {"combined-pressure", terraq::ui::kGraphPressureCombined},
    {"utilisation", terraq::ui::kGraphUtilisation},
    {"mobilised-pressure", terraq::ui::kGraphMobilisedPressure},
}};

// The picture's defaults: 6 × 4 inches at 96 pixels per inch (576 × 384
// pixels, a screen's density), true colour.
struct PlotOptions {
  std::filesystem::path dataFile;
  terraq::ui::GraphKind graph = terraq::ui::kGraphDeflection;
  std::filesystem::path outFile;
  terraq::ui::TGraphFileFormat format = terraq::ui::TGraphFileFormat::Png;
  terraq::ui::TGraphImageSize size{6, 4, 96, terraq::ui::TBitmapColors::TrueColor24Bit};
  // The soil-layer strip with the wall beside the plot (a graph that has
  // soil layers: the combined graph).
  bool layers = false;
};

// The largest picture drawn: what a printer or a screen can use. A side of
// at most 200 inches (the largest page a PDF holds), at most 2400 pixels
// per inch (a printer's finest), and at most 32767 pixels a side (the
// painter's coordinate range) and 100 million pixels in all (400 MB as it is
// drawn). Beyond them the command refuses at once, rather than spend
// minutes and all the memory on a picture no device shows.
inline constexpr double kMaxPlotInches = 200;
inline constexpr int kMaxPlotPixelsPerInch = 2400;
inline constexpr long long kMaxPlotPixelSide = 32767;
inline constexpr long long kMaxPlotPixels = 100'000'000;

// Empty when the picture's size is within those bounds, else the message
// that refuses it.
std::string PlotSizeBeyondBounds(const terraq::ui::TGraphImageSize& size);

// Renders the graph. Returns the exit status: 0 written; 1 the data file or
// the plot file is not usable or holds nothing for the graph; 2 a file
// cannot be read or written, or the picture is beyond the bounds above. On failure `message` says
// why.
int RenderPlot(const PlotOptions& options, const char* programName, std::string& message);

// terraq plot with its arguments (those after "plot"): reads the options,
// renders the graph and says so. Returns the exit status.
int PlotCommand(const std::vector<std::string_view>& args, const char* programName);

}  // namespace terraq::cli
