#pragma once
// Steady seepage round a wall: the pore pressure on each face, the head
// field, the exit gradient in front and the flow under the toe, by one of
// three named methods declared once (key, name, published source) for the
// engine, the design library, the package and the windows to name them by.
//
//   SeepageProblem p;  p.units = 2;  p.excavationLevel = 6;  p.tip = 12;
//   p.retainedWater = 1;  p.frontWater = 6;  p.base = 30;
//   p.retainedWidth = p.frontWidth = 40;  p.layers = {{.thickness = 30, .kx = 1e-5, .kz = 1e-5}};
//   SeepageResult r = SolveSeepage(p, SeepageMethod::FlowNet);
//   if (!r.solution) ...;  // r.message says why
//   double u = PorePressureOnFace(*r.solution, WallFace::Front, 9.0);  // kN/m^2
//
// Geometry and signs. A vertical section through a straight wall; depths z
// below the top of the wall, positive downwards, in the problem's length L
// (units code as the data file's: 1 inches, 2 metres, others generic).
// The retained side lies at negative x, the front (excavated) side at
// positive x, the wall at x = 0 from its top to its tip. Heads h are levels
// above the top of the wall (negative below it), so that the pore pressure
// is u = γw (h + z); γw is the engine's for the units (9.81 kN/m³, 62.4
// lb/ft³). Pore pressures are F/L², never below zero (no suction).
// Permeabilities are any one unit of L per time T; the flow rate is then
// L²/T per unit length of wall.
//
// Soil above a water table is dry and takes no part in the flow: the
// saturated soil on each side starts at the deeper of its ground surface
// and its water table, where the head is that table's level (a horizontal
// phreatic surface: the draw-down of the table towards the wall and
// unsaturated flow are neglected). Water standing above a ground surface
// presses on the face hydrostatically. The layers are horizontal, the same
// on both sides, each with its own kx and kz; the last one continues to the
// impermeable base.
//
// Errors are values: a problem a method cannot solve is refused in
// SeepageResult::message, never a NaN. Thread safety: values and pure
// functions; solutions may be made on several threads at once.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace terraq::engine::api {

enum class SeepageMethod {
  Hydrostatic,  // each side's own water table, no flow; the default
  Linear,       // the head lost uniformly along the shortest path round the toe
  FlowNet,      // two-dimensional steady seepage, Laplace's equation
};

struct SeepageMethodInfo {
  SeepageMethod method;
  std::string_view key;     // "flow-net"
  std::string_view name;    // "Flow net"
  std::string_view source;  // author, year, title
};

// Every method, hydrostatic first.
std::span<const SeepageMethodInfo> SeepageMethods();
const SeepageMethodInfo& SeepageMethodOf(SeepageMethod method);
// The method named `key`; nullptr when none is.
const SeepageMethodInfo* FindSeepageMethod(std::string_view key);

struct SeepageLayer {
  double thickness = 0;   // L, > 0
  double kx = 0, kz = 0;  // L/T, horizontal and vertical permeability, > 0
  double unitWeight = 0;  // F/L³, total (saturated below the table); read by the checks only
};

struct SeepageProblem {
  int units = 2;               // the data file's units code
  double retainedSurface = 0;  // L, depth of the ground surface behind the wall
  double excavationLevel = 0;  // L, depth of the ground surface in front
  // L, the depths of the water tables; above a surface: standing water.
  double retainedWater = 0, frontWater = 0;
  double tip = 0;            // L, depth of the wall's tip, below both surfaces
  double base = 0;           // L, depth of the impermeable base, below the tip
  double retainedWidth = 0;  // L, > 0: how far the soil reaches behind the wall (no flow there)
  double frontWidth = 0;     // L, > 0: the same in front (half the width of a cofferdam)
  std::vector<SeepageLayer> layers;  // from the retained surface down
  // Flow net: > 0 and <= 8, divides every cell's size (2: some four times the cells).
  double meshRefinement = 1;
};

enum class WallFace { Retained, Front };

// The head along one face at the method's points, from that side's top of
// saturated soil down to the tip; linear between them.
struct FaceHead {
  double depth = 0, head = 0;  // L
};

// The head field of a flow net, for a picture: cell (i, j) lies between the
// vertical lines x[i], x[i + 1] and the horizontal lines z[j], z[j + 1].
struct FlowNet {
  std::vector<double> x;        // L, retained far boundary (negative) ... 0 (the wall) ... front
  std::vector<double> z;        // L, depths, from the higher top of saturated soil to the base
  std::vector<double> head;     // L, per cell, index i + j * (x.size() - 1)
  std::vector<bool> saturated;  // per cell: in the flow (the heads elsewhere mean nothing)
  // The stream function at every grid point, index i + j * x.size(), L²/T:
  // 0 on the far boundaries and the base, the flow rate on the wall; the
  // flow lines are its contours. Points above the saturated soil carry the
  // value of the point below them.
  std::vector<double> stream;
  int iterations = 0;  // conjugate-gradient iterations the solution took
};

struct SeepageSolution {
  SeepageMethod method = SeepageMethod::Hydrostatic;
  double unitWeightOfWater = 0;            // F/L³
  double tip = 0;                          // L
  double retainedTop = 0, frontTop = 0;    // L, the top of the saturated soil on each side
  double retainedHead = 0, frontHead = 0;  // L, the heads of the two water tables
  std::vector<FaceHead> retainedFace, frontFace;
  // The upward hydraulic gradient where the water leaves the soil in front,
  // next to the wall (0 without flow, negative where the water flows down
  // into the soil in front).
  double exitGradient = 0;
  // L²/T per unit length of wall, from the retained side to the front: the
  // flow net only (the one-dimensional methods know no permeability).
  std::optional<double> flowRate;
  std::optional<FlowNet> flowNet;
};

struct SeepageResult {
  std::optional<SeepageSolution> solution;
  std::string message;  // why there is no solution
};

// Why `problem` cannot be solved by `method` ("layer 2: the vertical
// permeability kz must be > 0, not -1"); empty when it can. The hydrostatic
// method reads only the units, the surfaces, the water tables and the tip;
// the linear one wants a tip below both surfaces and both tables, and
// layers of positive thickness and sound unit weight where given (it reads
// no permeability); the flow net the base, widths and
// layers as well.
std::string SeepageProblemFault(const SeepageProblem& problem, SeepageMethod method);

// The seepage of `problem` by `method`. The flow net solves div(k grad h) =
// 0 by finite volumes on a rectangular grid graded towards the tip and the
// surfaces, with preconditioned conjugate gradients; a solve that does not
// converge is refused.
SeepageResult SolveSeepage(const SeepageProblem& problem, SeepageMethod method);

// The pore pressure on `face` at `depth` (F/L²): hydrostatic from that
// side's table above its saturated soil, the solution's below; depths below
// the tip take the tip's value.
double PorePressureOnFace(const SeepageSolution& solution, WallFace face, double depth);
// The head in front of the wall at `depth` and `distance` (>= 0) from it:
// the flow net's field (between cell centres), else the front face's head
// at that depth (the tip's below it), which the one-dimensional methods
// take to hold across the front.
double HeadInFront(const SeepageSolution& solution, double depth, double distance);

}  // namespace terraq::engine::api
