#pragma once
// The engine's model: everything one analysis run reads and writes. Each
// analysis has a model of its own (nothing of it is global), so that
// analyses may run at the same time on different threads.
//
// Units: every length, force and stiffness is in the problem's own units
// (inches and pounds, metres and kilonewtons, or generic F and L); the engine
// never converts.
//
// Stations: the wall is divided into NI increments of length h; station i
// (0..NI, from the top) lies at depth i*h. Per-station arrays are addressed
// by position j = station + 4, 1-based, so that the fictitious stations -3..-1
// and NI+1..NI+3 of the difference equations exist and the formulas read as
// written: j = 4 is the top of the wall, j = NI + 4 its tip.
//
// Signs, for the per-station arrays, the solution and its results:
//   x      depth, positive downwards from the top of the wall;
//   w      deflection, positive towards the excavation (the way the retained
//          soil pushes the wall); lateral loads Q, earth pressure and soil
//          resistance are positive in the same direction;
//   dw/dx  slope;
//   M      moment, EI d2w/dx2: positive stretches the backfill face;
//   V      shear, dM/dx;
//   P      axial load, positive in tension. The wall is the beam-column
//          (EI w'')'' - (P w')' + S w = Q: a tension stiffens it, and a
//          compression (a negative P: the wall's weight, the vertical part of
//          inclined anchors) amplifies its bending, without bound at the
//          buckling load.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "ErrorStop.h"
#include "SequentialStage.h"
#include "SubgradeStage.h"
#include "api/EarthPressureOptions.h"
#include "api/SeismicOptions.h"
#include "api/SeepageOptions.h"
#include "api/SoilModelTable.h"
#include "soil/UnitLabels.h"

namespace terraq::engine {

constexpr int kStationPositions = 414;  // positions 1..414
constexpr int kMaxIncrements = kStationPositions - 7;  // NI + 7 must be a position
constexpr int kMaxSpecified = 20;
constexpr int kMaxCurves = 400;
constexpr int kMaxCurvePoints = 34;
constexpr int kMaxSections = 20;
constexpr int kMaxSectionPoints = 100;
constexpr int kMaxEarthPressureRows = 1200;
constexpr int kIterationLimit = 100;  // ITMAX: fixed, not an input

// Position of a station in the per-station arrays. A station number far
// outside any wall (as a malformed data file may give) is held at a position
// that is still far outside the storage, so that the arithmetic of a few
// stations either side of it cannot overflow; the checked arrays refuse it.
constexpr int kFarStation = 1 << 24;
constexpr int Pos(int station) {
  if (station > kFarStation) return kFarStation + 4;
  if (station < -kFarStation) return -kFarStation + 4;
  return station + 4;
}

// Depths that differ by less than this fraction of the increment length are
// one depth when matched to a station, so that binary rounding of
// station * h (9 * 0.3 < 2.7) never decides how the soil is modelled.
constexpr double kStationDepthTolerance = 1.0e-4;

// A per-station array addressed by position 1..414. Every access is checked:
// whatever the input, the engine never reads or writes outside its storage.
template <typename T>
class StationArray {
 public:
  T& operator[](int j) {
    if (j < 1 || j > kStationPositions) throw InternalIndexError();
    return values_[static_cast<size_t>(j)];
  }
  const T& operator[](int j) const {
    if (j < 1 || j > kStationPositions) throw InternalIndexError();
    return values_[static_cast<size_t>(j)];
  }
  void fill(T value) { values_.fill(value); }

 private:
  std::array<T, kStationPositions + 1> values_{};
};

using RealStations = StationArray<double>;

struct ProblemControl {
  std::string title;       // current title, first 70 characters
  std::string firstTitle;  // title of the first problem of the run
  int problemCount = 0;
  int KUNITS = 0, NSPEC = 0, NEI = 0, NPYMOD = 0, KEP = 0, KPY = 0, NPYUSER = 0, KSTAGE = 0,
      NMEI = 0;
  int NI = 0;
  double h = 0, WMAX = 0, TOL = 0, HFREE = 0;
  double twoH = 0, hSquared = 0, hCubed = 0;
  int NEXT = 0;
  int PLOTCODE = 1;
  int plotUnits = 1;  // unit flag of the plot result blocks
};

struct StationArrays {
  RealStations F, Q, S, T, R, P;  // EI, load, spring, couple, rotational restraint, axial load
  RealStations Qpoint, Spoint;    // the parts of Q and S from rows confined to one station
  // The distributed parts of Q and S that lie on the increment above a
  // station less those on the increment below: 0 inside a table row, -/+
  // half the row's value where it starts/ends; the earth pressure's shares
  // of the two increments. The shear at a station where a distributed load
  // or spring begins needs it.
  RealStations Qskew, Sskew;
  RealStations Qw, Sw;            // Q' and S': Q and S plus the current soil-spring segments
  RealStations w, wEI;            // deflection; deflection at the last stiffness update
  RealStations A, B, C;           // recursion coefficients
  StationArray<int> code;         // ConditionCode: 1 free .. 5 (see the solver)
};

struct SpecifiedConditions {
  // 1-based, input order; one spare entry for the pointer past the last.
  std::array<double, kMaxSpecified + 2> DEFL{}, SLOPE{};
};

// One load-deflection curve: p already multiplied by the increment length.
struct Curve {
  int n = 0;  // number of points
  std::array<double, kMaxCurvePoints + 1> y{}, p{};  // 1-based
  int fromIdx = 0, toIdx = 0;  // station positions
  int contd = 0;               // 1: interpolate to the next curve's station
  int station = 0;             // station number as read (for the plot file)
  double depth = 0;            // depth of a generated curve
  bool generated = false;      // reported only: the analysis takes model.generatedSprings
  // User curves: the points as the plot file shows them, PMULT*P per unit
  // length of wall (p above is that times h).
  std::array<double, kMaxCurvePoints + 1> pPlot{};
};

// The soil spring of the generated soil at one station, for the part of
// one layer under the station's hat function (soil/StationSprings.h): its
// share of that soil (the hat integrated over it, in increments: 1 inside
// the soil, 1/2 at a wall end, a fraction where the excavation level or a
// layer boundary cuts the hat) and its own curve, generated at the part's
// depth.
struct StationSpring {
  int j = 0;  // station position
  double share = 0;
  double depth = 0;  // below the top of the wall, where the curve was generated
  // The curve as the iteration takes it: deflections increasing, p already
  // multiplied by the increment length, as a load on the wall.
  std::vector<double> y, p;
};

struct EarthPressureRow {
  double depth = 0;
  double total = 0;      // per unit length of wall; multiplied by h once applied
  double soil = 0;       // pressure from the soils
  double surcharge = 0;  // pressure from surcharge loads
};

struct StiffnessSection {
  int from = 0, to = 0;  // stations
  int n = 0;
  std::array<double, kMaxSectionPoints + 1> M{}, EI{};  // 1-based, moment increasing
};

struct ResultRow {
  double x = 0, deflection = 0, slope = 0, moment = 0, shear = 0, reaction = 0, EI = 0;
  // The shear just above and just below the station: they differ by the
  // concentrated force there (a point load, a point spring, the reaction of
  // a specified deflection), which `shear` (their mean) hides.
  double shearAbove = 0, shearBelow = 0;
  // The reaction of the supports concentrated at the station (springs
  // confined to it, a specified deflection): positive towards the
  // excavation, like the loads.
  double supportForce = 0;
  bool concentrated = false;  // a point load or support acts at the station
};

// The soil data of the data file, passed on to the generators.
struct WallRecord {
  double freeHeight = 0, widthActive = 0, widthResistance = 0, waterBackfill = 0,
         waterExcavation = 0, activeFactor = 1.0;
  int pressureSwitch = 0;
  double backfillSlope = 0;
};

struct SurchargeRecord {
  double uniform = 0;
  double legacyDistance = 0, legacyPoint = 0, legacyLine = 0, legacyStrip = 0, legacyWidth = 0;
};

struct SurchargeLoad {
  int type = 0;  // 1 point, 2 line, 3 strip
  double magnitude = 0, distance = 0, width = 0;
};

struct SoilLayerInput {
  int code = 0;
  double bottom = 0;     // depth of the layer bottom below the backfill surface
  // The parameter lines at the top and the bottom (api/SoilModelTable.h).
  std::array<double, api::kLayerLinePositions> top{}, base{};
};

struct SoilData {
  WallRecord wall;
  SurchargeRecord surcharge;
  std::vector<SurchargeLoad> loads;
  std::vector<SoilLayerInput> layers;
};

struct PyModificationRow {
  double depth = 0, pFactor = 1, yFactor = 1;
};

// Bookkeeping of the springs table that the earth-pressure generator needs
// (anchor levels).
struct SpringRowSummary {
  int rows = 0;
  double firstSingleStationDepth = 0;
  double lastSingleStationDepth = 0;
};

// How a table row or a curve stands in its table: alone, first of a
// continued run, or a later row of a run (a run prints only the station where
// each of its later rows ends).
enum class RowKind { Alone, FirstOfRun, LaterInRun };

// State of DistributeTableRow kept from row to row of one table.
struct DistributionState {
  long long previousC = 0;  // CONTD - 1 of the previous row, any integer the input gives
  int s = 0;                // 0 until a row has set a start position
  std::vector<double> v0;
  // Optional, one per distributed array (nullptr: not kept): receives the
  // values of rows confined to one station, the table's point loads.
  std::vector<RealStations*> points;
  // Optional likewise: receives, per station, the part of a row over a
  // range that lies on the half increment above less that below (the rows'
  // ends are one-sided).
  std::vector<RealStations*> skews;
};

struct EngineModel {
  ProblemControl control;
  StationArrays st;
  SpecifiedConditions spec;
  std::vector<Curve> curves;
  std::vector<StationSpring> generatedSprings;
  std::vector<EarthPressureRow> earthPressure;
  std::vector<StiffnessSection> sections;
  std::vector<ResultRow> results;  // stations 0..NI of the last solved problem
  std::vector<PyModificationRow> pyModification;
  SoilData soil;
  SpringRowSummary springRows;
  UnitLabels labels;  // kept from problem to problem
  // Set by the caller for a whole run, kept by resetRun: divides the soil
  // layers' strength as they are read (api::AnalysisOptions).
  double strengthReductionFactor = 1.0;
  // Set by the caller for a whole run, kept by resetRun: the soil is the
  // subgrade-reaction model's (api::AnalysisOptions::subgrade), so the p-y
  // model's generated earth pressure and springs are not applied.
  bool subgradeModel = false;
  // Set by the caller for a whole run, kept by resetRun: the faces'
  // earth-pressure theories (api::AnalysisOptions::earthPressure), each
  // layer's own wall friction already divided by strengthReductionFactor as
  // the layers' strength is.
  std::optional<api::EarthPressureOptions> theories;
  // Set by the caller for a whole run, kept by resetRun: the shaking of
  // every problem (api::AnalysisOptions::seismic) that its stage does not
  // replace (api::SequentialOptions::stageSeismic).
  std::optional<api::SeismicOptions> runSeismic;
  // The shaking of the current problem, set before it is read, and the
  // coefficients its layers take on both faces (api/SeismicFaces.h), found
  // once its soil is read (earthpressure/SeismicStage.h).
  std::optional<api::SeismicOptions> seismic;
  std::vector<api::SeismicLayerCoefficient> seismicCoefficients;
  // Set by the caller for a whole run, kept by resetRun: the seepage round
  // the wall of every problem (api::AnalysisOptions::seepage) that its stage
  // does not replace (api::SequentialOptions::stageSeepage).
  std::optional<api::SeepageOptions> runSeepage;
  // The seepage of the current problem, set before it is read; unset when
  // each side keeps its own hydrostatic water.
  std::optional<api::SeepageOptions> seepage;
  // The current problem's seepage under those options (engine/seepage/
  // ProblemSeepage.h) and its hydraulic checks; unset without seepage.
  std::optional<api::SeepageSolution> seepageSolution;
  std::optional<api::HydraulicChecksResult> hydraulicChecks;

  // Iteration outcome of the current problem.
  int iteration = 0;
  bool offCurve = false;
  int overLimit = 0;
  int notClosed = 0;
  // The tangent of the segment a deflection lies in (Newton's step on the
  // piecewise-linear curves) can swing a station to and fro for ever where
  // the wall turns about it: a curve far stiffer at zero deflection than
  // further out (clay's fractional powers, on both sides of the wall) sends
  // Newton's step across zero to a deflection as large on the other side.
  // Once the iteration repeats itself, or has not closed halfway to its
  // limit, every curve is taken along its secant from zero deflection
  // instead, which softening curves make a contraction: it closes where
  // Newton's step cycles. Problems that close without it are untouched.
  bool secants = false;
  // Stations (0..NI, increasing) where the last solution met a zero pivot:
  // its equations are singular (most often nothing holds the wall against
  // moving or turning as a rigid body, which shows at the tip), the
  // recursion pins the deflection there instead, and the results are not
  // those of the wall. The rows of the fictitious stations -1 and NI+1
  // count for the top and the tip.
  std::vector<int> zeroPivotStations;

  // Stations inside the wall (1..NI-1) that the flexural-rigidity table
  // leaves with less than a full share of stiffness (rows that leave a gap
  // between them, or stop short of the tip): the wall is weakened there,
  // which the report warns about.
  std::vector<int> partialStiffnessStations;

  // Why the numbers of the last solution are not those of the wall although
  // its equations were solved (terms that underflow at the increment length
  // given, results that overflow or are lost to rounding); empty when they
  // are. The report says so in one line (solver/ResultValidity.h).
  std::string numericalFault;

  // The depth below the top of the wall (L) at which the generated soil
  // ends when its layers end above the tip, negative otherwise: the wall
  // below hangs free, which a wall that the soil cannot hold shows as
  // singular equations or runaway deflections.
  double soilEndsAbove = -1;

  // The last solution's equations had a negative pivot while the wall
  // carries an axial compression: the compression exceeds the buckling load
  // of the wall on its supports, and the deflections are no equilibrium the
  // wall can stand in.
  bool beyondBuckling = false;
  // The compression is not beyond the equations' buckling load but within
  // their accuracy of it (SolveBeamColumn): at the wall's own buckling load
  // as closely as the increments can tell, a mechanism.
  bool atBuckling = false;

  // A stage of a sequential staged analysis: the carried spring states and
  // the supports by stage (inactive otherwise).
  SequentialStage sequential;
  // The subgrade-reaction model's springs of the current problem (inactive
  // in the p-y model).
  SubgradeStage subgrade;

  // Resets everything a problem starts without (stations, tables, curves,
  // sections, outcome); keeps the run-level values of `control`.
  void resetProblem();
  // Resets everything, as a model that has not run yet.
  void resetRun();
};

}  // namespace terraq::engine
