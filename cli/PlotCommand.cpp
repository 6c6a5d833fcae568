#include "PlotCommand.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>

#include "CommandLine.h"
#include "PaintingApplication.h"
#include "controls/NumberFormat.h"
#include "graphs/PlotFileReader.h"
#include "graphs/PlotMenuRules.h"
#include "graphs/UtilisationGraph.h"
#include "project/EngineRun.h"
#include "project/ProjectInputs.h"
#include "project/TProgramData.h"
#include "project/TProjectTables.h"
#include "project/TWordReader.h"

namespace fs = std::filesystem;

namespace terraq::cli {

namespace {

constexpr int kExitUnusable = kExitErrorStop;
constexpr int kExitFiles = kExitUsage;

std::string GraphName(terraq::ui::GraphKind kind) {
  for (const PlotGraphName& entry : kPlotGraphNames)
    if (entry.kind == kind) return std::string(entry.name);
  return {};
}

bool Readable(const fs::path& file, std::string& reason) {
  std::error_code ec;
  if (!fs::is_regular_file(file, ec)) {
    reason = "cannot find";
    return false;
  }
  errno = 0;
  std::ifstream probe(file, std::ios::binary);
  if (probe) return true;
  reason = std::string("cannot read (") + std::strerror(errno ? errno : EACCES) + ")";
  return false;
}

// Something to draw: the plot window draws curves only when one of them
// has more than one point.
bool HasPoints(const terraq::ui::TGraphPlot& graph) {
  for (const terraq::ui::TLine& line : graph.Lines)
    if (line.PointCount() > 1) return true;
  return false;
}

std::string inches(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

// A real option value no smaller than `least`.
bool readSize(std::string_view text, double least, double& value) {
  long double parsed = 0;
  if (!terraq::ui::ParseReal(text, parsed) || !(parsed >= least) || parsed > 1e6) return false;
  value = static_cast<double>(parsed);
  return true;
}

}  // namespace

std::string PlotSizeBeyondBounds(const terraq::ui::TGraphImageSize& size) {
  const std::string asked = inches(size.WidthInches) + " x " + inches(size.HeightInches) +
                            " inches at " + std::to_string(size.PixelsPerInch) + " pixels per inch";
  if (!(size.WidthInches <= kMaxPlotInches && size.HeightInches <= kMaxPlotInches))
    return "the picture of " + asked + " is larger than a page can be: at most " +
           inches(kMaxPlotInches) + " inches a side";
  if (size.PixelsPerInch > kMaxPlotPixelsPerInch)
    return "the picture of " + asked + " is finer than a printer prints: at most " +
           std::to_string(kMaxPlotPixelsPerInch) + " pixels per inch";
  // In doubles: the product must not overflow before it is judged.
  const double width = std::round(size.WidthInches * size.PixelsPerInch);
  const double height = std::round(size.HeightInches * size.PixelsPerInch);
  if (width > kMaxPlotPixelSide || height > kMaxPlotPixelSide || width * height > kMaxPlotPixels)
    return "the picture of " + asked + " would be " + inches(width) + " x " + inches(height) +
           " pixels; at most " + std::to_string(kMaxPlotPixelSide) + " pixels a side and " +
           std::to_string(kMaxPlotPixels / 1'000'000) +
           " million in all are drawn (lower --ppi or the size)";
  return {};
}

int RenderPlot(const PlotOptions& options, const char* programName, std::string& message) {
  using namespace terraq::ui;
  if (std::string bound = PlotSizeBeyondBounds(options.size); !bound.empty()) {
    message = std::move(bound);
    return kExitFiles;
  }
  std::string reason;
  if (!Readable(options.dataFile, reason)) {
    message = reason + " the data file " + options.dataFile.string();
    return kExitFiles;
  }
  // A set of outputs that a killed run left mixed is put back first: the
  // plot file and the report it is judged with must be of one run.
  if (std::string mixed = RecoverInterruptedOutputs(DeriveRunPaths(options.dataFile));
      !mixed.empty()) {
    message = std::move(mixed);
    return kExitFiles;
  }
  // Beside the data file, named as the user named the data file.
  const fs::path plotFile = fs::path(options.dataFile).replace_extension(".tq4p");
  if (!Readable(plotFile, reason)) {
    message = reason + " the plot file " + plotFile.string() + " (analyse the project first: terraq run " +
              options.dataFile.string() + ")";
    return kExitFiles;
  }

  // The project is read as the interactive program opens it, without
  // splitting a staged file into its stage files: nothing is written here.
  TProjectTables tables;
  TPlotProjectFacts facts;
  try {
    TProgramData project(tables, options.dataFile, LayoutForFile(options.dataFile));
    facts = PlotProjectFacts(project);
  } catch (const EReadError& e) {
    message = options.dataFile.string() + " is not a valid data file: " + e.what();
    for (char& c : message)
      if (c == '\n') c = ' ';
    return kExitUnusable;
  } catch (const EInOutError& e) {
    message = e.what();
    return kExitFiles;
  }

  TResultGraphs graphs;
  std::string error;
  if (!ReadPlotFile(plotFile, facts, graphs, error)) {
    for (char& c : error)
      if (c == '\n') c = ' ';
    message = plotFile.string() + " is not a usable plot file: " + error;
    return kExitUnusable;
  }
  if (options.graph == kGraphUtilisation) {
    std::optional<WallSection> section = ReadProjectWallSection(options.dataFile, error);
    std::vector<std::string> notes;
    try {
      if (section && !FillProjectUtilisation(graphs, ReadWholeFile(options.dataFile), *section,
                                             nullptr, facts.longTerm, error, notes))
        section.reset();
    } catch (const EInOutError& e) {
      message = e.what();
      return kExitFiles;
    }
    if (!section) {
      message = "the utilisation graph of " + options.dataFile.string() + " cannot be drawn: " +
                (error.empty() ? "its project has no wall section (choose one in the program's "
                                 "Wall Properties)"
                               : error);
      return kExitUnusable;
    }
  }
  TGraphPlot& graph = graphs.Graph(options.graph);
  if (!HasPoints(graph)) {
    message = "the " + GraphName(options.graph) + " graph of " + plotFile.string() + " has no points to draw";
    return kExitUnusable;
  }
  // As a new plot window takes them: at most 20 curves, the rest left out.
  ChooseFirstCurves(graph);

  if (options.layers && !graph.LayerLines.empty()) {
    graph.ShowLayers = true;
    graph.ShowWall = graph.WallLineCount > 0;
  }

  const PaintingApplication application(programName);

  const std::string failure = SaveGraph(graph, FullWorld(graph), options.outFile, options.format, options.size);
  if (!failure.empty()) {
    message = failure;
    return kExitFiles;
  }
  return kExitOk;
}

int PlotCommand(const std::vector<std::string_view>& args, const char* programName) {
  PlotOptions options;
  bool graphGiven = false, optionsEnded = false;
  std::vector<std::string_view> files;
  for (size_t k = 0; k < args.size(); ++k) {
    const std::string_view arg = args[k];
    if (optionsEnded) {
      files.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (arg == "--help" || arg == "-h") {
      printHelp();
      return kExitOk;
    }
    if (arg == "--layers") {
      options.layers = true;
      continue;
    }
    const bool takesValue = arg == "--graph" || arg == "--out" || arg == "--width" ||
                            arg == "--height" || arg == "--ppi" || arg == "--colors";
    if (!takesValue) {
      if (arg.size() > 1 && arg.front() == '-')
        return usageError("unknown option '" + std::string(arg) + "' for plot");
      files.push_back(arg);
      continue;
    }
    if (k + 1 == args.size()) return usageError(std::string(arg) + " needs a value");
    const std::string_view value = args[++k];
    if (arg == "--graph") {
      graphGiven = false;
      for (const PlotGraphName& entry : kPlotGraphNames)
        if (value == entry.name) {
          options.graph = entry.kind;
          graphGiven = true;
        }
      if (!graphGiven)
        return usageError("unknown graph '" + std::string(value) +
                          "'; use p-y, deflection, moment, shear, reaction, combined, pressure, "
                          "combined-pressure or utilisation");
    } else if (arg == "--out") {
      options.outFile = std::string(value);
    } else if (arg == "--width") {
      if (!readSize(value, 2, options.size.WidthInches))
        return usageError("--width needs a number of inches, at least 2");
    } else if (arg == "--height") {
      if (!readSize(value, 2, options.size.HeightInches))
        return usageError("--height needs a number of inches, at least 2");
    } else if (arg == "--ppi") {
      double ppi = 0;
      if (!readSize(value, 10, ppi) || ppi != static_cast<int>(ppi))
        return usageError("--ppi needs a whole number of pixels per inch, at least 10");
      options.size.PixelsPerInch = static_cast<int>(ppi);
    } else if (arg == "--colors") {
      using terraq::ui::TBitmapColors;
      if (value == "bw") options.size.Colors = TBitmapColors::BlackWhite;
      else if (value == "16") options.size.Colors = TBitmapColors::Colors16;
      else if (value == "256") options.size.Colors = TBitmapColors::Colors256;
      else if (value == "16bit") options.size.Colors = TBitmapColors::HighColor16Bit;
      else if (value == "24bit") options.size.Colors = TBitmapColors::TrueColor24Bit;
      else
        return usageError("unknown colours '" + std::string(value) +
                          "'; use bw, 16, 256, 16bit or 24bit");
    }
  }
  if (files.size() != 1) return usageError("plot takes one data file");
  if (!graphGiven) return usageError("plot needs --graph NAME");
  if (options.outFile.empty()) return usageError("plot needs --out FILE");
  const auto format = terraq::ui::GraphFileFormatFor(options.outFile);
  if (!format)
    return usageError(options.outFile.string() +
                      ": the picture must end in .bmp, .png, .svg or .pdf");
  options.format = *format;
  options.dataFile = fs::path(files.front());
  // The picture must not be written over the files it is drawn from.
  try {
    const terraq::ui::RunPaths paths = terraq::ui::DeriveRunPaths(options.dataFile);
    terraq::ui::RefuseProjectInputs(
        {{options.outFile, "the picture"}}, options.dataFile,
        {{paths.plotFile, "the plot file"}, {paths.reportFile, "the report"}});
  } catch (const terraq::ui::EFileWriteError& e) {
    return fail(e.what());
  }

  std::string message;
  const int status = RenderPlot(options, programName, message);
  if (status != kExitOk) {
    std::cerr << "terraq: " << message << "\n";
    return status;
  }
  std::cout << "Plotted " << options.outFile.string() << " (" << options.size.PixelWidth() << " x "
            << options.size.PixelHeight() << " pixels)\n";
  return kExitOk;
}

}  // namespace terraq::cli
