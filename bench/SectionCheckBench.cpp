// The structural check of the staged sample (five stages, SI, per metre of
// wall) with an AZ18 section, against the analysis it checks:
//
// BM_AnalyseStagedSample: the five stages analysed in memory;
// BM_AnalyseAndCheckStagedSample: the section put in the data text, the
// stages analysed, every station of every stage checked (what terraq run
// --section does besides reading the files and printing);
// BM_CheckStagedSample: the check alone, on one analysis.

#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>
#include <string>

#include "api/Analysis.h"
#include "project/WallSection.h"

namespace {

std::string Sample() {
  std::ifstream in(std::string(TERRAQ_SOURCE_DIR) + "/examples/staged-excavation-tieback.tq4d",
                   std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

terraq::ui::SectionInUse Az18() {
  std::string error;
  const auto library = terraq::design::ParseSectionLibrary(
      "family sheet-pile-z\nsource Z table\n"
      "columns name b[mm] h[mm] bf[mm] tf[mm] tw[mm] webAngle[deg] A[cm2/m] I[cm4/m] Wel[cm3/m] "
      "Wpl[cm3/m]\n"
      "AZ18 630 380 348 9.5 9.5 55.4 150.4 34200 1800 2104\n"
      "family steel-grade\nsource grades\ncolumns name fy[MPa] E[GPa] use\n"
      "S355GP 355 210 sheet-pile\n",
      "bench", error);
  return *terraq::ui::ResolveWallSection({"AZ18", "", {}, {}}, *library, error);
}

void BM_AnalyseStagedSample(benchmark::State& state) {
  const std::string text = Sample();
  for (auto _ : state) benchmark::DoNotOptimize(terraq::engine::api::Analyse(text));
}

void BM_AnalyseAndCheckStagedSample(benchmark::State& state) {
  const std::string text = Sample();
  const terraq::ui::SectionInUse used = Az18();
  std::string error;
  for (auto _ : state) {
    const auto data = terraq::ui::ApplyWallSection(text, used, error);
    const auto analysis = terraq::engine::api::Analyse(data->text);
    benchmark::DoNotOptimize(terraq::ui::CheckAnalysis(analysis, *data, used));
  }
}

void BM_CheckStagedSample(benchmark::State& state) {
  const terraq::ui::SectionInUse used = Az18();
  std::string error;
  const auto data = terraq::ui::ApplyWallSection(Sample(), used, error);
  const auto analysis = terraq::engine::api::Analyse(data->text);
  for (auto _ : state) benchmark::DoNotOptimize(terraq::ui::CheckAnalysis(analysis, *data, used));
}

}  // namespace

BENCHMARK(BM_AnalyseStagedSample)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AnalyseAndCheckStagedSample)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CheckStagedSample)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
