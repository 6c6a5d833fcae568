#include "FuzzChecks.h"

#include <stdlib.h>

#include <array>
#include <cmath>
#include <fstream>
#include <stdexcept>
#include <string>
#include <system_error>
#include <typeinfo>
#include <vector>

#include "controls/EvaluateEntry.h"
#include "graphs/GraphLayout.h"
#include "graphs/GraphTicks.h"
#include "graphs/PlotFileReader.h"
#include "project/TProject.h"
#include "project/TWordReader.h"

namespace fs = std::filesystem;

namespace terraq::fuzz {

using ui::EAssignError;
using ui::EInOutError;
using ui::EReadError;

WorkFolder::WorkFolder() {
  std::error_code ec;
  const fs::path base = fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
  std::string pattern = (base / "terraq-fuzz-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a folder for the fuzz checks");
  path_ = pattern;
}

WorkFolder::~WorkFolder() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

void WorkFolder::Clear() const {
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(path_, ec)) fs::remove_all(entry.path(), ec);
}

namespace {

void writeBytes(const fs::path& file, std::string_view bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw EInOutError("cannot write " + file.string());
}

// Where two texts that should be equal first part, for the fault's report.
std::string difference(const std::string& first, const std::string& second) {
  const std::vector<std::string> a = ui::SplitTextLines(first);
  const std::vector<std::string> b = ui::SplitTextLines(second);
  size_t line = 0;
  while (line < a.size() && line < b.size() && a[line] == b[line]) ++line;
  const auto at = [line](const std::vector<std::string>& lines) {
    return line < lines.size() ? "\"" + lines[line] + "\"" : std::string("(end of file)");
  };
  return "line " + std::to_string(line + 1) + ": " + at(a) + " then " + at(b) +
         (line == a.size() && line == b.size() ? " (the line ends differ)" : "");
}

std::string unexpected(const std::string& step, const std::exception& e) {
  return step + ": unexpected " + typeid(e).name() + ": " + e.what();
}

// Reads a data file into a fresh project and returns the text it writes;
// `notKept` says what of the file the project cannot hold (a file that
// opening and conversion refuse, see TProgramData::NotKept).
std::string readAndWrite(const fs::path& file, int layout, std::string& notKept) {
  ui::TProjectTables tables;
  ui::TProgramData data(tables, file, layout);
  notKept = data.NotKept;
  return data.DataFileText();
}

}  // namespace

std::string CheckDataFileRoundTrip(std::string_view bytes, const WorkFolder& folder) {
  folder.Clear();
  const fs::path input = folder.Path() / "wall.tq4d";
  const fs::path written = folder.Path() / "written.tq4d";
  std::string first, notKept;
  try {
    writeBytes(input, bytes);
    first = readAndWrite(input, ui::kLayoutCurrent, notKept);
    // The program refuses to open such a file: it has no round trip.
    if (!notKept.empty()) return {};
  } catch (const EReadError&) {
    return {};
  } catch (const EInOutError&) {
    return {};
  } catch (const std::exception& e) {
    return unexpected("reading the input", e);
  }
  try {
    writeBytes(written, first);
    const std::string second = readAndWrite(written, ui::kLayoutCurrent, notKept);
    if (!notKept.empty()) return "the written file holds more than a project: " + notKept;
    if (second != first) return "writing the written file again changes it at " + difference(first, second);
  } catch (const EReadError& e) {
    return std::string("the written file does not read: ") + e.what();
  } catch (const std::exception& e) {
    return unexpected("reading the written file", e);
  }
  return {};
}

std::string CheckEntryEvaluation(std::string_view bytes) {
  const std::string text(bytes);
  try {
    const long double value = ui::EvaluateEntry(text);
    if (!std::isfinite(value)) return "the entry was accepted with a value that is not finite";
  } catch (const EAssignError&) {
    return {};
  } catch (const std::exception& e) {
    return unexpected("evaluating the entry", e);
  }
  return {};
}

std::string CheckConvertTwice(std::string_view bytes, const WorkFolder& folder) {
  for (const int layout : {ui::kLayoutCurrent, ui::kLayout30, ui::kLayout20}) {
    const std::string name = "layout " + std::to_string(layout);
    folder.Clear();
    const fs::path input = folder.Path() / "wall.in";
    const fs::path once = folder.Path() / "once.tq4d";
    const fs::path twice = folder.Path() / "twice.tq4d";
    try {
      writeBytes(input, bytes);
      ui::ConvertDataFile(input, once, layout);
    } catch (const EReadError&) {
      continue;
    } catch (const EInOutError&) {
      continue;
    } catch (const std::exception& e) {
      return unexpected(name + ", converting the input", e);
    }
    try {
      ui::ConvertDataFile(once, twice, ui::kLayoutCurrent);
      const std::string first = ui::ReadWholeFile(once);
      const std::string second = ui::ReadWholeFile(twice);
      if (first != second) return name + ": converting the converted file changes it at " + difference(first, second);
    } catch (const EReadError& e) {
      return name + ": the converted file does not convert: " + e.what();
    } catch (const std::exception& e) {
      return unexpected(name + ", converting the converted file", e);
    }
  }
  return {};
}

namespace {

// Opens `opened` in a layout; a file that opens is saved under `saved`,
// reopened from there and saved again.
std::string openSaveTwice(std::string_view bytes, const WorkFolder& folder, const std::string& opened, int layout,
                          const std::string& saved) {
  folder.Clear();
  const fs::path input = folder.Path() / opened;
  const fs::path output = folder.Path() / saved;
  ui::TProject project;
  try {
    writeBytes(input, bytes);
    project.Open(input, layout);
  } catch (const EReadError&) {
    return {};
  } catch (const EInOutError&) {
    return {};
  } catch (const std::exception& e) {
    return unexpected(opened + ", opening", e);
  }
  std::string step = "saving";
  try {
    if (output == input) project.Save();
    else project.SaveAs(output);
    const std::string first = ui::ReadWholeFile(output);
    step = "reopening the saved file";
    project.Open(output, ui::kLayoutCurrent);
    step = "saving the reopened file";
    project.Save();
    const std::string second = ui::ReadWholeFile(output);
    if (first != second) return opened + ": saving the reopened file changes it at " + difference(first, second);
  } catch (const std::exception& e) {
    return opened + ", " + step + ": " + typeid(e).name() + ": " + e.what();
  }
  return {};
}

}  // namespace

std::string CheckStagedOpenSave(std::string_view bytes, const WorkFolder& folder) {
  std::string problem = openSaveTwice(bytes, folder, "wall.tq4d", ui::kLayoutCurrent, "wall.tq4d");
  if (problem.empty()) problem = openSaveTwice(bytes, folder, "old.tqd", ui::kLayout30, "wall.tq4d");
  return problem;
}

namespace {

// One axis's ticks over `pixels`: none, or a count the painter loops through
// in a moment, every tick inside the axis (to the tolerance the ticks allow
// for the rounding of the ends).
std::string checkTicks(long double min, long double max, int pixels, int perInterval,
                       const std::string& where) {
  const ui::TAxisTicks t = ui::AxisTicks(min, max, pixels, perInterval);
  if (!t.Any) return {};
  if (!(t.Minor > 0) || !std::isfinite(static_cast<double>(t.Minor)))
    return where + ": a tick spacing of " + std::to_string(static_cast<double>(t.Minor));
  if (t.Last - t.First > 50LL * (pixels / perInterval + 1))
    return where + ": " + std::to_string(t.Last - t.First + 1) + " ticks over " +
           std::to_string(pixels) + " pixels";
  const long double slack = 1e-6L * (max - min);
  if (t.First * t.Minor < min - slack || t.Last * t.Minor > max + slack)
    return where + ": a tick outside the axis";
  return {};
}

std::string checkGraph(const ui::TGraphPlot& graph, const std::string& name) {
  const std::array<const ui::TLineList*, 3> lists{&graph.Lines, &graph.Lines2, &graph.Lines3};
  std::array<ui::TWorldRect, 3> world;
  for (size_t k = 0; k < lists.size(); ++k) {
    world[k] = ui::PanelWorldRect(*lists[k]);
    const ui::TWorldRect& w = world[k];
    for (long double v : {w.XMin, w.XMax, w.YMin, w.YMax})
      if (!std::isfinite(static_cast<double>(v)))
        return name + ": a world rectangle that is not finite";
    if (!(w.Width() > 0) || !(w.Height() > 0))
      return name + ": a world rectangle without width or height";
  }
  // A window's size and a large page at a printer's resolution.
  for (const auto& [width, height, dpi] :
       {std::array<int, 3>{576, 384, 96}, std::array<int, 3>{9600, 6400, 600}}) {
    const ui::TGraphLayout layout =
        ui::LayoutGraph(ui::GraphLayoutInput(graph, width, height, dpi, dpi));
    if (layout.TooSmall) continue;
    const int h = ui::GraphTextHeight(graph.SizeFont, dpi);
    const int perInterval = (layout.PanelCount == 3 ? 4 : 6) * h;
    for (int k = 0; k < layout.PanelCount; ++k) {
      const ui::TPixelRect& panel = layout.Panels[static_cast<size_t>(k)];
      const ui::TPanelMap map(world[static_cast<size_t>(k)], panel, graph.XOnTop);
      for (const ui::TLine& line : *lists[static_cast<size_t>(k)])
        for (const ui::TFloatPoint& point : line.Points) {
          map.ToPixelX(point.X);
          map.ToPixelY(point.Y);
        }
      const std::string where =
          name + " panel " + std::to_string(k + 1) + " at " + std::to_string(dpi) + " dpi";
      const ui::TWorldRect& w = world[static_cast<size_t>(k)];
      if (std::string fault = checkTicks(w.XMin, w.XMax, panel.Width(), perInterval, where + ", X");
          !fault.empty())
        return fault;
      if (std::string fault =
              checkTicks(w.YMin, w.YMax, panel.Height(), perInterval, where + ", Y");
          !fault.empty())
        return fault;
    }
  }
  return {};
}

}  // namespace

std::string CheckPlotFile(std::string_view bytes) {
  ui::TPlotProjectFacts english;
  english.incrementCount = 40;
  english.incrementLength = 12;
  english.freeHeight = 120;
  english.layers = {{1, 10}, {4, 40}};
  ui::TPlotProjectFacts si = english;
  si.units = 2;
  si.incrementLength = 0.3;
  si.freeHeight = 3;
  ui::TPlotProjectFacts longTerm = english;
  longTerm.longTerm = true;
  for (const ui::TPlotProjectFacts& facts : {english, si, longTerm}) {
    ui::TResultGraphs graphs;
    std::string error;
    try {
      if (!ui::ReadPlotText(bytes, facts, graphs, error)) continue;
      for (int kind = 0; kind < ui::kGraphCount; ++kind) {
        const std::string fault = checkGraph(graphs.Graph(static_cast<ui::GraphKind>(kind)),
                                             "graph " + std::to_string(kind));
        if (!fault.empty()) return "units " + std::to_string(facts.units) + ", " + fault;
      }
    } catch (const std::exception& e) {
      return unexpected("reading the plot file", e);
    }
  }
  return {};
}

}  // namespace terraq::fuzz
