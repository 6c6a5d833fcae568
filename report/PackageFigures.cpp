// The graphs of the calculation package: the results, the earth pressure and
// the utilisation of the wall's section of every problem against depth, in
// the units of the program's graph windows. The wall and soil drawing is in
// ProfileFigure.cpp.
#include "PackageFigures.h"

#include <cmath>

#include "DesignSituations.h"
#include "PackageGraphs.h"
#include "SectionCheck.h"
#include "api/Analysis.h"
#include "api/Units.h"
#include "graphs/MobilisedPressureGraph.h"

namespace terraq::report {

namespace api = engine::api;
using ui::TFloatPoint;

namespace {

// What the graphs show in a units system. English results are held in
// pounds and inches; the graph windows draw depths in feet and moments and
// shears in kips, and so do these figures.
struct GraphUnits {
  double depthPerBase = 1, forcePerBase = 1;
  const char* depth;
  const char* length;
  const char* force;
  const char* moment;
  const char* perLength;
};

// The graphs draw English depths in feet and forces in kips, as engineers
// read them there.
GraphUnits UnitsOf(int unitsCode) {
  using engine::api::UnitsSystem;
  switch (engine::api::UnitsSystemOf(unitsCode)) {
    case UnitsSystem::English:
      return {
          1.0 / engine::api::kInchesPerFoot, 1.0 / 1000, "ft", "in", "kips", "kip·in", "lbs/in"};
    case UnitsSystem::SI: return {1, 1, "m", "m", "kN", "kN·m", "kN/m"};
    case UnitsSystem::Generic: break;
  }
  return {1, 1, "L", "L", "F", "F·L", "F/L"};
}

std::string WithUnit(const std::string& caption, const char* unit) {
  return caption + " (" + unit + ")";
}

std::string NameOf(const std::vector<std::string>& names, size_t i) {
  return i < names.size() ? names[i] : "Problem " + std::to_string(i + 1);
}

// The soil reaction per unit length of wall: the engine gives the force a
// station takes, which grows with the increment length. A station takes the
// wall from halfway to the station above to halfway to the one below.
double ReactionPerLength(const std::vector<api::StationResult>& s, size_t j) {
  const double above = s[j > 0 ? j - 1 : j].depth, below = s[j + 1 < s.size() ? j + 1 : j].depth;
  const double length = (below - above) / 2;
  return length > 0 ? s[j].soilReaction / length : NAN;
}

double QuantityOf(Quantity q, const std::vector<api::StationResult>& s, size_t j,
                  const GraphUnits& u) {
  switch (q) {
    case Quantity::Deflection: return s[j].deflection;
    case Quantity::Slope: return s[j].slope;
    case Quantity::Moment: return s[j].moment * u.forcePerBase;
    case Quantity::Shear: return s[j].shear * u.forcePerBase;
    case Quantity::SoilReaction: return ReactionPerLength(s, j);
  }
  return NAN;
}

std::string CaptionOf(Quantity q, const GraphUnits& u) {
  switch (q) {
    case Quantity::Deflection: return WithUnit("Deflection", u.length);
    case Quantity::Slope: return "Slope (rad)";
    case Quantity::Moment: return WithUnit("Bending Moment", u.moment);
    case Quantity::Shear: return WithUnit("Shear", u.force);
    case Quantity::SoilReaction:
      return WithUnit("Net Reaction per Unit Length of Wall", u.perLength);
  }
  return {};
}

// The mark of results that must not be used, naming the problems: one
// that did not close, went beyond the allowed deflection or off its
// curves, or whose numbers are not those of the wall.
bool ResultsValid(const api::ProblemResult& p) {
  return p.closed && !p.offCurves && p.stationsOverLimit == 0 && p.notValidStations.empty() &&
         p.numericalFault.empty();
}

std::string ResultsMark(const std::vector<api::ProblemResult>& problems,
                        const std::vector<std::string>& names) {
  std::string which;
  for (size_t i = 0; i < problems.size(); ++i)
    if (!ResultsValid(problems[i])) which += (which.empty() ? "" : ", ") + NameOf(names, i);
  if (which.empty()) return {};
  return "RESULTS NOT VALID" + (problems.size() > 1 ? ": " + which : std::string()) +
         " (see the warnings)";
}

std::string DepthCaption(const GraphUnits& u) { return WithUnit("Depth", u.depth); }

}  // namespace

DepthGraph ResultGraph(Quantity quantity, const std::vector<api::ProblemResult>& problems,
                       const std::vector<std::string>& names, int unitsSystem) {
  const GraphUnits u = UnitsOf(unitsSystem);
  DepthGraph graph;
  graph.xCaption = CaptionOf(quantity, u);
  graph.yCaption = DepthCaption(u);
  graph.resultsMark = ResultsMark(problems, names);
  std::vector<std::vector<TFloatPoint>> values;
  for (size_t i = 0; i < problems.size(); ++i) {
    const std::vector<api::StationResult>& s = problems[i].stations;
    DepthCurve curve;
    curve.label = NameOf(names, i);
    for (size_t j = 0; j < s.size(); ++j)
      curve.points.push_back({QuantityOf(quantity, s, j, u), s[j].depth * u.depthPerBase});
    values.push_back(curve.points);
    graph.curves.push_back(std::move(curve));
  }
  if (problems.size() > 1) {
    const Envelope e = EnvelopeOf(values);
    graph.curves.push_back({e.max, "Envelope (max)", Qt::SolidLine, Qt::black, 1});
    graph.curves.push_back({e.min, "Envelope (min)", Qt::SolidLine, Qt::black, 2});
  }
  return graph;
}

// A graph against depth fills the text column of a page: depth reads best
// tall.
constexpr double kDepthGraphAspect = 1.3;

Figure DepthFigure(DepthGraph graph, const std::string& caption) {
  return {caption, kDepthGraphAspect,
          [graph = std::move(graph)](QPainter& painter, const QRectF& area, double dpi) {
            PaintDepthGraph(painter, area, dpi, graph);
          }};
}

Figure ResultFigure(Quantity quantity, const std::vector<api::ProblemResult>& problems,
                    const std::vector<std::string>& names, int unitsSystem,
                    const std::string& caption) {
  const DepthGraph graph = ResultGraph(quantity, problems, names, unitsSystem);
  return {caption, kDepthGraphAspect, [graph](QPainter& painter, const QRectF& area, double dpi) {
            PaintDepthGraph(painter, area, dpi, graph);
          }};
}

DepthGraph PressureGraph(const std::vector<api::ProblemResult>& problems,
                         const std::vector<std::string>& names, int unitsSystem) {
  const GraphUnits u = UnitsOf(unitsSystem);
  DepthGraph graph;
  graph.xCaption = WithUnit("Earth Pressure per Unit Length of Wall", u.perLength);
  graph.yCaption = DepthCaption(u);
  graph.emptyNote = "No earth pressure was applied.";
  // Each problem's total in its running colour; where the pressure was
  // generated, its soil and surcharge parts in the same colour, dashed and
  // dotted.
  std::vector<DepthCurve> parts;
  const bool one = problems.size() == 1;
  int number = 0;  // the running colour of the totals
  for (size_t i = 0; i < problems.size(); ++i) {
    const std::vector<api::PressureRow>& rows = problems[i].earthPressure;
    const std::string name = NameOf(names, i);
    const ui::TRgb rgb = ui::LineColour(number);
    DepthCurve total{{}, one ? "Total" : name + ": total"};
    DepthCurve soil{{}, one ? "Soil" : name + ": soil", Qt::DashLine, QColor(rgb.r, rgb.g, rgb.b)};
    DepthCurve surcharge{{}, one ? "Surcharge" : name + ": surcharge", Qt::DotLine, soil.colour};
    bool split = false, surcharged = false;
    for (const api::PressureRow& r : rows) {
      const double depth = r.depth * u.depthPerBase;
      total.points.push_back({r.total, depth});
      soil.points.push_back({r.soil, depth});
      surcharge.points.push_back({r.surcharge, depth});
      split = split || r.soil != r.total;
      surcharged = surcharged || r.surcharge != 0;
    }
    if (rows.empty()) continue;
    ++number;
    if (!one && !split && !surcharged) total.label = name;
    graph.curves.push_back(std::move(total));
    if (split || surcharged) parts.push_back(std::move(soil));
    if (surcharged) parts.push_back(std::move(surcharge));
  }
  for (DepthCurve& c : parts) graph.curves.push_back(std::move(c));
  return graph;
}

Figure PressureFigure(const std::vector<api::ProblemResult>& problems,
                      const std::vector<std::string>& names, int unitsSystem,
                      const std::string& caption) {
  const DepthGraph graph = PressureGraph(problems, names, unitsSystem);
  return {caption, kDepthGraphAspect, [graph](QPainter& painter, const QRectF& area, double dpi) {
            PaintDepthGraph(painter, area, dpi, graph);
          }};
}

DepthGraph UtilisationGraph(const std::vector<design::WallCheck>& checks,
                            const std::vector<api::ProblemResult>& problems,
                            const std::vector<std::string>& names, int unitsSystem) {
  const GraphUnits u = UnitsOf(unitsSystem);
  DepthGraph graph;
  graph.xCaption = "Utilisation of the Section";
  graph.yCaption = DepthCaption(u);
  graph.resultsMark = ResultsMark(problems, names);
  graph.emptyNote = "No problem could be checked.";
  double top = INFINITY, bottom = -INFINITY;
  for (size_t i = 0; i < checks.size(); ++i) {
    DepthCurve curve;
    curve.label = NameOf(names, i) + (checks[i].error.empty() ? "" : " (not checked)");
    for (const design::StationCheck& s : checks[i].stations) {
      const double depth = s.depth * u.depthPerBase;
      curve.points.push_back({s.utilisation, depth});
      top = std::min(top, depth);
      bottom = std::max(bottom, depth);
    }
    // A problem not checked keeps its running colour: the curves match the
    // result figures' problem by problem.
    graph.curves.push_back(std::move(curve));
  }
  if (top <= bottom) {
    graph.curves.push_back({{{1, top}, {1, bottom}}, "Utilisation 1", Qt::DashLine, Qt::red});
    graph.reach = {{1.1, top}};
  }
  return graph;
}

Figure UtilisationFigure(const std::vector<design::WallCheck>& checks,
                         const std::vector<api::ProblemResult>& problems,
                         const std::vector<std::string>& names, int unitsSystem,
                         const std::string& caption) {
  const DepthGraph graph = UtilisationGraph(checks, problems, names, unitsSystem);
  return {caption, kDepthGraphAspect, [graph](QPainter& painter, const QRectF& area, double dpi) {
            PaintDepthGraph(painter, area, dpi, graph);
          }};
}

Figure DesignEffectFigure(design::DesignEffect effect,
                          const std::vector<design::SituationResult>& results, size_t problem,
                          int unitsSystem, const std::string& caption) {
  const GraphUnits u = UnitsOf(unitsSystem);
  const bool deflection = effect == design::DesignEffect::Deflection;
  DepthGraph graph;
  graph.xCaption = deflection ? WithUnit("Deflection", u.length)
                   : effect == design::DesignEffect::Moment
                       ? WithUnit("Design Bending Moment", u.moment)
                       : WithUnit("Design Shear", u.force);
  graph.yCaption = DepthCaption(u);
  graph.emptyNote = "No set has valid results.";
  std::vector<std::vector<TFloatPoint>> values;
  for (const design::SituationResult& r : results) {
    // Design effects are those of the ultimate sets; every set moves the wall.
    if ((r.set.serviceability && !deflection) || problem >= r.problems.size() ||
        !r.problems[problem].valid)
      continue;
    DepthCurve curve;
    curve.label = r.set.name + (deflection && r.set.serviceability ? " (serviceability)" : "");
    for (const design::DesignStation& s : r.problems[problem].stations) {
      const double depth = s.depth * u.depthPerBase;
      if (deflection) {
        curve.points.push_back({s.deflection, depth});
      } else if (effect == design::DesignEffect::Moment) {
        curve.points.push_back({s.moment * u.forcePerBase, depth});
      } else {
        // Both sides of a step, so that the curve reaches the table's value.
        curve.points.push_back({s.shearAbove * u.forcePerBase, depth});
        if (s.shearBelow != s.shearAbove)
          curve.points.push_back({s.shearBelow * u.forcePerBase, depth});
      }
    }
    values.push_back(curve.points);
    graph.curves.push_back(std::move(curve));
  }
  // The envelope of design effects; deflections of different sets are not
  // enveloped: the serviceability set's are the wall's.
  if (values.size() > 1 && !deflection) {
    const Envelope e = EnvelopeOf(values);
    graph.curves.push_back({e.max, "Envelope (max)", Qt::SolidLine, Qt::black, 1});
    graph.curves.push_back({e.min, "Envelope (min)", Qt::SolidLine, Qt::black, 2});
  }
  return {caption, kDepthGraphAspect, [graph](QPainter& painter, const QRectF& area, double dpi) {
            PaintDepthGraph(painter, area, dpi, graph);
          }};
}

DepthGraph MobilisedPressureGraph(const api::ProblemResult& problem) {
  DepthGraph graph;
  graph.xCaption = ui::MobilisedPressureCaption(problem.units);
  graph.yCaption = ui::MobilisedDepthCaption(problem.units);
  if (!ResultsValid(problem)) graph.resultsMark = "RESULTS NOT VALID (see the warnings)";
  ui::TLineList lines;
  ui::AppendMobilisedPressure(lines, problem, "");
  for (ui::TLine& line : lines) {
    const ui::TRgb rgb = ui::LineColour(line.ColourNumber);
    const bool solid = line.Style == ui::TLineStyle::Solid;
    graph.curves.push_back({std::move(line.Points), line.Name,
                            solid                                  ? Qt::SolidLine
                            : line.Style == ui::TLineStyle::Dashed ? Qt::DashLine
                                                                   : Qt::DotLine,
                            QColor(rgb.r, rgb.g, rgb.b), 0, line.ColourNumber});
  }
  return graph;
}

Figure MobilisedPressureFigure(const api::ProblemResult& problem, const std::string& caption) {
  const DepthGraph graph = MobilisedPressureGraph(problem);
  return {caption, kDepthGraphAspect, [graph](QPainter& painter, const QRectF& area, double dpi) {
            PaintDepthGraph(painter, area, dpi, graph);
          }};
}

}  // namespace terraq::report
