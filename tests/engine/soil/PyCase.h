#pragma once
// Data files for whole runs with generated p-y curves, and the p-y block of
// the plot file read back as the interactive program reads it.

#include <array>
#include <string>
#include <vector>

namespace terraq::test {

struct TestLayer {
  int code = 4;
  double bottom = 0;  // below the backfill surface
  std::array<double, 6> top{}, base{};  // weight, c, phi, E50, k, RQD
};

// A cantilever with generated curves (KPY = 2).
struct PyCase {
  int units = 1;
  int ni = 40;
  double h = 6;
  double tolerance = 1e-4;  // deflection closure tolerance
  double H = 120;   // free height, in both the wall and the soil records
  double ei = 1.0e10;
  double topLoad = 0;  // lateral point load at the top of the wall (station 0)
  double WA = 72, WP = 12;
  double waterBackfill = 1000;
  std::vector<std::array<double, 2>> pressure;      // KEP = 1 when not empty
  std::vector<std::array<double, 3>> modification;  // p-y modification rows
  std::vector<TestLayer> layers;
  int userCurveCount = 0;
  std::string userCurves;  // record 14 as text, when userCurveCount > 0

  std::string dataFile() const;
};

// A uniform sand or soft-clay layer ending at `bottom`.
TestLayer Sand(double bottom, double weight, double phiDegrees, double k);
TestLayer SoftClay(double bottom, double weight, double cohesion, double e50);

struct PlotCurve {
  double header = 0;  // depth (generated only) or station
  std::vector<double> y, p;
};

struct PyBlock {
  int units = 0;
  std::vector<PlotCurve> curves;
};

// The p-y block of a single-problem plot file (after the earth-pressure block).
PyBlock ReadPyBlock(const std::string& plotText);

}  // namespace terraq::test
