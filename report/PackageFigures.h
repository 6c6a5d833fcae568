#pragma once
// The figures of the calculation package, each a paint routine
// (Document.h's Figure) over values it owns, so that the PDF and the HTML
// draw the same picture: the wall and soil profile of a stage, the earth
// pressure applied, and the results along the wall of every problem on one
// graph with their envelope.
//
// Units: the figures show what the program's graph windows show (depths in
// feet or metres; the other quantities in the units of the program's
// graphs, or the data file's where the program has no graph of them), and
// every axis names its unit.

#include <string>
#include <vector>

#include "Document.h"

namespace terraq::engine::api {
struct ProblemResult;
}
namespace terraq::ui {
class TProgramData;
}
namespace terraq::design {
struct WallCheck;
struct SituationResult;
enum class DesignEffect;
}

namespace terraq::report {

// A design effect of problem `problem` along the wall: the design moment or
// shear (its step at a support drawn) of every ultimate set whose results
// are valid, with their envelope; or the deflection of every set with valid
// results, the serviceability sets named so, without an envelope.
Figure DesignEffectFigure(design::DesignEffect effect,
                          const std::vector<design::SituationResult>& results, size_t problem,
                          int unitsSystem, const std::string& caption);

// An anchor or strut of a construction sequence in place during the stage
// drawn (it is no row of the stage's tables): depth below the wall top in
// the base length, and its label ("A1, 146.5 kN along it").
struct SequenceSupportMark {
  double depth = 0;
  bool strut = false;
  std::string text;
};

// The wall and the soil profile of one stage as entered: the layers hatched
// and named, the water tables, the excavation level, the anchors, props and
// springs (and the sequence's supports in place), the loads and the main
// dimensions.
Figure ProfileFigure(const ui::TProgramData& stage, const std::string& caption,
                     const std::vector<SequenceSupportMark>& supports = {});

// The earth pressure each problem applied (its table of specified or
// generated pressure: total, and where generated, soil and surcharge),
// against depth.
Figure PressureFigure(const std::vector<engine::api::ProblemResult>& problems,
                      const std::vector<std::string>& names, int unitsSystem,
                      const std::string& caption);

// The quantities along the wall.
enum class Quantity { Deflection, Slope, Moment, Shear, SoilReaction };

// One quantity of every problem on one graph, a curve per problem named by
// `names` (the same count as `problems`) and, with more than one problem,
// the envelope (the largest and smallest value at each depth over the
// problems) as two dashed curves.
Figure ResultFigure(Quantity quantity, const std::vector<engine::api::ProblemResult>& problems,
                    const std::vector<std::string>& names, int unitsSystem,
                    const std::string& caption);

// The utilisation of the wall's section along the wall: a curve per checked
// problem (`checks` in the order of `problems`; one with an error has no
// curve) and a line at 1, where the design effect reaches the resistance.
Figure UtilisationFigure(const std::vector<design::WallCheck>& checks,
                         const std::vector<engine::api::ProblemResult>& problems,
                         const std::vector<std::string>& names, int unitsSystem,
                         const std::string& caption);

// The mobilised earth pressure of a problem of a subgrade-reaction
// analysis: each face's pressure against its active and passive limits and
// at rest, the retained face to the left, as the program's graph draws it.
Figure MobilisedPressureFigure(const engine::api::ProblemResult& problem,
                               const std::string& caption);

}  // namespace terraq::report
