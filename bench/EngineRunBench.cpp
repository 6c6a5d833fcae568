// A whole in-process analysis run of a realistic wall: a 30 ft sheet-pile
// wall of 300 increments, 15 ft of free height, a strut 3 ft below the top
// (a specified deflection), a triangular-then-uniform earth-pressure load,
// nonlinear user p-y curves at 30 stations below the excavation and a
// moment-EI section where the moment is largest. The data file is written
// once; each benchmark iteration is one call of the run driver, reading the
// data file and writing the report, plot and monitor files.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "driver/EngineModel.h"
#include "driver/RunAnalysis.h"

namespace fs = std::filesystem;

namespace {

std::string wallDataFile() {
  const int ni = 300, excavation = 150, strut = 30;  // stations: 30 ft, 15 ft, 3 ft
  const double h = 1.2;                               // in
  const double ei = 5.3e9;                            // lb-in2 per foot of wall
  const double pressure = 60.0;                       // lb/in at the excavation
  char row[200];
  std::string t = "Benchmark: 30 ft sheet-pile wall, strut at 3 ft, sand below 15 ft\n";
  // English units, one specified condition, one rigidity row, user curves,
  // one moment-EI section.
  t += "1 1\t1\t0\t0\t1 30 0 1\n";
  std::snprintf(row, sizeof row, "%d %.6g\t20\t0.0001\t%.6g\n", ni, h, excavation * h);
  t += row;
  std::snprintf(row, sizeof row, "1\t%d\t0\t0\n0\t%d\t1\t%.6g\n", strut, ni, ei);
  t += row;
  // Earth-pressure load per station rising to the excavation, constant
  // below it; no springs.
  std::snprintf(row, sizeof row, "2\n2\t0\t0\t0\t0\t0\n1\t0\t%d\t%.6g\t0\t0\n0\n", excavation,
                pressure * h);
  t += row;
  // Sand below the excavation: p-y curves every 5 stations, resistance
  // growing with the depth z below the excavation.
  for (int s = excavation + 5; s <= ni; s += 5) {
    const double z = (s - excavation) * h;
    const double pu = 3.0 * z + 20.0;         // lb/in
    const double k = 60.0 * z / 12.0 + 10.0;  // initial slope, lb/in per in
    std::snprintf(row, sizeof row, "%d\t9\t1\t1\n", s);
    t += row;
    for (double y : {-10.0, -1.0, -0.3, -0.1, 0.0, 0.1, 0.3, 1.0, 10.0}) {
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
  RunFolder() {
    std::string pattern = (fs::temp_directory_path() / "terraq-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    folder_ = pattern;
    std::ofstream(folder_ / "wall.tq4d", std::ios::binary) << wallDataFile();
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

void BM_WallRun(benchmark::State& state) {
  RunFolder folder;
  for (auto _ : state) terraq::engine::RunAnalysis();
  const terraq::engine::EngineModel& model = terraq::engine::engineModel();
  state.counters["iterations"] = model.iteration;
  state.counters["closed"] = model.notClosed == 0 && model.overLimit == 0;
}
BENCHMARK(BM_WallRun)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
