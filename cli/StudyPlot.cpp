#include "StudyPlot.h"

#include <cmath>
#include <fstream>
#include <iostream>
#include <sstream>

#include "CommandLine.h"
#include "GraphOutput.h"
#include "PaintingApplication.h"
#include "graphs/TGraphPlot.h"
#include "project/JsonReader.h"

namespace terraq::cli {

using ui::JsonItem;
using ui::JsonValue;
using ui::ParseJson;
using ui::ParseJsonStreamed;

namespace {

namespace fs = std::filesystem;
using terraq::ui::TFloatPoint;
using terraq::ui::TGraphPlot;
using terraq::ui::TLine;

constexpr int kExitNothing = kExitErrorStop;

std::string Number(double v) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.4g", v);
  return buffer;
}

// The value of output `name` ("moment", "support.2") of one problem's JSON.
std::optional<double> OutputOf(const JsonValue& problem, const std::string& name) {
  if (name.rfind("supportForce.", 0) == 0) {  // a construction sequence's support, by name
    const JsonValue* supports = problem.find("supports");
    for (const JsonValue& s : supports ? supports->items : std::vector<JsonValue>{}) {
      const JsonValue* n = s.find("name");
      const JsonValue* force = s.find("force");
      if (n && n->isString() && n->string == name.substr(13) && force && force->isNumber())
        return force->number;
    }
    return std::nullopt;
  }
  if (name.rfind("support.", 0) == 0) {
    const JsonValue* supports = problem.find("supports");
    const size_t n = std::strtoul(name.c_str() + 8, nullptr, 10);
    if (!supports || n < 1 || n > supports->items.size()) return std::nullopt;
    const JsonValue* force = supports->items[n - 1].find("force");
    return force && force->isNumber() ? std::optional(force->number) : std::nullopt;
  }
  const JsonValue* v = problem.find(name);
  if (v && v->find("value")) v = v->find("value");
  return v && v->isNumber() ? std::optional(v->number) : std::nullopt;
}

// The curves of a sweep; false when there are none.
bool SweepCurves(const JsonValue& study, const std::string& output, TGraphPlot& g) {
  const JsonValue* parameters = study.find("parameters");
  const JsonValue* results = study.find("results");
  if (!parameters || parameters->items.empty() || !results) return false;
  auto unitOf = [](const JsonValue& p) {
    const JsonValue* u = p.find("unit");
    return u && u->isString() && !u->string.empty() ? " (" + u->string + ")" : std::string();
  };
  const JsonValue& first = parameters->items[0];
  g.XCaption = first.find("name")->string + unitOf(first);
  g.YCaption = output;
  g.Caption = output + " vs " + first.find("name")->string;
  const bool two = parameters->items.size() == 2;
  // The problem an output names ("stage.2.moment", "longterm.support.1");
  // without one, each problem is a curve of its own (one parameter) or the
  // first problem is drawn (two).
  std::string field = output, problem;
  size_t at = std::string::npos;
  if (output.rfind("stage.", 0) == 0) at = output.find('.', 6);
  else if (output.rfind("longterm.", 0) == 0) at = 8;
  if (at != std::string::npos) {
    problem = output.substr(0, at);
    field = output.substr(at + 1);
  }
  // The output's unit, from the study's units (as terraq run --json has them).
  if (const JsonValue* units = study.find("units")) {
    const char* kind = field == "top" || field == "deflection" ? "length"
                       : field == "moment"                     ? "moment"
                                                               : "force";
    if (const JsonValue* unit = units->find(kind); unit && unit->isString())
      g.YCaption += " (" + unit->string + ")";
  }
  std::vector<std::string> labels;
  auto curve = [&](const std::string& label) -> TLine& {
    for (size_t k = 0; k < labels.size(); ++k)
      if (labels[k] == label) return g.Lines[k];
    labels.push_back(label);
    g.Lines.emplace_back();
    g.Lines.back().Name = label;
    return g.Lines.back();
  };
  for (const JsonValue& point : results->items) {
    const JsonValue* values = point.find("values");
    const JsonValue* problems = point.find("problems");
    if (!values || values->items.empty() || !problems) continue;
    const double x = values->items[0].number;
    const std::string second =
        two ? parameters->items[1].find("name")->string + " = " + Number(values->items[1].number)
            : "";
    for (size_t k = 0; k < problems->items.size(); ++k) {
      const JsonValue& p = problems->items[k];
      const JsonValue* name = p.find("problem");
      const std::string pname = name && name->isString() ? name->string : "";
      if (problem.empty() ? two && k > 0 : pname != problem) continue;
      if (const std::optional<double> y = OutputOf(p, field)) {
        std::string label = second;
        if (problem.empty() && !two && !pname.empty()) label = pname;
        curve(label.empty() ? output : label).Points.push_back({x, *y});
      }
    }
  }
  g.Labels = labels;
  for (const TLine& line : g.Lines)
    if (line.PointCount() > 1) return true;
  return false;
}

// The histogram of a sampling study's output as one stepped curve.
bool Histogram(const JsonValue& study, const std::string& output, TGraphPlot& g) {
  const JsonValue* outputs = study.find("outputs");
  if (!outputs) return false;
  for (const JsonValue& o : outputs->items) {
    const JsonValue* name = o.find("name");
    const JsonValue* h = o.find("histogram");
    if (!name || name->string != output || !h) continue;
    const JsonValue* low = h->find("low");
    const JsonValue* high = h->find("high");
    const JsonValue* counts = h->find("counts");
    if (!low || !high || !counts || counts->items.empty() || !low->isNumber()) return false;
    const double width = (high->number - low->number) / counts->items.size();
    TLine line;
    line.Name = "samples";
    for (size_t k = 0; k < counts->items.size(); ++k) {
      const double a = low->number + k * width, b = a + width, c = counts->items[k].number;
      line.Points.push_back({a, 0});
      line.Points.push_back({a, c});
      line.Points.push_back({b, c});
      line.Points.push_back({b, 0});
    }
    const JsonValue* unit = o.find("unit");
    g.XCaption = output + (unit && !unit->string.empty() ? " (" + unit->string + ")" : "");
    g.YCaption = "samples";
    g.Caption = "Histogram of " + output;
    g.Markers = 0;
    g.ShowLegend = false;
    g.Lines.push_back(std::move(line));
    return width > 0;
  }
  return false;
}

}  // namespace

int StudyPlotCommand(const std::vector<std::string_view>& args, const char* programName) {
  std::string in, out, output;
  for (size_t k = 0; k + 1 < args.size(); k += 2) {
    if (args[k] == "--in") in = args[k + 1];
    else if (args[k] == "--out") out = args[k + 1];
    else if (args[k] == "--output") output = args[k + 1];
  }
  const std::optional<ui::TGraphFileFormat> format = ui::GraphFileFormatFor(out);
  if (in.empty() || output.empty() || !format)
    return usageError(
        "study-plot needs --in STUDY.json, --output NAME and --out FILE.png|svg|pdf|bmp");
  std::ifstream file(in, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  std::string error;
  const std::optional<JsonValue> study = ParseJson(text.str(), error);
  if (!file || !study) return fail("cannot read the study to draw from " + in + ": " + error);

  TGraphPlot g;
  g.XOnTop = false;
  g.SetUnits(3);  // the captions carry the data file's units
  g.LimitActiveCurves = true;
  const JsonValue* title = study->find("dataFile");
  g.Title = title && title->isString() ? title->string : "";
  const bool drawn =
      study->find("results") ? SweepCurves(*study, output, g) : Histogram(*study, output, g);
  if (!drawn) {
    std::cerr << "terraq: the study has no " << output
              << " to draw (give --plot-output one of its outputs)\n";
    return kExitNothing;
  }
  const PaintingApplication application(programName);
  const ui::TGraphImageSize size{6, 4, 96, ui::TBitmapColors::TrueColor24Bit};
  const std::string failure = ui::SaveGraph(g, ui::FullWorld(g), out, *format, size);
  if (!failure.empty()) return fail(failure);
  return kExitOk;
}

}  // namespace terraq::cli
