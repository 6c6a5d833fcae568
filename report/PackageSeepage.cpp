// The calculation package's chapter of the seepage round the wall
// (api/SeepageOptions.h) when the project takes a method other than
// hydrostatic water: the method and its source, the flow net drawn by the
// window's own painter, the pore pressures on both faces that the analysis
// applied, and each hydraulic check with its inputs, factor, requirement
// and source, so that a checker can follow every number.

#include <QPainter>
#include <algorithm>

#include "FlowNetPainter.h"
#include "PackageParts.h"
#include "api/EngineRoute.h"
#include "api/Units.h"

namespace terraq::report::detail {

namespace {

namespace api = engine::api;
using api::Quantity;

std::string Number(double value) { return SignificantText(value, 4); }
std::string Verdict(bool passed) { return passed ? "passed" : "FAILED"; }
std::string Factor(const std::optional<double>& f) { return f ? Number(*f) : "—"; }

struct Units {
  std::string length, pressure, force;
};

Units UnitsOf(int code) {
  return {api::PrintedLabel(Quantity::Length, code), api::PrintedLabel(Quantity::Pressure, code),
          api::PrintedLabel(Quantity::ForcePerLength, code)};
}

void AppendChoices(const api::SeepageOptions& options, int code, std::vector<Block>& blocks) {
  const api::SeepageMethodInfo& method = api::SeepageMethodOf(options.method);
  const Units u = UnitsOf(code);
  blocks.push_back(Paragraph{
      "The pore pressures on both faces of the wall are those of steady seepage under the toe "
      "from the water table behind to the one in front, by the method \"" +
      std::string(method.name) + "\" (" + std::string(method.source) +
      "), instead of each side's own hydrostatic water. The soil above a water table is dry; "
      "the phreatic surfaces are taken level."});
  if (options.method != api::SeepageMethod::FlowNet) return;
  blocks.push_back(
      KeyValues{{{"Impermeable base, depth", "", Number(options.base), u.length},
                 {"Soil behind the wall, reach", "", Number(options.retainedWidth), u.length},
                 {"Soil in front, reach", "", Number(options.frontWidth), u.length},
                 {"Mesh refinement", "", Number(options.meshRefinement), ""}}});
  Table table;
  table.caption = "Permeabilities of the soil layers";
  table.columns = {{"Layer", "", "", Align::Right},
                   {"Horizontal", "kx", u.length + "/s"},
                   {"Vertical", "kz", u.length + "/s"}};
  for (size_t k = 0; k < options.layers.size(); ++k)
    table.rows.push_back(
        {std::to_string(k + 1), Number(options.layers[k].kx), Number(options.layers[k].kz)});
  blocks.push_back(std::move(table));
}

void AppendPorePressures(const api::SeepageSolution& s, int code, std::vector<Block>& blocks) {
  const Units u = UnitsOf(code);
  Table table;
  table.caption = "Pore pressures on the faces";
  table.columns = {{"Depth", "z", u.length},
                   {"Retained face", "u", u.pressure},
                   {"Front face", "u", u.pressure}};
  constexpr int kRows = 12;
  for (int k = 0; k <= kRows; ++k) {
    const double z = s.tip * k / kRows;
    table.rows.push_back({Number(z), Number(api::PorePressureOnFace(s, api::WallFace::Retained, z)),
                          Number(api::PorePressureOnFace(s, api::WallFace::Front, z))});
  }
  table.note =
      "Depths below the top of the wall, to its tip; hydrostatic above each side's "
      "saturated soil. Exit gradient next to the wall in front i = " +
      Number(s.exitGradient) +
      (s.flowRate ? "; flow rate q = " + Number(*s.flowRate) + " " + u.length + "²/s per " +
                        u.length + " of wall."
                  : ".");
  blocks.push_back(std::move(table));
}

void AppendChecks(const api::HydraulicChecks& c, const api::HydraulicCheckOptions& o, int code,
                  std::vector<Block>& blocks) {
  const Units u = UnitsOf(code);
  Table table;
  table.caption = "Hydraulic checks of the soil in front";
  table.columns = {{"Check", "", "", Align::Left},
                   {"Inputs", "", "", Align::Left},
                   {"Factor", "F", ""},
                   {"Requirement", "", "", Align::Left},
                   {"Result", "", "", Align::Left},
                   {"Source", "", "", Align::Left}};
  const api::HeaveCheck& h = c.heave;
  table.rows.push_back({"Heave",
                        "D = " + Number(h.embedment) + " " + u.length +
                            ", D/2 = " + Number(h.width) + " " + u.length +
                            ", ha = " + Number(h.meanExcessHead) + " " + u.length +
                            ", W′ = " + Number(h.submergedWeight) + " " + u.force +
                            ", U = γw ha D/2 = " + Number(h.uplift) + " " + u.force,
                        Factor(h.factor), "W′/U ≥ " + Number(o.requiredHeaveFactor),
                        Verdict(h.passed), "Terzaghi (1943)"});
  const api::HydCheck& y = c.hyd;
  table.rows.push_back(
      {"HYD, total stresses",
       "u = " + Number(y.porePressure) + ", σ = " + Number(y.totalStress) + " " + u.pressure +
           ", γG;dst = " + Number(o.hydDestabilising) + ", γG;stb = " + Number(o.hydStabilising),
       y.destabilisingPressure > 0 ? Number(y.stabilisingStress / y.destabilisingPressure) : "—",
       "u_dst;d = " + Number(y.destabilisingPressure) +
           " ≤ σ_stb;d = " + Number(y.stabilisingStress),
       Verdict(y.totalStressesPassed), "EN 1997-1:2004, 2.4.7.5 (2.9a)"});
  table.rows.push_back({"HYD, seepage force",
                        "S_dst;d = " + Number(y.seepageForce) +
                            ", G′_stb;d = " + Number(y.stabilisingWeight) + " " + u.force,
                        y.seepageForce > 0 ? Number(y.stabilisingWeight / y.seepageForce) : "—",
                        "S_dst;d ≤ G′_stb;d", Verdict(y.seepageForcePassed),
                        "EN 1997-1:2004, 2.4.7.5 (2.9b)"});
  const api::PipingCheck& p = c.piping;
  table.rows.push_back(
      {"Piping",
       "i_exit = " + Number(p.exitGradient) + ", i_c = γ′/γw = " + Number(p.criticalGradient),
       Factor(p.factor), "i_c/i_exit ≥ " + Number(o.requiredPipingFactor), Verdict(p.passed),
       "Terzaghi (1943); Harr (1962)"});
  if (const std::optional<api::UpliftCheck>& up = c.uplift)
    table.rows.push_back(
        {"Uplift, UPL",
         "at " + Number(up->depth) + " " + u.length + ": u = " + Number(up->porePressure) +
             ", σv = " + Number(up->totalStress) + " " + u.pressure +
             ", γG;dst = " + Number(o.uplDestabilising) + ", γG;stb = " + Number(o.uplStabilising),
         Factor(up->factor),
         "V_dst;d = " + Number(up->destabilising) + " ≤ G_stb;d = " + Number(up->stabilising),
         Verdict(up->passed), "EN 1997-1:2004, 2.4.7.4 (2.8)"});
  table.note =
      "A factor is the stabilising over the destabilising value; — where nothing "
      "destabilises (no upward flow). The prism of heave and HYD is the soil in front "
      "from the excavation level to the tip, D/2 wide.";
  blocks.push_back(std::move(table));
}

// The seepage of one problem as the window shows it: solved from the data
// file's soil (the analysis's own solution and checks when it reports
// them); nullopt with `error` when it cannot be.
std::optional<ui::FlowNetFigure> ProblemSeepage(const api::SeepageOptions& options,
                                                const api::SoilDescription& soil,
                                                const api::ProblemResult* result,
                                                std::string& error) {
  const size_t rows = options.layers.empty() ? soil.layers.size() : options.layers.size();
  std::optional<ui::FlowNetFigure> figure = ui::SolveFlowNetFigure(soil, rows, options, error);
  if (figure && result && result->seepage) {
    figure->solution = *result->seepage;
    if (result->hydraulicChecks) {
      figure->checks = result->hydraulicChecks->checks;
      figure->checksMessage = result->hydraulicChecks->message;
    }
  }
  return figure;
}

Figure FlowNetPicture(const ui::FlowNetFigure& figure, const std::string& caption) {
  const api::FlowNet& net = *figure.solution.flowNet;
  const double width = net.x.back() - net.x.front(), depth = net.z.back();
  const double aspect = width > 0 ? std::clamp(depth / width + 0.2, 0.45, 1.1) : 0.6;
  return Figure{caption, aspect, [figure](QPainter& painter, const QRectF& area, double dpi) {
                  ui::PaintFlowNet(painter, area, dpi, figure);
                }};
}

}  // namespace

void AppendSeepage(const api::SeepageOptions& options, const api::AnalysisResult& analysis,
                   const std::vector<std::string>& names, const std::string& dataText,
                   std::vector<Block>& blocks) {
  blocks.push_back(Heading{1, "Seepage", {}});
  const api::SoilDescriptions soils = engine::ReadSoilDescriptions(dataText);
  const int units = !soils.problems.empty()      ? soils.problems.front().units
                    : !analysis.problems.empty() ? analysis.problems.front().units
                                                 : 2;
  AppendChoices(options, units, blocks);
  bool any = false;
  for (size_t k = 0; k < soils.problems.size(); ++k) {
    const api::SoilDescription& soil = soils.problems[k];
    if (soil.layers.empty()) continue;
    const api::ProblemResult* result =
        k < analysis.problems.size() ? &analysis.problems[k] : nullptr;
    const std::string name = k < names.size() ? names[k] : "Problem " + std::to_string(k + 1);
    if (soils.problems.size() > 1) blocks.push_back(Heading{2, name, {}});
    any = true;
    std::string error;
    const std::optional<ui::FlowNetFigure> seepage = ProblemSeepage(options, soil, result, error);
    if (!seepage) {
      blocks.push_back(
          Paragraph{"The seepage cannot be solved: " + error, Paragraph::Style::Warning});
      continue;
    }
    if (seepage->solution.flowNet) blocks.push_back(FlowNetPicture(*seepage, "Flow net, " + name));
    AppendPorePressures(seepage->solution, soil.units, blocks);
    if (seepage->checks) AppendChecks(*seepage->checks, options.checks, soil.units, blocks);
    else
      blocks.push_back(
          Paragraph{"No hydraulic checks: " + seepage->checksMessage, Paragraph::Style::Warning});
  }
  if (!any)
    blocks.push_back(Paragraph{"No problem of the data file has soil layers to seep through."});
}

}  // namespace terraq::report::detail
