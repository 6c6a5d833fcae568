#pragma once
// The one paint routine of a flow net round a wall (api/Seepage.h): the
// section with the soil, the wall, both ground surfaces and water tables and
// the impermeable base; the equipotentials (contours of the head at equal
// drops between the two tables) and the flow lines (contours of the stream
// function, equal flow between neighbours); the exit gradient next to the
// wall in front; and a key with the head difference, the flow rate and the
// factors of the hydraulic checks. The Soil Layers window and the
// calculation package draw it, each on its own device.
//
// Both axes take one scale, so that the net's cells look as square as they
// are: the section is centred in what the key leaves of the area. Lengths
// are those of the problem (L, depths below the top of the wall, x positive
// in front); the key names the data file's units. The permeabilities are
// taken in L per second, so the flow rate is in L² per second per unit
// length of wall.

#include <QPainterPath>
#include <QRectF>
#include <QStringList>
#include <optional>
#include <string>
#include <vector>

#include "api/SeepageOptions.h"

class QPainter;

namespace terraq::ui {

struct FlowNetFigure {
  engine::api::SeepageProblem problem;                 // what was solved: the geometry drawn
  engine::api::SeepageSolution solution;               // SolveSeepage of `problem`
  std::optional<engine::api::HydraulicChecks> checks;  // listed in the key when set
  engine::api::HydraulicCheckOptions checkOptions;     // their required factors
  std::string checksMessage;                           // why there are no checks
  int drops = 10;    // equal head drops between the tables: drops − 1 equipotentials
  int channels = 5;  // flow channels of equal flow: channels − 1 flow lines
  bool key = true;   // the key under the section (a window may list it beside instead)
};

// The seepage of `soil` (a problem of the data file, as
// api::ReadSoilDescriptions reads it, from a layer table of `layerCount`
// rows) under `options` as a run solves it: SeepageProblemOf, SolveSeepage
// and CheckHydraulicFailure. Nullopt with `error` when the options do not
// fit the soil or the method refuses the problem.
std::optional<FlowNetFigure> SolveFlowNetFigure(const engine::api::SoilDescription& soil,
                                                size_t layerCount,
                                                const engine::api::SeepageOptions& options,
                                                std::string& error);

// The key's lines: the head difference and flow rate, the exit gradient
// with the drops and channels drawn, and each check's factor against its
// requirement, passed or FAILED.
QStringList FlowNetKeyLines(const FlowNetFigure& figure);

// The contours in the problem's coordinates (x, z), one path per level that
// the field crosses: the equipotentials from the retained side's head down,
// the flow lines from the far boundaries towards the wall. None without a
// flow net (a hydrostatic or linear solution).
struct FlowNetContours {
  std::vector<QPainterPath> equipotentials;
  std::vector<QPainterPath> flowLines;
};
FlowNetContours FlowNetContoursOf(const FlowNetFigure& figure);

// Draws `figure` in `area` (device coordinates) on a device of `dpi` dots
// per inch, which sizes text and pens. Draws nothing at all when the
// solution has no flow net. Leaves the painter's state as it found it.
void PaintFlowNet(QPainter& painter, const QRectF& area, double dpi, const FlowNetFigure& figure);

}  // namespace terraq::ui
