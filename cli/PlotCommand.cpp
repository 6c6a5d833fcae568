#include "PlotCommand.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>

#include "CommandDeclarations.h"
#include "CommandLine.h"
#include "PaintingApplication.h"
#include "controls/NumberFormat.h"
#include "graphs/MobilisedPressureGraph.h"
#include "graphs/PlotFileReader.h"
#include "graphs/PlotMenuRules.h"
#include "graphs/UtilisationGraph.h"
#include "project/EngineRun.h"
#include "project/ProjectInputs.h"
#include "project/SequentialRun.h"
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

namespace {

// The utilisation of the project's section along the wall analysed as its
// run analyses it (the stages of its construction sequence, on its soil
// model). The status, and `message` when it cannot be drawn.
int ReadUtilisation(const fs::path& dataFile, bool longTerm, terraq::ui::TResultGraphs& graphs,
                    std::string& message) {
  using namespace terraq::ui;
  std::string error;
  std::optional<WallSection> section = ReadProjectWallSection(dataFile, error);
  std::vector<std::string> notes;
  try {
    if (section) {
      std::string text = ReadWholeFile(dataFile);
      const std::optional<ProjectRunInput> project = ReadProjectRun(dataFile, text, error);
      std::optional<engine::api::AnalysisResult> analysis;
      if (project) analysis = AnalyseProjectInMemory(dataFile, text, error);
      if (project && project->sequence) text = project->sequence->sequence.text;
      if (!analysis ||
          !FillProjectUtilisation(graphs, text, *section, &*analysis, longTerm, error, notes))
        section.reset();
    }
  } catch (const EInOutError& e) {
    message = e.what();
    return kExitFiles;
  }
  if (section) return kExitOk;
  message = "the utilisation graph of " + dataFile.string() + " cannot be drawn: " +
            (error.empty() ? "its project has no wall section (choose one in the program's "
                             "Wall Properties)"
                           : error);
  return kExitUnusable;
}

// The graphs of the plot file, with the utilisation of the project's
// section or the mobilised earth pressure when that graph is asked for. The
// status, and `message` when the data file or plot file is not usable.
int ReadProjectGraphs(const PlotOptions& options, const fs::path& plotFile,
                      terraq::ui::TResultGraphs& graphs, std::string& message) {
  using namespace terraq::ui;
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

  std::string error;
  if (!ReadPlotFile(plotFile, facts, graphs, error)) {
    for (char& c : error)
      if (c == '\n') c = ' ';
    message = plotFile.string() + " is not a usable plot file: " + error;
    return kExitUnusable;
  }
  if (options.graph == kGraphMobilisedPressure) {
    try {
      if (!FillProjectMobilisedPressure(graphs, options.dataFile, nullptr, facts.longTerm, error)) {
        message = "the mobilised-pressure graph of " + options.dataFile.string() +
                  " cannot be drawn: " + error;
        return kExitUnusable;
      }
    } catch (const EInOutError& e) {
      message = e.what();
      return kExitFiles;
    }
  }
  if (options.graph == kGraphUtilisation)
    return ReadUtilisation(options.dataFile, facts.longTerm, graphs, message);
  return kExitOk;
}

}  // namespace

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
    message = reason + " the plot file " + plotFile.string() +
              " (analyse the project first: terraq run " + options.dataFile.string() + ")";
    return kExitFiles;
  }

  TResultGraphs graphs;
  if (const int read = ReadProjectGraphs(options, plotFile, graphs, message); read != kExitOk)
    return read;
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
  CommandArguments read;
  if (const std::optional<int> ended = ReadArguments(kPlotCommand, args, read)) return *ended;
  bool graphGiven = false;
  for (const GivenOption& given : read.options) {
    const std::string_view name = given.option->name;
    const std::string& value = given.value;
    if (name == "--graph") {
      const auto entry = std::find_if(kPlotGraphNames.begin(), kPlotGraphNames.end(),
                                      [&](const PlotGraphName& e) { return e.name == value; });
      if (entry == kPlotGraphNames.end())
        return RefuseValue(kPlotCommand, name, value,
                           "the graphs are p-y, deflection, moment, shear, reaction, combined, "
                           "pressure, combined-pressure, utilisation and mobilised-pressure");
      options.graph = entry->kind;
      graphGiven = true;
    } else if (name == "--out") {
      options.outFile = value;
    } else if (name == "--width") {
      options.size.WidthInches = NumberValue(value);
    } else if (name == "--height") {
      options.size.HeightInches = NumberValue(value);
    } else if (name == "--ppi") {
      options.size.PixelsPerInch = static_cast<int>(NumberValue(value));
    } else if (name == "--colors") {
      using terraq::ui::TBitmapColors;
      options.size.Colors = value == "bw"      ? TBitmapColors::BlackWhite
                            : value == "16"    ? TBitmapColors::Colors16
                            : value == "256"   ? TBitmapColors::Colors256
                            : value == "16bit" ? TBitmapColors::HighColor16Bit
                                               : TBitmapColors::TrueColor24Bit;
    } else if (name == "--layers") {
      options.layers = true;
    }
  }
  const std::vector<std::string>& files = read.operands;
  if (files.size() != 1) return CommandUsageError(kPlotCommand, "plot takes one data file");
  if (!graphGiven) return CommandUsageError(kPlotCommand, "plot needs --graph NAME");
  if (options.outFile.empty()) return CommandUsageError(kPlotCommand, "plot needs --out FILE");
  const auto format = terraq::ui::GraphFileFormatFor(options.outFile);
  if (!format)
    return CommandUsageError(
        kPlotCommand,
        options.outFile.string() + ": the picture must end in .bmp, .png, .svg or .pdf");
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
