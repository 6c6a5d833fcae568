#pragma once
// A wall problem for the solver's tests: built as the text of a data file
// (one problem, the layout the interactive program saves), run through the
// whole engine, and read back from the plot file's result block and from the
// model the run leaves behind.

#include <string>
#include <utility>
#include <vector>

#include "EngineRun.h"
#include "driver/EngineModel.h"

namespace terraq::test {

using Points = std::vector<std::pair<double, double>>;

struct WallCase {
  std::string title = "Solver test wall";
  int units = 1;  // 1 English, 2 SI
  int NI = 10;
  double h = 12, WMAX = 1000, TOL = 1e-6, HFREE = 0;

  struct Specified {
    int caseCode, station;
    double deflection, slope;
  };
  struct Rigidity {
    int from, to, contd;
    double EI;
  };
  struct Load {
    int contd, from, to;
    double Q, T = 0, P = 0;
  };
  struct Spring {
    int from, to, contd;
    double S, R = 0;
  };
  struct Curve {
    int station;
    Points yp;  // (y, p): p per unit length of wall
    double pMultiplier = 1, yMultiplier = 1;
  };
  struct Section {
    int from, to;
    Points momentEI;  // (moment, EI), moment increasing
  };

  std::vector<Specified> specified;
  std::vector<Rigidity> rigidity;
  std::vector<Load> loads;
  std::vector<Spring> springs;
  Points earthPressure;  // (depth, load per unit length of wall)
  std::vector<Curve> curves;
  std::vector<Section> sections;

  // The data file.
  std::string text() const;
};

// The data text of the stages one after the other, as a staged project saves
// it: the number of stages in each control record, end code k after stage k.
std::string StagedText(const std::vector<WallCase>& stages);

// One row of the plot file's result block (4 significant digits).
struct PlotRow {
  double x, deflection, moment, shear, reaction;
};

struct SolvedWall {
  EngineOutputs files;
  std::vector<PlotRow> plot;           // stations 0..NI from the final result block
  terraq::engine::EngineModel model;   // the engine's model after the run
  std::vector<std::string> reportLines;
  std::vector<std::string> monitorLines;
};

// Runs the engine on a data file. `plot` is empty when the plot file does not
// end with a result block of NI + 1 rows (NI as the engine read it).
SolvedWall SolveDataFile(const std::string& text);
SolvedWall Solve(const WallCase& wall);

// The final result block of a plot file: header code, row count and units
// followed by `rows` rows; empty when the file does not end that way.
std::vector<PlotRow> FinalResultBlock(const std::string& plot, int rows);

// Does a line of the text contain `text`?
bool HasLine(const std::vector<std::string>& lines, const std::string& text);

// The iteration's warnings and the error stops that a report may carry.
bool ReportWarnsOrStops(const SolvedWall& run);

// Straight-line interpolation of a polyline of (x, y) points sorted by x,
// extended beyond its ends by its end segments.
double Interpolate(const Points& polyline, double x);

}  // namespace terraq::test
