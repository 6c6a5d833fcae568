// Reading the plot file into the result graphs, as the main window does
// after every run: a five-stage wall of 400 increments with generated earth
// pressure and p-y curves, in the engine's number forms. The argument is the
// number of p-y curves per stage (the generator makes about one per soil
// sublayer: 15 for a layered wall of 52 increments), which make up most of
// the file.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "graphs/PlotFileReader.h"

namespace {

constexpr int kStages = 5;
constexpr int kIncrements = 400;
constexpr int kPressureRows = 401;
constexpr int kCurvePoints = 33;

void append(std::string& out, const char* format, double value) {
  char field[32];
  std::snprintf(field, sizeof field, format, value);
  out += field;
}

std::string plotText(int curves) {
  std::string out;
  for (int stage = 1; stage <= kStages; ++stage) {
    out += " " + std::to_string(kPressureRows) + "\r\n";
    for (int j = 0; j < kPressureRows; ++j) {
      for (double v : {j * 6.0, 10.0 + j, 5.0 + j, 5.0}) append(out, "  %10.3E", v);
      out += "\r\n";
    }
    out += " 1 " + std::to_string(curves) + "\r\n";
    for (int c = 0; c < curves; ++c) {
      append(out, " %10.2f", 120.0 + 12.0 * c);
      out += "    33\r\n";
      for (int i = 0; i < kCurvePoints; ++i) {
        append(out, " %.9g", (i - 16) * 0.05);
        append(out, " %.9g\r\n", -std::tanh((i - 16) * 0.2) * 400.0);
      }
    }
    out += " " + std::to_string(kStages) + " " + std::to_string(kIncrements + 1) + " 1\r\n";
    for (int j = 0; j <= kIncrements; ++j) {
      for (double v : {j * 6.0, 0.5 - j * 1e-3 * stage, 1e3 * j * stage, -50.0 * stage, 3.0 * j})
        append(out, " %13.4E", v);
      out += "\r\n";
    }
  }
  return out;
}

void BM_ReadPlotFile(benchmark::State& state) {
  const std::filesystem::path file = std::filesystem::temp_directory_path() / "terraq-bench-plot.tq4p";
  std::ofstream(file, std::ios::binary) << plotText(static_cast<int>(state.range(0)));
  terraq::ui::TPlotProjectFacts facts;
  facts.incrementCount = kIncrements;
  facts.incrementLength = 6;
  facts.layers = {{4, 20}, {1, 200}};
  terraq::ui::TResultGraphs graphs;
  std::string error;
  for (auto _ : state)
    if (!terraq::ui::ReadPlotFile(file, facts, graphs, error)) state.SkipWithError(error.c_str());
  state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(file));
  std::filesystem::remove(file);
}
BENCHMARK(BM_ReadPlotFile)->Arg(15)->Arg(100)->Arg(200)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
