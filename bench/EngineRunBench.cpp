// Whole in-process analysis runs of realistic walls. Each benchmark writes its
// data file once; each iteration is one call of the run driver, reading the
// data file and writing the report, plot and monitor files.
//
// BM_WallRun: a 30 ft sheet-pile wall of 300 increments, 15 ft of free
// height, a strut 3 ft below the top (a specified deflection), a
// triangular-then-uniform earth-pressure load, nonlinear user p-y curves at
// 30 stations below the excavation and a moment-EI section where the moment
// is largest.
//
// BM_CurveWallRun: the same kind of wall, 400 increments with a user p-y
// curve of 21 points at every station. Reading and echoing the curves, and
// writing them to the plot file, outweigh the solution here, so this run
// shows what number formatting and parsing cost.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "driver/RunAnalysis.h"

namespace fs = std::filesystem;

namespace {

// The layout of a wall: increments, the stations of the excavation and the
// strut, the spacing of the user curves (their first station, the step) and
// the deflections at which each curve has a point.
struct WallLayout {
  int ni, excavation, strut;
  int firstCurve, curveStep;
  std::vector<double> curveDeflections;  // in
};

std::string wallDataFile(const WallLayout& w) {
  const double h = 1.2;             // in
  const double ei = 5.3e9;          // lb-in2 per foot of wall
  const double pressure = 60.0;     // lb/in at the excavation
  char row[200];
  int curves = 0;
  for (int s = w.firstCurve; s <= w.ni; s += w.curveStep) ++curves;
  std::string t = "Benchmark: sheet-pile wall, strut near the top, sand below the excavation\n";
  // English units, one specified condition, one rigidity row, user curves,
  // one moment-EI section.
  std::snprintf(row, sizeof row, "1 1\t1\t0\t0\t1 %d 0 1\n", curves);
  t += row;
  std::snprintf(row, sizeof row, "%d %.6g\t20\t0.0001\t%.6g\n", w.ni, h, w.excavation * h);
  t += row;
  std::snprintf(row, sizeof row, "1\t%d\t0\t0\n0\t%d\t1\t%.6g\n", w.strut, w.ni, ei);
  t += row;
  // Earth-pressure load per station rising to the excavation, constant
  // below it; no springs.
  std::snprintf(row, sizeof row, "2\n2\t0\t0\t0\t0\t0\n1\t0\t%d\t%.6g\t0\t0\n0\n", w.excavation,
                pressure * h);
  t += row;
  // Sand: resistance growing with the depth z below the excavation, a weak
  // residual resistance above it.
  for (int s = w.firstCurve; s <= w.ni; s += w.curveStep) {
    const double z = std::max(0, s - w.excavation) * h;
    const double pu = 3.0 * z + 20.0;         // lb/in
    const double k = 60.0 * z / 12.0 + 10.0;  // initial slope, lb/in per in
    std::snprintf(row, sizeof row, "%d\t%zu\t1\t1\n", s, w.curveDeflections.size());
    t += row;
    for (double y : w.curveDeflections) {
      const double p = pu * std::tanh(k * std::fabs(y) / pu);
      std::snprintf(row, sizeof row, "%.6g\t%.6g\n", y, y < 0 ? p : -p);
      t += row;
    }
  }
  // Rigidity falling where the moment is large (the sheet yields locally).
  t += "100\t250\t4\n0\t5.3e9\n0.8e5\t5.3e9\n2.0e5\t3.0e9\n4.0e5\t1.0e9\n";
  return t + "0\n";
}

class RunFolder {
 public:
  explicit RunFolder(const std::string& dataFileText) {
    std::string pattern = (fs::temp_directory_path() / "terraq-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    folder_ = pattern;
    std::ofstream(folder_ / "wall.tq4d", std::ios::binary) << dataFileText;
    std::ofstream names(folder_ / "names.dat", std::ios::binary);
    for (const char* ext : {".tq4d", ".tq4o", ".tq4p", ".tq4r"})
      names << (folder_ / (std::string("wall") + ext)).string() << "\n";
    previous_ = fs::current_path();
    fs::current_path(folder_);
  }
  ~RunFolder() {
    fs::current_path(previous_);
    fs::remove_all(folder_);
  }

 private:
  fs::path folder_, previous_;
};

void runWall(benchmark::State& state, const WallLayout& layout) {
  RunFolder folder(wallDataFile(layout));
  for (auto _ : state) terraq::engine::RunAnalysis();
}

void BM_WallRun(benchmark::State& state) {
  runWall(state, {300, 150, 30, 155, 5, {-10.0, -1.0, -0.3, -0.1, 0.0, 0.1, 0.3, 1.0, 10.0}});
}
BENCHMARK(BM_WallRun)->Unit(benchmark::kMicrosecond);

void BM_CurveWallRun(benchmark::State& state) {
  std::vector<double> y = {0.0};
  for (double v : {0.01, 0.02, 0.05, 0.1, 0.2, 0.3, 0.5, 1.0, 2.0, 10.0}) {
    y.insert(y.begin(), -v);
    y.push_back(v);
  }
  runWall(state, {400, 200, 40, 1, 1, y});
}
BENCHMARK(BM_CurveWallRun)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
