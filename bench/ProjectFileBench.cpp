// Reading and writing a project's data file, as Open and Save do in the
// interactive program: the windowless project with all its tables.

#include <benchmark/benchmark.h>

#include <filesystem>

#include "project/TProject.h"

namespace {

const std::filesystem::path kExample =
    std::filesystem::path(TERRAQ_SOURCE_DIR) / "examples" / "cantilever-sheet-pile-py-curves.tq4d";

void BM_OpenDataFile(benchmark::State& state) {
  terraq::ui::TProject project;
  for (auto _ : state) project.Open(kExample, terraq::ui::kLayoutCurrent);
}
BENCHMARK(BM_OpenDataFile)->Unit(benchmark::kMicrosecond);

void BM_SaveDataFile(benchmark::State& state) {
  terraq::ui::TProject project;
  project.Open(kExample, terraq::ui::kLayoutCurrent);
  const std::filesystem::path copy = std::filesystem::temp_directory_path() / "terraq-bench-save.tq4d";
  project.SaveAs(copy);
  for (auto _ : state) project.Save();
  std::filesystem::remove(copy);
}
BENCHMARK(BM_SaveDataFile)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
